// The frozen stage's own frame loop, the body of thPause: it serves the
// wait request m_Wait (a message, a game wait, a picture or effect that is
// waited for, the extra-life notice) while the game thread waits for it.
#include "base/boxes.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/input.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "stage/replay_keys.h"
#include "stage/scene_stage.h"

namespace {

// After a close request the loop gives the stage this long before it ends itself.
constexpr uint32_t kCloseGraceMs = 2000;

}  // namespace

int cSceneStage::PauseLoop() {
  if (m_bCloseRequested.load()) return 0;
  // The wait works on its own copy: the game thread's input keeps the state
  // of the frame that started the wait.
  cVector<cInput> input = Input;
  cInput& first = input.At(0);
  first.ClearHistory();
  first.ResetRunHistories();
  first.ClearDirection();
  first.ClearButtons();
  bool bClosing = false;
  bool bQuitPosted = false;
  uint32_t closeSeen = 0;
  int polled = 0;
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) break;
      continue;  // nothing else is dispatched here
    }
    if (!bAppActive.load()) {
      plat::Sleep(1);
      continue;
    }
    if (m_bCloseRequested.load()) {
      if (!bClosing) {
        bClosing = true;
        closeSeen = plat::TimeGetTime();
      } else if (!bQuitPosted && plat::TimeGetTime() - closeSeen >= kCloseGraceMs) {
        bQuitPosted = true;
        plat::PostQuit(0);
      }
      plat::Sleep(1);
      continue;
    }
    Game.WaitFrame();
    if (!Game.RestoreLostSurfaces()) PostCloseMessage(hWndMain);
    Game.PollInput(input);
    first.RecordHistory();
    first.LatchButtons(0);
    if (CheckReplaySaveKeys()) continue;
    ++polled;
    if (m_Wait.nDelay > 0) {
      --m_Wait.nDelay;
    } else if (m_Wait.bWaitKey) {
      // A press is a button that went down during the wait: the first frame
      // polled has nothing before it, so a button held from before the wait
      // only counts once it was let go and pressed again.
      if (polled > 1 && (first.m_wButton & 1) && !(first.GetHistory(1, 1) & 1)) {
        PlaySe(m_Wait.nMode == 1 ? 12 : 1);
        m_bButtonLock = 1;
        break;
      }
    } else if (--m_Wait.nFrames < 0) {
      break;
    }
    Draw(0, 1, 0, 1);
    Game.Present();
  }
  return 1;
}
