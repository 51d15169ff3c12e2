#include "base/boxes.h"

#include <atomic>

#include "base/window_messages.h"
#include "base/report_log.h"
#include "platform/close_request.h"
#include "platform/message_box.h"

namespace {

std::atomic<FullScreenBoxFn> g_fullScreenBox{nullptr};

// "エラー"
const char kErrorCaption[] = "\x83\x47\x83\x89\x81\x5B";
// "メモリが不足しています！"
const char kOutOfMemory[] =
    "\x83\x81\x83\x82\x83\x8A\x82\xAA\x95\x73\x91\xAB\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB7"
    "\x81\x49";

}  // namespace

void SetFullScreenBox(FullScreenBoxFn box) { g_fullScreenBox.store(box); }

int MessageBoxAuto(const char* text, const char* caption, unsigned type) {
  if (FullScreenBoxFn box = g_fullScreenBox.load()) return box(text, caption, type);
  return WindowMessageBox(text, caption, type);
}

int WindowMessageBox(const char* text, const char* caption, unsigned type) {
  plat::BoxRequest request;
  request.text = text ? text : "";
  request.caption = caption ? caption : "";
  switch (type & 0xF) {
    case MB_OKCANCEL: request.buttons = plat::BoxButtons::OkCancel; break;
    case MB_YESNO: request.buttons = plat::BoxButtons::YesNo; break;
    case MB_YESNOCANCEL: request.buttons = plat::BoxButtons::YesNoCancel; break;
    default: request.buttons = plat::BoxButtons::Ok; break;
  }
  request.defaultButton = (type & MB_DEFBUTTON3) ? 2 : (type & MB_DEFBUTTON2) ? 1 : 0;
  request.error = (type & 0xF0) == MB_ICONERROR;
  return plat::ShowBox(request);
}

int ErrorBox(const char* text) { return MessageBoxAuto(text, kErrorCaption, MB_OK); }

int ErrorBoxPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return ErrorBox(text.c_str());
}

int DebugBoxPrintf(const char* format, ...) {
  if (!DebugLogEnabled()) return 0;
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return ErrorBox(text.c_str());
}

void OutOfMemory() {
  ErrorBox(kOutOfMemory);
  PostCloseMessage(hWndMain);
}

void PostCloseMessage(plat::WindowHandle) { plat::RequestClose(); }
