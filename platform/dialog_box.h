#pragma once
// Modal dialogs built from templates, with a small set of controls: static
// text, picture frame, group box, push buttons (the default one takes
// Enter), automatic radio buttons, check boxes with two or three states,
// one-line or multi-line edits holding Shift-JIS text, scroll bars, list
// boxes with one or several lines selected. A dialog
// is a borderless window of its own above its owner; frame, caption (title,
// close box, dragging) and controls are drawn by us. Controls are windows:
// they take messages (WM_SETTEXT, BM_SETCHECK, EM_SETSEL, ...) and tell their
// dialog of changes by WM_COMMAND (control id in the low word of wParam, the
// notification code in the high word, the control's handle id in lParam).
// Keys pass the keyboard hooks first (platform/keyboard_hook.h), then Tab,
// Enter, Escape and Alt+F4 act on the dialog, other keys go to the focused
// control. Main thread only.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/window_geometry.h"

namespace plat {

enum class ItemKind {
  Static,         // text, wrapped at the width
  Picture,        // an empty frame
  GroupBox,       // a frame with its text on the top edge
  PushButton,
  DefPushButton,  // takes Enter
  RadioButton,    // automatic: checking one unchecks the others of its group
  CheckBox,       // automatic, states 0 and 1
  CheckBox3,      // automatic, states 0, 1 and 2
  Edit,
  ScrollBar,      // horizontal unless SBS_VERT
  ListBox,        // lines of Shift-JIS text; LBS_EXTENDEDSEL selects several
};

// Item styles beside WS_TABSTOP, WS_GROUP, WS_BORDER and WS_DISABLED.
constexpr uint32_t ES_MULTILINE = 0x0004;   // CR LF separated lines
constexpr uint32_t ES_AUTOHSCROLL = 0x0080;
constexpr uint32_t ES_WANTRETURN = 0x1000;  // Enter makes a new line
constexpr uint32_t SBS_VERT = 0x0001;
constexpr uint32_t LBS_NOTIFY = 0x0001;       // tells its dialog LBN_SELCHANGE and LBN_DBLCLK
constexpr uint32_t LBS_EXTENDEDSEL = 0x0800;  // Shift and Ctrl with a click or a key select several

// Control ids of the confirming and cancelling buttons (Enter without a
// default button, Escape).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Positions and sizes in dialog units; a unit is a quarter of the base
// width horizontally and an eighth of the base height vertically.
struct DialogItem {
  int id;
  ItemKind kind;
  uint32_t style;
  const char* text;  // Shift-JIS
  int x, y, cx, cy;
};

struct DialogTemplate {
  uint32_t style;  // WS_ bits and DS_MODALFRAME
  int cx, cy;
  const char* fontFace;  // Shift-JIS
  int pointSize;
  const char* title;  // Shift-JIS
  const DialogItem* items;
  int itemCount;
};

constexpr int kDialogBaseUnitX = 6;
constexpr int kDialogBaseUnitY = 12;
// Dialog units to pixels.
Rect MapDialogRect(const Rect& units);

// The program's dialog templates by resource id. The template must live as
// long as it may be used (static tables).
void AddDialogResource(int id, const DialogTemplate* dialog);
const DialogTemplate* FindDialogResource(int id);

// Creates the dialog of resource `resourceId` above `owner`, sends its
// procedure WM_INITDIALOG (a non-zero answer puts the focus on the first
// tab stop), shows it and serves messages in a nested pump until EndDialog.
// Returns EndDialog's result; -1 when the dialog cannot be created; 0 when a
// quit message ends it (the quit message is posted again).
intptr_t DialogBoxParam(int resourceId, WindowHandle owner, WindowProc proc, intptr_t param);
// Ends the dialog's pump with `result`; false when it is not a running dialog.
bool EndDialog(WindowHandle dialog, intptr_t result);

// A control of a dialog by id (the first one of that id); none if none.
WindowHandle GetDlgItem(WindowHandle dialog, int id);
int GetDlgCtrlID(WindowHandle control);
// Adds a control after the template's ones; its rectangle in client pixels.
WindowHandle CreateDialogControl(WindowHandle dialog, const DialogItem& item);

// The text of a dialog (its title) or of a control, Shift-JIS. Setting goes
// through the window's procedure as WM_SETTEXT (an edit then notifies
// EN_UPDATE and EN_CHANGE). `limit` counts the terminator, as a reader's
// buffer would: at most limit - 1 bytes come back (nothing for 0).
bool SetWindowText(WindowHandle window, const std::string& text);
bool GetWindowText(WindowHandle window, std::string& out, size_t limit);
bool SetDlgItemText(WindowHandle dialog, int id, const std::string& text);
bool GetDlgItemText(WindowHandle dialog, int id, std::string& out, size_t limit);

// The control with the keyboard focus in the active dialog; moving it sends
// WM_KILLFOCUS and WM_SETFOCUS. SetFocus returns the one before.
WindowHandle SetFocus(WindowHandle control);
WindowHandle GetFocus();

// Scroll bars: a scroll-bar control (SB_CTL), or the horizontal (SB_HORZ)
// and vertical (SB_VERT) bar values kept on any window. The position is kept
// within min .. max - (page - 1).
struct ScrollInfo {
  unsigned mask = 0;  // SIF_ bits: which fields count
  int min = 0, max = 0;
  unsigned page = 0;
  int pos = 0, trackPos = 0;
};
bool SetScrollInfo(WindowHandle window, int bar, const ScrollInfo& info);
bool GetScrollInfo(WindowHandle window, int bar, ScrollInfo& info);

// Tests: called when a dialog shows, with its SDL window id and the
// rectangles of its client area and controls in window pixels, so that a test
// can push events at them (platform/event_push.h).
struct DialogShown {
  struct Item {
    int id;
    WindowHandle control;
    Rect rect;
  };
  WindowHandle dialog;
  uint32_t windowId = 0;
  Rect client;
  Rect closeBox;  // empty without a caption close box
  std::vector<Item> items;
};
using DialogShowHook = std::function<void(const DialogShown&)>;
void SetDialogShowHook(DialogShowHook hook);

// Tests: the pixels of a running dialog's window as last drawn, 0x00RRGGBB,
// row after row. False for no running dialog.
bool CopyDialogPixels(WindowHandle dialog, std::vector<uint32_t>& out, int& width, int& height);

}  // namespace plat
