#include "app/game.h"

#include "base/boxes.h"
#include "app/main_window.h"
#include "base/report_log.h"
#include "base/timers.h"
#include "app/win_main.h"
#include "platform/clock.h"
#include "platform/thread.h"

cGame Game;
std::atomic<int> nMeasuredFps{0};
std::atomic<int> nFrameWorkMs{0};

void cGame::WaitFrame() {
  while (!LimitRate(static_cast<unsigned>(m_nFps))) {
    if (plat::IsCancelled()) return;
    plat::Sleep(1);
  }
}

int cGame::Frame() {
  WaitFrame();
  StopwatchStart();
  nMeasuredFps = static_cast<int>(CountPerSecond(1));
  nFrameWorkMs = static_cast<int>(StopwatchElapsed(1));
  return 1;
}

unsigned GameLoop(void*) {
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) {
        DebugLogPuts("GameLoop WM_QUIT!");
        return 1;
      }
      continue;  // WM_GAME_START and anything else is dropped
    }
    if (!bAppActive.load()) {
      plat::Sleep(1);
      continue;
    }
    if (!Game.Frame()) {
      PostCloseMessage(hWndMain);
      return 1;
    }
  }
}
