// A scripted play of a sample stage, recorded, saved, loaded and played back
// as the title's replay entry starts it: the playback's trace agrees with
// the live play's at every frame, and when the recorded input is over play
// restarts at the banner and the second loop agrees too.
#include <gtest/gtest.h>

#include "game/game.h"
#include "media/input.h"
#include "records/replay_input.h"
#include "replay_rig.h"
#include "stage/scene_stage.h"
#include "tools/replaytrace/replay_player.h"

using replaytest::FirstDifference;
using replaytest::Head;
using replaytest::SCRIPTSTEP;
using testsupport::StageRunner;

namespace {

StageRunner::Options Sample() {
  StageRunner::Options o;
  o.project = StageRunner::Project::Sample;
  return o;
}

// Records a live play of `stage` by `script`, saves it and plays the file
// back: the playback's first loop to its restart at the banner, then its
// second loop from the same bytes, which agrees with the first. The live
// play's trace goes to `live`, the first loop's to `first`.
void RecordAndPlayBack(StageRunner& run, int stage, const std::vector<SCRIPTSTEP>& script, int playFrames,
                       cPlayTrace& live, cPlayTrace& first) {
  live = replaytest::PlayLive(run, stage, script, playFrames);
  ASSERT_TRUE(replaytest::SaveAttempt("attempt.rpl4_734"));
  EndReplay();

  int frames = 0;
  std::string error;
  ASSERT_TRUE(TraceReplay("attempt.rpl4_734", 5000, first, frames, error)) << error;
  ASSERT_TRUE(first.LeftPlay());
  const std::string lines = first.Text();
  const std::string restart = lines.substr(Head(lines, first.Lines() - 1).size());
  EXPECT_EQ(restart.rfind("f0 s1 ", 0), 0u) << "at the start banner: " << restart;
  ASSERT_NE(run.Scene(), nullptr);
  EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_START);

  // The second loop, from the same file's bytes.
  cPlayTrace second;
  for (int frame = 0; frame < 5000; ++frame) {
    second.Before(run.Scene());
    run.Frame();
    if (second.After(run.Scene()) && second.LeftPlay()) break;
  }
  EXPECT_EQ(FirstDifference(first.Text(), second.Text()), "");
  EndReplay();
}

}  // namespace

TEST(ReplayEndToEnd, APlayToTheHerosDeathRepeatsFrameForFrameLoopAfterLoop) {
  StageRunner run(Sample());
  // Into the slime's way, then after it to the left as each guard against
  // it ends: the third hit takes the last HP.
  cPlayTrace live, first;
  RecordAndPlayBack(run, 0,
                    {{INPUT_RIGHT, 0, 160}, {0, 0, 35}, {INPUT_LEFT, 0, 4}, {0, 0, 35}, {INPUT_LEFT, 0, 18}},
                    2000, live, first);
  ASSERT_EQ(replaytest::Ending(live.Text()), "death");
  // Live, the defeat display ends in the game over; played back, its last
  // frame is the input's last and play restarts at the banner.
  ASSERT_EQ(first.Lines(), live.Lines());
  EXPECT_EQ(FirstDifference(Head(live.Text(), live.Lines() - 1), Head(first.Text(), first.Lines() - 1)), "");
  EXPECT_EQ(replaytest::Ending(first.Text()), "death");
}

TEST(ReplayEndToEnd, APlayToTheGoalRepeatsFrameForFrame) {
  StageRunner run(Sample());
  // Onto the platform, off its end over the gap, over the slime to the goal.
  const cPlayTrace live = replaytest::PlayLive(run, 1,
                                               {{INPUT_RIGHT, 0, 100},
                                                {INPUT_RIGHT, 1, 24},
                                                {INPUT_RIGHT, 0, 40},
                                                {INPUT_RIGHT, 1, 24},
                                                {INPUT_RIGHT, 0, 90},
                                                {INPUT_RIGHT, 1, 24},
                                                {INPUT_RIGHT, 0, 898}},
                                               1200);
  ASSERT_EQ(replaytest::Ending(live.Text()), "clear");
  ASSERT_TRUE(replaytest::SaveAttempt("attempt.rpl4_734"));
  EndReplay();

  cPlayTrace back;
  int frames = 0;
  std::string error;
  ASSERT_TRUE(TraceReplay("attempt.rpl4_734", 5000, back, frames, error)) << error;
  EXPECT_EQ(FirstDifference(live.Text(), back.Text()), "");
  EndReplay();
}

TEST(ReplayEndToEnd, TheInputsEndRestartsAtTheBannerLoopAfterLoop) {
  StageRunner run(Sample());
  constexpr int kPlayFrames = 240;
  // Right, a jump, a rest, a jump to the left and right again; the input
  // ends in play.
  cPlayTrace live, first;
  RecordAndPlayBack(run, 1,
                    {{INPUT_RIGHT, 0, 50},
                     {INPUT_RIGHT, 1, 12},
                     {INPUT_RIGHT, 0, 40},
                     {0, 0, 10},
                     {INPUT_LEFT, 1, 30},
                     {INPUT_RIGHT, 0, 98}},
                    kPlayFrames, live, first);
  ASSERT_EQ(live.Lines(), kPlayFrames);
  ASSERT_FALSE(live.LeftPlay());
  ASSERT_EQ(first.Lines(), kPlayFrames + 1) << "the input's end restarts play";
  EXPECT_EQ(FirstDifference(live.Text(), Head(first.Text(), kPlayFrames)), "");
  EXPECT_EQ(replaytest::Ending(first.Text()), "restart");
}
