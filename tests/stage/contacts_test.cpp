// Solid contacts with block characters on small built stages, through the
// logic step at one and at three steps per frame: boxes, speeds and the
// map's walls give position, blocked sides, riding, carrier, the step's end,
// triggers and the fast-landing line; riding, a carrier that goes and
// walking off a carrier. The escape's limit and the turn back on a carrier
// are also checked on the rule itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/gone_objects.h"
#include "records/command_vocab.h"
#include "records/stage.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/recording_renderer.h"

using namespace testsupport;

namespace {

class Contacts : public ::testing::Test {
 protected:
  void Build(int steps, std::vector<std::string> rows = std::vector<std::string>(20, std::string(20, '.'))) {
    Stage.SetSpeedLevel(steps);
    MapBuilder(rows).BuildForPlay(scene);
  }
  cHero& AddHero() { return world.AddHero(CharaDef().PlayerOperated(), {1, 1}); }
  // Without gravity a step moves a character by exactly its speed.
  void NoGravity() {
    Stage.m_dGravity = 0;
    Stage.m_dGravityPerStep = 0;
  }
  // One logic step of the play step: 0 on, 3 the hero's death.
  int Step() {
    world.events.Clear();
    return scene.LogicStep(0);
  }
  // A block character that passes through the map, its box at (x, y).
  cChara& AddSolid(double x, double y) {
    cChara& c = world.AddChara(CharaDef().BlockChara().Fly(FLYMODE_THROUGH), {0, 0});
    Place(c, x, y);
    c.m_dStopDecel = 0;
    return c;
  }
  // Box at (x, y), the step's start box the same; present.
  static void Place(cCharaBase& c, double x, double y) {
    c.m_rcHit.dLeft = x;
    c.m_rcHit.dTop = y;
    c.ClampX(2);
    c.ClampY(2);
    c.SavePrevHitBox();
    c.m_bPresent = 1;
  }
  // The contact triggers (5, 6, 16, 17) as "<trigger> <id>".
  std::vector<std::string> ContactTriggers() {
    std::vector<std::string> out;
    for (const std::string& t : world.events.Texts(EventKind::Trigger)) {
      const int trigger = std::stoi(t);
      if (trigger == FLOWTRIGGER_HIT_BLOCK_CHARA || trigger == FLOWTRIGGER_ON_BLOCK_CHARA ||
          trigger == FLOWTRIGGER_RIDDEN_BY_HERO || trigger == FLOWTRIGGER_RIDDEN_BY_CHARA)
        out.push_back(t);
    }
    return out;
  }
  bool Logged(const std::string& line) {
    for (const std::string& l : world.events.Texts(EventKind::Log))
      if (l == line) return true;
    return false;
  }
  std::string Lrud(const cCharaBase& c) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += c.LRUD[i] ? "LRUD"[i] : '-';
    return s;
  }

  cSceneStage scene;
  GameWorld world{scene};
  RecordingRenderer renderer;
};

std::string Trig(int trigger, const cCharaBase& c) { return std::to_string(trigger) + " " + std::to_string(c.m_nId); }

// x moved `n` times by `d` as the escape moves it.
double Stepped(double x, double d, int n) {
  for (int i = 0; i < n; ++i) x += d;
  return x;
}

}  // namespace

// The hero is 16 × 24 dots, a block character 32 × 32. In the step the
// platform P moves first by its own speed, then the hero by its speed into
// the box given, then the contacts.
TEST_F(Contacts, TheWalkingPassPushesLandsAndCrushesByTheCase) {
  struct Case {
    const char* what;
    int steps;
    double x, y;     // hero's box when its contacts are resolved
    double vy;       // hero's speed, from its box at the step's start
    double px, py;   // P's box then
    double pvy;      // P's speed
    // expected
    double left, top;
    const char* lrud;
    int riding;
    int end;  // the step's end: 0 on, 3 the hero's death
    bool dHit;
  } cases[] = {
      {"slow landing through the feet", 1, 408, 378, 1, 400, 400, 0, 408, 376, "----", 1, 0, false},
      {"fast landing with the upper half sunk in", 1, 408, 390, 3, 400, 400, 0, 408, 376, "----", 1, 0, true},
      {"the same fall is fast at three steps a frame", 3, 408, 390, 1, 400, 400, 0, 408, 376, "----", 1, 0, true},
      {"too slow at one: a side contact pushes it off", 1, 408, 390, 1, 400, 400, 0, 383.5, 390, "-R--", 0, 0, false},
      {"a platform rising under it sets blocked-down", 1, 408, 378, 0, 400, 400, -2, 408, 376, "---D", 1, 0, false},
      {"pushed from the left, standing still: moved out", 1, 420, 400, 0, 400, 400, 0, 432.5, 400, "L---", 0, 0,
       false},
      {"wholly inside: every probe in it, crushed", 1, 408, 404, 0, 400, 400, 0, 383.5, 404, "-R--", 0, 3, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Build(c.steps);
    NoGravity();
    cHero& hero = AddHero();
    cChara& p = AddSolid(c.px, c.py - c.pvy);
    p.m_dInertiaY = c.pvy;
    Place(hero, c.x, c.y - c.vy);
    hero.m_dVy = c.vy;
    const int end = Step();
    EXPECT_EQ(end, c.end);
    EXPECT_EQ(p.m_rcHit.dTop, c.py);
    EXPECT_EQ(hero.m_rcHit.dLeft, c.left);
    EXPECT_EQ(hero.m_rcHit.dTop, c.top);
    EXPECT_EQ(Lrud(hero), c.lrud);
    EXPECT_EQ(hero.m_bRiding, c.riding);
    EXPECT_EQ(Logged("D Hit"), c.dHit);
    EXPECT_EQ(Logged("Dead 6"), c.end == 3);
    if (c.riding) {
      EXPECT_EQ(hero.m_nCarrierId, p.m_nId);
      EXPECT_EQ(hero.m_rcCarrier.dLeft, p.m_rcHit.dLeft);
      EXPECT_EQ(hero.m_dVy, 0);
      EXPECT_EQ(hero.m_bAirborne, 0);
      EXPECT_EQ(ContactTriggers(),
                (std::vector<std::string>{Trig(FLOWTRIGGER_RIDDEN_BY_HERO, p), Trig(FLOWTRIGGER_RIDDEN_BY_CHARA, p),
                                          Trig(FLOWTRIGGER_HIT_BLOCK_CHARA, hero),
                                          Trig(FLOWTRIGGER_ON_BLOCK_CHARA, hero)}));
    } else {
      EXPECT_EQ(ContactTriggers(), std::vector<std::string>{Trig(FLOWTRIGGER_HIT_BLOCK_CHARA, hero)});
    }
  }
}

TEST_F(Contacts, ClosingFromBothSidesDropsItBelowTheFirstWithoutACrush) {
  for (int steps : {1, 3}) {
    SCOPED_TRACE(steps);
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Build(steps);
    NoGravity();
    cHero& hero = AddHero();
    Place(hero, 408, 420 - 0.5);
    hero.m_dVy = 0.5;
    cChara& left = AddSolid(408 + 4 - 32, 420 + 5 - 31);  // bottom 5 rows into the upper half
    AddSolid(408 + 16 - 4, 420 + 3 - 31);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(hero.m_rcHit.dLeft, 408);
    EXPECT_EQ(hero.m_rcHit.dTop, left.m_rcHit.dBottom + 1);
    EXPECT_EQ(Lrud(hero), "----");
    EXPECT_EQ(hero.m_bJumping, 1);
    EXPECT_EQ(hero.m_bJumpLock, 1);
  }
}

TEST_F(Contacts, AHeadPushFromARisingCeilingIsRefusedWhereItWouldMeetAnotherSolid) {
  for (bool blocked : {false, true}) {
    SCOPED_TRACE(blocked ? "another solid under the pushed copy" : "free below");
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Build(1);
    NoGravity();
    cHero& hero = AddHero();
    Place(hero, 408, 420 + 3);
    hero.m_dVy = -3;
    cChara& ceiling = AddSolid(400, 420 + 3 - 31 + 1);
    ceiling.m_dInertiaY = -1;
    if (blocked) AddSolid(420, 434);
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(ceiling.m_rcHit.dTop, 420 + 3 - 31);
    EXPECT_EQ(hero.m_rcHit.dTop, blocked ? 420 : ceiling.m_rcHit.dBottom + 1);
    EXPECT_EQ(hero.m_dVy, blocked ? -3 : -1);
    EXPECT_EQ(hero.m_bJumpLock, blocked ? 0 : 1);
    EXPECT_EQ(hero.m_rcHit.dLeft, blocked ? 420 - 16 - 0.5 : 408);
  }
}

TEST_F(Contacts, FliersArePushedAlongTheSmallerOverlapOrDieInDeadlyMode) {
  struct Case {
    int flyMode;
    double x, y;
    double left, top;
    const char* lrud;
    bool crushed;  // defeated, or erased when it shows no defeat
  } cases[] = {
      {FLYMODE_STOPPED, 400 - 12, 408, 400 - 16, 408, "-R--", false},
      {FLYMODE_STOPPED, 408, 400 - 12, 408, 400 - 16, "---D", false},
      {FLYMODE_DEADLY_BLOCKS, 400 - 12, 408, 400 - 12, 408, "-R--", true},
      {FLYMODE_THROUGH, 400 - 12, 408, 400 - 12, 408, "----", false},
  };
  for (int steps : {1, 3}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(steps) + " steps, fly mode " + std::to_string(c.flyMode));
      CharaList.clear();
      for (auto& group : scene.m_CharaGroups) group.clear();
      Build(steps);
      AddHero();
      AddSolid(400, 400);
      cChara& flier = world.AddChara(CharaDef().Fly(c.flyMode), {5, 5});
      Place(flier, c.x, c.y);
      const int id = flier.m_nId;
      EXPECT_EQ(Step(), 0);
      const cChara* after = nullptr;
      for (const cChara& k : CharaList)
        if (k.m_nId == id) after = &k;
      EXPECT_EQ(!after || after->m_bDefeated, c.crushed);
      if (!after) continue;
      EXPECT_EQ(after->m_rcHit.dLeft, c.left);
      EXPECT_EQ(after->m_rcHit.dTop, c.top);
      EXPECT_EQ(Lrud(*after), c.lrud);
    }
  }
}

// With walls and ceilings of the map: the flags that the block collisions
// of the same step set decide the crush, and the step's re-check after the
// contacts deals with what the escape left in a wall.
TEST_F(Contacts, TheMapsWallsAndCeilingsDecideTheCrush) {
  struct Case {
    const char* what;
    int steps;
    int wallColumn, wallRow;  // map cells of the wall or ceiling (two rows)
    double x, y, vy;          // hero's box at the step's start and speed
    double px, py, pvx, pvy;  // P's box at the step's start and speeds
    // expected
    double left, top;
    const char* lrud;
    int end;
    const char* dead;
  } cases[] = {
      {"rising under it into a ceiling: crushed", 1, 2, 0, 408, 384, -1, 400, 408, 0, -2, 408, 382, "--UD", 3,
       "Dead 6"},
      {"pushed from the left into a wall it walked into: crushed", 1, 4, 2, 434, 400, 0, 400, 400, 2, 0, 434.5, 400,
       "LR--", 3, "Dead 6"},
      {"pushed 1.5 into a wall standing: out after the escape's fifteen moves", 1, 4, 2, 432, 400, 0, 400, 400, 2, 0,
       Stepped(434.5, -0.1, 15), 400, "L---", 0, ""},
      {"the same at three steps a frame", 3, 4, 2, 432, 400, 0, 400, 400, 2, 0, Stepped(434.5, -0.1, 15), 400, "L---",
       0, ""},
      // The re-check puts it against the wall, between it and P: squeezed,
      // back at its start box.
      {"pushed 3.5 in: still in after fifteen, the re-check squeezes it", 1, 4, 2, 432, 400, 0, 400, 400, 4, 0, 432,
       400, "LR--", 3, "Dead 9"},
      {"the same at three steps a frame", 3, 4, 2, 432, 400, 0, 400, 400, 4, 0, 432, 400, "LR--", 3, "Dead 9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    std::vector<std::string> rows(20, std::string(20, '.'));
    rows[c.wallRow][c.wallColumn] = '#';
    rows[c.wallRow + 1][c.wallColumn] = '#';
    Build(c.steps, rows);
    NoGravity();
    cHero& hero = AddHero();
    cChara& p = AddSolid(c.px, c.py);
    p.m_dInertiaX = c.pvx;
    p.m_dInertiaY = c.pvy;
    Place(hero, c.x, c.y);
    hero.m_dVy = c.vy;
    EXPECT_EQ(Step(), c.end);
    EXPECT_EQ(hero.m_rcHit.dLeft, c.left);
    EXPECT_EQ(hero.m_rcHit.dTop, c.top);
    EXPECT_EQ(Lrud(hero), c.lrud);
    if (*c.dead) EXPECT_TRUE(Logged(c.dead));
    if (c.end == 0) EXPECT_EQ(hero.TouchesBlockCorners(), 0);
  }
}

TEST_F(Contacts, AKnockUpThrowsARiderOff) {
  for (int steps : {1, 3}) {
    SCOPED_TRACE(steps);
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Build(steps);
    NoGravity();
    cHero& hero = AddHero();
    cChara& p = AddSolid(400, 400);
    Place(hero, 408, 376);
    hero.m_bRiding = 1;
    hero.m_nCarrierId = p.m_nId;
    hero.m_rcCarrier = p.m_rcHit;
    hero.m_dKnockY = -2;
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(hero.m_bRiding, 0);
    EXPECT_EQ(hero.m_dVy, -2) << "thrown upward";
    EXPECT_EQ(hero.m_rcHit.dTop, 374);
  }
}

TEST_F(Contacts, TheEscapeFromAWallMovesAtMostFifteenTenthsPerSide) {
  // A wall at world column 13 (dots 416..447); pushed 12.5 dots right into it.
  std::vector<std::string> rows(20, std::string(20, '.'));
  rows[2][3] = '#';
  rows[3][3] = '#';
  Build(1, rows);
  cHero& hero = AddHero();
  Place(hero, 420, 400);
  AddSolid(400, 400);
  EXPECT_EQ(scene.ResolveSolidContacts(hero, CharaList), 0);
  EXPECT_EQ(hero.m_rcHit.dLeft, Stepped(432.5, -0.1, 15));
  EXPECT_EQ(hero.TouchesBlockCorners(), 1) << "still in: the play step's re-check takes it out";
}

TEST_F(Contacts, ARiderIsKnockedOffOrLeavesAtTheEdgeWithAPendingTurn) {
  Build(1);
  cHero& hero = AddHero();
  cChara& p = AddSolid(400, 400);
  cChara& walker = world.AddChara(CharaDef(), {5, 5});
  for (cCharaBase* rider : {static_cast<cCharaBase*>(&hero), static_cast<cCharaBase*>(&walker)}) {
    Place(*rider, 408, 376);
    rider->m_bRiding = 1;
    rider->m_nCarrierId = p.m_nId;
    rider->m_rcCarrier = p.m_rcHit;
  }
  hero.m_dKnockY = -2;
  hero.m_dVy = -2;
  EXPECT_EQ(scene.ResolveSolidContacts(hero, CharaList), 0);
  EXPECT_EQ(hero.m_bRiding, 0);
  EXPECT_EQ(hero.m_dVy, -2) << "thrown upward";

  // The carrier moved 35 dots left, from under the walker's feet.
  p.m_rcHit.dLeft = 400 - 35;
  p.ClampX(2);
  walker.m_rcHit.dLeft = 400;
  walker.ClampX(2);
  EXPECT_EQ(scene.ResolveSolidContacts(walker, CharaList), 0);
  EXPECT_EQ(walker.m_bRiding, 0);
  EXPECT_EQ(walker.m_bTurnPending, 1);
  EXPECT_EQ(walker.m_nCarrierId, p.m_nId);
  // The turn back takes the carrier's motion since, twice when it runs the other way.
  cCommandInstance instance;
  instance.m_dSpeed = 1;
  walker.m_nDirection = 1;
  walker.CheckTurnBack(instance);
  EXPECT_EQ(instance.m_dVx, -1 + -35.0 + -35.0);
  EXPECT_EQ(instance.m_nFacingHint, 1);
  EXPECT_EQ(walker.m_bTurnPending, 0);
}

// Through the play step: a hero standing on a platform that moves right 1
// dot a step rides it, keeping its place on it.
TEST_F(Contacts, ARiderFollowsItsCarrierStepByStep) {
  for (int steps : {1, 3}) {
    SCOPED_TRACE(steps);
    CharaList.clear();
    for (auto& group : scene.m_CharaGroups) group.clear();
    Build(steps);
    cHero& hero = AddHero();
    cChara& p = AddSolid(400, 400);
    p.m_dInertiaX = 1;
    Place(hero, 408, 377);  // its bottom row on the platform's top row
    for (int f = 0; f < 4; ++f) scene.Play();
    EXPECT_EQ(hero.m_bRiding, 1);
    EXPECT_EQ(hero.m_nCarrierId, p.m_nId);
    EXPECT_EQ(p.m_rcHit.dLeft, 400 + 4 * steps);
    EXPECT_EQ(hero.m_rcHit.dTop, 376);
    // A step behind: the platform moved once before the hero landed.
    EXPECT_EQ(hero.m_rcHit.dLeft - p.m_rcHit.dLeft, 7);
  }
}

TEST_F(Contacts, ACarrierThatGoesWhileRiddenLeavesNothingBehind) {
  Build(3);
  cHero& hero = AddHero();
  cChara& p = AddSolid(400, 400);
  p.m_dInertiaX = 1;
  Place(hero, 408, 377);
  scene.Play();
  ASSERT_EQ(hero.m_bRiding, 1);
  p.m_nLife = 1;  // gone in the second step of the next frame
  scene.Play();
  EXPECT_TRUE(CharaList.empty());
  EXPECT_EQ(hero.m_bRiding, 0);
  EXPECT_GT(hero.m_rcHit.dTop, 376) << "falls";
  scene.Play();
}
