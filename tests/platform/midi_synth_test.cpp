// The synthesiser: which SoundFont it takes, silence without one, and a
// short song through FluidSynth written to a WAV file and listened to.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/host_path.h"
#include "platform/messages.h"
#include "platform/midi_out.h"
#include "platform/midi_stream.h"
#include "platform/midi_synth.h"
#include "support/test_support.h"

namespace {

constexpr const char* kSmallSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

bool Exists(const char* path) { return access(path, R_OK) == 0; }

class MidiSynthesiser : public ::testing::Test {
 protected:
  void SetUp() override { plat::SetMidiSynth(nullptr); }
  void TearDown() override {
    plat::SetMidiSynth(nullptr);
    plat::SetSoundFontSearch(plat::DefaultSoundFonts());
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
  }
  testsupport::ScopedWorkDir m_dir;
};

// The energy of one frequency in a stretch of mono samples (Goertzel).
double Energy(const std::vector<float>& mono, size_t from, size_t to, double hz) {
  double k = 2.0 * std::cos(2.0 * M_PI * hz / plat::kMidiRate);
  double s1 = 0.0, s2 = 0.0;
  for (size_t i = from; i < to; ++i) {
    double s0 = mono[i] + k * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return s1 * s1 + s2 * s2 - k * s1 * s2;
}

double Peak(const std::vector<float>& mono, size_t from, size_t to) {
  double peak = 0.0;
  for (size_t i = from; i < to; ++i) peak = std::max(peak, std::fabs(static_cast<double>(mono[i])));
  return peak;
}

void Put16(std::string& out, uint32_t v) { out.append({static_cast<char>(v), static_cast<char>(v >> 8)}); }
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// 16-bit stereo PCM at the synthesiser's rate.
std::string Wav(const std::vector<float>& stereo) {
  std::string data;
  for (float f : stereo) {
    float c = std::max(-1.0f, std::min(1.0f, f));
    Put16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(c * 32767.0f))));
  }
  std::string out = "RIFF";
  Put32(out, static_cast<uint32_t>(36 + data.size()));
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, 2);
  Put32(out, plat::kMidiRate);
  Put32(out, plat::kMidiRate * 4);
  Put16(out, 4);
  Put16(out, 16);
  out += "data";
  Put32(out, static_cast<uint32_t>(data.size()));
  return out + data;
}

// The left and right samples of a WAV written by Wav, averaged.
std::vector<float> MonoFromWav(const std::string& wav) {
  std::vector<float> mono;
  for (size_t i = 44; i + 4 <= wav.size(); i += 4) {
    int16_t l, r;
    std::memcpy(&l, wav.data() + i, 2);
    std::memcpy(&r, wav.data() + i + 2, 2);
    mono.push_back((l + r) / 65536.0f);
  }
  return mono;
}

}  // namespace

TEST_F(MidiSynthesiser, TheEnvironmentsSoundFontComesFirst) {
  const std::vector<std::string> defaults = {"/a.sf2", "/b.sf2"};
  {
    testsupport::ScopedEnv env("GAME_SOUNDFONT", "/mine.sf2");
    EXPECT_EQ(plat::SoundFontCandidates(defaults), (std::vector<std::string>{"/mine.sf2", "/a.sf2", "/b.sf2"}));
  }
  {
    testsupport::ScopedEnv env("GAME_SOUNDFONT", "");
    EXPECT_EQ(plat::SoundFontCandidates(defaults), defaults);
  }
  testsupport::ScopedEnv env("GAME_SOUNDFONT", nullptr);
  EXPECT_EQ(plat::SoundFontCandidates(defaults), defaults);
  EXPECT_EQ(plat::DefaultSoundFonts(),
            (std::vector<std::string>{"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                      "/usr/share/sounds/sf2/TimGM6mb.sf2"}));
}

TEST_F(MidiSynthesiser, WithoutASoundFontOneLineListsThePathsAndTheMusicIsSilent) {
  testsupport::ScopedEnv env("GAME_SOUNDFONT", nullptr);
  m_dir.WriteFile("fake.sf2", "RIFF not a SoundFont");
  std::string fake = m_dir.Path() + "/fake.sf2";
  plat::SetSoundFontSearch({"/nowhere/a.sf2", fake});
  std::string line;
  EXPECT_FALSE(plat::StartMidiSynth(&line));
  EXPECT_EQ(line, "MIDI: no SoundFont loaded (tried /nowhere/a.sf2 " + fake + "); music plays silent");
  line.clear();
  EXPECT_FALSE(plat::StartMidiSynth(&line));  // searched once only
  EXPECT_EQ(line, "");

  std::vector<float> out(2048, 1.0f);
  plat::RenderMidi(out.data(), 1024);
  EXPECT_EQ(Peak(out, 0, out.size()), 0.0);
}

// FluidSynth is opened when the first synthesiser is made; a library that is
// missing, or lacks a function, leaves the music silent with the reason told.
TEST_F(MidiSynthesiser, WithoutTheLibraryTheReportSaysWhyAndTheMusicIsSilent) {
  if (!Exists(kSmallSoundFont)) GTEST_SKIP() << kSmallSoundFont << " is not installed";
  testsupport::ScopedEnv env("GAME_SOUNDFONT", nullptr);
  plat::SetSoundFontSearch({kSmallSoundFont});
  const struct {
    std::vector<std::string> names;
    std::string why;
  } cases[] = {
      {{"libnowhere-synth.so.9", "/nowhere/libsynth.so"},
       "FluidSynth library not found: tried libnowhere-synth.so.9 /nowhere/libsynth.so"},
      {{"libnowhere-synth.so.9", "libm.so.6"}, "FluidSynth library libm.so.6 lacks fluid_set_log_function"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    plat::SetFluidSynthLibraryNames(c.names);
    plat::SetMidiSynth(nullptr);
    std::string line;
    EXPECT_FALSE(plat::StartMidiSynth(&line));
    EXPECT_EQ(line, "MIDI: no SoundFont loaded (" + c.why + "); music plays silent");
    EXPECT_EQ(plat::CreateFluidSynth(kSmallSoundFont, plat::kMidiRate), nullptr);
    std::vector<float> out(2048, 1.0f);
    plat::RenderMidi(out.data(), 1024);
    EXPECT_EQ(Peak(out, 0, out.size()), 0.0);
  }
  // Under its own names again, it opens on the next try.
  plat::SetFluidSynthLibraryNames(plat::DefaultFluidSynthLibraryNames());
  plat::SetMidiSynth(nullptr);
  std::string line;
  EXPECT_TRUE(plat::StartMidiSynth(&line));
  EXPECT_EQ(line, std::string("MIDI: SoundFont ") + kSmallSoundFont);
}

TEST_F(MidiSynthesiser, TheEnvironmentNamesTheSoundFontTaken) {
  if (!Exists(kSmallSoundFont)) GTEST_SKIP() << kSmallSoundFont << " is not installed";
  testsupport::ScopedEnv env("GAME_SOUNDFONT", kSmallSoundFont);
  plat::SetSoundFontSearch({"/nowhere/a.sf2"});
  std::string line;
  EXPECT_TRUE(plat::StartMidiSynth(&line));
  EXPECT_EQ(line, std::string("MIDI: SoundFont ") + kSmallSoundFont);
}

// Two seconds of a short song through FluidSynth with the small SoundFont,
// rendered in pulls of the given sizes (repeated): at 96 ticks a half
// second, A4 from 0.25 s to 0.75 s, C5 from 1.0 s to 1.5 s.
std::vector<float> RenderSong(const std::vector<size_t>& pulls) {
  plat::SetMidiSynth(nullptr);
  plat::SetSoundFontSearch({kSmallSoundFont});
  std::string line;
  if (!plat::StartMidiSynth(&line)) return {};
  std::vector<uint8_t> data;
  auto rec = [&](uint32_t delta, uint32_t word) {
    for (uint32_t v : {delta, 0u, word})
      for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  rec(0, 0x0000C0);     // piano
  rec(48, 0x00644590);  // A4 on
  rec(96, 0x00004580);
  rec(48, 0x00644890);  // C5 on
  rec(96, 0x00004880);
  plat::MidiHeader header;
  header.lpData = data.data();
  header.nLength = header.nRecorded = static_cast<uint32_t>(data.size());
  plat::MidiStream stream;
  stream.Open(plat::CurrentThreadId());
  stream.SetTimeDivision(96);
  stream.Prepare(&header);
  stream.Out(&header);
  stream.Restart();
  const size_t frames = 2 * plat::kMidiRate;
  std::vector<float> stereo(frames * 2);
  for (size_t done = 0, i = 0; done < frames; ++i) {
    size_t n = std::min(pulls[i % pulls.size()], frames - done);
    plat::RenderMidi(stereo.data() + 2 * done, n);
    done += n;
  }
  return stereo;
}

TEST_F(MidiSynthesiser, ASongThroughFluidSynthSoundsItsNotesWhereTheyArePlayed) {
  if (!Exists(kSmallSoundFont)) GTEST_SKIP() << kSmallSoundFont << " is not installed";
  testsupport::ScopedEnv env("GAME_SOUNDFONT", nullptr);
  const size_t frames = 2 * plat::kMidiRate;
  std::vector<float> stereo = RenderSong({512});
  ASSERT_EQ(stereo.size(), 2 * frames);
  m_dir.WriteFile("song.wav", Wav(stereo));
  std::string wav;
  ASSERT_TRUE(plat::ReadWholeFile("song.wav", wav));
  std::vector<float> mono = MonoFromWav(wav);
  ASSERT_EQ(mono.size(), frames);

  auto at = [](double seconds) { return static_cast<size_t>(seconds * plat::kMidiRate); };
  EXPECT_EQ(Peak(mono, 0, at(0.25)), 0.0);
  EXPECT_GT(Peak(mono, at(0.3), at(0.7)), 0.01);
  EXPECT_GT(Peak(mono, at(1.05), at(1.45)), 0.01);
  const double a4 = 440.0, c5 = 523.25;
  EXPECT_GT(Energy(mono, at(0.3), at(0.7), a4), 10 * Energy(mono, at(0.3), at(0.7), c5));
  EXPECT_GT(Energy(mono, at(1.05), at(1.45), c5), 10 * Energy(mono, at(1.05), at(1.45), a4));
  // Released: what is left of the notes dies away.
  EXPECT_LT(Peak(mono, at(1.9), at(2.0)), Peak(mono, at(1.05), at(1.45)) / 4);
}

TEST_F(MidiSynthesiser, FluidSynthSoundsTheSameWhateverThePullSizes) {
  if (!Exists(kSmallSoundFont)) GTEST_SKIP() << kSmallSoundFont << " is not installed";
  testsupport::ScopedEnv env("GAME_SOUNDFONT", nullptr);
  std::vector<float> one = RenderSong({2 * plat::kMidiRate});
  ASSERT_FALSE(one.empty());
  EXPECT_TRUE(RenderSong({1, 63, 64, 65, 1000, 7}) == one);
}
