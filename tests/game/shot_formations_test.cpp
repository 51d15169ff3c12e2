// The formations and their start points: rows across and up from the owner
// for every absolute direction code (a square and a tall owner), the
// rotated start and the angled rows, the fan with odd and even counts, the
// ring, the circle around an object with its rounding, the strike from the
// view's edge in rows and columns with and without the gap, and aiming in
// its three cases. The view shows the map's first cell at (0, 0); the owner
// stands on cell (10, 8), view (320, 256)..(351, 287). Expected values were
// worked out apart from this code and are compared bit for bit.
#include <gtest/gtest.h>

#include "game/shot_emitter.h"
#include "records/system.h"
#include "shot_test_env.h"

using namespace shottest;

namespace {

struct Start {
  int x, y, stepX, stepY;
  double vx, vy;
  bool operator==(const Start&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Start& s) {
  return os << s.x << "," << s.y << " step " << s.stepX << "," << s.stepY << " v " << Hex(s.vx) << "," << Hex(s.vy);
}

Start StartOf(const SHOTSPAWN& sp) { return {sp.nStartX, sp.nStartY, sp.nStepX, sp.nStepY, sp.dVx, sp.dVy}; }

// A spawn record of 16-dot objects at 4 dots a frame with offsets (5, −7).
SHOTSPAWN Record(int code) {
  SHOTSPAWN sp;
  sp.nWidth = sp.nHeight = 16;
  sp.dSpeed = 4.0;
  sp.nOffsetX = 5;
  sp.nOffsetY = -7;
  sp.nDirCode = code;
  return sp;
}

// The shots of the stage as (x, y, vx, vy).
std::vector<Start> Shots(ShotStage& stage) {
  std::vector<Start> out;
  for (const cShot& s : stage.Scene().m_Shots)
    out.push_back({static_cast<int>(s.m_rcHit.dLeft), static_cast<int>(s.m_rcHit.dTop), 0, 0, s.m_dBaseVx,
                   s.m_dBaseVy});
  return out;
}

cEdShot Formation(int form, int count, int code, int speed = 40) {
  cEdShot def = OneShot();
  def.m_nForm = static_cast<int8_t>(form);
  def.m_nCount = static_cast<int8_t>(count);
  def.m_nDirCode = static_cast<int8_t>(code);
  def.m_nSpeed = static_cast<int16_t>(speed);
  return def;
}

constexpr double kD = 2.82842712474619;  // 4 / √2 with K = 1.0 / std::sqrt(2.0)

}  // namespace

TEST(ShotStarts, RowsAndColumnsStartBesideTheOwnerForEveryDirection) {
  struct Case {
    bool tall;
    int code;
    Start a, b;
    int spreadX, spreadY;
  } cases[] = {
      {false, 2, {630, 545, 0, 32, -4.0, 0.0}, {630, 585, 0, -32, -4.0, 0.0}, 630, 577},
      {false, 3, {677, 545, 0, 32, 4.0, 0.0}, {677, 585, 0, -32, 4.0, 0.0}, 677, 577},
      {false, 6, {621, 553, 32, 0, 0.0, -4.0}, {677, 585, 0, -32, 0.0, -4.0}, 653, 553},
      {false, 7, {621, 601, 32, 0, 0.0, 4.0}, {677, 585, 0, -32, 0.0, 4.0}, 653, 601},
      {false, 8, {613, 582, 32, -32, -kD, -kD}, {630, 585, 0, -32, -kD, -kD}, 636, 560},
      {false, 9, {613, 570, 32, 32, -kD, kD}, {630, 585, 0, -32, -kD, kD}, 636, 593},
      {false, 10, {646, 537, 32, 32, kD, -kD}, {677, 585, 0, -32, kD, -kD}, 669, 560},
      {false, 11, {646, 615, 32, -32, kD, kD}, {677, 585, 0, -32, kD, kD}, 669, 593},
      {true, 2, {630, 529, 0, 32, -4.0, 0.0}, {630, 585, 0, -32, -4.0, 0.0}, 630, 561},
      {true, 3, {677, 529, 0, 32, 4.0, 0.0}, {677, 585, 0, -32, 4.0, 0.0}, 677, 561},
      {true, 6, {621, 521, 32, 0, 0.0, -4.0}, {630, 585, 0, -32, 0.0, -4.0}, 653, 521},
      {true, 7, {621, 601, 32, 0, 0.0, 4.0}, {630, 585, 0, -32, 0.0, 4.0}, 653, 601},
      {true, 8, {613, 554, 32, -32, -kD, -kD}, {630, 585, 0, -32, -kD, -kD}, 636, 532},
      {true, 9, {613, 566, 32, 32, -kD, kD}, {630, 585, 0, -32, -kD, kD}, 636, 589},
      {true, 10, {646, 509, 32, 32, kD, -kD}, {677, 585, 0, -32, kD, -kD}, 669, 532},
      {true, 11, {646, 611, 32, -32, kD, kD}, {677, 585, 0, -32, kD, kD}, 669, 589},
  };
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);
  cEdShot def = OneShot();
  def.m_nCount = 3;
  def.m_nFormParam[0] = 1;  // a gap of 16 dots
  for (const Case& c : cases) {
    // The square owner faces right, the tall one (32 × 64) left.
    owner.m_rcScreen = {320, c.tall ? 224 : 256, 351, 287};
    owner.m_nGfxHeight = c.tall ? 64 : 32;
    owner.m_nDirection = c.tall ? 0 : 1;
    SHOTSPAWN sp = Record(c.code);
    StartStraightA(owner, def, sp);
    EXPECT_EQ(StartOf(sp), c.a) << "A " << c.tall << " " << c.code;
    sp = Record(c.code);
    StartStraightB(owner, def, sp);
    EXPECT_EQ(StartOf(sp), c.b) << "B " << c.tall << " " << c.code;
    sp = Record(c.code);
    StartSpread(owner, sp);
    EXPECT_EQ(sp.nStartX, c.spreadX) << "spread " << c.tall << " " << c.code;
    EXPECT_EQ(sp.nStartY, c.spreadY) << "spread " << c.tall << " " << c.code;
  }
}

TEST(ShotStarts, TheRotatedStartCirclesTheOwnerAndAnAngledRowLiesAcrossItsFlight) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8, CharaDef().Facing(1));
  struct Rotation {
    int angle, x, y;
  } rotations[] = {{0, 624, 584}, {90, 647, 560}, {30, 627, 572}, {135, 664, 567}};
  for (const Rotation& r : rotations) {
    SHOTSPAWN sp = Record(DIRCODE_LEFT);
    RotatedStart(owner, sp, r.angle);
    EXPECT_EQ(sp.nStartX, r.x) << r.angle;  // no offsets: the caller adds them
    EXPECT_EQ(sp.nStartY, r.y) << r.angle;
  }

  cEdShot def = OneShot();
  def.m_nCount = 3;
  def.m_nFormParam[0] = 1;
  struct Angled {
    int variant, code, angle;
    Start start;
  } angled[] = {
      // The row as placed, the velocity turned: 180 + 30.
      {0, DIRCODE_RIGHT, 30, {677, 545, 0, 32, 3.4641016151377624, 1.9999999999999867}},
      // Rotated to 30 and 135: across the flight, either sign rule.
      {1, DIRCODE_LEFT, 30, {616, 592, 15, -27, -3.4641016151377557, -1.9999999999999982}},
      {1, DIRCODE_LEFT, 135, {691, 582, -22, -22, 2.8284271247461836, -2.8284271247461965}},
  };
  for (const Angled& a : angled) {
    def.m_nFormVariant = static_cast<int8_t>(a.variant);
    SHOTSPAWN sp = Record(a.code);
    sp.nAngle = a.angle;
    StartStraightAAngled(owner, def, sp);
    EXPECT_EQ(StartOf(sp), a.start) << a.variant << " " << a.angle;
  }
  def.m_nFormVariant = 1;
  SHOTSPAWN sp = Record(DIRCODE_UP);
  sp.nAngle = 20;
  StartSpreadAngled(owner, def, sp);
  EXPECT_EQ(sp.nStartX, 656 + 5);
  EXPECT_EQ(sp.nStartY, 561 - 7);
}

TEST(ShotFormations, ARowSpawnsItsShotsStepByStepFromItsStart) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = Formation(SHOTFORM_STRAIGHT_A, 3, DIRCODE_UP_LEFT);
  def.m_nFormParam[0] = 1;
  def.m_nOffsetX = 5;
  def.m_nOffsetY = -7;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  const std::vector<Start> expected{
      {613, 582, 0, 0, -kD, -kD}, {645, 550, 0, 0, -kD, -kD}, {677, 518, 0, 0, -kD, -kD}};
  EXPECT_EQ(Shots(stage), expected);
}

TEST(ShotFormations, AFanPutsAnOddCountsMiddleShotOnTheDirectionAndStraddlesItWithAnEvenOne) {
  struct Case {
    int count;
    std::vector<double> vx, vy;
  } cases[] = {
      {3, {-3.4641016151377557, -4.0, -3.4641016151377557}, {1.9999999999999982, -0.0, -1.9999999999999982}},
      {4,
       {-2.8284271247461925, -3.8637033051562732, -3.8637033051562732, -2.8284271247461925},
       {2.8284271247461876, 1.035276180410082, -1.035276180410082, -2.8284271247461876}},
  };
  for (const Case& c : cases) {
    ShotStage stage;
    cChara& owner = stage.Chara(10, 8);
    Command shoot(ACTCMDTYPE_SHOT);
    cEdShot def = Formation(SHOTFORM_SPREAD, c.count, DIRCODE_LEFT);
    def.m_nFormParam[0] = 30;
    ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
    const std::vector<Start> shots = Shots(stage);
    ASSERT_EQ(shots.size(), static_cast<size_t>(c.count));
    for (int i = 0; i < c.count; ++i) {
      EXPECT_EQ(shots[i], (Start{625, 584, 0, 0, c.vx[i], c.vy[i]})) << c.count << " " << i;
    }
  }
}

TEST(ShotFormations, AnAimedFanTakesItsBaseAngleFromTheTarget) {
  ShotStage stage;
  stage.Hero(3, 3);
  cChara& owner = stage.Chara(10, 8);
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = Formation(SHOTFORM_SPREAD, 1, DIRCODE_LEFT);
  def.m_bAim = 1;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  // From (633, 592) to the hero's centre (432, 432): 39 degrees.
  EXPECT_EQ(Shots(stage), (std::vector<Start>{{625, 584, 0, 0, -3.1085838458278854, -2.5172815641993473}}));
}

TEST(ShotFormations, AnExplosionIsAFullRingFromTheOwnersCentre) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = Formation(SHOTFORM_EXPLOSION, 8, DIRCODE_LEFT);
  def.m_nAngle = 10;
  def.m_bAngleMirror = 0;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  const double v[8][2] = {{-3.9392310120488325, -0.6945927106677207}, {-2.2943057454041877, -3.276608177155965},
                          {0.6945927106677142, -3.9392310120488334},  {3.2766081771559614, -2.2943057454041926},
                          {3.9392310120488347, 0.6945927106677079},   {2.294305745404197, 3.2766081771559583},
                          {-0.6945927106677023, 3.9392310120488356},  {-3.276608177155954, 2.2943057454042033}};
  const std::vector<Start> shots = Shots(stage);
  ASSERT_EQ(shots.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(shots[i], (Start{648, 584, 0, 0, v[i][0], v[i][1]})) << i;
}

TEST(ShotFormations, ASurroundClosesInOnItsObjectFromACircleRoundedHalfUp) {
  ShotStage stage;
  stage.Hero(10, 8);
  cChara& owner = stage.Chara(3, 3);
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = Formation(SHOTFORM_SURROUND, 4, DIRCODE_LEFT);
  def.m_nFormParam[0] = 6;  // 96 dots
  def.m_nFormCentre = 1;    // around the hero
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  // (int)(96 cos θ + 0.5): +96 stays 96, −96 becomes −95.
  const std::vector<Start> expected{{744, 584, 0, 0, -4.0, -0.0},
                                    {648, 680, 0, 0, -6.462178297730347e-15, -4.0},
                                    {553, 584, 0, 0, 4.0, -1.2924356595460694e-14},
                                    {648, 489, 0, 0, 1.8498356473490916e-14, 4.0}};
  EXPECT_EQ(Shots(stage), expected);
}

TEST(ShotFormations, StrikesAndSurroundsWithoutTheirObjectFireNothing) {
  for (int form : {SHOTFORM_LIGHTNING, SHOTFORM_SURROUND}) {
    for (int centre : {0, 1, 3}) {
      ShotStage stage;  // no hero
      cChara& owner = stage.Chara(3, 3);
      owner.m_nTargetId = OBJECT_NONE;
      Command shoot(ACTCMDTYPE_SHOT);
      cEdShot def = Formation(form, 2, DIRCODE_DOWN);
      def.m_nFormCentre = static_cast<int8_t>(centre);
      def.m_nFormParam[1] = 1;
      ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
      EXPECT_TRUE(stage.Scene().m_Shots.empty()) << form << " " << centre;
      def.m_nFormCentre = 2;  // around the owner itself it fires
      ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
      EXPECT_EQ(stage.Scene().m_Shots.size(), 2u);
    }
  }
}

TEST(ShotFormations, AStrikeComesInFromTheViewsEdgeInRowsAndColumns) {
  struct Case {
    int cx, cy, code, columns;
    bool noGap;
    Start start;
    int colX, colY;
    double vx, vy;
  } cases[] = {
      {10, 8, 2, 3, false, {944, 552, -32, 0, 0, 0}, 0, 32, -4.0, 0.0},
      {10, 8, 3, 3, false, {320, 552, 32, 0, 0, 0}, 0, 32, 4.0, 0.0},
      {10, 8, 6, 3, false, {616, 784, 0, -32, 0, 0}, 32, 0, 0.0, -4.0},
      {10, 8, 7, 3, false, {616, 320, 0, 32, 0, 0}, 32, 0, 0.0, 4.0},
      {10, 8, 7, 3, true, {616, 320, 0, 16, 0, 0}, 32, 0, 0.0, 4.0},
      {10, 8, 8, 2, false, {837, 795, -22, -22, 0, 0}, 22, -22, -kD, -kD},
      {10, 8, 9, 2, false, {901, 309, -22, 22, 0, 0}, 22, 22, -kD, kD},
      {10, 8, 10, 2, false, {437, 773, 22, -22, 0, 0}, 22, 22, kD, -kD},
      {10, 8, 11, 2, false, {373, 331, 22, 22, 0, 0}, 22, -22, kD, kD},
      {17, 1, 8, 1, false, {944, 432, -22, -22, 0, 0}, 0, 0, -kD, -kD},
      {17, 12, 9, 1, false, {944, 640, -22, 22, 0, 0}, 0, 0, -kD, kD},
      {1, 1, 10, 1, false, {320, 400, 22, -22, 0, 0}, 0, 0, kD, -kD},
      {1, 12, 11, 1, false, {320, 672, 22, 22, 0, 0}, 0, 0, kD, kD},
  };
  for (const Case& c : cases) {
    ShotStage stage;
    SystemData.m_bCompat555 = c.noGap;
    stage.Hero(c.cx, c.cy);
    cChara& owner = stage.Chara(3, 3);
    Command shoot(ACTCMDTYPE_SHOT);
    cEdShot def = Formation(SHOTFORM_LIGHTNING, 2, c.code);  // two rows
    def.m_nFormCentre = 1;
    def.m_nFormParam[0] = 1;
    def.m_nFormParam[1] = static_cast<int16_t>(c.columns);
    def.m_nFormParam[2] = 2;
    def.m_bPassBlocks = 1;
    ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
    std::vector<Start> expected;
    for (int row = 0; row < 2; ++row)
      for (int col = 0; col < c.columns; ++col)
        expected.push_back({c.start.x + row * c.start.stepX + col * c.colX,
                            c.start.y + row * c.start.stepY + col * c.colY, 0, 0, c.vx, c.vy});
    EXPECT_EQ(Shots(stage), expected) << c.cx << "," << c.cy << " code " << c.code;
  }
}

TEST(ShotFormations, AnAngledStrikeTurnsOnlyItsVelocity) {
  ShotStage stage;
  stage.Hero(10, 8);
  cChara& owner = stage.Chara(3, 3);
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = Formation(SHOTFORM_LIGHTNING, 1, DIRCODE_DOWN);
  def.m_nFormCentre = 1;
  def.m_nFormParam[1] = 1;
  def.m_nAngle = 20;
  def.m_bAngleMirror = 0;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  EXPECT_EQ(Shots(stage), (std::vector<Start>{{648, 320, 0, 0, -1.368080573302656, 3.7587704831436404}}));
}

TEST(ShotAiming, WithoutATargetTheOwnersFacingGivesTheAngle) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);
  owner.m_nTargetId = OBJECT_NONE;
  cEdShot def = OneShot();
  SHOTSPAWN sp = Record(DIRCODE_LEFT);
  owner.m_nDirection = 0;
  EXPECT_EQ(AimAngle(400, 400, owner, def, sp), 0);
  owner.m_nDirection = 1;
  EXPECT_EQ(AimAngle(400, 400, owner, def, sp), 180);
}

TEST(ShotAiming, AStillViewAimsStraightAtTheTargetsCentreRounded) {
  struct Case {
    int x, y, angle;
  } cases[] = {{400, 400, 217}, {700, 500, 296}};
  ShotStage stage;
  stage.Hero(10, 8);
  cChara& owner = stage.Chara(3, 3);
  cEdShot def = OneShot();
  for (const Case& c : cases) {
    SHOTSPAWN sp = Record(DIRCODE_LEFT);
    EXPECT_EQ(AimAngle(c.x, c.y, owner, def, sp), c.angle) << c.x << "," << c.y;
    EXPECT_EQ(sp.dSpeed, 4.0);
  }
  // Scrolling, but at the limit, or tied to the screen, or the target not synced: the same.
  stage.Scene().m_ScrollX.m_dAutoSpeed = 1.0;
  stage.Scene().m_ScrollX.m_bAtLimit = 1;
  SHOTSPAWN sp = Record(DIRCODE_LEFT);
  EXPECT_EQ(AimAngle(400, 400, owner, def, sp), 217);
  stage.Scene().m_ScrollX.m_bAtLimit = 0;
  EXPECT_EQ(AimAngle(400, 400, owner, def, sp), 217);  // the hero is not synced
}

TEST(ShotAiming, AViewThatCarriesTheTargetIsAimedAtWhereTheShotMeetsIt) {
  struct Case {
    double scrollX, scrollY;
    int x, y, angle;
    double speed;
  } cases[] = {
      {0, 0.5, 656, 600, 90, 4.0},  // straight up: 90, where 180/π's neighbour gives 89
      {1.0, 0, 400, 600, 154, 3.9999999999999996},
  };
  for (const Case& c : cases) {
    ShotStage stage;
    SystemData.m_bCompat214 = 0;
    cChara& owner = stage.Chara(3, 8);
    cChara& target = stage.Chara(10, 3, CharaDef().ScrollSync());
    owner.m_nTargetId = target.m_nId;
    stage.Scene().m_ScrollX.m_dAutoSpeed = c.scrollX;
    stage.Scene().m_ScrollY.m_dAutoSpeed = c.scrollY;
    cEdShot def = OneShot();
    def.m_nSpeed = 40;
    SHOTSPAWN sp = Record(DIRCODE_LEFT);
    EXPECT_EQ(AimAngle(c.x, c.y, owner, def, sp), c.angle);
    EXPECT_EQ(sp.dSpeed, c.speed);
    EXPECT_TRUE(target.m_vShots.empty());
    def.m_bAimDirect = 1;  // tied to the screen: straight at it
    SHOTSPAWN direct = Record(DIRCODE_LEFT);
    EXPECT_EQ(direct.dSpeed, 4.0);
    AimAngle(c.x, c.y, owner, def, direct);
    EXPECT_EQ(direct.dSpeed, 4.0);
  }
}
