#include "platform/close_request.h"

#include <atomic>
#include <mutex>

namespace plat {
namespace {

std::atomic<uint32_t> g_closeRequests{0};
std::mutex g_handlerMutex;
std::function<void()> g_closeHandler;

}  // namespace

void RequestClose() {
  g_closeRequests.fetch_add(1);
  std::function<void()> handler;
  {
    std::lock_guard<std::mutex> lock(g_handlerMutex);
    handler = g_closeHandler;
  }
  if (handler) handler();
}

uint32_t CloseRequestCount() { return g_closeRequests.load(); }

void ResetCloseRequests() { g_closeRequests.store(0); }

void SetCloseHandler(std::function<void()> handler) {
  std::lock_guard<std::mutex> lock(g_handlerMutex);
  g_closeHandler = std::move(handler);
}

}  // namespace plat
