#include "app/main_window.h"

#include "base/report_log.h"
#include "base/thread.h"
#include "app/win_main.h"
#include "platform/clock.h"
#include "platform/close_request.h"
#include "platform/thread.h"
#include "platform/window.h"

cMainWindow MainWindow;

namespace {

// "WM_CLOSE 成功！"
const char kCloseDone[] = "WM_CLOSE \x90\xAC\x8C\xF7\x81\x49";

}  // namespace

intptr_t WndProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return MainWindow.WindowProc(hWnd, message, wParam, lParam);
}

bool cMainWindow::Create() {
  plat::WindowLayout layout;
  layout.x = 100;
  layout.y = 100;
  layout.clientWidth = 640;
  layout.clientHeight = 480;
  plat::WindowHandle window = plat::CreateAppWindow(layout, WndProc);
  if (!window) return false;
  hWndMain = window;
  // From now on a close request from anywhere is this window's WM_CLOSE.
  plat::SetCloseHandler([] { plat::Post(hWndMain.load(), WM_CLOSE, 0, 0); });
  return true;
}

intptr_t cMainWindow::WindowProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam,
                                 intptr_t lParam) {
  m_hWnd = hWnd;
  m_bAttached = 1;
  switch (message) {
    case WM_CREATE:
      m_bCreated = 1;
      return 0;
    case WM_DESTROY:
      return OnDestroy();
    case WM_CLOSE:
      return OnClose(hWnd);
    case WM_ACTIVATEAPP:
      bAppActive = static_cast<int>(wParam);
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

intptr_t cMainWindow::OnClose(plat::WindowHandle hWnd) {
  bQuit = 1;
  // A stage wait runs: end it first. The stage closes on its next step and
  // posts WM_CLOSE again, which then ends the rest.
  if (thPause.HasThread()) {
    DebugLogPuts("WM_CLOSE thPause.m_hThread");
    // The handle's own id: m_dwThreadId may lag behind a start on the game thread.
    plat::PostToThread(thPause.m_hThread.Id(), WM_QUIT, 0, 0);
    return 0;
  }
  DebugLogPuts(kCloseDone);
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
