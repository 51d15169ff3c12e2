// The MIDI player and its callback thread against a mix pulled by hand: a
// song streamed through its two buffers, its end with and without looping,
// callbacks that come too late, deletion while playing, and the player set
// of the music manager.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/report_log.h"
#include "media/midi.h"
#include "media/midi_set.h"
#include "platform/close_request.h"
#include "platform/midi_out.h"
#include "support/test_support.h"
#include "wait_until.h"

namespace plat {
void PrintTo(const RecordingSynth::Message& m, std::ostream* os) {
  *os << "{" << m.frame << ",";
  for (uint8_t b : m.bytes) *os << " " << std::hex << int(b) << std::dec;
  *os << "}";
}
}  // namespace plat

namespace {

using Bytes = std::vector<uint8_t>;
using Msg = plat::RecordingSynth::Message;

// A format-0 file at 96 ticks a quarter note of these events.
std::string SmfFile(const Bytes& events) {
  Bytes file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k'};
  uint32_t n = static_cast<uint32_t>(events.size());
  file.insert(file.end(), {static_cast<uint8_t>(n >> 24), static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 8),
                           static_cast<uint8_t>(n)});
  file.insert(file.end(), events.begin(), events.end());
  return std::string(file.begin(), file.end());
}

// A note at 0 released at tick 96 (22050 frames), the end at 192 (44100).
const Bytes kShortSong = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x60, 0xFF, 0x2F, 0x00};

// Keeps only the note messages.
std::vector<Msg> Notes(const std::vector<Msg>& all) {
  std::vector<Msg> out;
  for (const Msg& m : all)
    if ((m.bytes[0] & 0xE0) == 0x80) out.push_back(m);
  return out;
}

// Frames at which the sixteen channels' notes were released.
std::vector<uint64_t> Releases(const std::vector<Msg>& all) {
  std::vector<uint64_t> out;
  for (const Msg& m : all)
    if (m.bytes == Bytes{0xBF, 0x7B, 0x00}) out.push_back(m.frame);
  return out;
}

class MidiPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
    m_synth = std::make_shared<plat::RecordingSynth>();
    plat::SetMidiSynth(m_synth);
  }
  void TearDown() override {
    plat::DropMidiSynthPreload();
    plat::SetMidiSynthLoader(nullptr);
    plat::SetMidiSynth(nullptr);
    plat::SetSoundFontSearch(plat::DefaultSoundFonts());
  }

  // Pulls the mix in steps and lets the callback thread handle every
  // callback after each, as a real mix leaves it the time to.
  void Pull(cMidi& player, size_t frames, size_t step) {
    std::vector<float> out(step * 2);
    for (size_t done = 0; done < frames; done += step) {
      plat::RenderMidi(out.data(), std::min(step, frames - done));
      Settle(player);
    }
  }
  static void Settle(cMidi& player) {
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return player.m_nCallbacksHandled.load() == player.m_hStream.CallbacksPosted(); }));
  }
  std::string Report() const { return m_dir.ReadFile("Report_Game.txt"); }

  testsupport::ScopedWorkDir m_dir;
  std::shared_ptr<plat::RecordingSynth> m_synth;
};

}  // namespace

TEST_F(MidiPlayer, ASongLongerThanTwoBuffersStreamsThrough) {
  // 6000 events, one tick apart: three buffers of 2000 records.
  Bytes events;
  for (int i = 0; i < 3000; ++i) {
    uint8_t key = static_cast<uint8_t>(i % 128);
    events.insert(events.end(), {static_cast<uint8_t>(i ? 1 : 0), 0x90, key, 0x40, 0x01, 0x80, key, 0x00});
  }
  events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
  m_dir.WriteFile("long.mid", SmfFile(events));
  cMidi player("long.mid");
  ASSERT_NE(player.m_lpImage, nullptr);
  player.Play(0);
  Pull(player, 1400000, 4410);

  std::vector<Msg> all = m_synth->Messages();
  std::vector<Msg> notes = Notes(all);
  ASSERT_EQ(notes.size(), 6000u);
  for (size_t i = 0; i < notes.size(); ++i) {
    uint8_t key = static_cast<uint8_t>((i / 2) % 128);
    Msg want = {i * 2296875 / 10000, i % 2 ? Bytes{0x80, key, 0x00} : Bytes{0x90, key, 0x40}};
    ASSERT_EQ(notes[i], want) << i;
  }
  // At its end the song was stopped, once, and rewound.
  EXPECT_EQ(Releases(all), (std::vector<uint64_t>{313 * 4410}));
  EXPECT_EQ(player.State(), 0);
  EXPECT_EQ(player.m_nReadPos, 22 + 2000 * 4);
  EXPECT_EQ(Report(), "");
}

TEST_F(MidiPlayer, ALoopingSongStartsAgainAfterItsEnd) {
  m_dir.WriteFile("loop.mid", SmfFile(kShortSong));
  cMidi player("loop.mid");
  player.Play(1);
  Pull(player, 100000, 1000);
  // The end (at 44100) is handled after that pull: the song starts again at
  // 45000, and again at 90000.
  EXPECT_EQ(Notes(m_synth->Messages()), (std::vector<Msg>{
                                            {0, {0x90, 0x3C, 0x64}},
                                            {22050, {0x80, 0x3C, 0x00}},
                                            {45000, {0x90, 0x3C, 0x64}},
                                            {67050, {0x80, 0x3C, 0x00}},
                                            {90000, {0x90, 0x3C, 0x64}},
                                        }));
  EXPECT_EQ(Releases(m_synth->Messages()), (std::vector<uint64_t>{45000, 90000}));
  EXPECT_EQ(player.State(), 1);
}

TEST_F(MidiPlayer, ASongThatDoesNotLoopStaysStoppedAndRewoundWithItsFirstBufferQueued) {
  m_dir.WriteFile("once.mid", SmfFile(kShortSong));
  cMidi player("once.mid");
  player.Play(0);
  Pull(player, 100000, 1000);
  EXPECT_EQ(Notes(m_synth->Messages()).size(), 2u);
  EXPECT_EQ(player.State(), 0);
  EXPECT_EQ(player.m_nReadPos, static_cast<int32_t>(player.m_lpImage->size()));
  EXPECT_TRUE(player.m_lpHdrs[player.m_nNextHdr ^ 1].nFlags & MHDR_INQUEUE);

  // Played again, it starts from its beginning.
  m_synth->Clear();
  player.Play(0);
  Pull(player, 30000, 1000);
  EXPECT_EQ(Notes(m_synth->Messages()),
            (std::vector<Msg>{{100000, {0x90, 0x3C, 0x64}}, {122050, {0x80, 0x3C, 0x00}}}));
}

TEST_F(MidiPlayer, AnEndCallbackPostedBeforeAStopDoesNothing) {
  m_dir.WriteFile("loop.mid", SmfFile(kShortSong));
  cMidi player("loop.mid");
  player.Play(1);
  {
    // The callback thread waits for the player while the end plays and the
    // manager stops the song.
    std::lock_guard<std::recursive_mutex> hold(player.m_mutex);
    std::vector<float> out(2 * 50000);
    plat::RenderMidi(out.data(), 50000);
    player.Stop(0);
  }
  Settle(player);
  EXPECT_EQ(player.State(), 0);
  Pull(player, 50000, 1000);
  EXPECT_EQ(Notes(m_synth->Messages()).size(), 2u);
  EXPECT_EQ(player.m_nCallbacksHandled.load(), 1u);
}

TEST_F(MidiPlayer, PauseAndPlayGoOnWhereTheSongWas) {
  m_dir.WriteFile("song.mid", SmfFile(kShortSong));
  cMidi player("song.mid");
  player.Play(0);
  Pull(player, 10000, 1000);
  player.Stop(1);
  EXPECT_EQ(player.State(), 2);
  Pull(player, 10000, 1000);
  player.Play(0);
  Pull(player, 20000, 1000);
  EXPECT_EQ(Notes(m_synth->Messages()),
            (std::vector<Msg>{{0, {0x90, 0x3C, 0x64}}, {22050 + 10000, {0x80, 0x3C, 0x00}}}));
  EXPECT_EQ(Releases(m_synth->Messages()), (std::vector<uint64_t>{10000}));
}

TEST_F(MidiPlayer, DeletingAPlayingPlayerEndsItsThread) {
  Bytes events;
  for (int i = 0; i < 5000; ++i) events.insert(events.end(), {0x00, 0x90, 0x3C, 0x40, 0x00, 0x80, 0x3C, 0x00});
  events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
  m_dir.WriteFile("busy.mid", SmfFile(events));
  for (int round = 0; round < 20; ++round) {
    auto player = std::make_unique<cMidi>("busy.mid");
    player->Play(1);
    // Callbacks are still on their way while the player goes.
    std::vector<float> out(2 * 64);
    for (int i = 0; i < round; ++i) plat::RenderMidi(out.data(), 64);
    player.reset();
    plat::RenderMidi(out.data(), 64);
  }
  EXPECT_EQ(Report(), "");
}

TEST_F(MidiPlayer, TheSetPlaysOnlyMidFilesAndOnePlayerAtATime) {
  m_dir.WriteFile("a.mid", SmfFile(kShortSong));
  m_dir.WriteFile("b.mid", SmfFile(kShortSong));
  m_dir.WriteFile("B.MID", SmfFile(kShortSong));
  m_dir.WriteFile("bad.mid", "not a song");
  cMidiSet set;
  set.m_vPlayers.assign(2, nullptr);
  set.m_vFlags.assign(2, 0);

  struct Case {
    int channel;
    const char* path;
    int result;
    bool player;  // a player stands at the channel afterwards
  };
  const Case cases[] = {
      {0, "B.MID", 0, false}, {0, "b.Mid", 0, false}, {0, "b", 0, false},
      {1, "bad.mid", 0, true}, {1, "a.mid", 1, true},  {0, "b.mid", 1, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(set.Play(c.channel, c.path, 0), c.result) << c.path;
    for (int ch = 0; ch < 2; ++ch)
      EXPECT_EQ(set.m_vPlayers[ch] != nullptr, c.player && ch == c.channel) << c.path << " " << ch;
  }
  EXPECT_EQ(set.m_vPlayers[0]->State(), 1);
  EXPECT_NE(Report().find("Midi bad.mid Init " + testsupport::Sjis("標準MIDIでない(4)")), std::string::npos);

  set.StopAll(1);
  EXPECT_EQ(set.m_vPlayers[0]->State(), 2);
  set.StopAll(0);
  EXPECT_EQ(set.m_vPlayers[0]->State(), 0);

  EXPECT_EQ(plat::CloseRequestCount(), 0u);
  EXPECT_EQ(set.Play(2, "a.mid", 0), 0);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  plat::ResetCloseRequests();
}

TEST_F(MidiPlayer, WithoutASoundFontTheMusicLoopsInSilence) {
  testsupport::ScopedEnv env("GAME_SOUNDFONT", nullptr);
  plat::SetMidiSynth(nullptr);
  plat::SetSoundFontSearch({"/nowhere/gm.sf2"});
  m_dir.WriteFile("bgm/loop.mid", SmfFile(kShortSong));
  cMidiSet set;
  set.m_vPlayers.assign(1, nullptr);
  ASSERT_EQ(set.Play(0, "bgm\\loop.mid", 1), 1);
  EXPECT_EQ(Report(), "MIDI: no SoundFont loaded (tried /nowhere/gm.sf2); music plays silent\r\n");

  cMidi& player = *set.m_vPlayers[0];
  std::vector<float> out(2 * 1000, 1.0f);
  float peak = 0.0f;
  for (int i = 0; i < 200; ++i) {
    plat::RenderMidi(out.data(), 1000);
    for (float f : out) peak = std::max(peak, std::fabs(f));
    Settle(player);
  }
  // Four times through the song, each end handled.
  EXPECT_EQ(player.m_hStream.CallbacksPosted(), 4u);
  EXPECT_EQ(player.State(), 1);
  EXPECT_EQ(peak, 0.0f);
}

// The synthesiser loading on a thread of its own while the game starts: a
// song begun meanwhile waits with its time stopped, then plays every note
// at the frame it would have had; the preload reports what it took.
TEST_F(MidiPlayer, ASongBegunWhileTheSynthesiserLoadsWaitsForIt) {
  plat::SetMidiSynth(nullptr);
  plat::SetSoundFontSearch({"/nowhere/a.sf2", "/here/b.sf2"});
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  plat::SetMidiSynthLoader([&, released](const std::string& path) -> std::shared_ptr<plat::MidiSynth> {
    if (path != "/here/b.sf2") return nullptr;
    released.wait();
    return m_synth;
  });
  std::mutex lineLock;
  std::string line;
  std::atomic<bool> reported{false};
  plat::PreloadMidiSynth([&](const std::string& text) {
    std::lock_guard<std::mutex> lock(lineLock);
    line = text;
    reported = true;
  });

  m_dir.WriteFile("song.mid", SmfFile(kShortSong));
  cMidi player("song.mid");
  ASSERT_NE(player.m_lpImage, nullptr);
  player.Play(0);
  std::vector<float> out(2 * 1000, 1.0f);
  for (int i = 0; i < 30; ++i) {
    plat::RenderMidi(out.data(), 1000);
    EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0.0f);
    EXPECT_EQ(*std::min_element(out.begin(), out.end()), 0.0f);
  }
  EXPECT_EQ(player.m_hStream.CallbacksPosted(), 0u);
  EXPECT_EQ(Report(), "");  // the preload reports, once it knows

  release.set_value();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return reported.load(); }));
  {
    std::lock_guard<std::mutex> lock(lineLock);
    EXPECT_EQ(line, "MIDI: SoundFont /here/b.sf2");
  }
  Pull(player, 44100, 1000);
  EXPECT_EQ(Notes(m_synth->Messages()),
            (std::vector<Msg>{{0, {0x90, 0x3C, 0x64}}, {22050, {0x80, 0x3C, 0x00}}}));
  plat::DropMidiSynthPreload();  // a song plays with it: kept
  std::string again;
  EXPECT_TRUE(plat::StartMidiSynth(&again));
  EXPECT_EQ(again, "");
}

TEST_F(MidiPlayer, APreloadNoMusicAskedForIsDroppedAndTheNextStartSearchesAgain) {
  plat::SetMidiSynth(nullptr);
  plat::SetSoundFontSearch({"/here/b.sf2"});
  std::atomic<int> loads{0};
  plat::SetMidiSynthLoader([&](const std::string&) -> std::shared_ptr<plat::MidiSynth> {
    ++loads;
    return std::make_shared<plat::RecordingSynth>();
  });
  std::atomic<int> reports{0};
  plat::PreloadMidiSynth([&](const std::string&) { ++reports; });
  plat::PreloadMidiSynth([&](const std::string&) { ++reports; });  // one at a time
  plat::DropMidiSynthPreload();
  EXPECT_EQ(loads.load(), 1);
  EXPECT_EQ(reports.load(), 1);
  std::string line;
  EXPECT_TRUE(plat::StartMidiSynth(&line));
  EXPECT_EQ(line, "MIDI: SoundFont /here/b.sf2");
  EXPECT_EQ(loads.load(), 2);
}
