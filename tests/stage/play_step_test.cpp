// The play frame on harness stages: the calls of its logic steps in their
// order, lifetimes, objects erased during a pass, the ways a frame ends
// (each death, clears, the close request, the button lock), time limit and
// play time, and what a dead hero's frames still move. The contact, attack
// and pick-up rules are stand-ins whose answers the tests give.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/timers.h"
#include "game/characters.h"
#include "game/gone_objects.h"
#include "media/input.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/rule_stand_ins.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

constexpr int kBorder = 10;
double Dot(int cell) { return (cell + kBorder) * 32.0; }

class PlayStep : public ::testing::Test {
 protected:
  void SetUp() override { EveryNth(0, 60); }
  void TearDown() override {
    for (auto& answer : StandInAnswer) answer = nullptr;
    EveryNth(0, 60);
  }

  // The map, the view on its first cell, play with no time limit.
  void Build(const std::vector<std::string>& rows, int speed = 1) {
    Stage.SetSpeedLevel(speed);
    MapBuilder(rows).Build(scene);
    scene.m_ScrollX.m_dPos = 320;
    scene.m_ScrollY.m_dPos = 320;
    scene.m_nPhase = STAGESTATE_PLAY;
    scene.m_bNoTimeLimit = 1;
  }
  cHero& AddHero(Cell at, const cEdFlow* flow = nullptr) {
    CharaDef def;
    def.PlayerOperated();
    if (flow) def.Flow(*flow);
    return world.AddHero(def, at);
  }
  // One frame; the calls it made as "step:call" (the ALWAYS triggers as
  // "T<id>", the stand-ins, the drawing, the deaths).
  std::vector<std::string> Frame() {
    world.events.Clear();
    scene.Play();
    std::vector<std::string> calls;
    static const std::set<std::string> names = {"ResolveSolidContacts", "RideCarrier", "CheckDefeats",
                                                "DefeatAndCheckClear", "ResolveAttacks", "CheckItemPickup",
                                                "OnStageClear"};
    for (const GameEvent& e : world.events.All()) {
      std::string call;
      if (e.kind == EventKind::Trigger && e.text.rfind("0 ", 0) == 0) call = "T" + e.text.substr(2);
      if (e.kind == EventKind::Log &&
          (names.count(e.text) || e.text.rfind("Draw ", 0) == 0 || e.text.rfind("Dead", 0) == 0 ||
           e.text.rfind("Player[P1]", 0) == 0))
        call = e.text;
      if (!call.empty()) calls.push_back(std::to_string(e.step) + ":" + call);
    }
    return calls;
  }
  std::vector<std::string> Sounds() { return world.events.Texts(EventKind::Sound); }
  bool Drawn(const std::vector<std::string>& calls) {
    for (const std::string& c : calls)
      if (c.find(":Draw ") != std::string::npos) return true;
    return false;
  }

  cSceneStage scene;
  GameWorld world{scene};
};

std::string T(const cCharaBase& c) { return "T" + std::to_string(c.m_nId); }

}  // namespace

TEST_F(PlayStep, EachLogicStepRunsItsPartsInTheirOrderAndTheFrameDrawsOnce) {
  Build({"..........", "..........", "##########"}, 2);
  cHero& hero = AddHero({1, 1});
  cChara& walker = world.AddChara(CharaDef(), {5, 1});
  cChara& block = world.AddChara(CharaDef().BlockChara(), {3, 1});
  const std::vector<std::string> step = {T(block), T(hero), "ResolveSolidContacts", T(walker),
                                         "ResolveSolidContacts", "ResolveAttacks", "CheckItemPickup"};
  std::vector<std::string> expected;
  for (int s = 1; s <= 2; ++s)
    for (const std::string& call : step) expected.push_back(std::to_string(s) + ":" + call);
  expected.push_back("2:Draw 1 0 1 1");
  EXPECT_EQ(Frame(), expected);
  EXPECT_EQ(scene.m_nStepCount, 2);
  EXPECT_EQ(scene.m_nFrameCount, 1);
  // A rider asks its carrier first; the defeat check runs when a command asked for it.
  hero.m_bRiding = 1;
  StandInAnswer[STANDIN_RIDE_CARRIER] = [](cCharaBase* rider) {
    rider->m_bRiding = 0;
    return 0;
  };
  const std::vector<std::string> riding = Frame();
  ASSERT_GE(riding.size(), 4u);
  EXPECT_EQ(riding[1], "1:" + T(hero));
  EXPECT_EQ(riding[2], "1:RideCarrier");
}

TEST_F(PlayStep, LifetimesRunOutStepByStepWhileTheHeroLives) {
  Build({"..........", "..........", "##########"}, 2);
  cHero& hero = AddHero({1, 1});
  world.AddChara(CharaDef(), {4, 1}).m_nLife = 1;  // two steps: gone in the second
  world.AddChara(CharaDef(), {5, 1}).m_nLife = 3;
  cItem item;
  item.Init(1, cEdItem(), 0);
  item.m_nLife = 1;
  ItemList.push_back(item);
  Frame();
  ASSERT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(CharaList.front().m_nLife, 1);
  EXPECT_TRUE(ItemList.empty());
  // A dead hero's steps stop the clocks of the others.
  hero.m_bDefeated = 1;
  Frame();
  Frame();
  ASSERT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(CharaList.front().m_nLife, 1);
}

TEST_F(PlayStep, ACharacterErasedMidPassByAnothersCommandIsSkippedAndLeavesAtTheEnd) {
  Build({"..........", "..........", "##########"});
  AddHero({1, 1});
  // The first character vanishes its target, the second; the defeat check
  // (the contacts' rule, played here) takes the vanished out of play at once.
  const cEdFlow vanishTarget = FlowDef().Command(CommandDef(ACTCMDTYPE_STATUS_OP2).Param(0, 1).Param(1, 0));
  cChara& first = world.AddChara(CharaDef().Flow(vanishTarget), {4, 1});
  cChara& second = world.AddChara(CharaDef(), {5, 1});
  cChara& third = world.AddChara(CharaDef(), {6, 1});
  first.SetTarget(second);
  const int secondId = second.m_nId;
  StandInAnswer[STANDIN_CHECK_DEFEATS] = [](cCharaBase*) {
    for (cChara& c : CharaList)
      if (c.m_bVanished) MarkCharaGone(c);
    return 0;
  };
  const std::vector<std::string> calls = Frame();
  std::vector<std::string> triggers;
  for (const std::string& c : calls)
    if (c.rfind("1:T", 0) == 0) triggers.push_back(c.substr(2));
  EXPECT_EQ(triggers, (std::vector<std::string>{"T" + std::to_string(Player[0].m_nId), T(first), T(third)}));
  EXPECT_EQ(FindCharaById(secondId), nullptr);
  EXPECT_EQ(CharaList.size(), 2u);
  for (const cChara& c : CharaList) EXPECT_NE(c.m_nId, secondId);
  EXPECT_EQ(first.m_nTargetId, OBJECT_NONE) << "nobody names the erased one";
}
