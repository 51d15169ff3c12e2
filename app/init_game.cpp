#include "app/init_game.h"

#include "base/crt_random.h"
#include "app/game.h"
#include "app/hardware_report.h"
#include "app/main_window.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "records/arrange.h"

// Data, drawing, sound and input join here in their order as those parts come.
bool InitGame(const std::string&, int) {
  crt::srand(plat::TimeGetTime());
  BuildArrangeParamTable();
  Game.m_nFps = 60;
  Game.m_nFadeStep = 10;
  plat::ShowAppWindow(hWndMain.load());
  ReportDisplayInfo(1);
  return true;
}

void UnInitGame() {}
