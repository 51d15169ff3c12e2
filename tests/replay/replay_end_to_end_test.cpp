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
using testsupport::StageRunner;

namespace {

StageRunner::Options Sample() {
  StageRunner::Options o;
  o.project = StageRunner::Project::Sample;
  return o;
}

}  // namespace

TEST(ReplayEndToEnd, APlaybackRepeatsItsAttemptFrameForFrameLoopAfterLoop) {
  StageRunner run(Sample());
  constexpr int kPlayFrames = 240;
  // Right, a jump, a rest, a jump to the left and right again.
  const cPlayTrace live = replaytest::PlayLive(run, 1,
                                               {{INPUT_RIGHT, 0, 50},
                                                {INPUT_RIGHT, 1, 12},
                                                {INPUT_RIGHT, 0, 40},
                                                {0, 0, 10},
                                                {INPUT_LEFT, 1, 30},
                                                {INPUT_RIGHT, 0, 98}},
                                               kPlayFrames);
  ASSERT_EQ(live.Lines(), kPlayFrames);
  ASSERT_FALSE(live.LeftPlay());
  ASSERT_TRUE(replaytest::SaveAttempt("attempt.rpl4_734"));
  EndReplay();

  cPlayTrace first;
  int frames = 0;
  std::string error;
  ASSERT_TRUE(TraceReplay("attempt.rpl4_734", 2000, first, frames, error)) << error;
  ASSERT_EQ(first.Lines(), kPlayFrames + 1) << "the input's end restarts play";
  EXPECT_EQ(FirstDifference(live.Text(), Head(first.Text(), kPlayFrames)), "");
  const std::string restart = first.Text().substr(Head(first.Text(), kPlayFrames).size());
  EXPECT_EQ(restart.rfind("f0 s1 ", 0), 0u) << "at the start banner: " << restart;
  ASSERT_NE(run.Scene(), nullptr);
  EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_START);

  // The second loop, from the same file's bytes.
  cPlayTrace second;
  for (int frame = 0; frame < 2000; ++frame) {
    second.Before(run.Scene());
    run.Frame();
    if (second.After(run.Scene()) && second.LeftPlay()) break;
  }
  EXPECT_EQ(FirstDifference(first.Text(), second.Text()), "");
  EndReplay();
}
