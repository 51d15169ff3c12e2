#pragma once
// Message numbers of windows and dialog controls beyond the basic ones of
// messages.h, with the values the system's code was written against, and the
// word helpers for their parameters.
#include <cstdint>

#include "platform/messages.h"

constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_SETREDRAW = 0x000B;
constexpr uint32_t WM_SETTEXT = 0x000C;  // lParam: const char*, NUL-terminated Shift-JIS
constexpr uint32_t WM_GETTEXTLENGTH = 0x000E;
constexpr uint32_t WM_GETMINMAXINFO = 0x0024;  // lParam: plat::MinMaxInfo*
constexpr uint32_t WM_NOTIFY = 0x004E;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_INITDIALOG = 0x0110;  // wParam: the first tab-stop control's handle id
constexpr uint32_t WM_HSCROLL = 0x0114;     // wParam: scroll code; lParam: the bar's handle id or 0
constexpr uint32_t WM_VSCROLL = 0x0115;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_CUT = 0x0300;
constexpr uint32_t WM_COPY = 0x0301;
constexpr uint32_t WM_PASTE = 0x0302;
constexpr uint32_t WM_QUERYNEWPALETTE = 0x030F;
constexpr uint32_t WM_PALETTECHANGED = 0x0311;  // wParam: the window whose palette changed
constexpr uint32_t WM_APP = 0x8000;

// WM_SIZE kinds (wParam).
constexpr uintptr_t SIZE_RESTORED = 0;
constexpr uintptr_t SIZE_MINIMIZED = 1;
constexpr uintptr_t SIZE_MAXIMIZED = 2;

// Edit controls.
constexpr uint32_t EM_GETSEL = 0x00B0;  // wParam, lParam: int* start, end (bytes); either may be null
constexpr uint32_t EM_SETSEL = 0x00B1;  // wParam start, lParam end; start -1 drops the selection
// Buttons.
// List boxes. Indices count from 0; LB_ERR answers a bad one.
constexpr uint32_t LB_ADDSTRING = 0x0180;     // lParam: const char*; the new line's index
constexpr uint32_t LB_RESETCONTENT = 0x0184;
constexpr uint32_t LB_SETSEL = 0x0185;        // several: wParam select or not, lParam index (-1 all)
constexpr uint32_t LB_SETCURSEL = 0x0186;     // wParam index (-1 none): that line alone selected
constexpr uint32_t LB_GETSEL = 0x0187;        // wParam index: 1 selected, 0 not
constexpr uint32_t LB_GETCURSEL = 0x0188;     // one: the selected line (LB_ERR none); several: the caret
constexpr uint32_t LB_GETTEXT = 0x0189;       // wParam index, lParam char[LB_GETTEXTLEN + 1]
constexpr uint32_t LB_GETTEXTLEN = 0x018A;
constexpr uint32_t LB_GETCOUNT = 0x018B;
constexpr uint32_t LB_GETTOPINDEX = 0x018E;
constexpr uint32_t LB_GETSELCOUNT = 0x0190;
constexpr uint32_t LB_GETSELITEMS = 0x0191;   // wParam room, lParam int*: the selected lines in order
constexpr uint32_t LB_SETTOPINDEX = 0x0197;
constexpr uint32_t LB_GETITEMRECT = 0x0198;   // wParam index, lParam plat::Rect*: in the control's pixels
constexpr intptr_t LB_ERR = -1;

constexpr uint32_t BM_GETCHECK = 0x00F0;
constexpr uint32_t BM_SETCHECK = 0x00F1;
constexpr uint32_t BM_CLICK = 0x00F5;
// Check states.
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;
constexpr int BST_INDETERMINATE = 2;

// Notification codes (high word of WM_COMMAND's wParam).
constexpr int BN_CLICKED = 0;
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;
constexpr int EN_UPDATE = 0x0400;
constexpr int LBN_SELCHANGE = 1;
constexpr int LBN_DBLCLK = 2;

// Scroll codes and bars.
constexpr int SB_LINEUP = 0;    // also line left
constexpr int SB_LINEDOWN = 1;  // also line right
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr unsigned SIF_RANGE = 0x1;
constexpr unsigned SIF_PAGE = 0x2;
constexpr unsigned SIF_POS = 0x4;
constexpr unsigned SIF_TRACKPOS = 0x10;
constexpr unsigned SIF_ALL = 0x17;

namespace plat {

constexpr uint32_t LoWord(uintptr_t v) { return static_cast<uint32_t>(v & 0xFFFF); }
constexpr uint32_t HiWord(uintptr_t v) { return static_cast<uint32_t>((v >> 16) & 0xFFFF); }
constexpr uintptr_t MakeWParam(uint32_t low, uint32_t high) {
  return static_cast<uintptr_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16));
}
// Two 16-bit values (a point or a size, x or width in the low word); a
// negative one keeps its low 16 bits.
constexpr intptr_t MakeLParam(int low, int high) {
  return static_cast<intptr_t>(MakeWParam(static_cast<uint32_t>(low), static_cast<uint32_t>(high)));
}

}  // namespace plat
