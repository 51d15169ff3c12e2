#include "media/midi_set.h"

#include "base/path_util.h"

cMidiSet::~cMidiSet() { DeleteAll(); }

void cMidiSet::StopAll(int pause) {
  for (cMidi* player : m_vPlayers)
    if (player) player->Stop(pause);
}

void cMidiSet::DeleteAll() {
  for (cMidi*& player : m_vPlayers) {
    delete player;
    player = nullptr;
  }
}

int cMidiSet::Play(int channel, const std::string& path, int loop) {
  // Checked first, so that a bad request leaves the music as it was.
  if (channel < 0 || channel >= m_vPlayers.Size()) {
    m_vPlayers.At(channel);  // reports the bad channel and asks to close
    return 0;
  }
  StopAll(1);
  DeleteAll();
  std::string extension;
  if (!GetExtension(extension, path) || extension != "mid") return 0;
  cMidi* player = new cMidi(path);
  m_vPlayers[static_cast<size_t>(channel)] = player;
  if (!player->m_lpImage) return 0;
  player->Play(loop);
  return 1;
}
