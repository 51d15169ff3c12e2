#include "platform/dialog_box.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/dialog_internal.h"
#include "platform/keyboard_hook.h"
#include "platform/message_box.h"
#include "platform/message_numbers.h"
#include "platform/script_run.h"
#include "platform/text_encoding.h"

namespace plat {
namespace detail {
namespace {

// Main thread only.
std::unordered_map<int, const DialogTemplate*> g_resources;
std::unordered_map<uint32_t, DialogWindow*> g_dialogs;          // by handle
std::unordered_map<uint32_t, DialogWindow*> g_dialogsBySdl;     // by SDL window id
std::unordered_map<uint32_t, Widget*> g_widgets;                // by control handle
std::map<std::pair<uint32_t, int>, ScrollInfo> g_windowBars;    // SB_HORZ / SB_VERT values
DialogShowHook g_showHook;

constexpr int kCloseBoxSize = 16;

class DialogOps : public WindowOps {
 public:
  explicit DialogOps(DialogWindow& d) : m_d(d) {}
  Rect OuterRect() override {
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(m_d.sdl, &x, &y);
    SDL_GetWindowSize(m_d.sdl, &w, &h);
    return {x, y, x + w, y + h};
  }
  Point ClientOrigin() override { return m_d.ClientOrigin(); }
  int ClientWidth() override { return m_d.clientWidth; }
  int ClientHeight() override { return m_d.clientHeight; }
  void Place(int x, int y, int width, int height) override {
    Rect before = OuterRect();
    SDL_SetWindowPosition(m_d.sdl, x, y);
    if (width > 0 && height > 0) SDL_SetWindowSize(m_d.sdl, width, height);
    Relayout();
    Rect after = OuterRect();
    if (after.left != before.left || after.top != before.top) SendMove();
    if (after.Width() != before.Width() || after.Height() != before.Height()) SendSize();
  }
  uint32_t Style() override { return m_d.style; }
  void SetStyle(uint32_t style) override {
    uint32_t old = m_d.style;
    m_d.style = style;
    if ((old ^ style) & WS_VISIBLE) {
      if (style & WS_VISIBLE)
        SDL_ShowWindow(m_d.sdl);
      else
        SDL_HideWindow(m_d.sdl);
    }
    if ((old ^ style) & (WS_CAPTION | WS_THICKFRAME)) {
      Relayout();
      SendSize();
    }
    m_d.dirty = true;
  }

 private:
  void Relayout() {
    Rect r = OuterRect();
    m_d.frame = FrameForStyle(m_d.style);
    m_d.clientWidth = std::max(0, r.Width() - m_d.frame.left - m_d.frame.right);
    m_d.clientHeight = std::max(0, r.Height() - m_d.frame.top - m_d.frame.bottom);
    m_d.dirty = true;
  }
  void SendMove() {
    Point o = m_d.ClientOrigin();
    Send(m_d.handle, WM_MOVE, 0, static_cast<intptr_t>(MakeWParam(o.x, o.y)));
  }
  void SendSize() {
    Send(m_d.handle, WM_SIZE, 0, static_cast<intptr_t>(MakeWParam(m_d.clientWidth, m_d.clientHeight)));
  }
  DialogWindow& m_d;
};

class ControlOps : public WindowOps {
 public:
  explicit ControlOps(Widget& w) : m_w(w) {}
  Rect OuterRect() override {
    Point o = m_w.m_dialog.ClientOrigin();
    return {o.x + m_w.m_rect.left, o.y + m_w.m_rect.top, o.x + m_w.m_rect.right, o.y + m_w.m_rect.bottom};
  }
  Point ClientOrigin() override {
    Rect r = OuterRect();
    return {r.left, r.top};
  }
  int ClientWidth() override { return m_w.m_rect.Width(); }
  int ClientHeight() override { return m_w.m_rect.Height(); }
  void Place(int x, int y, int width, int height) override {
    m_w.m_rect = {x, y, x + std::max(0, width), y + std::max(0, height)};
    m_w.Invalidate();
  }
  uint32_t Style() override { return m_w.m_style; }
  void SetStyle(uint32_t style) override {
    bool wasEnabled = m_w.Enabled();
    m_w.m_style = style;
    if (wasEnabled && !m_w.Enabled() && m_w.m_dialog.focus == &m_w) MoveFocus(m_w.m_dialog, nullptr);
    m_w.Invalidate();
  }

 private:
  Widget& m_w;
};

Widget* AddWidget(DialogWindow& d, const DialogItem& item, const Rect& rect) {
  std::unique_ptr<Widget> widget = MakeWidget(d, item, rect);
  Widget* w = widget.get();
  w->m_handle = CreateMessageWindow([w](WindowHandle, uint32_t m, uintptr_t wp, intptr_t lp) {
    return w->Proc(m, wp, lp);
  });
  g_widgets[w->m_handle.id] = w;
  w->m_ops = std::make_unique<ControlOps>(*w);
  RegisterWindowOps(w->m_handle, w->m_ops.get());
  d.widgets.push_back(std::move(widget));
  return w;
}

void RemoveWidget(Widget& w) {
  UnregisterWindowOps(w.m_handle);
  g_widgets.erase(w.m_handle.id);
  DestroyMessageWindow(w.m_handle);
}

Widget* FirstTabStop(const DialogWindow& d) {
  for (auto& w : d.widgets)
    if ((w->m_style & WS_TABSTOP) && w->Enabled() && w->Visible() && w->TakesFocus()) return w.get();
  return nullptr;
}

SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* area, void* data) {
  auto* d = static_cast<DialogWindow*>(data);
  Rect caption = d->CaptionRect();
  Rect close = d->CloseBox();
  auto inside = [&](const Rect& r) {
    return area->x >= r.left && area->x < r.right && area->y >= r.top && area->y < r.bottom;
  };
  if (inside(caption) && !inside(close)) return SDL_HITTEST_DRAGGABLE;
  return SDL_HITTEST_NORMAL;
}

// The dialog window's own procedure, behind any subclass: queued events and
// then the dialog procedure.
intptr_t DialogWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  DialogWindow* d = FindDialog(window);
  if (!d) return 0;
  if (message == kDialogWakeMessage) return 0;
  if (message == WM_SETTEXT) {
    d->title = lParam ? reinterpret_cast<const char*>(lParam) : "";
    SDL_SetWindowTitle(d->sdl, Cp932ToUtf8(d->title).c_str());
    d->dirty = true;
  }
  WindowProc proc = d->proc;  // the dialog may end inside
  return proc ? proc(window, message, wParam, lParam) : 0;
}

void ReportShown(DialogWindow& d) {
  if (TraceOn()) Trace("dialog %s", Cp932ToUtf8(d.title).c_str());
  if (!g_showHook) return;
  DialogShown shown;
  shown.dialog = d.handle;
  shown.windowId = d.windowId;
  shown.client = {d.frame.left, d.frame.top, d.frame.left + d.clientWidth, d.frame.top + d.clientHeight};
  shown.closeBox = d.CloseBox();
  for (auto& w : d.widgets) {
    Rect r = w->m_rect;
    shown.items.push_back({w->m_id, w->m_handle,
                           {r.left + d.frame.left, r.top + d.frame.top, r.right + d.frame.left,
                            r.bottom + d.frame.top}});
  }
  DialogShowHook hook = g_showHook;
  hook(shown);
}

void Destroy(DialogWindow& d) {
  Send(d.handle, WM_DESTROY, 0, 0);
  for (auto& w : d.widgets) Send(w->m_handle, WM_DESTROY, 0, 0);
  d.focus = d.capture = nullptr;
  for (auto& w : d.widgets) RemoveWidget(*w);
  DropDialogInput(d.handle);
  UnregisterWindowOps(d.handle);
  g_dialogs.erase(d.handle.id);
  g_dialogsBySdl.erase(d.windowId);
  for (auto it = g_windowBars.begin(); it != g_windowBars.end();)
    it = it->first.first == d.handle.id ? g_windowBars.erase(it) : std::next(it);
  DestroyMessageWindow(d.handle);
  SDL_DestroyWindow(d.sdl);
  d.sdl = nullptr;
}

}  // namespace

// --- DialogWindow and Widget -------------------------------------------------

Rect DialogWindow::CaptionRect() const {
  if ((style & WS_CAPTION) != WS_CAPTION) return {};
  int left = frame.left, right = frame.left + clientWidth;
  int bottom = frame.top;
  int top = bottom - GetSystemMetrics(SM_CYCAPTION);
  return {left, top, right, bottom};
}

Rect DialogWindow::CloseBox() const {
  if (!(style & WS_SYSMENU)) return {};
  Rect c = CaptionRect();
  if (c.Height() <= 0) return {};
  int size = std::min(kCloseBoxSize, c.Height() - 2);
  int top = c.top + (c.Height() - size) / 2;
  return {c.right - size - 2, top, c.right - 2, top + size};
}

Point DialogWindow::ClientOrigin() const {
  int x = 0, y = 0;
  if (sdl) SDL_GetWindowPosition(sdl, &x, &y);
  return {x + frame.left, y + frame.top};
}

Widget::Widget(DialogWindow& dialog, const DialogItem& item, const Rect& rect)
    : m_dialog(dialog), m_id(item.id), m_kind(item.kind), m_style(item.style | WS_VISIBLE),
      m_text(item.text ? item.text : ""), m_rect(rect) {}

intptr_t Widget::Proc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_SETTEXT:
      m_text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      Invalidate();
      return 1;
    case WM_GETTEXTLENGTH:
      return static_cast<intptr_t>(m_text.size());
    default:
      return 0;
  }
}

bool Widget::Contains(Point p) const {
  return p.x >= m_rect.left && p.x < m_rect.right && p.y >= m_rect.top && p.y < m_rect.bottom;
}

void Widget::Notify(int code) {
  Send(m_dialog.handle, WM_COMMAND, MakeWParam(static_cast<uint32_t>(m_id), static_cast<uint32_t>(code)),
       static_cast<intptr_t>(m_handle.id));
}

void Widget::Invalidate() { m_dialog.dirty = true; }

DialogWindow* FindDialog(WindowHandle dialog) {
  auto it = g_dialogs.find(dialog.id);
  return it == g_dialogs.end() ? nullptr : it->second;
}

DialogWindow* FindDialogBySdlId(uint32_t windowId) {
  auto it = g_dialogsBySdl.find(windowId);
  return it == g_dialogsBySdl.end() ? nullptr : it->second;
}

Widget* FindWidget(WindowHandle control) {
  auto it = g_widgets.find(control.id);
  return it == g_widgets.end() ? nullptr : it->second;
}

void MoveFocus(DialogWindow& d, Widget* to) {
  Widget* from = d.focus;
  if (from == to) return;
  d.focus = to;
  d.dirty = true;
  if (from) Send(from->m_handle, WM_KILLFOCUS, to ? to->m_handle.id : 0, 0);
  // The focus may have moved on inside.
  if (to && d.focus == to) Send(to->m_handle, WM_SETFOCUS, from ? from->m_handle.id : 0, 0);
  UpdateTextInputRect(d);
}

void UpdateTextInputRect(DialogWindow& d) {
  Widget* f = d.focus;
  if (!f || f->m_kind != ItemKind::Edit) {
    if (SDL_IsTextInputActive()) SDL_StopTextInput();
    return;
  }
  Rect c = f->CaretRect();
  SDL_Rect r{c.left + d.frame.left, c.top + d.frame.top, std::max(1, c.Width()), std::max(1, c.Height())};
  SDL_SetTextInputRect(&r);
  if (!SDL_IsTextInputActive()) SDL_StartTextInput();
}

int ClampScrollPos(const ScrollInfo& info, int pos) {
  int64_t top = static_cast<int64_t>(info.max) - std::max<int64_t>(static_cast<int64_t>(info.page) - 1, 0);
  if (top < info.min) top = info.min;
  if (pos > top) pos = static_cast<int>(top);
  if (pos < info.min) pos = info.min;
  return pos;
}

}  // namespace detail

using namespace detail;

Rect MapDialogRect(const Rect& u) {
  auto x = [](int v) { return v * kDialogBaseUnitX / 4; };
  auto y = [](int v) { return v * kDialogBaseUnitY / 8; };
  return {x(u.left), y(u.top), x(u.right), y(u.bottom)};
}

void AddDialogResource(int id, const DialogTemplate* dialog) {
  if (dialog)
    g_resources[id] = dialog;
  else
    g_resources.erase(id);
}

const DialogTemplate* FindDialogResource(int id) {
  auto it = g_resources.find(id);
  return it == g_resources.end() ? nullptr : it->second;
}

intptr_t DialogBoxParam(int resourceId, WindowHandle owner, WindowProc proc, intptr_t param) {
  const DialogTemplate* t = FindDialogResource(resourceId);
  if (!t || !IsMainThread() || !SDL_WasInit(SDL_INIT_VIDEO)) return -1;

  DialogWindow d;
  d.owner = owner;
  d.style = t->style | WS_VISIBLE;
  // A modal frame is a dialog frame, also without a caption.
  if ((d.style & DS_MODALFRAME) && !(d.style & WS_THICKFRAME)) d.style |= WS_DLGFRAME;
  d.frame = FrameForStyle(d.style);
  Rect client = MapDialogRect({0, 0, t->cx, t->cy});
  d.clientWidth = client.Width();
  d.clientHeight = client.Height();
  d.title = t->title ? t->title : "";
  int outerW = d.clientWidth + d.frame.left + d.frame.right;
  int outerH = d.clientHeight + d.frame.top + d.frame.bottom;
  // Centred over the owner (or the desktop) until the dialog places itself.
  Rect over = GetDesktopRect();
  GetWindowRect(owner, over);
  int x = over.left + (over.Width() - outerW) / 2, y = over.top + (over.Height() - outerH) / 2;
  d.sdl = SDL_CreateWindow(Cp932ToUtf8(d.title).c_str(), x, y, outerW, outerH,
                           SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
  if (!d.sdl) return -1;
  d.windowId = SDL_GetWindowID(d.sdl);
  d.handle = CreateMessageWindow(DialogWindowProc);
  d.ops = std::make_unique<DialogOps>(d);
  RegisterWindowOps(d.handle, d.ops.get());
  g_dialogs[d.handle.id] = &d;
  g_dialogsBySdl[d.windowId] = &d;
  SDL_SetWindowHitTest(d.sdl, HitTest, &d);
  if (SDL_Window* ownerSdl = FindAppSdlWindow(owner)) SDL_SetWindowModalFor(d.sdl, ownerSdl);
  const bool textInputWasOn = SDL_IsTextInputActive();
  for (int i = 0; i < t->itemCount; ++i) {
    const DialogItem& item = t->items[i];
    AddWidget(d, item, MapDialogRect({item.x, item.y, item.x + item.cx, item.y + item.cy}));
  }
  d.proc = std::move(proc);

  Widget* first = FirstTabStop(d);
  intptr_t wantsFocus = Send(d.handle, WM_INITDIALOG, first ? first->m_handle.id : 0, param);
  if (wantsFocus && !d.ended && first && !d.focus) MoveFocus(d, first);

  WindowHandle previousActive = GetActiveWindow();
  if (!d.ended) {
    SDL_ShowWindow(d.sdl);
    SDL_RaiseWindow(d.sdl);
    SetActiveWindow(d.handle);
    PaintDialog(d);
    ReportShown(d);
  }
  while (!d.ended) {
    Message msg;
    if (Peek(msg)) {
      if (msg.message == WM_QUIT) {
        // The program is ending: so is the dialog, and the outer loop hears it too.
        d.ended = true;
        d.result = 0;
        PostQuit(static_cast<int>(msg.wParam));
        break;
      }
      Dispatch(msg);
      continue;
    }
    if (HandleNextDialogInput(d)) continue;
    if (d.dirty) PaintDialog(d);
    WaitForMessage();
  }
  intptr_t result = d.result;
  SDL_HideWindow(d.sdl);
  Destroy(d);
  if (GetActiveWindow() == d.handle || !GetActiveWindow())
    SetActiveWindow(IsWindow(owner) ? owner : (IsWindow(previousActive) ? previousActive : WindowHandle{}));
  if (textInputWasOn)
    SDL_StartTextInput();
  else
    SDL_StopTextInput();
  return result;
}

bool EndDialog(WindowHandle dialog, intptr_t result) {
  DialogWindow* d = FindDialog(dialog);
  if (!d || d->ended) return false;
  d->ended = true;
  d->result = result;
  SDL_HideWindow(d->sdl);
  return true;
}

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
  DialogWindow* d = FindDialog(dialog);
  if (!d) return {};
  for (auto& w : d->widgets)
    if (w->m_id == id) return w->m_handle;
  return {};
}

int GetDlgCtrlID(WindowHandle control) {
  Widget* w = FindWidget(control);
  return w ? w->m_id : 0;
}

WindowHandle CreateDialogControl(WindowHandle dialog, const DialogItem& item) {
  DialogWindow* d = FindDialog(dialog);
  if (!d) return {};
  Widget* w = AddWidget(*d, item, {item.x, item.y, item.x + item.cx, item.y + item.cy});
  d->dirty = true;
  return w->m_handle;
}

bool SetWindowText(WindowHandle window, const std::string& text) {
  if (!FindDialog(window) && !FindWidget(window)) return false;
  std::string copy = text;  // the text goes as a C string, so it ends at a NUL
  Send(window, WM_SETTEXT, 0, reinterpret_cast<intptr_t>(copy.c_str()));
  return true;
}

bool GetWindowText(WindowHandle window, std::string& out, size_t limit) {
  const std::string* text = nullptr;
  if (DialogWindow* d = FindDialog(window))
    text = &d->title;
  else if (Widget* w = FindWidget(window))
    text = &w->m_text;
  if (!text) return false;
  size_t n = std::min(text->size(), limit > 0 ? limit - 1 : 0);
  out.assign(*text, 0, n);
  return true;
}

bool SetDlgItemText(WindowHandle dialog, int id, const std::string& text) {
  return SetWindowText(GetDlgItem(dialog, id), text);
}

bool GetDlgItemText(WindowHandle dialog, int id, std::string& out, size_t limit) {
  return GetWindowText(GetDlgItem(dialog, id), out, limit);
}

WindowHandle SetFocus(WindowHandle window) {
  WindowHandle before = GetFocus();
  if (Widget* w = FindWidget(window)) {
    if (w->Enabled()) MoveFocus(w->m_dialog, w);
  } else if (DialogWindow* d = FindDialog(window)) {
    MoveFocus(*d, nullptr);
  }
  return before;
}

WindowHandle GetFocus() {
  DialogWindow* d = FindDialog(GetActiveWindow());
  return d && d->focus ? d->focus->m_handle : WindowHandle{};
}

bool SetScrollInfo(WindowHandle window, int bar, const ScrollInfo& info) {
  ScrollInfo* target = nullptr;
  Widget* barWidget = nullptr;
  if (bar == SB_CTL) {
    barWidget = FindWidget(window);
    target = barWidget ? barWidget->ScrollValues() : nullptr;
    if (!target) return false;
  } else if (bar == SB_HORZ || bar == SB_VERT) {
    if (!IsWindow(window)) return false;
    target = &g_windowBars[{window.id, bar}];
  } else {
    return false;
  }
  if (info.mask & SIF_RANGE) {
    target->min = info.min;
    target->max = info.max;
  }
  if (info.mask & SIF_PAGE) target->page = info.page;
  if (info.mask & SIF_POS) target->pos = info.pos;
  target->pos = ClampScrollPos(*target, target->pos);
  if (barWidget) barWidget->Invalidate();
  return true;
}

bool GetScrollInfo(WindowHandle window, int bar, ScrollInfo& info) {
  if (bar == SB_CTL) {
    Widget* w = FindWidget(window);
    const ScrollInfo* values = w ? w->ScrollValues() : nullptr;
    if (!values) return false;
    info = *values;
  } else {
    auto it = g_windowBars.find({window.id, bar});
    if (it == g_windowBars.end()) return false;
    info = it->second;
  }
  info.mask = SIF_ALL;
  return true;
}

void SetDialogShowHook(DialogShowHook hook) { g_showHook = std::move(hook); }

int GetCompositionLength(WindowHandle window, bool* hasContext) {
  if (hasContext) *hasContext = IsWindow(window);
  DialogWindow* d = FindDialog(window);
  return d && d->focus ? d->focus->CompositionBytes() : 0;
}

}  // namespace plat
