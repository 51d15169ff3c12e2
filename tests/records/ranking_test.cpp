// The rankings: files written by hand, the insertion rule, the file paths and
// the clear-time text; a damaged file gives an empty ranking.
#include <gtest/gtest.h>

#include <tuple>

#include "records/path_table.h"
#include "records/save_bytes.h"

namespace {

using Rankings = SaveTest;

std::vector<std::string> Names(const cRankingTable& t) {
  std::vector<std::string> names;
  for (const cRankingEntry& e : t.m_vEntries) names.push_back(e.m_bUsed ? e.m_strName : "-");
  while (!names.empty() && names.back() == "-") names.pop_back();
  return names;
}

std::vector<int32_t> Values(const cRankingTable& t) {
  std::vector<int32_t> values;
  for (const cRankingEntry& e : t.m_vEntries)
    if (e.m_bUsed) values.push_back(e.m_nValue);
  return values;
}

bool IsFresh(const cRanking& r) {
  if (r.m_vTables.Size() != RANKING_TABLE_COUNT) return false;
  const int32_t order[] = {1, 1, 0, 1, 1};
  for (int t = 0; t < RANKING_TABLE_COUNT; ++t) {
    if (r.m_vTables[t].m_nOrder != order[t] || r.m_vTables[t].m_vEntries.Size() != RANKING_ROW_COUNT) return false;
    if (!Values(r.m_vTables[t]).empty()) return false;
  }
  return true;
}

// A table of the given order with the given used values, the rest empty.
cRankingTable TableOf(int32_t order, const std::vector<int32_t>& values) {
  cRankingTable t;
  t.m_nOrder = order;
  for (size_t i = 0; i < values.size(); ++i) {
    t.m_vEntries[i].m_bUsed = 1;
    t.m_vEntries[i].m_nValue = values[i];
    t.m_vEntries[i].m_strName = "n" + std::to_string(i);
  }
  return t;
}

}  // namespace

TEST_F(Rankings, HandWrittenFileLoadsRowByRowAndSavesTheSameBytes) {
  m_dir.WriteFile("user_data/story/c01.rkg", RankingFile());
  ASSERT_TRUE(Ranking.LoadFor(PLAYKIND_STORY, "data\\stg4\\c01."));
  ASSERT_EQ(Ranking.m_vTables.Size(), 5);
  EXPECT_EQ(Names(Ranking.m_vTables[0]), (std::vector<std::string>{"AAA", "BBB", "CCC"}));
  EXPECT_EQ(Values(Ranking.m_vTables[0]), (std::vector<int32_t>{900, 500, 500}));
  EXPECT_EQ(Values(Ranking.m_vTables[1]), (std::vector<int32_t>{30}));
  EXPECT_EQ(Values(Ranking.m_vTables[2]), (std::vector<int32_t>{4000, 5000}));
  EXPECT_EQ(Ranking.m_vTables[2].m_nOrder, 0);
  EXPECT_EQ(Names(Ranking.m_vTables[4]), (std::vector<std::string>{"\x83\x5C"}));
  for (const cRankingTable& t : Ranking.m_vTables) EXPECT_EQ(t.m_vEntries.Size(), RANKING_ROW_COUNT);

  m_dir.WriteFile("user_data/story/c01.rkg", "");
  ASSERT_TRUE(Ranking.SaveFor(PLAYKIND_STORY, "data\\stg4\\c01."));
  EXPECT_EQ(m_dir.ReadFile("user_data/story/c01.rkg"), RankingFile());
}

TEST_F(Rankings, OldFileWithThreeTablesGetsFiveOfTwentyRows) {
  m_dir.WriteFile("user_data/free/boss.rkg", OldRankingFile());
  ASSERT_TRUE(Ranking.LoadFor(PLAYKIND_FREE, "boss."));
  ASSERT_EQ(Ranking.m_vTables.Size(), 5);
  std::vector<int32_t> orders;
  for (const cRankingTable& t : Ranking.m_vTables) {
    orders.push_back(t.m_nOrder);
    EXPECT_EQ(t.m_vEntries.Size(), RANKING_ROW_COUNT);
  }
  EXPECT_EQ(orders, (std::vector<int32_t>{1, 1, 0, 1, 1}));
  EXPECT_EQ(Names(Ranking.m_vTables[0]), (std::vector<std::string>{"OLD"}));
  EXPECT_EQ(Values(Ranking.m_vTables[2]), (std::vector<int32_t>{3000}));
}

TEST_F(Rankings, FindRankAndInsert) {
  struct Case {
    int32_t order;
    std::vector<int32_t> before;
    int32_t value;
    int rank;
    std::vector<int32_t> after;
  };
  std::vector<int32_t> full;  // 20 rows, 2000 down to 100
  for (int i = 0; i < RANKING_ROW_COUNT; ++i) full.push_back(2000 - 100 * i);
  std::vector<int32_t> fullWith150 = full;
  fullWith150.back() = 150;
  const Case cases[] = {
      {1, {500, 300, 300}, 300, 3, {500, 300, 300, 300}},  // a tie goes after
      {1, {500, 300, 300}, 301, 1, {500, 301, 300, 300}},
      {0, {4000, 5000}, 4500, 1, {4000, 4500, 5000}},      // smaller first
      {0, {4000, 5000}, 4000, 1, {4000, 4000, 5000}},
      {1, {}, -7, 0, {-7}},
      {1, full, 100, -1, full},                            // full: the last row is not beaten
      {1, full, 150, 19, fullWith150},
      {0, full, 2001, -1, full},                           // smaller first: the larger values are the better here
  };
  for (const Case& c : cases) {
    cRankingTable t = TableOf(c.order, c.before);
    EXPECT_EQ(t.FindRank(c.value), c.rank) << c.value;
    t.Insert("new", c.value);
    EXPECT_EQ(Values(t), c.after) << c.value;
    EXPECT_EQ(t.m_vEntries.Size(), RANKING_ROW_COUNT);
  }

  // A gap: the first empty row takes any value.
  cRankingTable gap = TableOf(1, {900, 800, 700});
  gap.m_vEntries[1].m_bUsed = 0;
  EXPECT_EQ(gap.FindRank(50), 1);
  gap.Insert("gap", 50);
  EXPECT_EQ(Values(gap), (std::vector<int32_t>{900, 50, 700}));
  EXPECT_EQ(Names(gap), (std::vector<std::string>{"n0", "gap", "-", "n2"}));
}

TEST_F(Rankings, PathPerPlayKind) {
  struct Case {
    int kind;
    std::string stage;
    bool ok;
    std::string path;
  };
  const Case cases[] = {
      {PLAYKIND_STORY, "data\\stg4\\c01.", true, "user_data\\story\\c01.rkg"},
      {PLAYKIND_CHALLENGE, "data\\stg4\\c01.", true, "user_data\\challenge\\c01.rkg"},
      {PLAYKIND_FREE, "boss.", true, "user_data\\free\\boss.rkg"},
      {PLAYKIND_FREE, "data\\\x83\x5C.", true, "user_data\\free\\\x83\x5C.rkg"},
      {PLAYKIND_REPLAY, "boss.", false, ""},
      {-1, "boss.", false, ""},
      {PLAYKIND_STORY, "", false, ""},            // no stage
      {PLAYKIND_STORY, "data\\stg4\\", false, ""},
  };
  for (const Case& c : cases) {
    std::string path;
    EXPECT_EQ(MakeRankingPath(path, c.kind, c.stage), c.ok) << c.kind << " " << c.stage;
    if (c.ok) EXPECT_EQ(path, c.path);
  }
  // The replay kind has no file: a load gives a fresh ranking, a save nothing.
  Ranking.m_vTables[0].Insert("x", 5);
  EXPECT_FALSE(Ranking.LoadFor(PLAYKIND_REPLAY, "boss."));
  EXPECT_TRUE(IsFresh(Ranking));
  EXPECT_FALSE(Ranking.SaveFor(PLAYKIND_REPLAY, "boss."));
  EXPECT_FALSE(m_dir.Exists("user_data"));
}

TEST_F(Rankings, ClearTimeText) {
  struct Case {
    int32_t hundredths;
    const char* text;
  };
  const Case cases[] = {
      {0, "00:00.00"},         {12345, "02:03.45"},           {600000, "100:00.00"},  {99, "00:00.99"},
      {-1, "00:00.-01"},       {-6100, "-01:-01.00"},         {INT32_MAX, "357913:56.47"},
      {INT32_MIN, "-357913:-56.-48"},
  };
  for (const Case& c : cases) {
    std::string text;
    FormatClearTime(text, c.hundredths);
    EXPECT_EQ(text, c.text) << c.hundredths;
  }
  EXPECT_EQ(CountEqual(cVector<int32_t>{-1, 3, -1, -1, 0}, -1), 3);
  EXPECT_EQ(CountEqual(cVector<int32_t>{}, -1), 0);
}

TEST_F(Rankings, ADamagedFileGivesAnEmptyRanking) {
  const std::string file = RankingFile();
  ForEveryCut("user_data/challenge/c01.rkg", file, [&](size_t length) {
    Ranking.m_vTables[1].Insert("live", 1);
    if (Ranking.LoadFor(PLAYKIND_CHALLENGE, "c01.") || !IsFresh(Ranking))
      ADD_FAILURE() << "a file cut at " << length << " bytes was taken";
  });
  std::vector<std::string> damaged;
  std::string rowNumbers = file;  // the first row of the first table: three numbers
  rowNumbers.replace(4 + 8 + 4 + 16, 4, std::string("\x03\0\0\0", 4));
  damaged.push_back(rowNumbers);
  std::string tablesPast = file;
  tablesPast.replace(4 + 8, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  damaged.push_back(tablesPast);
  std::string ownNumbers = file;  // the ranking record stores none
  ownNumbers.replace(4, 4, std::string("\x01\0\0\0", 4));
  damaged.push_back(ownNumbers);
  for (const std::string& bytes : damaged) {
    m_dir.WriteFile("user_data/challenge/c01.rkg", bytes);
    Ranking.m_vTables[1].Insert("live", 1);
    if (Ranking.LoadFor(PLAYKIND_CHALLENGE, "c01.") || !IsFresh(Ranking))
      ADD_FAILURE() << "a damaged file of " << bytes.size() << " bytes was taken";
  }
  EXPECT_NE(Report().find("c01.rkg : the file is damaged"), std::string::npos);
  EXPECT_EQ(Report().find("err V"), std::string::npos);
  EXPECT_TRUE(NoCloseRequest());

  // A missing file: empty as well, and nothing to report.
  Ranking.m_vTables[1].Insert("live", 1);
  EXPECT_FALSE(Ranking.LoadFor(PLAYKIND_CHALLENGE, "c02."));
  EXPECT_TRUE(IsFresh(Ranking));
}

TEST_F(Rankings, AFailedWriteKeepsTheOldFileAndSaysSo) {
  ASSERT_TRUE(Ranking.SaveFor(PLAYKIND_FREE, "boss."));
  const std::string old = m_dir.ReadFile("user_data/free/boss.rkg");
  Ranking.m_vTables[0].Insert("new", 10);
  {
    DiskFullAfter full(200);
    EXPECT_FALSE(Ranking.SaveFor(PLAYKIND_FREE, "boss."));
  }
  EXPECT_EQ(m_dir.ReadFile("user_data/free/boss.rkg"), old);
  EXPECT_EQ(Values(Ranking.m_vTables[0]), (std::vector<int32_t>{10}));  // the new entry stays in memory
  EXPECT_NE(Report().find("boss.rkg : could not be written"), std::string::npos);
}
