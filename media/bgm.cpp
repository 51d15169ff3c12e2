#include "media/bgm.h"

#include <cstdio>
#include <string>

#include "base/path_util.h"
#include "base/report_log.h"

namespace {

// "m_Vox.Init失敗！"
const char kVoxInitFailed[] = "m_Vox.Init\x8E\xB8\x94\x73\x81\x49";

constexpr int kKindUndetermined = 0;
constexpr int kKindOgg = 1;
constexpr int kKindMidi = 2;

template <size_t N>
void SetName(char (&entry)[N], const std::string& name) {
  std::snprintf(entry, N, "%s", name.c_str());
}

}  // namespace

BGMOGGNAME BgmOggNames[BGM_SLOT_COUNT] = {"bgm\\Title.ogg"};
BGMMIDINAME BgmMidiNames[BGM_SLOT_COUNT] = {"bgm\\Title.mid"};

cBgm::~cBgm() { UnInit(); }

int cBgm::Init(int channels, BGMOGGNAME* oggNames, BGMMIDINAME* midiNames, int slots) {
  std::lock_guard<std::mutex> serial(m_initLock);
  {
    std::lock_guard<std::mutex> lock(m_lock);
    UnInitLocked();
    m_MidiSet.DeleteAll();
    m_MidiSet.m_vPlayers.clear();
    m_MidiSet.m_vFlags.clear();
  }
  // The plug-in's boxes wait for the main thread, which may ask for music
  // meanwhile: the lock stays free, and while m_bInit is 0 such a request
  // returns at once and touches nothing here.
  if (!m_Vox.Init()) {
    DebugLogPrintf("%s %s", kVoxInitFailed, m_Vox.LastError().c_str());
    return 0;
  }
  SetChannelsLocked(channels);
  std::lock_guard<std::mutex> lock(m_lock);
  m_lpOggNames = oggNames;
  m_lpMidiNames = midiNames;
  const bool tables = oggNames && midiNames;
  m_vKind.assign(tables && slots > 0 ? static_cast<size_t>(slots) : 0, kKindUndetermined);
  m_bInit = 1;
  return 1;
}

int cBgm::SetChannels(int n) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_bInit) return 1;
  return SetChannelsLocked(n);
}

int cBgm::SetChannelsLocked(int n) {
  if (n < 0) n = 0;
  // The old players go with their tables: none would be reachable after.
  m_MidiSet.DeleteAll();
  m_MidiSet.m_vPlayers.assign(static_cast<size_t>(n), nullptr);
  m_MidiSet.m_vFlags.assign(static_cast<size_t>(n), 0);
  m_Vox.SetChannels(n);
  m_vActive.assign(static_cast<size_t>(n), 0);
  m_nCurrentSlot = -1;
  return 1;
}

int cBgm::SetFile(int slot, const char* path) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_bInit) return 1;
  if (slot < 0 || slot >= m_vKind.Size() || !path) return 0;
  BGMOGGNAME& ogg = m_lpOggNames[slot];
  BGMMIDINAME& midi = m_lpMidiNames[slot];
  const std::string name = path;
  std::string ext;
  const bool hasExt = GetExtension(ext, name) != 0;
  const bool isMidi = ext == "mid" || ext == "MID";
  // A name its entry cannot hold whole would name another file.
  const bool fits = name.size() < (isMidi ? sizeof(BGMMIDINAME) : sizeof(BGMOGGNAME));
  if (!hasExt || !fits) {
    ogg[0] = '\0';
    midi[0] = '\0';
    m_vKind[slot] = kKindUndetermined;
    return 0;
  }
  if (isMidi) {
    std::string midiName;
    ReplaceExtension(midiName, name, "mid");
    SetName(midi, midiName);
    m_vKind[slot] = kKindMidi;
    return 1;
  }
  if (ext == "ogg" || ext == "OGG") {
    SetName(ogg, name);
    m_vKind[slot] = kKindOgg;
    return 1;
  }
  SetName(ogg, name);
  SetName(midi, name);
  m_vKind[slot] = kKindUndetermined;
  return 0;
}

int cBgm::Play(int channel, int slot, int loop, int midiPause, int force) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_bInit) return 1;
  if (channel < 0 || channel >= m_vActive.Size() || slot < 0 || slot >= m_vKind.Size()) return 0;
  if (slot == m_nCurrentSlot && !force) return 1;
  m_nCurrentSlot = slot;
  switch (m_vKind[slot]) {
    case kKindUndetermined:
      if (m_Vox.Play(channel, m_lpOggNames[slot], loop)) {
        m_vActive[channel] = kKindOgg;
        m_MidiSet.StopAll(midiPause);
        return 1;
      }
      if (m_MidiSet.Play(channel, m_lpMidiNames[slot], loop)) {
        m_vActive[channel] = kKindMidi;
        m_Vox.Stop();
        return 1;
      }
      break;
    case kKindOgg:
      if (m_Vox.Play(channel, m_lpOggNames[slot], loop)) {
        m_vActive[channel] = kKindOgg;
        m_MidiSet.StopAll(0);
        return 1;
      }
      break;
    case kKindMidi:
      if (m_MidiSet.Play(channel, m_lpMidiNames[slot], loop)) {
        m_vActive[channel] = kKindMidi;
        m_Vox.Stop();
        return 1;
      }
      break;
    default:
      break;
  }
  m_vActive[channel] = 0;
  m_nCurrentSlot = -1;
  m_Vox.Stop();
  m_MidiSet.StopAll(0);
  return 0;
}

int cBgm::Stop() {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_bInit) return 1;
  m_MidiSet.StopAll(0);
  m_Vox.Stop();
  return 1;
}

int cBgm::UnInit() {
  std::lock_guard<std::mutex> serial(m_initLock);
  std::lock_guard<std::mutex> lock(m_lock);
  return UnInitLocked();
}

int cBgm::UnInitLocked() {
  if (!m_bInit) return 1;
  m_Vox.Release();
  m_MidiSet.DeleteAll();
  m_MidiSet.m_vPlayers.clear();
  m_MidiSet.m_vFlags.clear();
  m_vActive.clear();
  m_vKind.clear();
  m_nCurrentSlot = -1;
  m_lpOggNames = nullptr;
  m_lpMidiNames = nullptr;
  m_bInit = 0;
  return 1;
}
