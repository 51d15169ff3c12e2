#include "platform/signals.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/close_request.h"

namespace plat {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr char kStop = 0;

int g_pipe[2] = {-1, -1};
struct sigaction g_previous[3];
std::thread g_watcher;

// Only async-signal-safe work here: one byte into the pipe.
void OnSignal(int signo) {
  int saved = errno;
  char byte = static_cast<char>(signo);
  ssize_t ignored = write(g_pipe[1], &byte, 1);
  (void)ignored;
  errno = saved;
}

void Watch() {
  for (;;) {
    char byte;
    ssize_t got = read(g_pipe[0], &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || byte == kStop) return;
    RequestClose();
  }
}

}  // namespace

bool WatchTerminationSignals() {
  if (g_watcher.joinable()) return true;
  if (pipe(g_pipe) != 0) return false;
  g_watcher = std::thread(Watch);
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(kSignals[i], &action, &g_previous[i]);
  }
  return true;
}

void StopWatchingTerminationSignals() {
  if (!g_watcher.joinable()) return;
  for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
  char stop = kStop;
  ssize_t ignored = write(g_pipe[1], &stop, 1);
  (void)ignored;
  g_watcher.join();
  close(g_pipe[0]);
  close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

}  // namespace plat
