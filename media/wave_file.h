#pragma once
// WAV files of the sound effects: RIFF form "WAVE" with a PCM "fmt " chunk
// and a "data" chunk. Read whole, then parsed from memory without reading
// past what the file holds.
#include <cstddef>
#include <cstdint>
#include <vector>

// The "fmt " chunk: the first 16 bytes, and cbSize when the chunk has 18.
struct WAVEFORMATDATA {
  uint16_t wFormatTag = 0;  // 1 = PCM
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;
};

// A WAV file read into memory.
struct WAVEDATA {
  WAVEFORMATDATA wfx;
  std::vector<uint8_t> vData;  // the "data" chunk's bytes
};

// Parses a WAV image. Chunks are walked in order from the form's start, each
// followed by its pad byte when its size is odd: first a "fmt " chunk, then,
// after it, a "data" chunk; other chunks are skipped. A RIFF size beyond the
// image ends at the image's end. False for: no RIFF "WAVE" head, a missing
// "fmt " or "data", a chunk running past the end, a "fmt " under 16 bytes
// (one over 18 is read up to 18), a format tag other than PCM, zero
// channels, rate or block alignment, or an alignment other than channels ×
// (bits / 8). Whether the layout can be played is the mixer's question.
bool DS_ParseWave(const void* bytes, size_t size, WAVEDATA* out);

// Reads a file (a Shift-JIS path relative to the working directory) and
// parses it. False when it does not open or does not parse.
bool DS_ReadWave(const char* file, WAVEDATA* out);

// Frees the sample data.
void DS_FreeWave(WAVEDATA* wave);
