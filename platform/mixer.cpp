#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat {
namespace {

constexpr int32_t kMinRate = 100;
constexpr int32_t kMaxRate = 200000;
constexpr uint64_t kFracMask = 0xFFFFFFFFu;

// Source frames per output frame in 32.32: exact for 22050 and 44100.
uint64_t StepFor(int32_t rate) { return (static_cast<uint64_t>(rate) << 32) / Mixer::kRate; }

// The top 24 bits of the fraction, which a float holds exactly.
inline float Fraction(uint64_t pos) {
  return static_cast<float>(static_cast<uint32_t>(pos & kFracMask) >> 8) * (1.0f / 16777216.0f);
}

inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }

bool RateAndChannelsOk(int32_t rate, int32_t channels) {
  return rate >= kMinRate && rate <= kMaxRate && (channels == 1 || channels == 2);
}

uint32_t HostAddStream(void* host, int32_t rate, int32_t channels, MIXERPULLPROC pull, void* user) {
  return static_cast<Mixer*>(host)->AddStream(rate, channels, pull, user);
}

void HostRemoveStream(void* host, uint32_t id) { static_cast<Mixer*>(host)->RemoveStream(id); }

}  // namespace

float VolumeGain(int32_t volume) {
  if (volume <= -10000) return 0.0f;
  if (volume >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

// ---- sound buffers ----

SoundBuffer::SoundBuffer(Mixer* mixer, std::shared_ptr<const std::vector<float>> samples,
                         const PcmFormat& format)
    : m_mixer(mixer),
      m_samples(std::move(samples)),
      m_format(format),
      m_frames(static_cast<uint32_t>(m_samples->size() / static_cast<size_t>(format.channels))),
      m_step(StepFor(format.rate)) {}

void SoundBuffer::Play(bool loop) {
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  m_playing = true;
  m_loop = loop;
}

void SoundBuffer::Stop() {
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  m_playing = false;
}

bool SoundBuffer::IsPlaying() const {
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  return m_playing;
}

uint32_t SoundBuffer::GetPosition() const {
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  return static_cast<uint32_t>(m_pos >> 32) * static_cast<uint32_t>(m_format.BlockAlign());
}

bool SoundBuffer::SetPosition(uint32_t bytes) {
  uint32_t frame = bytes / static_cast<uint32_t>(m_format.BlockAlign());
  if (frame >= m_frames) return false;
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  m_pos = static_cast<uint64_t>(frame) << 32;
  return true;
}

void SoundBuffer::SetVolume(int32_t volume) {
  volume = std::clamp(volume, -10000, 0);
  float gain = VolumeGain(volume);
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  m_volume = volume;
  m_gain = gain;
}

int32_t SoundBuffer::GetVolume() const {
  std::lock_guard<std::mutex> lock(m_mixer->m_voiceLock);
  return m_volume;
}

void SoundBuffer::MixInto(float* acc, size_t frames) {
  const uint64_t end = static_cast<uint64_t>(m_frames) << 32;
  uint64_t pos = m_pos;
  if (m_gain == 0.0f) {
    // Silent, but time passes for it as for any voice.
    pos += m_step * frames;
    if (pos >= end) {
      if (!m_loop) {
        m_playing = false;
        m_pos = 0;
        return;
      }
      pos = (((pos >> 32) % m_frames) << 32) | (pos & kFracMask);
    }
    m_pos = pos;
    return;
  }
  const float* s = m_samples->data();
  const float g = m_gain;
  const bool stereo = m_format.channels == 2;
  for (size_t k = 0; k < frames; ++k) {
    const uint32_t idx = static_cast<uint32_t>(pos >> 32);
    const float t = Fraction(pos);
    // Past the last frame a looping sound goes on with its first, a single
    // one with silence.
    uint32_t next = idx + 1;
    const bool hasNext = next < m_frames || m_loop;
    if (next >= m_frames) next = 0;
    if (stereo) {
      const float l = Lerp(s[2 * idx], hasNext ? s[2 * next] : 0.0f, t);
      const float r = Lerp(s[2 * idx + 1], hasNext ? s[2 * next + 1] : 0.0f, t);
      acc[2 * k] += l * g;
      acc[2 * k + 1] += r * g;
    } else {
      const float v = Lerp(s[idx], hasNext ? s[next] : 0.0f, t) * g;
      acc[2 * k] += v;
      acc[2 * k + 1] += v;
    }
    pos += m_step;
    if (pos >= end) {
      if (!m_loop) {
        m_playing = false;
        m_pos = 0;
        return;
      }
      pos = (((pos >> 32) % m_frames) << 32) | (pos & kFracMask);
    }
  }
  m_pos = pos;
}

// ---- the mixer ----

struct Mixer::Stream {
  uint32_t id = 0;
  int32_t channels = 1;
  MIXERPULLPROC pull = nullptr;
  void* user = nullptr;
  uint64_t step = 0;
  uint64_t pos = 0;      // 32.32, relative to buf's first frame
  size_t have = 0;       // frames held in buf
  uint64_t pulled = 0;   // the stream's frames asked for so far
  std::vector<float> buf;
};

Mixer::Mixer() : m_acc(2 * kBlock) {}

Mixer::~Mixer() = default;

SoundBuffer* Mixer::CreateBuffer(const PcmFormat& format, const void* data, size_t bytes) {
  if (!RateAndChannelsOk(format.rate, format.channels) || (format.bits != 8 && format.bits != 16))
    return nullptr;
  if (!data) return nullptr;
  const size_t align = static_cast<size_t>(format.BlockAlign());
  const size_t frames = bytes / align;
  // Positions and sizes are counted in 32-bit bytes.
  if (frames == 0 || frames > 0xFFFFFFFFu / align) return nullptr;
  auto samples = std::make_shared<std::vector<float>>(frames * static_cast<size_t>(format.channels));
  const auto* in = static_cast<const uint8_t*>(data);
  float* out = samples->data();
  if (format.bits == 8) {
    for (size_t i = 0; i < samples->size(); ++i) out[i] = static_cast<float>(static_cast<int>(in[i]) - 128) * (1.0f / 128.0f);
  } else {
    for (size_t i = 0; i < samples->size(); ++i) {
      int16_t v = static_cast<int16_t>(static_cast<uint16_t>(in[2 * i] | (in[2 * i + 1] << 8)));
      out[i] = static_cast<float>(v) * (1.0f / 32768.0f);
    }
  }
  std::unique_ptr<SoundBuffer> buffer(new SoundBuffer(this, std::move(samples), format));
  SoundBuffer* result = buffer.get();
  std::lock_guard<std::mutex> lock(m_voiceLock);
  m_buffers.push_back(std::move(buffer));
  return result;
}

SoundBuffer* Mixer::DuplicateBuffer(const SoundBuffer* source) {
  if (!source) return nullptr;
  std::lock_guard<std::mutex> lock(m_voiceLock);
  std::unique_ptr<SoundBuffer> buffer(new SoundBuffer(this, source->m_samples, source->m_format));
  buffer->m_volume = source->m_volume;
  buffer->m_gain = source->m_gain;
  SoundBuffer* result = buffer.get();
  m_buffers.push_back(std::move(buffer));
  return result;
}

void Mixer::ReleaseBuffer(SoundBuffer* buffer) {
  if (!buffer) return;
  std::unique_ptr<SoundBuffer> gone;
  {
    std::lock_guard<std::mutex> lock(m_voiceLock);
    auto it = std::find_if(m_buffers.begin(), m_buffers.end(),
                           [buffer](const std::unique_ptr<SoundBuffer>& b) { return b.get() == buffer; });
    if (it == m_buffers.end()) return;
    gone = std::move(*it);
    m_buffers.erase(it);
  }
}

uint32_t Mixer::AddStream(int32_t rate, int32_t channels, MIXERPULLPROC pull, void* user) {
  if (!RateAndChannelsOk(rate, channels) || !pull) return 0;
  auto stream = std::make_unique<Stream>();
  stream->channels = channels;
  stream->pull = pull;
  stream->user = user;
  stream->step = StepFor(rate);
  // A block needs at most this many source frames, counting the one frame
  // looked ahead and the whole frames a fast stream skipped last time.
  const size_t most = static_cast<size_t>(((kBlock + 2) * stream->step) >> 32) + 8;
  stream->buf.resize(most * static_cast<size_t>(channels));
  std::lock_guard<std::mutex> lock(m_streamLock);
  stream->id = m_nextStreamId++;
  if (m_nextStreamId == 0) m_nextStreamId = 1;
  uint32_t id = stream->id;
  m_streams.push_back(std::move(stream));
  return id;
}

void Mixer::RemoveStream(uint32_t id) {
  std::unique_ptr<Stream> gone;
  std::lock_guard<std::mutex> lock(m_streamLock);
  auto it = std::find_if(m_streams.begin(), m_streams.end(),
                         [id](const std::unique_ptr<Stream>& s) { return s->id == id; });
  if (it == m_streams.end()) return;
  gone = std::move(*it);
  m_streams.erase(it);
}

MIXERHOST Mixer::Host() {
  MIXERHOST host;
  host.dwVersion = MIXERHOST_VERSION;
  host.lpHost = this;
  host.AddStream = HostAddStream;
  host.RemoveStream = HostRemoveStream;
  return host;
}

void Mixer::MixStream(Stream& s, float* acc, size_t frames) {
  const size_t ch = static_cast<size_t>(s.channels);
  // Frames idx and idx + 1 of every output frame must be held.
  const uint64_t lastPos = s.pos + s.step * (frames - 1);
  const size_t need = static_cast<size_t>(lastPos >> 32) + 2;
  if (need * ch > s.buf.size()) s.buf.resize(need * ch);
  if (need > s.have) {
    const size_t want = need - s.have;
    float* dst = s.buf.data() + s.have * ch;
    size_t got = s.pull(s.user, dst, want, s.pulled);
    if (got > want) got = want;
    std::fill(dst + got * ch, dst + want * ch, 0.0f);
    s.pulled += want;
    s.have = need;
  }
  const float* b = s.buf.data();
  uint64_t pos = s.pos;
  for (size_t k = 0; k < frames; ++k) {
    const size_t idx = static_cast<size_t>(pos >> 32);
    const float t = Fraction(pos);
    if (ch == 2) {
      acc[2 * k] += Lerp(b[2 * idx], b[2 * idx + 2], t);
      acc[2 * k + 1] += Lerp(b[2 * idx + 1], b[2 * idx + 3], t);
    } else {
      const float v = Lerp(b[idx], b[idx + 1], t);
      acc[2 * k] += v;
      acc[2 * k + 1] += v;
    }
    pos += s.step;
  }
  // Drop the frames behind the position; a fast stream may have stepped past
  // what it holds, and then those frames come with the next pull.
  const size_t drop = std::min(static_cast<size_t>(pos >> 32), s.have);
  if (drop > 0) {
    std::memmove(s.buf.data(), s.buf.data() + drop * ch, (s.have - drop) * ch * sizeof(float));
    s.have -= drop;
    pos -= static_cast<uint64_t>(drop) << 32;
  }
  s.pos = pos;
}

void Mixer::Render(float* out, size_t frames) {
  std::lock_guard<std::mutex> render(m_renderLock);
  while (frames > 0) {
    const size_t n = std::min(frames, kBlock);
    float* acc = m_acc.data();
    std::fill(acc, acc + 2 * n, 0.0f);
    {
      std::lock_guard<std::mutex> lock(m_voiceLock);
      for (auto& b : m_buffers)
        if (b->m_playing) b->MixInto(acc, n);
    }
    {
      std::lock_guard<std::mutex> lock(m_streamLock);
      for (auto& s : m_streams) MixStream(*s, acc, n);
    }
    for (size_t i = 0; i < 2 * n; ++i) {
      float v = acc[i];
      if (std::isnan(v)) v = 0.0f;
      out[i] = std::clamp(v, -1.0f, 1.0f);
    }
    out += 2 * n;
    frames -= n;
    m_rendered.fetch_add(n, std::memory_order_relaxed);
  }
}

}  // namespace plat
