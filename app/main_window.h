#pragma once
// The main window: the only top-level window, owned by the main thread,
// which alone opens dialogs, plays sounds and music and resets the 3D device.
// Other threads ask for such work with the messages below, and end the
// program by posting WM_CLOSE (PostCloseMessage, or plat::RequestClose from
// anywhere: both reach this window once it exists).
#include <atomic>
#include <cstdint>

#include "platform/messages.h"

// Requests to the main window (sent, so the sender waits for the handler).
constexpr uint32_t WM_GAME_NAMEENTRY = WM_USER + 1;       // done flag bNameDone
constexpr uint32_t WM_GAME_OPENSTAGE = WM_USER + 2;       // FileDlgDone, FileDlgResult
constexpr uint32_t WM_GAME_OPENREPLAY = WM_USER + 3;      // FileDlgDone, FileDlgResult
constexpr uint32_t WM_GAME_SAVEREPLAY = WM_USER + 4;      // wParam 0 current, 1 previous attempt
constexpr uint32_t WM_GAME_PLAYSE = WM_USER + 5;          // wParam sound-effect slot
constexpr uint32_t WM_GAME_PLAYBGM = WM_USER + 6;         // wParam music kind 0..4, lParam kind 4's number
constexpr uint32_t WM_GAME_RESTOREDEVICE = WM_USER + 100;
// Thread message posted to thGame once it runs; the game thread ignores it.
constexpr uint32_t WM_GAME_START = 0x8000;

// The main window for all threads; none before it exists and after WM_DESTROY.
extern std::atomic<plat::WindowHandle> hWndMain;
// Set by the first WM_CLOSE and never cleared: the program is closing.
extern std::atomic<int> bQuit;

class cMainWindow {
 public:
  // Creates the hidden main window (client area 640x480 at 100, 100) on the
  // main thread, with the window system started, and makes it hWndMain.
  bool Create();

  // The window's messages (main thread).
  intptr_t WindowProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

  plat::WindowHandle m_hWnd;
  int m_bAttached = 0;  // a message has reached the object
  int m_bCreated = 0;   // WM_CREATE has run

 private:
  intptr_t OnClose(plat::WindowHandle hWnd);
  intptr_t OnDestroy();
};

extern cMainWindow MainWindow;

// The window procedure of the main window: forwards to MainWindow.
intptr_t WndProc(plat::WindowHandle hWnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// A request with a done flag, from a thread other than the main one: clears
// the flag, sends the request to hWndMain (the handler sets the flag) and
// waits while the flag is 0 with 1 ms sleeps. False when the wait ended
// because the program is closing or this thread is being ended.
bool SendRequest(uint32_t message, uintptr_t wParam, intptr_t lParam, std::atomic<int>& done);

// The waiting half of SendRequest.
bool WaitForDone(const std::atomic<int>& done);
