// The command record: its file layout, normalisation against the database
// and the type tables, palette references, deep copies, damaged files.
#include <gtest/gtest.h>

#include <vector>

#include "records/command.h"
#include "records/command_bytes.h"
#include "records/command_types.h"
#include "records/command_vocab.h"

namespace {

using CmdParams = std::vector<int32_t>;
using CommandRecord = BehaviourTest;

CmdParams ParamsOf(const cEdCommand& c) { return CmdParams(c.m_vParams.begin(), c.m_vParams.end()); }

cEdCommand Make(int item, int type, CmdParams params = {}) {
  cEdCommand c;
  c.m_bItemCommand = static_cast<uint8_t>(item);
  c.m_nType = static_cast<int8_t>(type);
  c.m_vParams.assign(params.begin(), params.end());
  return c;
}

// The move record of a new command, as stored: 32 blocks, no string.
void PutDefaultMove(Bytes& b) {
  b.u32(32).u8(0).u8(0).i16(0).i16(0).u8(1).u8(1).u8(1).i16(0).i16(0).i16(0).i16(0);
  b.u8(0).u8(1).u8(0).u8(0).u8(1).u8(0).u8(1).u8(0).u8(0).u8(0);
  b.i16(10).i16(0).i16(0).i16(0).u8(0).i16(0).i16(0).u8(0).i16(0);
  b.u32(0).u32(0x3FF00000);  // 1.0
  b.u8(0).u32(0);
}

// A chain of item commands "flow change", each carrying one flow that holds
// the next; `depth` flows deep.
std::string NestedCommand(int depth) {
  Bytes b;
  CommandHead h;
  h.item = 1;
  h.type = ITEMCMDTYPE_FLOW_CHANGE;
  PutCommandHead(b, h);
  b.u32(0).u32(0);
  if (depth > 0) {
    b.u32(1);
    PutFlow(b, 734, 1, 0, 0, 1, NestedCommand(depth - 1));
  } else {
    b.u32(0);
  }
  PutParams(b, {0, 0});
  return b.s;
}

int ChainLength(const cEdCommand& c) {
  if (c.m_vFlows.empty() || c.m_vFlows[0].m_vCommands.empty()) return 1;
  return 1 + ChainLength(c.m_vFlows[0].m_vCommands[0]);
}

}  // namespace

TEST_F(CommandRecord, SavesMoveRecordThenShotFlagFlowsAndParameters) {
  cEdCommand c = Make(0, ACTCMDTYPE_MOVE_STRAIGHT);
  c.m_nUseTime = 25;
  c.m_nUseTimeGrowth = -3;
  c.m_bNoWait = 1;
  c.m_nSe = 2;
  c.m_nAnime = 1;
  c.m_strText = "go";
  CreateEdMove(c.m_spMove);
  Bytes want;
  want.u32(734);
  want.u32(8).u8(0).u8(2).i16(25).i16(-3).u8(1).i16(2).u8(1).i16(1).u32(1).str("go");
  want.u32(1);
  PutDefaultMove(want);
  want.u32(0);  // no shot
  want.u32(0);  // no carried flows
  want.u32(0);  // no parameters
  EXPECT_EQ(SaveOne(c), want.s);
  cEdCommand back = LoadOne<cEdCommand>(want.s);
  ASSERT_TRUE(back.m_spMove);
  EXPECT_FALSE(back.m_spShot);
  EXPECT_EQ(back.m_spMove->m_nSpeed, 10);
  EXPECT_EQ(std::make_tuple(back.m_nUseTime, back.m_nUseTimeGrowth, back.m_bNoWait, back.m_nSe, back.m_nAnime),
            std::make_tuple(25, -3, 1, 2, 1));
  EXPECT_EQ(back.m_strText, "go");
}

TEST_F(CommandRecord, ItemFlowChangeCarriesItsFlowsThroughLoadAndSave) {
  Bytes carried;
  PutPlainCommand(carried, 0, ACTCMDTYPE_GAME_WAIT, {12});
  Bytes b;
  b.u32(734);
  CommandHead h;
  h.item = 1;
  h.type = ITEMCMDTYPE_FLOW_CHANGE;
  h.seOnScreenOnly = 0;
  PutCommandHead(b, h);
  b.u32(0).u32(0).u32(2);
  PutFlow(b, 734, 3, 0, FLOWTRIGGER_ALWAYS, 1, carried.s);
  PutFlow(b, 734, 4, 0, FLOWTRIGGER_DAMAGED, 0, "");
  PutParams(b, {1, 3});
  cEdCommand c = LoadOne<cEdCommand>(b.s);
  ASSERT_EQ(c.m_vFlows.size(), 2u);
  EXPECT_EQ(c.m_vFlows[0].m_nId, 3);
  ASSERT_EQ(c.m_vFlows[0].m_vCommands.size(), 1u);
  EXPECT_EQ(ParamsOf(c.m_vFlows[0].m_vCommands[0]), CmdParams{12});
  EXPECT_EQ(c.m_vFlows[1].m_nTrigger, FLOWTRIGGER_DAMAGED);
  EXPECT_EQ(ParamsOf(c), (CmdParams{1, 3}));
  EXPECT_EQ(c.m_bSeOnScreenOnly, 0);
  EXPECT_EQ(SaveOne(c), b.s);
}

TEST_F(CommandRecord, NewCommandHasNothingButSoundOnScreenOnly) {
  cEdCommand c;
  EXPECT_EQ(std::make_tuple(c.m_bItemCommand, c.m_nType, c.m_nUseTime, c.m_nSe, c.m_nAnime, c.m_bSeOnScreenOnly),
            std::make_tuple(0, 0, 0, 0, 0, 1));
  EXPECT_FALSE(c.m_spMove);
  EXPECT_FALSE(c.m_spShot);
  EXPECT_TRUE(c.m_vParams.empty());
  EXPECT_TRUE(c.m_vFlows.empty());
}

TEST_F(CommandRecord, NormaliseFitsParameterCountAndDatabaseIndexes) {
  // Database: 2 animation sets, 3 animations, 5 effects, 3 character and 3
  // screen effects, 6 pictures, 4 sounds, 7 music entries.
  struct Case {
    int item, type;
    CmdParams in;
    int wantType;
    CmdParams want;
  } cases[] = {
      {0, ACTCMDTYPE_MESSAGE, {1, 2, 3, 4, 5}, ACTCMDTYPE_MESSAGE, {1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {0, ACTCMDTYPE_MESSAGE, CmdParams(20, 4), ACTCMDTYPE_MESSAGE, CmdParams(18, 4)},
      {1, ITEMCMDTYPE_MESSAGE, {}, ITEMCMDTYPE_MESSAGE, CmdParams(18, 0)},
      {1, ITEMCMDTYPE_FLOW_CHANGE, {2}, ITEMCMDTYPE_FLOW_CHANGE, {2, 0}},
      {0, ACTCMDTYPE_SHOT, {1, 2}, ACTCMDTYPE_SHOT, {}},
      {0, ACTCMDTYPE_CHANGE_BASIC_ANIMESET, {2}, ACTCMDTYPE_CHANGE_BASIC_ANIMESET, {0}},
      {0, ACTCMDTYPE_CHANGE_BASIC_ANIMESET, {1}, ACTCMDTYPE_CHANGE_BASIC_ANIMESET, {1}},
      {1, ITEMCMDTYPE_CHANGE_BASIC_ANIMESET, {-1}, ITEMCMDTYPE_CHANGE_BASIC_ANIMESET, {0}},
      {0, ACTCMDTYPE_PLAY_ANIME, {5}, ACTCMDTYPE_PLAY_ANIME, {1}},
      {0, ACTCMDTYPE_PLAY_ANIME, {2}, ACTCMDTYPE_PLAY_ANIME, {2}},
      {1, ITEMCMDTYPE_PLAY_ANIME, {-7}, ITEMCMDTYPE_PLAY_ANIME, {1}},
      {0, ACTCMDTYPE_PLAY_EFFECT, {5, 9}, ACTCMDTYPE_PLAY_EFFECT, {1, 9, 0, 0, 0, 0, 0, 0}},
      {0, ACTCMDTYPE_PLAY_EFFECT, {4}, ACTCMDTYPE_PLAY_EFFECT, {4, 0, 0, 0, 0, 0, 0, 0}},
      {0, ACTCMDTYPE_CHARA_EFFECT, {3, 1, 2}, ACTCMDTYPE_CHARA_EFFECT, {1, 1, 2}},
      {1, ITEMCMDTYPE_SCREEN_EFFECT, {3, 2, 2}, ITEMCMDTYPE_SCREEN_EFFECT, {1, 2, 2}},
      {0, ACTCMDTYPE_SHOW_PICTURE, {6}, ACTCMDTYPE_SHOW_PICTURE, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {0, ACTCMDTYPE_PLAY_SE, {4}, ACTCMDTYPE_PLAY_SE, {1}},
      {1, ITEMCMDTYPE_PLAY_SE, {3}, ITEMCMDTYPE_PLAY_SE, {3}},
      {0, ACTCMDTYPE_PLAY_BGM, {7, 0}, ACTCMDTYPE_PLAY_BGM, {1, 0}},
      {1, ITEMCMDTYPE_PLAY_BGM, {6, 1}, ITEMCMDTYPE_PLAY_BGM, {6, 1}},
      // An item type that is no database command keeps its value.
      {1, ITEMCMDTYPE_CHANGE_GRAPHIC, {3, 99, 0}, ITEMCMDTYPE_CHANGE_GRAPHIC, {3, 99, 0}},
      // Types outside their tables become commands that do nothing.
      {0, 40, {1, 2}, 0, {}},
      {0, -1, {1}, 0, {}},
      {1, 25, {1}, 0, {}},
  };
  for (const Case& c : cases) {
    cEdCommand cmd = Make(c.item, c.type, c.in);
    cmd.Normalise();
    EXPECT_EQ(cmd.m_nType, c.wantType) << c.item << "/" << c.type;
    EXPECT_EQ(ParamsOf(cmd), c.want) << c.item << "/" << c.type;
  }
}

TEST_F(CommandRecord, NormaliseFitsAnimationAndSoundOfEveryCommand) {
  struct Case {
    int anime, se;
    int wantAnime, wantSe;
  } cases[] = {{5, 4, 0, 0}, {2, 3, 2, 3}, {-1, -1, 0, 0}, {3, 0, 0, 0}};
  for (const Case& c : cases) {
    cEdCommand cmd = Make(0, ACTCMDTYPE_WAIT);
    cmd.m_nAnime = static_cast<int16_t>(c.anime);
    cmd.m_nSe = static_cast<int16_t>(c.se);
    cmd.Normalise();
    EXPECT_EQ(std::make_pair(int(cmd.m_nAnime), int(cmd.m_nSe)), std::make_pair(c.wantAnime, c.wantSe));
  }
}

TEST_F(CommandRecord, SwordUseTimeIsTheSumOfItsFrameTimesUpTo9999) {
  auto swordType = [](std::vector<int32_t> times) {
    cEdSwordType t;
    t.m_vFrame.clear();
    for (int32_t time : times) {
      t.m_vFrame.push_back(cEdSwordFrame());
      t.m_vFrame.back().m_nTime = time;
    }
    return t;
  };
  Database.m_vSwordType.clear();
  Database.m_vSwordType.push_back(swordType({2}));
  Database.m_vSwordType.push_back(swordType({3, 4, 5}));
  Database.m_vSwordType.push_back(swordType(std::vector<int32_t>(40, 300)));
  Database.m_vSwordType.push_back(swordType({9999, -5}));
  Database.m_vSwordType.push_back(swordType({-30000, -30000}));
  Database.m_vSwordType.push_back(swordType({}));
  struct Case {
    int swordType;
    int wantType;
    int wantUseTime;
  } cases[] = {{1, 1, 12}, {2, 2, 9999}, {3, 3, 9999}, {4, 4, -32768}, {5, 5, 0}, {6, 0, 2}, {-1, 0, 2}};
  for (const Case& c : cases) {
    cEdCommand cmd = Make(0, ACTCMDTYPE_SWORD);
    cmd.m_nUseTime = 77;
    CreateEdShot(cmd.m_spShot);
    cmd.m_spShot->m_nPath = static_cast<int8_t>(c.swordType);
    cmd.Normalise();
    EXPECT_EQ(cmd.m_spShot->m_nPath, c.wantType) << c.swordType;
    EXPECT_EQ(cmd.m_nUseTime, c.wantUseTime) << c.swordType;
  }
  // A sword command without its shot record, and any sword with no sword
  // types at all, keeps its use time.
  cEdCommand shotless = Make(0, ACTCMDTYPE_SWORD);
  shotless.m_nUseTime = 77;
  shotless.Normalise();
  EXPECT_EQ(shotless.m_nUseTime, 77);
  Database.m_vSwordType.clear();
  cEdCommand noTypes = Make(0, ACTCMDTYPE_SWORD);
  noTypes.m_nUseTime = 77;
  CreateEdShot(noTypes.m_spShot);
  noTypes.m_spShot->m_nPath = 3;
  noTypes.Normalise();
  EXPECT_EQ(std::make_pair(int(noTypes.m_nUseTime), int(noTypes.m_spShot->m_nPath)), std::make_pair(77, 3));
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(CommandRecord, PaletteReferencesFitTheCommonAndStagePalettes) {
  // Common palette: 4 blocks, 4 characters, 4 items; stage palette: 2 each.
  enum Ref { kShotItem, kSummon, kParams };
  struct Case {
    const char* what;
    int item, type;
    Ref ref;
    int kind, index;       // shot item kind and index, summon palette and index, or p0 and p1
    int wantKind, wantIndex;
  } cases[] = {
      {"shot item past the common items", 0, ACTCMDTYPE_SHOT, kShotItem, 1, 4, 0, 0},
      {"shot item inside", 0, ACTCMDTYPE_SHOT, kShotItem, 1, 3, 1, 3},
      {"shot item past the stage items", 0, ACTCMDTYPE_SHOT, kShotItem, 2, 2, 0, 0},
      {"negative shot item", 0, ACTCMDTYPE_SHOT, kShotItem, 2, -1, 0, 0},
      {"other item kinds left alone", 0, ACTCMDTYPE_SHOT, kShotItem, 3, 99, 3, 99},
      {"sword item", 0, ACTCMDTYPE_SWORD, kShotItem, 2, 5, 0, 0},
      {"summoned block of the common palette", 0, ACTCMDTYPE_SUMMON_BLOCK, kSummon, 0, 10, 0, 1},
      {"summoned block of the stage", 0, ACTCMDTYPE_SUMMON_BLOCK, kSummon, 1, 2, 1, 1},
      {"summoned block of another palette", 0, ACTCMDTYPE_SUMMON_BLOCK, kSummon, 2, 10, 2, 10},
      {"summoned character 10 of 4", 0, ACTCMDTYPE_SUMMON_CHARA, kSummon, 0, 10, 0, 1},
      {"summoned character inside", 0, ACTCMDTYPE_SUMMON_CHARA, kSummon, 0, 3, 0, 3},
      {"summoned item of the stage", 0, ACTCMDTYPE_SUMMON_ITEM, kSummon, 1, 3, 1, 1},
      {"get item of the common palette", 0, ACTCMDTYPE_GET_ITEM, kParams, 0, 4, 0, 1},
      {"get item inside", 0, ACTCMDTYPE_GET_ITEM, kParams, 1, 1, 1, 1},
      {"get item of another palette", 0, ACTCMDTYPE_GET_ITEM, kParams, 2, 9, 2, 9},
      {"item command get item", 1, ITEMCMDTYPE_GET_ITEM, kParams, 1, 2, 1, 1},
      // Item type 11 is "change graphic", no shot: its shot record is not touched.
      {"item command of the shot's number", 1, 11, kShotItem, 1, 9, 1, 9},
  };
  for (const Case& c : cases) {
    cEdCommand cmd = Make(c.item, c.type);
    if (c.ref == kParams) {
      cmd.m_vParams.assign({c.kind, c.index});
    } else {
      CreateEdShot(cmd.m_spShot);
      if (c.ref == kShotItem) {
        cmd.m_spShot->m_nItemKind = static_cast<int8_t>(c.kind);
        cmd.m_spShot->m_nItemIndex = static_cast<int16_t>(c.index);
      } else {
        cmd.m_spShot->m_nSummonPalette = static_cast<int8_t>(c.kind);
        cmd.m_spShot->m_nSummonIndex = static_cast<int16_t>(c.index);
      }
    }
    cmd.ValidatePaletteRefs();
    std::pair<int, int> got;
    if (c.ref == kParams)
      got = {cmd.m_vParams[0], cmd.m_vParams[1]};
    else if (c.ref == kShotItem)
      got = {cmd.m_spShot->m_nItemKind, cmd.m_spShot->m_nItemIndex};
    else
      got = {cmd.m_spShot->m_nSummonPalette, cmd.m_spShot->m_nSummonIndex};
    EXPECT_EQ(got, std::make_pair(c.wantKind, c.wantIndex)) << c.what;
  }
  // Commands without the record or parameters they would fit stay as they are.
  for (int type : {ACTCMDTYPE_SHOT, ACTCMDTYPE_SUMMON_CHARA, ACTCMDTYPE_GET_ITEM}) {
    cEdCommand bare = Make(0, type, type == ACTCMDTYPE_GET_ITEM ? CmdParams{0} : CmdParams{});
    bare.ValidatePaletteRefs();
    EXPECT_FALSE(bare.m_spShot);
    EXPECT_EQ(bare.m_vParams.size(), type == ACTCMDTYPE_GET_ITEM ? 1u : 0u);
  }
}

TEST_F(CommandRecord, PaletteReferencesOfCarriedFlowsAreFittedToo) {
  cEdCommand summon = Make(0, ACTCMDTYPE_SUMMON_CHARA);
  CreateEdShot(summon.m_spShot);
  summon.m_spShot->m_nSummonIndex = 10;
  cEdFlow flow;
  flow.m_vCommands.push_back(summon);
  cEdCommand change = Make(1, ITEMCMDTYPE_FLOW_CHANGE, {0, 0});
  change.m_vFlows.push_back(flow);
  change.ValidatePaletteRefs();
  EXPECT_EQ(change.m_vFlows[0].m_vCommands[0].m_spShot->m_nSummonIndex, 1);
}

TEST_F(CommandRecord, CopiesOwnTheirMoveShotAndCarriedFlows) {
  cEdCommand first = Make(1, ITEMCMDTYPE_FLOW_CHANGE, {0, 0});
  CreateEdMove(first.m_spMove);
  CreateEdShot(first.m_spShot);
  first.m_vFlows.push_back(cEdFlow());
  first.m_vFlows[0].m_vCommands.push_back(Make(0, ACTCMDTYPE_SHOT));
  CreateEdShot(first.m_vFlows[0].m_vCommands[0].m_spShot);

  cEdCommand constructed(first);
  cEdCommand assigned;
  assigned = first;
  for (cEdCommand* copy : {&constructed, &assigned}) {
    ASSERT_TRUE(copy->m_spMove && copy->m_spShot);
    EXPECT_NE(copy->m_spMove.get(), first.m_spMove.get());
    EXPECT_NE(copy->m_spShot.get(), first.m_spShot.get());
    copy->m_spMove->m_nSpeed = 99;
    copy->m_spShot->m_nPower = 1234;
    copy->m_vFlows[0].m_vCommands[0].m_spShot->m_nSpeed = 55;
    copy->m_vParams[0] = 2;
  }
  EXPECT_EQ(first.m_spMove->m_nSpeed, 10);
  EXPECT_EQ(first.m_spShot->m_nPower, 0);
  EXPECT_EQ(first.m_vFlows[0].m_vCommands[0].m_spShot->m_nSpeed, 0);
  EXPECT_EQ(first.m_vParams[0], 0);
  // Assigning a command without records empties the holders.
  assigned = Make(0, ACTCMDTYPE_WAIT);
  EXPECT_FALSE(assigned.m_spMove);
  EXPECT_FALSE(assigned.m_spShot);
  EXPECT_TRUE(assigned.m_vFlows.empty());
}

TEST_F(CommandRecord, CommandCutInsideReadsNoRecordsAndTheTypesZeroParameters) {
  Bytes b;
  b.u32(734);
  CommandHead h;
  h.type = ACTCMDTYPE_MESSAGE;
  PutCommandHead(b, h);
  cDataReader r(b.s);
  cEdCommand c;
  c.Load(r);
  EXPECT_TRUE(r.Ended());
  EXPECT_FALSE(c.m_spMove);
  EXPECT_FALSE(c.m_spShot);
  EXPECT_EQ(ParamsOf(c), CmdParams(18, 0));
}

TEST_F(CommandRecord, ParameterCountBeyondTheFileEndsTheRead) {
  Bytes b;
  b.u32(734);
  CommandHead h;
  h.type = ACTCMDTYPE_STAGE_CLEAR;
  PutCommandHead(b, h);
  b.u32(0).u32(0).u32(0).u32(0x40000000).i32(1).i32(2);
  cDataReader r(b.s);
  cEdCommand c;
  c.Load(r);
  EXPECT_TRUE(r.Ended());
  EXPECT_EQ(ParamsOf(c), CmdParams(9, 0));
}

TEST_F(CommandRecord, CommandsNestedTooDeepEndTheRead) {
  const std::string deep = NestedCommand(COMMAND_MAX_NESTING + 4);
  cDataReader r(Bytes().u32(734).raw(deep).s);
  cEdCommand c;
  c.Load(r);
  EXPECT_TRUE(r.Ended());
  EXPECT_EQ(ChainLength(c), COMMAND_MAX_NESTING + 1);

  const std::string allowed = NestedCommand(COMMAND_MAX_NESTING);
  cDataReader whole(Bytes().u32(734).raw(allowed).s);
  cEdCommand d;
  d.Load(whole);
  EXPECT_FALSE(whole.Ended());
  EXPECT_EQ(ChainLength(d), COMMAND_MAX_NESTING + 1);
}

TEST_F(CommandRecord, TestOnlyCarriedFlowsAreRemovedOutsideTestPlay) {
  Bytes b;
  b.u32(734);
  CommandHead h;
  h.item = 1;
  h.type = ITEMCMDTYPE_FLOW_CHANGE;
  PutCommandHead(b, h);
  b.u32(0).u32(0).u32(4);
  const int flags[] = {0, 1, 1, 0};
  for (int i = 0; i < 4; ++i) PutFlow(b, 734, i + 1, flags[i], 0, 0, "");
  PutParams(b, {0, 0});

  auto ids = [&] {
    std::vector<int> v;
    for (const cEdFlow& f : LoadOne<cEdCommand>(b.s).m_vFlows) v.push_back(f.m_nId);
    return v;
  };
  EXPECT_EQ(ids(), (std::vector<int>{1, 4}));
  bFromEditor = 1;
  EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3, 4}));
  bFromEditor = 0;
  SystemData.m_bKeepTestOnlyFlows = 1;
  EXPECT_EQ(ids(), (std::vector<int>{1, 2, 3, 4}));
}
