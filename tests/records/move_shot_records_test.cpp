// Move and shot parameter records: layouts by version, defaults, upgrades
// of older files, validation; the formation and trajectory tables.
#include <gtest/gtest.h>

#include <memory>

#include "records/command_bytes.h"
#include "records/move.h"
#include "records/shot.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

// Descriptor count and data bytes that a record registers for a version.
std::pair<int, int> Layout(cRecord& record, int version) {
  record.RegisterFields(version);
  int bytes = 0;
  for (const FIELDDESC& d : record.Fields()) bytes += d.nCount * d.cbSize;
  return {record.Fields().Size(), bytes};
}

// The move record in file order, with a distinct value per member.
const std::vector<FieldValue> kMoveFile = {
    {1, 0, 1},    {1, 0, 12},  {2, 0, -45}, {2, 0, 5},   {1, 158, 0}, {1, 0, 0},  {1, 0, 1},   {2, 0, -3},
    {2, 0, 4},    {2, 0, -7},  {2, 0, 8},   {1, 0, 2},   {1, 0, 0},   {1, 0, 1},  {1, 0, 0},   {1, 0, 0},
    {1, 0, 1},    {1, 0, 0},   {1, 0, 1},   {1, 162, 1}, {1, 0, 2},   {2, 0, 35}, {2, 0, -2},  {2, 0, 48},
    {2, 0, 3},    {1, 159, 1}, {2, 0, 7},   {2, 0, 1},   {1, 0, 1},   {2, 0, 120}, {8, 0, 0.25}, {1, 162, 1}};

std::vector<double> MoveValues(const cEdMove& m) {
  return {double(m.m_nSpec),         double(m.m_nDirCode),      double(m.m_nAngle),
          double(m.m_nAngleStep),    double(m.m_bAngleMirror),  double(m.m_bUseTargetX),
          double(m.m_bUseTargetY),   double(m.m_nTargetX),      double(m.m_nTargetY),
          double(m.m_nTargetDotX),   double(m.m_nTargetDotY),   double(m.m_nCoordBase),
          double(m.m_bTimeToTarget), double(m.m_bNoMoveX),      double(m.m_bNoMoveY),
          double(m.m_bMirrorTargetX), double(m.m_bMirrorTargetY), double(m.m_bReverseOnTurn),
          double(m.m_bStopAtTarget), double(m.m_bKeepFacing),   double(m.m_nTiming),
          double(m.m_nSpeed),        double(m.m_nSpeedStep),    double(m.m_nDistance),
          double(m.m_nDistanceStep), double(m.m_nDistanceUnit), double(m.m_nHomingLag),
          double(m.m_nHomingLagStep), double(m.m_bInertia),     double(m.m_nMaxSpeed),
          m.m_dInertiaFactor,        double(m.m_bKeepAnime)};
}

// The shot record in file order (the parameter triples as three int16 each).
// Gated members hold values that the upgrades would not produce.
std::vector<FieldValue> ShotFile(int path, int pierce, int offHero) {
  return {{1, 0, 3},     {1, 0, 3},      {2, 0, 4},     {2, 0, 2, true}, {2, 0, 5, true},  // count, form, form params
          {1, 671, 2},   {1, 0, 7},      {1, 0, 1},     {2, 0, -30},   {2, 0, 6},  // centre .. angle step
          {1, 158, 1},   {2, 0, 15},     {1, 0, 1},     {1, 0, 4},     {2, 0, -8},  // mirror .. offset x
          {2, 0, 2},     {2, 0, 9},      {2, 0, -1},    {1, 0, 0},     {1, 0, 1},   // .. mirror offset y
          {2, 0, 77},    {1, 0, 5},      {1, 0, 1},     {1, 0, 0},     {1, 0, 6},   // graphic .. side
          {1, 0, 9},     {1, 0, 2},      {1, 0, 11},    {1, 0, double(path)},          // spare a, scale, spare b, path
          {2, 0, 10},    {2, 0, 20, true}, {2, 0, 30, true}, {1, 211, 0},                 // path params, aim direct
          {2, 0, -150},  {2, 0, 3},      {1, 213, 1},   {2, 213, 12},  {2, 213, -4},  // speed .. accel step
          {2, 0, 40},    {1, 0, 1},      {2, 0, -5},    {1, 0, 1},     {1, 0, 1},   // range .. life limit
          {2, 0, 600},   {2, 0, -20},    {1, 0, 1},     {1, 0, double(pierce)},         // life .. pierce
          {1, 636, 0},   {1, 0, 1},      {1, 0, 4},     {4, 0, -123456}, {2, 0, 13}, // .. spare c
          {1, 0, -7},    {2, 0, 3},      {1, 0, 2},     {2, 0, 9},     {1, 0, 2},   // impact .. summon mode
          {1, 0, double(offHero)}, {1, 197, 0}, {1, 0, 1}, {2, 0, 17},   {1, 0, 2},   // .. summon side
          {1, 0, 8},     {1, 0, 1}};
}

std::vector<double> ShotValues(const cEdShot& s) {
  return {double(s.m_nCount),      double(s.m_nForm),           double(s.m_nFormParam[0]),
          double(s.m_nFormParam[1]), double(s.m_nFormParam[2]), double(s.m_nFormCentre),
          double(s.m_nDirCode),    double(s.m_bAim),            double(s.m_nAngle),
          double(s.m_nAngleStep),  double(s.m_bAngleMirror),    double(s.m_nSpread),
          double(s.m_nFormVariant), double(s.m_nClones),        double(s.m_nOffsetX),
          double(s.m_nOffsetXStep), double(s.m_nOffsetY),       double(s.m_nOffsetYStep),
          double(s.m_bMirrorOffsetX), double(s.m_bMirrorOffsetY), double(s.m_nGraphic),
          double(s.m_nZ),          double(s.m_bTransparent),    double(s.m_bUserSide),
          double(s.m_nSide),       double(s.m_nSpareA),         double(s.m_nScale),
          double(s.m_nSpareB),     double(s.m_nPath),           double(s.m_nPathParam[0]),
          double(s.m_nPathParam[1]), double(s.m_nPathParam[2]), double(s.m_bAimDirect),
          double(s.m_nSpeed),      double(s.m_nSpeedStep),      double(s.m_bAccel),
          double(s.m_nAccel),      double(s.m_nAccelStep),      double(s.m_nRange),
          double(s.m_bRangeLimit), double(s.m_nRangeStep),      double(s.m_bStraightAtRangeEnd),
          double(s.m_bLifeLimit),  double(s.m_nLife),           double(s.m_nLifeStep),
          double(s.m_bPassBlocks), double(s.m_bPierce),         double(s.m_bPierceBlockChara),
          double(s.m_bClash),      double(s.m_nVanish),         double(s.m_nPower),
          double(s.m_nSpareC),     double(s.m_nImpact),         double(s.m_nHitEffect),
          double(s.m_nItemKind),   double(s.m_nItemIndex),      double(s.m_nSummonMode),
          double(s.m_bSummonOffHero), double(s.m_bSummonOffChara), double(s.m_nSummonPalette),
          double(s.m_nSummonIndex), double(s.m_nSummonSide),    double(s.m_nSpareD),
          double(s.m_bSummonReverse)};
}

// Index of a member in ShotValues (the file order, triples spread out).
enum { kFormCentre = 5, kAngleMirror = 10, kAimDirect = 32, kAccel = 35, kAccelValue, kAccelStep,
       kPierce = 46, kPierceBlockChara, kOffHero = 57, kOffChara };

// Hit effects are fitted against a database of 5 effects.
using ShotRecordWithDatabase = BehaviourTest;

}  // namespace

TEST(MoveRecord, LayoutJustBelowAndAtEachGate) {
  struct Case {
    int version, descriptors, bytes;
  } cases[] = {{157, 28, 48}, {158, 29, 49}, {159, 30, 50}, {161, 30, 50}, {162, 32, 52}, {734, 32, 52}};
  cEdMove m;
  for (const Case& c : cases) EXPECT_EQ(Layout(m, c.version), std::make_pair(c.descriptors, c.bytes)) << c.version;
}

TEST(MoveRecord, NewRecordHoldsTheDefaults) {
  std::shared_ptr<cEdMove> holder;
  CreateEdMove(holder);
  ASSERT_TRUE(holder);
  const cEdMove& m = *holder;
  EXPECT_EQ(m.m_nSpeed, 10);
  EXPECT_EQ(m.m_dInertiaFactor, 1.0);
  EXPECT_EQ(m.m_bAngleMirror, 1);
  EXPECT_EQ(m.m_bUseTargetX, 1);
  EXPECT_EQ(m.m_bUseTargetY, 1);
  EXPECT_EQ(m.m_bMirrorTargetX, 1);
  EXPECT_EQ(m.m_bTimeToTarget, 1);
  EXPECT_EQ(m.m_bReverseOnTurn, 1);
  EXPECT_EQ(m.m_bMirrorTargetY, 0);
  EXPECT_EQ(m.m_nTiming, 0);
}

TEST(MoveRecord, CurrentFileLoadsEveryMemberAndSavesTheSameBytes) {
  Bytes b;
  b.u32(734);
  PutSegment(b, 734, kMoveFile);
  cEdMove m = LoadOne<cEdMove>(b.s);
  EXPECT_EQ(MoveValues(m), StoredValues(kMoveFile));
  EXPECT_EQ(SaveOne(m), b.s);
}

TEST(MoveRecord, OlderFilesClearWhatTheyDidNotStore) {
  // The file holds 0 for the mirror flag; the record loaded into holds 1 in
  // every gated member, so only the upgrades can clear them.
  struct Case {
    int version;
    double mirror, keepFacing, distanceUnit, keepAnime;
  } cases[] = {{157, 0, 0, 0, 0}, {158, 0, 0, 0, 0}, {159, 0, 0, 1, 0}, {161, 0, 0, 1, 0}, {162, 0, 1, 1, 1}};
  for (const Case& c : cases) {
    Bytes b;
    b.u32(c.version);
    PutSegment(b, c.version, kMoveFile);
    b.u32(0xABCD);  // what follows the record stays unread
    cDataReader r(b.s);
    cEdMove m;
    m.m_bAngleMirror = m.m_bKeepFacing = m.m_nDistanceUnit = m.m_bKeepAnime = 1;
    m.Load(r);
    std::vector<double> want = StoredValues(kMoveFile);
    want[4] = c.mirror;
    want[19] = c.keepFacing;
    want[25] = c.distanceUnit;
    want[31] = c.keepAnime;
    EXPECT_EQ(MoveValues(m), want) << c.version;
    EXPECT_EQ(r.ReadU32(), 0xABCDu) << c.version;
  }
}

TEST(ShotRecord, LayoutJustBelowAndAtEachGate) {
  struct Case {
    int version, descriptors, bytes;
  } cases[] = {{157, 52, 83}, {158, 53, 84}, {196, 53, 84}, {197, 54, 85}, {210, 54, 85}, {211, 55, 86},
               {212, 55, 86}, {213, 58, 91}, {635, 58, 91}, {636, 59, 92}, {670, 59, 92}, {671, 60, 93},
               {734, 60, 93}};
  cEdShot s;
  for (const Case& c : cases) EXPECT_EQ(Layout(s, c.version), std::make_pair(c.descriptors, c.bytes)) << c.version;
}

TEST(ShotRecord, NewRecordHoldsTheDefaults) {
  std::shared_ptr<cEdShot> holder;
  CreateEdShot(holder);
  ASSERT_TRUE(holder);
  std::vector<double> want(64, 0);
  want[kAngleMirror] = 1;
  want[18] = 1;  // mirror offset x
  want[23] = 1;  // user side
  want[26] = 1;  // scale
  EXPECT_EQ(ShotValues(*holder), want);
}

TEST_F(ShotRecordWithDatabase, CurrentFileLoadsEveryMemberAndSavesTheSameBytes) {
  const std::vector<FieldValue> file = ShotFile(6, 1, 1);
  Bytes b;
  b.u32(734);
  PutSegment(b, 734, file);
  cEdShot s = LoadOne<cEdShot>(b.s);
  EXPECT_EQ(ShotValues(s), StoredValues(file));
  EXPECT_EQ(SaveOne(s), b.s);
}

TEST_F(ShotRecordWithDatabase, UpgradesOfOlderFiles) {
  struct Case {
    int version;
    int path, pierce, offHero;
    // Expected: mirror, aim direct, accel flag, pierce block chara, off chara, centre.
    int mirror, aimDirect, accel, pierceBlock, offChara, centre;
  } cases[] = {
      // Before 158 nothing gated is stored: each takes its upgrade.
      {157, 6, 1, 1, /*mirror*/ 0, /*aim*/ 1, /*accel*/ 0, /*pierce*/ 1, /*off*/ 1, 0},
      {157, 3, 0, 0, 0, 0, 0, 0, 0, 0},
      // 196: the mirror flag is read (1 in the file); off chara still follows off hero.
      {196, 4, 0, 1, 1, 1, 0, 0, 1, 0},
      {197, 4, 0, 1, 1, 1, 0, 0, 0, 0},
      // 211 reads its own aim byte (0) and still derives it from a homing path.
      {211, 6, 1, 0, 1, 1, 0, 1, 0, 0},
      {212, 6, 1, 0, 1, 0, 0, 1, 0, 0},
      {212, 7, 0, 0, 1, 0, 0, 0, 0, 0},
      // 213 reads acceleration (flag 1 in the file).
      {213, 7, 1, 0, 1, 0, 1, 1, 0, 0},
      {635, 2, 1, 0, 1, 0, 1, 1, 0, 0},
      {636, 2, 1, 0, 1, 0, 1, 0, 0, 0},
      {670, 2, 0, 0, 1, 0, 1, 0, 0, 0},
      {671, 2, 0, 0, 1, 0, 1, 0, 0, 2},
  };
  for (const Case& c : cases) {
    Bytes b;
    b.u32(c.version);
    PutSegment(b, c.version, ShotFile(c.path, c.pierce, c.offHero));
    cEdShot s = LoadOne<cEdShot>(b.s);
    std::vector<double> got = ShotValues(s);
    EXPECT_EQ(got[kAngleMirror], c.mirror) << c.version;
    EXPECT_EQ(got[kAimDirect], c.aimDirect) << c.version << " path " << c.path;
    EXPECT_EQ(got[kAccel], c.accel) << c.version;
    if (!c.accel) {
      EXPECT_EQ(got[kAccelValue], 0) << c.version;
      EXPECT_EQ(got[kAccelStep], 0) << c.version;
    }
    EXPECT_EQ(got[kPierceBlockChara], c.pierceBlock) << c.version;
    EXPECT_EQ(got[kOffChara], c.offChara) << c.version;
    EXPECT_EQ(got[kFormCentre], c.centre) << c.version;
  }
}

TEST_F(ShotRecordWithDatabase, ValidateFitsScaleAndHitEffectOnLoadAndSave) {
  struct Case {
    int scale, hitEffect;
    int wantScale, wantHitEffect;
  } cases[] = {{0, 4, 1, 4}, {-3, 5, 1, 0}, {2, -1, 2, 0}, {127, 0, 127, 0}};
  for (const Case& c : cases) {
    cEdShot s;
    s.m_nScale = static_cast<int8_t>(c.scale);
    s.m_nHitEffect = static_cast<int16_t>(c.hitEffect);
    std::string bytes = SaveOne(s);
    EXPECT_EQ(s.m_nScale, c.wantScale);
    EXPECT_EQ(s.m_nHitEffect, c.wantHitEffect);
    cEdShot back = LoadOne<cEdShot>(bytes);
    EXPECT_EQ(back.m_nScale, c.wantScale);
    EXPECT_EQ(back.m_nHitEffect, c.wantHitEffect);
  }
}

TEST(ShotRecord, LaunchOffsetsGrowPerCloneAndMirrorFacingRight) {
  cEdShot s;
  s.m_nOffsetX = 10;
  s.m_nOffsetXStep = 5;
  s.m_bMirrorOffsetX = 1;
  s.m_nOffsetY = -4;
  s.m_nOffsetYStep = 3;
  s.m_bMirrorOffsetY = 0;
  EXPECT_EQ(s.GetOffsetX(2, 1), -20.0);
  EXPECT_EQ(s.GetOffsetX(2, 0), 20.0);
  EXPECT_EQ(s.GetOffsetY(2, 1), 2.0);
  s.m_bMirrorOffsetY = 1;
  EXPECT_EQ(s.GetOffsetY(3, 1), -5.0);
}

TEST(ShotTables, FormationAndTrajectoryDescriptors) {
  EXPECT_EQ(ShotFormTable[SHOTFORM_SPREAD].strName, Sjis("拡散"));
  const PARAMDESC& columns = ShotFormTable[SHOTFORM_LIGHTNING].aParam[1];
  EXPECT_EQ(columns.strName, Sjis("列の数"));
  EXPECT_EQ(std::make_tuple(columns.nMin, columns.nMax, columns.nDefault), std::make_tuple(1, 50, 1));
  EXPECT_EQ(ShotFormTable[SHOTFORM_SURROUND].aParam[0].nDefault, 6);
  for (const PARAMDESC& unused : ShotFormTable[SHOTFORM_EXPLOSION].aParam)
    EXPECT_EQ(std::make_tuple(unused.strName, unused.nMin, unused.nMax, unused.nDefault),
              std::make_tuple(std::string(), 0, 0, 0));
  EXPECT_EQ(ShotPathTable[SHOTPATH_HOME_NEAREST_RETARGET].strName,
            Sjis("近いキャラへ誘導（対象死亡時、対象を変更）"));
  const PARAMDESC& homeEnd = ShotPathTable[SHOTPATH_HOME_TARGET].aParam[1];
  EXPECT_EQ(std::make_tuple(homeEnd.nMin, homeEnd.nMax, homeEnd.nDefault), std::make_tuple(0, 999, 999));
  const PARAMDESC& startAngle = ShotPathTable[SHOTPATH_WAVE].aParam[2];
  EXPECT_EQ(startAngle.strName, Sjis("開始角度"));
  EXPECT_EQ(startAngle.nMax, 359);
  EXPECT_TRUE(ShotPathTable[SHOTPATH_STRAIGHT].aParam[0].strName.empty());
}
