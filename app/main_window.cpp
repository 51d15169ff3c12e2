#include "app/main_window.h"

#include "app/win_main.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "game/game.h"
#include "media/bgm.h"
#include "media/dd_layer.h"
#include "media/dd_restore.h"
#include "media/dd_surface.h"
#include "platform/close_request.h"
#include "platform/message_numbers.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "platform/thread.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "platform/window_geometry.h"
#include "records/path_table.h"
#include "records/system_ini.h"
#include "records/window_data.h"
#include "game/stage_data.h"

plat::Rect ClientRectScreen;

namespace {

// "WM_CLOSE 成功！"
const char kCloseDone[] = "WM_CLOSE \x90\xAC\x8C\xF7\x81\x49";

constexpr int kSavedWindowPath = 47;  // user_data\Window.dat

// The software display runs (not the 3D device).
bool DirectDrawRuns() { return lpDD && !lpDTCon; }

plat::DDSurface* PrimarySurface() { return Primary.lpDDS ? Primary.lpDDS->lpSurface.get() : nullptr; }

}  // namespace

intptr_t WndProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return MainWindow.WindowProc(hWnd, message, wParam, lParam);
}

bool cMainWindow::Create() {
  SetGeometry(640, 480, 100, 100, 640, 480, kMainWindowStyle, 0, 0, 0, 0, 0);
  plat::WindowLayout layout;
  layout.x = 100;
  layout.y = 100;
  layout.clientWidth = m_rcClient.Width();
  layout.clientHeight = m_rcClient.Height();
  layout.style = m_dwStyle;
  plat::WindowHandle window = plat::CreateAppWindow(layout, WndProc);
  if (!window) return false;
  hWndMain = window;
  // From now on a close request from anywhere is this window's WM_CLOSE; one
  // that came before the window existed closes it now.
  plat::SetCloseHandler([] { plat::Post(hWndMain.load(), WM_CLOSE, 0, 0); });
  if (plat::TakeUnhandledCloseRequests() > 0) plat::Post(window, WM_CLOSE, 0, 0);
  return true;
}

void cMainWindow::Init() {
  InitResource(0, plat::WindowHandle{}, &OwnerLists);
  m_lpDlgProc = WndProc;
}

intptr_t cMainWindow::WindowProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam) {
  m_hWnd = hWnd;
  if (!m_bAttached) {
    m_bAttached = 1;
    m_bCreated = 1;
  }
  UpdateMouse(0, 7);
  switch (message) {
    case WM_CREATE:
      SetCreated();
      return 0;
    case WM_DESTROY:
      return OnDestroy();
    case WM_MOVE: {
      plat::Point topLeft{0, 0};
      plat::Point bottomRight{0, 0};
      plat::Rect client;
      if (plat::GetClientRect(hWnd, client)) bottomRight = {client.right, client.bottom};
      plat::ClientToScreen(hWnd, topLeft);
      plat::ClientToScreen(hWnd, bottomRight);
      ClientRectScreen = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
      return 0;
    }
    case WM_SIZE:
      // The main window has no status bar to pass the size on to.
      UpdateMetrics();
      return 0;
    case WM_PAINT:
      return OnPaintMessage();
    case WM_ACTIVATEAPP:
      bAppActive = static_cast<int>(wParam);
      return 0;
    case WM_GETMINMAXINFO:
      // Otherwise the window system's own limits stand.
      if (DirectDrawRuns()) GetMinMaxInfo(reinterpret_cast<plat::MinMaxInfo*>(lParam));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) plat::Post(hWnd, WM_CLOSE, 0, 0);
      return 0;
    case WM_QUERYNEWPALETTE:
      return OnPaletteMessage();
    case WM_PALETTECHANGED:
      if (wParam == hWnd.id) return 0;  // caused by this window
      return OnPaletteMessage();
    case WM_CLOSE:
      return OnClose(hWnd);
    case WM_GAME_NAMEENTRY:
      return OnNameEntry();
    case WM_GAME_OPENSTAGE:
      return OnOpenStage(hWnd);
    case WM_GAME_OPENREPLAY:
      return OnOpenReplay(hWnd);
    case WM_GAME_SAVEREPLAY:
      return OnSaveReplay(wParam);
    case WM_GAME_PLAYSE:
      return OnPlaySe(wParam);
    case WM_GAME_PLAYBGM:
      return OnPlayBgm(wParam, lParam);
    case WM_GAME_RESTOREDEVICE:
      DDRestoreSurface();
      return 0;
    default:
      return 0;
  }
}

intptr_t cMainWindow::HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam,
                                   intptr_t lParam) {
  intptr_t r = cWindow::HandleMessage(hWnd, message, wParam, lParam);
  if (message == WM_CREATE) OnCreate(wParam, lParam);
  return r;
}

void cMainWindow::OnCreate(uintptr_t, intptr_t) {}

// The software display's picture is the presenter's: the window shows the
// last frame again. The back buffer is the game thread's to draw into.
intptr_t cMainWindow::OnPaintMessage() {
  if (!DirectDrawRuns()) return 0;
  if (bWndReady.load() && PrimarySurface()) plat::RepaintPresenter();
  return 0;
}

intptr_t cMainWindow::OnPaletteMessage() {
  plat::DDSurface* primary = PrimarySurface();
  if (DirectDrawRuns() && primary && DDPalette) primary->SetPalette(DDPalette);
  return 0;
}

void cMainWindow::SaveWindowPlacement(plat::WindowHandle hWnd) {
  if (SystemIni.nWindowMode == 0 || !bWndReady.load()) return;
  int x = m_nPosX, y = m_nPosY;
  GetWindowPos(x, y);
  if (plat::IsWindowMinimized(hWnd)) return;
  plat::Rect client;
  if (!plat::GetClientRect(hWnd, client)) return;
  WindowData.Set(x, y, client.Width(), client.Height(), plat::IsWindowMaximized(hWnd) ? 1 : 0);
  WindowData.SaveToFile(PathTable[kSavedWindowPath]);  // a failed write loses only the place
}

intptr_t cMainWindow::OnClose(plat::WindowHandle hWnd) {
  SaveWindowPlacement(hWnd);
  bQuit = 1;
  // A stage wait runs: end it first. The stage closes on its next step and
  // posts WM_CLOSE again, which then ends the rest.
  if (thPause.HasThread()) {
    DebugLogPuts("WM_CLOSE thPause.m_hThread");
    if (CurStage) CurStage->m_bCloseRequested = 1;
    // The handle's own id: m_dwThreadId may lag behind a start on the game thread.
    plat::PostToThread(thPause.m_hThread.Id(), WM_QUIT, 0, 0);
    return 0;
  }
  DebugLogPuts(kCloseDone);
  Bgm.Stop();
  thLoad.Exit();
  thPause.Exit();
  thRanking.Exit();
  DebugLogPuts("thPause.Exit()");
  thGame.Exit();
  DebugLogPuts("thGame.Exit()");
  plat::DestroyAppWindow(hWnd);
  return 0;
}

intptr_t cMainWindow::OnDestroy() {
  DebugLogPuts("WM_DESTROY");
  m_hWnd = plat::WindowHandle{};
  hWndMain = plat::WindowHandle{};
  plat::SetCloseHandler(nullptr);
  if (bFromEditor) NotifyEditorEnd(1);
  plat::PostQuit(0);
  return 0;
}
