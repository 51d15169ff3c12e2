#include "tools/sample/sample_stages.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "records/command_vocab.h"
#include "records/flow.h"
#include "records/palette_ref.h"
#include "records/path_table.h"
#include "tools/sample/sample_palette.h"

namespace {

// ---- what the definitions draw and play (sample_images.cpp, FillSampleDatabase) ----

constexpr int kGrassBlock = 15;   // block sheet: grass on earth
constexpr int kEarthBlock = 16;   // earth
constexpr int kBrickBlock = 17;   // bricks
constexpr int kHeroGraphic = 3;   // character sheet row 3: a human
constexpr int kSlimeGraphic = 1;  // row 1: a slime
constexpr int kStarGraphic = 5;   // item sheet: the star
constexpr int kHeroAnimeSet = 0;
constexpr int kEnemyAnimeSet = 1;
constexpr int kJumpAnime = 2;
constexpr int kJumpSound = 1;
constexpr int kCoinSound = 3;
constexpr int kHitEffect = 1;
constexpr int kBurstEffect = 2;  // character effect of a defeat

// Entries of the common palette's lists.
constexpr int kCommonGrass = 1;
constexpr int kCommonEarth = 2;
constexpr int kCommonHero = 1;
constexpr int kCommonSlime = 2;
constexpr int kCommonStar = 1;
// Entry 1 of each stage's own block list.
constexpr int kStagePlatform = 1;

// Key-condition inputs: direction histories 0..9, then the buttons from 10.
constexpr int kKeyLeft = 1;
constexpr int kKeyRight = 2;
constexpr int kKeyButton1 = 11;

constexpr int kSpeedLevel = 10;
constexpr int kJumpHalfBlocks = 7;  // three and a half blocks: onto a platform three above the ground

// ---- flows ----

// Held for as long as the key is down: any press length counts.
cEdKeyCondition HeldKey(int input) {
  cEdKeyCondition key;
  key.m_vKeys.At(input) = KEYSTATE_PRESSED;
  key.m_bAnyLength = 1;
  key.m_nMode = KEYMODE_ALL;
  return key;
}

cEdCommand MoveCommand(int type, int dirCode, int speed, int useTime) {
  cEdCommand c;
  c.m_nType = static_cast<int8_t>(type);
  CreateEdMove(c.m_spMove);
  c.m_spMove->m_nDirCode = static_cast<int8_t>(dirCode);
  c.m_spMove->m_nSpeed = static_cast<int16_t>(speed);
  c.m_nUseTime = static_cast<int16_t>(useTime);
  return c;
}

// While the key is held the flow runs again each time its move ends: the
// hero walks a tenth of a second at a time at three dots per frame.
cEdFlow WalkFlow(int key, int dirCode) {
  cEdFlow f;
  f.m_nTrigger = FLOWTRIGGER_ALWAYS;
  f.m_bKeyRepeat = 1;
  f.m_vKeyConditions.push_back(HeldKey(key));
  f.m_vCommands.push_back(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, dirCode, 30, 1));
  return f;
}

// Once per press: the longer button 1 stays down, the higher the jump.
cEdFlow JumpFlow() {
  cEdFlow f;
  f.m_nTrigger = FLOWTRIGGER_ALWAYS;
  f.m_bKeyRepeat = 0;
  f.m_vKeyConditions.push_back(HeldKey(kKeyButton1));
  cEdCommand jump;
  jump.m_nType = ACTCMDTYPE_JUMP;
  CreateEdMove(jump.m_spMove);
  // The key adjusts the height, up to kJumpHalfBlocks.
  jump.m_vParams = {1, 0, kJumpHalfBlocks, 0, 0};
  jump.m_nSe = kJumpSound;
  jump.m_nAnime = kJumpAnime;
  f.m_vCommands.push_back(jump);
  return f;
}

// Walks on, turning back at walls and ledges.
cEdFlow PatrolFlow() {
  cEdFlow f;
  f.m_nTrigger = FLOWTRIGGER_ALWAYS;
  f.m_vCommands.push_back(MoveCommand(ACTCMDTYPE_MOVE_GROUND_TURN, DIRCODE_FRONT, 10, 10));
  return f;
}

// ---- definitions ----

cEdBlock Block(const char* name, int graphic) {
  cEdBlock b;
  b.m_strName = name;
  b.m_nGraphicKind = GRAPHICKIND_BLOCK;
  b.m_nGraphic = static_cast<int16_t>(graphic);
  b.m_nHit = BLOCKHIT_SOLID;
  return b;
}

cEdChara Hero() {
  cEdChara c;
  c.m_strName = "hero";
  c.m_nOperator = 0;
  c.m_nPlayer = 0;
  c.m_nFaction = 0;
  c.m_nDirection = 1;
  c.m_bFixDirection = 0;  // faces the way it walks
  c.m_nGraphicKind = GRAPHICKIND_CHARA;
  c.m_nGraphic = kHeroGraphic;
  c.m_nAnimeSet = kHeroAnimeSet;
  c.m_nMaxHp = 3;
  c.m_nDropItem = -1;
  c.m_vFlows.clear();
  c.m_vFlows.push_back(WalkFlow(kKeyLeft, DIRCODE_LEFT));
  c.m_vFlows.push_back(WalkFlow(kKeyRight, DIRCODE_RIGHT));
  c.m_vFlows.push_back(JumpFlow());
  return c;
}

cEdChara Slime() {
  cEdChara c;
  c.m_strName = "slime";
  c.m_nOperator = 1;
  c.m_nFaction = 1;
  c.m_nDirection = 0;
  c.m_bFixDirection = 0;
  c.m_nGraphicKind = GRAPHICKIND_CHARA;
  c.m_nGraphic = kSlimeGraphic;
  c.m_nAnimeSet = kEnemyAnimeSet;
  c.m_nMaxHp = 1;
  c.m_nPower = 1;  // touching it costs the hero a hit point
  c.m_nHitEffect = kHitEffect;
  c.m_nDeathEffect = kBurstEffect;
  c.m_nScore = 100;
  c.m_nDropItem = -1;  // carries none of the stage's items
  c.m_vFlows.clear();
  c.m_vFlows.push_back(PatrolFlow());
  return c;
}

cEdItem Star() {
  cEdItem item;
  item.m_strName = "goal";
  item.m_nGraphicKind = GRAPHICKIND_ITEM;
  item.m_nGraphic = kStarGraphic;
  item.m_nPickupMode = PICKUPMODE_ONCE;
  item.m_nPickupSound = kCoinSound;
  cEdCommand clear;
  clear.m_bItemCommand = 1;
  clear.m_nType = ITEMCMDTYPE_STAGE_CLEAR;
  // To the next area; the sample's stages have one area, so play goes on
  // where the mode says (world map, stage select).
  clear.m_vParams.assign(static_cast<size_t>(CommandParamCount(1, ITEMCMDTYPE_STAGE_CLEAR)), 0);
  item.m_vCommands.push_back(clear);
  return item;
}

// A placement of a palette entry: the entry's values, its reference, every
// group inherited, and the cell.
template <class T>
T Placed(const T& entry, int kind, int index, int x, int y) {
  T placed = entry;
  placed.m_nPaletteKind = static_cast<int8_t>(kind);
  placed.m_nPaletteIndex = static_cast<int16_t>(index);
  placed.m_vInherit.assign(placed.m_vInherit.size(), 1);
  placed.m_nX = static_cast<int16_t>(x);
  placed.m_nY = static_cast<int16_t>(y);
  return placed;
}

// ---- stages ----

struct LAYOUT {
  const char* name;
  int width;
  int gapX, gapW;            // a gap in the ground (width 0: none)
  int platformX, platformW;  // bricks three blocks over the ground
  int slimeX;
  int bgm;        // Bgm.dat: 1 the MIDI tune, 2 the OGG one
  int timeLimit;  // seconds; 0 none
};

const LAYOUT kLayouts[SAMPLE_STAGES] = {
    {"Meadow", 40, 0, 0, 12, 4, 20, 2, 0},
    {"Hills", 50, 18, 3, 14, 5, 30, 1, 0},
    {"Challenge 1", 40, 22, 2, 10, 3, 16, 2, 120},
    {"Challenge 2", 60, 28, 3, 20, 6, 40, 1, 90},
};

constexpr int kStageHeight = 15;
constexpr int kGroundRow = 13;  // grass; earth below it
constexpr int kPlatformRow = kGroundRow - 3;
constexpr int kHeroX = 2;

}  // namespace

std::string SampleStageName(int n) {
  char name[64];
  if (n < SAMPLE_STORY_STAGES)
    std::snprintf(name, sizeof name, "%sstg4\\s%02d-1.%s", PathTable[0], n + 1, ExtTable[1]);
  else
    std::snprintf(name, sizeof name, "%s%02d-1.%s", PathTable[37], n - SAMPLE_STORY_STAGES + 1, ExtTable[1]);
  return name;
}

std::string SampleStageFile(int n) {
  // The stage names point into data\, which the first start copies from default\.
  const std::string name = SampleStageName(n);
  return PathTable[1] + name.substr(std::strlen(PathTable[0])) + "_000";
}

void FillSampleCommonPalette(cEdCommonPalette& palette) {
  palette = cEdCommonPalette();
  palette.m_vPaletteBlock.resize(1);
  palette.m_vPaletteBlock.push_back(Block("grass", kGrassBlock));
  palette.m_vPaletteBlock.push_back(Block("earth", kEarthBlock));
  palette.m_vPaletteChara.resize(1);
  palette.m_vPaletteChara.push_back(Hero());
  palette.m_vPaletteChara.push_back(Slime());
  palette.m_vPaletteItem.resize(1);
  palette.m_vPaletteItem.push_back(Star());
}

void FillSampleWorldMap(cEdWorldMap& map) {
  map.Reset();
  map.m_nBackColor = pal::Shade(pal::BLUE, 4);
  map.m_nStartX = 7;
  map.m_nStartY = 7;
  // Chips (the default ten): 0 sea, 2 mountain, 3 forest; passable 5 grass,
  // 6 road, 7 bridge, 8 sand, 9 flowers.
  auto set = [&map](int x, int y, int chip) { map.m_vCell.At(x + (y << map.m_nPitch_Shift)) = chip; };
  auto fill = [&set](int x0, int y0, int x1, int y1, int chip) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) set(x, y, chip);
  };
  // The home island with its beach, a road east to the bridge, and the
  // small island beyond it. The bridge is the only way across, and the
  // first entrance stands on it.
  fill(2, 3, 13, 11, 8);
  fill(3, 4, 12, 10, 5);
  fill(4, 4, 5, 5, 2);
  fill(4, 9, 6, 10, 3);
  fill(10, 9, 11, 10, 9);
  fill(7, 7, 13, 7, 6);
  fill(14, 7, 15, 7, 7);
  fill(16, 5, 18, 9, 8);
  fill(17, 6, 17, 8, 5);

  auto entrance = [](int x, int y, int stage, int needStage, int afterClear, const char* label) {
    cEdWorldNode node;
    node.m_nX = x;
    node.m_nY = y;
    node.m_strName = label;
    cEdWorldRoute& route = node.m_vRoute.At(0);
    route.m_nKind = WORLDROUTE_STAGE;
    route.m_nIcon = 0;
    route.m_nStageNo = stage;
    route.m_bReentry = 1;
    route.m_nNeedStage = needStage;
    route.m_nAfterClear = afterClear;
    route.m_strAux = label;
    route.m_strStageFile = SampleStageName(stage - 1);
    return node;
  };
  map.m_vNode.push_back(entrance(14, 7, 1, 0, 0, kLayouts[0].name));
  // Open once stage 1 is cleared; after its own clear the story ends at the title.
  map.m_vNode.push_back(entrance(17, 7, 2, 1, 2, kLayouts[1].name));
}

void FillSampleStage(cEdStage& stage, int n) {
  const LAYOUT& l = kLayouts[n];
  stage.Reset();
  stage.m_strName = l.name;
  stage.m_nWidth = l.width;
  stage.m_nHeight = kStageHeight;
  stage.m_nWidthDots = l.width * 32;
  stage.m_nHeightDots = kStageHeight * 32;
  stage.m_nBgm = l.bgm;
  stage.m_bBgmLoop = 1;
  stage.m_bTimeLimit = l.timeLimit > 0 ? 1 : 0;
  if (l.timeLimit > 0) stage.m_nTimeLimit = l.timeLimit;
  stage.m_bStartBanner = 1;
  stage.SetSpeedLevel(kSpeedLevel);
  stage.m_vBackground.At(0).m_nColor = pal::Shade(pal::SKY, 12);

  // The stage's own palette: entry 0 stands for none.
  stage.m_vPaletteBlock.resize(1);
  stage.m_vPaletteBlock.push_back(Block("platform", kBrickBlock));

  const cEdCommonPalette& common = CommonPalette;
  for (int x = 0; x < l.width; ++x) {
    if (l.gapW > 0 && x >= l.gapX && x < l.gapX + l.gapW) continue;
    stage.m_vPlacedBlock.push_back(
        Placed(common.m_vPaletteBlock.At(kCommonGrass), PALETTEKIND_COMMON, kCommonGrass, x, kGroundRow));
    stage.m_vPlacedBlock.push_back(
        Placed(common.m_vPaletteBlock.At(kCommonEarth), PALETTEKIND_COMMON, kCommonEarth, x, kGroundRow + 1));
  }
  for (int x = l.platformX; x < l.platformX + l.platformW; ++x)
    stage.m_vPlacedBlock.push_back(
        Placed(stage.m_vPaletteBlock.At(kStagePlatform), PALETTEKIND_STAGE, kStagePlatform, x, kPlatformRow));

  stage.m_vPlacedChara.push_back(
      Placed(common.m_vPaletteChara.At(kCommonHero), PALETTEKIND_COMMON, kCommonHero, kHeroX, kGroundRow - 1));
  stage.m_vPlacedChara.push_back(
      Placed(common.m_vPaletteChara.At(kCommonSlime), PALETTEKIND_COMMON, kCommonSlime, l.slimeX, kGroundRow - 1));
  stage.m_vPlacedItem.push_back(
      Placed(common.m_vPaletteItem.At(kCommonStar), PALETTEKIND_COMMON, kCommonStar, l.width - 3, kGroundRow - 1));
}
