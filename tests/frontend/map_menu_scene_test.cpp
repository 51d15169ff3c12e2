// The map menu on the sample: back to the map, the slot list and its save,
// the automatic-save switch and its notice without a slot, back to the
// title, and the best-score total line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "front_end_rig.h"
#include "frontend/scene_map_menu.h"
#include "game/menu_cursor.h"
#include "platform/local_time.h"
#include "platform/virtual_keys.h"
#include "records/new_run.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/system.h"
#include "support/recording_renderer.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

const plat::SYSTEMTIME kNow = {2031, 5, 2, 6, 7, 8, 9, 0};

}  // namespace

class MapMenuScreen : public frontendtest::FrontEnd {
 protected:
  // The menu entered from the map with a story in slot `slot` (-1 none).
  void Open(int32_t slot = -1, int32_t autoSave = 0) {
    StartProgram();
    Game.m_nFadeStep = 45;
    for (int i = 0; i < 4; ++i) SystemData.m_vMapMenu.At(i).m_bVisible = 1;
    NewStory();
    PlayData.m_nSlot = slot;
    PlayData.m_bAutoSave = autoSave;
    PlayData.m_nTotalScore = 555;
    Game.m_nScene = SCENE_MAPMENU;
    Game.m_nPrevScene = SCENE_WORLDMAP;
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();
    TakeRequests();
  }
  void Press(int vk) {
    m_keys.Press(vk);
    Frame();
    m_keys.Release(vk);
  }
  // Moves to menu row `row`, decides, and runs the new phase's first frame.
  void Choose(int row) {
    for (int i = 0; i < 4 && MenuCursor.Cur()->nRow != row; ++i) Tap(VK_DOWN);
    ASSERT_EQ(MenuCursor.Cur()->nRow, row);
    Press('Z');
    Frame();
  }
  static cSceneMapMenu& Scene() { return *Running<cSceneMapMenu>(); }

  plat::FakeLocalTime m_time{kNow};
};

class MapMenuLeaving : public MapMenuScreen, public ::testing::WithParamInterface<bool> {};

TEST_P(MapMenuLeaving, CancelAndTheBackEntryReturnToTheMap) {
  const bool cancel = GetParam();
  Open();
  if (cancel)
    Press('X');
  else
    Choose(MAPMENU_BACK);
  EXPECT_EQ(TakeSounds(), std::vector<int>{cancel ? 2 : 1});
  for (int i = 0; i < 10 && Game.m_nScene == SCENE_MAPMENU; ++i) Frame();
  EXPECT_EQ(Game.m_nScene, SCENE_WORLDMAP);
  EXPECT_EQ(Game.m_nPrevScene, SCENE_MAPMENU);
}

INSTANTIATE_TEST_SUITE_P(CancelOrEntry, MapMenuLeaving, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Cancel" : "BackEntry");
                         });

struct SlotListCase {
  int32_t slot;
  int32_t row, top;
};

class MapMenuSlotList : public MapMenuScreen, public ::testing::WithParamInterface<SlotListCase> {};

TEST_P(MapMenuSlotList, TheSlotListOpensOnTheCurrentSlot) {
  const SlotListCase& c = GetParam();
  Open(c.slot);
  Choose(MAPMENU_SAVE);
  EXPECT_EQ(Phase(), 2);
  EXPECT_EQ(std::make_tuple(MenuCursor.Cur()->nRow, Scene().m_nListTop, Scene().m_nListRows),
            std::make_tuple(c.row, c.top, 10));
  EXPECT_EQ(std::make_pair(MenuCursor.Cur()->nX, MenuCursor.Cur()->nY),
            std::make_pair(152, 160 + 16 * (c.row - c.top)));
}

// No slot: the first slot; slot 43 (index 42): the list starts on it; the
// last slot: the list's last page.
INSTANTIATE_TEST_SUITE_P(Slots, MapMenuSlotList,
                         ::testing::Values(SlotListCase{-1, 0, 0}, SlotListCase{42, 42, 42},
                                           SlotListCase{98, 98, 89}),
                         [](const ::testing::TestParamInfo<SlotListCase>& info) {
                           return info.param.slot < 0 ? std::string("NoSlot") : "Slot" + std::to_string(info.param.slot);
                         });

TEST_F(MapMenuScreen, ASaveShowsItsDateAtOnceAndKeepsTheRow) {
  Open(42);
  Choose(MAPMENU_SAVE);
  Tap(VK_DOWN);  // slot 44
  Press('Z');
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 3);
  Frame();
  EXPECT_EQ(MenuCursor.Cur()->nRow, 1) << "the second choice is preselected";
  Tap(VK_UP);
  TakeSounds();
  Press('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{5});
  EXPECT_EQ(PlayData.m_nSlot, 43);
  ASSERT_TRUE(Exists("user_data/story/Story44.dat"));
  EXPECT_EQ(SlotSummary.At(43).m_bUsed, 1);
  EXPECT_EQ(SlotSummary.At(43).m_Time, kNow);
  EXPECT_EQ(Phase(), 2);
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 2);
  EXPECT_EQ(MenuCursor.Cur()->nRow, 43);

  testsupport::RecordingRenderer rec;
  Frame();
  const std::vector<std::string> calls = rec.Take();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "DrawText F1 Back 216 176 0 2031/05/06 07:08\n"), calls.end());

  cSaveData saved;
  ASSERT_TRUE(saved.LoadSlot(43));
  EXPECT_EQ(saved.m_nTotalScore, 555);
}

TEST_F(MapMenuScreen, DecliningOrCancellingTheSaveWritesNothing) {
  Open();
  Choose(MAPMENU_SAVE);
  for (int answer : {'Z', 'X'}) {
    Frame();  // the key up between two presses
    Press('Z');
    Frame();
    TakeSounds();
    Press(answer);  // row 1, or cancel
    EXPECT_EQ(TakeSounds(), std::vector<int>{answer == 'Z' ? 1 : 2});
    EXPECT_EQ(PlayData.m_nSlot, -1);
    EXPECT_FALSE(Exists("user_data/story/Story01.dat"));
    EXPECT_EQ(MenuCursor.m_Stack.Size(), 2);
    EXPECT_EQ(Phase(), 2);
  }
  Frame();
  Press('X');  // the list closes
  EXPECT_EQ(Phase(), 1);
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  EXPECT_EQ(MenuCursor.Cur()->nRow, MAPMENU_SAVE);
}

TEST_F(MapMenuScreen, ASaveThatCannotBeWrittenChangesNothingAndSaysSo) {
  Open(7);
  std::filesystem::create_directories(GameFolder() + "/user_data/story/Story01.dat");
  Choose(MAPMENU_SAVE);
  for (int i = 0; i < 10; ++i) Tap(VK_UP);  // slot 1
  ASSERT_EQ(MenuCursor.Cur()->nRow, 0);
  Press('Z');
  Frame();
  Tap(VK_UP);
  TakeSounds();
  Press('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{3});
  EXPECT_EQ(PlayData.m_nSlot, 7);
  EXPECT_EQ(SlotSummary.At(0).m_bUsed, 0);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_NE(m_boxes.shown[0].text.find("Story01.dat"), std::string::npos);
  EXPECT_EQ(Phase(), 2);
}

TEST_F(MapMenuScreen, WithoutASlotTheAutoSaveShowsItsNoticeAndChangesNothing) {
  Open();
  Choose(MAPMENU_AUTOSAVE);
  EXPECT_EQ(Scene().m_nSubState, 2);
  TakeSounds();
  Press('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{1});
  EXPECT_EQ(Phase(), 1);
  EXPECT_EQ(PlayData.m_bAutoSave, 0);
  EXPECT_FALSE(std::filesystem::exists(GameFolder() + "/user_data/story/Story01.dat"));
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
}

TEST_F(MapMenuScreen, SwitchingAutoSaveOnWritesASlotThatLoadsWithTheFlagSet) {
  Open(4);
  Choose(MAPMENU_AUTOSAVE);
  EXPECT_EQ(MenuCursor.Cur()->nRow, 1) << "off";
  Tap(VK_UP);
  Press('Z');
  EXPECT_EQ(PlayData.m_bAutoSave, 1);
  EXPECT_EQ(Phase(), 1);
  cSaveData saved;
  ASSERT_TRUE(saved.LoadSlot(4));
  EXPECT_EQ(saved.m_bAutoSave, 1);

  // Off again: the question starts on "on"; nothing is written.
  Frame();
  std::filesystem::remove(GameFolder() + "/user_data/story/Story05.dat");
  Choose(MAPMENU_AUTOSAVE);
  EXPECT_EQ(MenuCursor.Cur()->nRow, 0);
  Tap(VK_DOWN);
  Press('Z');
  EXPECT_EQ(PlayData.m_bAutoSave, 0);
  EXPECT_FALSE(Exists("user_data/story/Story05.dat"));
}

TEST_F(MapMenuScreen, AutoSaveStaysOffWhenTheSlotCannotBeWritten) {
  Open(4);
  std::filesystem::create_directories(GameFolder() + "/user_data/story/Story05.dat");
  Choose(MAPMENU_AUTOSAVE);
  Tap(VK_UP);
  Press('Z');
  EXPECT_EQ(PlayData.m_bAutoSave, 0);
  EXPECT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(Phase(), 1);
}

TEST_F(MapMenuScreen, BackToTheTitleAsksFirst) {
  Open();
  Choose(MAPMENU_TITLE);
  EXPECT_EQ(MenuCursor.Cur()->nRow, 1) << "the second choice is preselected";
  Press('Z');
  EXPECT_EQ(Phase(), 1);
  Frame();
  Choose(MAPMENU_TITLE);
  Tap(VK_UP);
  Press('Z');
  EXPECT_EQ(Phase(), 6);
  EXPECT_EQ(Game.m_nNextScene, SCENE_TITLE);
  for (int i = 0; i < 10 && Game.m_nScene == SCENE_MAPMENU; ++i) Frame();
  EXPECT_EQ(Game.m_nScene, SCENE_TITLE);
}

TEST_F(MapMenuScreen, TheTotalLineShowsAPositiveTotalWhenEnabled) {
  Open();
  SystemData.m_vTexts.At(4) = Sjis("トータル");
  struct Case {
    int enabled;
    int32_t total;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {1, 1234, {"DrawBox F1 Back 256 260 128 16", "DrawText F1 Back 256 260 0 " + Sjis("トータル") + "1234"}},
      {1, 0, {}},
      {0, 1234, {}},
  };
  for (const Case& c : cases) {
    SystemData.m_bMapMenuTotal = c.enabled;
    PlayData.m_nBestTotal = c.total;
    testsupport::RecordingRenderer rec;
    Scene().DrawTotal();
    EXPECT_EQ(rec.Take(), c.calls) << c.enabled << " " << c.total;
  }
}
