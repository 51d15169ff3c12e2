// The character definition: its layout by version, the upgrades of older
// files with their inserted flags, validation, flows, copy offsets and the
// numeric fields by position.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "records/chara.h"
#include "records/definition_bytes.h"

namespace {

using CharaRecord = DefinitionTest;

// A whole record: the head, then no conditions and the given flows.
std::string CharaFile(int version, const std::vector<FieldValue>& fields, const std::vector<uint8_t>& flags,
                      uint32_t flowCount = 0, const std::string& flowBytes = "") {
  Bytes b;
  b.u32(static_cast<uint32_t>(version));
  PutCharaHead(b, version, fields, "", 0, 0, 0, flags);
  b.u32(0).u32(flowCount).raw(flowBytes);
  return b.s;
}

std::vector<uint8_t> Flags(const cEdChara& c) { return {c.m_vInherit.begin(), c.m_vInherit.end()}; }

}  // namespace

TEST_F(CharaRecord, NewCharacterSavesTheLayoutOfItsDescription) {
  cEdChara c;
  Bytes want;
  want.u32(734);
  PutDefaultChara(want);
  EXPECT_EQ(SaveOne(c), want.s);
  EXPECT_EQ(CharaFile(734, CharaFields(), std::vector<uint8_t>(37, 0)), want.s);
}

TEST_F(CharaRecord, SegmentHoldsTheFieldsOfItsVersion) {
  struct Case {
    int version, blocks;
  } cases[] = {{100, 47}, {167, 47}, {168, 48}, {195, 48}, {196, 50}, {200, 50},
               {201, 51}, {209, 51}, {210, 52}, {284, 52}, {285, 53}, {734, 53}};
  for (const Case& c : cases) {
    cEdChara chara;
    chara.RegisterFields(c.version);
    EXPECT_EQ(chara.Fields().Size(), c.blocks) << c.version;
    EXPECT_EQ(chara.Strings().Size(), 1);
  }
}

TEST_F(CharaRecord, EveryFieldOfTheCurrentVersionLoadsFromItsPlace) {
  // Field n holds n + 1 (a valid value for every index field but the anime
  // set and the effects, which are given valid ones); graphic kind 1.
  std::vector<FieldValue> fields = CharaFields();
  for (size_t i = 0; i < fields.size(); ++i) fields[i].value = double(i + 1);
  fields = With(fields, {{1, 0}, {14, 1}, {16, 1}, {19, 2}, {22, 1}, {45, 4}});
  Bytes b;
  b.u32(734);
  PutCharaHead(b, 734, fields, "abc", -7, 300, -1, std::vector<uint8_t>(37, 0));
  b.u32(0).u32(0);
  cEdChara c = LoadOne<cEdChara>(b.s);
  for (int i = 0; i < CHARA_NUMERIC_FIELDS; ++i)
    EXPECT_EQ(c.GetNumericField(i), int32_t(fields[i].value)) << "field #" << i + 1;
  EXPECT_EQ(std::make_tuple(c.m_strName, c.m_nX, c.m_nY, c.m_nDropItem),
            std::make_tuple(std::string("abc"), int16_t{-7}, int16_t{300}, -1));
  EXPECT_EQ(SaveOne(c), b.s);
}

TEST_F(CharaRecord, FieldsByPositionFollowTheRegistrationOrder) {
  cEdChara c;
  struct Case {
    int position;
    const void* member;
  } cases[] = {
      {0, &c.m_nPaletteKind},    {12, &c.m_nGraphic},    {13, &c.m_nGraphicKind}, {14, &c.m_nGraphicOffset},
      {18, &c.m_nStartEffect},   {19, &c.m_nStartEffectMode}, {20, &c.m_bStartEffectLoop},
      {29, &c.m_nFlyMode},       {32, &c.m_nInvincibleBlink}, {35, &c.m_bScrollSync}, {38, &c.m_nMaxHp},
      {45, &c.m_nDefence},       {52, &c.m_nActivation},
  };
  c.RegisterFields(734);
  for (const Case& k : cases) EXPECT_EQ(c.Fields()[k.position].lpData, k.member) << k.position;

  // Values keep their sign and are cut to the field's width.
  c.SetNumericField(44, -3);  // hit effect, int16
  c.SetNumericField(38, -200000);  // max HP, int32
  c.SetNumericField(43, 0x1FF);  // impact, byte
  EXPECT_EQ(std::make_tuple(c.m_nHitEffect, c.m_nMaxHp, c.m_nImpact),
            std::make_tuple(int16_t{-3}, -200000, int8_t{-1}));
  EXPECT_EQ(c.GetNumericField(44), -3);
  EXPECT_EQ(c.GetNumericField(43), -1);
  c.SetNumericField(53, 5);
  c.SetNumericField(-1, 5);
  EXPECT_EQ(c.GetNumericField(53), 0);
  EXPECT_EQ(c.GetNumericField(-1), 0);
}

TEST_F(CharaRecord, OlderFilesGetTheirUpgradesAndInsertedFlags) {
  // Fields a file lacks carry markers in the fixture's values, so a field the
  // upgrade forgets to set shows.
  struct Case {
    int version;
    int hitBoxMode;
    int wantHitBoxMode, wantBlink;
    std::vector<int> wantInserted;  // flags that must be 1
  } cases[] = {
      {167, 1, 0, 1, {21, 25, 29}},
      {195, 1, 0, 1, {21, 25}},
      {200, 1, 0, 1, {21, 25}},
      {201, 2, 3, 1, {21}},
      {205, 1, 1, 1, {21}},
      {206, 2, 2, 1, {21}},
      {209, 3, 3, 1, {21}},
      {210, 2, 2, 1, {}},
      {284, 2, 2, 1, {}},
      {285, 2, 2, 7, {}},
      {734, 2, 2, 7, {}},
  };
  for (const Case& c : cases) {
    std::vector<FieldValue> fields =
        With(CharaFields(), {{20, 2}, {23, 2}, {33, 7}, {36, 1}, {42, c.hitBoxMode}, {46, 500}});
    cEdChara prototype;
    prototype.m_nDefence = 99;  // what a fresh element would hold were it not cleared
    prototype.m_bScrollSync = 1;
    prototype.m_nStartEffectMode = 1;
    prototype.m_nDeathEffectMode = 1;
    prototype.m_nHitBoxMode = 2;
    cDataReader r(CharaFile(c.version, fields, {}));
    cEdChara k = prototype;
    k.Load(r);
    EXPECT_EQ(k.m_nDefence, c.version < 168 ? 0 : 500) << c.version;
    EXPECT_EQ(std::make_pair(int(k.m_nStartEffectMode), int(k.m_nDeathEffectMode)),
              c.version < 196 ? std::make_pair(0, 0) : std::make_pair(2, 2))
        << c.version;
    EXPECT_EQ(k.m_nHitBoxMode, c.wantHitBoxMode) << c.version;
    EXPECT_EQ(k.m_bScrollSync, c.version < 210 ? 0 : 1) << c.version;
    EXPECT_EQ(k.m_nInvincibleBlink, c.wantBlink) << c.version;
    // No flags stored: an upgrade pads them to 37 before inserting.
    std::vector<uint8_t> want(c.wantInserted.empty() ? 0 : 37, 0);
    for (int f : c.wantInserted) want[f] = 1;
    EXPECT_EQ(Flags(k), want) << c.version;
  }
}

TEST_F(CharaRecord, InsertedFlagsMoveTheLaterOnesUp) {
  // 34 flags, flag i = i + 100: the version-167 file's groups.
  std::vector<uint8_t> stored;
  for (int i = 0; i < 34; ++i) stored.push_back(static_cast<uint8_t>(100 + i));
  cEdChara k = LoadOne<cEdChara>(CharaFile(167, CharaFields(), stored));
  std::vector<uint8_t> want;
  for (int i = 0; i <= 20; ++i) want.push_back(static_cast<uint8_t>(100 + i));
  want.push_back(1);  // 21 scroll sync
  for (int i = 21; i <= 23; ++i) want.push_back(static_cast<uint8_t>(100 + i));
  want.push_back(1);  // 25 hit-box mode
  for (int i = 24; i <= 26; ++i) want.push_back(static_cast<uint8_t>(100 + i));
  want.push_back(1);  // 29 defence
  for (int i = 27; i <= 33; ++i) want.push_back(static_cast<uint8_t>(100 + i));
  EXPECT_EQ(Flags(k), want);

  // 40 flags of a version-209 file: cut to 37 before the insertion, the
  // last one falls off.
  std::vector<uint8_t> many(40, 0);
  many[35] = 5;
  many[36] = 6;
  many[39] = 9;
  cEdChara m = LoadOne<cEdChara>(CharaFile(209, CharaFields(), many));
  ASSERT_EQ(m.m_vInherit.Size(), 37);
  EXPECT_EQ(std::make_tuple(m.m_vInherit[21], m.m_vInherit[36]), std::make_tuple(uint8_t{1}, uint8_t{5}));
}

TEST_F(CharaRecord, OlderFilesNumberTheShotSheetFromItsSecondCell) {
  struct Case {
    int version, kind, graphic, want;
  } cases[] = {{218, 3, 119, 119}, {218, 3, 5, 6}, {219, 3, 5, 5}, {218, 1, 5, 5}, {150, 3, 0, 1}};
  for (const Case& c : cases) {
    cEdChara k = LoadOne<cEdChara>(
        CharaFile(c.version, With(CharaFields(), {{13, c.graphic}, {14, c.kind}}), std::vector<uint8_t>(37, 0)));
    EXPECT_EQ(k.m_nGraphic, c.want) << c.version << " kind " << c.kind;
  }
}

TEST_F(CharaRecord, ValidationFitsIndexesToTheDatabaseAndPalettes) {
  // Database: 2 character bitmaps, 2 animation sets, 3 character effects, 5 effects.
  CommonPalette.m_vPaletteChara.resize(3);
  TestStagePalette().m_vPaletteChara.resize(4);
  struct Case {
    const char* what;
    std::vector<std::pair<int, double>> set;
    int position;  // 0-based field checked
    int want;
  } cases[] = {
      {"scale -3", {{35, -3}}, 34, 1},
      {"scale 0", {{35, 0}}, 34, 1},
      {"scale 10", {{35, 10}}, 34, 10},
      {"bitmap graphic = count", {{14, 4}, {13, 2}}, 12, 1},
      {"bitmap graphic inside", {{14, 4}, {13, 1}}, 12, 1},
      {"bitmap graphic 0", {{14, 4}, {13, 0}}, 12, 0},
      {"negative bitmap graphic", {{14, 4}, {13, -1}}, 12, 1},
      {"sheet graphic untouched", {{14, 1}, {13, 500}}, 12, 500},
      {"anime set = count", {{16, 2}}, 15, 0},
      {"anime set inside", {{16, 1}}, 15, 1},
      {"start effect = count", {{19, 3}}, 18, 0},
      {"death effect negative", {{22, -2}}, 21, 0},
      {"death effect inside", {{22, 2}}, 21, 2},
      {"hit effect = count", {{45, 5}}, 44, 0},
      {"hit effect inside", {{45, 4}}, 44, 4},
      {"common reference past the end", {{1, 1}, {2, 3}}, 0, 0},
      {"common reference inside", {{1, 1}, {2, 2}}, 1, 2},
      {"stage reference past the end", {{1, 2}, {2, 4}}, 1, 0},
      {"stage reference inside", {{1, 2}, {2, 3}}, 0, 2},
      {"negative reference", {{1, 2}, {2, -1}}, 0, 0},
      {"other kind left alone", {{1, 5}, {2, 40}}, 1, 40},
  };
  for (const Case& c : cases) {
    std::vector<FieldValue> fields = With(CharaFields(), c.set);
    cEdChara loaded = LoadOne<cEdChara>(CharaFile(734, fields, std::vector<uint8_t>(37, 0)));
    EXPECT_EQ(loaded.GetNumericField(c.position), c.want) << c.what << " (load)";
    cEdChara saved;
    for (int i = 0; i < CHARA_NUMERIC_FIELDS; ++i) saved.SetNumericField(i, int32_t(fields[i].value));
    cEdChara back = LoadOne<cEdChara>(SaveOne(saved));
    EXPECT_EQ(saved.GetNumericField(c.position), c.want) << c.what << " (save)";
    EXPECT_EQ(back.GetNumericField(c.position), c.want) << c.what << " (save)";
  }
}

TEST_F(CharaRecord, FlowsThatHoldNothingGoTestOnlyFlowsGoOutsideTestPlay) {
  Bytes flows;
  PutFlowHead(flows, 734, 1, 0, 0, FLOWTRIGGER_ALWAYS);  // nothing in it
  flows.u32(0).u32(0).u32(0);
  PutFlowHead(flows, 734, 2, 0, 0, FLOWTRIGGER_ALWAYS);  // one condition
  flows.u32(1);
  PutSegment(flows, 734, ConditionFields(CONDTYPE_COMMON_VAR, 1, 0, 0, 0, 0, 0, 0, CMPOP_EQ));
  flows.u32(0).u32(0);
  Bytes wait;
  PutPlainCommand(wait, 0, ACTCMDTYPE_GAME_WAIT, {10});
  PutFlow(flows, 734, 3, 1, FLOWTRIGGER_ALWAYS, 1, wait.s);  // test only
  PutFlow(flows, 734, 4, 0, FLOWTRIGGER_ALWAYS, 1, wait.s);
  const std::string file = CharaFile(734, CharaFields(), std::vector<uint8_t>(37, 0), 4, flows.s);

  auto ids = [](const cEdChara& c) {
    std::vector<int> v;
    for (const cEdFlow& f : c.m_vFlows) v.push_back(f.m_nId);
    return v;
  };
  EXPECT_EQ(ids(LoadOne<cEdChara>(file)), (std::vector<int>{2, 4}));
  bFromEditor = 1;
  EXPECT_EQ(ids(LoadOne<cEdChara>(file)), (std::vector<int>{2, 3, 4}));
  bFromEditor = 0;
  SystemData.m_bKeepTestOnlyFlows = 1;
  EXPECT_EQ(ids(LoadOne<cEdChara>(file)), (std::vector<int>{2, 3, 4}));

  cEdChara saving;
  saving.m_vFlows.resize(3);
  saving.m_vFlows[1].m_nId = 7;
  saving.m_vFlows[1].m_vCommands.resize(1);
  cEdChara back = LoadOne<cEdChara>(SaveOne(saving));
  EXPECT_EQ(ids(saving), (std::vector<int>{7}));
  EXPECT_EQ(ids(back), (std::vector<int>{7}));
}

TEST_F(CharaRecord, CopyOffsetsGrowWithTheCloneNumberAndMirrorFacingRight) {
  struct Case {
    int n, facing, offset, step, mirror;
    double want;
  } cases[] = {
      {3, 1, 8, -2, 1, -2.0}, {3, 0, 8, -2, 1, 2.0}, {3, 1, 8, -2, 0, 2.0}, {0, 1, 5, 100, 1, -5.0},
      {2, 2, 1, 1, 1, 3.0},  // only facing 1 mirrors
      {100000, 0, 32767, 32767, 0, 100000.0 * 32767 + 32767},
  };
  for (const Case& c : cases) {
    cEdChara k;
    k.m_nCopyOffsetX = k.m_nCopyOffsetY = static_cast<int16_t>(c.offset);
    k.m_nCopyStepX = k.m_nCopyStepY = static_cast<int16_t>(c.step);
    k.m_bCopyMirrorX = static_cast<int8_t>(c.mirror);
    EXPECT_EQ(k.GetOffsetX(c.n, c.facing), c.want) << c.n << " " << c.facing;
    k.m_bCopyMirrorX = 0;
    k.m_bCopyMirrorY = static_cast<int8_t>(c.mirror);
    EXPECT_EQ(k.GetOffsetY(c.n, c.facing), c.want) << c.n << " " << c.facing;
    EXPECT_EQ(k.GetOffsetX(c.n, c.facing), double(int64_t{c.n} * c.step + c.offset));
  }
}

TEST_F(CharaRecord, RandomValidRecordsSaveLoadAndSaveTheSameBytes) {
  CommonPalette.Normalise();  // two entries per list
  std::mt19937 rng(734);
  for (int round = 0; round < 50; ++round) {
    cEdChara c;
    for (int i = 0; i < CHARA_NUMERIC_FIELDS; ++i) c.SetNumericField(i, static_cast<int32_t>(rng()));
    // Values validation would change: a reference that resolves, database
    // indexes inside their tables, a scale of at least 1.
    c.m_nPaletteKind = static_cast<int8_t>(rng() % 2);
    c.m_nPaletteIndex = static_cast<int16_t>(rng() % 2);
    c.m_nGraphicKind = static_cast<int8_t>(rng() % 4);
    c.m_nAnimeSet = static_cast<int16_t>(rng() % 2);
    c.m_nStartEffect = static_cast<int16_t>(rng() % 3);
    c.m_nDeathEffect = static_cast<int16_t>(rng() % 3);
    c.m_nHitEffect = static_cast<int16_t>(rng() % 5);
    c.m_nScale = static_cast<int8_t>(1 + rng() % 10);
    c.m_strName = "n" + std::to_string(rng() % 1000);
    c.m_nX = static_cast<int16_t>(rng());
    c.m_nY = static_cast<int16_t>(rng());
    c.m_nDropItem = static_cast<int32_t>(rng());
    c.m_vInherit.assign(37, 0);  // inheriting would change the values
    c.m_vConditions.resize(rng() % 3);
    c.m_vFlows.resize(1 + rng() % 2);
    for (cEdFlow& f : c.m_vFlows) {
      f.m_nTrigger = static_cast<uint8_t>(rng() % 10);
      f.m_vCommands.resize(1);
    }
    const std::string once = SaveOne(c);
    cEdChara back = LoadOne<cEdChara>(once);
    EXPECT_EQ(SaveOne(back), once) << "round " << round;
  }
}
