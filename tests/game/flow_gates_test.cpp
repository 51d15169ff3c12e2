// Which flows start and which step: the tests of a trigger in their order,
// once per frame, switch letters, pause, resume and stopping for good,
// stage-start flows doing their instant work at once, and the death pass
// with the early ends of the flow pass.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/stage_data.h"
#include "media/input.h"
#include "platform/message_box.h"
#include "records/system.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"
#include "support/scripted_input.h"
#include "support/test_support.h"

using namespace testsupport;

TEST(FlowGates, ATriggerStartsAFlowOnlyWhenEveryTestPassesInOrder) {
  struct Case {
    const char* name;
    int trigger;        // of the flow
    int letter;         // its switch letter
    int fired;          // the trigger fired
    bool buttonHeld;    // its key: button 1
    std::function<void(cCharaBase&, cFlowInstance&)> setUp;
    bool gateOpen;
    bool started;
    bool checked;  // marked as tried in this frame
    int gateCalls;
  };
  auto none = [](cCharaBase&, cFlowInstance&) {};
  const Case cases[] = {
      {"all pass", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true, none, true, true, true, 1},
      {"another trigger", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_SHOT, true, none, true, false, false, 0},
      {"tried this frame", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true,
       [](cCharaBase&, cFlowInstance& f) { f.m_bChecked = 1; }, true, false, true, 0},
      {"running", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true,
       [](cCharaBase&, cFlowInstance& f) { f.m_bRunning = 1; }, true, false, true, 0},
      {"paused", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true,
       [](cCharaBase&, cFlowInstance& f) { f.m_bPaused = 1; }, true, false, true, 0},
      {"stopped for good", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true,
       [](cCharaBase&, cFlowInstance& f) { f.m_bStopped = 1; }, true, false, true, 0},
      {"started this frame", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true,
       [](cCharaBase&, cFlowInstance& f) { f.m_bStarted = 1; }, true, false, true, 0},
      {"letter held", FLOWTRIGGER_ALWAYS, 3, FLOWTRIGGER_ALWAYS, true,
       [](cCharaBase& c, cFlowInstance&) { c.m_vSwitchTaken[3] = 1; }, true, false, true, 0},
      {"letter started this frame", FLOWTRIGGER_ALWAYS, 3, FLOWTRIGGER_ALWAYS, true,
       [](cCharaBase& c, cFlowInstance&) { c.m_vSwitchStarted[3] = 1; }, true, false, true, 0},
      {"letters bind ALWAYS flows only", FLOWTRIGGER_HIT_CHARA, 3, FLOWTRIGGER_HIT_CHARA, true,
       [](cCharaBase& c, cFlowInstance&) { c.m_vSwitchTaken[3] = 1; }, true, true, true, 1},
      {"another letter", FLOWTRIGGER_ALWAYS, 3, FLOWTRIGGER_ALWAYS, true,
       [](cCharaBase& c, cFlowInstance&) { c.m_vSwitchTaken[4] = 1; }, true, true, true, 1},
      {"conditions fail", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, true, none, false, false, true, 1},
      {"keys fail", FLOWTRIGGER_HIT_CHARA, 0, FLOWTRIGGER_HIT_CHARA, false, none, true, false, true, 1},
  };
  for (const Case& c : cases) {
    GameWorld world;
    MapBuilder({"...."}).Build();
    const cEdFlow flow = FlowDef(c.trigger)
                             .Switch(c.letter)
                             .Continuous()
                             .Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength())
                             .Command(CommandDef().UseTime(1));
    cChara& chara = world.AddChara(CharaDef().Flow(flow), {1, 0});
    ScriptedInput keys;
    keys.Hold(INPUT_UP | INPUT_RIGHT, c.buttonHeld ? 1 : 0).Feed();
    int gateCalls = 0;
    ScriptedGate gate([&](cFlowInstance&, cCharaBase& who) {
      ++gateCalls;
      EXPECT_EQ(StageData().m_lpCurChara, &who);
      return c.gateOpen ? 1 : 0;
    });
    cFlowInstance& f = chara.m_vFlows[0];
    c.setUp(chara, f);
    const int wasRunning = f.m_bRunning;
    chara.FireTrigger(c.fired);
    EXPECT_EQ(f.m_bRunning && !wasRunning, c.started) << c.name;
    EXPECT_EQ(f.m_bChecked, c.checked ? 1 : 0) << c.name;
    EXPECT_EQ(gateCalls, c.gateCalls) << c.name;
    if (c.started) {
      EXPECT_EQ(f.m_bStarted, 1);
      EXPECT_EQ(f.m_nHeldDir, 7) << c.name;  // up-right
      EXPECT_EQ(chara.m_vSwitchTaken[c.letter], c.letter ? 1 : 0) << c.name;
    }
    EXPECT_EQ(world.Scene().m_lpCurChara, nullptr);
  }
}

TEST(FlowGates, AFlowIsTriedOncePerFrameWhateverTheStepsAndTriggers) {
  GameWorld world(3);
  MapBuilder({"...."}).Build();
  // The compatibility switches of older projects change nothing here.
  SystemData.m_bCompat525 = 1;
  SystemData.m_bCompat669 = 1;
  cChara& chara = world.AddChara(CharaDef()
                                     .Flow(FlowDef().Command(CommandDef()))
                                     .Flow(FlowDef(FLOWTRIGGER_HIT_CHARA).Command(CommandDef(ACTCMDTYPE_SHOT))),
                                 {1, 0});
  FlowRecorder rec;
  // The ALWAYS flow's gate is closed in 1.1 only: it is not tried again in 1.2 or 1.3.
  int gateCalls = 0;
  ScriptedGate gate([&](cFlowInstance& f, cCharaBase&) {
    if (f.Trigger() != FLOWTRIGGER_ALWAYS) return 1;
    ++gateCalls;
    return StageData().m_nFrameCount == 1 ? 0 : 1;
  });
  // The contact flow is hit in every step: it starts in 1.1, runs and ends
  // in 1.2, and is not started again before frame 2.
  for (int frame = 0; frame < 3; ++frame) {
    chara.ResetStepTriggers();
    world.RunFrame([&](int) {
      StepFlows(chara);
      chara.FireTrigger(FLOWTRIGGER_HIT_CHARA);
    });
  }
  EXPECT_EQ(gateCalls, 3);
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.2 f1c0", "2.1 f0c0", "2.2 f1c0", "3.1 f0c0", "3.2 f1c0"}));
}

TEST(FlowGates, TheFirstFlowOfALetterWinsAndTheNextStartsAFrameAfterTheRelease) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef()
                                     .Flow(FlowDef().Switch(1).Command(CommandDef().UseTime(1)))
                                     .Flow(FlowDef().Switch(1).Command(CommandDef(ACTCMDTYPE_SHOT))),
                                 {1, 0});
  FlowRecorder rec;
  // The first flow may start in frame 1 only.
  ScriptedGate gate([&](cFlowInstance& f, cCharaBase&) { return f.m_nIndex != 0 || StageData().m_nFrameCount == 1; });
  PlayFlowFrames(world, 8, {&chara});
  // Released at the end of frame 6's pass; the second flow was tried in frame 6.
  std::vector<std::string> expected;
  for (int frame = 1; frame <= 6; ++frame) expected.push_back(std::to_string(frame) + ".1 f0c0");
  expected.insert(expected.end(), {"7.1 f1c0", "8.1 f1c0"});
  EXPECT_EQ(rec.Texts(), expected);
  EXPECT_EQ(chara.m_vSwitchTaken[1], 0);  // the second flow ended in its step
}

TEST(FlowGates, ALetterStartedThisFrameStaysBlockedAfterItsRelease) {
  GameWorld world(2);
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef().Flow(FlowDef().Switch(1).Command(CommandDef())), {1, 0});
  FlowRecorder rec;
  ScriptedGate gate([&](cFlowInstance& f, cCharaBase&) { return f.m_nIndex != 0 || StageData().m_nFrameCount == 1; });
  chara.ResetStepTriggers();
  world.RunFrame([&](int step) {
    StepFlows(chara);
    if (step == 0) {
      // The first flow started, ended and freed its letter; one more
      // arrives, not yet tried in this frame.
      EXPECT_EQ(chara.m_vSwitchTaken[1], 0);
      cVector<cEdFlow> added;
      added.push_back(FlowDef().Switch(1).Command(CommandDef(ACTCMDTYPE_SHOT)));
      chara.BuildFlows(added, 1, -1);
    }
  });
  PlayFlowFrames(world, 1, {&chara});
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "2.1 f1c0"}));
}

TEST(FlowGates, PausedFlowsNeitherStepNorFireAndStoppedOnesNeverAgain) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef()
                                     .Flow(FlowDef().Command(CommandDef().UseTime(1)).Command(CommandDef()))
                                     .Flow(FlowDef(FLOWTRIGGER_HIT_CHARA).Command(CommandDef(ACTCMDTYPE_SHOT)))
                                     .Flow(FlowDef().Switch(2).Command(CommandDef(ACTCMDTYPE_PLAY_SE).UseTime(1))),
                                 {1, 0});
  FlowRecorder rec;
  cFlowInstance& always = chara.m_vFlows[0];
  cFlowInstance& contact = chara.m_vFlows[1];
  cFlowInstance& lettered = chara.m_vFlows[2];
  PlayFlowFrames(world, 1, {&chara});
  always.Pause();
  contact.Pause();  // idle and paused: not fired
  PlayFlowFrames(world, 2, {&chara});
  chara.FireTrigger(FLOWTRIGGER_HIT_CHARA);
  EXPECT_EQ(contact.m_bRunning, 0);
  always.Resume();
  contact.Resume();
  chara.ResetStepTriggers();
  chara.FireTrigger(FLOWTRIGGER_HIT_CHARA);
  EXPECT_EQ(contact.m_bRunning, 1);

  // Stopped for good while running: its timers end, its letter is freed at
  // the end of the pass, it never steps or fires again, not even after a start.
  lettered.StopForever(chara);
  EXPECT_EQ(lettered.m_bRunning, 1);
  EXPECT_EQ(lettered.m_vCommands[0].m_nTimer, 0);
  EXPECT_EQ(chara.m_vSwitchReleased[2], 1);
  PlayFlowFrames(world, 1, {&chara});
  EXPECT_EQ(chara.m_vSwitchTaken[2], 0);
  world.Scene().m_lpCurChara = &chara;
  lettered.Start();
  PlayFlowFrames(world, 5, {&chara});
  // The ALWAYS flow: one step, two paused frames, then its other five steps
  // and its last command; the lettered one ran until it was stopped.
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "1.1 f2c0", "2.1 f2c0", "3.1 f2c0", "4.1 f0c0",
                                                   "4.1 f1c0", "5.1 f0c0", "6.1 f0c0", "7.1 f0c0", "8.1 f0c0",
                                                   "9.1 f0c1"}));
}

TEST(FlowGates, StartWhilePausedRestartsTheCommandsButStaysPaused) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara =
      world.AddChara(CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE).Command(CommandDef().UseTime(1)).Command(CommandDef(ACTCMDTYPE_SHOT))), {1, 0});
  FlowRecorder rec;
  cFlowInstance& flow = chara.m_vFlows[0];
  world.Scene().m_lpCurChara = &chara;
  flow.Start();
  PlayFlowFrames(world, 3, {&chara});
  flow.Pause();
  // The flow operation START: stop, start.
  flow.Stop(chara);
  world.Scene().m_lpCurChara = &chara;
  flow.Start();
  EXPECT_EQ(flow.m_bRunning, 1);
  EXPECT_EQ(flow.m_bPaused, 1);
  EXPECT_EQ(flow.m_nCurrent, 0);
  PlayFlowFrames(world, 2, {&chara});
  EXPECT_EQ(rec.Calls().size(), 3u);
  flow.Resume();
  PlayFlowFrames(world, 7, {&chara});
  // Three steps, two paused frames, then six whole steps of the first command again.
  EXPECT_EQ(rec.Count(ACTCMDTYPE_WAIT), 3 + 6);
  EXPECT_EQ(rec.Texts().back(), "12.1 f0c1");
}

TEST(FlowGates, AStageStartFlowDoesItsInstantCommandsAtOnceAndGoesIdle) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  const cEdFlow instant = FlowDef(FLOWTRIGGER_STAGE_START)
                              .Command(CommandDef().UseTime(1))                         // waits: never runs
                              .Command(CommandDef(ACTCMDTYPE_FLOW_OPERATION).NoWait())  // runs
                              .Command(CommandDef(ACTCMDTYPE_SHOT).NoWait())            // below type 16: never
                              .Command(CommandDef(ACTCMDTYPE_PLAY_SE).NoWait().UseTime(1))  // one step of six
                              .Command(CommandDef(ACTCMDTYPE_MESSAGE))                  // waits
                              .Command(CommandDef(ACTCMDTYPE_PLAY_BGM).NoWait());
  const cEdFlow aborted = FlowDef(FLOWTRIGGER_STAGE_START)
                              .Command(CommandDef(ACTCMDTYPE_SCREEN_COLOR).NoWait())
                              .Command(CommandDef(ACTCMDTYPE_PLAY_BGM).NoWait());
  cChara& chara = world.AddChara(CharaDef().Flow(instant).Flow(aborted).Flow(FlowDef(FLOWTRIGGER_STAGE_START)), {1, 0});
  FlowRecorder rec;
  rec.OnRun(ACTCMDTYPE_SCREEN_COLOR, [](cCharaBase&, cCommandInstance&) { StageData().m_lpCurFlow->m_bAbort = 1; });
  world.events.ExpectBoxes({plat::BOX_OK});
  chara.FireTrigger(FLOWTRIGGER_STAGE_START);
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"0.0 f0c1", "0.0 f0c3", "0.0 f0c5", "0.0 f1c0"}));
  EXPECT_EQ(world.events.Texts(EventKind::Box),
            (std::vector<std::string>{Sjis("使用時間0なので、ここにくることはあり得ないはず！")}));
  const cFlowInstance& f = chara.m_vFlows[0];
  EXPECT_EQ(f.m_bRunning, 0);
  std::vector<int> done;
  for (const cCommandInstance& c : f.m_vCommands) done.push_back(c.m_bDone);
  EXPECT_EQ(done, (std::vector<int>{0, 1, 0, 1, 0, 1}));
  EXPECT_EQ(f.m_vCommands[3].m_nTimer, 0);
  EXPECT_EQ(chara.m_vFlows[1].m_vCommands[0].m_bDone, 0);  // aborted before it was marked
  EXPECT_EQ(chara.m_vFlows[1].m_bRunning, 0);
  EXPECT_EQ(chara.m_vFlows[2].m_bRunning, 1);  // no commands: stopped by the first flow pass
  PlayFlowFrames(world, 2, {&chara});
  EXPECT_EQ(rec.Calls().size(), 4u);
  EXPECT_EQ(chara.m_vFlows[2].m_bRunning, 0);
}

TEST(FlowGates, TheDeathPassStepsDeathFlowsOnlyAndTheFlowPassEndsEarlyForTheDefeated) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef()
                                     .Flow(FlowDef().Command(CommandDef().UseTime(1)))
                                     .Flow(FlowDef().Command(CommandDef().UseTime(1)))
                                     .Flow(FlowDef(FLOWTRIGGER_DEATH).Command(CommandDef(ACTCMDTYPE_PLAY_SE).UseTime(1))),
                                 {1, 0});
  FlowRecorder rec;
  PlayFlowFrames(world, 1, {&chara});
  chara.m_nHp = 0;
  chara.FireTrigger(FLOWTRIGGER_DEATH);
  chara.m_vFlows[1].m_bDeleted = 1;
  chara.m_bFlowRemoval = 1;
  world.Scene().m_lpCurChara = &chara;
  EXPECT_EQ(chara.RunFlows(0), 1);  // after the first flow: HP is gone
  // The rest of the pass did not run, but the removal queued before it was made.
  EXPECT_EQ(chara.m_bFlowRemoval, 0);
  EXPECT_EQ(chara.m_vFlows.Size(), 2);
  EXPECT_EQ(chara.RunFlows(1), 0);  // the death pass: the DEATH flow only
  chara.m_vFlows[0].m_bDeleted = 1;
  chara.m_bFlowRemoval = 1;
  chara.m_bVanished = 1;
  world.Scene().m_lpCurChara = &chara;
  EXPECT_EQ(chara.RunFlows(1), 1);
  EXPECT_EQ(chara.m_vFlows.Size(), 1) << "a vanish also leaves the removals made";
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "1.1 f1c0", "1.1 f0c0", "1.1 f1c0"}));
}
