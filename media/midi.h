#pragma once
// The MIDI players as the music manager reaches them: one player per music
// channel, made by cMidiSet::Play for a file and deleted by the next Play or
// by the music manager.
#include <cstdint>

#include "base/container.h"

class cMidi {
 public:
  virtual ~cMidi();
};

class cMidiSet {
 public:
  // Stops every player: pause 0 rewinds each to its start, 1 pauses it.
  void StopAll(int pause);
  // Deletes the players and plays a ".mid" path on a channel, loop 1 for
  // ever. 1 playing, 0 when the file does not open as MIDI.
  int Play(int channel, const char* path, int loop);

  cVector<cMidi*> m_vPlayers;   // per channel; null where none
  cVector<int32_t> m_vChannel;  // per channel, sized with m_vPlayers
};
