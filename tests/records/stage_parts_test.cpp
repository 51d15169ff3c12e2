// The records inside a stage file: off-screen rules, background layers and
// texts in their old and current layouts, and ResetRecordVector.
#include <gtest/gtest.h>

#include <cstring>

#include "db_bytes.h"
#include "platform/close_request.h"
#include "record_test_env.h"
#include "records/map_cell.h"
#include "records/stage_parts.h"

namespace {

class StagePartsTest : public RecordTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(plat::CloseRequestCount(), 0u);
    RecordTest::TearDown();
  }
};

template <class T>
std::string SaveBytes(T& record) {
  cDataWriter w;
  record.Save(w);
  return w.Bytes();
}

// A list of backgrounds as the stage file holds it.
cVector<cEdBackground> LoadBackgrounds(const std::string& bytes) {
  cDataReader r(bytes);
  cVector<cEdBackground> list;
  LoadRecordList(list, r);
  EXPECT_FALSE(r.Ended());
  return list;
}

double AsDouble(uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

Bytes& PutF64(Bytes& b, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  return b.u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
}

}  // namespace

TEST_F(StagePartsTest, ARuleOfVersion124HoldsTheLeftFlagAndTheMargins) {
  Bytes b;
  b.u32(124).u32(5).i32(1).i32(2).i32(3).i32(4).i32(5).u32(0);
  ASSERT_EQ(b.s.size(), 4u + 28u);
  cEdOffScreenRule rule;
  rule.Set(0, 7, 8, 9, 0, 0, 0, 0);
  cDataReader r(b.s);
  rule.Load(r);
  EXPECT_FALSE(r.Ended());
  EXPECT_EQ(rule.m_bLeft, 1);
  EXPECT_EQ(rule.m_nLeftMargin, 2);
  EXPECT_EQ(rule.m_nRightMargin, 3);
  EXPECT_EQ(rule.m_nTopMargin, 4);
  EXPECT_EQ(rule.m_nBottomMargin, 5);
  // The sides the file does not store are the rule's own; the stage decides them.
  EXPECT_EQ(rule.m_bRight, 7);
  EXPECT_EQ(rule.m_bTop, 8);
  EXPECT_EQ(rule.m_bBottom, 9);

  Bytes want;
  want.u32(734).u32(8).i32(1).i32(7).i32(8).i32(9).i32(2).i32(3).i32(4).i32(5).u32(0);
  EXPECT_EQ(SaveBytes(rule), want.s);
}

TEST_F(StagePartsTest, BackgroundsOfEachLayoutLoadIntoDefaultLayers) {
  // Version 60: fill, colour, front and two values in place of the factors.
  Bytes v60;
  v60.u32(60).u32(1).u32(5).i32(1).i32(33).i32(1).i32(0x3FB99999).i32(-1).u32(1).str("sky.bmp");
  cVector<cEdBackground> old = LoadBackgrounds(v60.s);
  ASSERT_EQ(old.Size(), 1);
  EXPECT_EQ(old[0].m_bVisible, 1);
  EXPECT_EQ(old[0].m_bFillColor, 1);
  EXPECT_EQ(old[0].m_nColor, 33);
  EXPECT_EQ(old[0].m_bFront, 1);
  EXPECT_EQ(old[0].m_dScrollX, 0.1);
  EXPECT_EQ(old[0].m_dScrollY, 0.1);
  EXPECT_EQ(old[0].m_strFile, "sky.bmp");

  // Version 61: the factors and switches, then two values in place of the offsets.
  Bytes v61;
  v61.u32(61).u32(1).u32(9).i32(0).i32(16).i32(0);
  PutF64(v61, 0.5);
  PutF64(v61, -2.25);
  v61.i32(1).i32(0).i32(77).i32(88).u32(1).str("far.bmp");
  cVector<cEdBackground> mid = LoadBackgrounds(v61.s);
  ASSERT_EQ(mid.Size(), 1);
  EXPECT_EQ(mid[0].m_dScrollX, 0.5);
  EXPECT_EQ(mid[0].m_dScrollY, -2.25);
  EXPECT_EQ(mid[0].m_bAutoScrollX, 1);
  EXPECT_EQ(mid[0].m_dOffsetX, 0.0);
  EXPECT_EQ(mid[0].m_dOffsetY, 0.0);
  EXPECT_EQ(mid[0].m_strFile, "far.bmp");

  // Version 62 and later: ten members, 56 bytes, and the file name.
  Bytes now;
  now.u32(734).u32(10).i32(0).i32(1).i32(5).i32(1);
  PutF64(now, 1.5);
  PutF64(now, 0.0);
  now.i32(0).i32(1);
  PutF64(now, 12.0);
  PutF64(now, AsDouble(0x7FF0000000000000ull));
  now.u32(1).str("near.bmp");
  ASSERT_EQ(now.s.size(), 4u + 4u + 56u + 4u + 13u);
  cDataReader r(now.s);
  cEdBackground layer;
  layer.Load(r);
  EXPECT_EQ(layer.m_bVisible, 0);
  EXPECT_EQ(layer.m_nColor, 5);
  EXPECT_EQ(layer.m_dOffsetX, 12.0);
  EXPECT_EQ(SaveBytes(layer), now.s);
}

TEST_F(StagePartsTest, ATextIsOneStringAndNoNumber) {
  Bytes want;
  want.u32(734).u32(0).u32(1).str("note");
  cEdTextRecord text;
  text.m_strText = "note";
  EXPECT_EQ(SaveBytes(text), want.s);
  cEdTextRecord back;
  cDataReader r(want.s);
  back.Load(r);
  EXPECT_EQ(back.m_strText, "note");
}

TEST_F(StagePartsTest, ResetRecordVectorRefillsWithDefaultElements) {
  cVector<cEdBackground> list(2);
  list[0].m_nColor = 3;
  ResetRecordVector(list, 0);
  EXPECT_TRUE(list.empty());
  list.resize(1);
  list[0].m_bFillColor = 1;
  list[0].m_strFile = "x";
  ResetRecordVector(list, 3);
  ASSERT_EQ(list.Size(), 3);
  cEdBackground fresh;
  for (cEdBackground& layer : list) EXPECT_EQ(SaveBytes(layer), SaveBytes(fresh));
}

// A copied cell names its own block: saving it gives the source's bytes
// after the source is gone.
TEST_F(StagePartsTest, MapCellsCopyTheirBlockAndLatch) {
  std::string want;
  cVector<MAPCELL> copy;
  {
    cVector<MAPCELL> cells(3);
    cells[1].Block.m_nGraphic = 7;
    cells[1].Block.m_strName = "wall";
    cells[1].bLatched = 1;
    want = SaveBytes(cells[1].Block);
    copy = cells;
  }
  ASSERT_EQ(copy.Size(), 3);
  EXPECT_EQ(copy[1].bLatched, 1);
  EXPECT_EQ(SaveBytes(copy[1].Block), want);
  MAPCELL assigned;
  assigned = copy[1];
  EXPECT_EQ(SaveBytes(assigned.Block), want);
  EXPECT_EQ(assigned.bLatched, 1);
}
