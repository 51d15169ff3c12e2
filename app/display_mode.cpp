#include "app/display_mode.h"

#include "app/hardware_report.h"
#include "app/main_window.h"
#include "base/boxes.h"
#include "media/dd_layer.h"
#include "platform/soft_display.h"
#include "records/system.h"
#include "records/system_ini.h"

int nColorBits = 0;

namespace {

// "画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！"
const char kWindowDepthMismatch[] =
    "\x89\xE6\x96\xCA\x83\x82\x81\x5B\x83\x68\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7\x81\x49\n"
    "\x83\x45\x83\x43\x83\x93\x83\x68\x83\x45\x83\x82\x81\x5B\x83\x68\x82\xC5\x82\xCDSystem.ini\x82\xCC"
    "\x90\xDD\x92\xE8\x82\xC6\x89\xE6\x96\xCA\x82\xCC\x90\x46\x82\xCC\x90\xDD\x92\xE8\x82\xF0\x8D\x87"
    "\x82\xED\x82\xB9\x82\xC4\x89\xBA\x82\xB3\x82\xA2\x81\x49";
// "画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！"
const char kBadScreenMode[] =
    "\x89\xE6\x96\xCA\x83\x82\x81\x5B\x83\x68\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7\x81\x49\n"
    "System.ini\x82\xC6\x89\xE6\x96\xCA\x82\xCC\x90\xDD\x92\xE8\x82\xF0\x8C\xA9\x92\xBC\x82\xB5\x82\xC4"
    "\x89\xBA\x82\xB3\x82\xA2\x81\x49";

// The depth when System.ini leaves it to the program (Bpp 0).
int AutomaticDepth(bool direct3D, bool colourMode1) {
  if (bWindowMode) return plat::GetDesktopBpp();
  if (direct3D) return SystemData.m_nD3DBpp == 1 ? 16 : 32;
  switch (SystemData.m_nDDBpp) {
    case 1: return 16;
    case 2: return colourMode1 ? 32 : 8;  // no palette in colour mode 1
    default: return 32;
  }
}

}  // namespace

bool ChooseDisplayMode() {
  SYSTEMINI& ini = SystemIni;
  const bool direct3D = ini.nDirect3D != 0;
  if (direct3D) {
    bWindowMode = ini.nWindowMode != 0 ? 1 : 0;
    if (ini.nVSync >= 2) ini.nVSync = 1;
  } else if (ini.nWindowMode != 0) {
    ini.nVSync = 0;
    bWindowMode = 1;
  } else {
    bWindowMode = 0;
    if (ini.nVSync >= 2) ini.nVSync = IsWindowsAtLeast(6, 0) ? 0 : 1;
  }

  const bool colourMode1 = SystemData.m_nColourMode == 1;
  if (ini.nBpp == 0) ini.nBpp = AutomaticDepth(direct3D, colourMode1);
  nColorBits = ini.nBpp;

  const int depth = ini.nBpp;
  const int desktop = ini.nWindowMode != 0 ? plat::GetDesktopBpp() : 0;
  const bool allowed = depth == 16 || depth == 32 || (depth == 8 && !direct3D && !colourMode1);
  if (allowed && !bWindowMode) return true;
  if (allowed && depth != 8) {
    if (depth != desktop) {
      ErrorBox(kWindowDepthMismatch);
      return false;
    }
    if (direct3D && ini.nWindowMode == 2) MainWindow.AddStyle(WS_THICKFRAME);
    return true;
  }
  ErrorBox(kBadScreenMode);
  return false;
}
