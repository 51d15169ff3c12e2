#pragma once
// The synthesiser that MIDI streams play into, and the SoundFont it sounds
// with. The process has one (platform/midi_out.h holds it); the streams send
// it messages between the frames it renders.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

class MidiSynth {
 public:
  virtual ~MidiSynth() = default;
  // One message: a channel message of 2 or 3 bytes, or a system-exclusive
  // message F0 … F7. It sounds from the next frame rendered on.
  virtual void Send(const uint8_t* bytes, size_t count) = 0;
  // Writes `frames` interleaved stereo frames (-1..1) to `out`.
  virtual void Render(float* out, size_t frames) = 0;
};

// Renders silence and keeps what it was sent with the frame it came at: the
// synthesiser of the tests and of the timing benchmark.
class RecordingSynth : public MidiSynth {
 public:
  struct Message {
    uint64_t frame;  // frames rendered before it arrived
    std::vector<uint8_t> bytes;
    friend bool operator==(const Message&, const Message&) = default;
  };
  void Send(const uint8_t* bytes, size_t count) override;
  void Render(float* out, size_t frames) override;

  // Any thread may read these while the synthesiser plays.
  std::vector<Message> Messages() const;
  uint64_t FramesRendered() const;
  void Clear();

 private:
  mutable std::mutex m_mutex;
  std::vector<Message> m_messages;
  uint64_t m_frames = 0;
};

// The SoundFonts looked for, in order: the file named by the environment's
// GAME_SOUNDFONT when set, then `defaults` (host paths).
std::vector<std::string> SoundFontCandidates(const std::vector<std::string>& defaults);

// The SoundFonts a General MIDI synthesiser is found in on Debian.
std::vector<std::string> DefaultSoundFonts();

// The names the FluidSynth library is opened under, in order.
std::vector<std::string> DefaultFluidSynthLibraryNames();

// Opens the FluidSynth library the first time it is asked; true when it is
// there with all it needs, else false and `why` (when given) says what failed.
bool FluidSynthLoads(std::string* why);

// Tests only: the library names tried, in order; the next synthesiser opens
// the library again under them. Libraries already opened stay open.
void SetFluidSynthLibraryNames(std::vector<std::string> names);

// FluidSynth at `rate` frames a second with the SoundFont at `hostPath`, no
// audio driver; null when the file or the library does not load.
std::unique_ptr<MidiSynth> CreateFluidSynth(const std::string& hostPath, int32_t rate);

}  // namespace plat
