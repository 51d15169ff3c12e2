// The commands that freeze play, run by flows on a game thread at 1 and 3
// logic steps a frame: each starts the stage's pause loop on thPause with
// its wait request and blocks until it ends, while the test's thread serves
// the main window (the sounds). The loop serves the request on scripted
// input (support/pausing_stage.h), so what is pinned here is the request,
// the frames it lasted, the sounds and what is left on the stage after it.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/thread.h"
#include "game/characters.h"
#include "game/display_commands.h"
#include "game/item_commands.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "media/system_surfaces.h"
#include "platform/bmp_bytes.h"
#include "platform/thread.h"
#include "records/database.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/pausing_stage.h"
#include "threads/wait_until.h"

using namespace testsupport;

namespace {

class PauseWaits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  }
  void TearDown() override {
    ReleaseShownSurfaces();
    DDRelease();
    EXPECT_FALSE(thPause.HasThread());
  }

  // The surfaces of the message windows and pictures a test left shown.
  static void ReleaseShownSurfaces() {
    DDReleaseSurfaceList(Off_Msg);
    Off_Msg.clear();
    Off_MsgDef.clear();
    DDReleaseSurfaceList(Off_Picture);
    Off_Picture.clear();
    Off_PictureDef.clear();
  }

  // A stage of speed level S with a character at (5, 5) whose one flow
  // (started) holds the commands.
  struct Play {
    Play(int level, const cEdFlow& flow) : world(stage, level) {
      MapBuilder(std::vector<std::string>(15, std::string(20, '.'))).Build();
      chara = &world.AddChara(CharaDef().Flow(flow), {5, 5});
      world.UpdatePresence();
      StageData().m_lpCurChara = chara;
      chara->m_vFlows[0].Start();
    }
    // `frames` frames of the flow on a game thread; this thread pumps.
    void Run(int frames) { OnGameThread([&] { PlayFlowFrames(world, frames, {chara}); }); }

    PausingStage stage;
    GameWorld world;
    cChara* chara = nullptr;
  };

  static void OnGameThread(const std::function<void()>& body) {
    std::atomic<bool> done{false};
    plat::Thread game;
    ASSERT_TRUE(game.Start([&] {
      body();
      done = true;
      return 0u;
    }));
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 20000));
    game.Join();
  }

  static cEdCommand Message(const char* text, int displayMode, int tenths = 0) {
    cEdCommand c =
        CommandDef(ACTCMDTYPE_MESSAGE).Param(6, displayMode).Param(7, tenths).Param(8, 1).Def();
    c.m_strText = text;
    return c;
  }
  // Picture 1 (an 8 × 8 file; WritePicture puts it on the running stage)
  // stopping the game in a display mode.
  static void WritePicture() {
    std::ofstream("pic.bmp", std::ios::binary)
        << bmpbytes::File(bmpbytes::Info(8, 8, 24), "", std::string(8 * 24, '\x40'));
    Database.m_vPicture.resize(2);
    Database.m_vPicture[1].m_strFile = "pic.bmp";
  }
  static cEdCommand Picture(int displayMode, int tenths = 0) {
    return CommandDef(ACTCMDTYPE_SHOW_PICTURE).Param(0, 1).Param(7, 100).Param(8, displayMode).Param(9, tenths)
        .Param(10, 1);
  }

  static std::string Where(const PausingStage::Wait& w) {
    return std::to_string(w.frame) + "." + std::to_string(w.step);
  }
  static std::vector<int> Request(const PausingStage::Wait& w) {
    return {w.request.nMode, w.request.nDelay, w.request.bWaitKey, w.request.nFrames};
  }
};

TEST_F(PauseWaits, AGameWaitFreezesPlayForItsTimeWithASilentEntry) {
  for (int level : {1, 3}) {
    SCOPED_TRACE("S" + std::to_string(level));
    Play play(level, FlowDef(FLOWTRIGGER_NONE)
                         .Command(CommandDef(ACTCMDTYPE_GAME_WAIT).Param(0, 2))
                         .Command(CommandDef(ACTCMDTYPE_GAME_WAIT).Param(0, -5)));
    std::vector<int> entries;  // modes of the messages shown during each frame
    play.stage.drawing = [&] {
      for (const cMessageWindow& w : play.stage.m_Messages) entries.push_back(w.m_nMode);
    };
    play.Run(2);
    ASSERT_EQ(play.stage.waits.size(), 2u);
    EXPECT_EQ(Where(play.stage.waits[0]), "1.1");
    EXPECT_EQ(Where(play.stage.waits[1]), level == 1 ? "2.1" : "1.2");
    EXPECT_EQ(Request(play.stage.waits[0]), (std::vector<int>{0, 0, 0, 12}));
    EXPECT_EQ(play.stage.waits[0].frames, 12);
    EXPECT_EQ(Request(play.stage.waits[1]), (std::vector<int>{0, 0, 0, 0})) << "a negative time waits no frame";
    EXPECT_EQ(play.stage.waits[1].frames, 0);
    EXPECT_EQ(entries, std::vector<int>(12, MESSAGEMODE_WAIT));
    EXPECT_TRUE(play.stage.m_Messages.empty()) << "the entry goes with its wait";
    EXPECT_TRUE(play.world.events.Texts(EventKind::Sound).empty());
  }
}

TEST_F(PauseWaits, KeyWaitMessagesOpenOnceAndOnlyAFreshOneIgnoresKeysForTenFrames) {
  for (int level : {1, 3}) {
    SCOPED_TRACE("S" + std::to_string(level));
    Play play(level, FlowDef(FLOWTRIGGER_NONE)
                         .Command(Message("one", MESSAGEDISPLAY_KEY))
                         .Command(Message("two", MESSAGEDISPLAY_KEY)));
    // The first wait: a press in its 3rd frame is too early, one in its 12th
    // ends it; the second (continued) ends on a press in its 2nd frame.
    play.stage.keys.Idle(2).Hold(0, 1).Idle(8).Hold(0, 1).Idle(1).Hold(0, 1);
    std::vector<std::string> shown;
    play.stage.drawing = [&] {
      if (shown.empty() || shown.back() != play.stage.m_Messages.back().m_strText)
        shown.push_back(play.stage.m_Messages.back().m_strText);
    };
    play.Run(2);
    ASSERT_EQ(play.stage.waits.size(), 2u);
    EXPECT_EQ(Where(play.stage.waits[1]), level == 1 ? "2.1" : "1.2");
    EXPECT_EQ(Request(play.stage.waits[0]), (std::vector<int>{1, 10, 1, 0}));
    EXPECT_EQ(Request(play.stage.waits[1]), (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(play.stage.waits[0].frames, 11);
    EXPECT_EQ(play.stage.waits[1].frames, 1);
    for (const PausingStage::Wait& w : play.stage.waits) EXPECT_TRUE(w.keyEnded);
    EXPECT_EQ(shown, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(play.world.events.Texts(EventKind::Sound), (std::vector<std::string>{"11", "12", "12"}));
    EXPECT_TRUE(play.stage.m_Messages.empty());
    EXPECT_TRUE(Off_Msg.empty()) << "each window's surface goes with it";
  }
}

TEST_F(PauseWaits, ItemMessagesOpenOnceAcrossTheList) {
  Play play(1, FlowDef(FLOWTRIGGER_NONE));
  cHero& hero = play.world.AddHero(CharaDef().PlayerOperated(), {2, 2});
  cEdCommand item = Message("item", MESSAGEDISPLAY_KEY);
  item.m_bItemCommand = 1;
  item.m_nType = ITEMCMDTYPE_MESSAGE;
  play.stage.keys.Idle(10).Hold(0, 1).Idle(1).Hold(0, 1);
  play.stage.m_bItemMessage = 0;
  OnGameThread([&] {
    RunItemCommand(hero, item);
    RunItemCommand(hero, item);
  });
  ASSERT_EQ(play.stage.waits.size(), 2u);
  EXPECT_EQ(play.stage.waits[0].request.nDelay, 10);
  EXPECT_EQ(play.stage.waits[1].request.nDelay, 0);
  EXPECT_EQ(play.world.events.Texts(EventKind::Sound), (std::vector<std::string>{"11", "12", "12"}));
}

TEST_F(PauseWaits, TimedWaitsLastTheirTime) {
  struct TimedCase {
    const char* what;
    cEdCommand command;
    std::function<void()> data;  // what the stage's database needs for it
    std::vector<int> request;
    int frames;
  };
  // Effect 1 plays frames of 1 and 2 tenths.
  auto effect = [] {
    Database.m_vEffect.resize(2);
    Database.m_vEffect[1].m_vFrame.resize(2);
    Database.m_vEffect[1].m_vFrame[0].m_nTime = 1;
    Database.m_vEffect[1].m_vFrame[1].m_nTime = 2;
    BuildDatabaseRunTables();
  };
  const TimedCase cases[] = {
      {"a message for 2 tenths", Message("timed", MESSAGEDISPLAY_TIME, 2), nullptr, {1, 0, 0, 12}, 12},
      {"an effect for the sum of its frames", CommandDef(ACTCMDTYPE_PLAY_EFFECT).Param(0, 1).Param(6, 100).Param(7, 1),
       effect, {2, 0, 0, 18}, 18},
      {"a picture for 1 tenth", Picture(2, 1), WritePicture, {3, 0, 0, 6}, 6},
  };
  for (int level : {1, 3}) {
    for (const TimedCase& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " at S" + std::to_string(level));
      Play play(level, FlowDef(FLOWTRIGGER_NONE).Command(c.command));
      if (c.data) c.data();
      play.Run(1);
      ASSERT_EQ(play.stage.waits.size(), 1u);
      EXPECT_EQ(Request(play.stage.waits[0]), c.request);
      EXPECT_EQ(play.stage.waits[0].frames, c.frames);
      EXPECT_TRUE(play.stage.m_Messages.empty());
      EXPECT_TRUE(play.stage.m_Pictures.empty());
      EXPECT_TRUE(Off_Picture.empty()) << "the picture's surface goes with it";
      EXPECT_TRUE(play.world.events.Texts(EventKind::Sound).empty());
    }
  }
}

TEST_F(PauseWaits, AKeyWaitPictureEndsOnAPressWithTheDecideSound) {
  Play play(3, FlowDef(FLOWTRIGGER_NONE).Command(Picture(0)));
  WritePicture();
  play.stage.keys.Idle(4).Hold(0, 1);
  play.Run(1);
  ASSERT_EQ(play.stage.waits.size(), 1u);
  EXPECT_EQ(Request(play.stage.waits[0]), (std::vector<int>{3, 0, 1, 0})) << "no delay for a picture";
  EXPECT_EQ(play.stage.waits[0].frames, 4);
  EXPECT_EQ(play.world.events.Texts(EventKind::Sound), (std::vector<std::string>{"1"}));
  EXPECT_TRUE(play.stage.m_Pictures.empty());
  EXPECT_TRUE(Off_Picture.empty());
}

TEST_F(PauseWaits, UntilTheStageEndsStartsNoWaitAndClosingStartsNothing) {
  for (int level : {1, 3}) {
    SCOPED_TRACE("S" + std::to_string(level));
    Play play(level, FlowDef(FLOWTRIGGER_NONE)
                         .Command(Message("stays", MESSAGEDISPLAY_STAGE))
                         .Command(Picture(1)));
    WritePicture();
    play.Run(2);
    EXPECT_TRUE(play.stage.waits.empty());
    EXPECT_EQ(play.stage.m_Messages.size(), 1u);
    EXPECT_EQ(play.stage.m_Pictures.size(), 1u);
    EXPECT_TRUE(play.world.events.Texts(EventKind::Sound).empty());
  }
  ReleaseShownSurfaces();

  Play play(1, FlowDef(FLOWTRIGGER_NONE)
                   .Command(Message("key", MESSAGEDISPLAY_KEY))
                   .Command(Picture(0))
                   .Command(CommandDef(ACTCMDTYPE_PLAY_EFFECT).Param(0, 1).Param(7, 1))
                   .Command(CommandDef(ACTCMDTYPE_GAME_WAIT).Param(0, 1)));
  WritePicture();
  Database.m_vEffect.resize(2);
  play.stage.m_bCloseRequested = 1;
  play.Run(4);
  EXPECT_TRUE(play.stage.waits.empty()) << "the loop ends at once";
  EXPECT_TRUE(play.stage.m_Messages.empty()) << "the game wait's entry went with it";
  EXPECT_TRUE(play.stage.m_Pictures.empty());
  EXPECT_TRUE(play.stage.m_Effects.empty());
  EXPECT_TRUE(play.world.events.Texts(EventKind::Sound).empty());
}

// The stage drawing removes a window whose character is gone; the message
// that waited for it then has nothing left to remove, and the window before
// it stays.
TEST_F(PauseWaits, AfterItsWaitAMessageRemovesOnlyItsOwnWindow) {
  cEdCommand onHero = Message("on the hero", MESSAGEDISPLAY_KEY);
  onHero.m_vParams.At(0) = 4;  // above the hero, and there is none
  Play play(1, FlowDef(FLOWTRIGGER_NONE).Command(onHero));
  cEdCommand before = Message("before", MESSAGEDISPLAY_STAGE);
  CmdMessage(*play.chara, before, 0);
  play.stage.keys.Idle(12).Hold(0, 1);
  play.stage.drawing = [&] {
    for (auto it = play.stage.m_Messages.begin(); it != play.stage.m_Messages.end();)
      it = it->Draw(&BackBuffer, 1) ? play.stage.m_Messages.erase(it) : std::next(it);
  };
  play.Run(1);
  ASSERT_EQ(play.stage.waits.size(), 1u);
  ASSERT_EQ(play.stage.m_Messages.size(), 1u);
  EXPECT_EQ(play.stage.m_Messages.front().m_strText, "before");
  EXPECT_EQ(Off_Msg.size(), 1u);
  EXPECT_EQ(play.stage.m_Messages.front().m_lpSurface, &Off_Msg.front());
}

}  // namespace
