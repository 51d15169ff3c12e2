// The window system's input on its way: the pointer and the keys are noted,
// keystrokes pass the keyboard hooks, and a dialog's events wait in its input
// queue until its pump has no posted message left, then are handled as the
// dialog manager would: Tab, Enter, Escape, Alt+F4 and the arrows of a button
// group act on the dialog, other keys go to the focused control, clicks to
// the control under the pointer.
#include <SDL.h>

#include <algorithm>
#include <deque>
#include <map>

#include "platform/dialog_internal.h"
#include "platform/input.h"
#include "platform/input_devices.h"
#include "platform/input_state.h"
#include "platform/keyboard_hook.h"
#include "platform/message_numbers.h"
#include "platform/sdl_keys.h"
#include "platform/virtual_keys.h"
#include "platform/window_input.h"

namespace plat::detail {
namespace {

// Each dialog's input not handled yet, by dialog handle. Main thread only.
std::map<uint32_t, std::deque<SDL_Event>> g_input;

constexpr uintptr_t MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8;

uint32_t WindowIdOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT: return e.window.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return e.key.windowID;
    case SDL_TEXTINPUT: return e.text.windowID;
    case SDL_TEXTEDITING: return e.edit.windowID;
    case SDL_MOUSEMOTION: return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return e.button.windowID;
    default: return 0;
  }
}

bool IsInput(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return true;
    default: return false;
  }
}

// The screen position of a point of an SDL window.
void NotePointer(uint32_t windowId, int x, int y) {
  int wx = 0, wy = 0;
  if (SDL_Window* w = SDL_GetWindowFromID(windowId)) SDL_GetWindowPosition(w, &wx, &wy);
  NoteCursor(wx + x, wy + y);
}

uintptr_t MouseKeys() {
  uintptr_t keys = 0;
  if (IsKeyDown(VK_LBUTTON)) keys |= MK_LBUTTON;
  if (IsKeyDown(VK_RBUTTON)) keys |= MK_RBUTTON;
  if (IsKeyDown(VK_SHIFT)) keys |= MK_SHIFT;
  if (IsKeyDown(VK_CONTROL)) keys |= MK_CONTROL;
  return keys;
}

// The control that takes a click at p: the last visible, enabled one that
// holds the point, skipping those that let clicks through to the dialog.
Widget* WidgetAt(DialogWindow& d, Point p) {
  for (auto it = d.widgets.rbegin(); it != d.widgets.rend(); ++it) {
    Widget* w = it->get();
    if (!w->Visible() || !w->Contains(p)) continue;
    if (w->m_kind == ItemKind::Static || w->m_kind == ItemKind::Picture || w->m_kind == ItemKind::GroupBox)
      continue;
    return w->Enabled() ? w : nullptr;
  }
  return nullptr;
}

bool CanTakeFocus(const Widget& w) { return w.Visible() && w.Enabled() && w.TakesFocus(); }

// Tab and Shift+Tab: the next tab stop after the focus, around the end.
void TabFocus(DialogWindow& d, bool back) {
  const int n = static_cast<int>(d.widgets.size());
  if (n == 0) return;
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (d.widgets[i].get() == d.focus) at = i;
  for (int step = 1; step <= n; ++step) {
    int i = at < 0 ? (back ? n - step : step - 1) : ((at + (back ? -step : step)) % n + n) % n;
    Widget* w = d.widgets[i].get();
    if ((w->m_style & WS_TABSTOP) && CanTakeFocus(*w)) {
      MoveFocus(d, w);
      return;
    }
  }
}

// The arrows within the group of the focused button: the group runs from a
// control with WS_GROUP to the next one.
void GroupFocus(DialogWindow& d, bool back) {
  const int n = static_cast<int>(d.widgets.size());
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (d.widgets[i].get() == d.focus) at = i;
  if (at < 0) return;
  int first = at;
  while (first > 0 && !(d.widgets[first]->m_style & WS_GROUP)) --first;
  int last = at;
  while (last + 1 < n && !(d.widgets[last + 1]->m_style & WS_GROUP)) ++last;
  const int size = last - first + 1;
  for (int step = 1; step < size; ++step) {
    int i = first + ((at - first + (back ? -step : step)) % size + size) % size;
    Widget* w = d.widgets[i].get();
    if (!CanTakeFocus(*w)) continue;
    MoveFocus(d, w);
    if (w->m_kind == ItemKind::RadioButton) w->Click();
    return;
  }
}

Widget* DefaultButton(DialogWindow& d) {
  for (auto& w : d.widgets)
    if (w->m_kind == ItemKind::DefPushButton) return w.get();
  return nullptr;
}

void Command(DialogWindow& d, int id, Widget* from) {
  Send(d.handle, WM_COMMAND, MakeWParam(static_cast<uint32_t>(id), BN_CLICKED),
       from ? static_cast<intptr_t>(from->m_handle.id) : 0);
}

// The dialog's own keys; true when the key stops here.
bool DialogKey(DialogWindow& d, int vk, bool alt, bool shift, bool ctrl) {
  Widget* focus = d.focus;
  const bool composing = focus && focus->CompositionBytes() > 0;
  if (vk == VK_F4 && alt) {
    Send(d.handle, WM_CLOSE, 0, 0);
    return true;
  }
  if (composing) {
    // The input method has Enter and Escape for itself.
    return vk == VK_RETURN || vk == VK_ESCAPE;
  }
  switch (vk) {
    case VK_TAB:
      if (ctrl) return false;
      TabFocus(d, shift);
      return true;
    case VK_RETURN: {
      if (focus && focus->m_kind == ItemKind::Edit && (focus->m_style & ES_MULTILINE) &&
          ((focus->m_style & ES_WANTRETURN) || ctrl))
        return false;
      if (focus && (focus->m_kind == ItemKind::PushButton || focus->m_kind == ItemKind::DefPushButton)) {
        Command(d, focus->m_id, focus);
        return true;
      }
      Widget* def = DefaultButton(d);
      if (!def)
        Command(d, kIdOk, nullptr);
      else if (def->Enabled())
        Command(d, def->m_id, def);
      return true;
    }
    case VK_ESCAPE: {
      Widget* cancel = nullptr;
      for (auto& w : d.widgets)
        if (w->m_id == kIdCancel) cancel = w.get();
      Command(d, kIdCancel, cancel);
      return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (!focus || focus->WantsArrows() || !focus->IsButton()) return false;
      GroupFocus(d, vk == VK_LEFT || vk == VK_UP);
      return true;
    default:
      return false;
  }
}

void HandleKey(DialogWindow& d, const SDL_Event& event) {
  const SDL_KeyboardEvent& key = event.key;
  const bool down = key.type == SDL_KEYDOWN;
  const int vk = SidelessKey(NoteKeyEvent(event));
  if (!vk) return;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  const uint32_t flags = KeystrokeFlags(down, key.repeat != 0, alt);
  WindowHandle self = d.handle;
  RunKeyboardHooks(vk, flags);
  if (!FindDialog(self) || d.ended) return;
  d.keyMods = key.keysym.mod;
  if (down && DialogKey(d, vk, alt, (key.keysym.mod & KMOD_SHIFT) != 0, (key.keysym.mod & KMOD_CTRL) != 0))
    return;
  if (d.focus) Send(d.focus->m_handle, down ? WM_KEYDOWN : WM_KEYUP, static_cast<uintptr_t>(vk), flags);
}

void HandleButton(DialogWindow& d, const SDL_Event& event) {
  const SDL_MouseButtonEvent& b = event.button;
  const bool down = b.type == SDL_MOUSEBUTTONDOWN;
  NotePointer(b.windowID, b.x, b.y);
  NoteKeyEvent(event);
  const Point inWindow{b.x, b.y};
  const Point client{b.x - d.frame.left, b.y - d.frame.top};
  Rect close = d.CloseBox();
  const bool onClose = inWindow.x >= close.left && inWindow.x < close.right && inWindow.y >= close.top &&
                       inWindow.y < close.bottom;
  if (b.button == SDL_BUTTON_LEFT) {
    if (down) {
      if (onClose) {
        d.closeBoxDown = true;
        return;
      }
      Widget* w = WidgetAt(d, client);
      if (w) {
        if (CanTakeFocus(*w)) MoveFocus(d, w);
        d.capture = w;
        d.clicks = b.clicks;
        w->MouseDown({client.x - w->m_rect.left, client.y - w->m_rect.top});
        return;
      }
      Send(d.handle, b.clicks >= 2 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MouseKeys(), MakeLParam(client.x, client.y));
      return;
    }
    if (d.closeBoxDown) {
      d.closeBoxDown = false;
      if (onClose) Send(d.handle, WM_CLOSE, 0, 0);
      return;
    }
    if (Widget* w = d.capture) {
      d.capture = nullptr;
      w->MouseUp({client.x - w->m_rect.left, client.y - w->m_rect.top}, w->Contains(client));
      return;
    }
    Send(d.handle, WM_LBUTTONUP, MouseKeys(), MakeLParam(client.x, client.y));
    return;
  }
  if (b.button == SDL_BUTTON_RIGHT) {
    uint32_t message = down ? (b.clicks >= 2 ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
    Widget* w = WidgetAt(d, client);
    Send(w ? w->m_handle : d.handle, message, MouseKeys(), MakeLParam(client.x, client.y));
  }
}

void HandleQueued(DialogWindow& d, const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: HandleKey(d, e); break;
    case SDL_TEXTINPUT:
      if (d.focus) d.focus->TextInput(e.text.text);
      break;
    case SDL_TEXTEDITING:
      if (d.focus) d.focus->TextEditing(e.edit.text);
      break;
    case SDL_MOUSEMOTION:
      NotePointer(e.motion.windowID, e.motion.x, e.motion.y);
      if (!d.capture) {
        Point client{e.motion.x - d.frame.left, e.motion.y - d.frame.top};
        if (!WidgetAt(d, client)) Send(d.handle, WM_MOUSEMOVE, MouseKeys(), MakeLParam(client.x, client.y));
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: HandleButton(d, e); break;
    default: break;
  }
}

// Input for a window that is not a dialog: only noted and shown to the hooks.
void NoteOther(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const bool down = e.type == SDL_KEYDOWN;
      const int vk = SidelessKey(NoteKeyEvent(e));
      if (vk) RunKeyboardHooks(vk, KeystrokeFlags(down, e.key.repeat != 0, (e.key.keysym.mod & KMOD_ALT) != 0));
      break;
    }
    case SDL_MOUSEMOTION: NotePointer(e.motion.windowID, e.motion.x, e.motion.y); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      NotePointer(e.button.windowID, e.button.x, e.button.y);
      NoteKeyEvent(e);
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        if (WindowHandle w = FindAppWindowBySdlId(e.window.windowID)) SetActiveWindow(w);
      }
      break;
    default: break;
  }
}

}  // namespace

bool RouteWindowInput(const SDL_Event& e) {
  const uint32_t id = WindowIdOf(e);
  DialogWindow* d = id ? FindDialogBySdlId(id) : nullptr;
  if (!d && !id && IsInput(e)) d = FindDialog(GetActiveWindow());
  if (!d) {
    NoteOther(e);
    return false;
  }
  if (e.type == SDL_WINDOWEVENT) {
    switch (e.window.event) {
      case SDL_WINDOWEVENT_CLOSE: Post(d->handle, WM_CLOSE, 0, 0); break;
      case SDL_WINDOWEVENT_FOCUS_GAINED: SetActiveWindow(d->handle); break;
      case SDL_WINDOWEVENT_MOVED: {
        Point o = d->ClientOrigin();
        Post(d->handle, WM_MOVE, 0, MakeLParam(o.x, o.y));
        break;
      }
      case SDL_WINDOWEVENT_EXPOSED:
        // The wake-up ends a wait of the dialog's pump, which then repaints.
        d->dirty = true;
        Post(d->handle, kDialogWakeMessage, 0, 0);
        break;
      default: break;
    }
    return true;
  }
  if (!IsInput(e)) return false;
  // The dialog's pump takes it when no posted message waits; the wake-up
  // ends a wait of that pump.
  if (Post(d->handle, kDialogWakeMessage, 0, 0))
    g_input[d->handle.id].push_back(e);
  else
    NoteKeyEvent(e);
  return true;
}

bool HandleNextDialogInput(DialogWindow& d) {
  auto it = g_input.find(d.handle.id);
  if (it == g_input.end() || it->second.empty()) return false;
  SDL_Event e = it->second.front();
  it->second.pop_front();
  if (!d.ended) HandleQueued(d, e);
  return true;
}

void DropDialogInput(WindowHandle dialog) {
  auto it = g_input.find(dialog.id);
  if (it == g_input.end()) return;
  // The keys released meanwhile must not stay down in the table.
  for (const SDL_Event& e : it->second) NoteKeyEvent(e);
  g_input.erase(it);
}

}  // namespace plat::detail
