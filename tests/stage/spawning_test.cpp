// The summons on a small built stage: summoned characters (clones, the stage
// edge, a blocked place, lifetimes, groups), summoned items, and the block
// summon's cell rule, modes, protection and the crush grace it gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/block_charas.h"
#include "game/characters.h"
#include "game/gone_objects.h"
#include "game/map_cells.h"
#include "records/block.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/shot.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

constexpr int kSpawnBorder = 10;

class Spawning : public ::testing::Test {
 protected:
  void Build(int steps = 1) {
    CharaList.clear();
    ItemList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Stage.SetSpeedLevel(steps);
    // A wall in the first cell of row 2.
    std::vector<std::string> rows(8, std::string(20, '.'));
    rows[2][0] = '#';
    MapBuilder(rows).Build(scene);
  }
  // World dots of the left (top) edge of map cell n inside the border.
  static double Dot(int n) { return (n + kSpawnBorder) * 32.0; }
  MAPCELL& Cell(int column, int row) { return *CellAt(column + kSpawnBorder, row + kSpawnBorder); }
  size_t Filed() {
    size_t n = 0;
    for (const auto& group : scene.m_CharaGroups) n += group.size();
    return n;
  }

  cSceneStage scene;
  GameWorld world{scene};
};

}  // namespace

TEST_F(Spawning, ASummonMakesEachCloneThatFitsTheStageWithItsOwnId) {
  Build();
  CharaDef def;
  def.Def().m_nCopies = 2;
  def.Def().m_nCopyStepX = 40;
  def.Def().m_nCopyOffsetX = 0;
  // The third clone would stand across the active area's right edge.
  const double x = scene.m_ScrollX.m_nActiveSize - 16 - 60.0;
  const double y = Dot(4);
  int32_t serial = 7;
  scene.SpawnChara(CharaList, x, y, 3, 1, 0, cEdShot(), def, serial);
  ASSERT_EQ(CharaList.size(), 2u);
  EXPECT_EQ(serial, 9);
  int clone = 0;
  for (const cChara& c : CharaList) {
    SCOPED_TRACE(clone);
    EXPECT_EQ(c.m_nId, 7 + clone);
    EXPECT_EQ(c.m_sCloneNo, clone);
    EXPECT_EQ(c.m_nGroup, 3);
    EXPECT_EQ(c.m_nDirection, 1);
    EXPECT_EQ(c.m_rcHit.dLeft, x + c.m_nOffsetX + 40 * clone);
    EXPECT_EQ(c.m_rcHit.dTop, y + c.m_nOffsetY);
    EXPECT_EQ(c.m_dStartX, x + 16);
    EXPECT_EQ(c.m_nLife, OBJECT_LIFE_UNLIMITED);
    ++clone;
  }
  EXPECT_EQ(scene.m_CharaGroups[3].size(), 2u);
}

TEST_F(Spawning, ABlockedSummonLeavesNothingAndUsesNoId) {
  Build();
  int32_t serial = 4;
  // Into the wall of row 2.
  scene.SpawnChara(CharaList, Dot(0), Dot(2), 1, 0, 0, cEdShot(), CharaDef(), serial);
  EXPECT_TRUE(CharaList.empty());
  EXPECT_EQ(serial, 4);
  EXPECT_EQ(Filed(), 0u);
  // Beside it there is room.
  scene.SpawnChara(CharaList, Dot(1), Dot(2), 1, 0, 0, cEdShot(), CharaDef(), serial);
  EXPECT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(serial, 5);
}

TEST_F(Spawning, LifetimesAndGroupsOfSummons) {
  struct Case {
    int steps;
    int limit, tenths;
    int group;
    int32_t life;
    size_t filed;
  } cases[] = {
      {1, 1, 5, 2, 30, 1},
      {3, 1, 5, 2, 90, 1},
      {3, 0, 5, 2, OBJECT_LIFE_UNLIMITED, 1},
      {3, 1, 32767, 2, 32767 * 18, 1},
      {1, 1, 5, 9, 30, 0},  // a group outside the lists joins none
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.steps) + " steps, group " + std::to_string(c.group));
    Build(c.steps);
    cEdShot def;
    def.m_bRangeLimit = static_cast<int8_t>(c.limit);
    def.m_nRange = static_cast<int16_t>(c.tenths);
    int32_t charas = 0, items = 0;
    scene.SpawnChara(CharaList, Dot(3), Dot(3), c.group, 0, 0, def, CharaDef(), charas);
    cEdItem item;
    item.m_nGraphic = 1;
    scene.SpawnItem(ItemList, Dot(5), Dot(3), 0, def, item, items);
    ASSERT_EQ(CharaList.size(), 1u);
    ASSERT_EQ(ItemList.size(), 1u);
    EXPECT_EQ(CharaList.front().m_nLife, c.life);
    EXPECT_EQ(ItemList.front().m_nLife, c.life);
    EXPECT_EQ(Filed(), c.filed);
    EXPECT_EQ(items, 1);
  }
}

TEST_F(Spawning, ANoScoreSummonGivesNoScoreWhenDefeated) {
  struct Case {
    int noScore;
    int32_t score;  // the stage score after the defeat
  } cases[] = {{0, 140}, {1, 100}, {-1, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.noScore);
    Build();
    PlayData.m_nStageScore = 100;
    CharaDef def;
    def.Def().m_nScore = 40;
    cEdShot summon;
    summon.m_nSpareD = static_cast<int8_t>(c.noScore);
    int32_t serial = 0;
    scene.SpawnChara(CharaList, Dot(3), Dot(4), 1, 0, 0, summon, def, serial);
    ASSERT_EQ(CharaList.size(), 1u);
    CharaList.front().Defeat();
    EXPECT_EQ(PlayData.m_nStageScore, c.score);
    // The definition in the palette keeps its score for other summons.
    EXPECT_EQ(def.Def().m_nScore, 40);
  }
}

// A step keeps the block characters it looks at; a summon, a blocked
// summon taken back and the sweep of a gone one each renew them.
TEST_F(Spawning, TheBlockCharactersKeptForAStepFollowSummonsAndSweeps) {
  Build();
  const auto ids = []() {
    std::vector<int> out;
    for (const cChara* c : cBlockCharas::Get()) out.push_back(c->m_nId);
    return out;
  };
  CharaDef block;
  block.BlockChara();
  int32_t serial = 0;
  scene.SpawnChara(CharaList, Dot(3), Dot(4), 1, 0, 0, cEdShot(), block, serial);
  {
    const cBlockCharas::cKeep keep;
    EXPECT_EQ(ids(), std::vector<int>{0});
    scene.SpawnChara(CharaList, Dot(5), Dot(4), 1, 0, 0, cEdShot(), block, serial);
    scene.SpawnChara(CharaList, Dot(8), Dot(4), 1, 0, 0, cEdShot(), CharaDef(), serial);
    EXPECT_EQ(ids(), (std::vector<int>{0, 1}));
    // Into the first, once it is there: blocked, taken back.
    CharaList.front().m_bPresent = 1;
    scene.SpawnChara(CharaList, Dot(3), Dot(4), 1, 0, 0, cEdShot(), block, serial);
    EXPECT_EQ(ids(), (std::vector<int>{0, 1}));
    MarkCharaGone(CharaList.front());
    SweepGoneObjects();
    EXPECT_EQ(ids(), std::vector<int>{1});
    // Filled by hand inside a step: not seen until the list is said to change.
    CharaList.push_back(CharaList.front());
    CharaList.back().m_nId = 9;
    EXPECT_EQ(ids(), std::vector<int>{1});
    cBlockCharas::Changed();
    EXPECT_EQ(ids(), (std::vector<int>{1, 9}));
  }
  // Outside a step it is taken afresh.
  CharaList.pop_back();
  EXPECT_EQ(ids(), std::vector<int>{1});
}

TEST_F(Spawning, ASummonedItemStandsAtItsCornerWithItsOffsetsOrNotAtAll) {
  Build();
  cEdItem def;
  def.m_nGraphic = 1;
  def.m_nSpareA = 3;
  def.m_nSpareB = -2;
  int32_t serial = 0;
  scene.SpawnItem(ItemList, Dot(2), Dot(1), 0, cEdShot(), def, serial);
  ASSERT_EQ(ItemList.size(), 1u);
  const cItem& item = ItemList.front();
  EXPECT_EQ(item.m_rcHit.dLeft, Dot(2) + item.m_nOffsetX + 3);
  EXPECT_EQ(item.m_rcHit.dTop, Dot(1) + item.m_nOffsetY - 2);
  EXPECT_EQ(item.m_nId, 0);
  // Outside the active area: none, and no id used.
  scene.SpawnItem(ItemList, -200, Dot(1), 0, cEdShot(), def, serial);
  EXPECT_EQ(ItemList.size(), 1u);
  EXPECT_EQ(serial, 1);
}

TEST_F(Spawning, ABlockSummonChangesTheCellUnderItsPointByMode) {
  struct Case {
    const char* what;
    double x;
    int mode;
    bool full;  // the cell holds a block before
    int guard, protectedCell;
    // expected: the cell's graphic afterwards, in the column the point names
    int column;
    int graphic;
  } cases[] = {
      {"15.4 dots into a cell stays in it", Dot(3) + 15.4 - 32, 0, false, 0, 0, 2, 7},
      {"15.5 dots falls in the next", Dot(3) + 15.5 - 32, 0, false, 0, 0, 3, 7},
      {"erase", Dot(3), 1, true, 0, 0, 3, 0},
      {"toggle an empty cell: put", Dot(3), 2, false, 0, 0, 3, 7},
      {"toggle a full cell: erased", Dot(3), 2, true, 0, 0, 3, 0},
      {"guard off: a protected block refuses", Dot(3), 0, true, 0, 1, 3, 1},
      {"guard off: an empty protected cell takes it", Dot(3), 0, false, 0, 1, 3, 7},
      {"guard on: an empty protected cell refuses too", Dot(3), 0, false, 1, 1, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build();
    SystemData.m_bCompat637 = c.guard;
    MAPCELL& cell = Cell(c.column, 5);
    cell.Block = c.full ? BlockDef().Def() : BlockDef::Empty();
    cell.Block.m_bProtected = static_cast<int8_t>(c.protectedCell);
    cell.bLatched = 1;
    cEdShot def;
    def.m_nSummonMode = static_cast<int8_t>(c.mode);
    cEdBlock block = BlockDef().Def();
    block.m_nGraphic = 7;
    scene.m_vToggledCells.clear();
    scene.PutBlock(c.x, Dot(5), 0, def, block);
    EXPECT_EQ(cell.Block.m_nGraphic, c.graphic);
    if (c.graphic != (c.full ? 1 : 0)) EXPECT_EQ(cell.bLatched, 0);
  }
  SystemData.m_bCompat637 = 0;
}

TEST_F(Spawning, AToggleChangesACellOncePerSummonAndAPutOutsideTheMapNothing) {
  Build();
  cEdShot def;
  def.m_nSummonMode = 2;
  cEdBlock block = BlockDef().Def();
  block.m_nGraphic = 7;
  MAPCELL& cell = Cell(3, 5);
  scene.m_vToggledCells.clear();
  scene.PutBlock(Dot(3), Dot(5), 0, def, block);
  scene.PutBlock(Dot(3) + 4, Dot(5), 0, def, block);  // the same cell again in this summon
  EXPECT_EQ(cell.Block.m_nGraphic, 7);
  scene.m_vToggledCells.clear();  // the next summon
  scene.PutBlock(Dot(3), Dot(5), 0, def, block);
  EXPECT_EQ(cell.Block.m_nGraphic, 0);
  for (double x : {-1000.0, 1e12, -1e12}) scene.PutBlock(x, Dot(5), 0, def, block);
  scene.PutBlock(Dot(3), 1e300, 0, def, block);
  EXPECT_EQ(cell.Block.m_nGraphic, 0);
}

TEST_F(Spawning, APutOverAnObjectIsTakenBackWhenTheSummonProtectsItElseTheObjectGetsAGrace) {
  struct Case {
    const char* what;
    bool onHero;
    int offHero, offChara;
    int graphic;
    int grace;
  } cases[] = {
      {"over the hero, hero protected", true, 1, 0, 0, 2},
      {"over the hero, unprotected", true, 0, 0, 7, 2},
      {"over the hero, only characters protected", true, 0, 1, 7, 2},
      {"over a character, characters protected", false, 0, 1, 0, 2},
      {"over a character, unprotected", false, 0, 0, 7, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {c.onHero ? 3 : 8, 4});
    cChara& chara = world.AddChara(CharaDef(), {c.onHero ? 8 : 3, 4});
    chara.m_bPresent = 1;
    cEdShot def;
    def.m_bSummonOffHero = static_cast<int8_t>(c.offHero);
    def.m_bSummonOffChara = static_cast<int8_t>(c.offChara);
    cEdBlock block = BlockDef().Def();
    block.m_nGraphic = 7;
    scene.PutBlock(Dot(3), Dot(4), 0, def, block);
    EXPECT_EQ(Cell(3, 4).Block.m_nGraphic, c.graphic);
    EXPECT_EQ((c.onHero ? static_cast<cCharaBase&>(hero) : chara).m_nCrushGrace, c.grace);
    EXPECT_EQ((c.onHero ? static_cast<cCharaBase&>(chara) : hero).m_nCrushGrace, 0);
  }
}
