// libvox.so: the OGG decoder plug-in. Each object plays one file through one
// stream of the host's mixer; it decodes inside the mixer's pull, so it has
// no thread of its own. Only the two entry points are exported.
#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>

#include "platform/vox/ogg_decoder.h"
#include "platform/vox/vox_api.h"

#define VOX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::mutex g_hostLock;
MIXERHOST g_host{};
bool g_hasHost = false;

bool CurrentHost(MIXERHOST& out) {
  std::lock_guard<std::mutex> lock(g_hostLock);
  out = g_host;
  return g_hasHost;
}

// The decoder and the loop count are the pull's while the stream is in the
// mix; the other operations touch the decoder only once it is out, and the
// mixer's stream lock orders the two sides.
class cOggVox final : public cVoxObject {
 public:
  int32_t Load(const char* hostPath) override {
    Stop();
    m_decoder.Close();
    if (!hostPath || !hostPath[0]) return 0;
    return m_decoder.OpenFile(hostPath) ? 1 : 0;
  }

  int32_t Play() override {
    if (m_stream != 0) return 1;
    if (!m_decoder.IsOpen()) return 0;
    MIXERHOST host;
    if (!CurrentHost(host)) return 0;
    m_host = host;
    m_stream = host.AddStream(host.lpHost, m_decoder.Rate(), m_decoder.Channels(), &cOggVox::Pull, this);
    return m_stream != 0 ? 1 : 0;
  }

  int32_t Stop() override {
    if (m_stream == 0) return 1;
    m_host.RemoveStream(m_host.lpHost, m_stream);
    m_stream = 0;
    return 1;
  }

  int32_t Reset() override {
    Stop();
    m_decoder.Close();
    m_loops.store(0);
    return 1;
  }

  int32_t SetLoopCount(int32_t count) override {
    m_loops.store(std::max(count, 0));
    return 1;
  }

  int32_t Reserved1() override { return 0; }
  int32_t Reserved2() override { return 0; }
  int32_t Reserved3() override { return 0; }
  int32_t Reserved4() override { return 0; }

  void Destroy() override {
    Stop();
    delete this;
  }

 private:
  ~cOggVox() = default;

  static size_t Pull(void* user, float* out, size_t frames, uint64_t) {
    return static_cast<cOggVox*>(user)->Decode(out, frames);
  }

  // Fills the request; at the end of the file it starts again from the top
  // in the same request while loops remain, so a loop leaves no gap.
  size_t Decode(float* out, size_t frames) {
    const size_t ch = static_cast<size_t>(m_decoder.Channels());
    size_t done = 0;
    bool justRewound = false;
    while (done < frames) {
      const size_t got = m_decoder.Read(out + done * ch, frames - done);
      done += got;
      if (done >= frames) break;
      if (got > 0) justRewound = false;
      else if (justRewound) break;  // nothing decodes from the top: no loop to play
      int32_t loops = m_loops.load();
      if (loops <= 0) break;
      if (loops != VOX_LOOP_ENDLESS) {
        // SetLoopCount may have changed it meanwhile; its value wins.
        m_loops.compare_exchange_strong(loops, loops - 1);
      }
      if (!m_decoder.Rewind()) break;
      justRewound = true;
    }
    return done;
  }

  plat::OggDecoder m_decoder;
  std::atomic<int32_t> m_loops{0};
  MIXERHOST m_host{};
  uint32_t m_stream = 0;  // 0 while out of the mix
};

}  // namespace

VOX_EXPORT cVoxObject* CreateVox(void) { return new (std::nothrow) cOggVox(); }

VOX_EXPORT int32_t VoxAttachHost(const MIXERHOST* host) {
  std::lock_guard<std::mutex> lock(g_hostLock);
  if (!host) {
    g_host = MIXERHOST{};
    g_hasHost = false;
    return 1;
  }
  if (host->dwVersion != MIXERHOST_VERSION || !host->AddStream || !host->RemoveStream) return 0;
  g_host = *host;
  g_hasHost = true;
  return 1;
}
