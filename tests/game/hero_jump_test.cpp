// The hero's jump: launched from the ground at once, from a carrier only in
// the last logic step of a frame, as high as the key is held (a release cuts
// the rise to 30 %), with a height by run speed; and a computer walker's
// jump beside it. Expected doubles come from an independent program that
// runs the same formulas and step order, and are compared bit for bit.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "actors_rig.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "media/input.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/scripted_input.h"

using namespace testsupport;
using namespace actorstest;

namespace {

// A floor under row 3 of a 12-column map.
const std::vector<std::string> kFloorMap = {"............", "............", "............", "............",
                                            "############"};

cEdChara Jumper(int mode, int height) {
  return CharaDef()
      .PlayerOperated()
      .Flow(FlowDef()
                .Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength())
                .Command(CommandDef(ACTCMDTYPE_JUMP).Param(0, mode).Param(2, height).Def()));
}

struct JumpTrace {
  std::vector<double> tops;  // the hero's y after each step from the key's first frame
  int landing = 0;           // the first step after the launch that ends standing
  double start = 0;
};

// Five frames to settle on the floor, then `frames` frames with button 1
// held for the first `held`.
JumpTrace RunJump(GameWorld& world, cHero& hero, int held, int frames) {
  ScriptedInput keys;
  keys.Idle(5).Hold(0, 1, held).Idle(frames);
  JumpTrace trace;
  for (int f = 0; f < 5 + frames; ++f) {
    keys.Feed();
    hero.ResetStepTriggers();
    world.RunFrame([&](int) {
      StepChara(hero);
      if (f < 5) return;
      trace.tops.push_back(hero.m_rcHit.dTop);
      if (!trace.landing && trace.tops.size() > 1 && !hero.m_bAirborne)
        trace.landing = static_cast<int>(trace.tops.size());
    });
    if (f == 4) trace.start = hero.m_rcHit.dTop;
  }
  return trace;
}

}  // namespace

TEST(HeroJump, RisesAsLongAsTheKeyIsHeldAndAReleaseCutsTheRise) {
  struct Case {
    const char* name;
    int level;
    double gravity;
    int mode;  // parameter 0
    int held;  // frames of button 1
    double launch;
    int duration;  // steps the jump command holds
    int apexStep;  // 1-based step from the key's first frame
    double height;
    int landing;
  };
  const Case cases[] = {
      {"held, S 1", 1, 0.4, 1, 30, -5.158323649259488, 18, 12, 30.699883791113848, 25},
      {"tapped, S 1", 1, 0.4, 1, 1, -5.158323649259488, 18, 4, 6.640814933592992, 10},
      {"tapped, parameter 0 = 0 counts as held", 1, 0.4, 0, 1, -5.158323649259488, 18, 12, 30.699883791113848, 25},
      {"held, S 3", 3, 0.4, 1, 30, -1.6747383689744895, 54, 37, 30.72087520761164, 75},
      {"tapped, S 3", 3, 0.4, 1, 1, -1.6747383689744895, 54, 13, 6.937319102735842, 31},
      {"two frames, S 2, gravity 0.6", 2, 0.6, 1, 2, -3.0949369176456036, 24, 8, 12.373671971757119, 22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world(c.level, c.gravity);
    MapBuilder(kFloorMap).Build();
    FlowRecorder recorder;
    JumpCommand jump(recorder);
    cHero& hero = world.AddHero(Jumper(c.mode, 2), {4, 3});
    EXPECT_EQ(hero.m_vFlows[0].m_vCommands[0].m_nDuration, c.duration);
    const JumpTrace trace = RunJump(world, hero, c.held, 40);
    ASSERT_EQ(jump.launches.size(), 1u);
    EXPECT_EQ(jump.launches[0], c.launch);
    int apex = 0;
    for (int i = 1; i < static_cast<int>(trace.tops.size()); ++i)
      if (trace.tops[i] < trace.tops[apex]) apex = i;
    EXPECT_EQ(apex + 1, c.apexStep);
    EXPECT_EQ(trace.start - trace.tops[apex], c.height);
    EXPECT_EQ(trace.landing, c.landing);
    EXPECT_EQ(hero.m_nJumpHold, 0);
    EXPECT_EQ(hero.m_bJumpReady, 1);
  }
}

namespace {

// A hero standing (or riding) with a jump command instance of its own.
struct JumpBench {
  GameWorld world{3};
  cEdCommand command = CommandDef(ACTCMDTYPE_JUMP).Param(0, 1).Param(2, 4).Def();
  cEdFlow flow = FlowDef().Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength());
  cFlowInstance flowInstance;
  cCommandInstance instance;
  cHero* hero = nullptr;

  JumpBench() {
    MapBuilder(kFloorMap).Build();
    hero = &world.AddHero(CharaDef().PlayerOperated(), {4, 3});
    hero->m_bAirborne = 0;
    instance.m_pCommand = &command;
    instance.m_nDuration = 12;
    instance.m_dSpeed = -2.5;
    flowInstance.m_pFlow = &flow;
    flowInstance.m_vKeyConds.push_back(&flow.m_vKeyConditions[0]);
    world.Scene().m_lpCurFlow = &flowInstance;
  }
  void Keys(int button1) {
    Input.At(0).m_wButton = static_cast<uint16_t>(button1);
    Input.At(0).UpdateRunHistories();
  }
  // One call as a step of the command: the step's flag cleared first.
  void Step(int stepInFrame) {
    world.Scene().m_nStepInFrame = stepInFrame;
    hero->m_bJumpThisStep = 0;
    hero->Jump(instance);
  }
};

}  // namespace

TEST(HeroJump, FromACarrierOnlyTheLastStepOfTheFrameLaunchesAndAFiftiethHigher) {
  JumpBench b;
  b.Keys(1);
  b.hero->m_bRiding = 1;
  b.hero->m_dVy = 0.25;
  b.Step(1);
  b.Step(2);
  EXPECT_EQ(b.hero->m_dVy, 0.25) << "no launch before the last step";
  EXPECT_EQ(b.instance.m_bBegun, 0);
  EXPECT_EQ(b.hero->m_bRiding, 1);
  EXPECT_EQ(b.hero->m_nJumpHold, 2);
  b.Step(3);
  EXPECT_EQ(b.hero->m_dVy, -2.549999952316284);  // -2.5 × 1.0199999809265137
  EXPECT_EQ(b.hero->m_bRiding, 0);
  EXPECT_EQ(b.instance.m_bBegun, 1);
  EXPECT_EQ(b.hero->m_bJumped, 1);

  JumpBench ground;
  ground.Keys(1);
  ground.Step(2);
  EXPECT_EQ(ground.hero->m_dVy, -2.5) << "from the ground at once";
}

TEST(HeroJump, WhatStopsALaunch) {
  struct Case {
    const char* name;
    void (*set)(cHero&, cCommandInstance&);
  };
  const Case cases[] = {
      {"flying", [](cHero& h, cCommandInstance&) { h.SetFlyMode(FLYMODE_STOPPED, 0); }},
      {"airborne", [](cHero& h, cCommandInstance&) { h.m_bAirborne = 1; }},
      {"held longer than a frame", [](cHero& h, cCommandInstance&) { h.m_nJumpHold = 3; }},
      {"locked", [](cHero& h, cCommandInstance&) { h.m_bJumpLock = 1; }},
      {"not ready", [](cHero& h, cCommandInstance&) { h.m_bJumpReady = 0; }},
      {"knocked back", [](cHero& h, cCommandInstance&) { h.m_bKnockback = 1; }},
      {"already launched", [](cHero& h, cCommandInstance& i) { i.m_bBegun = 1; }},
      {"mid-jump", [](cHero& h, cCommandInstance&) { h.m_bJumping = 1; }},
      {"on a block that forbids jumping", [](cHero& h, cCommandInstance&) { h.m_bJumpForced = 1; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JumpBench b;
    b.Keys(1);
    c.set(*b.hero, b.instance);
    b.hero->m_dVy = 0.5;
    b.Step(1);
    EXPECT_EQ(b.hero->m_dVy, 0.5);
    EXPECT_TRUE(b.world.events.Texts(EventKind::Sound).empty());
  }
  JumpBench twice;
  twice.Keys(1);
  twice.Step(1);
  twice.hero->m_dVy = 0.5;
  twice.instance.m_bBegun = 0;
  twice.hero->Jump(twice.instance);  // a second call in the same step does nothing
  EXPECT_EQ(twice.hero->m_dVy, 0.5);
  EXPECT_EQ(twice.hero->m_nJumpHold, 1);
}

TEST(HeroJump, HeldToTheLimitTheJumpIsAtFullHeightAndALandingWithTheKeyUpEndsTheCommand) {
  JumpBench b;
  b.Keys(1);
  b.instance.m_nDuration = 3;
  b.Step(1);
  b.hero->m_bAirborne = 1;
  b.Step(2);
  EXPECT_EQ(b.hero->m_bJumping, 0);
  b.Step(3);
  EXPECT_EQ(b.hero->m_bJumping, 1) << "held for the whole duration while rising";
  EXPECT_EQ(b.hero->m_bJumpReady, 0);

  // Back on the floor with the key up: the command ends.
  b.Keys(0);
  b.hero->m_pFootCell = CellAt(14, 14);
  b.hero->m_bAirborne = 0;
  b.hero->m_dVy = 0;
  b.instance.m_nTimer = 9;
  b.Step(1);
  EXPECT_EQ(b.instance.m_nTimer, 0);
  EXPECT_EQ(b.hero->m_bJumpReady, 1);

  // Without key conditions a landing re-arms the command instead.
  b.flowInstance.m_vKeyConds.clear();
  b.instance.m_nTimer = 9;
  b.instance.m_bBegun = 1;
  b.hero->m_bKnockback = 1;
  b.Step(1);
  EXPECT_EQ(b.instance.m_nTimer, 9);
  EXPECT_EQ(b.instance.m_bBegun, 0);
  EXPECT_EQ(b.hero->m_bKnockback, 0);
}

TEST(HeroJump, RunSpeedChoosesTheHeightBetweenBAndA) {
  // Parameter 1 = 60 and 3 = 20 at S = 1: A = 6, B = 2 dots per step;
  // heights 8 at A and above, 2 at B and below, truncated in between.
  struct Case {
    double inertia;
    double speed;  // JumpSpeedForHeightDots (h × 16) for the hero, gravity 0.4
  };
  const Case cases[] = {
      {6.5, -10.114839448241915},  // h 8
      {-6.0, -10.114839448241915},  // h 8: the speed's size counts
      {4.5, -8.786525944317962},    // h 2 + 6 × 0.75 = 6.5, truncated to 6
      {2.5, -7.211047825923926},    // h 2 + 6 × 2.5 / 6 = 4.5, truncated to 4
      {2.0, -5.158323649259488},    // h 2
      {0.0, -5.158323649259488},    // h 2
      // Neither at least A nor at most B: the checked conversion makes it 0.
      {std::nan(""), -0.392},
  };
  for (const Case& c : cases) {
    GameWorld world(1, 0.4);
    MapBuilder(kFloorMap).Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {4, 3});
    cEdCommand command = CommandDef(ACTCMDTYPE_JUMP).Param(0, 2).Param(1, 60).Param(2, 8).Param(3, 20).Param(4, 2);
    cCommandInstance instance;
    instance.m_pCommand = &command;
    hero.m_dInertiaX = c.inertia;
    hero.Jump(instance);
    EXPECT_EQ(instance.m_dSpeed, c.speed) << c.inertia;
  }
  // The largest height: h × 16 dots without overflow.
  GameWorld world(1, 0.4);
  MapBuilder(kFloorMap).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {4, 3});
  cEdCommand command = CommandDef(ACTCMDTYPE_JUMP).Param(0, 2).Param(1, 60).Param(2, INT_MAX).Param(3, 20);
  cCommandInstance instance;
  instance.m_pCommand = &command;
  hero.m_dInertiaX = 7;
  hero.Jump(instance);
  EXPECT_EQ(instance.m_dSpeed, -162478.73049193545);
}

TEST(HeroJump, AComputerWalkerLaunchesAtTheFullSpeedTheHeroTakesLessOf) {
  // Height 3 half blocks; the hero's launch is the walker's × (0.99 − 0.4 × 0.025).
  struct Case {
    int level;
    double hero, walker;
  };
  const Case cases[] = {{1, -6.272, -6.4}, {4, -1.530508891790198, -1.5617437671328551}};
  for (const Case& c : cases) {
    GameWorld world(c.level, 0.4);
    MapBuilder(kFloorMap).Build();
    FlowRecorder recorder;
    JumpCommand jump(recorder);
    const cEdFlow jumpFlow = FlowDef().Command(CommandDef(ACTCMDTYPE_JUMP).Param(2, 3).Def());
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Flow(jumpFlow), {2, 3});
    cChara& walker = world.AddChara(CharaDef().Flow(jumpFlow), {8, 3});
    for (int f = 0; f < 8; ++f) {
      hero.ResetStepTriggers();
      walker.ResetStepTriggers();
      world.RunFrame([&](int) {
        StepChara(hero);
        StepChara(walker);
      });
    }
    EXPECT_EQ(FirstLaunch(jump, hero.m_nId), c.hero) << c.level;
    EXPECT_EQ(FirstLaunch(jump, walker.m_nId), c.walker) << c.level;
  }
}

TEST(CharaJump, RefusedWhileAirborneLockedKnockedBackOrBlockedWithThatFlag) {
  struct Case {
    const char* name;
    int airborne, lock, knockback, blocked;
    int result;
  };
  const Case cases[] = {{"free", 0, 0, 0, 0, 1},       {"airborne", 1, 0, 0, 0, 1},
                        {"locked", 0, 1, 0, 0, 1},     {"knocked back", 0, 0, 1, 0, 1},
                        {"blocked 5 steps", 0, 0, 0, 5, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world(1, 0.4);
    MapBuilder(kFloorMap).Build();
    cChara& walker = world.AddChara(CharaDef(), {4, 3});
    cEdCommand command = CommandDef(ACTCMDTYPE_JUMP).Param(2, 3);
    command.m_nSe = 4;
    cCommandInstance instance;
    instance.m_pCommand = &command;
    instance.m_dSpeed = -3;
    walker.m_bAirborne = c.airborne;
    walker.m_bJumpLock = c.lock;
    walker.m_bKnockback = c.knockback;
    walker.m_bJumpBlocked = c.blocked;
    walker.m_bRiding = 1;
    walker.m_dVy = 0.5;
    EXPECT_EQ(walker.Jump(instance), c.result);
    const bool free = !c.airborne && !c.lock && !c.knockback && !c.blocked;
    EXPECT_EQ(walker.m_dVy, free ? -3.0 : 0.5);
    EXPECT_EQ(walker.m_bJumped + walker.m_bJumping, free ? 2 : 0);
    EXPECT_EQ(walker.m_bRiding, free ? 0 : 1);
    EXPECT_EQ(world.events.Texts(EventKind::Sound), free ? std::vector<std::string>{"20"} : std::vector<std::string>{});
  }
}
