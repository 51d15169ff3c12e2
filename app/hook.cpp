#include "app/hook.h"

#include "base/boxes.h"
#include "platform/keyboard_hook.h"
#include "platform/message_numbers.h"
#include "platform/virtual_keys.h"
#include "platform/window_props.h"

uintptr_t hKeyboardHook = 0;
int32_t bHookCtrlHeld = 0;

namespace {

const char kHookProp[] = "cHook";

// The window's input context: false (after the debug box) when it has none;
// `composing` tells whether the input method is composing there.
bool InputContext(plat::WindowHandle window, bool& composing) {
  bool hasContext = false;
  composing = plat::GetCompositionLength(window, &hasContext) != 0;
  if (!hasContext) {
    DebugBoxPrintf("Err ImmGetContext");
    composing = false;
  }
  return hasContext;
}

}  // namespace

cHook::~cHook() {
  if (m_hWnd && plat::GetProp(m_hWnd, kHookProp) == this) plat::RemoveProp(m_hWnd, kHookProp);
}

bool cHook::KeyboardHook(plat::WindowHandle window, int flag) {
  m_hWnd = window;
  m_nFlag = flag;
  plat::SetProp(window, kHookProp, this);
  if (hKeyboardHook) return true;
  hKeyboardHook = plat::InstallKeyboardHook(&cHook::HookProc);
  return hKeyboardHook != 0;
}

bool cHook::IsForwardedKey(uintptr_t key) {
  return key == VK_SPACE || (key >= VK_LEFT && key <= VK_DOWN) || key == VK_DELETE ||
         (key >= VK_F1 && key <= VK_F8);
}

intptr_t cHook::HookProc(int code, uintptr_t key, intptr_t flags) {
  if (code >= 0 && code != plat::HC_NOREMOVE) {
    plat::WindowHandle active = plat::GetActiveWindow();
    auto* hook = static_cast<cHook*>(plat::GetProp(active, kHookProp));
    if (hook && hook->m_hWnd == active) {
      // A modeless dialog hears nothing while Ctrl is held (shortcuts are the owner's).
      const bool quiet = hook->m_nFlag && bHookCtrlHeld;
      if (static_cast<uint32_t>(flags) & 0x80000000u) {
        if (key == static_cast<uintptr_t>(VK_CONTROL)) bHookCtrlHeld = 0;
        if (!(hook->m_nFlag && bHookCtrlHeld)) plat::Post(active, WM_KEYUP, key, flags);
      } else if (key == static_cast<uintptr_t>(VK_RETURN)) {
        bool composing = false;
        InputContext(active, composing);
        // Enter during a composition is the input method's.
        if (!composing && !quiet) plat::Post(active, WM_KEYDOWN, key, flags);
      } else if (key != static_cast<uintptr_t>(VK_TAB)) {
        bool composing = false;
        bool hasContext = InputContext(active, composing);
        if (hasContext && !composing && IsForwardedKey(key)) {
          plat::Post(active, WM_HOOKKEY, key, flags);
        } else {
          if (key == static_cast<uintptr_t>(VK_CONTROL)) bHookCtrlHeld = 1;
          if (!(hook->m_nFlag && bHookCtrlHeld)) plat::Post(active, WM_KEYDOWN, key, flags);
        }
      }
    }
  }
  return plat::CallNextKeyboardHook(hKeyboardHook, code, key, flags);
}

void RemoveKeyboardHook() {
  if (hKeyboardHook) plat::UninstallKeyboardHook(hKeyboardHook);
  hKeyboardHook = 0;
}
