// Sound-effect WAV files: which load, and which line a refused one leaves.
#include "media/wave_file.h"

#include <gtest/gtest.h>

#include "base/report_log.h"
#include "media/sound_effect.h"
#include "media/wave_bytes.h"
#include "platform/mixer.h"
#include "support/test_support.h"

using namespace wavebytes;
using testsupport::ScopedWorkDir;
using testsupport::Sjis;

namespace {

enum Outcome { kLoaded, kReadFailed, kCreateFailed };

struct Case {
  const char* what;
  std::string bytes;
  Outcome outcome;
};

const std::string kData8 = Chunk("data", std::string("\x80\xFF\x00\x40", 4));

std::vector<Case> Cases() {
  return {
      {"8-bit mono", Riff(Pcm(1, 22050, 8) + kData8), kLoaded},
      {"16-bit stereo", Riff(Pcm(2, 44100, 16) + Chunk("data", std::string(8, '\x01'))), kLoaded},
      {"fmt of 18", Riff(Pcm(1, 22050, 8, 18) + kData8), kLoaded},
      {"fmt of 40", Riff(Pcm(1, 22050, 8, 40) + kData8), kLoaded},
      {"odd LIST before data", Riff(Pcm(1, 22050, 8) + Chunk("LIST", "INFOx") + kData8), kLoaded},
      {"chunk before fmt", Riff(Chunk("fact", "abcd") + Pcm(1, 22050, 8) + kData8), kLoaded},
      {"RIFF size beyond the file", Riff(Pcm(1, 22050, 8) + kData8, 1000), kLoaded},
      {"tag 2", Riff(Chunk("fmt ", FmtBody(2, 1, 22050, 4, 256, 20)) + kData8), kReadFailed},
      {"no fmt", Riff(kData8), kReadFailed},
      {"no data", Riff(Pcm(1, 22050, 8)), kReadFailed},
      {"data first", Riff(kData8 + Pcm(1, 22050, 8)), kReadFailed},
      {"data past the end", Riff(Pcm(1, 22050, 8) + "data" + U32(100) + "ab"), kReadFailed},
      {"data outside the RIFF size", Riff(Pcm(1, 22050, 8) + kData8, -static_cast<int64_t>(kData8.size())),
       kReadFailed},
      {"skipped chunk past the end", Riff(Pcm(1, 22050, 8) + "LIST" + U32(100) + "ab"), kReadFailed},
      {"fmt of 14", Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 8, 1, 14)) + kData8), kReadFailed},
      {"zero channels", Riff(Chunk("fmt ", FmtBody(1, 0, 22050, 8, 1)) + kData8), kReadFailed},
      {"zero rate", Riff(Chunk("fmt ", FmtBody(1, 1, 0, 8, 1)) + kData8), kReadFailed},
      {"zero alignment", Riff(Chunk("fmt ", FmtBody(1, 1, 22050, 8, 0)) + kData8), kReadFailed},
      {"alignment not channels x bytes", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 8, 4)) + kData8), kReadFailed},
      {"not RIFF", "RIFX" + Riff(Pcm(1, 22050, 8) + kData8).substr(4), kReadFailed},
      {"not WAVE", Riff(Pcm(1, 22050, 8) + kData8).replace(8, 4, "AVI "), kReadFailed},
      {"shorter than a head", "RIFF", kReadFailed},
      {"24 bits", Riff(Pcm(1, 22050, 24) + Chunk("data", std::string(6, '\0'))), kCreateFailed},
      {"three channels", Riff(Pcm(3, 22050, 8) + Chunk("data", std::string(6, '\0'))), kCreateFailed},
      {"rate 99", Riff(Pcm(1, 99, 8) + kData8), kCreateFailed},
      {"rate 200001", Riff(Pcm(1, 200001, 8) + kData8), kCreateFailed},
      {"empty data", Riff(Pcm(1, 22050, 8) + Chunk("data", "")), kCreateFailed},
      {"no whole frame", Riff(Pcm(2, 22050, 16) + Chunk("data", "abc")), kCreateFailed},
  };
}

class WaveFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_dir.WriteFile("EC_Game.txt", "");
    DebugLogInit(1, "EC_Game.txt");
  }
  void TearDown() override { DebugLogInit(0, "EC_Game.txt"); }
  std::string TakeDebugLog() {
    std::string text = m_dir.ReadFile("EC_Game.txt");
    m_dir.WriteFile("EC_Game.txt", "");
    return text;
  }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(WaveFiles, LoadOrSayWhyNot) {
  const std::string readFailed = Sjis("読み込み失敗！");
  const std::string createFailed = Sjis("生成失敗！");
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    m_dir.WriteFile("wave/se.wav", c.bytes);
    plat::SoundBuffer* buffer = nullptr;
    const bool loaded = DS_CreateBuffer(&buffer, "wave\\se.wav");
    EXPECT_EQ(loaded, c.outcome == kLoaded);
    EXPECT_EQ(loaded, buffer != nullptr);
    std::string line = c.outcome == kReadFailed ? "wave\\se.wav" + readFailed + "\r\n"
                       : c.outcome == kCreateFailed ? "wave\\se.wav" + createFailed + "\r\n"
                                                    : "";
    EXPECT_EQ(TakeDebugLog(), line);
    plat::MainMixer.ReleaseBuffer(buffer);
  }
  // A refused named file is also worth a line in the report log.
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("wave\\se.wav" + readFailed), std::string::npos);
}

TEST_F(WaveFiles, MissingFileCannotBeRead) {
  plat::SoundBuffer* buffer = nullptr;
  EXPECT_FALSE(DS_CreateBuffer(&buffer, "wave\\none.wav"));
  EXPECT_EQ(TakeDebugLog(), "wave\\none.wav" + Sjis("読み込み失敗！") + "\r\n");
}

TEST(WaveParse, KeepsTheFormatAndTheDataAsWritten) {
  struct Expect {
    const char* what;
    std::string bytes;
    WAVEFORMATDATA wfx;
    std::string data;
  } cases[] = {
      {"8-bit mono", Riff(Pcm(1, 22050, 8) + Chunk("LIST", "odd") + kData8), {1, 1, 22050, 22050, 1, 8, 0},
       std::string("\x80\xFF\x00\x40", 4)},
      {"16-bit stereo, fmt of 18",
       Riff(Chunk("fmt ", FmtBody(1, 2, 44100, 16, 4, 18)) + Chunk("data", "abcdefgh")),
       {1, 2, 44100, 176400, 4, 16, 0}, "abcdefgh"},
      {"fmt of 40: cbSize read, the rest not",
       Riff(Chunk("fmt ", FmtBody(1, 1, 8000, 16, 2, 40)) + Chunk("data", "xy")), {1, 1, 8000, 16000, 2, 16, 22}, "xy"},
  };
  for (const Expect& c : cases) {
    SCOPED_TRACE(c.what);
    WAVEDATA wave;
    ASSERT_TRUE(DS_ParseWave(c.bytes.data(), c.bytes.size(), &wave));
    EXPECT_EQ(wave.wfx.wFormatTag, c.wfx.wFormatTag);
    EXPECT_EQ(wave.wfx.nChannels, c.wfx.nChannels);
    EXPECT_EQ(wave.wfx.nSamplesPerSec, c.wfx.nSamplesPerSec);
    EXPECT_EQ(wave.wfx.nAvgBytesPerSec, c.wfx.nAvgBytesPerSec);
    EXPECT_EQ(wave.wfx.nBlockAlign, c.wfx.nBlockAlign);
    EXPECT_EQ(wave.wfx.wBitsPerSample, c.wfx.wBitsPerSample);
    EXPECT_EQ(wave.wfx.cbSize, c.wfx.cbSize);
    EXPECT_EQ(std::string(wave.vData.begin(), wave.vData.end()), c.data);
    DS_FreeWave(&wave);
    EXPECT_TRUE(wave.vData.empty());
  }
}
