// Items: the hit box centred in the cell, placement and scale that keep the
// graphic's bottom, held and placed items, the two cells that alternate
// every 15 frames, and their drawing (stretched when scaled, with the mark).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/graphic_source.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "records/database.h"
#include "records/palette_ref.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/game_world.h"
#include "support/recording_renderer.h"

using namespace testsupport;

namespace {

MapBuilder ItemRoom() { return MapBuilder(std::vector<std::string>(15, std::string(20, '.'))); }

cEdItem ItemDef(int graphic, int scale = 1) {
  cEdItem def;
  def.m_nGraphic = static_cast<int16_t>(graphic);
  def.m_nScale = static_cast<int8_t>(scale);
  return def;
}

// The graphic's bottom edge (exclusive) in world dots.
double GraphicBottom(const cItem& item) { return item.m_rcHit.dTop - item.m_nOffsetY + item.m_nGfxHeight; }

}  // namespace

TEST(Items, TheHitBoxIsCentredInTheCellOfItsGraphic) {
  struct Case {
    int w, h, offX, offY;
  };
  const Case cases[] = {{28, 28, 2, 2}, {20, 12, 6, 10}, {21, 13, 6, 10}, {1, 1, 16, 16}, {32, 32, 0, 0},
                        {33, 7, 0, 13}};
  for (const Case& c : cases) {
    GameWorld world;
    ItemRoom().Build();
    Stage.m_nItemBoxW = c.w;
    Stage.m_nItemBoxH = c.h;
    cItem item;
    item.Init(4, ItemDef(1), 0);
    item.PlaceAtCell(3, 4);
    EXPECT_EQ(item.m_nOffsetX, c.offX) << c.w << " x " << c.h;
    EXPECT_EQ(item.m_nOffsetY, c.offY) << c.w << " x " << c.h;
    EXPECT_EQ(item.m_rcHit.dLeft, 13 * 32 + c.offX + 0.5);
    EXPECT_EQ(item.m_rcHit.dTop, 14 * 32 + c.offY);
    EXPECT_EQ(item.m_rcHit.dRight, 13 * 32 + c.offX + 0.5 + c.w - 1);
    EXPECT_EQ(GraphicBottom(item), 15 * 32);
  }
}

TEST(Items, AScaledItemKeepsItsGraphicsBottomToWithinTheDotThatHalvingLoses) {
  struct Case {
    int w, h, scale;
    double bottom;  // graphic bottom after placement on row 4
    double left;    // hit box left
  };
  // y = 14 × 32 + offset − (scale − 1) × (height + offset); x keeps the hit box's centre.
  const Case cases[] = {{20, 12, 2, 15 * 32, 13 * 32 + 6 + 0.5 - 10},
                        {20, 12, 3, 15 * 32, 13 * 32 + 6 + 0.5 - 20},
                        {21, 13, 2, 15 * 32 - 1, 13 * 32 + 6 + 0.5 - 10},
                        {28, 28, 2, 15 * 32, 13 * 32 + 2 + 0.5 - 14}};
  for (const Case& c : cases) {
    GameWorld world;
    ItemRoom().Build();
    Stage.m_nItemBoxW = c.w;
    Stage.m_nItemBoxH = c.h;
    cItem item;
    item.Init(4, ItemDef(1, c.scale), 0);
    item.PlaceAtCell(3, 4);
    EXPECT_EQ(item.m_nGfxHeight, 32 * c.scale);
    EXPECT_EQ(GraphicBottom(item), c.bottom) << c.w << " x " << c.h << " scale " << c.scale;
    EXPECT_EQ(item.m_rcHit.dLeft, c.left) << c.w << " x " << c.h << " scale " << c.scale;
  }
  // A scale change of a placed item moves it up by the scale-1 height and offset.
  GameWorld world;
  ItemRoom().Build();
  Stage.m_nItemBoxW = 20;
  Stage.m_nItemBoxH = 12;
  cItem item;
  item.Init(4, ItemDef(1), 0);
  item.PlaceAtCell(3, 4);
  const double y = item.m_rcHit.dTop;
  item.SetScale(2, 1);
  EXPECT_EQ(item.m_rcHit.dTop, y - 22);
  EXPECT_EQ(GraphicBottom(item), 15 * 32);
}

TEST(Items, HeldItemsArePresentAtOnceAndEveryItemFliesThroughBlocksForEver) {
  GameWorld world;
  ItemRoom().Build();
  cEdItem def = ItemDef(3, 2);
  def.m_vCommands.push_back(CommandDef(ITEMCMDTYPE_LOOP).Param(0, 3).Param(1, 1).Def());
  def.m_vCommands.push_back(CommandDef(ITEMCMDTYPE_PLAY_SE).Def());
  for (cEdCommand& c : def.m_vCommands) c.m_bItemCommand = 1;
  cItem held, placed;
  held.Init(1, def, 1);
  placed.Init(2, def, 0);
  EXPECT_EQ(held.m_bHeld, 1);
  EXPECT_EQ(held.m_bPresent, 1);
  EXPECT_EQ(held.m_nGfxWidth, 32) << "a held item is not scaled";
  EXPECT_EQ(placed.m_bPresent, 0);
  EXPECT_EQ(placed.m_nGfxWidth, 64);
  for (const cItem* item : {&held, &placed}) {
    EXPECT_EQ(item->m_bNoGravity, 1);
    EXPECT_EQ(item->m_nBlockMode, BLOCKMODE_PASS);
    EXPECT_EQ(item->m_bScrollSync, 0);
    EXPECT_EQ(item->m_nLife, OBJECT_LIFE_UNLIMITED);
    EXPECT_EQ(item->m_Def.m_vCommands.size(), 3u) << "the LOOP expanded";
  }
  EXPECT_EQ(def.m_vCommands.size(), 2u) << "the caller's definition stays";

  cEdItem none = ItemDef(3, 0);
  cItem raised;
  raised.Init(3, none, 0);
  EXPECT_EQ(raised.m_Def.m_nScale, 1);

  const cItem copy = placed;
  EXPECT_EQ(copy.m_Def.m_vCommands.size(), 3u);
  EXPECT_EQ(copy.m_nId, 2);
  EXPECT_EQ(copy.m_Anime.m_vPatterns.size(), 1u);
}

TEST(Items, TheTwoCellsAlternateEvery15FramesAndAHiddenItemHolds) {
  GameWorld world;
  ItemRoom().Build();
  cItem item;
  item.Init(1, ItemDef(16), 0);  // item sheet column 1 (x 64), row 1 (y 32)
  item.PlaceAtCell(3, 4);
  item.UpdateScreenRect();
  RecordingRenderer renderer;
  std::vector<int> sourceX;
  for (int frame = 1; frame <= 45; ++frame) {
    item.Draw(&BackBuffer, 1);
    const std::string call = renderer.Take().at(0);
    sourceX.push_back(std::stoi(call.substr(call.find("T40 ") + 4)));
  }
  for (int frame = 1; frame <= 45; ++frame)
    EXPECT_EQ(sourceX[frame - 1], (frame / 15) % 2 ? 96 : 64) << frame;
  EXPECT_EQ(renderer.Calls().size(), 0u);

  const int32_t step = item.m_Anime.m_nStep;
  const int32_t tick = item.m_Anime.m_nTick;
  item.Draw(&BackBuffer, 0);
  EXPECT_EQ(item.m_Anime.m_nTick, tick) << "not advanced";
  item.m_Def.m_bTransparent = 1;
  for (int i = 0; i < 20; ++i) item.Draw(&BackBuffer, 1);
  EXPECT_TRUE(renderer.Take().size() == 1) << "only the unadvanced draw";
  EXPECT_EQ(item.m_Anime.m_nStep, step);
  EXPECT_EQ(item.m_Anime.m_nTick, tick);
}

TEST(Items, DrawingStretchesAScaledGraphicAndDrawsTheMarkOverIt) {
  struct Case {
    const char* name;
    int scale, mark;
    std::vector<std::string> calls;
  };
  // The item on cell (3, 4) with a 20 × 12 box, the view at the map's corner:
  // its graphic at (96, 128) for scale 1, (80, 96) for scale 2; item graphic
  // 30 is column 2 of the sheet, two cells of 32 each.
  const Case cases[] = {
      {"plain", 1, 0, {"DDBlt Back 96 128 32 32 T40 128 0 1"}},
      {"with its mark", 1, 1, {"DDBlt Back 96 128 32 32 T40 128 0 1", "DDBlt Back 96 128 32 32 T43 32 64 1"}},
      {"scale 2", 2, 1,
       {"DDBltStretch Back 80 96 64 64 T41 128 0 32 32 1", "DDBltStretch Back 80 96 64 64 T44 32 64 32 32 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    ItemRoom().Build();
    SelectCharaSurfaces();
    Stage.m_nItemBoxW = 20;
    Stage.m_nItemBoxH = 12;
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    cEdItem def = ItemDef(30, c.scale);
    def.m_bShowIcon = static_cast<int8_t>(c.mark);
    def.m_nIcon = 17;  // mark cell (32, 64)
    cItem item;
    item.Init(1, def, 0);
    item.PlaceAtCell(3, 4);
    item.UpdateScreenRect();
    RecordingRenderer renderer;
    item.Draw(&BackBuffer, 0);
    EXPECT_EQ(renderer.Calls(), c.calls);
  }
}

TEST(Items, AnImageWithItsOwnCellSizeIsStretchedOnlyWhenTheScalesDiffer) {
  struct Case {
    int scale;
    std::string call;
  };
  const Case cases[] = {{2, "DDBlt Back 80 96 64 64 S0 64 0 1"},
                        {1, "DDBltStretch Back 96 128 32 32 S2 64 0 64 64 1"},
                        {3, "DDBltStretch Back 64 64 96 96 S2 64 0 64 64 1"}};
  for (const Case& c : cases) {
    GameWorld world;
    ItemRoom().Build();
    Stage.m_nItemBoxW = 20;
    Stage.m_nItemBoxH = 12;
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    Off_StageBmp.resize(4);
    Database.m_vBmpCharaExc.resize(2);
    Database.m_vBmpCharaExc[1].m_bLargeCell = 1;
    Database.m_vBmpCharaExc[1].m_nCellScale = 2;
    cEdItem def = ItemDef(1, c.scale);
    def.m_nGraphicKind = GRAPHICKIND_CHARA_BMP;
    def.m_nGraphicFrame = 1;  // the second cell of 64 dots
    cItem item;
    item.Init(1, def, 0);
    item.PlaceAtCell(3, 4);
    item.UpdateScreenRect();
    RecordingRenderer renderer;
    item.Draw(&BackBuffer, 0);
    EXPECT_EQ(renderer.Calls(), std::vector<std::string>{c.call}) << c.scale;
  }
}
