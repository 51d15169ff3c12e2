// The OGG plug-in (libvox.so) through its two entry points, playing into a
// mixer of the test's own that is pulled by hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "platform/shared_library.h"
#include "platform/vox/vox_api.h"
#include "support/ogg_writer.h"
#include "support/test_support.h"

using testsupport::EncodeOgg;
using testsupport::SineFrames;

namespace {

class VoxPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_lib.Open(VOX_LIBRARY_FILE)) << m_lib.Error();
    m_create = reinterpret_cast<VOXCREATEPROC>(m_lib.Symbol(VOX_CREATE_NAME));
    m_attach = reinterpret_cast<VOXATTACHHOSTPROC>(m_lib.Symbol(VOX_ATTACH_HOST_NAME));
    ASSERT_NE(m_create, nullptr);
    ASSERT_NE(m_attach, nullptr);
    const MIXERHOST host = m_mixer.Host();
    ASSERT_EQ(m_attach(&host), 1);
  }
  void TearDown() override {
    for (cVoxObject* o : m_objects) o->Destroy();
    if (m_attach) m_attach(nullptr);
  }

  cVoxObject* Make() {
    cVoxObject* o = m_create();
    if (o) m_objects.push_back(o);
    return o;
  }
  // An object holding a tone file written as `name`.
  cVoxObject* Tone(const std::string& name, int rate, int channels, size_t frames, int loops) {
    m_dir.WriteFile(name, EncodeOgg(SineFrames(441, 0.5, rate, channels, frames), rate, channels));
    cVoxObject* o = Make();
    EXPECT_EQ(o->Load((m_dir.Path() + "/" + name).c_str()), 1);
    o->SetLoopCount(loops);
    return o;
  }
  // Interleaved stereo, rendered in the device's blocks.
  std::vector<float> Render(size_t frames) {
    std::vector<float> out(2 * frames);
    for (size_t done = 0; done < frames; done += 1024)
      m_mixer.Render(out.data() + 2 * done, std::min<size_t>(1024, frames - done));
    return out;
  }

  testsupport::ScopedWorkDir m_dir;
  plat::Mixer m_mixer;
  plat::SharedLibrary m_lib;
  VOXCREATEPROC m_create = nullptr;
  VOXATTACHHOSTPROC m_attach = nullptr;
  std::vector<cVoxObject*> m_objects;
};

// Frames up to and including the last one with any sound.
size_t SoundingFrames(const std::vector<float>& mix) {
  for (size_t i = mix.size(); i > 0; --i)
    if (mix[i - 1] != 0.0f) return (i + 1) / 2;
  return 0;
}

// A gap is two frames in a row of exact silence; decoded sound is never that.
size_t FirstGap(const std::vector<float>& mix, size_t frames) {
  for (size_t k = 1; k < frames; ++k)
    if (mix[2 * k] == 0 && mix[2 * k + 1] == 0 && mix[2 * k - 2] == 0 && mix[2 * k - 1] == 0) return k;
  return frames;
}

bool Silent(const std::vector<float>& mix) {
  for (float v : mix)
    if (v != 0.0f) return false;
  return true;
}

}  // namespace

TEST_F(VoxPlugin, DecodedLengthIsTheEncodedLengthAtTheMixRate) {
  struct Case {
    int rate, channels;
    size_t frames, mixFrames;
  };
  for (const Case& c : {Case{44100, 2, 20000, 20000}, Case{44100, 1, 12345, 12345}, Case{22050, 1, 10001, 20002},
                        Case{22050, 2, 4321, 8642}}) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " ch");
    cVoxObject* o = Tone("len.ogg", c.rate, c.channels, c.frames, 0);
    ASSERT_EQ(o->Play(), 1);
    const std::vector<float> mix = Render(c.mixFrames + 5000);
    EXPECT_EQ(SoundingFrames(mix), c.mixFrames);
    EXPECT_EQ(FirstGap(mix, c.mixFrames), c.mixFrames);
    o->Stop();
  }
}

TEST_F(VoxPlugin, ALoopCountPlaysTheFileThatManyTimesMoreThenFallsSilent) {
  const size_t n = 5000;
  for (int loops : {0, 1, 3}) {
    SCOPED_TRACE(loops);
    cVoxObject* o = Tone("loop.ogg", 44100, 1, n, loops);
    ASSERT_EQ(o->Play(), 1);
    const std::vector<float> mix = Render(6 * n);
    EXPECT_EQ(SoundingFrames(mix), (loops + 1) * n);
    EXPECT_EQ(FirstGap(mix, (loops + 1) * n), (loops + 1) * n);
    o->Stop();
  }
}

TEST_F(VoxPlugin, TheEndlessLoopRepeatsTheFileFrameForFrame) {
  // 22050 Hz stereo: every pass is resampled across the wrap as well.
  const size_t n = 3001, pass = 2 * n;
  cVoxObject* o = Tone("endless.ogg", 22050, 2, n, VOX_LOOP_ENDLESS);
  ASSERT_EQ(o->Play(), 1);
  const std::vector<float> mix = Render(5 * pass);
  EXPECT_EQ(FirstGap(mix, 5 * pass), 5 * pass);
  for (size_t k = 1; k < 5; ++k) {
    size_t differ = 0;
    for (size_t i = 0; i < 2 * pass; ++i) differ += mix[2 * k * pass + i] != mix[i] ? 1 : 0;
    EXPECT_EQ(differ, 0u) << "pass " << k;
  }
}

TEST_F(VoxPlugin, StopSilencesAtOnceAndPlayGoesOnFromThere) {
  cVoxObject* o = Tone("stop.ogg", 44100, 1, 20000, 0);
  ASSERT_EQ(o->Play(), 1);
  const std::vector<float> before = Render(1000);
  EXPECT_EQ(o->Stop(), 1);
  EXPECT_TRUE(Silent(Render(1000)));
  ASSERT_EQ(o->Play(), 1);
  EXPECT_EQ(o->Play(), 1);  // playing already: still one stream
  // The frame the mixer held for its next step went with the stream.
  const std::vector<float> after = Render(19000 + 1000);
  EXPECT_NEAR(static_cast<double>(SoundingFrames(after)), 19000.0, 1.0);
  // Reset forgets the file: nothing to play until the next load.
  EXPECT_EQ(o->Reset(), 1);
  EXPECT_EQ(o->Play(), 0);
  EXPECT_TRUE(Silent(Render(1000)));
}

TEST_F(VoxPlugin, LoadRefusesWhatItCannotPlayAndThenPlaysNothing) {
  const std::string good = EncodeOgg(SineFrames(441, 0.5, 22050, 1, 5000), 22050, 1);
  const std::string three = EncodeOgg(SineFrames(441, 0.5, 22050, 3, 5000), 22050, 3);
  ASSERT_FALSE(three.empty());
  m_dir.WriteFile("empty.ogg", "");
  m_dir.WriteFile("text.ogg", "OggS is not enough to make a file");
  m_dir.WriteFile("three.ogg", three);
  m_dir.WriteFile("headers_cut.ogg", good.substr(0, 200));
  m_dir.WriteFile("huge.ogg", good);
  // Over 256 MiB without writing them: a sparse file.
  ASSERT_EQ(truncate((m_dir.Path() + "/huge.ogg").c_str(), (256ll << 20) + 1), 0);
  for (const char* name : {"missing.ogg", "empty.ogg", "text.ogg", "three.ogg", "headers_cut.ogg", "huge.ogg"}) {
    SCOPED_TRACE(name);
    cVoxObject* o = Make();
    EXPECT_EQ(o->Load((m_dir.Path() + "/" + name).c_str()), 0);
    o->SetLoopCount(VOX_LOOP_ENDLESS);
    EXPECT_EQ(o->Play(), 0);
    EXPECT_TRUE(Silent(Render(2048)));
  }
  cVoxObject* o = Make();
  EXPECT_EQ(o->Load(nullptr), 0);
  EXPECT_EQ(o->Load(""), 0);
}

TEST_F(VoxPlugin, AFileCutInItsSoundPlaysWhatItHoldsAndLoopsIt) {
  // Ten seconds, so that the sound spans many pages after the headers.
  const size_t n = 441000;
  const std::string good = EncodeOgg(SineFrames(441, 0.5, 44100, 1, n), 44100, 1);
  m_dir.WriteFile("cut.ogg", good.substr(0, good.size() / 2));
  cVoxObject* o = Make();
  ASSERT_EQ(o->Load((m_dir.Path() + "/cut.ogg").c_str()), 1);
  o->SetLoopCount(1);
  ASSERT_EQ(o->Play(), 1);
  const std::vector<float> mix = Render(2 * n);
  const size_t sounding = SoundingFrames(mix);
  EXPECT_GT(sounding, 2 * n / 5);
  EXPECT_LT(sounding, 2 * n * 3 / 5);
  EXPECT_EQ(FirstGap(mix, sounding), sounding);
}

TEST_F(VoxPlugin, OperationsSitInTheirSlotsAndTheFreeOnesReturnZero) {
  // The table as a host built apart calls it: slot k of the object's table.
  m_dir.WriteFile("slot.ogg", EncodeOgg(SineFrames(441, 0.5, 44100, 1, 4000), 44100, 1));
  cVoxObject* o = Make();
  using Op = int32_t (*)(cVoxObject*);
  using LoadOp = int32_t (*)(cVoxObject*, const char*);
  using CountOp = int32_t (*)(cVoxObject*, int32_t);
  void** table = *reinterpret_cast<void***>(o);
  const std::string path = m_dir.Path() + "/slot.ogg";
  EXPECT_EQ(reinterpret_cast<LoadOp>(table[0])(o, path.c_str()), 1);
  EXPECT_EQ(reinterpret_cast<CountOp>(table[4])(o, 0), 1);
  EXPECT_EQ(reinterpret_cast<Op>(table[1])(o), 1);
  EXPECT_EQ(SoundingFrames(Render(5000)), 4000u);
  EXPECT_EQ(reinterpret_cast<Op>(table[2])(o), 1);
  EXPECT_EQ(reinterpret_cast<Op>(table[3])(o), 1);
  for (int slot = 5; slot <= 8; ++slot) EXPECT_EQ(reinterpret_cast<Op>(table[slot])(o), 0) << slot;
  EXPECT_EQ(reinterpret_cast<Op>(table[1])(o), 0);  // reset: no file
}

TEST_F(VoxPlugin, PlaysOnlyIntoAHostItUnderstands) {
  cVoxObject* o = Tone("host.ogg", 44100, 1, 4000, 0);
  MIXERHOST other = m_mixer.Host();
  other.dwVersion = MIXERHOST_VERSION + 1;
  EXPECT_EQ(m_attach(&other), 0);
  ASSERT_EQ(o->Play(), 1);  // the host it had stays
  EXPECT_EQ(SoundingFrames(Render(5000)), 4000u);
  o->Stop();
  EXPECT_EQ(m_attach(nullptr), 1);
  EXPECT_EQ(o->Play(), 0);
  EXPECT_TRUE(Silent(Render(1000)));
}
