// SwordType.dat and Effect.dat entries, from fixtures written from the layouts.
#include <gtest/gtest.h>

#include <array>

#include "records/db_bytes.h"
#include "records/effect_record.h"
#include "records/sword_type.h"

namespace {

// Frame values in registration order: offset x, offset y, mirror x, mirror y,
// place, source x, source y, width, height, time.
using SwordValues = std::array<int32_t, 10>;

void PutSwordFrame(Bytes& b, int version, const SwordValues& v) {
  b.u32(version >= 138 ? 10 : 8);
  for (int i = 0; i < 10; ++i)
    if (version >= 138 || (i != 2 && i != 3)) b.i32(v[i]);
  b.u32(0);
}

void PutSwordType(Bytes& b, int version, int32_t aux, std::vector<SwordValues> frames) {
  if (version >= 151)
    b.u32(1).i32(aux);
  else
    b.u32(0);
  b.u32(3).str("katana").str("bmp\\sword\\l.bmp").str("bmp\\sword\\r.bmp");
  b.u32(static_cast<uint32_t>(frames.size()));
  for (const SwordValues& f : frames) PutSwordFrame(b, version, f);
}

SwordValues Values(const cEdSwordFrame& f) {
  return {f.m_nOffsetX, f.m_nOffsetY, f.m_bMirrorX, f.m_bMirrorY, f.m_nPlace,
          f.m_nSrcX,    f.m_nSrcY,    f.m_nWidth,   f.m_nHeight,  f.m_nTime};
}

void PutEffect(Bytes& b, int version, int32_t aux, int32_t w, int32_t h, int32_t scale,
               std::vector<std::pair<int32_t, int32_t>> frames) {
  if (version >= 151)
    b.u32(4).i32(aux);
  else
    b.u32(3);
  b.i32(w).i32(h).i32(scale);
  b.u32(2).str("spark").str("bmp\\effect\\spark.bmp");
  b.u32(static_cast<uint32_t>(frames.size()));
  for (auto [cell, time] : frames) b.u32(2).i32(cell).i32(time).u32(0);
}

}  // namespace

TEST(SwordTypeRecord, CurrentFileLoadsEveryFieldAndSavesTheSameBytes) {
  const SwordValues f0 = {-3, 4, 0, 1, 2, 32, 64, 16, 8, 3};
  const SwordValues f1 = {1, 2, 1, 0, 3, 5, 6, 7, 9, 11};
  Bytes b;
  b.u32(734).u32(2);
  PutSwordType(b, 734, 9, {f0, f1});
  PutSwordType(b, 734, 0, {});
  cVector<cEdSwordType> list = LoadList<cEdSwordType>(b.s);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].m_strName, "katana");
  EXPECT_EQ(list[0].m_nAux, 9);
  EXPECT_EQ(list[0].m_strFileL, "bmp\\sword\\l.bmp");
  EXPECT_EQ(list[0].m_strFileR, "bmp\\sword\\r.bmp");
  ASSERT_EQ(list[0].m_vFrame.size(), 2u);
  EXPECT_EQ(Values(list[0].m_vFrame[0]), f0);
  EXPECT_EQ(Values(list[0].m_vFrame[1]), f1);
  // A sword type without frames has no frame 0 to show.
  EXPECT_TRUE(list[1].m_vFrame.empty());
  EXPECT_FALSE(list[1].HasFrame(0));
  EXPECT_TRUE(list[0].HasFrame(1));
  EXPECT_FALSE(list[0].HasFrame(2));
  EXPECT_EQ(SaveList(list), b.s);
}

TEST(SwordTypeRecord, OlderFilesKeepTheDefaultsOfWhatTheyLack) {
  struct Case {
    int version;
    int32_t auxInFile;
    int32_t auxLoaded;
  } cases[] = {
      {137, 0, 0},  // no aux before 151; frames of eight values
      {152, 7, 0},  // cleared before 153
      {153, 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    // Mirror values in the table are not in files before 138.
    const SwordValues f = {-3, 4, 0, 1, 2, 32, 64, 16, 8, 3};
    Bytes b;
    b.u32(c.version).u32(1);
    PutSwordType(b, c.version, c.auxInFile, {f, f});
    cVector<cEdSwordType> list = LoadList<cEdSwordType>(b.s);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].m_nAux, c.auxLoaded);
    ASSERT_EQ(list[0].m_vFrame.size(), 2u);
    SwordValues expected = f;
    if (c.version < 138) {
      expected[2] = 1;  // mirror x by default
      expected[3] = 0;
    }
    EXPECT_EQ(Values(list[0].m_vFrame[1]), expected);
    EXPECT_EQ(list[0].m_strFileR, "bmp\\sword\\r.bmp");
  }
}

TEST(SwordTypeRecord, NewTypeHasOneFrameOfTimeOne) {
  cEdSwordType t;
  t.m_vFrame.clear();
  t.m_strName = "x";
  t.Reset();
  EXPECT_EQ(t.m_strName, "");
  ASSERT_EQ(t.m_vFrame.size(), 1u);
  EXPECT_EQ(Values(t.m_vFrame[0]), (SwordValues{0, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
}

TEST(EffectRecord, CurrentFileLoadsEveryFieldAndSavesTheSameBytes) {
  Bytes b;
  b.u32(734).u32(2);
  PutEffect(b, 734, 3, 16, 24, 1, {{0, 2}, {5, 1}});
  PutEffect(b, 734, 0, 32, 32, 0, {});
  cVector<cEdEffect> list = LoadList<cEdEffect>(b.s);
  ASSERT_EQ(list.size(), 2u);
  const cEdEffect& e = list[0];
  EXPECT_EQ(e.m_strName, "spark");
  EXPECT_EQ(e.m_strFile, "bmp\\effect\\spark.bmp");
  EXPECT_EQ(e.m_nAux, 3);
  EXPECT_EQ(e.m_nWidth, 16);
  EXPECT_EQ(e.m_nHeight, 24);
  EXPECT_EQ(e.m_bScaleWithOwner, 1);
  ASSERT_EQ(e.m_vFrame.size(), 2u);
  EXPECT_EQ(e.m_vFrame[1].m_nCell, 5);
  EXPECT_EQ(e.m_vFrame[0].m_nTime, 2);
  EXPECT_TRUE(list[1].m_vFrame.empty());
  EXPECT_EQ(SaveList(list), b.s);
}

TEST(EffectRecord, OlderFiles) {
  struct Case {
    int version;
    int32_t auxInFile;
    int32_t auxLoaded;
  } cases[] = {{150, 0, 0}, {152, 5, 0}, {153, 5, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    Bytes b;
    b.u32(c.version).u32(1);
    PutEffect(b, c.version, c.auxInFile, 48, 40, 1, {{2, 3}});
    cVector<cEdEffect> list = LoadList<cEdEffect>(b.s);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].m_nAux, c.auxLoaded);
    EXPECT_EQ(list[0].m_nWidth, 48);
    EXPECT_EQ(list[0].m_nHeight, 40);
    EXPECT_EQ(list[0].m_bScaleWithOwner, 1);
    EXPECT_EQ(list[0].m_vFrame.At(0).m_nCell, 2);
  }
}

TEST(EffectRecord, ResetKeepsTheFrames) {
  cEdEffect e;
  EXPECT_EQ(e.m_nWidth, 32);
  EXPECT_EQ(e.m_nHeight, 32);
  EXPECT_TRUE(e.m_vFrame.empty());
  e.m_vFrame.push_back(cEdEffectFrame());
  e.m_nWidth = 8;
  e.m_bScaleWithOwner = 1;
  e.Reset();
  EXPECT_EQ(e.m_nWidth, 32);
  EXPECT_EQ(e.m_bScaleWithOwner, 0);
  ASSERT_EQ(e.m_vFrame.size(), 1u);
  EXPECT_EQ(e.m_vFrame[0].m_nTime, 1);
}
