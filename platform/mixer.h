#pragma once
// The one mixer of the process: everything the game makes heard goes through
// it. Output is stereo float at 44100 frames a second; Render sums every
// playing sound buffer and every stream and clamps the sum to -1..1. The
// audio device (platform/audio_device.h) calls Render from its own thread;
// tests make their own mixer and call Render by hand.
//
// Sound buffers hold PCM data (8-bit unsigned or 16-bit signed, mono or
// stereo) and play it once or looping at a volume in hundredths of a
// decibel. Streams (the MIDI synthesiser, the OGG plug-in through
// mixer_host.h) are pulled at their own rate. Both are resampled to the mix
// rate by linear interpolation over a 32.32 fixed-point source position, so
// a mix is exact and repeats bit for bit, however Render's calls are cut.
//
// Sound buffers and streams may be created, changed and removed from any
// thread. Removing one waits for a Render that is using it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/mixer_host.h"

namespace plat {

// The layout of a sound buffer's data.
struct PcmFormat {
  int32_t rate = 22050;   // frames per second, 100..200000
  int32_t channels = 1;   // 1 (played on both sides) or 2 (left first)
  int32_t bits = 8;       // 8 (unsigned, 128 silent) or 16 (signed little-endian)
  int32_t BlockAlign() const { return channels * (bits / 8); }
};

// The gain of a volume in hundredths of a decibel: 10^(volume / 2000);
// -10000 and below are exactly silent, 0 and above full.
float VolumeGain(int32_t volume);

class Mixer;

// One sound: sample data, shared with its duplicates, and the voice that
// plays it. Made by Mixer::CreateBuffer or DuplicateBuffer, ended by
// Mixer::ReleaseBuffer (never deleted otherwise).
class SoundBuffer {
 public:
  // Plays from the current position; with loop it wraps to the start at the
  // end, else it stops there and rewinds to the start. Playing already: only
  // the loop setting changes.
  void Play(bool loop);
  // Keeps the position.
  void Stop();
  bool IsPlaying() const;
  // The next frame to play, in bytes from the start of the data.
  uint32_t GetPosition() const;
  // Moves to a byte position (rounded down to a whole frame); false, and no
  // change, at or past the end of the data.
  bool SetPosition(uint32_t bytes);
  // Hundredths of a decibel, kept within -10000..0.
  void SetVolume(int32_t volume);
  int32_t GetVolume() const;

  const PcmFormat& Format() const { return m_format; }
  uint32_t Size() const { return m_frames * static_cast<uint32_t>(m_format.BlockAlign()); }

 private:
  friend class Mixer;
  SoundBuffer(Mixer* mixer, std::shared_ptr<const std::vector<float>> samples, const PcmFormat& format);
  void MixInto(float* acc, size_t frames);  // with the voice lock held

  Mixer* m_mixer;
  std::shared_ptr<const std::vector<float>> m_samples;  // -1..1, interleaved
  PcmFormat m_format;
  uint32_t m_frames;
  uint64_t m_step;  // source frames per output frame, 32.32
  // Guarded by the mixer's voice lock.
  uint64_t m_pos = 0;  // source frame, 32.32
  int32_t m_volume = 0;
  float m_gain = 1.0f;
  bool m_playing = false;
  bool m_loop = false;
};

class Mixer {
 public:
  static constexpr int32_t kRate = 44100;
  static constexpr int32_t kChannels = 2;

  Mixer();
  // Everything still in the mix is released; no Render may be running.
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // A stopped buffer at position 0 and full volume holding `bytes` bytes of
  // PCM data in `format` (a trailing part frame is dropped). Null when the
  // format is not one above or there is not one whole frame.
  SoundBuffer* CreateBuffer(const PcmFormat& format, const void* data, size_t bytes);
  // A new buffer sharing the source's data, with its volume, stopped at 0.
  // Null for a null source.
  SoundBuffer* DuplicateBuffer(const SoundBuffer* source);
  // Stops and frees a buffer (its duplicates keep the data). Null is ignored.
  void ReleaseBuffer(SoundBuffer* buffer);

  // Streams: see mixer_host.h, whose calls these are.
  uint32_t AddStream(int32_t rate, int32_t channels, MIXERPULLPROC pull, void* user);
  void RemoveStream(uint32_t id);
  // The C interface for plug-ins, bound to this mixer.
  MIXERHOST Host();

  // Writes `frames` interleaved stereo frames to `out` and advances every
  // voice and stream by that much time.
  void Render(float* out, size_t frames);
  // Output frames rendered since the mixer was made.
  uint64_t FramesRendered() const { return m_rendered.load(std::memory_order_relaxed); }

 private:
  friend class SoundBuffer;
  struct Stream;
  static constexpr size_t kBlock = 512;  // output frames mixed under one lock

  void MixStream(Stream& s, float* acc, size_t frames);

  std::mutex m_voiceLock;
  std::vector<std::unique_ptr<SoundBuffer>> m_buffers;
  std::mutex m_streamLock;
  std::vector<std::unique_ptr<Stream>> m_streams;
  uint32_t m_nextStreamId = 1;
  std::atomic<uint64_t> m_rendered{0};
  std::vector<float> m_acc;  // used by Render only
  std::mutex m_renderLock;   // one Render at a time
};

// The process's mixer: the audio device renders it, sound effects and music
// play into it.
extern Mixer MainMixer;

}  // namespace plat
