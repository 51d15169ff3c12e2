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
// Thread message posted to thGame once it runs; the game thread ignores it.
constexpr uint32_t WM_GAME_START = 0x8000;

// The main window for all threads; none before it exists and after WM_DESTROY.
extern std::atomic<plat::WindowHandle> hWndMain;
// Set by the first WM_CLOSE and never cleared: the program is closing.
extern std::atomic<int> bQuit;

// A request with a done flag, from a thread other than the main one: clears
// the flag, sends the request to hWndMain (the handler sets the flag) and
// waits while the flag is 0 with 1 ms sleeps. False when the wait ended
// because the program is closing or this thread is being ended.
bool SendRequest(uint32_t message, uintptr_t wParam, intptr_t lParam, std::atomic<int>& done);

// The waiting half of SendRequest.
bool WaitForDone(const std::atomic<int>& done);
