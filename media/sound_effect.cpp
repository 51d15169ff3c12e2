#include "media/sound_effect.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>
#include <new>

#include "base/report_log.h"
#include "media/wave_file.h"
#include "platform/audio_device.h"
#include "platform/mixer.h"

namespace {

// "%s読み込み失敗！"
const char kReadFailed[] = "%s\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
// "%s生成失敗！"
const char kCreateFailed[] = "%s\x90\xB6\x90\xAC\x8E\xB8\x94\x73\x81\x49";
// "%sのメモリ確保失敗！"
const char kNoMemory[] = "%s\x82\xCC\x83\x81\x83\x82\x83\x8A\x8A\x6D\x95\xDB\x8E\xB8\x94\x73\x81\x49";
// "%sのメモリ共用バッファの生成失敗！"
const char kNoDuplicate[] =
    "%s\x82\xCC\x83\x81\x83\x82\x83\x8A\x8B\xA4\x97\x70\x83\x6F\x83\x62\x83\x74\x83\x40\x82\xCC"
    "\x90\xB6\x90\xAC\x8E\xB8\x94\x73\x81\x49";

constexpr size_t kMaxName = 259;
// More copies than this of one sound cannot be told apart; a larger count
// comes from damaged data and is not allocated.
constexpr int kMaxCopies = 256;

// The module's state: output open, the format asked for, the bank in use.
struct DSSTATE {
  std::atomic<bool> bReady{false};
  plat::AudioDevice device;
  plat::WindowHandle window;
  int nRate = 0, nBits = 0, nChannels = 0;  // kept, not applied
  std::atomic<cVector<SEDATA>*> lpBank{nullptr};
  std::atomic<cVector<SEDEF>*> lpDefs{nullptr};
};
DSSTATE g_ds;

// Guards every entry's nNext and copies against the other thread.
std::mutex g_bankLock;

// A sound that does not load is worth a report line for the game's author;
// an empty name is a slot the project leaves without a sound.
void LoadFailure(const char* format, const std::string& name) {
  if (name.empty())
    DebugLogPrintf(format, name.c_str());
  else
    ReportPrintfDebug(format, name.c_str());
}

std::string BoundedName(const char* file) { return file ? std::string(file, strnlen(file, kMaxName + 1)) : ""; }

plat::SoundBuffer* CopyAt(SEDATA* entry, int copy) {
  if (!entry->lpBuffers || copy < 0 || copy >= entry->nCopies) return nullptr;
  return entry->lpBuffers[copy];
}

int32_t SetVolumeLocked(SEDATA* entry, int copy, int32_t volume, int relative) {
  plat::SoundBuffer* buffer = CopyAt(entry, copy);
  if (!buffer) return 0;
  int64_t v = volume;
  if (relative == 1) v += buffer->GetVolume();
  const int32_t set = static_cast<int32_t>(std::clamp<int64_t>(v, -10000, 0));
  buffer->SetVolume(set);
  return set;
}

void FreeSoundLocked(SEDATA* entry) {
  if (!entry->lpBuffers) return;
  for (int j = 1; j < entry->nCopies; ++j) plat::MainMixer.ReleaseBuffer(entry->lpBuffers[j]);
  if (entry->nCopies > 0) plat::MainMixer.ReleaseBuffer(entry->lpBuffers[0]);
  delete[] entry->lpBuffers;
  std::memset(entry, 0, sizeof(*entry));
}

}  // namespace

int32_t SeVolumeForStep(int step) { return SeVolumeTable[std::clamp(step, 0, 10)]; }

bool DS_Init(plat::WindowHandle window, int rate, int bits, int channels) {
  if (!g_ds.bReady) {
    plat::AudioOpen result = g_ds.device.Open(plat::MainMixer);
    if (result == plat::AudioOpen::kNone) {
      DebugLogPuts("DIRECTSOUNDCREATE_ERR!");
      return false;
    }
    if (result == plat::AudioOpen::kSilent)
      ReportPrintf("DS_Init : no sound device opens; the game goes on without sound");
  }
  g_ds.window = window;
  g_ds.nRate = rate;
  g_ds.nBits = bits;
  g_ds.nChannels = channels;
  g_ds.lpBank = nullptr;
  g_ds.lpDefs = nullptr;
  g_ds.bReady = true;
  return true;
}

int DS_LoadSounds(cVector<SEDATA>* bank, cVector<SEDEF>* defs, int32_t volume) {
  if (!g_ds.bReady) return 1;
  g_ds.lpBank = bank;
  g_ds.lpDefs = defs;
  if (!bank || !defs) return 1;
  for (int i = 0; i < bank->Size(); ++i) {
    SEDATA& entry = (*bank)[i];
    if (entry.lpBuffers) continue;
    const SEDEF& def = defs->At(i);
    DS_LoadSound(&entry, def.szFileName, def.nCopies, volume != 0 ? volume : def.nVolume);
  }
  return 1;
}

bool DS_LoadSound(SEDATA* entry, const char* file, int copies, int32_t volume) {
  if (!g_ds.bReady) return true;
  if (!entry) return false;
  const std::string name = BoundedName(file);
  std::lock_guard<std::mutex> lock(g_bankLock);
  FreeSoundLocked(entry);
  if (name.size() > kMaxName) {
    LoadFailure(kReadFailed, name);
    return false;
  }
  if (copies < 1) copies = 1;
  if (copies > kMaxCopies) {
    LoadFailure(kNoMemory, name);
    return false;
  }
  entry->lpBuffers = new (std::nothrow) plat::SoundBuffer*[static_cast<size_t>(copies)]();
  if (!entry->lpBuffers) {
    LoadFailure(kNoMemory, name);
    return false;
  }
  entry->nCopies = copies;
  bool ok = DS_CreateBuffer(&entry->lpBuffers[0], name.c_str());
  for (int j = 1; ok && j < copies; ++j) {
    ok = DS_Duplicate(&entry->lpBuffers[j], entry->lpBuffers[0]);
    if (!ok) LoadFailure(kNoDuplicate, name);
  }
  if (!ok) {
    // Nothing half made stays behind: the entry is simply not loaded.
    FreeSoundLocked(entry);
    return false;
  }
  std::memcpy(entry->szFileName, name.c_str(), name.size() + 1);
  if (volume != 0)
    for (int j = 0; j < copies; ++j) SetVolumeLocked(entry, j, volume, 0);
  return true;
}

bool DS_CreateBuffer(plat::SoundBuffer** slot, const char* file) {
  if (!slot) return false;
  const std::string name = BoundedName(file);
  WAVEDATA wave;
  if (!DS_ReadWave(name.c_str(), &wave)) {
    LoadFailure(kReadFailed, name);
    return false;
  }
  plat::PcmFormat format;
  format.rate = static_cast<int32_t>(std::min<uint32_t>(wave.wfx.nSamplesPerSec, INT32_MAX));
  format.channels = wave.wfx.nChannels;
  format.bits = wave.wfx.wBitsPerSample;
  *slot = plat::MainMixer.CreateBuffer(format, wave.vData.data(), wave.vData.size());
  DS_FreeWave(&wave);
  if (!*slot) {
    LoadFailure(kCreateFailed, name);
    return false;
  }
  return true;
}

bool DS_Duplicate(plat::SoundBuffer** out, plat::SoundBuffer* source) {
  if (!g_ds.bReady) return true;
  if (!out) return false;
  *out = plat::MainMixer.DuplicateBuffer(source);
  return *out != nullptr;
}

void DS_Play(SEDATA* entry, uint32_t flags) {
  if (!g_ds.bReady || !entry) return;
  std::lock_guard<std::mutex> lock(g_bankLock);
  plat::SoundBuffer* buffer = CopyAt(entry, entry->nNext);
  if (!buffer) return;
  buffer->Stop();
  buffer->SetPosition(0);
  buffer->Play((flags & DSBPLAY_LOOPING) != 0);
  entry->nNext += 1;
  if (entry->nNext >= entry->nCopies) entry->nNext = 0;
}

int32_t DS_SetVolume(SEDATA* entry, int copy, int32_t volume, int relative) {
  if (!g_ds.bReady || !entry) return 0;
  std::lock_guard<std::mutex> lock(g_bankLock);
  return SetVolumeLocked(entry, copy, volume, relative);
}

int32_t DS_GetVolume(SEDATA* entry, int copy) {
  if (!g_ds.bReady || !entry) return 0;
  std::lock_guard<std::mutex> lock(g_bankLock);
  plat::SoundBuffer* buffer = CopyAt(entry, copy);
  return buffer ? buffer->GetVolume() : 0;
}

void DS_PlayCursorSound(uint32_t keys, uint32_t mask, int sound) {
  if (!g_ds.bReady) return;
  cVector<SEDATA>* bank = g_ds.lpBank;
  if (!bank) return;
  if ((mask & 1) && (keys & (1 | 2))) DS_Play(&bank->At(sound), 0);
  if ((mask & 2) && (keys & (4 | 8))) DS_Play(&bank->At(sound), 0);
}

void DS_FreeSound(SEDATA* entry) {
  if (!g_ds.bReady || !entry) return;
  std::lock_guard<std::mutex> lock(g_bankLock);
  FreeSoundLocked(entry);
}

void DS_Release() {
  if (!g_ds.bReady) return;
  {
    std::lock_guard<std::mutex> lock(g_bankLock);
    if (cVector<SEDATA>* bank = g_ds.lpBank)
      for (SEDATA& entry : *bank) FreeSoundLocked(&entry);
    g_ds.bReady = false;
  }
  g_ds.device.Close();
  g_ds.lpBank = nullptr;
  g_ds.lpDefs = nullptr;
}
