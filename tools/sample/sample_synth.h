#pragma once
// A small integer synthesiser for the sample's sounds and its OGG music:
// square, triangle and noise voices with a linear pitch sweep and a short
// attack and release, all in integer arithmetic so that every run gives the
// same samples.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int SAMPLE_RATE = 22050;

enum SYNTHWAVE { WAVE_SQUARE, WAVE_TRIANGLE, WAVE_NOISE };

// One note: pitch sweeping from hz0 to hz1 (0 for a rest), its length in
// milliseconds, its wave and its loudness (0..100).
struct SYNTHNOTE {
  int nHz0;
  int nHz1;
  int nMs;
  SYNTHWAVE wave;
  int nLevel;
};

// Adds the notes, one after another from sample `start`, into `mix` (which
// grows as needed). A level of 100 peaks at ±8000.
void AddNotes(std::vector<int32_t>& mix, const std::vector<SYNTHNOTE>& notes, size_t start = 0);

// The frequency in Hz of MIDI note n (69 = 440 Hz), rounded.
int NoteHz(int midiNote);
