#pragma once
// Inside platform/ only: dialog windows, their controls, their drawing.
// Main thread only.
#include <SDL.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_box.h"
#include "platform/window_ops.h"

namespace plat::detail {

struct DialogWindow;

// Posted to a dialog with each of its window-system events, to wake its
// pump; the events themselves wait in the dialog's input queue, which the
// pump serves after the posted messages, as input comes after posts. Outside
// the ranges that programs use.
constexpr uint32_t kDialogWakeMessage = 0xC0DE;

// Drawing into a dialog's window surface; coordinates are relative to the
// origin (the client area's top-left corner) and clipped to `clip`.
struct Canvas {
  SDL_Surface* surface;
  int originX, originY;
  SDL_Rect clip;  // surface coordinates
  void Fill(int x, int y, int w, int h, uint32_t rgb) const;
  void Frame(int x, int y, int w, int h, uint32_t rgb) const;
  // Raised (sunken = false) or sunken 3D edge, two pixels wide.
  void Edge(int x, int y, int w, int h, bool sunken) const;
  // The dotted frame that marks the focused control.
  void DottedFrame(int x, int y, int w, int h) const;
  // Shift-JIS text with its top-left corner at x, y; returns its width.
  int Text(int x, int y, const std::string& sjis, uint32_t rgb, bool underline = false) const;
  Canvas Inside(int x, int y, int w, int h) const;  // a clipped sub-area with its own origin
};

// Colours of the dialogs.
constexpr uint32_t kColorFace = 0xD4D0C8;
constexpr uint32_t kColorLight = 0xFFFFFF;
constexpr uint32_t kColorShadow = 0x808080;
constexpr uint32_t kColorDark = 0x404040;
constexpr uint32_t kColorText = 0x000000;
constexpr uint32_t kColorGrayText = 0x808080;
constexpr uint32_t kColorWindow = 0xFFFFFF;
constexpr uint32_t kColorHighlight = 0x0A246A;
constexpr uint32_t kColorCaption = 0x0A246A;

// The one place where dialog text meets a font (the text layer's dialog
// face): draws Shift-JIS text on one line with its cell's top-left corner at
// x, y (surface pixels, clipped) and returns its width.
int DrawDialogText(SDL_Surface* surface, const SDL_Rect& clip, int x, int y, const std::string& sjis,
                   uint32_t rgb, bool underline);
// Width in pixels of the first `bytes` bytes of the text (all of it by default).
int DialogTextWidth(const std::string& sjis, size_t bytes = std::string::npos);
// Height of a line of dialog text in pixels.
int DialogLineHeight();
// Splits text into lines that fit `width` pixels, at line breaks (CR, LF or
// both) and, for long lines, after the last blank that fits (or anywhere
// when there is none).
std::vector<std::string> WrapText(const std::string& sjis, int width);

// One control of a dialog: a window of the main thread whose procedure is
// Proc; its rectangle is in the dialog's client pixels.
class Widget {
 public:
  Widget(DialogWindow& dialog, const DialogItem& item, const Rect& rect);
  virtual ~Widget() = default;

  // The control's messages (WM_SETTEXT, WM_ENABLE, ...), after subclasses.
  virtual intptr_t Proc(uint32_t message, uintptr_t wParam, intptr_t lParam);
  virtual void Paint(const Canvas& canvas, bool focused) = 0;
  virtual bool TakesFocus() const { return false; }
  virtual bool WantsArrows() const { return false; }
  virtual bool IsButton() const { return false; }
  virtual void MouseDown(Point local) {}
  virtual void MouseUp(Point local, bool inside) {}
  virtual void TextInput(const std::string& utf8) {}
  virtual void TextEditing(const std::string& utf8) {}
  virtual int CompositionBytes() const { return 0; }
  virtual void Click() {}
  // Where the input method's candidate window belongs (client pixels).
  virtual Rect CaretRect() const { return m_rect; }
  // A scroll bar's values; null for other controls.
  virtual ScrollInfo* ScrollValues() { return nullptr; }

  bool Enabled() const { return !(m_style & WS_DISABLED); }
  bool Visible() const { return (m_style & WS_VISIBLE) != 0; }
  bool Contains(Point client) const;
  // WM_COMMAND with this control's id and `code` to the dialog.
  void Notify(int code);
  void Invalidate();

  DialogWindow& m_dialog;
  WindowHandle m_handle;
  int m_id;
  ItemKind m_kind;
  uint32_t m_style;
  std::string m_text;
  Rect m_rect;
  std::unique_ptr<WindowOps> m_ops;  // its place and style, by handle
};

std::unique_ptr<Widget> MakeWidget(DialogWindow& dialog, const DialogItem& item, const Rect& rect);
std::unique_ptr<Widget> MakeEditWidget(DialogWindow& dialog, const DialogItem& item, const Rect& rect);
std::unique_ptr<Widget> MakeListWidget(DialogWindow& dialog, const DialogItem& item, const Rect& rect);

struct DialogWindow {
  WindowHandle handle;
  WindowHandle owner;
  SDL_Window* sdl = nullptr;
  uint32_t windowId = 0;
  uint32_t style = 0;
  std::string title;
  FrameInsets frame;
  int clientWidth = 0, clientHeight = 0;
  std::vector<std::unique_ptr<Widget>> widgets;
  Widget* focus = nullptr;
  Widget* capture = nullptr;  // the control that took the left button
  bool closeBoxDown = false;
  WindowProc proc;  // the dialog procedure of DialogBoxParam
  bool ended = false;
  intptr_t result = 0;
  bool dirty = true;
  uint16_t keyMods = 0;  // SDL modifiers of the key being handled
  int clicks = 0;        // 2 for the second press of a double click being handled
  std::unique_ptr<WindowOps> ops;

  Rect CloseBox() const;  // window pixels; empty without one
  Rect CaptionRect() const;
  Point ClientOrigin() const;  // screen
};

DialogWindow* FindDialog(WindowHandle dialog);
DialogWindow* FindDialogBySdlId(uint32_t windowId);
// The control and its dialog, for any control of a running dialog.
Widget* FindWidget(WindowHandle control);

// Moves the keyboard focus (null: none), telling both controls.
void MoveFocus(DialogWindow& dialog, Widget* to);
// Keeps the input method's window at the focused edit's caret.
void UpdateTextInputRect(DialogWindow& dialog);
void PaintDialog(DialogWindow& dialog);

// Handles the dialog's oldest queued input event; false when none waits
// (dialog_input.cpp).
bool HandleNextDialogInput(DialogWindow& dialog);
// Forgets the queued events of a dialog that ends.
void DropDialogInput(WindowHandle dialog);

// Keeps a scroll position within its range and page.
int ClampScrollPos(const ScrollInfo& info, int pos);

}  // namespace plat::detail
