#pragma once
// The MIDI players of the music manager, one per music channel.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "media/midi.h"

class cMidiSet {
 public:
  cMidiSet() = default;
  // Deletes every player.
  ~cMidiSet();
  cMidiSet(const cMidiSet&) = delete;
  cMidiSet& operator=(const cMidiSet&) = delete;

  // Stops (pause 0: rewinds) or pauses (pause 1) every player there is.
  void StopAll(int pause);
  // Ends every player, then plays the file at `path` (the system's path, its
  // extension exactly "mid") on `channel`, looping when `loop` is 1. 1 when
  // it plays; 0 for another extension or a file that does not convert.
  // Called on the music manager's thread.
  int Play(int channel, const std::string& path, int loop);
  // Deletes every player and leaves its entry null.
  void DeleteAll();

  cVector<cMidi*> m_vPlayers;  // per channel; the manager sizes both
  cVector<int32_t> m_vFlags;
};
