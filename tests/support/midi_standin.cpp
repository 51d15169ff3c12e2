#include "support/midi_standin.h"

#include <atomic>
#include <mutex>

#include "base/path_util.h"
#include "media/midi_set.h"
#include "platform/host_path.h"

namespace {

std::mutex g_lock;
std::vector<std::string> g_calls;
std::atomic<int> g_deleted{0};

void Note(const std::string& call) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_calls.push_back(call);
}

}  // namespace

// The stand-in's player holds nothing; it only counts its deletion.
class cMidi {
 public:
  ~cMidi() { ++g_deleted; }
};

cMidiSet::~cMidiSet() { DeleteAll(); }

void cMidiSet::StopAll(int pause) { Note("stopall " + std::to_string(pause)); }

void cMidiSet::DeleteAll() {
  for (cMidi*& player : m_vPlayers) {
    delete player;
    player = nullptr;
  }
}

int cMidiSet::Play(int channel, const std::string& path, int loop) {
  Note("play " + path + " " + std::to_string(loop));
  DeleteAll();
  std::string ext;
  if (!GetExtension(ext, path) || ext != "mid") return 0;
  if (channel < 0 || channel >= m_vPlayers.Size() || !plat::PathExists(path)) return 0;
  m_vPlayers[static_cast<size_t>(channel)] = new cMidi();
  return 1;
}

namespace testsupport {

std::vector<std::string> TakeMidiCalls() {
  std::lock_guard<std::mutex> lock(g_lock);
  std::vector<std::string> out;
  out.swap(g_calls);
  return out;
}

int MidiPlayersDeleted() { return g_deleted.load(); }

}  // namespace testsupport
