#pragma once
// Sound effects: the bank of short WAV sounds of the menus, the stage and the
// project. Each entry is loaded once and duplicated into a number of copies
// that share its samples, so that a sound can overlap itself; a play takes
// the entry's next copy in turn, cutting it if it still plays.
//
// Threads: start-up and shutdown (DS_Init, DS_LoadSounds, DS_Release) run on
// the main thread before the game thread starts and after it ended; DS_Play
// runs on the main thread (the window's WM_USER+5, which PlaySe sends);
// DS_PlayCursorSound and the options' DS_SetVolume run on the game thread.
// One lock guards the bank's entries, so those never meet half-way.
//
// Without DS_Init (or after DS_Release) every operation does nothing, and
// loading reports success.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "platform/messages.h"

namespace plat {
class SoundBuffer;
}
class cEdSound;

// DS_Play flag: play the copy over and over.
constexpr uint32_t DSBPLAY_LOOPING = 0x1;

// Volume of the options' sound-effect step 0..10, in hundredths of a decibel.
constexpr int32_t SeVolumeTable[11] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};
// The table's volume for a step; a step outside 0..10 takes the nearer end.
int32_t SeVolumeForStep(int step);

// One bank entry; all zero while not loaded.
struct SEDATA {
  char szFileName[260];                // the file it was loaded from
  plat::SoundBuffer** lpBuffers;       // nCopies buffers; null while not loaded
  int32_t nCopies;
  int32_t nNext;                       // the copy that plays next
};

// The definition of an entry.
struct SEDEF {
  char szFileName[260];   // at most 259 bytes; a longer name leaves the entry unloaded
  int32_t nCopies;        // below 1 counts as 1
  int32_t nVolume;        // hundredths of a decibel, 0 full
  int32_t nFlags;         // kept for the definition; loading does not read it
};

// The bank and its definitions, parallel: 0..16 the system sounds, 17.. the
// project's sounds (Sound.dat entry n at n + 16).
extern cVector<SEDATA> SeBank;
extern cVector<SEDEF> SeDefs;

// Start-up, before DS_LoadSounds: sizes bank and definitions to
// max(sounds, 1) + 16 entries, so that the 17 system sounds always fit;
// entries 0..16 name the system sounds, entry n + 16 names sounds[n] for
// n = 1 .. size - 1; every definition gets 1 copy, volume 0, flags 1. A name
// over 259 bytes is left empty, with a line in the report log.
void BuildSeDefs(cVector<SEDATA>& bank, cVector<SEDEF>& defs, const cVector<std::string>& systemSounds,
                 const cVector<cEdSound>& sounds);

// Start-up, main thread: opens the sound output on the process mixer. The
// format (22050 Hz, 8 bits, mono at start-up) is kept but not applied: the
// mixer plays every sound at its own rate. Without a sound card the game
// goes on silent after a report line; false only when no output at all
// opens ("DIRECTSOUNDCREATE_ERR!" in the debug log).
bool DS_Init(plat::WindowHandle window, int rate, int bits, int channels);

// Start-up, main thread: remembers bank and definitions and loads every
// entry not loaded yet from its definition, at `volume` (hundredths of a
// decibel) or, when that is 0, at the definition's own volume. An entry that
// fails stays unloaded and the others still load. Returns 1.
int DS_LoadSounds(cVector<SEDATA>* bank, cVector<SEDEF>* defs, int32_t volume);

// Loads one entry: `copies` copies of the file at `volume` (0 leaves them
// full). False, with the entry unloaded and a debug-log line, on failure.
bool DS_LoadSound(SEDATA* entry, const char* file, int copies, int32_t volume);

// One buffer from a WAV file: "%s読み込み失敗！" when the file does not read
// as PCM WAV, "%s生成失敗！" when the mixer cannot play its layout.
bool DS_CreateBuffer(plat::SoundBuffer** slot, const char* file);

// A copy sharing the source's samples; true also without DS_Init.
bool DS_Duplicate(plat::SoundBuffer** out, plat::SoundBuffer* source);

// Plays the entry's next copy from its start (flags: DSBPLAY_LOOPING).
void DS_Play(SEDATA* entry, uint32_t flags);

// Sets a copy's volume (relative 1: added to its current one), kept within
// -10000..0; returns the volume set, 0 for an unloaded entry or a copy it
// does not have.
int32_t DS_SetVolume(SEDATA* entry, int copy, int32_t volume, int relative);
int32_t DS_GetVolume(SEDATA* entry, int copy);

// Menu cursor sound, game thread: bank entry `sound` plays once when mask
// bit 1 is set and keys hold left or right (1, 2), and once more when mask
// bit 2 is set and keys hold up or down (4, 8).
void DS_PlayCursorSound(uint32_t keys, uint32_t mask, int sound);

// Releases an entry's copies; it is unloaded afterwards.
void DS_FreeSound(SEDATA* entry);

// Shutdown, main thread: frees the remembered bank and closes the output.
void DS_Release();
