#pragma once
// The main window: the only top-level window, owned by the main thread,
// which alone opens dialogs, plays sounds and music and resets the 3D device.
// Other threads ask for such work with the messages of window_messages.h, and end the
// program by posting WM_CLOSE (PostCloseMessage, or plat::RequestClose from
// anywhere: both reach this window once it exists).
#include <cstdint>

#include "app/window.h"
#include "base/window_messages.h"
#include "platform/messages.h"
#include "platform/rect.h"

// WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX
constexpr uint32_t kMainWindowStyle = 0x80CB0000;

class cMainWindow : public cWindow {
 public:
  // Sets the geometry (client area 640x480, limits 100x100 to 640x480,
  // kMainWindowStyle) and creates the hidden main window at 100, 100 on the
  // main thread, with the window system started, and makes it hWndMain. A
  // close request posted before (plat::RequestClose) is posted to it at once.
  bool Create();
  // Start-up: the toolkit's set-up with the owner lists, and WndProc as the
  // object's window procedure.
  void Init();

  // The window's messages (main thread).
  intptr_t WindowProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  // The toolkit's common handling, with OnCreate for WM_CREATE. WindowProc
  // handles every message itself and does not call it.
  intptr_t HandleMessage(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  virtual void OnCreate(uintptr_t wParam, intptr_t lParam);
  void SetCreated() { m_bCreated = 1; }

  // Notices to the editor that started this run (callers check bFromEditor),
  // on the main thread: the window exists (kind 1, value 1, before start-up),
  // and the run ends (kind 0; value 1 from WM_DESTROY, 0 after a failed
  // start-up). The end is told once per start notice. Nothing happens when
  // the editor does not listen (app/editor_notice.cpp).
  void NotifyEditorStart();
  void NotifyEditorEnd(int result);

  int m_bAttached = 0;  // a message has reached the object
  int m_bCreated = 0;   // WM_CREATE has run
  int m_bEditorEndTold = 0;

 private:
  intptr_t OnClose(plat::WindowHandle hWnd);
  intptr_t OnDestroy();
  intptr_t OnPaintMessage();
  intptr_t OnPaletteMessage();
  void SaveWindowPlacement(plat::WindowHandle hWnd);
  // The requests of the other threads (app/main_window_requests.cpp).
  intptr_t OnNameEntry();
  intptr_t OnOpenStage(plat::WindowHandle hWnd);
  intptr_t OnOpenReplay(plat::WindowHandle hWnd);
  intptr_t OnSaveReplay(uintptr_t which);
  intptr_t OnPlaySe(uintptr_t slot);
  intptr_t OnPlayBgm(uintptr_t kind, intptr_t number);
};

extern cMainWindow MainWindow;

// The client area of the main window in screen pixels, as of its last move.
// Main thread.
extern plat::Rect ClientRectScreen;

// The window procedure of the main window: forwards to MainWindow.
intptr_t WndProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
