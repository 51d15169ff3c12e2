#pragma once
// A stage whose pause loop serves its waits the way the stage's loop does,
// on scripted input, for tests of the commands that freeze play:
//
//   PausingStage stage;
//   GameWorld world(stage, 3);
//   stage.keys.Idle(12).Hold(0, 1);  // button 1 in the 13th frame of the wait
//   ... a flow runs a message that waits for a key ...
//   EXPECT_EQ(stage.waits.at(0).frames, 12);
//
// The loop runs on thPause. Each pass takes one message of its thread
// (WM_QUIT ends the loop, any other is dropped and ends the pass); with none
// it runs a frame: the next scripted frame into its own copy of the input
// (cleared at the start), the buttons latched, then the wait of m_Wait: its
// delay counts down; a key wait ends on a fresh press of button 1 with sound
// 12 for a message or 1 otherwise; a timed wait ends when its frames drop
// below 0. Then `drawing` stands in for the frozen stage's drawing and the
// frame counts. It ends at once, and while it runs, on a close request.
#include <functional>
#include <vector>

#include "game/stage_data.h"
#include "support/scripted_input.h"

namespace testsupport {

class PausingStage : public cSceneStageData {
 public:
  struct Wait {
    int frame = 0;  // the stage frame and logic step that started it
    int step = 0;
    cModalWait request;  // m_Wait as the command set it
    int frames = 0;      // frames drawn
    bool keyEnded = false;
  };

  int PauseLoop() override;

  ScriptedInput keys;
  std::function<void()> drawing;
  std::vector<Wait> waits;
};

}  // namespace testsupport
