// LOOP expansion: the result of the first-LOOP-first rule for counts,
// ranges, nesting and overlap, item lists, deep copies, and the caps that
// end a list that would grow for ever.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "game/flow_loops.h"
#include "records/command.h"
#include "support/flow_builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

// "A B L(3,2) C": letters are WAITs told apart by their use time, L(t,r) LOOPs.
cVector<cEdCommand> Parse(const std::string& text) {
  cVector<cEdCommand> list;
  std::istringstream in(text);
  std::string token;
  while (in >> token) {
    int times = 0, range = 0;
    if (std::sscanf(token.c_str(), "L(%d,%d)", &times, &range) == 2)
      list.push_back(LoopDef(times, range));
    else
      list.push_back(CommandDef(ACTCMDTYPE_WAIT).UseTime(token[0] - 'A' + 1));
  }
  return list;
}

std::string Show(const cVector<cEdCommand>& list) {
  std::string text;
  for (const cEdCommand& c : list) {
    if (!text.empty()) text += ' ';
    if (c.m_nType == ACTCMDTYPE_LOOP)
      text += "L(" + std::to_string(c.m_vParams[0]) + "," + std::to_string(c.m_vParams[1]) + ")";
    else
      text += static_cast<char>('A' + c.m_nUseTime - 1);
  }
  return text;
}

std::string Repeat(const std::string& unit, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += unit;
  return text;
}

std::string ReportLog() {
  std::ifstream in("Report_Game.txt");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST(ExpandLoops, RepeatsTheRangeFirstLoopFirst) {
  GameWorld world;
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"L(3,2) A B C", "A B A B A B C"},
      {"L(1,2) A B C", "A B C"},
      {"L(0,2) A B C", "A B C"},
      {"L(-4,2) A B C", "A B C"},
      {"A L(2,1) B", "A B B"},
      {"A B L(3,2)", "A B"},              // a LOOP last just goes
      {"L(2,5) A B", "A B A B"},          // a range past the end repeats what exists
      {"L(3,0) A", "A"},
      {"L(3,-2) A", "A"},
      {"L(2,3) A L(3,1) B C", "A B B B A B B B C"},  // nested: multiplied by both counts
      {"L(2,2) A L(2,1) B C", "A A A B B C"},        // overlapping: the inner copy's range shifts
      {"L(2,2) L(2,1) A B", "A A A A B"},
      {"A B C", "A B C"},
      {"", ""},
  };
  for (const Case& c : cases) {
    cVector<cEdCommand> list = Parse(c.in);
    ExpandLoops(list, "test");
    EXPECT_EQ(Show(list), c.out) << c.in;
  }
  EXPECT_EQ(ReportLog().find("ExpandLoops"), std::string::npos);
}

TEST(ExpandLoops, ItemListsLoopOnTheirOwnTypeAndCopiesAreDeep) {
  GameWorld world;
  cVector<cEdCommand> list;
  CommandDef loop(ITEMCMDTYPE_LOOP);
  loop.Def().m_bItemCommand = 1;
  loop.Param(0, 2).Param(1, 1);
  CommandDef give(ITEMCMDTYPE_GET_ITEM);
  give.Def().m_bItemCommand = 1;
  list.push_back(loop);
  list.push_back(give);
  list.push_back(CommandDef(ACTCMDTYPE_VANISH).Param(0, 2).Param(1, 1));  // action type 24 is no LOOP
  list.push_back(CommandDef(ACTCMDTYPE_WAIT).Speed(30, 0));
  ExpandLoops(list, "item");
  ASSERT_EQ(list.Size(), 4);
  EXPECT_EQ(list[0].m_nType, ITEMCMDTYPE_GET_ITEM);
  EXPECT_EQ(list[1].m_nType, ITEMCMDTYPE_GET_ITEM);
  EXPECT_EQ(list[2].m_nType, ACTCMDTYPE_VANISH);

  cVector<cEdCommand> moves = Parse("L(3,1)");
  moves.push_back(CommandDef(ACTCMDTYPE_MOVE_STRAIGHT).Speed(30, 0));
  ExpandLoops(moves, "moves");
  ASSERT_EQ(moves.Size(), 3);
  moves[0].m_spMove->m_nSpeed = 99;
  EXPECT_NE(moves[0].m_spMove.get(), moves[1].m_spMove.get());
  EXPECT_EQ(moves[1].m_spMove->m_nSpeed, 30);
  EXPECT_EQ(moves[2].m_spMove->m_nSpeed, 30);
}

TEST(ExpandLoops, ListsThatWouldGrowForEverEndAtTheCaps) {
  GameWorld world;
  struct Case {
    std::string in;
    size_t size;
    bool reported;
  } cases[] = {
      // Two LOOPs reaching the end copy each other for ever: cut, both gone.
      {"A L(2,5) L(2,5)", 1, true},
      // A LOOP whose range holds a copy of itself gains one A a pass.
      {"L(2,2) A L(2,2) B C", 4097 + 2, true},
      // Exactly the size cap, and one past it.
      {"L(65536,1) A", 65536, false},
      {"L(65537,1) A", 1, true},
      {"L(2147483647,1000) A B", 2, true},
      // 4096 expanding passes are allowed; the 4097th LOOP goes unexpanded.
      {Repeat("L(2,1) A ", 4096), 8192, false},
      {Repeat("L(2,1) A ", 4097), 8193, true},
  };
  for (const Case& c : cases) {
    std::ofstream("Report_Game.txt", std::ios::trunc).close();
    cVector<cEdCommand> list = Parse(c.in);
    ExpandLoops(list, "chara 7 flow 2");
    EXPECT_EQ(list.size(), c.size) << c.in.substr(0, 40);
    for (const cEdCommand& command : list) ASSERT_NE(command.m_nType, ACTCMDTYPE_LOOP);
    const std::string log = ReportLog();
    EXPECT_EQ(log.find("ExpandLoops: chara 7 flow 2:") != std::string::npos, c.reported) << c.in.substr(0, 40) << log;
  }
  cVector<cEdCommand> pingPong = Parse("A L(2,5) L(2,5)");
  ExpandLoops(pingPong, "x");
  EXPECT_EQ(Show(pingPong), "A");
}

TEST(ExpandLoops, TheWorstCaseIsQuick) {
  // 4096 passes over a list near the size cap: each pass copies only what it inserts.
  GameWorld world;
  std::string text = Repeat("L(1,0) ", 4000) + "L(16,3000) " + Repeat("A ", 3000) + Repeat("B ", 16000);
  cVector<cEdCommand> list = Parse(text);
  ExpandLoops(list, "worst");
  EXPECT_EQ(list.Size(), 16 * 3000 + 16000);
}
