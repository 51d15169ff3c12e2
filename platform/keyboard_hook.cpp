#include "platform/keyboard_hook.h"

#include <vector>

namespace plat {
namespace {

struct Hook {
  uintptr_t handle;
  KeyboardHookProc proc;
};

// Main thread only. The newest hook is last.
std::vector<Hook> g_hooks;
uintptr_t g_nextHandle = 1;
bool g_failInstalls = false;
WindowHandle g_active;

}  // namespace

uintptr_t InstallKeyboardHook(KeyboardHookProc proc) {
  if (g_failInstalls || !proc) return 0;
  g_hooks.push_back({g_nextHandle, proc});
  return g_nextHandle++;
}

bool UninstallKeyboardHook(uintptr_t hook) {
  for (auto it = g_hooks.begin(); it != g_hooks.end(); ++it) {
    if (it->handle == hook) {
      g_hooks.erase(it);
      return true;
    }
  }
  return false;
}

intptr_t CallNextKeyboardHook(uintptr_t hook, int code, uintptr_t vk, intptr_t flags) {
  for (size_t i = g_hooks.size(); i-- > 0;) {
    if (g_hooks[i].handle != hook) continue;
    return i > 0 ? g_hooks[i - 1].proc(code, vk, flags) : 0;
  }
  return 0;
}

void FailKeyboardHookInstalls(bool fail) { g_failInstalls = fail; }

WindowHandle GetActiveWindow() {
  if (g_active && !IsWindow(g_active)) g_active = WindowHandle{};
  return g_active;
}

void SetActiveWindow(WindowHandle window) { g_active = window; }

namespace detail {

void RunKeyboardHooks(int vk, uint32_t flags) {
  if (!g_hooks.empty())
    g_hooks.back().proc(HC_ACTION, static_cast<uintptr_t>(vk), static_cast<intptr_t>(flags));
}

}  // namespace detail

}  // namespace plat
