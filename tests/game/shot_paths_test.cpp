// The paths of shots: aiming once at the turn step, homing between its
// start and end, 5 and 7 alike, a target that goes mid-flight, homing with
// acceleration, the wave either way with its sign rule and its mends, and
// the fall. The hero stands on cell (10, 8): its centre is view (336, 272);
// shots start at world (400, 400), whose centre is view (88, 88). Expected
// doubles were worked out apart from this code and are compared bit for bit.
#include <gtest/gtest.h>

#include <climits>

#include "shot_test_env.h"

using namespace shottest;

namespace {

// A still shot of `path` with path speed speed × 0.1 and the parameters.
cShot& StillShot(ShotStage& stage, cCharaBase& owner, int path, int speed, int p0, int p1 = 0, int p2 = 0,
                 int accel = 0) {
  cEdShot def = OneShot();
  def.m_nPath = static_cast<int8_t>(path);
  def.m_nSpeed = static_cast<int16_t>(speed);
  def.m_nPathParam[0] = static_cast<int16_t>(p0);
  def.m_nPathParam[1] = static_cast<int16_t>(p1);
  def.m_nPathParam[2] = static_cast<int16_t>(p2);
  def.m_bAccel = accel ? 1 : 0;
  def.m_nAccel = static_cast<int16_t>(accel);
  return stage.Fire(owner, def, SpawnAt(400, 400, 0, 0));
}

struct Base {
  double vx, vy;
  bool operator==(const Base&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Base& b) { return os << Hex(b.vx) << "," << Hex(b.vy); }

}  // namespace

TEST(ShotPaths, AnAimingPathAimsOnceAtItsTurnStep) {
  struct Case {
    int p0, speed, turn;
    Base aimed;
  } cases[] = {
      {0, 40, 0, {3.212392112935207, 2.383387696693863}},  // 0 aims at once
      {2, 40, 8, {3.212392112935207, 2.383387696693863}},  // 32 dots at 4 a step
      {1, 30, 5, {2.409294084701405, 1.7875407725203973}}, // 16 dots at 3: 5 steps
  };
  for (const Case& c : cases) {
    ShotStage stage;
    stage.Hero(10, 8);
    cChara& owner = stage.Chara(3, 3);
    cShot& shot = StillShot(stage, owner, SHOTPATH_AIM_HERO, c.speed, c.p0);
    for (int step = 0; step <= c.turn; ++step) {
      ASSERT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), (Base{0, 0})) << step;
      shot.StepTrajectory();
    }
    EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), c.aimed) << c.p0;
    EXPECT_EQ(shot.m_bPathDone, 1);
    EXPECT_EQ(shot.m_nStep, c.turn + 1);
    Player[0].m_rcScreen.nLeft += 100;  // it never aims again
    shot.StepTrajectory();
    EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), c.aimed);
  }
}

TEST(ShotPaths, EachAimingPathFindsItsObjectAndWithoutOneKeepsItsCourse) {
  struct Case {
    const char* what;
    int path;
    bool hero, group, target, defeated;
    Base aimed;
  } cases[] = {
      {"hero", SHOTPATH_AIM_HERO, true, false, false, false, {3.212392112935207, 2.383387696693863}},
      {"no hero", SHOTPATH_AIM_HERO, false, false, false, false, {-2, 0}},
      {"nearest of group 3", SHOTPATH_AIM_NEAREST, true, true, false, false, {2.82842712474619, 2.82842712474619}},
      {"empty group", SHOTPATH_AIM_NEAREST, true, false, false, false, {-2, 0}},
      {"target", SHOTPATH_AIM_TARGET, true, false, true, false, {3.9930974926999836, 0.23488808780588138}},
      {"defeated target", SHOTPATH_AIM_TARGET, true, false, true, true, {-2, 0}},
      {"no target", SHOTPATH_AIM_TARGET, true, false, false, false, {-2, 0}},
  };
  for (const Case& c : cases) {
    ShotStage stage;
    if (c.hero) stage.Hero(10, 8);
    cChara& owner = stage.Chara(3, 3);
    if (c.group) {
      stage.Chara(12, 2, CharaDef().Group(3));
      stage.Chara(6, 6, CharaDef().Group(3));  // nearer by |dx| + |dy|
    }
    owner.m_nTargetId = OBJECT_NONE;
    if (c.target) {
      cChara& target = stage.Chara(15, 3);
      target.m_bDefeated = c.defeated;
      owner.m_nTargetId = target.m_nId;
    }
    cEdShot def = OneShot();
    def.m_nPath = static_cast<int8_t>(c.path);
    def.m_nSpeed = 40;
    def.m_nPathParam[1] = 3;
    cShot& shot = stage.Fire(owner, def, SpawnAt(400, 400, -2, 0));
    shot.StepTrajectory();
    EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), c.aimed) << c.what;
    EXPECT_EQ(shot.m_bPathDone, 1) << c.what;
  }
}

TEST(ShotPaths, AnAimWithAccelerationTurnsItsAccelerationToo) {
  ShotStage stage;
  stage.Hero(10, 8);
  cChara& owner = stage.Chara(3, 3);
  cShot& shot = StillShot(stage, owner, SHOTPATH_AIM_HERO, 40, 0, 0, 0, 5);
  shot.StepTrajectory();
  EXPECT_EQ(shot.m_dInertiaX, 0.006692483568615014);
  EXPECT_EQ(shot.m_dInertiaY, 0.004965391034778882);
  EXPECT_EQ(shot.m_dBaseVx, 3.212392112935207 + 0.006692483568615014);
}

TEST(ShotPaths, HomingSteersFromItsStartStepUntilItsEndStep) {
  // Start 1 hbl and end 2 hbl at 4 dots a step: steps 4 to 7.
  const Base expected[] = {
      {0, 0},
      {0, 0},
      {0, 0},
      {0, 0},
      {3.212392112935207, 2.383387696693863},
      {3.210975391817812, 2.3852960053503742},
      {3.2095236672330363, 2.3872490086857296},
      {3.214467015084834, 2.380588542552366},
      {3.214467015084834, 2.380588542552366},
      {3.214467015084834, 2.380588542552366},
  };
  ShotStage stage;
  stage.Hero(10, 8);
  cChara& owner = stage.Chara(3, 3);
  cShot& shot = StillShot(stage, owner, SHOTPATH_HOME_HERO, 40, 1, 2);
  for (int step = 0; step < 10; ++step) {
    stage.StepShots();
    EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), expected[step]) << step;
    EXPECT_EQ(shot.m_bPathDone, step >= 8 ? 1 : 0) << step;
  }
  EXPECT_EQ(shot.m_rcHit.dLeft, 419.2762922172406);
  EXPECT_EQ(shot.m_rcHit.dTop, 414.297698338387);
  EXPECT_EQ(shot.m_nStep, 9);  // the step that ended the homing still counted
}

TEST(ShotPaths, WithAccelerationHomingSetsTheCourseOnceAndThenTurnsOnlyThePull) {
  const Base expected[] = {
      {3.219084596503822, 2.3883530877286416},  {3.225774128570109, 2.393322454406455},
      {3.232460636210178, 2.398295889841217},   {3.2391574424916048, 2.403255449304868},
      {3.2458542487730315, 2.408215008768519},  {3.2525510550544583, 2.41317456823217},
  };
  ShotStage stage;
  stage.Hero(10, 8);
  cChara& owner = stage.Chara(3, 3);
  cShot& shot = StillShot(stage, owner, SHOTPATH_HOME_HERO, 40, 1, 2, 0, 5);
  for (int step = 0; step < 10; ++step) {
    stage.StepShots();
    if (step >= 4) {
      EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), expected[step - 4]) << step;
    }
  }
  EXPECT_EQ(shot.m_rcHit.dLeft, 419.4550410497224);
  EXPECT_EQ(shot.m_rcHit.dTop, 414.4344033298202);
}

TEST(ShotPaths, AHomingEndOfZeroNeverSteersAndAStartOfZeroSteersAtOnce) {
  for (int path : {SHOTPATH_HOME_HERO, SHOTPATH_HOME_NEAREST, SHOTPATH_HOME_TARGET, SHOTPATH_HOME_NEAREST_RETARGET}) {
    ShotStage stage;
    cHero& hero = stage.Hero(10, 8, CharaDef().PlayerOperated().Group(3));
    cChara& owner = stage.Chara(3, 3);
    owner.m_nTargetId = hero.m_nId;
    cShot& never = StillShot(stage, owner, path, 40, 0, 0, 3);
    cShot& atOnce = StillShot(stage, owner, path, 40, 0, 2, 3);
    stage.StepShots();
    EXPECT_EQ((Base{never.m_dBaseVx, never.m_dBaseVy}), (Base{0, 0})) << path;
    EXPECT_EQ(never.m_bPathDone, 1) << path;
    EXPECT_EQ((Base{atOnce.m_dBaseVx, atOnce.m_dBaseVy}), (Base{3.212392112935207, 2.383387696693863})) << path;
  }
}

TEST(ShotPaths, HomingOnTheNearestFindsItAnewEachStepWhicheverOfTheTwoPaths) {
  std::vector<Base> traces[2];
  int n = 0;
  for (int path : {SHOTPATH_HOME_NEAREST, SHOTPATH_HOME_NEAREST_RETARGET}) {
    ShotStage stage;
    cChara& owner = stage.Chara(3, 3);
    cChara& first = stage.Chara(6, 6, CharaDef().Group(3));
    stage.Chara(12, 2, CharaDef().Group(3));
    cShot& shot = StillShot(stage, owner, path, 40, 0, 999, 3);
    for (int step = 0; step < 6; ++step) {
      if (step == 3) first.m_bDefeated = 1;  // the other one is the nearest now
      stage.StepShots();
      traces[n].push_back({shot.m_dBaseVx, shot.m_dBaseVy});
    }
    ++n;
  }
  EXPECT_EQ(traces[0], traces[1]);
  EXPECT_EQ(traces[0][0], (Base{2.82842712474619, 2.82842712474619}));
  EXPECT_GT(traces[0][2].vy, 0);  // down toward (208, 208)
  EXPECT_LT(traces[0][3].vy, 0);  // then up toward (400, 80)
}

TEST(ShotPaths, AHomingShotWhoseTargetGoesFliesOnWithoutIt) {
  for (const char* how : {"erased", "defeated"}) {
    SCOPED_TRACE(how);
    ShotStage stage;
    cChara& owner = stage.Chara(3, 3);
    cChara& target = stage.Chara(15, 3);
    owner.m_nTargetId = target.m_nId;
    cShot& shot = StillShot(stage, owner, SHOTPATH_HOME_TARGET, 40, 0, 999);
    target.m_vShots.push_back(shot.m_nId);  // as the emitter files it
    stage.StepShots();
    const Base steered{shot.m_dBaseVx, shot.m_dBaseVy};
    EXPECT_EQ(steered, (Base{3.9930974926999836, 0.23488808780588138}));
    // The shot forgets its target and keeps its velocity.
    if (how[0] == 'e') {
      EraseChara(std::prev(CharaList.end()));
    } else {
      target.m_nHp = 0;
      target.Defeat();
    }
    EXPECT_EQ(shot.m_nTargetId, OBJECT_NONE);
    for (int step = 0; step < 3; ++step) stage.StepShots();
    EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), steered);
    EXPECT_EQ(shot.m_bPathDone, 0);
  }
}

TEST(ShotPaths, TheWaveSnakesAcrossItsCourseEitherWay) {
  struct Case {
    const char* what;
    double vx, vy;
    int amplitude, rate;
    double waveCos, waveSin;
    std::vector<Base> bases;
  } cases[] = {
      {"right",
       3,
       0,
       4,
       4,
       1.6155445744325867e-15,
       -1.0,
       {{3.000000000000007, -4.468042885105484}, {3.000000000000007, -4.44628387117104},
        {3.000000000000007, -4.4028718510308344}}},
      {"left, half a turn later",
       -3,
       0,
       4,
       4,
       -1.9371691043679142e-15,
       1.0,
       {{-2.9999999999999916, -4.468042885105484}, {-2.9999999999999916, -4.44628387117104},
        {-2.9999999999999916, -4.4028718510308344}}},
      {"straight up at 90°: the unsnapped speed faces it left and sets the cross",
       -6.462178297730347e-15,
       -4,
       1,
       30,
       -1.0,
       1.2246467991473532e-16,
       {{8.377580409572774, -4.000000000000001}, {6.184334987108474, -4.000000000000001},
        {2.3855224819324383, -4.0}, {0.0, -3.9999999999999996}, {-3.7988125051760386, -3.999999999999999}}},
      {"a component never changes sign in one step",
       3,
       0,
       1,
       30,
       1.6155445744325867e-15,
       -1.0,
       {{3.0000000000000133, -8.377580409572781}, {3.0000000000000098, -6.18433498710848},
        {3.0000000000000036, -2.385522481932443}, {2.9999999999999964, 0.0}, {2.9999999999999902, 3.7988125051760373}}},
  };
  for (const Case& c : cases) {
    ShotStage stage;
    cChara& owner = stage.Chara(3, 3, CharaDef().Facing(1));
    cEdShot def = OneShot();
    def.m_nPath = SHOTPATH_WAVE;
    def.m_nPathParam[0] = static_cast<int16_t>(c.amplitude);
    def.m_nPathParam[1] = static_cast<int16_t>(c.rate);
    cShot& shot = stage.Fire(owner, def, SpawnAt(600, 600, c.vx, c.vy));
    for (size_t step = 0; step < c.bases.size(); ++step) {
      shot.StepTrajectory();
      EXPECT_EQ((Base{shot.m_dBaseVx, shot.m_dBaseVy}), c.bases[step]) << c.what << " " << step;
    }
    EXPECT_EQ(shot.m_dWaveCos, c.waveCos) << c.what;
    EXPECT_EQ(shot.m_dWaveSin, c.waveSin) << c.what;
    EXPECT_EQ(shot.m_ShotDef.m_nPathParam[0], c.amplitude * 16) << c.what;
    EXPECT_EQ(shot.m_nStep, 1);
  }
}

TEST(ShotPaths, AWaveOfSpeedZeroIsNoWaveAndAHugeAmplitudeSaturates) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cEdShot def = OneShot();
  def.m_nPath = SHOTPATH_WAVE;
  def.m_nPathParam[0] = 4;
  cShot& still = stage.Fire(owner, def, SpawnAt(600, 600, 3, 0));
  for (int step = 0; step < 3; ++step) still.StepTrajectory();
  EXPECT_EQ((Base{still.m_dBaseVx, still.m_dBaseVy}), (Base{3, 0}));
  EXPECT_EQ(still.m_ShotDef.m_nPathParam[0], 4);

  def.m_nPathParam[0] = 3000;
  def.m_nPathParam[1] = 4;
  cShot& huge = stage.Fire(owner, def, SpawnAt(600, 600, 3, 0));
  huge.StepTrajectory();
  EXPECT_EQ(huge.m_ShotDef.m_nPathParam[0], INT16_MAX);
}

TEST(ShotPaths, TheFallTurnsGravityOnAtItsTurnStepWithItsVerticalSpeed) {
  // Turn after 1 hbl at 4 a step: step 4. Gravity 0.4 a step from then on.
  const double expected[][2] = {{-2.0, 398.0}, {-2.0, 396.0}, {-2.0, 394.0}, {-2.0, 392.0},
                                {-1.6, 390.4}, {-1.2000000000000002, 389.2}, {-0.8000000000000002, 388.4},
                                {-0.40000000000000013, 388.0}};
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cEdShot def = OneShot();
  def.m_nPath = SHOTPATH_FALL;
  def.m_nSpeed = 40;
  def.m_nPathParam[0] = 1;
  cShot& shot = stage.Fire(owner, def, SpawnAt(400, 400, 3, -2));
  for (int step = 0; step < 8; ++step) {
    stage.StepShots();
    EXPECT_EQ(shot.m_dVy, expected[step][0]) << step;
    EXPECT_EQ(shot.m_rcHit.dTop, expected[step][1]) << step;
    EXPECT_EQ(shot.m_rcHit.dLeft, 403.0 + 3 * step);
    EXPECT_EQ(shot.m_bNoGravity, step < 4 ? 1 : 0);
  }
}
