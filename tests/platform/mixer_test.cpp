// The mixer pulled by hand, frame by frame on tiny buffers.
#include "platform/mixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using plat::Mixer;
using plat::PcmFormat;
using plat::SoundBuffer;

namespace {

PcmFormat Pcm(int rate, int channels, int bits) {
  PcmFormat f;
  f.rate = rate;
  f.channels = channels;
  f.bits = bits;
  return f;
}

std::vector<uint8_t> Le16(std::initializer_list<int> values) {
  std::vector<uint8_t> b;
  for (int v : values) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return b;
}

SoundBuffer* Make(Mixer& m, const PcmFormat& f, const std::vector<uint8_t>& bytes) {
  return m.CreateBuffer(f, bytes.data(), bytes.size());
}

// Renders n frames; returns them interleaved.
std::vector<float> Pull(Mixer& m, size_t frames) {
  std::vector<float> out(frames * 2, 123.0f);
  m.Render(out.data(), frames);
  return out;
}

std::vector<float> Left(const std::vector<float>& v) {
  std::vector<float> l;
  for (size_t i = 0; i < v.size(); i += 2) l.push_back(v[i]);
  return l;
}

}  // namespace

TEST(Mixer, SampleValuesOfBothWidthsReachBothSidesExactly) {
  struct Case {
    const char* what;
    PcmFormat format;
    std::vector<uint8_t> bytes;
    std::vector<float> left, right;
  } cases[] = {
      {"8-bit mono", Pcm(44100, 1, 8), {0, 64, 128, 192, 255},
       {-1.0f, -0.5f, 0.0f, 0.5f, 127.0f / 128}, {-1.0f, -0.5f, 0.0f, 0.5f, 127.0f / 128}},
      {"16-bit mono", Pcm(44100, 1, 16), Le16({-32768, -16384, 0, 16384, 32767}),
       {-1.0f, -0.5f, 0.0f, 0.5f, 32767.0f / 32768}, {-1.0f, -0.5f, 0.0f, 0.5f, 32767.0f / 32768}},
      {"16-bit stereo", Pcm(44100, 2, 16), Le16({16384, -8192, 0, 32767}),
       {0.5f, 0.0f}, {-0.25f, 32767.0f / 32768}},
      {"8-bit stereo", Pcm(44100, 2, 8), {255, 0, 128, 160}, {127.0f / 128, 0.0f}, {-1.0f, 0.25f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Mixer m;
    SoundBuffer* b = Make(m, c.format, c.bytes);
    ASSERT_NE(b, nullptr);
    b->Play(false);
    std::vector<float> out = Pull(m, c.left.size() + 2);
    for (size_t k = 0; k < c.left.size(); ++k) {
      EXPECT_EQ(out[2 * k], c.left[k]) << "frame " << k;
      EXPECT_EQ(out[2 * k + 1], c.right[k]) << "frame " << k;
    }
    // Then the end of the data: silence and stopped, rewound.
    EXPECT_EQ(out[2 * c.left.size()], 0.0f);
    EXPECT_FALSE(b->IsPlaying());
    EXPECT_EQ(b->GetPosition(), 0u);
  }
}

TEST(Mixer, HalfRateIsInterpolatedAndEndsTowardSilence) {
  Mixer m;
  SoundBuffer* b = Make(m, Pcm(22050, 1, 8), {192, 64, 160});  // 0.5, -0.5, 0.25
  b->Play(false);
  EXPECT_EQ(Left(Pull(m, 8)), (std::vector<float>{0.5f, 0.0f, -0.5f, -0.125f, 0.25f, 0.125f, 0.0f, 0.0f}));
  EXPECT_FALSE(b->IsPlaying());
}

TEST(Mixer, LoopingWrapsAndInterpolatesIntoTheFirstFrame) {
  Mixer m;
  SoundBuffer* full = Make(m, Pcm(44100, 1, 8), {192, 64, 160});
  full->Play(true);
  EXPECT_EQ(Left(Pull(m, 7)), (std::vector<float>{0.5f, -0.5f, 0.25f, 0.5f, -0.5f, 0.25f, 0.5f}));
  EXPECT_TRUE(full->IsPlaying());
  m.ReleaseBuffer(full);

  SoundBuffer* half = Make(m, Pcm(22050, 1, 8), {192, 64});
  half->Play(true);
  EXPECT_EQ(Left(Pull(m, 6)), (std::vector<float>{0.5f, 0.0f, -0.5f, 0.0f, 0.5f, 0.0f}));
}

TEST(Mixer, VolumeIsTenToTheVolumeOver2000) {
  struct Case {
    int32_t volume, kept;
    float gain;
  } cases[] = {
      {0, 0, 1.0f},
      {-600, -600, static_cast<float>(std::pow(10.0, -0.3))},
      {-10000, -10000, 0.0f},
      {-20000, -10000, 0.0f},  // kept within the range
      {300, 0, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.volume);
    Mixer m;
    SoundBuffer* b = Make(m, Pcm(44100, 1, 16), Le16({16384, -16384}));
    b->SetVolume(c.volume);
    EXPECT_EQ(b->GetVolume(), c.kept);
    b->Play(false);
    std::vector<float> out = Pull(m, 2);
    EXPECT_EQ(out[0], 0.5f * c.gain);
    EXPECT_EQ(out[1], 0.5f * c.gain);
    EXPECT_EQ(out[2], -0.5f * c.gain);
  }
  EXPECT_NEAR(plat::VolumeGain(-600), 0.501187f, 1e-6f);
}

TEST(Mixer, SilentVoiceStillAdvancesAndEnds) {
  Mixer m;
  SoundBuffer* b = Make(m, Pcm(22050, 1, 8), std::vector<uint8_t>(100, 255));
  b->SetVolume(-10000);
  b->Play(false);
  EXPECT_EQ(Left(Pull(m, 10)), std::vector<float>(10, 0.0f));
  EXPECT_EQ(b->GetPosition(), 5u);
  Pull(m, 200);
  EXPECT_FALSE(b->IsPlaying());
  EXPECT_EQ(b->GetPosition(), 0u);
}

TEST(Mixer, VoicesAreSummedThenClamped) {
  struct Case {
    int a, b;
    float sum;
  } cases[] = {{24576, 24576, 1.0f}, {-24576, -24576, -1.0f}, {16384, -8192, 0.25f}, {0, 0, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " + " << c.b);
    Mixer m;
    Make(m, Pcm(44100, 1, 16), Le16({c.a}))->Play(false);
    Make(m, Pcm(44100, 2, 16), Le16({c.b, c.b}))->Play(false);
    std::vector<float> out = Pull(m, 1);
    EXPECT_EQ(out[0], c.sum);
    EXPECT_EQ(out[1], c.sum);
  }
}

TEST(Mixer, PositionCountsBytesAndStopKeepsIt) {
  Mixer m;
  SoundBuffer* mono8 = Make(m, Pcm(22050, 1, 8), std::vector<uint8_t>(100, 200));
  SoundBuffer* stereo16 = Make(m, Pcm(44100, 2, 16), std::vector<uint8_t>(400, 1));
  mono8->Play(false);
  stereo16->Play(false);
  Pull(m, 10);
  EXPECT_EQ(mono8->GetPosition(), 5u);       // 5 frames of 1 byte
  EXPECT_EQ(stereo16->GetPosition(), 40u);   // 10 frames of 4 bytes

  mono8->Stop();
  stereo16->Stop();
  EXPECT_EQ(Pull(m, 4), std::vector<float>(8, 0.0f));
  EXPECT_EQ(mono8->GetPosition(), 5u);
  mono8->Play(false);
  Pull(m, 2);
  EXPECT_EQ(mono8->GetPosition(), 6u);

  EXPECT_TRUE(stereo16->SetPosition(7));  // down to the frame's start
  EXPECT_EQ(stereo16->GetPosition(), 4u);
  EXPECT_FALSE(stereo16->SetPosition(400));
  EXPECT_EQ(stereo16->GetPosition(), 4u);
  EXPECT_EQ(stereo16->Size(), 400u);
}

TEST(Mixer, DuplicatesShareDataButPlayOnTheirOwn) {
  Mixer m;
  SoundBuffer* first = Make(m, Pcm(44100, 1, 8), {192, 64, 160, 128});
  first->SetVolume(-600);
  SoundBuffer* copy = m.DuplicateBuffer(first);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->GetVolume(), -600);
  EXPECT_FALSE(copy->IsPlaying());
  copy->SetVolume(0);
  EXPECT_EQ(first->GetVolume(), -600);

  copy->Play(false);
  Pull(m, 1);
  first->Play(false);
  // The first is one frame behind its copy.
  const float g = plat::VolumeGain(-600);
  std::vector<float> out = Left(Pull(m, 2));
  EXPECT_EQ(out[0], -0.5f + 0.5f * g);
  EXPECT_EQ(out[1], 0.25f + -0.5f * g);

  // The data outlives the buffer it was made for.
  m.ReleaseBuffer(first);
  copy->SetPosition(0);
  EXPECT_EQ(Left(Pull(m, 1))[0], 0.5f);
  EXPECT_EQ(m.DuplicateBuffer(nullptr), nullptr);
}

TEST(Mixer, RefusesLayoutsItCannotPlay) {
  struct Case {
    const char* what;
    PcmFormat format;
    size_t bytes;
  } cases[] = {
      {"24 bits", Pcm(22050, 1, 24), 6},
      {"no channels", Pcm(22050, 0, 8), 6},
      {"three channels", Pcm(22050, 3, 8), 6},
      {"rate 99", Pcm(99, 1, 8), 6},
      {"rate 200001", Pcm(200001, 1, 8), 6},
      {"no whole frame", Pcm(22050, 2, 16), 3},
      {"empty", Pcm(22050, 1, 8), 0},
  };
  Mixer m;
  std::vector<uint8_t> data(8, 0);
  for (const Case& c : cases) EXPECT_EQ(m.CreateBuffer(c.format, data.data(), c.bytes), nullptr) << c.what;
  EXPECT_NE(m.CreateBuffer(Pcm(100, 1, 8), data.data(), 1), nullptr);
  EXPECT_NE(m.CreateBuffer(Pcm(200000, 1, 8), data.data(), 1), nullptr);
  SoundBuffer* partFrame = m.CreateBuffer(Pcm(22050, 2, 16), data.data(), 7);
  ASSERT_NE(partFrame, nullptr);
  EXPECT_EQ(partFrame->Size(), 4u);
}

namespace {

// A stream whose frame f holds value(f) on every channel, with a record of
// what was asked of it.
struct Ramp {
  int channels = 1;
  float scale = 1.0f / 1024;
  std::vector<std::pair<uint64_t, size_t>> pulls;
  size_t shortBy = 0;  // frames left out of each answer
  static size_t Pull(void* user, float* out, size_t frames, uint64_t position) {
    auto* self = static_cast<Ramp*>(user);
    self->pulls.emplace_back(position, frames);
    const size_t give = frames > self->shortBy ? frames - self->shortBy : 0;
    for (size_t k = 0; k < give; ++k)
      for (int c = 0; c < self->channels; ++c)
        out[k * self->channels + c] = static_cast<float>((position + k) % 1024) * self->scale * (c ? -1.0f : 1.0f);
    return give;
  }
};

}  // namespace

TEST(MixerStreams, AreResampledAndPulledWithoutGaps) {
  Mixer m;
  Ramp same, half;
  same.channels = 2;
  half.scale = 1.0f / 256;
  uint32_t a = m.AddStream(44100, 2, Ramp::Pull, &same);
  ASSERT_NE(a, 0u);
  std::vector<float> out = Pull(m, 4);
  // At the mix rate, output frame k is the stream's frame k.
  EXPECT_EQ(out, (std::vector<float>{0.0f, -0.0f, 1.0f / 1024, -1.0f / 1024, 2.0f / 1024, -2.0f / 1024,
                                     3.0f / 1024, -3.0f / 1024}));
  m.RemoveStream(a);
  EXPECT_EQ(Pull(m, 2), std::vector<float>(4, 0.0f));

  uint32_t b = m.AddStream(22050, 1, Ramp::Pull, &half);
  EXPECT_EQ(Left(Pull(m, 5)), (std::vector<float>{0.0f, 0.5f / 256, 1.0f / 256, 1.5f / 256, 2.0f / 256}));
  for (size_t cut : {1, 7, 600, 3, 1024}) Pull(m, cut);
  // Each pull starts where the last one ended.
  uint64_t next = 0;
  for (auto [position, frames] : half.pulls) {
    EXPECT_EQ(position, next);
    next = position + frames;
  }
  m.RemoveStream(b);
  m.RemoveStream(b);  // unknown now: ignored
}

TEST(MixerStreams, ShortAnswersAreSilenceAndBadSamplesAreClamped) {
  struct Nan {
    static size_t Pull(void*, float* out, size_t frames, uint64_t) {
      for (size_t k = 0; k < frames; ++k) {
        out[2 * k] = std::nanf("");
        out[2 * k + 1] = 7.0f;
      }
      return frames;
    }
  };
  Mixer m;
  Ramp shortOne;
  shortOne.shortBy = 1000000;
  m.AddStream(44100, 1, Ramp::Pull, &shortOne);
  uint32_t bad = m.AddStream(44100, 2, Nan::Pull, nullptr);
  std::vector<float> out = Pull(m, 3);
  EXPECT_EQ(out, (std::vector<float>{0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f}));
  m.RemoveStream(bad);

  EXPECT_EQ(m.AddStream(99, 1, Ramp::Pull, &shortOne), 0u);
  EXPECT_EQ(m.AddStream(44100, 3, Ramp::Pull, &shortOne), 0u);
  EXPECT_EQ(m.AddStream(44100, 1, nullptr, nullptr), 0u);
}

TEST(MixerStreams, PlugInsReachTheMixerThroughTheHostInterface) {
  Mixer m;
  Ramp ramp;
  MIXERHOST host = m.Host();
  EXPECT_EQ(host.dwVersion, MIXERHOST_VERSION);
  uint32_t id = host.AddStream(host.lpHost, 44100, 1, Ramp::Pull, &ramp);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(host.AddStream(host.lpHost, 0, 1, Ramp::Pull, &ramp), 0u);
  EXPECT_EQ(Left(Pull(m, 3)), (std::vector<float>{0.0f, 1.0f / 1024, 2.0f / 1024}));
  host.RemoveStream(host.lpHost, id);
  EXPECT_EQ(Left(Pull(m, 1)), std::vector<float>{0.0f});
  EXPECT_EQ(m.FramesRendered(), 4u);
}

namespace {

// The same scene in a fresh mixer: voices at several rates, looping or not,
// and streams at other rates.
struct Scene {
  Mixer m;
  Ramp fast, slow;
  Scene() {
    std::vector<uint8_t> saw;
    for (int i = 0; i < 301; ++i) saw.push_back(static_cast<uint8_t>(i * 7));
    std::vector<uint8_t> wave16;
    for (int i = 0; i < 997; ++i) {
      int v = static_cast<int>(std::lround(12000 * std::sin(i * 0.05)));
      wave16.push_back(static_cast<uint8_t>(v & 0xFF));
      wave16.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    Make(m, Pcm(22050, 1, 8), saw)->Play(true);
    SoundBuffer* once = Make(m, Pcm(11025, 2, 16), wave16);
    once->SetVolume(-600);
    once->Play(false);
    Make(m, Pcm(48000, 1, 16), wave16)->Play(true);
    Make(m, Pcm(200000, 1, 8), saw)->Play(true);
    fast.channels = 2;
    m.AddStream(96000, 2, Ramp::Pull, &fast);
    m.AddStream(32000, 1, Ramp::Pull, &slow);
  }
};

}  // namespace

TEST(Mixer, PullInOddPiecesEqualsOneWholePull) {
  const size_t total = 5000;
  Scene whole;
  std::vector<float> one = Pull(whole.m, total);

  Scene pieces;
  std::vector<float> cut(total * 2);
  size_t done = 0;
  const size_t sizes[] = {1, 7, 513, 2, 1000, 3, 511, 512, 1};
  for (size_t i = 0; done < total; ++i) {
    size_t n = std::min(sizes[i % std::size(sizes)], total - done);
    pieces.m.Render(cut.data() + 2 * done, n);
    done += n;
  }
  ASSERT_EQ(std::memcmp(one.data(), cut.data(), one.size() * sizeof(float)), 0);
  float peak = 0;
  for (float v : one) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.5f);  // the scene is not silence
}
