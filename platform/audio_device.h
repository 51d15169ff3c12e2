#pragma once
// The sound card: one SDL audio device of stereo float at 44100 Hz in
// 1024-frame blocks, whose thread renders a mixer into it. Opened and closed
// on the main thread (the sound-effect layer's start-up and shutdown).
#include <string>

namespace plat {

class Mixer;

enum class AudioOpen {
  kDevice,  // the sound card plays the mix
  kSilent,  // no sound card: SDL's dummy driver renders the mix into nothing
  kNone,    // not even that: nothing renders the mix
};

class AudioDevice {
 public:
  AudioDevice() = default;
  ~AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;

  // Opens the device on `mixer` and starts it. When the system's device does
  // not open, it opens on the dummy driver (kSilent). Already open: kept as
  // it is, with its result.
  AudioOpen Open(Mixer& mixer);
  // Stops the device; when it returns, no Render of it runs or will start.
  void Close();
  bool IsOpen() const { return m_open; }
  // The driver in use ("pulseaudio", "alsa", "dummy", ...); empty when closed.
  const std::string& DriverName() const { return m_driver; }

 private:
  bool m_open = false;
  AudioOpen m_result = AudioOpen::kNone;
  unsigned m_device = 0;
  bool m_dummyHint = false;
  std::string m_driver;
};

// For tests: kPulledByHand makes Open succeed (kDevice) without SDL, leaving
// the mixer to the test's own Render calls; kNoDevice makes it fail (kNone).
enum class AudioTestMode { kOff, kPulledByHand, kNoDevice };
void SetAudioTestMode(AudioTestMode mode);

}  // namespace plat
