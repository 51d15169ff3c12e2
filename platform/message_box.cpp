#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/box_dialog.h"
#include "platform/script_run.h"
#include "platform/text_encoding.h"
#include "platform/window.h"

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

int DefaultAnswer(const BoxRequest& r) {
  detail::BoxButtonSet set = detail::ButtonsOf(r.buttons);
  int i = r.defaultButton >= 0 && r.defaultButton < set.count ? r.defaultButton : 0;
  return set.ids[i];
}

int ShowOnStderr(const BoxRequest& r) {
  int answer = DefaultAnswer(r);
  std::fprintf(stderr, "[%s] %s\n", Cp932ToUtf8(r.caption).c_str(),
               Cp932ToUtf8(r.text).c_str());
  return answer;
}

// On the main thread. Before the window system is up (the second copy's
// question) it is started for the box alone.
int ShowDrawn(const BoxRequest& r) {
  const bool started = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  if (!started && !StartWindowSystem()) return ShowOnStderr(r);
  int answer = detail::ShowBoxDialog(r);
  if (!started) StopWindowSystem();
  return answer < 0 ? ShowOnStderr(r) : answer;
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
  if (TraceOn()) Trace("box %s", Cp932ToUtf8(request.text).c_str());
  BoxScript script;
  MainThreadCall call;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    script = g_script;
    call = g_mainThreadCall;
  }
  if (script) return script(request);
  if (!HaveDisplay()) return ShowOnStderr(request);
  if (IsMainThread()) return ShowDrawn(request);
  if (!call) return ShowOnStderr(request);
  int answer = BOX_OK;
  call([&] { answer = ShowDrawn(request); });
  return answer;
}

}  // namespace plat
