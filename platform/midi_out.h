#pragma once
// The process's MIDI output: one synthesiser, played by every open MIDI
// stream and pulled by the audio mix. Pulling it is what moves the streams'
// clocks, so events fall on exact frames whatever size the pulls have.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/midi_synth.h"

namespace plat {

class Mixer;

// Frames a second the synthesiser renders and the streams count in: the
// rate of the mix, so the mixer takes the frames as they are.
constexpr int32_t kMidiRate = 44100;

// Loads the synthesiser, once per process: FluidSynth with the first of
// SoundFontCandidates (SetSoundFontSearch's list) that loads. True when one
// sounds. The call that searches fills `reportLine` with the line for the
// report log: the file taken, or every path tried; other calls leave it
// empty. Without a SoundFont the streams play on in silence. Unless
// SetMidiMixer chose another, the MIDI output joins MainMixer here. Called
// by the music player before it opens its stream.
bool StartMidiSynth(std::string* reportLine);

// Starts StartMidiSynth's search and load on a thread of its own, so that
// the start-up goes on meanwhile. A StartMidiSynth that comes during the
// load returns at once (true, no line) and its streams wait, time stopped,
// until the synthesiser is there: no note is lost or moved. The thread
// gives the report log's line to `report` when done. Nothing when a
// synthesiser is set, was searched for, or is being loaded.
void PreloadMidiSynth(std::function<void(const std::string&)> report);

// Waits for a preload to end; when no StartMidiSynth came for it, frees
// what it loaded, and the next StartMidiSynth searches afresh.
void DropMidiSynthPreload();

// Moves the MIDI output into `mixer` as one of its streams (null: out of
// every mix). Any thread but the one rendering a mix. Tests give their own
// mixer, pulled by hand.
void SetMidiMixer(Mixer* mixer);

// The paths StartMidiSynth tries after GAME_SOUNDFONT (DefaultSoundFonts
// until set). Tests.
void SetSoundFontSearch(std::vector<std::string> paths);

// What loads a SoundFont for the search (CreateFluidSynth at kMidiRate
// while empty). Tests.
void SetMidiSynthLoader(std::function<std::shared_ptr<MidiSynth>(const std::string& hostPath)> loader);

// Puts `synth` in place of the synthesiser (tests: a RecordingSynth). Null
// removes it, and the next StartMidiSynth searches again.
void SetMidiSynth(std::shared_ptr<MidiSynth> synth);

// The pull of the mix: writes `frames` interleaved stereo frames to `out`,
// playing each event of every open stream at the frame it is due. Called by
// the mixer the output is in, on its rendering thread; tests call it by
// hand as well.
void RenderMidi(float* out, size_t frames);

}  // namespace plat
