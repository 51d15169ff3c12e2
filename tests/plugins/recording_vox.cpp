// A stand-in for the OGG plug-in with the same entry points: its objects play
// nothing and write every call they get to a log, which the tests read
// through three entry points of its own. Load succeeds when the file exists.
// Built a second time without VoxAttachHost (RECORDING_VOX_HALF), as a
// library that lacks an entry point.
#include <unistd.h>

#include <mutex>
#include <new>
#include <string>

#include "platform/vox/vox_api.h"

#define VOX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::mutex g_lock;
std::string g_log;      // one call a line
std::string g_taken;    // what RecordingVoxLog handed out last
int g_nextId = 0;
int g_live = 0;         // objects not destroyed yet
int g_failCreate = -1;  // creations until one fails; -1 never

void Note(const std::string& line) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_log += line + "\n";
}

class cRecordingVox final : public cVoxObject {
 public:
  explicit cRecordingVox(int id) : m_id(std::to_string(id)) {}
  int32_t Load(const char* hostPath) override {
    Note(m_id + " load " + (hostPath ? hostPath : "(null)"));
    return hostPath && access(hostPath, R_OK) == 0 ? 1 : 0;
  }
  int32_t Play() override { return Op("play"); }
  int32_t Stop() override { return Op("stop"); }
  int32_t Reset() override { return Op("reset"); }
  int32_t SetLoopCount(int32_t count) override { return Op("loop " + std::to_string(count)); }
  int32_t Reserved1() override { return 0; }
  int32_t Reserved2() override { return 0; }
  int32_t Reserved3() override { return 0; }
  int32_t Reserved4() override { return 0; }
  void Destroy() override {
    Op("destroy");
    {
      std::lock_guard<std::mutex> lock(g_lock);
      --g_live;
    }
    delete this;
  }

 private:
  ~cRecordingVox() = default;
  int32_t Op(const std::string& what) {
    Note(m_id + " " + what);
    return 1;
  }
  std::string m_id;
};

}  // namespace

VOX_EXPORT cVoxObject* CreateVox(void) {
  int id;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_failCreate >= 0 && g_failCreate-- == 0) {
      g_log += "create failed\n";
      return nullptr;
    }
    id = g_nextId++;
    ++g_live;
  }
  Note("create " + std::to_string(id));
  return new (std::nothrow) cRecordingVox(id);
}

#ifndef RECORDING_VOX_HALF
VOX_EXPORT int32_t VoxAttachHost(const MIXERHOST* host) {
  Note(host && host->dwVersion == MIXERHOST_VERSION ? "attach" : "attach refused");
  return host && host->dwVersion == MIXERHOST_VERSION ? 1 : 0;
}
#endif

// The calls since the last look, and a fresh log; when no object is left,
// numbering starts again at 0. The text stays valid until the next call.
VOX_EXPORT const char* RecordingVoxLog(void) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_taken.swap(g_log);
  g_log.clear();
  if (g_live == 0) g_nextId = 0;
  return g_taken.c_str();
}

// The n-th creation from now (0 the next) fails; -1 none.
VOX_EXPORT void RecordingVoxFailCreate(int n) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_failCreate = n;
}
