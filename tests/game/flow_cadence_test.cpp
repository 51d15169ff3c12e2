// The rhythm of running flows, in logic steps and frames: how long a
// command holds its flow at 1 and 3 steps a frame, no-wait commands beside
// the waiting one and cut at the flow's end, an ALWAYS flow restarting the
// frame after it ends, and contact-fired flows starting a step later.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/stage_data.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

// Consecutive runs of the same command as "fFcC first-last" (frame.step).
std::vector<std::string> Segments(const FlowRecorder& rec) {
  std::vector<std::string> out;
  std::string key, first, last;
  auto flush = [&] {
    if (!key.empty()) out.push_back(key + " " + first + "-" + last);
  };
  for (const FlowCall& c : rec.Calls()) {
    const std::string k = "f" + std::to_string(c.flow) + "c" + std::to_string(c.command);
    const std::string at = std::to_string(c.frame) + "." + std::to_string(c.step);
    if (k != key) {
      flush();
      key = k;
      first = at;
    }
    last = at;
  }
  flush();
  return out;
}

}  // namespace

TEST(FlowCadence, AWaitingCommandHoldsItsFlowForItsTimeAndTheFlowRestartsTheNextFrame) {
  struct Case {
    int level;
    int useTime;
    int frames;
    std::vector<std::string> segments;
  } cases[] = {
      // Use time 1 is six frames whatever S; use time 0 one logic step. The
      // flow ends with its last command and is tried again the next frame.
      {1, 1, 9, {"f0c0 1.1-6.1", "f0c1 7.1-7.1", "f0c0 8.1-9.1"}},
      {3, 1, 9, {"f0c0 1.1-6.3", "f0c1 7.1-7.1", "f0c0 8.1-9.3"}},
      {1, 0, 3, {"f0c0 1.1-1.1", "f0c1 2.1-2.1", "f0c0 3.1-3.1"}},
      // At S = 3 the flow is tried once a frame: its first step only.
      {3, 0, 3, {"f0c0 1.1-1.1", "f0c1 1.2-1.2", "f0c0 2.1-2.1", "f0c1 2.2-2.2", "f0c0 3.1-3.1", "f0c1 3.2-3.2"}},
  };
  for (const Case& c : cases) {
    GameWorld world(c.level);
    MapBuilder({"...."}).Build();
    cChara& chara = world.AddChara(
        CharaDef().Flow(FlowDef().Command(CommandDef().UseTime(c.useTime)).Command(CommandDef().UseTime(0))), {1, 0});
    FlowRecorder rec;
    PlayFlowFrames(world, c.frames, {&chara});
    EXPECT_EQ(Segments(rec), c.segments) << "S " << c.level << " use time " << c.useTime;
  }
}

TEST(FlowCadence, NoWaitCommandsStartWithTheNextAndAreCutAtTheFlowsEnd) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  const cEdFlow flow = FlowDef(FLOWTRIGGER_NONE)
                           .Command(CommandDef(ACTCMDTYPE_SHOT).NoWait().UseTime(1))  // would run 6 steps
                           .Command(CommandDef(ACTCMDTYPE_SHOT).NoWait())
                           .Command(CommandDef())
                           .Command(CommandDef());
  cChara& chara = world.AddChara(CharaDef().Flow(flow), {1, 0});
  FlowRecorder rec;
  world.Scene().m_lpCurChara = &chara;
  chara.m_vFlows[0].Start();
  world.RunFrame([&](int) { StepFlows(chara); });
  world.RunFrame([&](int) { StepFlows(chara); });
  world.RunFrame([&](int) { StepFlows(chara); });
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "1.1 f0c1", "1.1 f0c2", "2.1 f0c0", "2.1 f0c3"}));
  const cFlowInstance& f = chara.m_vFlows[0];
  EXPECT_EQ(f.m_bRunning, 0);
  EXPECT_EQ(f.m_vCommands[0].m_nTimer, 0);  // cut with 4 steps left
  EXPECT_EQ(f.m_vCommands[0].m_bDone, 0);
  EXPECT_EQ(f.m_nCurrent, 3);

  // A no-wait command last: the flow ends when it ends, not before.
  rec.Clear();
  cChara& other = world.AddChara(
      CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE).Command(CommandDef()).Command(CommandDef().NoWait().UseTime(1))),
      {2, 0});
  world.Scene().m_lpCurChara = &other;
  other.m_vFlows[0].Start();
  int steps = 0;
  while (other.m_vFlows[0].m_bRunning && steps < 20) {
    world.Scene().m_lpCurChara = &other;
    other.RunFlows(0);
    ++steps;
  }
  EXPECT_EQ(steps, 7);  // one step for the first, six for the second
  EXPECT_EQ(rec.Count(ACTCMDTYPE_WAIT), 7);
}

TEST(FlowCadence, AnAlwaysFlowCountsOnceAPeriodWhateverTheStepsPerFrame) {
  // A counting command (use time 0), then a WAIT of 1: the count runs in
  // frame 1, the WAIT through frame 7's first step, the flow starts again
  // in frame 8: counts in frames 1, 8, 15, 22.
  struct Case {
    int frames;
    int count;
  } cases[] = {{1, 1}, {7, 1}, {8, 2}, {14, 2}, {15, 3}, {21, 3}, {22, 4}};
  for (int level : {1, 2, 3}) {
    for (const Case& c : cases) {
      GameWorld world(level);
      MapBuilder({"...."}).Build();
      cChara& chara = world.AddChara(
          CharaDef().Flow(FlowDef().Command(CommandDef(ACTCMDTYPE_PLAY_SE)).Command(CommandDef().UseTime(1))), {1, 0});
      int count = 0;
      FlowRecorder rec;
      rec.OnRun(ACTCMDTYPE_PLAY_SE, [&](cCharaBase&, cCommandInstance&) { ++count; });
      PlayFlowFrames(world, c.frames, {&chara});
      EXPECT_EQ(count, c.count) << "S " << level << " after " << c.frames << " frames";
    }
  }
}

TEST(FlowCadence, AlwaysFlowsStepWhenFiredContactFiredOnesAStepLater) {
  GameWorld world(2);
  MapBuilder({"....", "####"}).Build();
  cChara& chara = world.AddChara(CharaDef()
                                     .Flow(FlowDef().Command(CommandDef(ACTCMDTYPE_PLAY_SE)))
                                     .Flow(FlowDef(FLOWTRIGGER_BLOCK_BOTTOM).Command(CommandDef(ACTCMDTYPE_SHOT))),
                                 {1, 0});
  FlowRecorder rec;
  chara.ResetStepTriggers();
  world.RunFrame([&](int step) {
    StepFlows(chara);
    if (step == 0) chara.LandOnBlock();  // the collision after the flow pass fires 9, 13, 15
  });
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "1.2 f1c0"}));
  EXPECT_EQ(world.Scene().m_lpCurChara, nullptr);
  EXPECT_EQ(world.Scene().m_lpCurFlow, nullptr);
  EXPECT_EQ(world.Scene().m_lpCurCommand, nullptr);
}

TEST(FlowCadence, PendingArrangesChangeTheNextCommandAsItStartsAndGoWithTheFlowsStop) {
  GameWorld world;
  MapBuilder({"...."}).Build();
  cChara& chara = world.AddChara(CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE)
                                                     .Command(CommandDef(ACTCMDTYPE_ARRANGE))
                                                     .Command(CommandDef(ACTCMDTYPE_SCREEN_COLOR).Param(0, 10))
                                                     .Command(CommandDef(ACTCMDTYPE_SCREEN_COLOR).Param(0, 10))),
                                 {1, 0});
  chara.m_vVars[1] = 40;
  FlowRecorder rec;
  cFlowInstance& flow = chara.m_vFlows[0];
  world.Scene().m_lpCurChara = &chara;
  flow.Start();
  // Red of the screen colour += character variable 1, as an arrange command leaves it.
  flow.m_lArranges.push_back(ARRANGEOP{ACTCMDTYPE_SCREEN_COLOR, 0, CALCOP_ADD, VARKIND_CHARA, 1});
  const cVector<cEdCommand>& commands = chara.m_Def.m_vFlows[0].m_vCommands;
  world.Scene().m_lpCurChara = &chara;
  chara.RunFlows(0);  // the arrange command leaves the list for the commands after it
  EXPECT_EQ(flow.m_lArranges.Size(), 1);
  world.Scene().m_lpCurChara = &chara;
  chara.RunFlows(0);
  EXPECT_EQ(commands[1].m_vParams[0], 50);
  EXPECT_EQ(flow.m_lArranges.Size(), 0);
  world.Scene().m_lpCurChara = &chara;
  chara.RunFlows(0);
  EXPECT_EQ(commands[2].m_vParams[0], 10);
  EXPECT_EQ(flow.m_bRunning, 0);

  world.Scene().m_lpCurChara = &chara;
  flow.Start();
  flow.m_lArranges.push_back(ARRANGEOP{ACTCMDTYPE_SCREEN_COLOR, 0, CALCOP_ADD, VARKIND_CHARA, 1});
  flow.Stop(chara);
  EXPECT_EQ(flow.m_lArranges.Size(), 0);
}
