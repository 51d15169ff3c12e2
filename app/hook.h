#pragma once
// The key tap of the active dialog: while a dialog of the toolkit is the
// active window, every keystroke of the main thread is also handed to the
// dialog window itself, where its own key handling (scroll keys, the
// controls' OnKey) gets it. Space, the arrows, Delete and F1 to F8 come as
// WM_HOOKKEY (which the dialog turns into WM_KEYDOWN), other keys as
// WM_KEYDOWN or WM_KEYUP. While the input method composes, nothing comes as
// WM_HOOKKEY and Enter is left to the input method. The key still goes on
// to the focused control. Main thread only.
#include <cstdint>

#include "platform/messages.h"

// Keys handed over by the tap (wParam key, lParam keystroke flags).
constexpr uint32_t WM_HOOKKEY = WM_USER + 1000;

class cHook {
 public:
  virtual ~cHook();

  // Called by a dialog as it initialises, with its window and its modeless
  // flag: the window's keys come to it from now on. The hook itself is
  // installed once per run; false only when it had to be and could not be.
  bool KeyboardHook(plat::WindowHandle window, int flag);

  // The hook procedure: code, virtual key, keystroke flags.
  static intptr_t HookProc(int code, uintptr_t key, intptr_t flags);
  static bool IsForwardedKey(uintptr_t key);

  plat::WindowHandle m_hWnd;  // the dialog window served
  int32_t m_nFlag = 0;        // modeless: no WM_KEYDOWN/WM_KEYUP while Ctrl is held
};

// The installed hook (0: none) and Ctrl as the hook saw it (1 from a Ctrl
// press to its release).
extern uintptr_t hKeyboardHook;
extern int32_t bHookCtrlHeld;

// Shutdown (UnInitGame): removes the hook.
void RemoveKeyboardHook();
