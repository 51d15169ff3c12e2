// Finding characters and the velocities of moves and shot paths: the
// FindChara family's modes and filters, VelocityToward with its scroll
// corrections and the intercept, the one-axis moves, homing, the wave pair
// and the distance window. Expected doubles were worked out apart from this
// code and are compared bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "records/stage.h"
#include "records/system.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

class Targeting : public ::testing::Test {
 protected:
  void SetUp() override {
    MapBuilder(std::vector<std::string>(15, std::string(30, '.'))).Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
  }
  // A present character on cell (cx, cy); its centre is (cx × 32 + 16, cy ×
  // 32 + 16) on the view, which shows the map's first 20 columns.
  cChara& At(int cx, int cy, const cEdChara& def = CharaDef()) {
    cChara& c = world.AddChara(def, {cx, cy});
    world.UpdatePresence();
    return c;
  }
  static cList<cCharaBase*> List(std::initializer_list<cCharaBase*> items) { return cList<cCharaBase*>(items); }
  GameWorld world;
  cGameObject seeker;
};

int Centre(int cell) { return cell * 32 + 16; }

}  // namespace

TEST_F(Targeting, OnEqualDistancesTheFirstInTheListWins) {
  cChara& left = At(4, 5);
  cChara& right = At(6, 5);
  cChara& up = At(5, 4);
  std::vector<cCharaBase*> order{&left, &right, &up};
  std::sort(order.begin(), order.end());
  do {
    const cList<cCharaBase*> list(order.begin(), order.end());
    EXPECT_EQ(seeker.FindChara(Centre(5), Centre(5), list, FINDMODE_ALL, 0, 0, 0, 0, 0, 0, 0), order[0]);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(Targeting, TheModesKeepTheViewApart) {
  cChara& nearOff = At(21, 5);  // off screen, 32 away from (20, 5)
  cChara& farOn = At(16, 5);    // on screen, 128 away
  ASSERT_EQ(nearOff.m_bOnScreen, 0);
  ASSERT_EQ(farOn.m_bOnScreen, 1);
  const int x = Centre(20), y = Centre(5);
  const cList<cCharaBase*> both = List({&nearOff, &farOn});
  const cList<cCharaBase*> offOnly = List({&nearOff});
  struct Case {
    const cList<cCharaBase*>* list;
    int mode;
    cCharaBase* found;
  };
  const Case cases[] = {
      {&both, FINDMODE_ON_SCREEN_FIRST, &farOn}, {&offOnly, FINDMODE_ON_SCREEN_FIRST, &nearOff},
      {&both, FINDMODE_ALL, &nearOff},           {&both, FINDMODE_ON_SCREEN, &farOn},
      {&offOnly, FINDMODE_ON_SCREEN, nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(seeker.FindChara(x, y, *c.list, c.mode, 0, 0, 0, 0, 0, 0, 0), c.found);
}

TEST_F(Targeting, EachFilterLeavesItsCharactersOut) {
  cChara& plain = At(9, 9);  // farthest: found when the near one is filtered out
  struct Case {
    const char* what;
    cEdChara def;
    int present, defeated;
    int bById, id, bExclude, bSkipInv1, bSkipInv2, bSkipBlock;
    bool nearFound;
  };
  const Case cases[] = {
      {"plain", CharaDef(), 1, 0, 0, 0, 0, 0, 0, 0, true},
      {"absent", CharaDef(), 0, 0, 0, 0, 0, 0, 0, 0, false},
      {"defeated", CharaDef(), 1, 1, 0, 0, 0, 0, 0, 0, false},
      {"other id", CharaDef().CharaId(4), 1, 0, 1, 5, 0, 0, 0, 0, false},
      {"same id", CharaDef().CharaId(5), 1, 0, 1, 5, 0, 0, 0, 0, true},
      {"excluded", CharaDef(), 1, 0, 0, 0, 1, 0, 0, 0, false},
      {"inv 1", CharaDef().Invincible(1), 1, 0, 0, 0, 0, 1, 0, 0, false},
      {"inv 1 kept", CharaDef().Invincible(1), 1, 0, 0, 0, 0, 0, 1, 0, true},
      {"inv 2", CharaDef().Invincible(2), 1, 0, 0, 0, 0, 0, 1, 0, false},
      {"block", CharaDef().BlockChara(), 1, 0, 0, 0, 0, 0, 0, 1, false},
  };
  for (const Case& c : cases) {
    cChara& near = At(1, 1, c.def);
    near.m_bPresent = c.present;
    near.m_bDefeated = c.defeated;
    const cList<cCharaBase*> list = List({&plain, &near});
    cCharaBase* found =
        seeker.FindChara(Centre(0), Centre(0), list, FINDMODE_ALL, c.bById, c.id, c.bExclude, c.bSkipInv1,
                         c.bSkipInv2, c.bSkipBlock, near.m_nId);
    cCharaBase* expected = c.nearFound ? &near : (c.bById ? nullptr : &plain);
    EXPECT_EQ(found, expected) << c.what;
    // The first in list order: presence is not asked for, defeat is.
    const cList<cCharaBase*> nearFirst = List({&near, &plain});
    cCharaBase* first = seeker.FindFirstChara(nearFirst, c.bById, c.id, c.bExclude, c.bSkipInv1, c.bSkipInv2,
                                              c.bSkipBlock, near.m_nId);
    const bool nearFirstFound = c.nearFound || std::string(c.what) == "absent";
    EXPECT_EQ(first, nearFirstFound ? &near : (c.bById ? nullptr : &plain)) << c.what;
  }
}

TEST_F(Targeting, TheNearestAimableHidesInvincibilityTwoAndFollowsTheStagesViewRule) {
  StageSettings().AimOnScreenOnly(0);
  cChara& hidden = At(5, 5, CharaDef().Invincible(2));
  cChara& shielded = At(6, 5, CharaDef().Invincible(1));
  cChara& off = At(24, 5);
  const cList<cCharaBase*> list = List({&hidden, &shielded, &off});
  EXPECT_EQ(seeker.FindNearestCharaTo(Centre(5), Centre(5), list), &shielded);
  const cList<cCharaBase*> offOnly = List({&hidden, &off});
  EXPECT_EQ(seeker.FindNearestCharaTo(Centre(5), Centre(5), offOnly), &off);
  StageSettings().AimOnScreenOnly(1);
  EXPECT_EQ(seeker.FindNearestCharaTo(Centre(5), Centre(5), offOnly), nullptr);

  cChara& me = At(23, 5);
  EXPECT_EQ(me.FindNearestChara(List({&shielded, &off})), &shielded) << "on screen first";
}

namespace {

struct Velocity {
  double vx = 99, vy = 99;
  int hint = 7;
  int arrived = -1;
};

}  // namespace

TEST_F(Targeting, VelocityTowardAPointWithoutScrolling) {
  struct Case {
    double fromX, fromY, toX, toY, speed;
    int bSigned, bStop;
    double vx, vy;
    int hint, arrived;
  };
  const Case cases[] = {
      {0, 0, 30, 40, 5, 0, 0, 3.0, 4.0, 2, 0},
      {0, 0, -30, -40, 5, 1, 0, -3.0, -4.0, 1, 0},
      {5, 5, 5, 5, 2, 0, 1, 0, 0, 0, 1},   // no distance: no speed, arrived
      {5, 5, 5, 5, 2, 0, 0, 0, 0, 0, 0},   // arrival only counts when asked for
      {0, 0, 2, -2, 3, 0, 1, 2.1213203435596424, -2.1213203435596424, 2, 1},
      {0, 0, 3, 0, 3, 0, 1, 3.0, 0, 2, 0},  // |dx| must be below the speed
      // Retreat: a negative unsigned speed moves diagonally away at |speed|
      // × 0.7071067811865476 (not 1 / √2, one ulp lower); a tie moves right
      // and down.
      {10, 10, 10, 20, -2, 0, 1, 1.4142135623730951, -1.4142135623730951, 2, 0},
      {10, 10, 0, 10, -2, 0, 1, 1.4142135623730951, 1.4142135623730951, 2, 0},
      {10, 10, 30, 0, -1, 0, 0, -0.7071067811865476, 0.7071067811865476, 1, 0},
  };
  for (const Case& c : cases) {
    Velocity v;
    v.arrived = seeker.VelocityToward(v.vx, v.vy, v.hint, nullptr, c.fromX, c.fromY, c.toX, c.toY, c.speed, 0,
                                      c.bSigned, c.bStop);
    EXPECT_EQ(v.vx, c.vx) << c.toX << " " << c.toY << " " << c.speed;
    EXPECT_EQ(v.vy, c.vy) << c.toX << " " << c.toY << " " << c.speed;
    EXPECT_EQ(v.hint, c.hint) << c.toX << " " << c.toY << " " << c.speed;
    EXPECT_EQ(v.arrived, c.arrived) << c.toX << " " << c.toY << " " << c.speed;
  }
}

TEST_F(Targeting, TheAutoScrollIsAddedOrTakenOffBySyncAndTheProjectOption) {
  cGameObject synced, plain;
  synced.m_bScrollSync = 1;
  struct Case {
    int option;         // the auto-scroll is added inside the moves
    int atLimit;        // the horizontal axis sits at a limit
    int ownSync;
    cGameObject* target;
    double speed;
    double vx, vy;
  };
  // Toward (30, 40) at 5 is (3, 4); the view scrolls at (0.5, −0.25).
  const Case cases[] = {
      {1, 0, 0, nullptr, 5, 3.5, 3.75},
      {1, 1, 0, &plain, 5, 3.0, 3.75},        // an axis at its limit does not scroll
      {0, 0, 0, nullptr, 5, 3.0, 4.0},        // no target object: as computed
      {0, 0, 1, &plain, 5, 2.5, 4.25},        // toward a target that stays put
      {0, 0, 0, &plain, 5, 2.5, 4.25},
      {0, 0, 1, &synced, 5, 3.0, 4.0},        // both move with the view
      // Retreat: taken off when exactly one of them moves with the view.
      {0, 0, 1, &plain, -1, -1.2071067811865475, -0.4571067811865476},
      {0, 0, 1, &synced, -1, -0.7071067811865476, -0.7071067811865476},
      {0, 0, 0, &plain, -1, -0.7071067811865476, -0.7071067811865476},
  };
  for (const Case& c : cases) {
    SystemData.m_bCompat214 = c.option;
    world.Scene().m_ScrollX.m_dAutoSpeed = 0.5;
    world.Scene().m_ScrollY.m_dAutoSpeed = -0.25;
    world.Scene().m_ScrollX.m_bAtLimit = c.atLimit;
    Velocity v;
    seeker.VelocityToward(v.vx, v.vy, v.hint, c.target, 0, 0, 30, 40, c.speed, c.ownSync, 0, 0);
    EXPECT_EQ(v.vx, c.vx) << c.option << c.atLimit << c.ownSync << " " << c.speed;
    EXPECT_EQ(v.vy, c.vy) << c.option << c.atLimit << c.ownSync << " " << c.speed;
  }
}

TEST_F(Targeting, ATargetMovingWithTheViewIsIntercepted) {
  cGameObject synced;
  synced.m_bScrollSync = 1;
  struct Case {
    double toX, toY, sx, sy, speed;
    double vx, vy;
    int hint, result;
  };
  const Case cases[] = {
      // Dominant x: the mover meets the target at (40, 35.337...) at speed 5.
      {40, 30, 0, 0.5, 5, 3.7471794542006758, 3.3103845906505067, 2, 0},
      // A target that outruns the mover across: the direct velocity stays.
      {100, 0, 0, 3, 1, 1, 0, 2, 0},
      // No distance on the dominant axis: the direct velocity, the hint kept.
      {0, 0, 0.5, 0, 2, 0, 0, 7, 0},
      // The mover is exactly as fast as the view along the way: no meeting
      // time; the dominant part replaced, the hint kept.
      {100, 0, 2, 0, 2, 2, 0, 7, 0},
  };
  SystemData.m_bCompat214 = 0;
  for (const Case& c : cases) {
    world.Scene().m_ScrollX.m_dAutoSpeed = c.sx;
    world.Scene().m_ScrollY.m_dAutoSpeed = c.sy;
    Velocity v;
    v.arrived = seeker.VelocityToward(v.vx, v.vy, v.hint, &synced, 0, 0, c.toX, c.toY, c.speed, 0, 0, 1);
    EXPECT_EQ(v.vx, c.vx) << c.toX << " " << c.toY;
    EXPECT_EQ(v.vy, c.vy) << c.toX << " " << c.toY;
    EXPECT_EQ(v.hint, c.hint) << c.toX << " " << c.toY;
    EXPECT_EQ(v.arrived, c.result) << c.toX << " " << c.toY;
  }
}

TEST_F(Targeting, OneAxisVelocities) {
  cGameObject synced;
  synced.m_bScrollSync = 1;
  world.Scene().m_ScrollX.m_dAutoSpeed = 0.5;
  world.Scene().m_ScrollY.m_dAutoSpeed = 0.25;
  struct Case {
    int option, ownSync;
    cGameObject* target;
    double from, to, speed;
    double v;
    int hint, arrived;
  };
  const Case cases[] = {
      {0, 0, nullptr, 10, 10, 2, -2, 1, 1},      // a tie goes left
      {0, 0, nullptr, 10, 20, 2, 2, 2, 0},
      {0, 0, nullptr, 10, 11.5, 2, 2, 2, 1},
      {1, 0, &synced, 10, 20, 2, 2.5, 2, 0},     // added only for an unsynced mover after a synced target
      {1, 1, &synced, 10, 20, 2, 2, 2, 0},
      {0, 0, &synced, 10, 20, 2, 2, 2, 0},
  };
  for (const Case& c : cases) {
    SystemData.m_bCompat214 = c.option;
    Velocity v;
    v.arrived = seeker.VelocityTowardX(v.vx, v.vy, v.hint, c.target, c.from, c.to, c.speed, c.ownSync, 1);
    EXPECT_EQ(v.vx, c.v) << c.from << " " << c.to;
    EXPECT_EQ(v.vy, 0);
    EXPECT_EQ(v.hint, c.hint);
    EXPECT_EQ(v.arrived, c.arrived) << c.from << " " << c.to;
    Velocity w;
    w.arrived = seeker.VelocityTowardY(w.vx, w.vy, w.hint, c.target, c.from, c.to, c.speed, c.ownSync, 1);
    const double expectY = c.v == 2.5 ? 2.25 : c.v;
    EXPECT_EQ(w.vy, expectY) << c.from << " " << c.to;
    EXPECT_EQ(w.vx, 0);
    EXPECT_EQ(w.hint, 0);
    EXPECT_EQ(w.arrived, c.arrived);
  }
}

TEST_F(Targeting, HomingSnapsOntoThePointItReaches) {
  world.Scene().m_ScrollX.m_dPos = world.Scene().m_ScrollY.m_dPos = 0;
  cChara& c = At(5, 5);  // centre (496, 496)
  cCommandInstance move;
  move.m_dSpeed = 3;
  EXPECT_EQ(c.HomeToward(move, nullptr, 498, 497, 0, 1), 1);
  EXPECT_EQ(move.m_dVx, 0);
  EXPECT_EQ(move.m_dVy, 0);
  EXPECT_EQ(c.m_rcHit.dLeft, 488.5 + 2);
  EXPECT_EQ(c.m_rcHit.dTop, 488 + 1);

  c.UpdateScreenRect();
  move.m_dSpeed = 3;
  EXPECT_EQ(c.HomeToward(move, nullptr, 598, 497, 0, 1), 0);
  EXPECT_EQ(move.m_dVx, 3);
  EXPECT_EQ(move.m_nFacingHint, 2);
  EXPECT_EQ(c.HomeTowardX(move, nullptr, 497, 0, 1), 1);
  EXPECT_EQ(c.m_rcHit.dLeft, 488.5 + 1);
  c.UpdateScreenRect();
  EXPECT_EQ(c.HomeTowardY(move, nullptr, 400, 0, 1), 0);
  EXPECT_EQ(move.m_dVy, -3);
}

TEST_F(Targeting, TheMoveTargetPointTakesTheOffsetOnTheAxesTheMoveUses) {
  world.Scene().m_ScrollX.m_dPos = world.Scene().m_ScrollY.m_dPos = 0;
  cChara& c = At(5, 5);  // centre (496, 496)
  cEdCommand command;
  CreateEdMove(command.m_spMove);
  cCommandInstance move;
  move.m_pCommand = &command;
  move.m_nTargetX = 10;
  move.m_nTargetY = -20;
  struct Case {
    int noMoveX, noMoveY;  // vertical-only, horizontal-only
    double tx, ty;
  };
  const Case cases[] = {{0, 0, 506, 476}, {0, 1, 506, 496}, {1, 1, 506, 496}, {1, 0, 496, 476}};
  for (const Case& k : cases) {
    command.m_spMove->m_bNoMoveX = static_cast<int8_t>(k.noMoveX);
    command.m_spMove->m_bNoMoveY = static_cast<int8_t>(k.noMoveY);
    double tx = 0, ty = 0;
    c.OffsetTarget(tx, ty, move);
    EXPECT_EQ(tx, k.tx) << k.noMoveX << k.noMoveY;
    EXPECT_EQ(ty, k.ty) << k.noMoveX << k.noMoveY;
  }
  move.m_pCommand = nullptr;  // a command without a move record uses both axes
  double tx = 0, ty = 0;
  c.OffsetTarget(tx, ty, move);
  EXPECT_EQ(tx, 506);
  EXPECT_EQ(ty, 476);
}

TEST_F(Targeting, TheWavePairAndItsPhaseAcross360TimesS) {
  struct Case {
    int level;
    double amplitude, rate, phase, step, offset;
    double v, a, phaseAfter;
  };
  const Case cases[] = {
      {1, 10, 2, 0, 1, 0, 0.3490658503988659, -0.0, 1},
      {3, 16, 4, 1078, 3, 0, 0.3719337076771847, 0.00040312662916121034, 1},  // wraps at 1080
      {3, 16, 4, 1077, 3, 0, 0.3714299131000347, 0.0006044170537345361, 0},
      {2, 8, 3, 90, 2, 15, -0.20943951023931953, -6.714877465913728e-19, 92},
      {10, 32, 1, 3599.5, 0.5, 0, 0.055850514797512164, 8.506522015053062e-08, 0},
  };
  for (const Case& c : cases) {
    Stage.SetSpeedLevel(c.level);
    double phase = c.phase;
    EXPECT_EQ(cGameObject::WaveVelocity(c.amplitude, c.rate, phase, c.step, c.offset), c.v) << c.phase;
    EXPECT_EQ(phase, c.phaseAfter) << c.phase;
    phase = c.phase;
    EXPECT_EQ(cGameObject::WaveAcceleration(c.amplitude, c.rate, phase, c.step, c.offset), c.a) << c.phase;
    EXPECT_EQ(phase, c.phaseAfter) << c.phase;
  }
  Stage.SetSpeedLevel(4);
  EXPECT_EQ(cGameObject::SpeedPerStep(120), 0.5);
}

TEST_F(Targeting, TheDistanceWindowOnOneAxis) {
  // This object's rectangle starts at 100 and is 32 wide: centre 116, half 16.
  cGameObject other;
  other.m_rcHit.dTop = 200;
  other.m_rcHit.dBottom = 223;
  other.m_nGfxHeight = 30;
  struct Case {
    int otherStart, otherEnd, inset, back, front, centred;
    int inside;
  };
  const Case cases[] = {
      {120, 140, 0, 0, 0, 1, 1},  {133, 150, 0, 0, 0, 1, 0},  // [100, 132]
      {117, 130, 0, 10, 0, 0, 0}, {110, 120, 0, 10, 0, 0, 1},  // [90, 116]
      {140, 160, 0, 0, 20, 0, 1}, {100, 115, 0, 0, 20, 0, 0},  // [116, 152]
      {100, 120, 0, 0, 0, 0, 1},  {117, 120, 0, 0, 0, 0, 0},   // [116, 116]
      {80, 104, 5, 0, 0, 1, 0},   {80, 105, 5, 0, 0, 1, 1},    // the inset on both ends
      {128, 150, 5, 0, 0, 1, 0},  {127, 150, 5, 0, 0, 1, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(cGameObject::CheckAxisWindow(100, 32, c.otherStart, c.otherEnd, c.inset, c.back, c.front, c.centred,
                                           0, other),
              c.inside)
        << c.otherStart << ".." << c.otherEnd << " back " << c.back << " front " << c.front;
}

TEST_F(Targeting, VerticallyTheInsetIsLeftOutAtTheFarEdgeOfATallHitBoxUnlessTheProjectSaysSo) {
  cGameObject other;
  other.m_rcHit.dTop = 200;
  other.m_rcHit.dBottom = 223;  // 23 + inset 5 + 1 = 29
  struct Case {
    int option, vertical, gfxHeight;
    int inside;
  };
  const Case cases[] = {{0, 1, 29, 1}, {0, 1, 30, 0}, {0, 0, 29, 0}, {1, 1, 29, 0}};
  for (const Case& c : cases) {
    SystemData.m_bCompat733 = c.option;
    other.m_nGfxHeight = c.gfxHeight;
    EXPECT_EQ(cGameObject::CheckAxisWindow(100, 32, 80, 103, 5, 0, 0, 1, c.vertical, other), c.inside)
        << c.option << c.vertical << " " << c.gfxHeight;
  }
}
