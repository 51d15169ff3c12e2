// AnimeSet.dat and Anime.dat entries, from fixtures written from the layouts.
#include <gtest/gtest.h>

#include "records/anime_records.h"
#include "records/db_bytes.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

struct Frame {
  int32_t cell, time, lock;
};

// One cEdAnimeFrame segment: always three fields, no strings (20 bytes).
void PutFrame(Bytes& b, Frame f) { b.u32(3).i32(f.cell).i32(f.time).i32(f.lock).u32(0); }

// One cEdAnime segment as a file of `version` holds it.
void PutAnime(Bytes& b, int version, const std::string& name, std::vector<Frame> frames,
              int16_t aux1 = 0, uint8_t aux2 = 1, int16_t aux3 = 0) {
  if (version >= 55)
    b.u32(3).i16(aux1).u8(aux2).i16(aux3);
  else
    b.u32(0);
  b.u32(1).str(name);
  b.u32(static_cast<uint32_t>(frames.size()));
  for (Frame f : frames) PutFrame(b, f);
}

// A cEdAnimeSet segment with the given animation names (one frame {1, 2, 0} each).
void PutSet(Bytes& b, int version, int inv, int block, int fly, std::vector<std::string> names) {
  if (version >= 119)
    b.u32(3).i32(inv).i32(block).i32(fly);
  else
    b.u32(2).i32(inv).i32(block);
  b.u32(1).str("set");
  b.u32(static_cast<uint32_t>(names.size()));
  for (const std::string& n : names) PutAnime(b, version, n, {{1, 2, 0}});
}

void ExpectDefaultAnime(const cEdAnime& a) {
  ASSERT_EQ(a.m_vFrame.size(), 1u);
  EXPECT_EQ(a.m_vFrame[0].m_nCell, 0);
  EXPECT_EQ(a.m_vFrame[0].m_nTime, 1);
  EXPECT_EQ(a.m_vFrame[0].m_bLock, 0);
}

}  // namespace

TEST(AnimeRecords, CurrentAnimeFileLoadsEveryFieldAndSavesTheSameBytes) {
  Bytes b;
  b.u32(734).u32(2);
  PutAnime(b, 734, "walk", {{3, 4, 0}, {-2, 0, 1}}, -2, 7, 300);
  PutAnime(b, 734, "", {});
  cVector<cEdAnime> list = LoadList<cEdAnime>(b.s);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].m_strName, "walk");
  EXPECT_EQ(list[0].m_nAux1, -2);
  EXPECT_EQ(list[0].m_byAux2, 7);
  EXPECT_EQ(list[0].m_nAux3, 300);
  ASSERT_EQ(list[0].m_vFrame.size(), 2u);
  EXPECT_EQ(list[0].m_vFrame[0].m_nCell, 3);
  EXPECT_EQ(list[0].m_vFrame[0].m_nTime, 4);
  EXPECT_EQ(list[0].m_vFrame[1].m_nCell, -2);  // a control code passes unchanged
  EXPECT_EQ(list[0].m_vFrame[1].m_bLock, 1);
  EXPECT_TRUE(list[1].m_vFrame.empty());  // no frames stays no frames
  EXPECT_EQ(SaveList(list), b.s);
}

TEST(AnimeRecords, Version54AnimeHasNoSmallFields) {
  Bytes b;
  b.u32(54).u32(1);
  PutAnime(b, 54, "old", {{5, 6, 0}});
  cVector<cEdAnime> list = LoadList<cEdAnime>(b.s);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].m_strName, "old");
  EXPECT_EQ(list[0].m_nAux1, 0);
  EXPECT_EQ(list[0].m_byAux2, 1);
  EXPECT_EQ(list[0].m_nAux3, 0);
  EXPECT_EQ(list[0].m_vFrame[0].m_nCell, 5);
  // Saved again it is a current file: three small fields, 5 bytes.
  Bytes now;
  now.u32(734).u32(1);
  PutAnime(now, 734, "old", {{5, 6, 0}}, 0, 1, 0);
  EXPECT_EQ(SaveList(list), now.s);
}

TEST(AnimeRecords, CurrentSetLoadsAndSavesTheSameBytes) {
  Bytes b;
  b.u32(734).u32(1);
  PutSet(b, 734, 5, 9, 2, {"a", "b", "c", "d", "e", "f"});
  cVector<cEdAnimeSet> list = LoadList<cEdAnimeSet>(b.s);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].m_strName, "set");
  EXPECT_EQ(list[0].m_nInvincibleCell, 5);
  EXPECT_EQ(list[0].m_nBlockCell, 9);
  EXPECT_EQ(list[0].m_nFlyCell, 2);
  ASSERT_EQ(list[0].m_vSetAnime.size(), 6u);  // from 128 any number stays
  EXPECT_EQ(list[0].m_vSetAnime[2].m_strName, "c");
  EXPECT_EQ(list[0].m_vSetAnime[5].m_vFrame[0].m_nTime, 2);
  EXPECT_EQ(SaveList(list), b.s);
}

TEST(AnimeRecords, SetsBefore128GetExactlyFourAnimations) {
  const std::string fly = Sjis("飛行"), flyMove = Sjis("飛行移動");
  struct Case {
    int version;
    std::vector<std::string> names;
    std::vector<std::string> expected;
    int flyCell;
    bool padded;  // animations 2 and 3 were added
  } cases[] = {
      {118, {"x", "y"}, {"x", "y", fly, flyMove}, 0, true},
      {127, {"a", "b", "c", "d", "e", "f"}, {"a", "b", fly, flyMove}, 6, false},
      {128, {"a", "b", "c", "d", "e"}, {"a", "b", "c", "d", "e"}, 6, false},
      {128, {"a"}, {"a"}, 6, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    Bytes b;
    b.u32(c.version).u32(1);
    PutSet(b, c.version, 4, 8, 6, c.names);
    cVector<cEdAnimeSet> list = LoadList<cEdAnimeSet>(b.s);
    ASSERT_EQ(list.size(), 1u);
    const cEdAnimeSet& set = list[0];
    ASSERT_EQ(set.m_vSetAnime.size(), c.expected.size());
    for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(set.m_vSetAnime[i].m_strName, c.expected[i]);
    EXPECT_EQ(set.m_nFlyCell, c.flyCell);  // before 119 the file has none
    EXPECT_EQ(set.m_vSetAnime[0].m_vFrame[0].m_nCell, 1);
    if (c.padded) {
      ExpectDefaultAnime(set.m_vSetAnime[2]);
      ExpectDefaultAnime(set.m_vSetAnime[3]);
      EXPECT_EQ(set.m_vSetAnime[3].m_byAux2, 1);
    }
  }
}

TEST(AnimeRecords, NewRecordsHoldTheirDefaults) {
  cEdAnimeSet set;
  EXPECT_EQ(set.m_nInvincibleCell, 4);
  EXPECT_EQ(set.m_nBlockCell, 8);
  EXPECT_EQ(set.m_nFlyCell, 0);
  ASSERT_EQ(set.m_vSetAnime.size(), 4u);
  const char* names[] = {"立ち", "立ち移動", "飛行", "飛行移動"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(set.m_vSetAnime[i].m_strName, Sjis(names[i]));
    ExpectDefaultAnime(set.m_vSetAnime[i]);
  }
  // Default names as Shift-JIS bytes.
  EXPECT_EQ(set.m_vSetAnime[1].m_strName, std::string("\x97\xA7\x82\xBF\x88\xDA\x93\xAE"));

  // A copy is deep and keeps working after the source is gone.
  auto* source = new cEdAnimeSet;
  source->m_vSetAnime[0].m_vFrame[0].m_nCell = 12;
  cEdAnimeSet copy(*source);
  delete source;
  cVector<cEdAnimeSet> list;
  list.push_back(copy);
  EXPECT_EQ(list[0].m_vSetAnime[0].m_vFrame[0].m_nCell, 12);
  Bytes expected;
  expected.u32(734).u32(1).u32(3).i32(4).i32(8).i32(0).u32(1).str("").u32(4);
  for (int i = 0; i < 4; ++i) {
    expected.u32(3).i16(0).u8(1).i16(0).u32(1).str(Sjis(names[i])).u32(1);
    PutFrame(expected, {i == 0 ? 12 : 0, 1, 0});
  }
  EXPECT_EQ(SaveList(list), expected.s);
}
