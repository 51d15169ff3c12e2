#include "platform/midi_synth.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/shared_library.h"

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

std::vector<std::string> DefaultFluidSynthLibraryNames() { return {"libfluidsynth.so.3", "libfluidsynth.so"}; }

namespace {

// The library is opened on first need rather than linked: its twenty-odd
// dependencies would otherwise load and relocate before main, on the start-up
// path, and the SoundFont is loaded on a thread of its own anyway.
#define FLUID_FUNCTIONS(X)                                                                                    \
  X(fluid_set_log_function) X(new_fluid_settings) X(delete_fluid_settings) X(fluid_settings_setnum)          \
  X(fluid_settings_setint) X(new_fluid_synth) X(delete_fluid_synth) X(fluid_synth_sfload)                    \
  X(fluid_synth_write_float) X(fluid_synth_noteon) X(fluid_synth_noteoff) X(fluid_synth_cc)                  \
  X(fluid_synth_program_change) X(fluid_synth_pitch_bend) X(fluid_synth_key_pressure)                        \
  X(fluid_synth_channel_pressure) X(fluid_synth_sysex)

struct FluidApi {
#define FLUID_POINTER(name) decltype(&::name) name = nullptr;
  FLUID_FUNCTIONS(FLUID_POINTER)
#undef FLUID_POINTER
  // From the library's OpenMP runtime, when it was built with one.
  void (*omp_set_num_threads)(int) = nullptr;
};

struct FluidLibrary {
  SharedLibrary library;
  FluidApi api;
};

struct FluidLoader {
  std::mutex lock;
  std::vector<std::string> names = DefaultFluidSynthLibraryNames();
  bool tried = false;
  const FluidApi* api = nullptr;  // null when the library did not load
  std::string why;
  // Never closed: a synthesiser made from one may outlive any owner.
  std::vector<std::unique_ptr<FluidLibrary>> opened;
};

// Never destroyed, so no synthesiser outlives the code it calls.
FluidLoader& TheFluidLoader() {
  static FluidLoader& loader = *new FluidLoader;
  return loader;
}

template <typename Function>
bool TakeSymbol(SharedLibrary& library, const char* name, Function& out) {
  out = reinterpret_cast<Function>(library.Symbol(name));
  return out != nullptr;
}

// The first of the names that opens with every function, or null and `why`.
std::unique_ptr<FluidLibrary> OpenFluidLibrary(const std::vector<std::string>& names, std::string& why) {
  std::string lacking;
  for (const std::string& name : names) {
    auto out = std::make_unique<FluidLibrary>();
    if (!out->library.Open(name)) continue;
    const char* missing = nullptr;
#define FLUID_TAKE(fn) \
    if (!missing && !TakeSymbol(out->library, #fn, out->api.fn)) missing = #fn;
    FLUID_FUNCTIONS(FLUID_TAKE)
#undef FLUID_TAKE
    if (missing) {
      if (lacking.empty()) lacking = name + " lacks " + missing;
      continue;
    }
    // The dependencies are local to the library, so look there, not globally.
    TakeSymbol(out->library, "omp_set_num_threads", out->api.omp_set_num_threads);
    // Its own warnings would go to stderr; the caller reports instead.
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      out->api.fluid_set_log_function(level, nullptr, nullptr);
    return out;
  }
  if (!lacking.empty()) {
    why = "FluidSynth library " + lacking;
  } else {
    why = "FluidSynth library not found: tried";
    for (const std::string& name : names) why += " " + name;
  }
  return nullptr;
}

const FluidApi* Fluid(std::string* why) {
  FluidLoader& loader = TheFluidLoader();
  std::lock_guard<std::mutex> lock(loader.lock);
  if (!loader.tried) {
    loader.tried = true;
    loader.why.clear();
    std::unique_ptr<FluidLibrary> library = OpenFluidLibrary(loader.names, loader.why);
    loader.api = library ? &library->api : nullptr;
    if (library) loader.opened.push_back(std::move(library));
  }
  if (!loader.api && why) *why = loader.why;
  return loader.api;
}

// A library built with OpenMP loads the samples on a team as wide as the
// machine, whose threads then spin a while: no faster for a SoundFont this
// size, and they take the cores the start-up runs on. The load keeps to the
// calling thread (the setting is that thread's own); the data is the same.
void LoadOnTheCallingThread(const FluidApi& fluid) {
  if (fluid.omp_set_num_threads) fluid.omp_set_num_threads(1);
}

class FluidSynth : public MidiSynth {
 public:
  FluidSynth(const FluidApi& fluid, fluid_settings_t* settings, fluid_synth_t* synth)
      : m_fluid(fluid), m_settings(settings), m_synth(synth) {}
  ~FluidSynth() override {
    m_fluid.delete_fluid_synth(m_synth);
    m_fluid.delete_fluid_settings(m_settings);
  }

  void Send(const uint8_t* b, size_t count) override {
    if (count == 0) return;
    if (b[0] == 0xF0) {
      // The library takes the bytes between F0 and F7.
      if (count >= 2 && b[count - 1] == 0xF7)
        m_fluid.fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(b + 1), static_cast<int>(count - 2),
                                  nullptr, nullptr, nullptr, 0);
      return;
    }
    if (b[0] < 0x80 || b[0] >= 0xF0 || count < 2) return;
    int channel = b[0] & 0x0F;
    int d1 = b[1] & 0x7F;
    int d2 = count >= 3 ? b[2] & 0x7F : 0;
    switch (b[0] & 0xF0) {
      case 0x80: m_fluid.fluid_synth_noteoff(m_synth, channel, d1); break;
      case 0x90:
        if (d2 == 0)
          m_fluid.fluid_synth_noteoff(m_synth, channel, d1);
        else
          m_fluid.fluid_synth_noteon(m_synth, channel, d1, d2);
        break;
      case 0xA0: m_fluid.fluid_synth_key_pressure(m_synth, channel, d1, d2); break;
      case 0xB0: m_fluid.fluid_synth_cc(m_synth, channel, d1, d2); break;
      case 0xC0: m_fluid.fluid_synth_program_change(m_synth, channel, d1); break;
      case 0xD0: m_fluid.fluid_synth_channel_pressure(m_synth, channel, d1); break;
      case 0xE0: m_fluid.fluid_synth_pitch_bend(m_synth, channel, d1 | d2 << 7); break;
    }
  }

  void Render(float* out, size_t frames) override {
    while (frames > 0) {
      int n = frames > 4096 ? 4096 : static_cast<int>(frames);
      m_fluid.fluid_synth_write_float(m_synth, n, out, 0, 2, out, 1, 2);
      out += 2 * n;
      frames -= static_cast<size_t>(n);
    }
  }

 private:
  const FluidApi& m_fluid;
  fluid_settings_t* m_settings;
  fluid_synth_t* m_synth;
};

}  // namespace

#undef FLUID_FUNCTIONS

bool FluidSynthLoads(std::string* why) { return Fluid(why) != nullptr; }

void SetFluidSynthLibraryNames(std::vector<std::string> names) {
  FluidLoader& loader = TheFluidLoader();
  std::lock_guard<std::mutex> lock(loader.lock);
  loader.names = std::move(names);
  loader.tried = false;
}

std::unique_ptr<MidiSynth> CreateFluidSynth(const std::string& hostPath, int32_t rate) {
  const FluidApi* fluid = Fluid(nullptr);
  if (!fluid) return nullptr;
  if (hostPath.empty() || access(hostPath.c_str(), R_OK) != 0) return nullptr;
  fluid_settings_t* settings = fluid->new_fluid_settings();
  if (!settings) return nullptr;
  fluid->fluid_settings_setnum(settings, "synth.sample-rate", rate);
  // Calls come under the device lock already.
  fluid->fluid_settings_setint(settings, "synth.threadsafe-api", 0);
  // Twice the library's default: a busy 16-channel song peaks near -4 dB,
  // leaving the sound effects room in the mix.
  fluid->fluid_settings_setnum(settings, "synth.gain", 0.4);
  fluid_synth_t* synth = fluid->new_fluid_synth(settings);
  if (!synth) {
    fluid->delete_fluid_settings(settings);
    return nullptr;
  }
  auto out = std::make_unique<FluidSynth>(*fluid, settings, synth);
  LoadOnTheCallingThread(*fluid);
  if (fluid->fluid_synth_sfload(synth, hostPath.c_str(), 1) == FLUID_FAILED) return nullptr;
  return out;
}

}  // namespace plat
