#include "app/window.h"

#include "app/controls.h"
#include "base/report_log.h"
#include "platform/input.h"
#include "platform/input_state.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"

namespace {

// "GetCursorPos失敗！"
const char kNoCursor[] = "GetCursorPos\x8E\xB8\x94\x73\x81\x49";

// Shared by every window, as the buttons are.
int g_lastLeft = 0, g_lastRight = 0;
int g_leftLatch = 0, g_rightLatch = 0;

void Press(int held, int& latch, int32_t& pressed) {
  if (!held) {
    latch = 0;
    pressed = 0;
  } else if (latch) {
    pressed = 0;
  } else {
    latch = 1;
    pressed = 1;
  }
}

}  // namespace

void MouseButtons(MOUSESTATE& mouse, int flags) {
  g_lastLeft = mouse.bLeft;
  g_lastRight = mouse.bRight;
  if (flags & 1) {
    mouse.bLeft = plat::IsKeyDown(VK_LBUTTON) ? 1 : 0;
    mouse.bRight = plat::IsKeyDown(VK_RBUTTON) ? 1 : 0;
  }
  if (flags & 2) {
    Press(mouse.bLeft, g_leftLatch, mouse.bLeftPush);
    Press(mouse.bRight, g_rightLatch, mouse.bRightPush);
  }
  if (flags & 4) {
    mouse.bLeftRelease = g_lastLeft == 1 && mouse.bLeft == 0 ? 1 : 0;
    mouse.bRightRelease = g_lastRight == 1 && mouse.bRight == 0 ? 1 : 0;
  }
}

cWindow::cWindow() = default;

cWindow::~cWindow() = default;

void cWindow::OnCommand(uintptr_t, intptr_t) {}
void cWindow::OnMouseMove(uintptr_t, intptr_t) {}
void cWindow::OnLButtonDown(uintptr_t, intptr_t) {}
void cWindow::OnRButtonDown(uintptr_t, intptr_t) {}
void cWindow::OnLButtonDblClk(uintptr_t, intptr_t) {}
void cWindow::OnRButtonDblClk(uintptr_t, intptr_t) {}
void cWindow::OnLButtonUp(uintptr_t, intptr_t) {}
void cWindow::OnRButtonUp(uintptr_t, intptr_t) {}
void cWindow::OnPaint() {}

intptr_t cWindow::WindowProc(plat::WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

intptr_t cWindow::HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  m_hWnd = hWnd;
  if (message == WM_COMMAND) {
    // A command raised by the handling of another one (an edit's EN_UPDATE
    // when a handler sets its text) is not handled again.
    if (m_bInCommand) return 0;
    m_bInCommand = 1;
  }
  if (m_bTrace && message != 0x000D /* WM_GETTEXT */) {
    DebugLogPrintf("%s | msg:%s | wp:%u(%u,%u) | lp:%d(%d,%d)", m_strTraceName.c_str(), GetMessageName(message),
                   static_cast<unsigned>(wParam), plat::HiWord(wParam), plat::LoWord(wParam),
                   static_cast<int>(lParam), static_cast<int>(plat::HiWord(static_cast<uintptr_t>(lParam))),
                   static_cast<int>(plat::LoWord(static_cast<uintptr_t>(lParam))));
  }
  UpdateMouse(0, 7);
  switch (message) {
    case WM_DESTROY: m_hWnd = plat::WindowHandle{}; return 1;
    case WM_MOVE: GetWindowPos(m_nPosX, m_nPosY); return 1;
    case WM_SIZE: UpdateMetrics(); return 1;
    case WM_ACTIVATEAPP: return 1;
    case WM_PAINT: OnPaint(); return 1;
    case WM_GETMINMAXINFO: GetMinMaxInfo(reinterpret_cast<plat::MinMaxInfo*>(lParam)); return 1;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      EndCommand();
      return 1;
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 1;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 1;
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 1;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 1;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, lParam); return 1;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 1;
    case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 1;
    default: return 0;
  }
}

void cWindow::InitResource(int resourceId, plat::WindowHandle parent, cWindowLists* lists) {
  m_nResourceId = resourceId;
  m_hParent = parent;
  m_pLists = lists;
  m_hInstance = 0;  // one module: the program's own
}

void cWindow::SetGeometry(int width, int height, int minWidth, int minHeight, int maxWidth, int maxHeight,
                          uint32_t style, int menu, int toolRows, int statusKind, int statusOption,
                          int scrollBits) {
  m_nWantW = width;
  m_nWantH = height;
  m_nMinW = minWidth;
  m_nMinH = minHeight;
  m_nMaxW = maxWidth;
  m_nMaxH = maxHeight;
  m_dwStyle = style;
  m_bMenu = menu;
  m_nToolRows = toolRows;
  m_nStatusKind = statusKind;
  m_nStatusOption = statusOption;
  m_nScrollBits = scrollBits;
  m_nViewY = toolRows * 28;
  m_nViewX = 0;
  int barW = (scrollBits & 2) ? plat::GetSystemMetrics(SM_CXVSCROLL) : 0;
  int barH = (scrollBits & 1) ? plat::GetSystemMetrics(SM_CYHSCROLL) : 0;
  if (statusKind == 1 || statusKind == 2) barH += 20;
  barH += m_nViewY;
  m_szMinTrack = {minWidth + barW, minHeight + barH};
  m_szMaxTrack = {maxWidth + barW, maxHeight + barH};
  m_rcWanted = {0, 0, width + barW, height + barH};
  m_rcClient = m_rcWanted;
  ComputeFrame();
}

void cWindow::ComputeFrame() {
  m_rcOuter = m_rcClient;
  m_nFrameLeft = m_nFrameRight = m_nFrameTop = m_nFrameBottom = 0;
  if ((m_dwStyle & WS_CAPTION) == WS_CAPTION) m_nFrameTop += plat::GetSystemMetrics(SM_CYCAPTION);
  if (m_dwStyle & WS_THICKFRAME) {
    m_nFrameLeft += plat::GetSystemMetrics(SM_CXFRAME);
    m_nFrameRight += plat::GetSystemMetrics(SM_CXFRAME);
    m_nFrameTop += plat::GetSystemMetrics(SM_CYFRAME);
    m_nFrameBottom += plat::GetSystemMetrics(SM_CYFRAME);
  } else if ((m_dwStyle & WS_CAPTION) == WS_DLGFRAME) {
    // The dialog frame of a caption is the caption's own.
    m_nFrameLeft += plat::GetSystemMetrics(SM_CXDLGFRAME);
    m_nFrameRight += plat::GetSystemMetrics(SM_CXDLGFRAME);
    m_nFrameTop += plat::GetSystemMetrics(SM_CYDLGFRAME);
    m_nFrameBottom += plat::GetSystemMetrics(SM_CYDLGFRAME);
  }
  if (m_bMenu) m_nFrameTop += plat::GetSystemMetrics(SM_CYMENU);
  const int clientW = m_rcClient.Width(), clientH = m_rcClient.Height();
  m_rcOuter = {0, 0, clientW + m_nFrameLeft + m_nFrameRight, clientH + m_nFrameTop + m_nFrameBottom};
  m_nViewX = 0;
  m_nViewY = m_nToolRows * 28;
  m_nViewW = clientW;
  m_nViewH = clientH - m_nViewY;
  if (m_nScrollBits & 1) m_nViewH -= plat::GetSystemMetrics(SM_CYHSCROLL);
  if (m_nScrollBits & 2) m_nViewW -= plat::GetSystemMetrics(SM_CXVSCROLL);
  if (m_nStatusKind == 1) m_nViewH -= 20;
}

void cWindow::UpdateMetrics() {
  // Without a window the stored geometry stands.
  if (!plat::IsWindow(m_hWnd)) {
    ComputeFrame();
    return;
  }
  m_dwStyle = plat::GetWindowStyle(m_hWnd);
  plat::GetClientRect(m_hWnd, m_rcClient);
  ComputeFrame();
}

void cWindow::GetMinMaxInfo(plat::MinMaxInfo* info) {
  if (!info) return;
  info->minTrackSize = {m_szMinTrack.x + m_nFrameLeft + m_nFrameRight,
                        m_szMinTrack.y + m_nFrameTop + m_nFrameBottom};
  info->maxTrackSize = {m_szMaxTrack.x + m_nFrameLeft + m_nFrameRight,
                        m_szMaxTrack.y + m_nFrameTop + m_nFrameBottom};
}

void cWindow::GetWindowPos(int& x, int& y) {
  plat::Rect r;
  if (!plat::GetWindowRect(m_hWnd, r)) return;
  x = r.left;
  y = r.top;
}

void cWindow::Move(int x, int y) {
  plat::SetWindowPos(m_hWnd, x, y, m_rcOuter.Width(), m_rcOuter.Height());
  m_nPosX = x;
  m_nPosY = y;
  ComputeFrame();
}

void cWindow::Place() {
  auto clampAndMove = [this](int x, int y) {
    plat::Rect work = plat::GetWorkArea();
    const int w = m_rcOuter.Width(), h = m_rcOuter.Height();
    if (x < 0)
      x = 0;
    else if (x + w >= work.right)
      x = work.right - w;
    if (y < 0)
      y = 0;
    else if (y + h >= work.bottom)
      y = work.bottom - h;
    m_nReqX = x;
    m_nReqY = y;
    Move(x, y);
  };
  if (m_pCenterWnd) {
    int x = m_pCenterWnd->m_nPosX, y = m_pCenterWnd->m_nPosY;
    if (m_bCenter) {
      x += m_pCenterWnd->m_rcClient.Width() / 2 - m_rcClient.Width() / 2;
      y += m_pCenterWnd->m_rcClient.Height() / 2 - m_rcClient.Height() / 2;
    }
    clampAndMove(x, y);
    return;
  }
  plat::Rect owner;
  if (m_pCenterCtrl && plat::GetWindowRect(m_pCenterCtrl->m_hWnd, owner)) {
    int x = owner.left, y = owner.top;
    if (m_bCenter) {
      x += owner.Width() / 2 - m_rcClient.Width() / 2;
      y += owner.Height() / 2 - m_rcClient.Height() / 2;
    }
    clampAndMove(x, y);
    return;
  }
  if (m_nReqX == -1000 || m_nReqY == -1000) return;
  clampAndMove(m_nReqX, m_nReqY);
}

void cWindow::CenterOnDesktop() {
  plat::Rect desk = plat::GetDesktopRect();
  plat::Rect w{0, 0, m_rcOuter.Width(), m_rcOuter.Height()};
  plat::GetWindowRect(m_hWnd, w);
  Move((w.left + desk.right - w.right) / 2, (w.top + desk.bottom - w.bottom) / 2);
}

plat::Rect* cWindow::GetClientRect(plat::Rect& out) {
  return plat::GetClientRect(m_hWnd, out) ? &out : nullptr;
}

void cWindow::SetClientSize(int width, int height) {
  m_rcClient = {0, 0, width, height};
  int x = m_nPosX, y = m_nPosY;
  GetWindowPos(x, y);
  plat::SetWindowPos(m_hWnd, x, y, width + m_nFrameLeft + m_nFrameRight, height + m_nFrameTop + m_nFrameBottom);
  ComputeFrame();
}

void cWindow::AddStyle(uint32_t bits) {
  plat::SetWindowStyle(m_hWnd, plat::GetWindowStyle(m_hWnd) | bits);
  UpdateMetrics();
}

void cWindow::RemoveStyle(uint32_t bits) {
  plat::SetWindowStyle(m_hWnd, plat::GetWindowStyle(m_hWnd) & ~bits);
  UpdateMetrics();
}

void cWindow::EndCommand() { m_bInCommand = 0; }

int cWindow::AcceptCommand(uintptr_t) { return 1; }

bool cWindow::UpdateMouse(int anywhere, int flags) {
  plat::Point p;
  if (!plat::GetCursorPos(p)) DebugLogPrintf("%s", kNoCursor);
  plat::Point screen = p;
  plat::ScreenToClient(m_hWnd, p);
  p.x -= m_nViewX;
  p.y -= m_nViewY;
  if (!anywhere && (p.x < 0 || p.x >= m_nViewW || p.y < 0 || p.y >= m_nViewH)) return false;
  m_Mouse.x = p.x;
  m_Mouse.y = p.y;
  m_nCursorX = screen.x;
  m_nCursorY = screen.y;
  MouseButtons(m_Mouse, flags);
  return true;
}
