#pragma once
// The messages through which every thread asks the main window for work, and
// the main window's handle. Threads below the main window reach it only with
// these: a request is sent to hWndMain, and the program ends by a close
// request (PostCloseMessage, or plat::RequestClose from anywhere).
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
// Music kinds of WM_GAME_PLAYBGM: the screens' music (System.dat's list), or
// the stage's own music number.
constexpr int BGMKIND_TITLE = 0;
constexpr int BGMKIND_MAP = 1;  // world map and map menu
constexpr int BGMKIND_STAGESELECT = 2;
constexpr int BGMKIND_OPTION = 3;
constexpr int BGMKIND_STAGE = 4;
// Thread message posted to thGame once it runs; the game thread ignores it.
constexpr uint32_t WM_GAME_START = 0x8000;

// The main window for all threads; none before it exists and after WM_DESTROY.
extern std::atomic<plat::WindowHandle> hWndMain;
// Set by the first WM_CLOSE and never cleared: the program is closing.
extern std::atomic<int> bQuit;
// The application is active (the main window has the focus); the frame
// loops idle while it is 0. Written by the main window.
extern std::atomic<int> bAppActive;

// The done flags of the requests and the result of the file requests:
// cleared by the requesting thread before it sends, set by the main window's
// handler once it has finished (also when it failed). FileDlgResult is 1
// when a file was chosen and handled, 0 when the dialog was cancelled or
// the handling failed without closing the program.
extern std::atomic<int> bNameDone;
extern std::atomic<int> FileDlgDone;
extern std::atomic<int> FileDlgResult;

// Sound effects, from any thread: plays bank slot `slot` (0..16 the system
// sounds) on the main window's thread and returns once it has started.
// Nothing before the main window exists or after it is gone.
void PlaySe(int slot);
// Sound.dat record `number`, which lies in bank slot number + 16; 0 plays
// nothing.
void PlayUserSe(int16_t number);

// A request with a done flag, from a thread other than the main one: clears
// the flag, sends the request to hWndMain (the handler sets the flag) and
// waits while the flag is 0 with 1 ms sleeps. False when the wait ended
// because the program is closing or this thread is being ended.
bool SendRequest(uint32_t message, uintptr_t wParam, intptr_t lParam, std::atomic<int>& done);

// The waiting half of SendRequest.
bool WaitForDone(const std::atomic<int>& done);
