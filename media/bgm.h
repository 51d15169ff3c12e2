#pragma once
// The music manager: the one entry point for music. It keeps a table of music
// slots, each naming an OGG file, a MIDI file or both, and plays a slot on a
// channel through the OGG player set (cVox) or the MIDI players (cMidiSet);
// starting one stops the other.
//
// Callers: start-up (Init: 1 channel, 5 slots) and shutdown (UnInit) on the
// main thread; the main window's music request (SetFile, Play on channel 0
// with force, Stop) and WM_CLOSE (Stop) on the main thread; the options
// scene (Init, UnInit) on the game thread. A lock keeps those apart, so a
// close request never meets the options' switch half-way.
//
// While the manager is not initialised (before Init, after a failed Init or
// UnInit) every operation but Init does nothing and returns 1.
#include <cstdint>
#include <mutex>

#include "base/container.h"
#include "media/midi_set.h"
#include "media/vox.h"

// Name entries of the slot tables the caller hands Init.
using BGMOGGNAME = char[260];
using BGMMIDINAME = char[264];

class cBgm {
 public:
  cBgm() = default;
  // UnInit, then the members (the OGG set releases what is left).
  ~cBgm();
  cBgm(const cBgm&) = delete;
  cBgm& operator=(const cBgm&) = delete;

  // Loads the OGG plug-in, makes `channels` channels and takes the slot
  // tables (`slots` entries each, owned by the caller, written by SetFile).
  // Every slot starts undetermined: OGG name first, then MIDI name. A running
  // manager is ended first. 0 when the plug-in does not load (the box, and
  // "m_Vox.Init失敗！" with the reason in the debug log); the manager then
  // stays uninitialised.
  int Init(int channels, BGMOGGNAME* oggNames, BGMMIDINAME* midiNames, int slots);
  // Ends what plays and makes n channels. 1.
  int SetChannels(int n);
  // Registers the music file (Shift-JIS path) of a slot by its extension,
  // taken case for case: "mid"/"MID" a MIDI file (named with "mid"),
  // "ogg"/"OGG" an OGG file: 1. Any other extension names both players'
  // file (tried OGG first), no extension, or a path longer than the slot's
  // entry holds (259 / 263 bytes), names none: 0. A slot outside the table:
  // 0, nothing changes.
  int SetFile(int slot, const char* path);
  // Plays a slot on a channel (loop 1 for ever); the slot that plays already
  // goes on unless force is 1. midiPause is how MIDI stops when an
  // undetermined slot's OGG file starts (1 pause, 0 rewind). 1 when it plays;
  // 0 when neither player opens the slot's file (then nothing plays and the
  // next request tries again), or for a channel or slot outside the tables.
  int Play(int channel, int slot, int loop, int midiPause, int force);
  // Stops both players.
  int Stop();
  // Releases the plug-in and the MIDI players.
  int UnInit();

  int32_t m_bInit = 0;
  cVox m_Vox;
  BGMOGGNAME* m_lpOggNames = nullptr;
  cMidiSet m_MidiSet;
  BGMMIDINAME* m_lpMidiNames = nullptr;
  int32_t m_nCurrentSlot = -1;
  cVector<int32_t> m_vKind;    // per slot: 0 undetermined, 1 OGG, 2 MIDI
  cVector<int32_t> m_vActive;  // per channel: 0 nothing, 1 OGG, 2 MIDI

 private:
  // Callers hold m_lock, or are Init while m_bInit is 0.
  int UnInitLocked();
  int SetChannelsLocked(int n);

  std::mutex m_initLock;  // Init and UnInit, one at a time
  std::mutex m_lock;      // every public operation holds it, but not across Init's boxes
};

extern cBgm Bgm;

// The program's music slots, one per screen kind and the stage's: start-up
// and the options scene start the manager on one channel with these tables,
// slot 0 naming the title music until the first request names its own.
constexpr int BGM_SLOT_COUNT = 5;
extern BGMOGGNAME BgmOggNames[BGM_SLOT_COUNT];
extern BGMMIDINAME BgmMidiNames[BGM_SLOT_COUNT];
