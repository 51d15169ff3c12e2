#include "platform/audio_device.h"

#include <SDL.h>

#include <atomic>

#include "platform/mixer.h"

namespace plat {
namespace {

std::atomic<AudioTestMode> g_testMode{AudioTestMode::kOff};

void Callback(void* user, Uint8* stream, int len) {
  const size_t frames = static_cast<size_t>(len) / (sizeof(float) * Mixer::kChannels);
  static_cast<Mixer*>(user)->Render(reinterpret_cast<float*>(stream), frames);
}

// The audio subsystem with the driver SDL chooses (or the hint names) and a
// device on it; 0 when either fails, with the subsystem down again.
SDL_AudioDeviceID OpenOnDriver(Mixer& mixer) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = Mixer::kRate;
  want.format = AUDIO_F32SYS;
  want.channels = Mixer::kChannels;
  want.samples = 1024;
  want.callback = Callback;
  want.userdata = &mixer;
  SDL_AudioSpec have;
  // SDL converts to whatever the card takes.
  SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return device;
}

}  // namespace

void SetAudioTestMode(AudioTestMode mode) { g_testMode = mode; }

AudioDevice::~AudioDevice() { Close(); }

AudioOpen AudioDevice::Open(Mixer& mixer) {
  if (m_open) return m_result;
  switch (g_testMode.load()) {
    case AudioTestMode::kPulledByHand:
      m_open = true;
      m_driver = "by hand";
      return m_result = AudioOpen::kDevice;
    case AudioTestMode::kNoDevice:
      return AudioOpen::kNone;
    case AudioTestMode::kOff:
      break;
  }
  AudioOpen result = AudioOpen::kDevice;
  SDL_AudioDeviceID device = OpenOnDriver(mixer);
  if (device == 0) {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    m_dummyHint = true;
    device = OpenOnDriver(mixer);
    result = AudioOpen::kSilent;
  }
  if (device == 0) {
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    m_dummyHint = false;
    return AudioOpen::kNone;
  }
  const char* driver = SDL_GetCurrentAudioDriver();
  m_driver = driver ? driver : "";
  if (m_driver == "dummy") result = AudioOpen::kSilent;
  m_device = device;
  m_open = true;
  m_result = result;
  SDL_PauseAudioDevice(device, 0);
  return result;
}

void AudioDevice::Close() {
  if (!m_open) return;
  if (m_device != 0) {
    // Waits for the device's thread to leave the callback and end.
    SDL_CloseAudioDevice(m_device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_device = 0;
  }
  if (m_dummyHint) {
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    m_dummyHint = false;
  }
  m_open = false;
  m_result = AudioOpen::kNone;
  m_driver.clear();
}

}  // namespace plat
