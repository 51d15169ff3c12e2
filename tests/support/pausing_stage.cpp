#include "support/pausing_stage.h"

#include "base/window_messages.h"
#include "media/input.h"
#include "platform/messages.h"

namespace testsupport {

int PausingStage::PauseLoop() {
  if (m_bCloseRequested.load()) return 0;
  Wait wait;
  wait.frame = m_nFrameCount;
  wait.step = m_nStepInFrame;
  wait.request = m_Wait;
  cInput input = Input.At(0);
  input.ClearHistory();
  input.ResetRunHistories();
  input.ClearDirection();
  input.ClearButtons();
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) break;
      continue;
    }
    if (m_bCloseRequested.load()) break;
    keys.Feed(input);
    input.LatchButtons(0);
    if (m_Wait.nDelay > 0) {
      --m_Wait.nDelay;
    } else if (m_Wait.bWaitKey) {
      if ((input.m_wButton & 1) && !(input.GetHistory(1, 1) & 1)) {
        PlaySe(m_Wait.nMode == 1 ? 12 : 1);
        wait.keyEnded = true;
        break;
      }
    } else if (--m_Wait.nFrames < 0) {
      break;
    }
    if (drawing) drawing();
    ++wait.frames;
  }
  waits.push_back(wait);
  return 1;
}

}  // namespace testsupport
