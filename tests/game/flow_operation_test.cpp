// The flow operation in running flows: which flows each operation reaches
// (the running one, all others, those of one ID), what it does to them and
// to their attached animations, and how it cuts the running flow's step.
#include <gtest/gtest.h>

#include "command_test_env.h"
#include "records/command_vocab.h"

using namespace cmdtest;

namespace {

// A flow's state as letters: R running, P paused, S stopped for good, D to
// be deleted; "-" idle.
std::string State(const cFlowInstance& flow) {
  std::string s;
  if (flow.m_bRunning) s += 'R';
  if (flow.m_bPaused) s += 'P';
  if (flow.m_bStopped) s += 'S';
  if (flow.m_bDeleted) s += 'D';
  return s.empty() ? "-" : s;
}

// The attached animations of flow serial `key`: "a" running, "p" paused, "" none.
std::string Animes(const cCharaBase& chara, int key) {
  std::string s;
  for (const ATTACHEDANIME& a : chara.m_lAnimes)
    if (a.nKey == key) s += a.bPaused ? 'p' : 'a';
  return s;
}

void Attach(cCharaBase& chara, int key, int length, int hold = 0) {
  chara.m_lAnimes.push_front(ATTACHEDANIME());
  chara.m_lAnimes.front().nKey = key;
  chara.m_lAnimes.front().nLength = length;
  chara.m_lAnimes.front().nHold = hold;
}

}  // namespace

TEST(FlowOperations, EachOperationReachesItsFlowsAndTheirAnimations) {
  // Flow 0 (ID 1) runs the operation without waiting and then sound 5;
  // flow 1 (ID 2) runs, flow 2 (ID 2) is paused, flow 3 (ID 0) runs.
  // Flows 1 and 2 have an animation within its length, flow 3 one past it.
  struct Case {
    const char* name;
    int op, target, id;
    std::vector<std::string> states;  // flows 1..3 after the step
    std::vector<std::string> animes;  // of flows 1..3
    bool sound;                       // flow 0 went on to its next command
  } cases[] = {
      {"start by ID", FLOWOP_START, FLOWOPTARGET_BY_ID, 2, {"R", "RP", "R"}, {"", "", "a"}, true},
      {"end the others", FLOWOP_END, FLOWOPTARGET_OTHERS, 0, {"-", "P", "-"}, {"", "", ""}, true},
      {"pause the others", FLOWOP_PAUSE, FLOWOPTARGET_OTHERS, 0, {"RP", "RP", "RP"}, {"p", "p", ""}, true},
      {"resume by ID", FLOWOP_RESUME, FLOWOPTARGET_BY_ID, 2, {"R", "R", "R"}, {"a", "a", "a"}, true},
      {"delete by ID", FLOWOP_DELETE, FLOWOPTARGET_BY_ID, 2, {"RD", "RPD", "R"}, {"a", "p", "a"}, true},
      {"stop the others for good", FLOWOP_STOP_FOREVER, FLOWOPTARGET_OTHERS, 0, {"RS", "RPS", "RS"},
       {"", "", ""}, true},
      {"ID 0 names no flow", FLOWOP_END, FLOWOPTARGET_BY_ID, 0, {"R", "RP", "R"}, {"a", "p", "a"}, true},
      {"an unknown operation", 6, FLOWOPTARGET_OTHERS, 0, {"R", "RP", "R"}, {"a", "p", "a"}, true},
      {"an unknown target", FLOWOP_END, 3, 0, {"R", "RP", "R"}, {"a", "p", "a"}, true},
      {"end this flow", FLOWOP_END, FLOWOPTARGET_THIS, 0, {"R", "RP", "R"}, {"a", "p", "a"}, false},
      {"pause this flow", FLOWOP_PAUSE, FLOWOPTARGET_THIS, 0, {"R", "RP", "R"}, {"a", "p", "a"}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    BuildRoom();
    const cEdFlow waiting = FlowDef(FLOWTRIGGER_NONE).Command(Action(ACTCMDTYPE_WAIT).UseTime(10));
    cEdFlow id2 = waiting, id0 = waiting;
    id2.m_nId = 2;
    cChara& chara = world.AddChara(
        CharaDef()
            .Flow(FlowDef().Id(1).Command(Action(ACTCMDTYPE_FLOW_OPERATION, {c.op, c.target, c.id}).NoWait())
                      .Command(ActionSound(5)))
            .Flow(id2)
            .Flow(id2)
            .Flow(id0),
        {5, 5});
    Settle(world);
    for (int i = 1; i <= 3; ++i) chara.m_vFlows[i].Start();
    chara.m_vFlows[2].Pause();
    Attach(chara, chara.m_vFlows[1].m_nSerial, 10);
    Attach(chara, chara.m_vFlows[2].m_nSerial, 10);
    chara.m_lAnimes.front().bPaused = 1;
    Attach(chara, chara.m_vFlows[3].m_nSerial, -5, 3);  // −5 + 3 − 1 < 0: its time is over
    const int serials[] = {chara.m_vFlows[1].m_nSerial, chara.m_vFlows[2].m_nSerial, chara.m_vFlows[3].m_nSerial};
    world.events.Clear();
    // The step itself: trigger and flow pass, without the removal at its end.
    chara.FireTrigger(FLOWTRIGGER_ALWAYS);
    world.Scene().m_lpCurChara = &chara;
    chara.m_vFlows[0].Step();
    std::vector<std::string> states, animes;
    for (int i = 1; i <= 3; ++i) {
      states.push_back(State(chara.m_vFlows[i]));
      animes.push_back(Animes(chara, serials[i - 1]));
    }
    EXPECT_EQ(states, c.states);
    EXPECT_EQ(animes, c.animes);
    EXPECT_EQ(SoundsAt(world).size(), c.sound ? 1u : 0u);
  }
}

TEST(FlowOperations, DeletedFlowsLeaveAtTheEndOfTheFlowPassWithTheirAnimations) {
  GameWorld world;
  BuildRoom();
  cChara& chara = world.AddChara(
      CharaDef()
          .Flow(FlowDef().Id(1).Command(Action(ACTCMDTYPE_FLOW_OPERATION, {FLOWOP_DELETE, FLOWOPTARGET_BY_ID, 2})))
          .Flow(FlowDef(FLOWTRIGGER_NONE).Id(2))
          .Flow(FlowDef(FLOWTRIGGER_NONE).Id(3))
          .Flow(FlowDef(FLOWTRIGGER_NONE).Id(2)),
      {5, 5});
  Settle(world);
  Attach(chara, chara.m_vFlows[1].m_nSerial, 10);
  PlayFlowFrames(world, 1, {&chara});
  EXPECT_EQ(FlowIds(chara), (std::vector<int>{1, 3}));
  EXPECT_TRUE(chara.m_lAnimes.empty());
  EXPECT_EQ(chara.m_bFlowRemoval, 0);
}

TEST(FlowOperations, StartingTheRunningFlowRestartsItFromItsFirstCommandOnTheNextStep) {
  // Sound 1, restart, sound 2: sound 2 is never reached.
  for (int level : {1, 3}) {
    SCOPED_TRACE("S " + std::to_string(level));
    GameWorld world(level);
    BuildRoom();
    cChara& chara = world.AddChara(
        CharaDef().Flow(FlowDef()
                            .Command(ActionSound(1))
                            .Command(Action(ACTCMDTYPE_FLOW_OPERATION, {FLOWOP_START, FLOWOPTARGET_THIS}))
                            .Command(ActionSound(2))),
        {5, 5});
    Settle(world);
    world.events.Clear();
    // Steps of one flow pass each, the ALWAYS trigger once at the start.
    chara.FireTrigger(FLOWTRIGGER_ALWAYS);
    for (int step = 0; step < 6; ++step) {
      world.Scene().m_lpCurChara = &chara;
      chara.RunFlows(0);
    }
    EXPECT_EQ(world.events.Texts(EventKind::Sound), (std::vector<std::string>{Slot(1), Slot(1), Slot(1)}));
    EXPECT_EQ(chara.m_vFlows[0].m_bRunning, 1);
  }
}

TEST(FlowOperations, EndingTheRunningFlowRunsNothingMoreOfItAndItsTriggerStartsItAgain) {
  for (int level : {1, 3}) {
    SCOPED_TRACE("S " + std::to_string(level));
    GameWorld world(level);
    BuildRoom();
    cChara& chara = world.AddChara(
        CharaDef().Flow(FlowDef()
                            .Command(ActionSound(1).NoWait())
                            .Command(Action(ACTCMDTYPE_FLOW_OPERATION, {FLOWOP_END, FLOWOPTARGET_THIS}).NoWait())
                            .Command(ActionSound(2))),
        {5, 5});
    Settle(world);
    world.events.Clear();
    PlayFlowFrames(world, 2, {&chara});
    // Once a frame: the ALWAYS trigger tries a flow once per frame.
    EXPECT_EQ(SoundsAt(world), (std::vector<std::string>{"1.1 " + Slot(1), "2.1 " + Slot(1)}));
  }
}

TEST(FlowOperations, AStageStartFlowThatStartsItselfEndsItsChain) {
  GameWorld world;
  BuildRoom();
  cChara& chara = world.AddChara(
      CharaDef().Flow(FlowDef(FLOWTRIGGER_STAGE_START)
                          .Id(4)
                          .Command(ActionSound(1).NoWait())
                          .Command(Action(ACTCMDTYPE_FLOW_OPERATION, {FLOWOP_START, FLOWOPTARGET_BY_ID, 4}).NoWait())),
      {5, 5});
  Settle(world);
  world.events.Clear();
  chara.FireTrigger(FLOWTRIGGER_STAGE_START);
  EXPECT_EQ(world.events.Texts(EventKind::Sound).size(), 17u) << "the first start and 16 nested ones";
  EXPECT_EQ(LogLines(world, "ActFlowOperation").size(), 1u);
  EXPECT_EQ(chara.m_vFlows[0].m_bRunning, 0);
  EXPECT_EQ(world.Scene().m_lpCurChara, nullptr);
}

TEST(FlowOperations, PausedAnimationsStopAdvancingUntilResumed) {
  GameWorld world;
  BuildRoom();
  cChara& chara = world.AddChara(CharaDef(), {5, 5});
  Attach(chara, 7, 10);
  Attach(chara, 7, 0, 1);  // 0 + 1 − 1 = 0: not over yet
  Attach(chara, 7, 0, 0);  // over
  Attach(chara, 8, -4);
  chara.PauseFlowAnimes(7);
  EXPECT_EQ(Animes(chara, 7), "pp");
  EXPECT_EQ(Animes(chara, 8), "a");
  chara.ResumeFlowAnimes(7);
  EXPECT_EQ(Animes(chara, 7), "aa");
}
