// WorldMap.dat: the new map's bytes, a hand-made map with nodes outside the
// grid and entries of the older layout, grids whose numbers disagree, the
// grid resize, and the lookups of the world-map scene.
#include <gtest/gtest.h>

#include "db_bytes.h"
#include "platform/close_request.h"
#include "record_test_env.h"
#include "records/world_map.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

class WorldMapTest : public RecordTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(plat::CloseRequestCount(), 0u);
    RecordTest::TearDown();
  }
};

std::string SaveBytes(cEdWorldMap& map) {
  cDataWriter w;
  map.Save(w);
  return w.Bytes();
}

void LoadBytes(cEdWorldMap& map, const std::string& bytes) {
  cDataReader r(bytes);
  map.Load(r);
}

// An entry segment of the current layout (11 numbers) or of version 208 and
// older (10, without the total).
Bytes& Route(Bytes& b, std::initializer_list<int32_t> values, const std::string& aux,
             const std::string& file) {
  b.u32(static_cast<uint32_t>(values.size()));
  for (int32_t v : values) b.i32(v);
  return b.u32(2).str(aux).str(file);
}

Bytes& NodeHead(Bytes& b, int32_t x, int32_t y, const std::string& name, uint32_t routes) {
  return b.u32(2).i32(x).i32(y).u32(1).str(name).u32(routes);
}

// The map segment: size, pitch, shift, start, colour, image flag, two strings.
Bytes& MapHead(Bytes& b, int32_t w, int32_t h, int32_t pitch, int32_t shift, int32_t sx, int32_t sy) {
  b.u32(8).i32(w).i32(h).i32(pitch).i32(shift).i32(sx).i32(sy).i32(16).i32(0);
  return b.u32(2).str("W").str("");
}

}  // namespace

TEST_F(WorldMapTest, ANewMapSavesAsItsLayoutTable) {
  Bytes want;
  want.u32(734);
  want.u32(8).i32(20).i32(15).i32(32).i32(5).i32(9).i32(7).i32(16).i32(0);
  want.u32(2).str(Sjis("ワールド")).str("");
  want.u32(10);
  for (int i = 0; i < 10; ++i)
    want.u32(3).i32(0).i32(i < 5 ? 1 : 0).i32(i).u32(2).str("").str(Sjis(i < 5 ? "通行不可" : "通行可"));
  want.u32(480);
  for (int i = 0; i < 480; ++i) want.i32(0);
  want.u32(0);  // no nodes
  want.u32(1);
  NodeHead(want, 0, 0, Sjis("デフォルト"), 1);
  Route(want, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "", "");

  cEdWorldMap map;
  EXPECT_EQ(SaveBytes(map), want.s);
}

TEST_F(WorldMapTest, CalcPitchGivesTheSmallestPowerOfTwoThatHoldsARow) {
  struct Case {
    int n, pitch, shift;
  } cases[] = {{1, 1, 0}, {2, 2, 1}, {20, 32, 5}, {32, 32, 5}, {33, 64, 6}, {1024, 1024, 10}, {0, 1, 0}, {-7, 1, 0}};
  for (const Case& c : cases) {
    int32_t pitch = -1, shift = -1;
    cEdWorldMap::CalcPitch(pitch, shift, c.n);
    EXPECT_EQ(pitch, c.pitch) << c.n;
    EXPECT_EQ(shift, c.shift) << c.n;
  }
}

TEST_F(WorldMapTest, SetSizeKeepsTheSharedCornerUnderTheNewPitch) {
  cEdWorldMap map;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 20; ++x) map.m_vCell[x + (y << 5)] = 100 * y + x;
  ASSERT_EQ(map.SetSize(40, 10), 1);
  EXPECT_EQ(map.m_nPitch, 64);
  EXPECT_EQ(map.m_nPitch_Shift, 6);
  ASSERT_EQ(map.m_vCell.Size(), 640);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(map.m_vCell[x + (y << 6)], x < 20 ? 100 * y + x : 0) << x << "," << y;
}

TEST_F(WorldMapTest, SetSizeRefusesSizesOutsideTheGridLimits) {
  for (auto size : {std::pair{0, 15}, {20, 0}, {-1, 15}, {20, -3}, {WORLDMAP_MAX_SIDE + 1, 1}}) {
    cEdWorldMap map;
    map.m_vCell[3] = 4;
    EXPECT_EQ(map.SetSize(size.first, size.second), 0);
    EXPECT_EQ(map.m_nWidth, 20);
    EXPECT_EQ(map.m_nHeight, 15);
    EXPECT_EQ(map.m_vCell.Size(), 480);
    EXPECT_EQ(map.m_vCell[3], 4);
  }
}

// A map of version 208: 30 x 20, start outside, nodes at the edges, one
// entrance of the older layout, one node without entries.
TEST_F(WorldMapTest, AnOldHandMadeMapLoadsAndNormalises) {
  Bytes b;
  b.u32(208);
  MapHead(b, 30, 20, 32, 5, 45, 3);
  b.u32(1).u32(3).i32(7).i32(1).i32(4).u32(2).str("x").str("wall");
  b.u32(640);
  for (int i = 0; i < 640; ++i) b.i32(i % 7);
  b.u32(4);
  NodeHead(b, 30, 4, "right of the map", 1);
  Route(b, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "", "gone.stg4");
  NodeHead(b, -1, 19, "left of the map", 2);
  Route(b, {0, 3, 12, 1, 0, 2, 11, 5, 6, 6}, "aux", "stage05-1.stg4");
  Route(b, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "", "");
  NodeHead(b, 5, 20, "below the map", 1);
  Route(b, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "", "");
  NodeHead(b, 29, 0, "corner", 0);
  b.u32(0);

  cEdWorldMap map;
  LoadBytes(map, b.s);
  EXPECT_EQ(map.m_nStartX, 29);
  EXPECT_EQ(map.m_nStartY, 3);
  ASSERT_EQ(map.m_vChip.Size(), 1);
  EXPECT_EQ(map.m_vChip[0].m_strLabel, "wall");
  ASSERT_EQ(map.m_vCell.Size(), 640);
  EXPECT_EQ(map.m_vCell[639], 639 % 7);
  ASSERT_EQ(map.m_vNode.Size(), 2);
  const cEdWorldNode& left = map.m_vNode[0];
  EXPECT_EQ(left.m_nX, -1);
  ASSERT_EQ(left.m_vRoute.Size(), 2);
  const cEdWorldRoute& r = left.m_vRoute[0];
  EXPECT_EQ(r.m_nIcon, 3);
  EXPECT_EQ(r.m_nStageNo, 12);
  EXPECT_EQ(r.m_nNeedStage, 11);
  EXPECT_EQ(r.m_nVarNo, 5);
  EXPECT_EQ(r.m_nVarValue, 6);
  EXPECT_EQ(r.m_nVarCmp, 6);
  EXPECT_EQ(r.m_nNeedTotal, 0);
  EXPECT_EQ(r.m_strAux, "aux");
  EXPECT_EQ(r.m_strStageFile, "stage05-1.stg4");
  EXPECT_EQ(left.m_vRoute[1].m_nKind, WORLDROUTE_ROAD);
  EXPECT_EQ(map.m_vNode[1].m_strName, "corner");
  EXPECT_TRUE(map.m_vNode[1].m_vRoute.empty());
  EXPECT_TRUE(map.m_vNodeAux.empty());

  // Saved in the current layout, it reads back to the same bytes.
  std::string once = SaveBytes(map);
  cEdWorldMap again;
  LoadBytes(again, once);
  EXPECT_EQ(SaveBytes(again), once);
}

TEST_F(WorldMapTest, AnEntryOfVersion208ReadsNoTotal) {
  Bytes b;
  b.u32(208);
  Route(b, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "", "f");
  cEdWorldRoute route;
  route.m_nNeedTotal = 9;
  cDataReader r(b.s);
  route.Load(r);
  EXPECT_EQ(route.m_nKind, WORLDROUTE_WALL);
  EXPECT_EQ(route.m_strStageFile, "f");
  EXPECT_EQ(route.m_nNeedTotal, 0);
  EXPECT_FALSE(r.Ended());
}

// Size, pitch, shift and cell count from a damaged file are brought to a
// grid that every cell of the map can index.
TEST_F(WorldMapTest, AGridWhoseNumbersDisagreeIsRebuiltBeforeUse) {
  struct Case {
    const char* what;
    int32_t width, height, pitch, shift, cells;
    int32_t wantWidth, wantHeight, wantPitch, wantShift;
  } cases[] = {
      {"agreeing", 20, 15, 32, 5, 480, 20, 15, 32, 5},
      {"a wider pitch that holds the rows", 20, 15, 64, 6, 960, 20, 15, 64, 6},
      {"too few cells", 20, 15, 32, 5, 100, 20, 15, 32, 5},
      {"too many cells", 20, 15, 32, 5, 700, 20, 15, 32, 5},
      {"a pitch narrower than a row", 20, 15, 16, 4, 240, 20, 15, 32, 5},
      {"pitch and shift apart", 20, 15, 32, 4, 480, 20, 15, 32, 5},
      {"a shift past the word", 20, 15, 32, 40, 480, 20, 15, 32, 5},
      {"a negative shift", 20, 15, 32, -1, 480, 20, 15, 32, 5},
      {"a pitch past the largest map", 20, 15, 2048, 11, 0, 20, 15, 32, 5},
      {"no width", 0, 15, 32, 5, 480, 1, 15, 32, 5},
      {"a negative height", 20, -4, 32, 5, 480, 20, 1, 32, 5},
      {"a huge width", 0x7FFFFFFF, 2, 1 << 30, 30, 8, WORLDMAP_MAX_SIDE, 2, 1024, 10},
      // A grid past 64 x 64 cells keeps only the rows the file's cells fill.
      {"the largest grid of a few cells", 1024, 1024, 1024, 10, 8, 1024, 4, 1024, 10},
      {"a tall grid short of cells", 64, 1024, 64, 6, 5000, 64, 79, 64, 6},
      {"a tall grid of all its cells", 64, 1024, 64, 6, 65536, 64, 1024, 64, 6},
  };
  for (const Case& c : cases) {
    Bytes b;
    b.u32(734);
    MapHead(b, c.width, c.height, c.pitch, c.shift, 0, 0);
    b.u32(0).u32(static_cast<uint32_t>(c.cells));
    for (int i = 0; i < c.cells; ++i) b.i32(i);
    b.u32(0).u32(0);
    cEdWorldMap map;
    LoadBytes(map, b.s);
    EXPECT_EQ(map.m_nWidth, c.wantWidth) << c.what;
    EXPECT_EQ(map.m_nHeight, c.wantHeight) << c.what;
    EXPECT_EQ(map.m_nPitch, c.wantPitch) << c.what;
    EXPECT_EQ(map.m_nPitch_Shift, c.wantShift) << c.what;
    ASSERT_EQ(map.m_vCell.Size(), c.wantHeight * c.wantPitch) << c.what;
    // The cells the file held stay where they were.
    for (int i = 0; i < c.cells && i < map.m_vCell.Size(); ++i) ASSERT_EQ(map.m_vCell[i], i) << c.what;
  }
}

TEST_F(WorldMapTest, ACutFileKeepsAUsableGrid) {
  cEdWorldMap full;
  full.m_vNode.push_back(cEdWorldNode());
  full.m_vNode[0].m_nX = 3;
  const std::string bytes = SaveBytes(full);
  for (size_t cut = 0; cut < bytes.size(); cut += 13) {
    cEdWorldMap map;
    LoadBytes(map, bytes.substr(0, cut));
    ASSERT_EQ(map.m_vCell.Size(), map.m_nHeight * map.m_nPitch) << cut;
    ASSERT_GE(map.m_nPitch, map.m_nWidth) << cut;
  }
}

TEST_F(WorldMapTest, FindNodeGivesTheFirstNodeOfTheCell) {
  cEdWorldMap map;
  for (auto [x, y, name] : {std::tuple{2, 3, "a"}, {4, 3, "b"}, {2, 3, "c"}}) {
    cEdWorldNode node;
    node.m_nX = x;
    node.m_nY = y;
    node.m_strName = name;
    map.m_vNode.push_back(node);
  }
  ASSERT_NE(map.FindNode(2, 3), nullptr);
  EXPECT_EQ(map.FindNode(2, 3)->m_strName, "a");
  EXPECT_EQ(map.FindNodeAt(CELLPOS{4, 3})->m_strName, "b");
  EXPECT_EQ(map.FindNode(3, 2), nullptr);
}

TEST_F(WorldMapTest, HasStageNamesEntrancesByFileWithoutAreaAndExtension) {
  cEdWorldMap map;
  auto add = [&](int kind, const char* file) {
    cEdWorldNode node;
    node.m_vRoute[0].m_nKind = kind;
    node.m_vRoute[0].m_strStageFile = file;
    map.m_vNode.push_back(node);
  };
  add(WORLDROUTE_ROAD, "road-1.stg4");
  add(WORLDROUTE_STAGE, "stage05-1.stg4");
  add(WORLDROUTE_STAGE, "bonus.stg4");
  add(WORLDROUTE_STAGE, "a-1b-1.stg4");
  struct Case {
    const char* text;
    int found;
  } cases[] = {{"stage05.", 1}, {"bonus.", 1}, {"a-1b.", 1}, {"road.", 0},
               {"stage05", 0},  {"Stage05.", 0}, {"stage05-1.", 0}, {"a.", 0}};
  for (const Case& c : cases) EXPECT_EQ(map.HasStage(c.text), c.found) << c.text;
}

TEST_F(WorldMapTest, ANodeResetKeepsExactlyOneEntry) {
  cEdWorldNode node;
  node.m_vRoute.resize(3);
  node.m_nX = 5;
  node.Reset();
  EXPECT_EQ(node.m_vRoute.Size(), 1);
  EXPECT_EQ(node.m_nX, 0);
  node.m_vRoute.clear();
  node.Reset();
  EXPECT_EQ(node.m_vRoute.Size(), 1);
}
