#include "platform/close_request.h"

#include <atomic>
#include <mutex>

namespace plat {
namespace {

std::atomic<uint32_t> g_closeRequests{0};
std::mutex g_handlerMutex;
std::function<void()> g_closeHandler;
uint32_t g_unhandled = 0;  // under g_handlerMutex

}  // namespace

void RequestClose() {
  g_closeRequests.fetch_add(1);
  std::function<void()> handler;
  {
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    handler = g_closeHandler;
    if (!handler) ++g_unhandled;
  }
  if (handler) handler();
}

uint32_t CloseRequestCount() { return g_closeRequests.load(); }

void ResetCloseRequests() {
  g_closeRequests.store(0);
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  g_unhandled = 0;
}

uint32_t TakeUnhandledCloseRequests() {
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  const uint32_t n = g_unhandled;
  g_unhandled = 0;
  return n;
}

void SetCloseHandler(std::function<void()> handler) {
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  g_closeHandler = std::move(handler);
}

}  // namespace plat
