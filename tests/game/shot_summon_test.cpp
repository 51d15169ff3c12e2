// The summon commands' emitters: the definition from the common or the
// stage palette (nothing past the palette's end, nothing for a
// player-operated character), the object size, the group source with its
// default, the reversed facing, the formation's placement without its
// velocity, volleys or spread, and the toggle mode's fresh cell list. The
// stage's spawning writes a debug line per object until it is built. The
// owner stands on cell (10, 8), view (320, 256)..(351, 287).
#include <gtest/gtest.h>

#include "base/crt_random.h"
#include "game/shot_emitter.h"
#include "records/common_palette.h"
#include "shot_test_env.h"

using namespace shottest;

namespace {

class Summons : public ::testing::Test {
 protected:
  void SetUp() override {
    // Entry 2 of each palette, told apart by its graphic.
    CommonPalette.m_vPaletteChara.resize(3);
    Stage.m_vPaletteChara.resize(3);
    CommonPalette.m_vPaletteChara[2] = CharaDef().Group(5);
    CommonPalette.m_vPaletteChara[2].m_nGraphic = 70;
    Stage.m_vPaletteChara[2] = CharaDef().Group(5);
    Stage.m_vPaletteChara[2].m_nGraphic = 80;
    CommonPalette.m_vPaletteItem.resize(3);
    CommonPalette.m_vPaletteItem[2].m_nGraphic = 71;
    CommonPalette.m_vPaletteItem[2].m_nScale = 2;
    CommonPalette.m_vPaletteBlock.resize(3);
    CommonPalette.m_vPaletteBlock[2].m_nGraphic = 72;
    def.m_nForm = SHOTFORM_EXPLOSION;
    def.m_nSummonIndex = 2;
  }
  std::vector<std::string> Spawned() {
    std::vector<std::string> lines;
    for (const std::string& line : stage.world.events.Texts(EventKind::Log))
      if (line.rfind("Spawn", 0) == 0 || line.rfind("PutBlock", 0) == 0) lines.push_back(line);
    stage.world.events.Clear();
    return lines;
  }
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);  // group 1, facing left
  cEdShot def = OneShot();
};

}  // namespace

TEST_F(Summons, ACharacterComesFromTheNamedPaletteAtTheOwnersCentre) {
  Command summon(ACTCMDTYPE_SUMMON_CHARA);
  SummonCharas(owner, summon.instance, def);
  def.m_nSummonPalette = 1;
  SummonCharas(owner, summon.instance, def);
  // A 32-dot object centred on the owner's centre (656, 592).
  EXPECT_EQ(Spawned(), (std::vector<std::string>{"SpawnChara 640 576 group 5 facing 0 graphic 70",
                                                 "SpawnChara 640 576 group 5 facing 0 graphic 80"}));
  EXPECT_TRUE(stage.Scene().m_Shots.empty());
}

TEST_F(Summons, NothingIsSummonedPastThePalettesEndOrForAPlayerOperatedCharacter) {
  Command summon(ACTCMDTYPE_SUMMON_CHARA);
  for (int index : {3, 300, -1}) {
    def.m_nSummonIndex = static_cast<int16_t>(index);
    SummonCharas(owner, summon.instance, def);
  }
  def.m_nSummonIndex = 2;
  CommonPalette.m_vPaletteChara[2].m_nOperator = 0;
  SummonCharas(owner, summon.instance, def);
  EXPECT_TRUE(Spawned().empty());
}

TEST_F(Summons, TheGroupComesFromTheDefinitionTheOwnerOrTheRecordAndTheFacingMayTurn) {
  struct Case {
    int source, reverse, facing;
    const char* line;
  } cases[] = {
      {0, 0, 0, "SpawnChara 640 576 group 5 facing 0 graphic 70"},
      {1, 0, 0, "SpawnChara 640 576 group 1 facing 0 graphic 70"},
      {2, 0, 0, "SpawnChara 640 576 group 6 facing 0 graphic 70"},
      {7, 0, 0, "SpawnChara 640 576 group 5 facing 0 graphic 70"},  // no such source: its own
      {0, 1, 0, "SpawnChara 640 576 group 5 facing 1 graphic 70"},
      {0, 1, 1, "SpawnChara 640 576 group 5 facing 0 graphic 70"},
  };
  Command summon(ACTCMDTYPE_SUMMON_CHARA);
  def.m_nSide = 6;
  for (const Case& c : cases) {
    def.m_nSummonSide = static_cast<int8_t>(c.source);
    def.m_bSummonReverse = static_cast<int8_t>(c.reverse);
    owner.m_nDirection = c.facing;
    def.m_nDirCode = DIRCODE_LEFT;
    SummonCharas(owner, summon.instance, def);
    EXPECT_EQ(Spawned(), std::vector<std::string>{c.line}) << c.source << c.reverse << c.facing;
  }
}

TEST_F(Summons, AFormationPlacesObjectsOfTheirScaledSizeAndNothingElseOfTheShotRecordCounts) {
  Command summon(ACTCMDTYPE_SUMMON_CHARA);
  CommonPalette.m_vPaletteChara[2].m_nScale = 2;  // 64 dots
  def.m_nForm = SHOTFORM_STRAIGHT_A;
  def.m_nCount = 2;
  def.m_nDirCode = DIRCODE_RIGHT;
  def.m_nClones = 3;
  def.m_nSpread = 10;
  def.m_nAngle = 30;
  def.m_nSpeed = 50;
  def.m_nOffsetY = 4;
  crt::srand(1);
  SummonCharas(owner, summon.instance, def);
  EXPECT_EQ(crt::rand(), 41);  // no spread was drawn
  // Beside the owner's right edge, a column of two 64-dot objects.
  EXPECT_EQ(Spawned(), (std::vector<std::string>{"SpawnChara 672 532 group 5 facing 0 graphic 70",
                                                 "SpawnChara 672 596 group 5 facing 0 graphic 70"}));
}

TEST_F(Summons, ItemsAndBlocksComeFromTheirPalettesAndAToggleStartsAFreshCellList) {
  Command items(ACTCMDTYPE_SUMMON_ITEM);
  SummonItems(owner, items.instance, def);
  def.m_nSummonIndex = 9;
  SummonItems(owner, items.instance, def);
  EXPECT_EQ(Spawned(), std::vector<std::string>{"SpawnItem 624 560 graphic 71"});  // 64 dots

  Command blocks(ACTCMDTYPE_SUMMON_BLOCK);
  def.m_nSummonIndex = 2;
  stage.Scene().m_vToggledCells = {5, 6};
  SummonBlocks(owner, blocks.instance, def);
  EXPECT_EQ(stage.Scene().m_vToggledCells.size(), 2u);
  def.m_nSummonMode = 2;
  SummonBlocks(owner, blocks.instance, def);
  EXPECT_TRUE(stage.Scene().m_vToggledCells.empty());
  EXPECT_EQ(Spawned(), (std::vector<std::string>{"PutBlock 640 576 mode 0 graphic 72",
                                                 "PutBlock 640 576 mode 2 graphic 72"}));
}
