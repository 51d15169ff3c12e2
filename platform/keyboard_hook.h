#pragma once
// The main thread's keyboard tap: every keystroke that the window system
// delivers to a window of the main thread is shown to the installed hook
// procedures before it goes on to its window. A hook only watches; it cannot
// swallow the key. Main thread only.
#include <cstdint>

#include "platform/messages.h"

namespace plat {

constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;

// code: HC_ACTION; vk: virtual-key code; flags: keystroke flags (bit 30 the
// key was down before, bit 31 released).
using KeyboardHookProc = intptr_t (*)(int code, uintptr_t vk, intptr_t flags);

// Installs a hook in front of those installed before; its handle (never 0),
// or 0 when it cannot be installed.
uintptr_t InstallKeyboardHook(KeyboardHookProc proc);
// False when there is no such hook.
bool UninstallKeyboardHook(uintptr_t hook);
// Hands the keystroke to the hook installed before `hook`; 0 when none.
intptr_t CallNextKeyboardHook(uintptr_t hook, int code, uintptr_t vk, intptr_t flags);
// Tests: while set, every install fails.
void FailKeyboardHookInstalls(bool fail);

// The window that takes the keys: the window the user last activated, or the
// dialog that runs. None before any.
WindowHandle GetActiveWindow();
void SetActiveWindow(WindowHandle window);

// The input method's composition in the window's input context: its length
// in bytes, 0 when nothing is being composed. `hasContext` (may be null)
// tells whether the window has an input context at all (live windows do).
int GetCompositionLength(WindowHandle window, bool* hasContext);

namespace detail {
// The window system shows a keystroke to the hooks.
void RunKeyboardHooks(int vk, uint32_t flags);
}  // namespace detail

}  // namespace plat
