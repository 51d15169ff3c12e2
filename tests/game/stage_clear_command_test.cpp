// The stage-clear command: the next area or stage file it asks for, the
// world-map position it stores (inside the map), the next area's hero start,
// the box of a stage file without a name, and the clear request it raises
// from a running flow.
#include <gtest/gtest.h>

#include "command_test_env.h"
#include "game/other_commands.h"
#include "platform/message_box.h"
#include "records/save_data.h"
#include "records/world_map.h"
#include "support/test_support.h"

using namespace cmdtest;

TEST(StageClearCommand, ItNamesTheNextAreaOrFileAndStoresMapPositionAndHeroStart) {
  struct Case {
    const char* name;
    std::vector<int32_t> p;  // p0..p8
    const char* text;
    int nextArea;
    std::string nextFile;
    int mapX, mapY, walkDir;       // progress record afterwards
    int heroStart, startX, startY, startDir;
    bool box;
    int mapWidth = 20, mapHeight = 15;  // of the world map
  } cases[] = {
      {"next area", {0}, "", 5, "", 2, 3, 3, 0, 0, 0, 0, false},
      {"area p1", {1, 9}, "", 9, "", 2, 3, 3, 0, 0, 0, 0, false},
      {"stage file", {2}, "data\\stg4\\boss.stg4_000", 4, "data\\stg4\\boss.", 2, 3, 3, 0, 0, 0, 0, false},
      {"stage file without extension", {2}, "data\\stg4\\boss", 4, "data\\stg4\\boss.", 2, 3, 3, 0, 0, 0, 0, false},
      {"stage file without a name", {2}, "", 4, "", 2, 3, 3, 0, 0, 0, 0, true},
      {"world cleared", {3}, "", 0, "", 2, 3, 3, 0, 0, 0, 0, false},
      {"unknown mode", {4}, "", 42, "old.", 2, 3, 3, 0, 0, 0, 0, false},
      {"map position", {0, 0, 1, 7, 8}, "", 5, "", 7, 8, 0, 0, 0, 0, 0, false},
      {"map position kept inside", {0, 0, 1, 25, -3}, "", 5, "", 19, 0, 0, 0, 0, 0, 0, false},
      {"map position far past", {0, 0, 1, -9, 100000}, "", 5, "", 0, 14, 0, 0, 0, 0, 0, false},
      {"inside a small map", {0, 0, 1, 7, 8}, "", 5, "", 4, 2, 0, 0, 0, 0, 0, false, 5, 3},
      {"a map without cells", {0, 0, 1, 7, 8}, "", 5, "", 0, 0, 0, 0, 0, 0, 0, false, 0, 0},
      {"hero start", {0, 0, 0, 0, 0, 1, 6, 2, 0}, "", 5, "", 2, 3, 3, 1, 6, 2, 0, false},
      {"hero start facing as now", {0, 0, 0, 0, 0, 1, 6, 2, 2}, "", 5, "", 2, 3, 3, 1, 6, 2, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    BuildRoom();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Facing(1), {2, 2});
    WorldMap.m_nWidth = c.mapWidth;
    WorldMap.m_nHeight = c.mapHeight;
    PlayData.m_nAreaNo = 4;
    PlayData.m_nMapX = 2;
    PlayData.m_nMapY = 3;
    PlayData.m_nWalkDir = 3;
    PlayData.m_bHeroStart = 1;  // an earlier clear's start goes unless this one sets it
    world.Scene().m_nNextStage = 42;
    world.Scene().m_strNextStage = "old.";
    if (c.box) world.events.ExpectBoxes({plat::BOX_OK});
    cEdCommand command = Action(ACTCMDTYPE_STAGE_CLEAR);
    for (size_t i = 0; i < c.p.size(); ++i) command.m_vParams[static_cast<int>(i)] = c.p[i];
    command.m_strText = c.text;
    EXPECT_EQ(CmdStageClear(hero, command), 1);
    EXPECT_EQ(world.Scene().m_nNextStage, c.nextArea);
    EXPECT_EQ(world.Scene().m_strNextStage, c.nextFile);
    EXPECT_EQ(PlayData.m_nMapX, c.mapX);
    EXPECT_EQ(PlayData.m_nMapY, c.mapY);
    EXPECT_EQ(PlayData.m_nWalkDir, c.walkDir);
    EXPECT_EQ(PlayData.m_bHeroStart, c.heroStart);
    if (c.heroStart) {
      EXPECT_EQ(PlayData.m_nHeroStartX, c.startX);
      EXPECT_EQ(PlayData.m_nHeroStartY, c.startY);
      EXPECT_EQ(PlayData.m_nHeroStartDir, c.startDir);
    }
    const std::vector<std::string> boxes = world.events.Texts(EventKind::Box);
    if (c.box) {
      // "ステージファイル  が不正です。\nステージファイルとして認識できません。"
      EXPECT_EQ(boxes, (std::vector<std::string>{Sjis("ステージファイル  が不正です。\nステージファイルとして認識できません。")}));
    } else {
      EXPECT_TRUE(boxes.empty());
    }
  }
  WorldMap = cEdWorldMap();
}

TEST(StageClearCommand, AFlowsClearRaisesTheStagesClearRequest) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    BuildRoom();
    cChara& chara = world.AddChara(
        CharaDef().Flow(FlowDef().Command(Action(ACTCMDTYPE_WAIT).UseTime(1)).Command(Action(ACTCMDTYPE_STAGE_CLEAR, {1, 3}))),
        {5, 5});
    Settle(world);
    PlayFlowFrames(world, 6, {&chara});
    EXPECT_EQ(world.Scene().m_nCommandResult, STAGERESULT_NONE) << "S " << level;
    PlayFlowFrames(world, 1, {&chara});
    EXPECT_EQ(world.Scene().m_nCommandResult, STAGERESULT_CLEAR) << "S " << level;
    EXPECT_EQ(world.Scene().m_nNextStage, 3);
  }
}
