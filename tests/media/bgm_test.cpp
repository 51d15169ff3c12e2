// The music manager over the built OGG plug-in and the MIDI players, with
// the process mixer pulled by hand and the MIDI output going to a recording
// synthesiser (which plays silence).
#include "media/bgm.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/report_log.h"
#include "media/midi.h"
#include "platform/close_request.h"
#include "platform/midi_out.h"
#include "platform/mixer.h"
#include "support/ogg_writer.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;

namespace {

constexpr int kSlots = 5;
constexpr int kStopped = 0, kPlaying = 1, kPaused = 2;

// A format-0 file at 96 ticks a quarter note: one note, a quarter long, then
// a quarter of rest before the end.
std::string ShortSong() {
  const unsigned char bytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 12,
                                 0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x60, 0xFF, 0x2F, 0x00};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof(bytes));
}

std::vector<float> Render(size_t frames) {
  std::vector<float> out(2 * frames);
  for (size_t done = 0; done < frames; done += 1024)
    plat::MainMixer.Render(out.data() + 2 * done, std::min<size_t>(1024, frames - done));
  return out;
}

bool Silent(const std::vector<float>& mix) {
  for (float v : mix)
    if (v != 0.0f) return false;
  return true;
}

// Start-up's tables: every slot names the title music until it is set.
struct NameTables {
  BGMOGGNAME ogg[kSlots];
  BGMMIDINAME midi[kSlots];
  void Reset() {
    for (int i = 0; i < kSlots; ++i) {
      std::strcpy(ogg[i], "bgm\\Title.ogg");
      std::strcpy(midi[i], "bgm\\Title.mid");
    }
  }
};

class Music : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_dir.WriteFile("EC_Game.txt", "");
    DebugLogInit(1, "EC_Game.txt");
    SetVoxLibraryPath(VOX_LIBRARY_FILE);
    // Ten seconds of tone, longer than any test listens.
    m_ogg = testsupport::EncodeOgg(testsupport::SineFrames(441, 0.5, 22050, 1, 220500), 22050, 1);
    m_dir.WriteFile("bgm/a.ogg", m_ogg);
    m_dir.WriteFile("bgm/b.mid", ShortSong());
    m_names.Reset();
    plat::ResetCloseRequests();
    m_synth = std::make_shared<plat::RecordingSynth>();
    plat::SetMidiSynth(m_synth);
  }
  void TearDown() override {
    m_bgm.UnInit();
    plat::SetMidiSynth(nullptr);
    SetVoxLibraryPath("");
    DebugLogInit(0, "EC_Game.txt");
  }
  void Start() { ASSERT_EQ(m_bgm.Init(1, m_names.ogg, m_names.midi, kSlots), 1); }
  // The MIDI player of channel 0, null when there is none.
  cMidi* Midi0() { return m_bgm.m_MidiSet.m_vPlayers.empty() ? nullptr : m_bgm.m_MidiSet.m_vPlayers[0]; }

  ScopedWorkDir m_dir;
  std::string m_ogg;
  NameTables m_names;
  std::shared_ptr<plat::RecordingSynth> m_synth;
  cBgm m_bgm;
};

}  // namespace

TEST_F(Music, SetFileSortsAPathByItsExtensionCaseForCase) {
  Start();
  const std::string ogg259 = "bgm\\" + std::string(251, 'a') + ".ogg";
  const std::string ogg260 = "bgm\\" + std::string(252, 'a') + ".ogg";
  const std::string mid263 = "bgm\\" + std::string(255, 'a') + ".MID";
  const std::string mid264 = "bgm\\" + std::string(256, 'a') + ".mid";
  const std::string wav260 = "bgm\\" + std::string(252, 'a') + ".wav";
  struct Case {
    std::string path;
    int result, kind;
    std::string ogg, midi;
  };
  const Case cases[] = {
      {"bgm\\a.mid", 1, 2, "bgm\\Title.ogg", "bgm\\a.mid"},
      {"bgm\\a.MID", 1, 2, "bgm\\Title.ogg", "bgm\\a.mid"},
      {"bgm\\a.ogg", 1, 1, "bgm\\a.ogg", "bgm\\Title.mid"},
      {"bgm\\a.OGG", 1, 1, "bgm\\a.OGG", "bgm\\Title.mid"},
      {"bgm\\a.Mid", 0, 0, "bgm\\a.Mid", "bgm\\a.Mid"},
      {"bgm\\a.Ogg", 0, 0, "bgm\\a.Ogg", "bgm\\a.Ogg"},
      {"bgm\\a.wav", 0, 0, "bgm\\a.wav", "bgm\\a.wav"},
      {"bgm.x\\a", 0, 0, "bgm.x\\a", "bgm.x\\a"},  // the text after the last "." is "x\a"
      {"bgm\\a", 0, 0, "", ""},
      {"", 0, 0, "", ""},
      {ogg259, 1, 1, ogg259, "bgm\\Title.mid"},
      {ogg260, 0, 0, "", ""},
      {mid263, 1, 2, "bgm\\Title.ogg", mid263.substr(0, 260) + "mid"},
      {mid264, 0, 0, "", ""},
      {wav260, 0, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.substr(0, 24) + " (" + std::to_string(c.path.size()) + " bytes)");
    m_names.Reset();
    m_bgm.m_vKind[3] = 1;
    EXPECT_EQ(m_bgm.SetFile(3, c.path.c_str()), c.result);
    EXPECT_EQ(m_bgm.m_vKind[3], c.kind);
    EXPECT_EQ(std::string(m_names.ogg[3]), c.ogg);
    EXPECT_EQ(std::string(m_names.midi[3]), c.midi);
  }
  // Slots outside the table: refused, nothing written.
  m_names.Reset();
  for (int slot : {-1, kSlots}) EXPECT_EQ(m_bgm.SetFile(slot, "bgm\\a.ogg"), 0);
  for (int i = 0; i < kSlots; ++i) {
    EXPECT_STREQ(m_names.ogg[i], "bgm\\Title.ogg");
    EXPECT_EQ(m_bgm.m_vKind[i], 0);
  }
}

TEST_F(Music, AMidiSlotStopsTheOggAndAnOggSlotRewindsTheMidi) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);

  ASSERT_EQ(m_bgm.Play(0, 0, 1, 1, 1), 1);
  EXPECT_EQ(m_bgm.m_vActive[0], 1);
  EXPECT_FALSE(Silent(Render(2048)));

  EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  EXPECT_EQ(m_bgm.m_vActive[0], 2);
  EXPECT_EQ(m_bgm.m_nCurrentSlot, 1);
  EXPECT_EQ(m_bgm.m_Vox.m_nPlaying, -1);
  EXPECT_TRUE(Silent(Render(2048)));  // the recording synthesiser is silent
  ASSERT_NE(Midi0(), nullptr);
  EXPECT_EQ(Midi0()->State(), kPlaying);
  EXPECT_EQ(Midi0()->m_bLoop, 1);

  // OGG by its extension rewinds MIDI whatever the pause flag says.
  EXPECT_EQ(m_bgm.Play(0, 0, 1, 1, 1), 1);
  EXPECT_EQ(m_bgm.m_vActive[0], 1);
  EXPECT_EQ(Midi0()->State(), kStopped);
  EXPECT_FALSE(Silent(Render(2048)));

  ASSERT_EQ(m_bgm.Play(0, 1, 0, 0, 1), 1);
  EXPECT_EQ(m_bgm.Stop(), 1);
  EXPECT_EQ(Midi0()->State(), kStopped);
}

TEST_F(Music, AnUndeterminedSlotTriesOggThenMidiWithItsOwnNames) {
  Start();
  // The default tables name bgm\Title.ogg, then bgm\Title.mid.
  m_dir.WriteFile("bgm/Title.mid", ShortSong());
  EXPECT_EQ(m_bgm.Play(0, 2, 0, 1, 1), 1);
  EXPECT_EQ(m_bgm.m_vActive[0], 2);
  ASSERT_NE(Midi0(), nullptr);
  EXPECT_EQ(Midi0()->m_strName, "bgm\\Title.mid");
  EXPECT_EQ(Midi0()->State(), kPlaying);
  EXPECT_EQ(Midi0()->m_bLoop, 0);

  // Once the OGG file is there it wins, and MIDI stops as the request says.
  m_dir.WriteFile("bgm/Title.ogg", m_ogg);
  EXPECT_EQ(m_bgm.Play(0, 2, 0, 1, 1), 1);
  EXPECT_EQ(m_bgm.m_vActive[0], 1);
  EXPECT_EQ(Midi0()->State(), kPaused);
  EXPECT_FALSE(Silent(Render(1024)));
  EXPECT_EQ(m_bgm.Play(0, 2, 0, 0, 1), 1);
  EXPECT_EQ(Midi0()->State(), kStopped);

  // "Mid" is neither MIDI spelling: the same path is tried as OGG first...
  m_dir.WriteFile("bgm/c.Mid", m_ogg);
  ASSERT_EQ(m_bgm.SetFile(3, "bgm\\c.Mid"), 0);
  EXPECT_EQ(m_bgm.Play(0, 3, 1, 0, 1), 1);
  EXPECT_EQ(m_bgm.m_vActive[0], 1);
  // ... and then as MIDI, which opens only ".mid".
  m_dir.WriteFile("bgm/c.Mid", ShortSong());
  EXPECT_EQ(m_bgm.Play(0, 3, 1, 0, 1), 0);
  EXPECT_EQ(Midi0(), nullptr);
  EXPECT_EQ(m_bgm.m_vActive[0], 0);
  EXPECT_TRUE(Silent(Render(1024)));
}

TEST_F(Music, TheSlotThatPlaysGoesOnUnlessForcedThenStartsAgain) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  const std::vector<float> first = Render(3000);

  EXPECT_EQ(m_bgm.Play(0, 0, 1, 0, 0), 1);
  EXPECT_NE(Render(3000), first);  // went on

  EXPECT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  EXPECT_EQ(Render(3000), first);  // from the top

  // The same for MIDI: unforced, the player stays the one that plays.
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  const cMidi* player = Midi0();
  EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 0), 1);
  EXPECT_EQ(Midi0(), player);
  EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  EXPECT_EQ(Midi0()->State(), kPlaying);
}

TEST_F(Music, ASlotNeitherPlayerOpensLeavesNothingPlayingAndIsTriedAgain) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);
  ASSERT_EQ(m_bgm.SetFile(2, "bgm\\late.ogg"), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);

  EXPECT_EQ(m_bgm.Play(0, 2, 1, 0, 0), 0);
  EXPECT_EQ(m_bgm.m_nCurrentSlot, -1);
  EXPECT_EQ(m_bgm.m_vActive[0], 0);
  EXPECT_EQ(Midi0()->State(), kStopped);

  // Kind 0 with neither file: both players tried, then both stopped.
  ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  EXPECT_EQ(m_bgm.Play(0, 4, 1, 0, 0), 0);
  EXPECT_EQ(m_bgm.m_vActive[0], 0);
  EXPECT_EQ(m_bgm.m_Vox.m_nPlaying, -1);
  EXPECT_TRUE(Silent(Render(1024)));

  m_dir.WriteFile("bgm/late.ogg", m_ogg);
  EXPECT_EQ(m_bgm.Play(0, 2, 1, 0, 0), 1);
  EXPECT_FALSE(Silent(Render(1024)));
}

TEST_F(Music, AChannelOrSlotOutsideTheTablesChangesNothing) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  const cMidi* player = Midi0();
  struct Case {
    int channel, slot;
  };
  for (const Case& c : {Case{1, 0}, Case{-1, 0}, Case{0, kSlots}, Case{0, -1}}) {
    SCOPED_TRACE(std::to_string(c.channel) + ", " + std::to_string(c.slot));
    EXPECT_EQ(m_bgm.Play(c.channel, c.slot, 1, 0, 1), 0);
    EXPECT_EQ(m_bgm.m_nCurrentSlot, 0);
    EXPECT_EQ(m_bgm.m_vActive[0], 1);
    EXPECT_EQ(Midi0(), player);
    EXPECT_FALSE(Silent(Render(1024)));
  }
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(Music, TheMidiPlayersLeaveAChannelOutsideTheirTableAsItWas) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  const cMidi* player = Midi0();
  plat::ResetCloseRequests();
  for (int channel : {1, -1}) {
    EXPECT_EQ(m_bgm.m_MidiSet.Play(channel, "bgm\\b.mid", 1), 0);
    EXPECT_EQ(Midi0(), player);
    EXPECT_EQ(Midi0()->State(), kPlaying);
  }
  // A bad channel is the caller's fault: reported, and the program asked to close.
  EXPECT_EQ(plat::CloseRequestCount(), 2u);
  plat::ResetCloseRequests();
}

TEST_F(Music, WithoutThePlugInOneBoxAndNothingAfterwards) {
  SetVoxLibraryPath("/nonexistent/libvox.so");
  m_dir.WriteFile("bgm/Title.mid", ShortSong());
  {
    ScriptedBoxes boxes;
    cBgm bgm;
    EXPECT_EQ(bgm.Init(1, m_names.ogg, m_names.midi, kSlots), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, Sjis("oggの初期化に失敗！"));
    EXPECT_EQ(bgm.m_bInit, 0);
    const std::string log = m_dir.ReadFile("EC_Game.txt");
    EXPECT_NE(log.find(Sjis("m_Vox.Init失敗！ ")), std::string::npos) << log;
    EXPECT_NE(log.find("/nonexistent/libvox.so"), std::string::npos) << log;

    EXPECT_EQ(bgm.SetFile(0, "bgm\\b.mid"), 1);
    EXPECT_STREQ(m_names.midi[0], "bgm\\Title.mid");
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
    EXPECT_EQ(bgm.Stop(), 1);
    EXPECT_TRUE(bgm.m_MidiSet.m_vPlayers.empty());
    EXPECT_EQ(bgm.m_nCurrentSlot, -1);
    EXPECT_EQ(bgm.UnInit(), 1);
    EXPECT_EQ(boxes.shown.size(), 1u);
  }
  EXPECT_TRUE(Silent(Render(1024)));
}

TEST_F(Music, InitOnARunningManagerEndsItFirst) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  NameTables other;
  other.Reset();
  EXPECT_EQ(m_bgm.Init(2, other.ogg, other.midi, 3), 1);
  EXPECT_TRUE(Silent(Render(1024)));
  EXPECT_EQ(m_bgm.m_nCurrentSlot, -1);
  EXPECT_EQ(m_bgm.m_vActive.Size(), 2);
  EXPECT_EQ(m_bgm.m_vKind.Size(), 3);
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  EXPECT_STREQ(other.ogg[0], "bgm\\a.ogg");
  EXPECT_STREQ(m_names.ogg[0], "bgm\\a.ogg");  // set before, left alone
  EXPECT_EQ(m_bgm.Play(1, 0, 1, 0, 0), 1);
  EXPECT_FALSE(Silent(Render(1024)));
}

TEST_F(Music, NewChannelsEndBothPlayersAndForgetTheSlot) {
  // A player left behind would outlive its table: the leak check finds it.
  Start();
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  ASSERT_NE(Midi0(), nullptr);
  EXPECT_EQ(m_bgm.SetChannels(2), 1);
  EXPECT_EQ(m_bgm.m_MidiSet.m_vPlayers, (cVector<cMidi*>{nullptr, nullptr}));
  EXPECT_EQ(m_bgm.m_MidiSet.m_vFlags.Size(), 2);
  EXPECT_EQ(m_bgm.m_vActive, (cVector<int32_t>{0, 0}));
  EXPECT_EQ(m_bgm.m_nCurrentSlot, -1);
  EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 0), 1);  // forgotten, so played again
  EXPECT_EQ(Midi0()->State(), kPlaying);

  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.Play(1, 0, 1, 0, 1), 1);
  EXPECT_EQ(m_bgm.SetChannels(1), 1);
  EXPECT_EQ(m_bgm.m_Vox.m_nPlaying, -1);
  EXPECT_TRUE(Silent(Render(1024)));
}

TEST_F(Music, UnInitReleasesThePlugInAndThePlayers) {
  Start();
  ASSERT_EQ(m_bgm.SetFile(0, "bgm\\a.ogg"), 1);
  ASSERT_EQ(m_bgm.SetFile(1, "bgm\\b.mid"), 1);
  ASSERT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  ASSERT_EQ(m_bgm.Play(0, 0, 1, 0, 1), 1);
  EXPECT_EQ(m_bgm.UnInit(), 1);
  EXPECT_EQ(m_bgm.m_bInit, 0);
  EXPECT_TRUE(Silent(Render(1024)));
  EXPECT_TRUE(m_bgm.m_MidiSet.m_vPlayers.empty());
  EXPECT_EQ(dlopen(VOX_LIBRARY_FILE, RTLD_NOW | RTLD_NOLOAD), nullptr);
  EXPECT_EQ(m_bgm.Play(0, 1, 1, 0, 1), 1);
  EXPECT_TRUE(m_bgm.m_MidiSet.m_vPlayers.empty());
  EXPECT_EQ(m_bgm.UnInit(), 1);
}
