// Shows the test card in the game window until its standard input closes,
// SIGTERM or SIGINT comes, the window is closed, or the time given is up.
//   testcard [--bpp 8|16|32] [--fullscreen] [--seconds N]
// Prints "ready" once frames are on the screen. Exit code 0, or 1 when the
// window or the display cannot be made.
#include <poll.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "platform/window.h"
#include "tools/testcard/card.h"

namespace {

volatile sig_atomic_t g_stop = 0;

void OnStopSignal(int) { g_stop = 1; }

// True once standard input is at its end (or closed, or never open).
bool InputClosed() {
  pollfd p{0, POLLIN, 0};
  if (poll(&p, 1, 0) <= 0) return false;
  if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) return true;
  char buf[256];
  return read(0, buf, sizeof buf) <= 0;
}

}  // namespace

int main(int argc, char** argv) {
  int bpp = 32;
  bool fullScreen = false;
  double seconds = 0;  // 0: no limit
  signal(SIGTERM, OnStopSignal);
  signal(SIGINT, OnStopSignal);
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--bpp") && i + 1 < argc) bpp = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--fullscreen")) fullScreen = true;
    else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc) seconds = std::atof(argv[++i]);
  }
  // The card's images go to a folder of their own.
  namespace fs = std::filesystem;
  std::string folder = (fs::temp_directory_path() / "testcardXXXXXX").string();
  if (!mkdtemp(folder.data())) return 1;
  const fs::path previous = fs::current_path();
  fs::current_path(folder);

  int code = 1;
  if (plat::StartWindowSystem()) {
    plat::WindowLayout layout;
    layout.x = 40;
    layout.y = 30;
    bool quit = false;
    plat::WindowHandle window = plat::CreateAppWindow(layout, [&](plat::WindowHandle, uint32_t msg, uintptr_t,
                                                                  intptr_t) -> intptr_t {
      if (msg == WM_CLOSE) quit = true;
      return 0;
    });
    if (window) {
      plat::ShowAppWindow(window);
      if (!fullScreen) plat::SetDesktopBpp(bpp);
      if (DDInit(0, window, 640, 480, bpp, 0, fullScreen ? 0 : 1, 1, 60, 0, nullptr, nullptr, 0, 0) &&
          DrawTestCard()) {
        code = 0;
        bool ready = false;
        const uint32_t start = plat::TimeGetTime();
        while (!quit && !g_stop && !InputClosed() && (seconds <= 0 || plat::TimeGetTime() - start < seconds * 1000)) {
          DDBlt(&Primary, 0, 0, 640, 480, &BackBuffer, 0, 0, 0);
          plat::Message msg;
          while (plat::Peek(msg)) plat::Dispatch(msg);
          if (!ready && plat::GetPresenterStats().shown >= 5) {
            ready = true;
            std::printf("ready\n");
            std::fflush(stdout);
          }
          plat::Sleep(16);
        }
      } else {
        std::fprintf(stderr, "testcard: the display could not be started at %d bits\n", bpp);
      }
      DDRelease();
      plat::DestroyAppWindow(window);
    }
    plat::StopWindowSystem();
  }
  fs::current_path(previous);
  std::error_code ec;
  fs::remove_all(folder, ec);
  return code;
}
