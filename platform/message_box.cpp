#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/text_encoding.h"

namespace plat {
namespace {

std::mutex g_mutex;
BoxScript g_script;
MainThreadCall g_mainThreadCall;
// Static initialisation runs on the thread that starts the program.
const std::thread::id g_mainThreadId = std::this_thread::get_id();

bool HaveDisplay() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (!std::strcmp(driver, "dummy") || !std::strcmp(driver, "offscreen")))
    return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

struct ButtonSet {
  int count;
  int ids[3];
  const char* labels[3];
};

ButtonSet ButtonsOf(BoxButtons b) {
  switch (b) {
    case BoxButtons::OkCancel: return {2, {BOX_OK, BOX_CANCEL}, {"OK", "Cancel"}};
    case BoxButtons::YesNo: return {2, {BOX_YES, BOX_NO}, {"Yes", "No"}};
    case BoxButtons::YesNoCancel:
      return {3, {BOX_YES, BOX_NO, BOX_CANCEL}, {"Yes", "No", "Cancel"}};
    case BoxButtons::Ok: break;
  }
  return {1, {BOX_OK}, {"OK"}};
}

int DefaultAnswer(const BoxRequest& r) {
  ButtonSet set = ButtonsOf(r.buttons);
  int i = r.defaultButton >= 0 && r.defaultButton < set.count ? r.defaultButton : 0;
  return set.ids[i];
}

int ShowOnStderr(const BoxRequest& r) {
  int answer = DefaultAnswer(r);
  std::fprintf(stderr, "[%s] %s\n", Cp932ToUtf8(r.caption).c_str(),
               Cp932ToUtf8(r.text).c_str());
  return answer;
}

int ShowWithSdl(const BoxRequest& r) {
  ButtonSet set = ButtonsOf(r.buttons);
  SDL_MessageBoxButtonData buttons[3];
  for (int i = 0; i < set.count; ++i) {
    buttons[i].flags = 0;
    if (i == r.defaultButton) buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    buttons[i].buttonid = set.ids[i];
    buttons[i].text = set.labels[i];
  }
  std::string text = Cp932ToUtf8(r.text);
  std::string caption = Cp932ToUtf8(r.caption);
  SDL_MessageBoxData data{};
  data.flags = r.error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  data.title = caption.c_str();
  data.message = text.c_str();
  data.numbuttons = set.count;
  data.buttons = buttons;
  int hit = -1;
  if (SDL_ShowMessageBox(&data, &hit) != 0) return ShowOnStderr(r);
  // Closing the box without a button answers like Escape: Cancel, No or OK.
  if (hit < 0) return set.count == 1 ? BOX_OK : set.ids[set.count - 1];
  return hit;
}

}  // namespace

void SetBoxScript(BoxScript script) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_script = std::move(script);
}

void SetMainThreadCall(MainThreadCall call) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_mainThreadCall = std::move(call);
}

bool IsMainThread() { return std::this_thread::get_id() == g_mainThreadId; }

int ShowBox(const BoxRequest& request) {
  BoxScript script;
  MainThreadCall call;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    script = g_script;
    call = g_mainThreadCall;
  }
  if (script) return script(request);
  if (!HaveDisplay()) return ShowOnStderr(request);
  if (IsMainThread()) return ShowWithSdl(request);
  if (!call) return ShowOnStderr(request);
  int answer = BOX_OK;
  call([&] { answer = ShowWithSdl(request); });
  return answer;
}

}  // namespace plat
