// The status table: the 22 names in index order, where each is stored, and
// that a write is clamped into its range and stored at its width.
#include <gtest/gtest.h>

#include "game/characters.h"
#include "game/status_fields.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

TEST(StatusFields, NamesInIndexOrder) {
  const char* names[] = {"v1",  "v2",  "v3",   "v4",    "v5",    "v6",  "v7",  "v8",  "hp",   "sp",   "mhp",
                         "msp", "cid", "z",    "mark",  "sight", "power", "imp", "def", "impd", "stop", "getsc"};
  for (int i = 0; i < STATUS_FIELD_COUNT; ++i) {
    EXPECT_STREQ(StatusFieldTable[i].szName, names[i]);
    EXPECT_EQ(FindStatusField(names[i]), i);
  }
  EXPECT_EQ(FindStatusField("HP"), -1);
  EXPECT_EQ(FindStatusField(""), -1);
  EXPECT_EQ(FindStatusField(nullptr), -1);
}

TEST(StatusFields, WritesAreClampedToTheRangeAndStoredAtTheWidth) {
  GameWorld world;
  cChara c;
  SetUpTestChara(c, CharaDef().Hp(80).Sp(30), 1, {0, 0}, 0, false);
  struct Case {
    const char* name;
    int32_t written, read;
    int bytes;
  };
  const Case cases[] = {
      {"v1", 1234567, 999999, 4},  {"v8", -1234567, -999999, 4}, {"hp", 100, 80, 4},     {"hp", -5, 0, 4},
      {"sp", 31, 30, 4},           {"mhp", 0, 1, 4},             {"msp", 2000000, 999999, 4},
      {"cid", 150, 99, 1},         {"cid", -3, 0, 1},            {"z", 9, 7, 1},          {"mark", 200, 119, 2},
      {"sight", 41, 40, 1},        {"power", -1000000, -999999, 4}, {"imp", -25, -20, 1}, {"def", -1, 0, 4},
      {"impd", 21, 20, 1},         {"stop", 201, 200, 2},        {"getsc", 999999, 999999, 4},
  };
  for (const Case& k : cases) {
    const int index = FindStatusField(k.name);
    ASSERT_GE(index, 0) << k.name;
    EXPECT_EQ(StatusFieldTable[index].nBytes, k.bytes) << k.name;
    SetStatusField(c, index, k.written);
    EXPECT_EQ(GetStatusField(c, index), k.read) << k.name << " " << k.written;
  }
  // Each lands in its own field.
  EXPECT_EQ(c.m_vVars[1], 999999);
  EXPECT_EQ(c.m_vVars[8], -999999);
  EXPECT_EQ(c.m_Def.m_nCharaId, 0);
  EXPECT_EQ(c.m_Def.m_nZ, 7);
  EXPECT_EQ(c.m_Def.m_nIcon, 119);
  EXPECT_EQ(c.m_Def.m_nSight, 40);
  EXPECT_EQ(c.m_Def.m_nImpact, -20);
  EXPECT_EQ(c.m_Def.m_nImpactResist, 20);
  EXPECT_EQ(c.m_Def.m_nStop, 200);
  EXPECT_EQ(c.m_Def.m_nMaxSp, 999999);
  EXPECT_EQ(c.m_Def.m_nScore, 999999);
  // hp follows the maximum in force when it is written.
  SetStatusField(c, STATUSFIELD_MHP, 50);
  SetStatusField(c, STATUSFIELD_HP, 60);
  EXPECT_EQ(c.m_nHp, 50);
  EXPECT_EQ(GetStatusField(c, 22), 0);
  SetStatusField(c, -1, 5);  // nothing
}
