#include "platform/midi_synth.h"

#include <dlfcn.h>
#include <fluidsynth.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace plat {

void RecordingSynth::Send(const uint8_t* bytes, size_t count) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_messages.push_back({m_frames, std::vector<uint8_t>(bytes, bytes + count)});
}

void RecordingSynth::Render(float* out, size_t frames) {
  std::memset(out, 0, frames * 2 * sizeof(float));
  std::lock_guard<std::mutex> lock(m_mutex);
  m_frames += frames;
}

std::vector<RecordingSynth::Message> RecordingSynth::Messages() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_messages;
}

uint64_t RecordingSynth::FramesRendered() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_frames;
}

void RecordingSynth::Clear() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_messages.clear();
}

std::vector<std::string> SoundFontCandidates(const std::vector<std::string>& defaults) {
  std::vector<std::string> out;
  const char* env = std::getenv("GAME_SOUNDFONT");
  if (env && *env) out.push_back(env);
  out.insert(out.end(), defaults.begin(), defaults.end());
  return out;
}

std::vector<std::string> DefaultSoundFonts() {
  return {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
          "/usr/share/sounds/sf2/TimGM6mb.sf2"};
}

namespace {

// The library's own warnings would go to stderr; the caller reports instead.
void QuietFluidLog() {
  static const bool quiet = [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
    return true;
  }();
  (void)quiet;
}

// A library built with OpenMP loads the samples on a team as wide as the
// machine, whose threads then spin a while: no faster for a SoundFont this
// size, and they take the cores the start-up runs on. The load keeps to the
// calling thread (the setting is that thread's own); the data is the same.
void LoadOnTheCallingThread() {
  using SetThreads = void (*)(int);
  if (auto set = reinterpret_cast<SetThreads>(dlsym(RTLD_DEFAULT, "omp_set_num_threads"))) set(1);
}

class FluidSynth : public MidiSynth {
 public:
  FluidSynth(fluid_settings_t* settings, fluid_synth_t* synth) : m_settings(settings), m_synth(synth) {}
  ~FluidSynth() override {
    delete_fluid_synth(m_synth);
    delete_fluid_settings(m_settings);
  }

  void Send(const uint8_t* b, size_t count) override {
    if (count == 0) return;
    if (b[0] == 0xF0) {
      // The library takes the bytes between F0 and F7.
      if (count >= 2 && b[count - 1] == 0xF7)
        fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(b + 1), static_cast<int>(count - 2),
                          nullptr, nullptr, nullptr, 0);
      return;
    }
    if (b[0] < 0x80 || b[0] >= 0xF0 || count < 2) return;
    int channel = b[0] & 0x0F;
    int d1 = b[1] & 0x7F;
    int d2 = count >= 3 ? b[2] & 0x7F : 0;
    switch (b[0] & 0xF0) {
      case 0x80: fluid_synth_noteoff(m_synth, channel, d1); break;
      case 0x90:
        if (d2 == 0)
          fluid_synth_noteoff(m_synth, channel, d1);
        else
          fluid_synth_noteon(m_synth, channel, d1, d2);
        break;
      case 0xA0: fluid_synth_key_pressure(m_synth, channel, d1, d2); break;
      case 0xB0: fluid_synth_cc(m_synth, channel, d1, d2); break;
      case 0xC0: fluid_synth_program_change(m_synth, channel, d1); break;
      case 0xD0: fluid_synth_channel_pressure(m_synth, channel, d1); break;
      case 0xE0: fluid_synth_pitch_bend(m_synth, channel, d1 | d2 << 7); break;
    }
  }

  void Render(float* out, size_t frames) override {
    while (frames > 0) {
      int n = frames > 4096 ? 4096 : static_cast<int>(frames);
      fluid_synth_write_float(m_synth, n, out, 0, 2, out, 1, 2);
      out += 2 * n;
      frames -= static_cast<size_t>(n);
    }
  }

 private:
  fluid_settings_t* m_settings;
  fluid_synth_t* m_synth;
};

}  // namespace

std::unique_ptr<MidiSynth> CreateFluidSynth(const std::string& hostPath, int32_t rate) {
  QuietFluidLog();
  if (hostPath.empty() || access(hostPath.c_str(), R_OK) != 0) return nullptr;
  fluid_settings_t* settings = new_fluid_settings();
  if (!settings) return nullptr;
  fluid_settings_setnum(settings, "synth.sample-rate", rate);
  // Calls come under the device lock already.
  fluid_settings_setint(settings, "synth.threadsafe-api", 0);
  // Twice the library's default: a busy 16-channel song peaks near -4 dB,
  // leaving the sound effects room in the mix.
  fluid_settings_setnum(settings, "synth.gain", 0.4);
  fluid_synth_t* synth = new_fluid_synth(settings);
  if (!synth) {
    delete_fluid_settings(settings);
    return nullptr;
  }
  auto out = std::make_unique<FluidSynth>(settings, synth);
  LoadOnTheCallingThread();
  if (fluid_synth_sfload(synth, hostPath.c_str(), 1) == FLUID_FAILED) return nullptr;
  return out;
}

}  // namespace plat
