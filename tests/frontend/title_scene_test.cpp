// The title screen on the sample: what each menu entry makes of the play
// kind, the ranking flag, the next scene and the progress record; the save
// slot list of a continued story; where the cursor starts; the size of the
// text menu and the strips of a graphic one; and the two fresh starts of a
// run (a new story, a stage file).
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <tuple>
#include <string>
#include <vector>

#include "base/window_messages.h"
#include "front_end_rig.h"
#include "frontend/scene_title.h"
#include "game/menu_cursor.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/close_request.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "records/new_run.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/world_map.h"
#include "support/start_project.h"

using testsupport::Sjis;

namespace {

// A stage of the sample and its base form.
const char kStage[] = "data\\stg4\\c01-1.stg4_000";
const char kStageBase[] = "data\\stg4\\c01.";

}  // namespace

class TitleScreen : public frontendtest::FrontEnd {
 protected:
  void Open(const Start& start = Start()) {
    StartProgram(start);
    Game.m_nFadeStep = 45;  // fades of three frames
    SystemData.m_vStartLives = cVector<int32_t>{5, 3, 2, 9};
    SystemData.m_vInfiniteLives = cVector<int32_t>{0, 0, 0, 0};
    // Each kind's own flag; a neighbour's differs from it somewhere.
    const int ranking[] = {1, 0, 0, 1};
    for (int k = 0; k < 4; ++k) SystemData.m_vRankingModes.At(k).m_bRanking = ranking[k];
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();  // the menu's first frame
    TakeRequests();
  }
  // The title entered afresh, as after another screen.
  void Reopen() {
    Game.m_nScene = SCENE_STAGESELECT;  // no scene of that number yet: the title goes
    Frame();
    ASSERT_EQ(Running<cSceneTitle>(), nullptr);
    Game.m_nScene = SCENE_TITLE;
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();
    TakeRequests();
  }
  // Moves the hand to `row` and decides.
  void Choose(int row) {
    for (int i = 0; i < 8 && MenuCursor.Cur()->nRow != row; ++i) Tap(VK_DOWN);
    ASSERT_EQ(MenuCursor.Cur()->nRow, row);
    Decide();
  }
  // The decision's frame alone (a short fade-out may end on the next).
  void Decide() {
    m_keys.Press('Z');
    Frame();
    m_keys.Release('Z');
  }
  // A progress record that no choice leaves alone unnoticed.
  static void DirtyProgress() {
    PlayData.Reset();
    PlayData.m_nTotalScore = 4242;
    PlayData.m_nLives = 7;
    PlayData.m_strStagePath = "old.";
    PlayData.m_nSlot = 40;
  }
  static cSceneTitle& Scene() { return *Running<cSceneTitle>(); }
};

TEST_F(TitleScreen, EachEntrySetsThePlayAndLeavesOrStays) {
  Open();
  EXPECT_EQ(plat::CloseRequestCount(), 0u) << "GameMode.bmp is not needed by a text menu";
  struct Case {
    const char* what;
    int mode;
    std::vector<std::string> files;  // the open dialog's answers
    bool challengeFile;
    int kind;   // -1: not set
    int next;   // -1: stays in the menu
    std::vector<std::string> requests;
    // The progress record afterwards.
    int32_t score, lives;
    std::string stagePath;
    int32_t challengeBest;  // of challenge stage 1; -1: no list
  };
  const Case cases[] = {
      {"new story", GAMEMODE_NEWSTORY, {}, false, PLAYKIND_STORY, SCENE_WORLDMAP, {"sound 1"}, 0, 4, "", -1},
      {"challenge, first time", GAMEMODE_CHALLENGE, {}, false, PLAYKIND_CHALLENGE, SCENE_STAGESELECT,
       {"sound 1"}, 0, 0, "", 0},
      {"challenge, played before", GAMEMODE_CHALLENGE, {}, true, PLAYKIND_CHALLENGE, SCENE_STAGESELECT,
       {"sound 1"}, 0, 6, "", 900},
      {"free play of a chosen stage", GAMEMODE_FREE, {kStage}, false, PLAYKIND_FREE, SCENE_STAGE,
       {"sound 1", "stage"}, 0, 1, kStageBase, -1},
      {"free play cancelled", GAMEMODE_FREE, {""}, false, PLAYKIND_FREE, -1, {"sound 1", "stage"}, 4242, 7, "old.",
       -1},
      {"replay cancelled", GAMEMODE_REPLAY, {""}, false, PLAYKIND_REPLAY, -1, {"sound 1", "replay"}, 4242, 7,
       "old.", -1},
      {"options", GAMEMODE_OPTION, {}, false, -1, SCENE_OPTION, {"sound 1"}, 4242, 7, "old.", -1},
      {"exit", GAMEMODE_EXIT, {}, false, -1, -1, {"sound 1"}, 4242, 7, "old.", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.challengeFile) {
      PlayData.Reset();
      PlayData.m_nLives = 6;
      PlayData.m_vChallenge.resize(SystemData.m_nChallengeStages);
      PlayData.m_vChallenge.At(1).m_nBestScore = 900;
      ASSERT_TRUE(PlayData.SaveChallenge());
    }
    DirtyProgress();
    Game.m_nPlayKind = -1;
    Game.m_bRanking = -1;
    Game.m_nNextScene = -1;
    plat::ResetCloseRequests();
    m_dialogs.files = c.files;
    Choose(c.mode);
    EXPECT_EQ(Game.m_nPlayCommand, c.mode);
    EXPECT_EQ(Game.m_nPlayKind, c.kind);
    EXPECT_EQ(Game.m_bRanking, c.kind < 0 ? -1 : SystemData.m_vRankingModes.At(c.kind).m_bRanking);
    if (c.next < 0) {
      EXPECT_EQ(Phase(), 1);
    } else {
      EXPECT_EQ(Phase(), 3);
      EXPECT_EQ(Game.m_nNextScene, c.next);
    }
    EXPECT_EQ(TakeRequests(), c.requests);
    EXPECT_EQ(plat::CloseRequestCount(), c.mode == GAMEMODE_EXIT ? 1u : 0u);
    EXPECT_EQ(std::make_tuple(PlayData.m_nTotalScore, PlayData.m_nLives, PlayData.m_strStagePath),
              std::make_tuple(c.score, c.lives, c.stagePath));
    if (c.challengeBest >= 0) {
      ASSERT_EQ(PlayData.m_vChallenge.Size(), SystemData.m_nChallengeStages);
      EXPECT_EQ(PlayData.m_vChallenge.At(1).m_nBestScore, c.challengeBest);
    }
    // The close request of the last case stays unserved.
    if (&c != &cases[std::size(cases) - 1]) ASSERT_NO_FATAL_FAILURE(Reopen());
  }
}

TEST_F(TitleScreen, ARequestWhoseWaitEndsByClosingCountsAsCancelled) {
  Open();
  // The program starts closing while the stage dialog is up; the dialog's
  // handler never reports back.
  plat::WindowProc served;
  served = plat::SetWindowProc(
      hWndMain.load(), [&](plat::WindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) -> intptr_t {
        if (msg != WM_GAME_OPENSTAGE && msg != WM_GAME_OPENREPLAY) return served(w, msg, wParam, lParam);
        FileDlgResult = 1;
        bQuit = 1;
        return 0;
      });
  for (int mode : {GAMEMODE_FREE, GAMEMODE_REPLAY}) {
    Choose(mode);
    EXPECT_EQ(Phase(), 1) << "mode " << mode;
    bQuit = 0;
  }
  plat::SetWindowProc(hWndMain.load(), served);
}

TEST_F(TitleScreen, AContinuedStoryChoosesAUsedSlotFromTheList) {
  Open();
  PlayData.Reset();
  PlayData.m_nTotalScore = 777;
  ASSERT_TRUE(PlayData.SaveSlot(1));
  ASSERT_TRUE(PlayData.SaveSlot(2));
  DirtyProgress();
  const std::string slot3 = Read("user_data/story/Story03.dat");

  Choose(GAMEMODE_CONTINUE);
  EXPECT_EQ(Game.m_nPlayKind, PLAYKIND_STORY);
  EXPECT_EQ(Phase(), 2);
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 2);
  Frame();
  Frame();
  EXPECT_EQ(std::make_tuple(SlotSummary[0].m_bUsed, SlotSummary[1].m_bUsed, SlotSummary[2].m_bUsed),
            std::make_tuple(0, 1, 1))
      << "the list scans the slots";
  EXPECT_EQ(Scene().m_nListRows, 10);
  EXPECT_EQ(std::make_pair(MenuCursor.Cur()->nX, MenuCursor.Cur()->nY), std::make_pair(152, 160));
  TakeRequests();

  Tap('Z');  // slot 1 is empty
  EXPECT_EQ(TakeSounds(), std::vector<int>{3});
  EXPECT_EQ(Phase(), 2);

  // Slot 3, damaged after the scan: refused, shown unused from now on.
  Write("user_data/story/Story03.dat", slot3.substr(0, slot3.size() / 2));
  Tap(VK_DOWN);
  Tap(VK_DOWN);
  Tap('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{3});
  EXPECT_EQ(Phase(), 2);
  EXPECT_EQ(SlotSummary[2].m_bUsed, 0);
  EXPECT_EQ(std::make_pair(PlayData.m_nTotalScore, PlayData.m_nSlot), std::make_pair(4242, 40));

  // Cancel gives the title menu back on its row.
  Tap('X');
  EXPECT_EQ(TakeSounds(), std::vector<int>{2});
  EXPECT_EQ(Phase(), 1);
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  EXPECT_EQ(MenuCursor.Cur()->nRow, GAMEMODE_CONTINUE);

  Choose(GAMEMODE_CONTINUE);
  Frame();
  Tap(VK_DOWN);
  Decide();
  EXPECT_EQ(TakeSounds(), (std::vector<int>{1, 1}));
  EXPECT_EQ(Phase(), 3);
  EXPECT_EQ(Game.m_nNextScene, SCENE_WORLDMAP);
  EXPECT_EQ(std::make_pair(PlayData.m_nTotalScore, PlayData.m_nSlot), std::make_pair(777, 1));
}

TEST_F(TitleScreen, TheCursorStartsOnTheLastModeWhenItIsShown) {
  Open();
  struct Case {
    std::vector<int> visible;
    int lastMode;
    int items, row;
  };
  const Case cases[] = {
      {{1, 1, 1, 1, 1, 1, 1}, 3, 7, 3},
      {{0, 1, 0, 1, 0, 0, 1}, 3, 3, 1},  // its place among the shown ones
      {{0, 1, 0, 1, 0, 0, 1}, 0, 3, 0},  // hidden: the raw mode, a row that exists
      {{0, 1, 0, 1, 0, 0, 1}, 5, 3, 0},  // hidden: the raw mode wraps to the first row
      {{0, 0, 0, 0, 0, 1, 0}, 2, 1, 0},  // options alone
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 7; ++i) SystemData.m_vTitleMenu.At(i).m_bVisible = c.visible[i];
    Game.m_nPlayCommand = c.lastMode;
    ASSERT_NO_FATAL_FAILURE(Reopen());
    EXPECT_EQ(Scene().m_nItems, c.items) << "last mode " << c.lastMode;
    EXPECT_EQ(MenuCursor.Cur()->nRow, c.row) << "last mode " << c.lastMode;
    EXPECT_EQ(std::make_pair(MenuCursor.Cur()->nX, MenuCursor.Cur()->nY), std::make_pair(192, 240 + 32 * c.row));
  }
}

TEST_F(TitleScreen, TheTextMenuIsAsWideAsItsLongestShownLabel) {
  Open();
  struct Case {
    std::vector<std::string> labels;  // entries 0.. ; "" hides the entry
    int width, height;
  };
  const std::string wide8 = Sjis("ＡＡＡＡＡＡＡＡ");
  const Case cases[] = {
      {{Sjis("ＡＢＣ"), "ab"}, 32 * 3 + 34, 32 * 2 + 2},               // a double-byte character counts one
      {{Sjis("ＡＢＣ"), "abcd", ""}, 32 * 4 + 34, 32 * 2 + 2},
      {{"", Sjis("ａｂ") + "cd" + Sjis("ｅ"), "x"}, 32 * 5 + 34, 32 * 2 + 2},  // mixed
  };
  for (const Case& c : cases) {
    for (int i = 0; i < 7; ++i) {
      cEdSystemText& entry = SystemData.m_vTitleMenu.At(i);
      const bool shown = i < static_cast<int>(c.labels.size()) && !c.labels[i].empty();
      entry.m_bVisible = shown;
      entry.m_strText = shown ? c.labels[i] : wide8;  // hidden labels count for nothing
    }
    ASSERT_NO_FATAL_FAILURE(Reopen());
    ASSERT_EQ(Off_Scene.Size(), 1);
    EXPECT_EQ(std::make_pair(Off_Scene[0].nWidth, Off_Scene[0].nHeight), std::make_pair(c.width, c.height));
    EXPECT_EQ(Off_SceneDef.At(0).bColorKey, 1);
  }
}

TEST_F(TitleScreen, TheGraphicMenuShowsEachRowsStripOfGameModeBmp) {
  // 96 x 224: the strip of entry id i is 32 rows of colour 100 + i, with a
  // mark in its own column so that no two strips are alike.
  StartProgram();
  Write("bmp/GameMode.bmp", testsupport::IndexedBmpBytes(96, 224, [](int x, int y) {
          return static_cast<uint8_t>(x == y / 32 ? 200 : 100 + y / 32);
        }));
  SystemData.m_bGraphicTitleMenu = 1;
  for (int i = 0; i < 7; ++i) SystemData.m_vTitleMenu.At(i).m_bVisible = i == 1 || i == 4 || i == 6;
  Game.m_nPlayCommand = GAMEMODE_REPLAY;
  ASSERT_TRUE(RunUntilPhase(1));
  Frame();

  EXPECT_EQ(TitleMenuAnchor.nX, 288 - 96 / 2);
  DDSURFACEDATA& menu = Off_Scene.At(0);
  EXPECT_EQ(std::make_pair(menu.nWidth, menu.nHeight), std::make_pair(96 + 32, 32 * 3 + 2));
  DDSURFACEDATA& strips = SurfaceTable[48];
  const int ids[] = {1, 4, 6};
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(frontendtest::Pixels(&menu, 32, 32 * row, 96, 32), frontendtest::Pixels(&strips, 0, 32 * ids[row], 96, 32))
        << "row " << row;
  // The hand's column and the bottom edge are left transparent.
  DDSURFACEDATA clear;
  ASSERT_TRUE(DDCreateSurface(&clear, 32, menu.nHeight, 1, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  DDFillSurface(&clear, 0);
  EXPECT_EQ(frontendtest::Pixels(&menu, 0, 0, 32, menu.nHeight), frontendtest::Pixels(&clear, 0, 0, 32, menu.nHeight));
  DDReleaseSurface(&clear);
  // On the screen the menu stands at its anchor; the hand is on row 1 (replay).
  EXPECT_EQ(frontendtest::Pixels(&BackBuffer, 240 + 32, 240 + 32, 96, 32), frontendtest::Pixels(&strips, 0, 32 * 4, 96, 32));
  EXPECT_EQ(std::make_pair(MenuCursor.Cur()->nX, MenuCursor.Cur()->nY), std::make_pair(240, 272));
}

TEST_F(TitleScreen, ARunStartsWithItsKindsLives) {
  StartProgram();
  struct Case {
    const char* what;
    bool stageFile;  // else a new story
    int testPlay, infinite, startLives;
    int32_t expStart, expLives;
  };
  const Case cases[] = {
      {"story", false, 0, 0, 5, 5, 4},  // the life in play is not counted
      {"story, infinite", false, 0, 1, 5, LIVES_INFINITE, LIVES_INFINITE},
      {"story, test play set", false, 1, 0, 5, 5, 4},
      {"stage file", true, 0, 0, 3, 3, 2},
      {"stage file, infinite", true, 0, 1, 3, LIVES_INFINITE, LIVES_INFINITE},
      {"stage file in test play", true, 1, 0, 3, LIVES_INFINITE, LIVES_INFINITE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int kind = c.stageFile ? PLAYKIND_FREE : PLAYKIND_STORY;
    SystemData.m_vInfiniteLives.At(kind) = c.infinite;
    SystemData.m_vStartLives.At(kind) = c.startLives;
    bTestPlay = c.testPlay;
    DirtyProgress();
    PlayData.m_nMapX = PlayData.m_nMapY = 1;
    PlayData.m_nRound = 3;
    if (c.stageFile) {
      ASSERT_TRUE(StartFromStageFile(kStage, 0));
      EXPECT_EQ(std::make_tuple(PlayData.m_nStageNo, PlayData.m_nAreaNo, PlayData.m_strStagePath),
                std::make_tuple(1, 1, std::string(kStageBase)));
      EXPECT_EQ(PlayData.m_nRound, 0);
    } else {
      NewStory();
      EXPECT_EQ(std::make_tuple(PlayData.m_nMapX, PlayData.m_nMapY, PlayData.m_nRound),
                std::make_tuple(WorldMap.m_nStartX, WorldMap.m_nStartY, 0));
    }
    bTestPlay = 0;
    EXPECT_EQ(std::make_pair(PlayData.m_nStartLives, PlayData.m_nLives), std::make_pair(c.expStart, c.expLives));
    EXPECT_EQ(std::make_tuple(PlayData.m_nTotalScore, PlayData.m_nSlot, PlayData.m_strRankingName),
              std::make_tuple(0, -1, std::string("aaa")));
    EXPECT_EQ(PlayData.m_vStageClear.At(0), 1);
  }
  // The newest numbered file of a name.
  ASSERT_TRUE(StartFromStageFile("data\\stg4\\c02-1.stg4", 1));
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c02.");
}

TEST_F(TitleScreen, AStageFileThatIsNotLoadedLeavesTheProgressAlone) {
  StartProgram();
  std::string tooLong = "data\\stg4\\";
  tooLong += std::string(259 - tooLong.size() - 5, 'a') + ".stg4";
  ASSERT_EQ(tooLong.size(), 259u);
  struct Case {
    const char* what;
    std::string path;
    bool refusedForLength;
  };
  const Case cases[] = {
      {"a missing file", "data\\stg4\\none-1.stg4_000", false},
      {"259 bytes: looked for", tooLong, false},
      {"260 bytes: refused whole", tooLong + "x", true},
      {"much longer, with a real stage at its start", std::string(kStage) + std::string(400, 'x'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DirtyProgress();
    const size_t before = Report().size();
    EXPECT_FALSE(StartFromStageFile(c.path.c_str(), 0));
    EXPECT_EQ(std::make_tuple(PlayData.m_nTotalScore, PlayData.m_nLives, PlayData.m_strStagePath),
              std::make_tuple(4242, 7, std::string("old.")));
    const bool reported = Report().find("more than 259 bytes", before) != std::string::npos;
    EXPECT_EQ(reported, c.refusedForLength);
  }
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(TitleScreen, AStartStageIsPlayedFreeWithoutTheStageSelectFlag) {
  Start start;
  start.freeStage = "data\\stg4\\c01-1.stg4";
  StartProgram(start);
  EXPECT_EQ(Game.m_nScene, SCENE_STAGE);
  EXPECT_EQ(std::make_tuple(Game.m_nPlayKind, Game.m_nPlayCommand, Game.m_nPrevScene),
            std::make_tuple(PLAYKIND_FREE, GAMEMODE_FREE, SCENE_TITLE));
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c01.");
  EXPECT_EQ(PlayData.m_bNumberedStage, 0) << "the path's area suffix set it; the start clears it";
  EXPECT_EQ(std::make_pair(PlayData.m_nStartLives, PlayData.m_nLives), std::make_pair(LIVES_INFINITE, LIVES_INFINITE));
}
