#include "app/init_game.h"

#include "base/crt_random.h"
#include "app/game.h"
#include "app/hardware_report.h"
#include "app/main_window.h"
#include "media/input.h"
#include "media/key_config.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "records/arrange.h"
#include "records/path_table.h"

namespace {

constexpr int kKeyConfigPath = 45;  // user_data\KeyConfig.dat

}  // namespace

// Data, drawing, sound and the rest join here in their order as those parts come.
bool InitGame(const std::string&, int) {
  crt::srand(plat::TimeGetTime());
  BuildArrangeParamTable();
  Game.m_nFps = 60;
  Game.m_dUnused[0] = Game.m_dUnused[1] = 1.0;
  Game.m_nFadeStep = 10;
  Game.m_pSceneMaker = &AppSceneMaker;
  for (cInput& input : Input) input.SetRepeat(18, 6);

  for (cInput& input : Input) input.SetJoyButtonMasks();
  if (!LoadKeyConfig(PathTable[kKeyConfigPath], KeyConfig)) DefaultKeyConfig(KeyConfig);

  plat::ShowAppWindow(hWndMain.load());
  ReportDisplayInfo(1);
  return true;
}

void UnInitGame() { Game.DeleteScenes(); }
