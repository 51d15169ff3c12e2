#include "media/vox.h"

#include <mutex>
#include <new>

#include "base/boxes.h"
#include "platform/host_path.h"
#include "platform/mixer.h"

namespace {

// "oggの初期化に失敗！"
const char kOggInitFailed[] = "ogg\x82\xCC\x8F\x89\x8A\xFA\x89\xBB\x82\xC9\x8E\xB8\x94\x73\x81\x49";

std::mutex g_pathLock;
std::string g_libraryPath;

}  // namespace

std::string VoxLibraryPath() {
  {
    std::lock_guard<std::mutex> lock(g_pathLock);
    if (!g_libraryPath.empty()) return g_libraryPath;
  }
  return plat::ProgramDirectory() + "/libvox.so";
}

void SetVoxLibraryPath(const std::string& hostPath) {
  std::lock_guard<std::mutex> lock(g_pathLock);
  g_libraryPath = hostPath;
}

cVox::~cVox() { Release(); }

int cVox::Init() {
  Release();
  m_strError.clear();
  const std::string path = VoxLibraryPath();
  if (m_hModule.Open(path)) {
    auto create = reinterpret_cast<VOXCREATEPROC>(m_hModule.Symbol(VOX_CREATE_NAME));
    auto attach = reinterpret_cast<VOXATTACHHOSTPROC>(m_hModule.Symbol(VOX_ATTACH_HOST_NAME));
    if (create && attach) {
      const MIXERHOST host = plat::MainMixer.Host();
      if (attach(&host)) {
        m_pfnCreateVox = create;
        return 1;
      }
      m_strError = path + ": the plug-in refused the mixer";
    } else {
      m_strError = m_hModule.Error();
    }
    // Half a plug-in is none: nothing of it stays loaded.
    m_hModule.Close();
  } else {
    m_strError = m_hModule.Error();
  }
  ErrorBox(kOggInitFailed);
  return 0;
}

void cVox::DestroyObjects() {
  if (m_lpObjects) {
    for (int32_t i = 0; i < m_nObjects; ++i) {
      if (m_lpObjects[i]) m_lpObjects[i]->Destroy();
      m_lpObjects[i] = nullptr;
    }
    delete[] m_lpObjects;
  }
  m_lpObjects = nullptr;
  m_nObjects = 0;
  m_nPlaying = -1;
}

int cVox::SetChannels(int n) {
  // Objects of the old table would keep playing with no owner.
  DestroyObjects();
  if (!m_pfnCreateVox || n < 0) return 0;
  if (n == 0) return 1;
  m_lpObjects = new (std::nothrow) cVoxObject*[static_cast<size_t>(n)]();
  if (!m_lpObjects) {
    OutOfMemory();
    return 0;
  }
  m_nObjects = n;
  for (int i = 0; i < n; ++i) {
    m_lpObjects[i] = m_pfnCreateVox();
    if (!m_lpObjects[i]) {
      OutOfMemory();
      return 0;
    }
  }
  return 1;
}

int cVox::Play(int channel, const char* path, int loop) {
  if (!path || !path[0]) return 0;
  if (channel < 0 || channel >= m_nObjects || !m_lpObjects) return 0;
  Stop();
  cVoxObject* object = m_lpObjects[channel];
  if (!object) return 0;
  object->Reset();
  if (object->Load(plat::HostPath(path).c_str())) {
    object->SetLoopCount(loop ? VOX_LOOP_ENDLESS : 0);
    object->Play();
    m_nPlaying = channel;
    return 1;
  }
  m_nPlaying = -1;
  return 0;
}

void cVox::Stop() {
  if (m_nPlaying == -1) return;
  if (m_lpObjects && m_nPlaying >= 0 && m_nPlaying < m_nObjects && m_lpObjects[m_nPlaying])
    m_lpObjects[m_nPlaying]->Stop();
  m_nPlaying = -1;
}

int cVox::Release() {
  // Every stream leaves the mix before the code that pulls it is unloaded.
  DestroyObjects();
  m_pfnCreateVox = nullptr;
  return m_hModule.Close() ? 1 : 0;
}
