#pragma once
// Message boxes of the system, and the close message to the main window.
#include "base/text_format.h"
#include "platform/messages.h"

// Box types and answers. The values are fixed: the program compares them as numbers.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// The drawing layer's own box, used while it owns a full-screen display.
// It installs itself when it goes full screen and removes itself (nullptr) after.
using FullScreenBoxFn = int (*)(const char* text, const char* caption, unsigned type);
void SetFullScreenBox(FullScreenBoxFn box);

// The box on the main window, or the drawing layer's box in full screen.
int MessageBoxAuto(const char* text, const char* caption, unsigned type);
// The box on the main window, always (the drawing layer's box shows it so).
int WindowMessageBox(const char* text, const char* caption, unsigned type);

// MessageBoxAuto(text, "エラー", MB_OK). The text is shown as it is.
int ErrorBox(const char* text);
int ErrorBoxPrintf(const char* format, ...) PRINTF_LIKE(1, 2);
// As ErrorBoxPrintf while the debug log is on; otherwise nothing (0).
int DebugBoxPrintf(const char* format, ...) PRINTF_LIKE(1, 2);

// "メモリが不足しています！" and the close message to the main window.
void OutOfMemory();

// Posts the close message to a window of the program. The only window that
// takes it is the main window, so it is the request to end the program: it
// goes to the main window (plat::RequestClose), also when `window` is none
// because the main window does not exist yet or any more (then it is counted
// only).
void PostCloseMessage(plat::WindowHandle window);
