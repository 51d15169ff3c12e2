// A scripted run of 600 frames (the hero walks, taps and holds its jump
// against a computer walker that paces, jumps and hurts by touch) gives one
// trace of positions and hit points, pinned in tests/fixtures: the same in
// every build, bit for bit. UPDATE_TRACE=1 writes the fixture anew after an
// intended change.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "actors_rig.h"
#include "game/characters.h"
#include "media/input.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/scripted_input.h"
#include "support/test_support.h"
#include "support/pinned_text.h"

using namespace testsupport;
using namespace actorstest;

namespace {

// A walk: the move command's speed along its direction code (2 left, 3 right).
void Walk(cCharaBase& c, cCommandInstance& i) {
  c.m_dVx += i.m_nDirCode == 2 ? -i.m_dSpeed : i.m_dSpeed;
  if (i.m_nDirCode == 2 || i.m_nDirCode == 3) c.m_nDirection = i.m_nDirCode == 3;
  c.m_bMoved = 1;
}

cEdChara HeroDef() {
  CharaDef def = CharaDef().PlayerOperated().Hp(1000).Group(0).Impact(2);
  def.Def().m_nPower = 1;
  def.Flow(FlowDef()
               .Continuous()
               .Key(KeyDef().Press(KEYSLOT_RIGHT).AnyLength())
               .Command(CommandDef(ACTCMDTYPE_MOVE_STRAIGHT).Speed(20, 0).DirCode(3).UseTime(1).Def()));
  def.Flow(FlowDef()
               .Continuous()
               .Key(KeyDef().Press(KEYSLOT_LEFT).AnyLength())
               .Command(CommandDef(ACTCMDTYPE_MOVE_STRAIGHT).Speed(15, 0).DirCode(2).UseTime(1).Def()));
  def.Flow(FlowDef()
               .Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength())
               .Command(CommandDef(ACTCMDTYPE_JUMP).Param(0, 1).Param(2, 3).Def()));
  return def;
}

cEdChara WalkerDef() {
  CharaDef def = CharaDef().Hp(1000).Group(1).Impact(4);
  def.Def().m_nPower = 3;
  def.Def().m_nActivityRange = 3;
  def.Flow(FlowDef()
               .Command(CommandDef(ACTCMDTYPE_MOVE_STRAIGHT).Speed(8, 0).DirCode(2).UseTime(20).Def())
               .Command(CommandDef(ACTCMDTYPE_JUMP).Param(2, 2).Def())
               .Command(CommandDef(ACTCMDTYPE_MOVE_STRAIGHT).Speed(12, 0).DirCode(3).UseTime(15).Def())
               .Command(CommandDef(ACTCMDTYPE_WAIT).UseTime(5).Def()));
  return def;
}

// Touching characters of the two groups hurt each other, each then
// invincible to the other for a while.
void Touch(cCharaBase& p, cCharaBase& r) {
  if (!p.m_Contact.rc.Overlaps(r.m_Contact.rc)) return;
  p.FireTrigger(FLOWTRIGGER_HIT_CHARA);
  r.FireTrigger(FLOWTRIGGER_HIT_CHARA);
  const int pHit = !p.IsInvincibleTo(r.m_nId);
  const int rHit = !r.IsInvincibleTo(p.m_nId);
  if (pHit) p.TakeBodyHit(r);
  if (rHit) r.TakeBodyHit(p);
  if (pHit) p.StartInvincibilityFrom(r.m_nId);
  if (rHit) r.StartInvincibilityFrom(p.m_nId);
}

std::string Hex(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%a", v);
  return text;
}

std::string Trace() {
  GameWorld world(2, 0.5);
  MapBuilder map({"........................................", "........................................",
                  "........................................", "........................................",
                  "........................................", "........................................",
                  "........................................", "........................................",
                  "########################################"});
  map.Build();
  FlowRecorder recorder;
  JumpCommand jump(recorder);
  recorder.OnRun(ACTCMDTYPE_MOVE_STRAIGHT, Walk);
  cHero& hero = world.AddHero(HeroDef(), {3, 7});
  cChara& walker = world.AddChara(WalkerDef(), {20, 7});

  ScriptedInput keys;
  keys.Hold(INPUT_RIGHT, 0, 60)
      .Hold(INPUT_RIGHT, 1, 2)
      .Hold(INPUT_RIGHT, 0, 40)
      .Idle(30)
      .Hold(0, 1, 40)
      .Idle(20)
      .Hold(INPUT_LEFT, 0, 50)
      .Hold(INPUT_LEFT, 1, 1)
      .Hold(INPUT_LEFT, 0, 30)
      .Hold(INPUT_RIGHT, 1, 90)
      .Idle(40)
      .Hold(INPUT_RIGHT, 0, 120);
  std::ostringstream out;
  for (int frame = 1; frame <= 600; ++frame) {
    keys.Feed();
    hero.ResetStepTriggers();
    walker.ResetStepTriggers();
    world.RunFrame([&](int) {
      StepChara(hero);
      StepChara(walker);
      Touch(hero, walker);
    });
    out << frame << ' ' << Hex(hero.m_rcHit.dLeft) << ' ' << Hex(hero.m_rcHit.dTop) << ' '
        << Hex(walker.m_rcHit.dLeft) << ' ' << Hex(walker.m_rcHit.dTop) << ' ' << hero.m_nHp << ' '
        << walker.m_nHp << '\n';
  }
  return out.str();
}

}  // namespace

TEST(ActorsTrace, AScriptedRunOf600FramesGivesThePinnedTrace) {
  const std::string trace = Trace();
  EXPECT_EQ(Trace(), trace) << "a second run in the same program";
  const std::string path = Fixture("actors/trace600.txt");
  if (testsupport::UpdatePinnedText("UPDATE_TRACE", path, trace)) GTEST_SKIP() << "written " << path;
  EXPECT_TRUE(testsupport::MatchesPinnedText(path, trace));
  EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 600);
}
