// The play-test harness itself: a world rebuilt from nothing, the map from
// text, scripted input reaching the run histories, and the event log with
// its frame and step, its box answers and its failures.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "base/report_log.h"
#include "base/window_messages.h"
#include "base/boxes.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/map_cells.h"
#include "media/input.h"
#include "platform/close_request.h"
#include "platform/message_box.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/scripted_input.h"

using namespace testsupport;

TEST(Harness, TheMapFromTextWithItsAxesAndMarks) {
  GameWorld world(3);
  MapBuilder map({"..H.....e.", "....e.....", "##X3######"});
  map.Build();
  const cScrollAxis& x = world.Scene().m_ScrollX;
  const cScrollAxis& y = world.Scene().m_ScrollY;
  EXPECT_EQ(x.m_nCells, 30);
  EXPECT_EQ(x.m_nShift, 5);  // 10 + 19 = 29 has 5 significant bits
  EXPECT_EQ(x.m_nPitch, 32);
  EXPECT_EQ(x.m_nDefaultMax, 640);
  EXPECT_EQ(x.m_nActiveSize, 960);
  EXPECT_EQ(y.m_nCells, 23);
  EXPECT_EQ(y.m_nPitch, 23);
  EXPECT_EQ(y.m_nActiveSize, 736);
  EXPECT_EQ(MapCell.Size(), 32 * 23);
  EXPECT_EQ(GetHitAttr(CellAt(10, 12), 0), 1);
  EXPECT_EQ(GetHitAttr(CellAt(12, 12), 0), 2);
  EXPECT_EQ(GetHitAttr(CellAt(13, 12), 3), 0);
  EXPECT_EQ(GetHitAttr(CellAt(12, 10), 0), 0);
  EXPECT_EQ(map.Find('H'), (Cell{2, 0}));
  EXPECT_EQ(map.FindAll('e'), (std::vector<Cell>{{8, 0}, {4, 1}}));
  EXPECT_EQ(map.Find('z'), (Cell{-1, -1}));
  EXPECT_EQ(Stage.m_nStepsPerFrame, 3);
  // The placements a stage set-up reads.
  ASSERT_EQ(Stage.m_vPlacedBlock.Size(), 10);
  EXPECT_EQ(Stage.m_vPlacedBlock[2].m_nX, 2);
  EXPECT_EQ(Stage.m_vPlacedBlock[2].m_nY, 2);
  EXPECT_EQ(Stage.m_vPlacedBlock[2].m_nHit, BLOCKHIT_DEADLY);
  EXPECT_EQ(map.PlaceCharas('e', CharaDef().Hp(3)), 2);
  ASSERT_EQ(Stage.m_vPlacedChara.Size(), 2);
  EXPECT_EQ(Stage.m_vPlacedChara[1].m_nX, 4);
  EXPECT_EQ(Stage.m_vPlacedChara[1].m_nY, 1);
  EXPECT_EQ(Stage.m_vPlacedChara[1].m_nMaxHp, 3);
  EXPECT_EQ(map.PlaceItems('H', cEdItem()), 1);
  EXPECT_EQ(Stage.m_vPlacedItem[0].m_nX, 2);
}

TEST(Harness, ScriptedInputReachesTheRunHistories) {
  GameWorld world;
  ScriptedInput keys;
  keys.Hold(INPUT_RIGHT, 0, 3).Hold(INPUT_RIGHT, 1, 2).Idle(1);
  EXPECT_EQ(keys.Remaining(), 6);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(keys.Feed());
  const cInput& input = Input.At(0);
  EXPECT_EQ(input.m_wDir, INPUT_RIGHT);
  EXPECT_EQ(input.m_nDirNumber, 6);
  EXPECT_EQ(input.m_vDirRuns[2][0].bOn, 1);  // right, exactly
  EXPECT_EQ(input.m_vDirRuns[2][0].nFrames, 5);
  EXPECT_EQ(input.m_vButtonRuns[1][0].bOn, 1);  // button 1
  EXPECT_EQ(input.m_vButtonRuns[1][0].nFrames, 2);
  EXPECT_EQ(input.m_vButtonRuns[1][1].nFrames, 3);
  EXPECT_EQ(input.GetHistory(1, 2), 0);
  ASSERT_TRUE(keys.Feed());
  EXPECT_FALSE(keys.Feed());  // over: nothing held
  EXPECT_EQ(Input.At(0).m_vDirRuns[0][0].nFrames, 2);
}

TEST(Harness, EventsCarryTheirFrameAndStep) {
  GameWorld world(2);
  MapBuilder({"...."}).Build();
  cChara& c = world.AddChara(CharaDef(), {1, 0});
  world.events.Clear();
  world.RunFrame([&](int step) {
    if (step == 1) c.HitCeiling();
    plat::Send(hWndMain, WM_GAME_PLAYSE, 9, 0);
  });
  world.RunFrame([&](int step) { DebugLogPrintf("step %d", step); });
  const std::string id = std::to_string(c.m_nId);
  const std::vector<GameEvent> expected{
      {1, 1, EventKind::Sound, "9"},           {1, 2, EventKind::Trigger, "9 " + id},
      {1, 2, EventKind::Trigger, "13 " + id},  {1, 2, EventKind::Trigger, "14 " + id},
      {1, 2, EventKind::Sound, "9"},           {2, 1, EventKind::Log, "step 0"},
      {2, 2, EventKind::Log, "step 1"},
  };
  const std::vector<GameEvent> events = world.events.Take();
  ASSERT_EQ(events.size(), expected.size());
  for (size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i], expected[i]) << ToString(events[i]);
}

TEST(Harness, BoxesAreAnsweredAsExpectedAndAnythingElseFails) {
  GameWorld world;
  world.events.ExpectBoxes({plat::BOX_NO});
  plat::BoxRequest box;
  box.text = "first";
  EXPECT_EQ(plat::ShowBox(box), plat::BOX_NO);
  box.text = "second";
  EXPECT_NONFATAL_FAILURE(plat::ShowBox(box), "unexpected box: second");
  EXPECT_NONFATAL_FAILURE(plat::RequestClose(), "unexpected close request");
  world.events.AllowCloseRequests(true);
  plat::RequestClose();
  EXPECT_EQ(world.events.Texts(EventKind::Box), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 2u);
}

TEST(Harness, TheWorldIsRebuiltFromNothing) {
  {
    GameWorld world(5, 0.7);
    MapBuilder({"#"}).Build();
    world.AddHero(CharaDef().PlayerOperated(), {0, 0});
    world.AddChara(CharaDef(), {0, 0});
    EXPECT_EQ(CurStage, &world.Scene());
  }
  EXPECT_EQ(CurStage, nullptr);
  EXPECT_TRUE(Player.empty());
  EXPECT_TRUE(CharaList.empty());
  EXPECT_TRUE(MapCell.empty());
  GameWorld again;
  EXPECT_EQ(Stage.m_nStepsPerFrame, 1);
  EXPECT_EQ(Stage.m_dGravityPerStep, 0.4);
  EXPECT_EQ(again.Scene().m_nCharaSerial, 0);
}
