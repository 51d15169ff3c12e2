#pragma once
// The base of every window object: the main window and the dialogs. It keeps
// the window handle and what is needed to create and place the window,
// computes the outer size from a wanted client size and the style, places
// windows inside the work area, dispatches the common messages to virtual
// handlers and keeps a mouse state. Main thread only.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "platform/messages.h"
#include "platform/window_geometry.h"

class cWindow;
class cControl;

// The owner lists of a dialog: windows and controls it may hide or disable
// while it runs (cDialog::DoModal flags 2 and 4).
struct cWindowLists {
  cVector<cWindow*> m_vWindows;
  cVector<cControl*> m_vControls;
};

// The owner lists of the main window and of every dialog (both stay empty:
// no window of this program hides or disables others while a dialog runs).
extern cWindowLists OwnerLists;

// The mouse as a window last saw it: x, y in view coordinates; held, pressed
// this time, released this time (0 or 1 each).
struct MOUSESTATE {
  int32_t x = 0, y = 0;
  int32_t nMode = 7;
  int32_t bLeft = 0, bRight = 0;
  int32_t bLeftPush = 0, bRightPush = 0;
  int32_t bLeftRelease = 0, bRightRelease = 0;
};

// Updates a mouse record from the buttons' states. flags: 1 held states,
// 2 pressed (1 on the first update that sees the button down), 4 released
// (1 when it was held at the last update and is not now). The last held
// states and the press latches are shared by every window.
void MouseButtons(MOUSESTATE& mouse, int flags);

// The standard name of a window message, the first of several names of one
// number ("WM_KEYFIRST" for 0x100); an unknown number gives its decimal text
// in a buffer that the next such call overwrites.
const char* GetMessageName(uint32_t message);

class cWindow {
 public:
  cWindow();
  virtual ~cWindow();
  cWindow(const cWindow&) = delete;
  cWindow& operator=(const cWindow&) = delete;

  // Handlers of the common messages; empty here.
  virtual void OnCommand(uintptr_t wParam, intptr_t lParam);
  virtual void OnMouseMove(uintptr_t wParam, intptr_t lParam);
  virtual void OnLButtonDown(uintptr_t wParam, intptr_t lParam);
  virtual void OnRButtonDown(uintptr_t wParam, intptr_t lParam);
  virtual void OnLButtonDblClk(uintptr_t wParam, intptr_t lParam);
  virtual void OnRButtonDblClk(uintptr_t wParam, intptr_t lParam);
  virtual void OnLButtonUp(uintptr_t wParam, intptr_t lParam);
  virtual void OnRButtonUp(uintptr_t wParam, intptr_t lParam);
  // The window's own procedure slot: 0 here; the main window's handler and
  // the dialogs' DialogProc take it.
  virtual intptr_t WindowProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
  // The common handling: keeps the handle and the mouse, refuses a
  // WM_COMMAND raised inside another one (0), dispatches; 1 when handled.
  virtual intptr_t HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
  virtual void OnPaint();

  // Keeps the resource id, the parent and the owner lists.
  void InitResource(int resourceId, plat::WindowHandle parent, cWindowLists* lists);
  // Client size, its limits (pixels), style (WS_ bits), menu flag, tool-bar
  // rows, status-bar kind (0 none, 1 or 2) and option, scroll-bar bits (1
  // horizontal, 2 vertical); then the frame.
  void SetGeometry(int width, int height, int minWidth, int minHeight, int maxWidth, int maxHeight,
                   uint32_t style, int menu, int toolRows, int statusKind, int statusOption, int scrollBits);
  // Frame thickness, outer size and view area from the style and client rectangle.
  void ComputeFrame();
  // Style and client rectangle from the window, then the frame.
  void UpdateMetrics();
  void GetMinMaxInfo(plat::MinMaxInfo* info);
  // The outer rectangle's top-left on the screen (unchanged without a window).
  void GetWindowPos(int& x, int& y);
  // Moves the outer rectangle's top-left to x, y (screen pixels).
  void Move(int x, int y);
  // Moves to the requested position kept inside the work area; nothing while
  // either coordinate is -1000.
  void Place();
  void CenterOnDesktop();
  // The client rectangle into `out`; null (out untouched) without a window.
  plat::Rect* GetClientRect(plat::Rect& out);
  void SetClientSize(int width, int height);
  void AddStyle(uint32_t bits);
  void RemoveStyle(uint32_t bits);
  void EndCommand();
  int AcceptCommand(uintptr_t wParam);
  // Reads the cursor into the current mouse record (view coordinates) and
  // the buttons by MouseButtons(flags). Unless `anywhere`, a cursor outside
  // the view returns 0 and changes nothing.
  bool UpdateMouse(int anywhere, int flags);

  // Identity.
  int32_t m_nStyleWord = 0;
  plat::WindowHandle m_hWnd;
  uintptr_t m_hInstance = 0;
  int m_nResourceId = 0;
  // Relations.
  plat::WindowHandle m_hParent;
  int32_t m_nReserved = 0;
  plat::WindowProc m_lpDlgProc;  // dialogs: the procedure handed to the window system
  cWindow* m_pRegistered = nullptr;
  cWindowLists* m_pLists = nullptr;
  // Position of the outer rectangle on the screen.
  int32_t m_nPosX = 0, m_nPosY = 0;
  // View area inside the client area.
  int32_t m_nViewX = 0, m_nViewY = 0, m_nViewW = 0, m_nViewH = 0;
  // Mouse.
  MOUSESTATE m_Mouse;
  int32_t m_nCursorX = 0, m_nCursorY = 0;
  MOUSESTATE m_MousePrev;
  int32_t m_bRightFree = 0;
  // Sizes.
  plat::Rect m_rcWanted;
  plat::Rect m_rcClient;
  plat::Point m_szMinTrack, m_szMaxTrack;
  int32_t m_nWantW = 0, m_nWantH = 0, m_nMinW = 0, m_nMinH = 0, m_nMaxW = 0, m_nMaxH = 0;
  plat::Rect m_rcOuter;
  // Options.
  uint32_t m_dwStyle = 0;
  int32_t m_bMenu = 0;
  int32_t m_nToolRows = 0;
  int32_t m_nStatusKind = 0;
  int32_t m_nStatusOption = 0;
  int32_t m_nScrollBits = 0;
  // Frame.
  int32_t m_nFrameLeft = 0, m_nFrameRight = 0, m_nFrameTop = 0, m_nFrameBottom = 0;
  // Other.
  int32_t m_nSpare = 0;
  int32_t m_bInitialized = 0;
  int32_t m_bInCommand = 0;
  std::string m_strTraceName;
  int32_t m_bTrace = 0;
  int32_t m_nInitWord = 0;
  int32_t m_nReqX = -1000, m_nReqY = -1000;  // requested position; -1000 means none
  // Centring over another window or control instead (no window here sets them).
  cControl* m_pCenterCtrl = nullptr;
  cWindow* m_pCenterWnd = nullptr;
  int32_t m_bCenter = 0;
};

// Deletes a window or dialog object made with new and clears the pointer
// (nothing for a null one). Main thread, after its window is gone.
template <class T>
void DeleteWindowObject(T*& object) {
  delete object;
  object = nullptr;
}
