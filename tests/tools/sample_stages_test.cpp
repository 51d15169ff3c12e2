// The sample's common palette, world map and stages as the runtime reads them
// after the first start's copy of default\ to data\: each loads without a
// box or a report line and saves back to the same bytes; every stage comes
// through LoadStage with its trailer and a hero that walks and jumps on the
// keys; the stage select's names find every challenge stage; the world map
// leads from its start to both entrances, the second behind the first.
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <set>

#include "base/boxes.h"
#include "base/path_util.h"
#include "records/command_vocab.h"
#include "records/common_palette.h"
#include "records/data_folder.h"
#include "records/database.h"
#include "records/path_table.h"
#include "records/stage_load.h"
#include "records/system.h"
#include "records/world_map.h"
#include "tests/tools/sample_fixture.h"
#include "tools/sample/sample_stages.h"

namespace fs = std::filesystem;
using testsupport::ScriptedBoxes;

namespace {

// The bytes a record's own Save gives now.
std::string Saved(cRecord& record) {
  cDataWriter w;
  record.Save(w);
  return w.Bytes();
}

// The stage-select scene's name of challenge stage n (from 1).
std::string ChallengeName(int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%02d-1.%s", PathTable[37], n, ExtTable[1]);
  return name;
}

class SampleStages : public SampleProject {
 protected:
  // As start-up reads the project: data\ made from default\, the database,
  // System.dat, the common palette and the world map.
  void SetUp() override {
    SampleProject::SetUp();
    if (HasFatalFailure()) return;
    ScriptedBoxes yes({IDYES});
    ASSERT_EQ(PrepareDataFolder(nullptr), 1);
    Database.Reset();
    ASSERT_TRUE(Database.LoadAll());
    ASSERT_EQ(SystemData.LoadFromFile(PathTable[35]), 1);
    ASSERT_EQ(CommonPalette.LoadFromFile(PathTable[7]), 1);
    ASSERT_EQ(WorldMap.LoadFromFile(PathTable[13]), 1);
    EXPECT_EQ(yes.shown.size(), 1u) << "only the question about data\\";
  }

  // LoadStage with the name as the scenes give it: 1, no box, no close request.
  void ExpectLoads(const std::string& name) {
    ScriptedBoxes none;
    EXPECT_EQ(LoadStage(name.c_str(), 1, &StageCopy), 1) << name;
    EXPECT_TRUE(none.shown.empty()) << name;
    EXPECT_EQ(plat::CloseRequestCount(), 0u) << name;
  }
};

}  // namespace

TEST_F(SampleStages, CommonPaletteAndWorldMapLoadAndSaveBackUnchanged) {
  EXPECT_TRUE(Saved(CommonPalette) == Read("data/CommonPalette.cplt4"));
  EXPECT_TRUE(Saved(WorldMap) == Read("data/WorldMap.dat"));

  // Entry 0 of each list stands for none; the definitions follow it.
  EXPECT_EQ(CommonPalette.m_vPaletteBlock.Size(), 3);
  EXPECT_EQ(CommonPalette.m_vPaletteChara.Size(), 3);
  EXPECT_EQ(CommonPalette.m_vPaletteItem.Size(), 2);
  EXPECT_EQ(CommonPalette.m_vPaletteBlock[0].m_nGraphic, 0);
  EXPECT_EQ(WorldMap.m_vNode.Size(), 2);
  EXPECT_EQ(Report(), "");
}

TEST_F(SampleStages, EachStageLoadsWithItsTrailerAndAHeroThatWalksAndJumpsOnTheKeys) {
  struct Flow {
    const char* what;
    int key;          // the one input the key condition asks for
    int bRepeat;      // walks go on while held; a jump once per press
    int commandType;  // ACTCMDTYPE
    int dirCode;      // of the move; -1 none asked
  } flows[] = {
      {"walk left", 1, 1, ACTCMDTYPE_MOVE_STRAIGHT, DIRCODE_LEFT},
      {"walk right", 2, 1, ACTCMDTYPE_MOVE_STRAIGHT, DIRCODE_RIGHT},
      {"jump", 11, 0, ACTCMDTYPE_JUMP, -1},
  };
  for (int n = 0; n < SAMPLE_STAGES; ++n) {
    const std::string name = SampleStageName(n);
    SCOPED_TRACE(name);
    ExpectLoads(name);
    // The newest numbered file of the name is the one the sample wrote.
    EXPECT_EQ(Stage.m_strPath, name + "_000");
    const std::string bytes = Read(HostName(Stage.m_strPath));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\x15\xCD\x5B\x07") << "the trailer";
    EXPECT_TRUE(Saved(Stage) == bytes) << "read as written";
    EXPECT_EQ(StageCopy.m_strName, Stage.m_strName);
    EXPECT_EQ(StageCopy.m_vPlacedChara.Size(), 0);

    const int h = Stage.FindHero();
    ASSERT_GE(h, 0);
    const cEdChara& hero = Stage.m_vPlacedChara[h];
    EXPECT_NE(hero.m_nGraphic, 0);
    EXPECT_EQ(hero.m_nOperator, 0);
    ASSERT_EQ(hero.m_vFlows.Size(), 3);
    for (int f = 0; f < 3; ++f) {
      const cEdFlow& flow = hero.m_vFlows[f];
      SCOPED_TRACE(flows[f].what);
      EXPECT_EQ(flow.m_nTrigger, FLOWTRIGGER_ALWAYS);
      EXPECT_EQ(flow.m_bKeyRepeat, flows[f].bRepeat);
      ASSERT_EQ(flow.m_vKeyConditions.Size(), 1);
      const cEdKeyCondition& key = flow.m_vKeyConditions[0];
      ASSERT_EQ(key.m_vKeys.Size(), 19);
      for (int k = 0; k < 19; ++k)
        EXPECT_EQ(key.m_vKeys[k], k == flows[f].key ? KEYSTATE_PRESSED : KEYSTATE_IGNORED) << "input " << k;
      EXPECT_EQ(key.m_bAnyLength, 1);
      ASSERT_EQ(flow.m_vCommands.Size(), 1);
      const cEdCommand& c = flow.m_vCommands[0];
      EXPECT_EQ(c.m_nType, flows[f].commandType);
      if (flows[f].dirCode >= 0) {
        ASSERT_TRUE(c.m_spMove);
        EXPECT_EQ(c.m_spMove->m_nDirCode, flows[f].dirCode);
        EXPECT_GT(c.m_spMove->m_nSpeed, 0);
      } else {
        ASSERT_EQ(c.m_vParams.Size(), 5);
        EXPECT_GT(c.m_vParams[2], 0) << "jump height";
      }
    }

    // Ground under the hero, one enemy, and a goal whose command clears the stage.
    std::set<std::pair<int, int>> solid;
    for (const cEdBlock& b : Stage.m_vPlacedBlock)
      if (b.m_nGraphic != 0 && b.m_nHit == BLOCKHIT_SOLID) solid.insert({b.m_nX, b.m_nY});
    EXPECT_TRUE(solid.count({hero.m_nX, hero.m_nY + 1})) << "ground under the hero";
    int enemies = 0;
    for (const cEdChara& c : Stage.m_vPlacedChara) {
      if (c.m_nOperator != 1) continue;
      ++enemies;
      EXPECT_NE(c.m_nGraphic, 0);
      EXPECT_EQ(c.m_nDropItem, -1) << "the goal is placed by itself";
      EXPECT_TRUE(solid.count({c.m_nX, c.m_nY + 1})) << "ground under the enemy";
      EXPECT_FALSE(c.m_vFlows.empty());
    }
    EXPECT_EQ(enemies, 1);
    ASSERT_EQ(Stage.m_vPlacedItem.Size(), 1);
    const cEdItem& goal = Stage.m_vPlacedItem[0];
    ASSERT_EQ(goal.m_vCommands.Size(), 1);
    EXPECT_EQ(goal.m_vCommands[0].m_bItemCommand, 1);
    EXPECT_EQ(goal.m_vCommands[0].m_nType, ITEMCMDTYPE_STAGE_CLEAR);
    EXPECT_GE(goal.m_nX, 0);
    EXPECT_LT(goal.m_nX, Stage.m_nWidth);
    // Every placement's reference survived the load: nothing was dropped.
    for (const cEdBlock& b : Stage.m_vPlacedBlock) EXPECT_NE(b.m_nPaletteKind, PALETTEKIND_NONE);
    for (const cEdChara& c : Stage.m_vPlacedChara) EXPECT_NE(c.m_nPaletteKind, PALETTEKIND_NONE);
    EXPECT_NE(goal.m_nPaletteKind, PALETTEKIND_NONE);
  }
  EXPECT_EQ(Report(), "");
}

TEST_F(SampleStages, StageSelectNamesFindEveryChallengeStageAndNoMore) {
  const int count = SystemData.m_nChallengeStages;
  EXPECT_EQ(count, SAMPLE_CHALLENGE_STAGES);
  int files = 0;
  for (const auto& e : fs::directory_iterator("data/stg4"))
    if (e.path().filename().string().front() == 'c') ++files;
  EXPECT_EQ(files, count) << "the count names the challenge stages written";
  for (int n = 1; n <= count; ++n) ExpectLoads(ChallengeName(n));
  std::string path;
  EXPECT_EQ(FindNewestVersion(path, ChallengeName(count + 1), ExtTable[1]), 0);
  EXPECT_EQ(Report(), "");
}

TEST_F(SampleStages, WorldMapLeadsFromTheStartToBothEntrancesTheSecondBehindTheFirst) {
  const cEdWorldMap& map = WorldMap;
  auto cell = [&map](int x, int y) { return map.m_vCell[x + (y << map.m_nPitch_Shift)]; };
  // The cells the walker reaches over passable chips, one step at a time;
  // `closed` is a cell it may not enter.
  auto reach = [&](std::pair<int, int> closed) {
    std::set<std::pair<int, int>> seen = {{map.m_nStartX, map.m_nStartY}};
    std::deque<std::pair<int, int>> todo(seen.begin(), seen.end());
    while (!todo.empty()) {
      const auto [x, y] = todo.front();
      todo.pop_front();
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const std::pair<int, int> next{x + dx, y + dy};
        if (next.first < 0 || next.second < 0 || next.first >= map.m_nWidth || next.second >= map.m_nHeight) continue;
        if (next == closed || seen.count(next)) continue;
        const int chip = cell(next.first, next.second);
        if (chip < 0 || chip >= map.m_vChip.Size() || map.m_vChip[chip].m_bBlocked) continue;
        seen.insert(next);
        todo.push_back(next);
      }
    }
    return seen;
  };
  EXPECT_FALSE(map.m_vChip[cell(map.m_nStartX, map.m_nStartY)].m_bBlocked);
  ASSERT_EQ(map.m_vNode.Size(), 2);
  const cEdWorldNode& first = map.m_vNode[0];
  const cEdWorldNode& second = map.m_vNode[1];
  const auto all = reach({-1, -1});
  EXPECT_TRUE(all.count({first.m_nX, first.m_nY}));
  EXPECT_TRUE(all.count({second.m_nX, second.m_nY}));
  EXPECT_FALSE(reach({first.m_nX, first.m_nY}).count({second.m_nX, second.m_nY}))
      << "the second entrance lies beyond the first";

  struct Route {
    int stage, needStage, afterClear;
    const char* base;  // the stage as the progress record names it
  } routes[] = {{1, 0, 0, "data\\stg4\\s01."}, {2, 1, 2, "data\\stg4\\s02."}};
  for (int i = 0; i < 2; ++i) {
    const cEdWorldNode& node = map.m_vNode[i];
    ASSERT_EQ(node.m_vRoute.Size(), 1);
    const cEdWorldRoute& r = node.m_vRoute[0];
    SCOPED_TRACE(r.m_strStageFile);
    EXPECT_EQ(r.m_nKind, WORLDROUTE_STAGE);
    EXPECT_EQ(r.m_nStageNo, routes[i].stage);
    EXPECT_EQ(r.m_nNeedStage, routes[i].needStage);
    EXPECT_EQ(r.m_nAfterClear, routes[i].afterClear);
    EXPECT_EQ(r.m_bPassable, 0);
    EXPECT_EQ(r.m_nVarNo, 0);
    EXPECT_EQ(r.m_nNeedTotal, 0);
    EXPECT_EQ(WorldMap.HasStage(routes[i].base), 1);
    ExpectLoads(r.m_strStageFile);
  }
  EXPECT_EQ(Report(), "");
}
