// Other characters: the activity range and when a character takes part in
// a step, linked groups, the codes of their moves and their start speeds;
// and the hero's horizontal move with inertia, the slide ground effect and
// knock-back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/stage_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

// 60 × 30 cells; the view at (320, 320) shows cells 0..19 across and 0..14 down.
MapBuilder Wide() { return MapBuilder(std::vector<std::string>(30, std::string(60, '.'))); }

cVector<uint8_t> Flags() { return cVector<uint8_t>(60, 0); }

}  // namespace

TEST(CharaActivity, InRangeByModeAndPlaceActiveByRangeLinkOrAJumpInProgress) {
  enum { IN_VIEW, RIGHT, BELOW, FAR };
  struct Case {
    const char* name;
    int mode;   // activity range: 0 view, 1 across the view at any height, 2 any column, 3 anywhere
    int place;
    int fly, linked, jumped, airborne, appeared;
    int inRange, active;
  };
  const Case cases[] = {
      {"in view", 0, IN_VIEW, 0, 0, 0, 0, 0, 1, 1},
      {"right of the view", 0, RIGHT, 0, 0, 0, 0, 0, 0, 0},
      {"below the view", 0, BELOW, 0, 0, 0, 0, 0, 0, 0},
      {"mode 1 below the view", 1, BELOW, 0, 0, 0, 0, 0, 1, 1},
      {"mode 1 right of the view", 1, RIGHT, 0, 0, 0, 0, 0, 0, 0},
      {"mode 2 right of the view", 2, RIGHT, 0, 0, 0, 0, 0, 1, 1},
      {"mode 2 below the view", 2, BELOW, 0, 0, 0, 0, 0, 0, 0},
      {"mode 3 far away", 3, FAR, 0, 0, 0, 0, 0, 1, 1},
      {"its link group raised", 0, FAR, 0, 1, 0, 0, 0, 0, 1},
      {"a walker mid-jump", 0, FAR, 0, 0, 1, 1, 0, 0, 1},
      {"a walker that fell out of view", 0, FAR, 0, 0, 0, 1, 1, 0, 1},
      {"a walker airborne before it appeared", 0, FAR, 0, 0, 0, 1, 0, 0, 0},
      {"a walker that walked out of view", 0, FAR, 0, 0, 0, 0, 1, 0, 0},
      {"a flier mid-jump", 0, FAR, FLYMODE_STOPPED, 0, 1, 1, 1, 0, 0},
  };
  const Cell cells[] = {{5, 5}, {25, 5}, {5, 20}, {40, 25}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    Wide().Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    cEdChara def = CharaDef().Fly(c.fly);
    def.m_nActivityRange = static_cast<int8_t>(c.mode);
    def.m_bJoinGroup = 1;
    def.m_nGroup = 4;
    cChara& chara = world.AddChara(def, cells[c.place]);
    chara.m_bJumped = c.jumped;
    chara.m_bAirborne = c.airborne;
    chara.m_bAppeared = c.appeared;
    cVector<uint8_t> flags = Flags();
    flags[4] = static_cast<uint8_t>(c.linked);
    EXPECT_EQ(chara.CheckActivityRange(flags), c.inRange);
    EXPECT_EQ(flags[4], c.linked || c.inRange) << "in range raises its link group";
    EXPECT_EQ(chara.CheckActive(flags), c.active);
    EXPECT_EQ(chara.m_bAppeared, c.active || c.appeared);
  }
}

TEST(CharaActivity, ALinkedGroupWakesInTheStepOneOfItsMembersComesIntoView) {
  GameWorld world;
  Wide().Build();
  world.Scene().m_ScrollX.m_dPos = 320;
  world.Scene().m_ScrollY.m_dPos = 320;
  cEdChara linked = CharaDef();
  linked.m_bJoinGroup = 1;
  linked.m_nGroup = 9;
  cChara& far1 = world.AddChara(linked, {40, 25});
  cChara& near = world.AddChara(linked, {5, 5});
  cChara& far2 = world.AddChara(linked, {45, 25});
  cChara& other = world.AddChara(CharaDef(), {42, 25});
  cVector<uint8_t> flags = Flags();
  for (cChara& c : CharaList) c.CheckActivityRange(flags);
  std::vector<int> active;
  for (cChara& c : CharaList) active.push_back(c.CheckActive(flags));
  EXPECT_EQ(active, (std::vector<int>{1, 1, 1, 0}));
  EXPECT_EQ(far1.m_bInRange + near.m_bInRange + far2.m_bInRange + other.m_bInRange, 1);
  // A character that does not join the group is not woken by it.
  other.m_Def.m_nGroup = 9;
  EXPECT_EQ(other.CheckActive(flags), 0);
}

TEST(CharaActivity, OnceActiveForGoodStaysInRangeAnywhere) {
  GameWorld world;
  Wide().Build();
  world.Scene().m_ScrollX.m_dPos = 320;
  world.Scene().m_ScrollY.m_dPos = 320;
  cEdChara def = CharaDef();
  def.m_nActivation = 1;
  cChara& keeps = world.AddChara(def, {5, 5});
  cChara& sleeps = world.AddChara(CharaDef(), {6, 5});
  cVector<uint8_t> flags = Flags();
  for (cChara* c : {&keeps, &sleeps}) {
    c->m_bAirborne = 0;  // standing
    c->CheckActivityRange(flags);
    EXPECT_EQ(c->CheckActive(flags), 1);
  }
  world.Scene().m_ScrollX.m_dPos = 1500;  // both out of view now
  world.Scene().m_ScrollY.m_dPos = 900;
  EXPECT_EQ(keeps.CheckActivityRange(flags), 1);
  EXPECT_EQ(sleeps.CheckActivityRange(flags), 0);
  EXPECT_EQ(sleeps.CheckActive(flags), 0);
}

TEST(CharaMoves, MoveCodesReportWhereTheCharacterWent) {
  struct Case {
    const char* name;
    int fly, limitRight;
    double x, y, vx, vy;
    int resultX, resultY;
    double afterX, afterY;
  };
  // 40 × 30 cells: the map spans 320..1600 and 320..1280, the active area 0..1920 and 0..1600.
  const Case cases[] = {
      {"inside", 0, 0, 800, 800, 2, 3, 0, 0, 802, 803},
      {"past the scroll limit", 0, 1, 1000, 800, 0, 0, 1, 0, 1000, 800},
      {"into the border", 0, 0, 1595, 800, 0, 0, 2, 0, 1595, 800},
      {"out of the active area's right", 0, 0, 1910, 800, 5, 0, 4, 0, 1904, 800},
      {"out of the active area's left", 0, 0, 3, 800, -5, 0, 4, 0, 0, 800},
      {"a walker falls past the map's bottom", 0, 0, 800, 1270, 0, 3, 0, 7, 800, 1273},
      {"a walker falls out of the active area", 0, 0, 800, 1590, 0, 3, 0, 7, 800, 1576},
      {"a walker rises above the map", 0, 0, 800, 310, 0, -3, 0, 2, 800, 307},
      {"a walker at the active area's top", 0, 0, 800, 2, 0, -5, 0, 3, 800, 0},
      {"a flier leaves through the top", FLYMODE_STOPPED, 0, 800, 2, 0, -5, 0, 8, 800, 0},
      {"a flier leaves through the bottom", FLYMODE_STOPPED, 0, 800, 1590, 0, 3, 0, 8, 800, 1584},
      {"a flier below the map", FLYMODE_STOPPED, 0, 800, 1270, 0, 3, 0, 5, 800, 1273},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    if (c.limitRight) StageSettings().LimitRight(20);
    MapBuilder(std::vector<std::string>(30, std::string(40, '.'))).Build();
    cChara& chara = world.AddChara(CharaDef().Fly(c.fly), {5, 5});
    chara.m_rcHit.dLeft = c.x;
    chara.m_rcHit.dTop = c.y;
    chara.m_dVx = c.vx;
    chara.m_dVy = c.vy;
    EXPECT_EQ(chara.MoveX(), c.resultX);
    EXPECT_EQ(chara.MoveY(), c.resultY);
    EXPECT_EQ(chara.m_rcHit.dLeft, c.afterX);
    EXPECT_EQ(chara.m_rcHit.dTop, c.afterY);
  }
}

TEST(CharaMoves, KnockBackReplacesTheSpeedAndInertiaAddsAfterFriction) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(30, std::string(40, '.'))).Build();
  cChara& chara = world.AddChara(CharaDef().Fly(FLYMODE_STOPPED), {5, 5});
  const double x = chara.m_rcHit.dLeft;
  const double y = chara.m_rcHit.dTop;
  chara.m_dStopDecel = 0.25;
  chara.m_bFrictionX = chara.m_bFrictionY = 1;
  chara.m_dVx = 5;
  chara.m_dKnockX = -2;
  chara.m_dInertiaX = 1;
  chara.MoveX();
  EXPECT_EQ(chara.m_rcHit.dLeft, x - 2);
  EXPECT_EQ(chara.m_dInertiaX, 1) << "untouched under knock-back";
  chara.m_dKnockX = 0;
  chara.m_dVx = 0;
  chara.MoveX();
  EXPECT_EQ(chara.m_rcHit.dLeft, x - 2 + 0.75);
  chara.m_dVy = 0;
  chara.m_dInertiaY = -1;
  chara.MoveY();
  EXPECT_EQ(chara.m_rcHit.dTop, y - 0.75) << "a flier's vertical inertia";
}

TEST(CharaRun, StartSpeedsFollowTheScrollForASyncedCharacterUnlessMovesAddIt) {
  struct Case {
    int scrollInMoves, sync, fly, atLimitY;
    double vx, vy;
  };
  const Case cases[] = {{0, 1, FLYMODE_STOPPED, 0, 0.5, -0.25}, {0, 1, FLYMODE_STOPPED, 1, 0.5, 0},
                        {0, 1, FLYMODE_WALK, 0, 0.5, 9},         {0, 0, FLYMODE_STOPPED, 0, 0, 0},
                        {1, 1, FLYMODE_STOPPED, 0, 0, 0},        {1, 1, FLYMODE_WALK, 0, 0, 9}};
  for (const Case& c : cases) {
    GameWorld world;
    Wide().Build();
    SystemData.m_bCompat214 = c.scrollInMoves;
    CharaDef def = CharaDef().Fly(c.fly);
    if (c.sync) def.ScrollSync();
    cChara& chara = world.AddChara(def, {5, 5});
    world.Scene().m_ScrollX.m_dAutoSpeed = 0.5;
    world.Scene().m_ScrollY.m_dAutoSpeed = -0.25;
    world.Scene().m_ScrollY.m_bAtLimit = c.atLimitY;
    chara.m_dVx = chara.m_dVy = 9;
    chara.m_nCrushGrace = 1;
    EXPECT_EQ(chara.Run(0), 0);
    EXPECT_EQ(chara.m_dVx, c.vx) << c.scrollInMoves << c.sync << c.fly << c.atLimitY;
    EXPECT_EQ(chara.m_dVy, c.vy) << c.scrollInMoves << c.sync << c.fly << c.atLimitY;
    EXPECT_EQ(chara.m_nCrushGrace, 0);
    chara.m_nHp = 0;
    EXPECT_EQ(chara.Run(0), 1);
  }
}

TEST(HeroMoves, InertiaWithFrictionAndTheSlideEffectThenTheSpeedCap) {
  struct Case {
    const char* name;
    int level;
    double inertia, knock, strength;
    int effectSteps;
    double inertiaAfter, moved;
  };
  // Friction 0.25 a step; the slide adds 4 / S / (60 × S) × (strength − 1).
  const Case cases[] = {
      {"plain inertia", 1, 1.0, 0, 1.5, 0, 0.75, 0.75},
      {"a faster slide", 1, 1.0, 0, 1.5, 1, 0.7833333333333333, 0.7833333333333333},
      {"a faster slide leftward", 1, -1.0, 0, 1.5, 1, -0.7833333333333333, -0.7833333333333333},
      {"a slower slide stops at 0", 1, 0.2, 0, 0.5, 1, 0, 0},
      {"a faster slide at S 2", 2, 1.0, 0, 1.5, 1, 0.7583333333333333, 0.7583333333333333},
      {"knock-back instead", 1, 1.0, -2, 1.5, 1, 1.0, -2},
      {"capped at 6 a step", 1, 9.0, 0, 1.0, 0, 8.75, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world(c.level);
    Wide().Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {10, 5});
    const double x = hero.m_rcHit.dLeft;
    hero.m_dStopDecel = 0.25;
    hero.m_bFrictionX = 1;
    hero.m_dVx = 0;
    hero.m_dInertiaX = c.inertia;
    hero.m_dKnockX = c.knock;
    hero.m_nGroundEffect = 3;
    hero.m_dGroundEffect = c.strength;
    hero.m_nGroundEffectSteps = c.effectSteps;
    EXPECT_EQ(hero.MoveX(), 0);
    EXPECT_EQ(hero.m_dInertiaX, c.inertiaAfter);
    EXPECT_EQ(hero.m_rcHit.dLeft, x + c.moved);
  }
}
