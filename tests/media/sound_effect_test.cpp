// The sound-effect bank over the process mixer, pulled by hand.
#include "media/sound_effect.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <vector>

#include "base/report_log.h"
#include "media/wave_bytes.h"
#include "platform/audio_device.h"
#include "platform/mixer.h"
#include "records/media_records.h"
#include "support/test_support.h"

using namespace wavebytes;
using testsupport::ScopedWorkDir;
using testsupport::Sjis;

namespace {

SEDEF Def(const std::string& file, int copies, int32_t volume) {
  SEDEF d{};
  std::snprintf(d.szFileName, sizeof(d.szFileName), "%s", file.c_str());
  d.nCopies = copies;
  d.nVolume = volume;
  d.nFlags = 1;
  return d;
}

int Playing(const SEDATA& e) {
  int n = 0;
  for (int j = 0; j < e.nCopies; ++j) n += e.lpBuffers[j]->IsPlaying() ? 1 : 0;
  return n;
}

std::vector<float> RenderMix(size_t frames) {
  std::vector<float> out(frames * 2);
  plat::MainMixer.Render(out.data(), frames);
  return out;
}

class SoundBank : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_dir.WriteFile("EC_Game.txt", "");
    DebugLogInit(1, "EC_Game.txt");
    // 1000 frames of 22050 Hz 8-bit mono, and 100 of 44100 Hz 16-bit stereo.
    m_dir.WriteFile("wave/a.wav", Riff(Pcm(1, 22050, 8) + Chunk("data", std::string(1000, '\xC8'))));
    m_dir.WriteFile("wave/b.wav", Riff(Pcm(2, 44100, 16) + Chunk("data", std::string(400, '\x10'))));
    plat::SetAudioTestMode(plat::AudioTestMode::kPulledByHand);
  }
  void TearDown() override {
    DS_Release();
    plat::SetAudioTestMode(plat::AudioTestMode::kOff);
    DebugLogInit(0, "EC_Game.txt");
  }
  void UseDefs(std::vector<SEDEF> defs) {
    m_defs.assign(defs.begin(), defs.end());
    m_bank.assign(defs.size(), SEDATA{});
  }
  ScopedWorkDir m_dir;
  // Outlive TearDown, whose DS_Release frees the bank it was given.
  cVector<SEDATA> m_bank;
  cVector<SEDEF> m_defs;
};

}  // namespace

TEST_F(SoundBank, PlaysItsCopiesInTurnAndCutsTheOldestOnTheFourth) {
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  SEDATA e{};
  ASSERT_TRUE(DS_LoadSound(&e, "wave\\a.wav", 3, 0));
  EXPECT_EQ(e.nCopies, 3);
  EXPECT_STREQ(e.szFileName, "wave\\a.wav");
  for (int i = 0; i < 3; ++i) {
    DS_Play(&e, 0);
    RenderMix(20);  // 10 bytes of each playing copy
  }
  EXPECT_EQ(Playing(e), 3);
  EXPECT_EQ(e.nNext, 0);
  EXPECT_EQ(e.lpBuffers[0]->GetPosition(), 30u);
  EXPECT_EQ(e.lpBuffers[2]->GetPosition(), 10u);
  EXPECT_FLOAT_EQ(RenderMix(1)[0], 1.0f);  // three copies of 0.5625, clamped

  DS_Play(&e, 0);
  EXPECT_EQ(e.lpBuffers[0]->GetPosition(), 0u);
  EXPECT_EQ(e.lpBuffers[1]->GetPosition(), 20u);
  EXPECT_EQ(Playing(e), 3);
  EXPECT_EQ(e.nNext, 1);

  // Played once, a copy ends with its data; looping, it goes on.
  RenderMix(2000);
  EXPECT_EQ(Playing(e), 0);
  DS_Play(&e, DSBPLAY_LOOPING);
  RenderMix(2100);
  EXPECT_TRUE(e.lpBuffers[1]->IsPlaying());
  DS_FreeSound(&e);
  EXPECT_EQ(e.lpBuffers, nullptr);
  EXPECT_EQ(e.nCopies, 0);
  EXPECT_EQ(RenderMix(1)[0], 0.0f);
}

TEST_F(SoundBank, VolumeStepAtLoadOverridesTheDefinitionUnlessFull) {
  struct Case {
    int step;
    int32_t defined, expected;
  } cases[] = {{10, -500, -500}, {10, 0, 0}, {0, -500, -10000}, {0, 0, -10000}, {5, 0, -500}, {5, -300, -500}};
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "step " << c.step << ", defined " << c.defined);
    UseDefs({Def("wave\\a.wav", 2, c.defined), Def("wave\\b.wav", 1, c.defined)});
    EXPECT_EQ(DS_LoadSounds(&m_bank, &m_defs, SeVolumeForStep(c.step)), 1);
    for (SEDATA& e : m_bank) {
      ASSERT_NE(e.lpBuffers, nullptr);
      for (int j = 0; j < e.nCopies; ++j) EXPECT_EQ(DS_GetVolume(&e, j), c.expected);
      DS_FreeSound(&e);
    }
  }
  const int32_t table[] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};
  for (int step = 0; step <= 10; ++step) EXPECT_EQ(SeVolumeForStep(step), table[step]);
  EXPECT_EQ(SeVolumeForStep(-1), -10000);
  EXPECT_EQ(SeVolumeForStep(11), 0);
}

TEST_F(SoundBank, VolumeChangesStayWithinRangeAndOnTheirCopy) {
  struct Case {
    int32_t start, change;
    int relative;
    int32_t result;
  } cases[] = {
      {-9800, -500, 1, -10000}, {-200, 500, 1, 0},          {-3000, -700, 1, -3700},
      {-3000, -700, 0, -700},   {-3000, -700, 2, -700},     {0, 5000, 0, 0},
      {0, -20000, 0, -10000},   {-100, INT32_MIN, 1, -10000}, {-100, INT32_MAX, 1, 0},
  };
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  SEDATA e{};
  ASSERT_TRUE(DS_LoadSound(&e, "wave\\a.wav", 2, 0));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " " << c.change << " relative " << c.relative);
    DS_SetVolume(&e, 0, c.start, 0);
    DS_SetVolume(&e, 1, -1234, 0);
    EXPECT_EQ(DS_SetVolume(&e, 0, c.change, c.relative), c.result);
    EXPECT_EQ(DS_GetVolume(&e, 0), c.result);
    EXPECT_EQ(DS_GetVolume(&e, 1), -1234);
  }
  // Copies the entry does not have: nothing set, 0.
  for (int copy : {-1, 2, 100}) {
    EXPECT_EQ(DS_SetVolume(&e, copy, -500, 0), 0);
    EXPECT_EQ(DS_GetVolume(&e, copy), 0);
  }
  // A next copy outside the entry plays nothing.
  e.nNext = 5;
  DS_Play(&e, 0);
  EXPECT_EQ(Playing(e), 0);
  DS_FreeSound(&e);
}

TEST_F(SoundBank, CursorSoundPlaysPerAxisTheMaskAllows) {
  struct Case {
    uint32_t keys, mask;
    int plays;
  } cases[] = {
      {0, 3, 0},  {1, 1, 1}, {2, 1, 1}, {3, 1, 1},  {4, 1, 0},  {8, 1, 0},  {4, 2, 1},
      {8, 2, 1},  {1, 2, 0}, {5, 3, 2}, {10, 3, 2}, {12, 3, 1}, {15, 0, 0}, {16, 3, 0},
  };
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  UseDefs({Def("wave\\b.wav", 1, 0), Def("wave\\a.wav", 4, 0)});
  DS_LoadSounds(&m_bank, &m_defs, 0);
  SEDATA& e = m_bank[1];
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "keys " << c.keys << " mask " << c.mask);
    for (int j = 0; j < e.nCopies; ++j) e.lpBuffers[j]->Stop();
    DS_PlayCursorSound(c.keys, c.mask, 1);
    EXPECT_EQ(Playing(e), c.plays);
    EXPECT_FALSE(m_bank[0].lpBuffers[0]->IsPlaying());
  }
}

TEST_F(SoundBank, FailedEntryLeavesTheOthersLoaded) {
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  UseDefs({Def("wave\\a.wav", 0, 0), Def("wave\\missing.wav", 1, 0), Def("", 1, 0), Def("wave\\b.wav", -5, 0)});
  EXPECT_EQ(DS_LoadSounds(&m_bank, &m_defs, 0), 1);
  EXPECT_NE(m_bank[0].lpBuffers, nullptr);
  EXPECT_EQ(m_bank[1].lpBuffers, nullptr);
  EXPECT_EQ(m_bank[2].lpBuffers, nullptr);
  EXPECT_NE(m_bank[3].lpBuffers, nullptr);
  // A copy count below 1 counts as 1.
  EXPECT_EQ(m_bank[0].nCopies, 1);
  EXPECT_EQ(m_bank[3].nCopies, 1);
  const std::string failed = Sjis("読み込み失敗！");
  EXPECT_EQ(m_dir.ReadFile("EC_Game.txt"), "wave\\missing.wav" + failed + "\r\n" + failed + "\r\n");
  // The author hears of the named file; an empty slot is no news.
  EXPECT_EQ(m_dir.ReadFile("Report_Game.txt"), "wave\\missing.wav" + failed + "\r\n");

  // Loaded entries stay as they are when the bank is loaded again.
  plat::SoundBuffer* first = m_bank[0].lpBuffers[0];
  DS_LoadSounds(&m_bank, &m_defs, 0);
  EXPECT_EQ(m_bank[0].lpBuffers[0], first);
}

TEST_F(SoundBank, NameOver259BytesFailsItsEntry) {
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  const std::string longName = "wave\\" + std::string(251, 'x') + ".wav";  // 260 bytes
  m_dir.WriteFile("wave/" + std::string(251, 'x') + ".wav", Riff(Pcm(1, 22050, 8) + Chunk("data", "ab")));
  SEDATA e{};
  EXPECT_FALSE(DS_LoadSound(&e, longName.c_str(), 1, 0));
  EXPECT_EQ(e.lpBuffers, nullptr);
  const std::string fits = longName.substr(1);  // 259 bytes
  m_dir.WriteFile(std::string("ave/") + std::string(251, 'x') + ".wav", Riff(Pcm(1, 22050, 8) + Chunk("data", "ab")));
  EXPECT_TRUE(DS_LoadSound(&e, fits.c_str(), 1, 0));
  EXPECT_EQ(std::string(e.szFileName), fits);
  DS_FreeSound(&e);
}

TEST_F(SoundBank, DoesNothingWithoutInitButLoadingSucceeds) {
  UseDefs({Def("wave\\a.wav", 2, 0)});
  EXPECT_EQ(DS_LoadSounds(&m_bank, &m_defs, 0), 1);
  EXPECT_EQ(m_bank[0].lpBuffers, nullptr);
  SEDATA e{};
  EXPECT_TRUE(DS_LoadSound(&e, "wave\\a.wav", 1, 0));
  EXPECT_EQ(e.lpBuffers, nullptr);
  plat::SoundBuffer* copy = nullptr;
  EXPECT_TRUE(DS_Duplicate(&copy, nullptr));
  DS_Play(&e, 0);
  DS_PlayCursorSound(15, 3, 0);
  EXPECT_EQ(DS_SetVolume(&e, 0, -500, 0), 0);
  EXPECT_EQ(DS_GetVolume(&e, 0), 0);
  DS_FreeSound(&e);
  DS_Release();
  EXPECT_EQ(RenderMix(4), std::vector<float>(8, 0.0f));
}

TEST_F(SoundBank, NoOutputAtAllFailsInitAndLeavesTheGameSilent) {
  plat::SetAudioTestMode(plat::AudioTestMode::kNoDevice);
  EXPECT_FALSE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  EXPECT_EQ(m_dir.ReadFile("EC_Game.txt"), "DIRECTSOUNDCREATE_ERR!\r\n");
  UseDefs({Def("wave\\a.wav", 1, 0)});
  EXPECT_EQ(DS_LoadSounds(&m_bank, &m_defs, 0), 1);
  EXPECT_EQ(m_bank[0].lpBuffers, nullptr);
}

TEST_F(SoundBank, WithoutACardItPlaysIntoTheDummyDriverAfterAReportLine) {
  plat::SetAudioTestMode(plat::AudioTestMode::kOff);  // SDL, on the tests' dummy driver
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("DS_Init : no sound device opens"), std::string::npos);
  UseDefs({Def("wave\\a.wav", 2, 0)});
  DS_LoadSounds(&m_bank, &m_defs, 0);
  ASSERT_NE(m_bank[0].lpBuffers, nullptr);
  DS_Play(&m_bank[0], 0);
  DS_Release();
  EXPECT_EQ(m_bank[0].lpBuffers, nullptr);
  // Released, it is as before DS_Init.
  DS_Play(&m_bank[0], 0);
  EXPECT_EQ(DS_LoadSounds(&m_bank, &m_defs, 0), 1);
  EXPECT_EQ(m_bank[0].lpBuffers, nullptr);
}

TEST(SoundDefs, BankHoldsTheSystemSoundsThenSoundDatFromEntry17) {
  cVector<std::string> system;
  for (int i = 0; i < 17; ++i) system.push_back("wave\\sys" + std::to_string(i) + ".wav");
  struct Case {
    int soundDatCount, size;
  } cases[] = {{0, 17}, {1, 17}, {2, 18}, {5, 21}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.soundDatCount);
    cVector<cEdSound> sounds(static_cast<size_t>(c.soundDatCount));
    for (int n = 0; n < c.soundDatCount; ++n) sounds[n].m_strFile = "wave\\u" + std::to_string(n) + ".wav";
    cVector<SEDATA> bank;
    cVector<SEDEF> defs;
    BuildSeDefs(bank, defs, system, sounds);
    ASSERT_EQ(defs.Size(), c.size);
    ASSERT_EQ(bank.Size(), c.size);
    EXPECT_STREQ(defs[0].szFileName, "wave\\sys0.wav");
    EXPECT_STREQ(defs[16].szFileName, "wave\\sys16.wav");
    for (int n = 1; n < c.soundDatCount; ++n)
      EXPECT_EQ(std::string(defs[n + 16].szFileName), "wave\\u" + std::to_string(n) + ".wav");
    for (const SEDEF& d : defs) {
      EXPECT_EQ(d.nCopies, 1);
      EXPECT_EQ(d.nVolume, 0);
      EXPECT_EQ(d.nFlags, 1);
    }
    for (const SEDATA& e : bank) EXPECT_EQ(e.lpBuffers, nullptr);
  }
}

TEST(SoundDefs, NameTooLongForTheDefinitionIsLeftOutWithAReportLine) {
  ScopedWorkDir dir;
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  cVector<std::string> system(17);
  system[3] = std::string(260, 'n');
  cVector<cEdSound> sounds(2);
  sounds[1].m_strFile = std::string(259, 'k');
  cVector<SEDATA> bank;
  cVector<SEDEF> defs;
  BuildSeDefs(bank, defs, system, sounds);
  EXPECT_STREQ(defs[3].szFileName, "");
  EXPECT_EQ(std::string(defs[17].szFileName), std::string(259, 'k'));
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"),
            "Sound 3 : file name longer than 259 bytes: " + std::string(260, 'n') + "\r\n");
}
