#include "platform/midi_out.h"

#include <malloc.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/midi_internal.h"
#include "platform/mixer.h"

namespace plat {

namespace {

struct MidiDevice {
  std::mutex lock;
  std::shared_ptr<MidiSynth> synth;
  bool searched = false;  // StartMidiSynth has looked (found or not)
  bool customSearch = false;
  std::vector<std::string> search;
  std::vector<detail::MidiStreamState*> streams;
  // PreloadMidiSynth's thread; while it loads, the streams wait at their
  // place. `preloadClaimed`: a StartMidiSynth took its search for its own.
  std::thread preload;
  bool preloading = false;
  bool preloadClaimed = false;
  std::function<std::shared_ptr<MidiSynth>(const std::string&)> loader;  // set by tests

  // Apart from `lock`: a mixer's pull takes `lock` while the mixer holds its
  // own, so the mixer is never called under `lock`.
  std::mutex mixLock;
  bool mixChosen = false;
  Mixer* mixer = nullptr;
  uint32_t mixStream = 0;
};

// Never destroyed: players that are global objects close their streams
// after every other static object may be gone.
MidiDevice& Device() {
  static MidiDevice* device = new MidiDevice;
  return *device;
}

}  // namespace

namespace detail {

std::mutex& MidiDeviceLock() { return Device().lock; }

void AttachMidiStream(MidiStreamState* state) { Device().streams.push_back(state); }

void DetachMidiStream(MidiStreamState* state) {
  std::vector<MidiStreamState*>& v = Device().streams;
  v.erase(std::remove(v.begin(), v.end(), state), v.end());
}

MidiSynth* CurrentMidiSynth() { return Device().synth.get(); }

}  // namespace detail

namespace {

// The mixer's pull: the output is at the mix's rate, so the mixer's frames
// are the streams' frames.
size_t PullMidi(void*, float* out, size_t frames, uint64_t) {
  RenderMidi(out, frames);
  return frames;
}

}  // namespace

void SetMidiMixer(Mixer* mixer) {
  MidiDevice& d = Device();
  std::lock_guard<std::mutex> lock(d.mixLock);
  d.mixChosen = true;
  if (mixer == d.mixer) return;
  if (d.mixer) d.mixer->RemoveStream(d.mixStream);
  d.mixer = mixer;
  d.mixStream = mixer ? mixer->AddStream(kMidiRate, 2, PullMidi, nullptr) : 0;
}

namespace {

using SynthLoader = std::function<std::shared_ptr<MidiSynth>(const std::string&)>;

// The first of `candidates` that loads, and the report log's line on it.
std::shared_ptr<MidiSynth> LoadFirstSoundFont(const std::vector<std::string>& candidates, const SynthLoader& loader,
                                              std::string& line) {
  std::string why;
  if (!loader && !FluidSynthLoads(&why)) {
    line = "MIDI: no SoundFont loaded (" + why + "); music plays silent";
    return nullptr;
  }
  for (const std::string& path : candidates) {
    std::shared_ptr<MidiSynth> synth = loader ? loader(path) : CreateFluidSynth(path, kMidiRate);
    if (synth) {
      line = "MIDI: SoundFont " + path;
      return synth;
    }
  }
  line = "MIDI: no SoundFont loaded (tried";
  for (const std::string& path : candidates) line += " " + path;
  line += "); music plays silent";
  return nullptr;
}

}  // namespace

void PreloadMidiSynth(std::function<void(const std::string&)> report) {
  MidiDevice& d = Device();
  std::lock_guard<std::mutex> lock(d.lock);
  if (d.synth || d.searched || d.preloading || d.preload.joinable()) return;
  d.preloading = true;
  d.preloadClaimed = false;
  std::vector<std::string> candidates = SoundFontCandidates(d.customSearch ? d.search : DefaultSoundFonts());
  d.preload = std::thread([&d, candidates = std::move(candidates), loader = d.loader, report = std::move(report)] {
    std::string line;
    std::shared_ptr<MidiSynth> synth = LoadFirstSoundFont(candidates, loader, line);
    // The load's scratch memory, freed, would stay in the heap this thread
    // allocated from, where the other threads do not look: give it back.
    malloc_trim(0);
    {
      std::lock_guard<std::mutex> lock(d.lock);
      d.preloading = false;
      if (d.synth || d.searched) return;  // set meanwhile
      d.searched = true;
      d.synth = std::move(synth);
    }
    if (report) report(line);
  });
}

void DropMidiSynthPreload() {
  MidiDevice& d = Device();
  std::thread loader;
  {
    std::lock_guard<std::mutex> lock(d.lock);
    loader = std::move(d.preload);
  }
  if (!loader.joinable()) return;
  loader.join();
  std::shared_ptr<MidiSynth> dropped;
  std::lock_guard<std::mutex> lock(d.lock);
  if (d.preloadClaimed) return;  // a stream plays with it
  dropped = std::move(d.synth);
  d.searched = false;
}

bool StartMidiSynth(std::string* reportLine) {
  MidiDevice& d = Device();
  {
    std::lock_guard<std::mutex> lock(d.mixLock);
    if (!d.mixChosen) {
      d.mixChosen = true;
      d.mixer = &MainMixer;
      d.mixStream = MainMixer.AddStream(kMidiRate, 2, PullMidi, nullptr);
    }
  }
  std::vector<std::string> candidates;
  SynthLoader loader;
  {
    std::lock_guard<std::mutex> lock(d.lock);
    d.preloadClaimed = true;
    loader = d.loader;
    if (d.synth) return true;
    if (d.searched) return false;
    // Its streams wait for the preload, which reports what it found.
    if (d.preloading) return true;
    candidates = SoundFontCandidates(d.customSearch ? d.search : DefaultSoundFonts());
  }
  // Loading takes a while; the streams play on meanwhile.
  std::string line;
  std::shared_ptr<MidiSynth> synth = LoadFirstSoundFont(candidates, loader, line);
  std::lock_guard<std::mutex> lock(d.lock);
  if (d.synth) return true;  // set meanwhile
  if (d.searched) return false;
  d.searched = true;
  d.synth = synth;
  if (reportLine) *reportLine = line;
  return synth != nullptr;
}

void SetSoundFontSearch(std::vector<std::string> paths) {
  std::lock_guard<std::mutex> lock(Device().lock);
  Device().search = std::move(paths);
  Device().customSearch = true;
}

void SetMidiSynthLoader(std::function<std::shared_ptr<MidiSynth>(const std::string&)> loader) {
  std::lock_guard<std::mutex> lock(Device().lock);
  Device().loader = std::move(loader);
}

void SetMidiSynth(std::shared_ptr<MidiSynth> synth) {
  std::shared_ptr<MidiSynth> old;
  {
    std::lock_guard<std::mutex> lock(Device().lock);
    old = std::move(Device().synth);
    Device().synth = std::move(synth);
    Device().searched = Device().synth != nullptr;
  }
}

void RenderMidi(float* out, size_t frames) {
  MidiDevice& d = Device();
  std::lock_guard<std::mutex> lock(d.lock);
  if (d.preloading) {
    // Nothing is played, nor is any stream's time moved, before the
    // synthesiser is there to sound it: the song starts whole, a little late.
    std::memset(out, 0, frames * 2 * sizeof(float));
    return;
  }
  size_t done = 0;
  for (;;) {
    // Events due at the last frame play now: the synthesiser hears them
    // before the next frame either way.
    for (detail::MidiStreamState* s : d.streams) s->DispatchDue();
    if (done >= frames) break;
    uint64_t step = frames - done;
    for (detail::MidiStreamState* s : d.streams) {
      uint64_t wait;
      if (s->NextDue(&wait)) step = std::min(step, wait);
    }
    if (step == 0) step = 1;  // cannot happen: everything due was dispatched
    if (d.synth)
      d.synth->Render(out + 2 * done, static_cast<size_t>(step));
    else
      std::memset(out + 2 * done, 0, static_cast<size_t>(step) * 2 * sizeof(float));
    for (detail::MidiStreamState* s : d.streams)
      if (s->playing) s->time += step;
    done += static_cast<size_t>(step);
  }
}

}  // namespace plat
