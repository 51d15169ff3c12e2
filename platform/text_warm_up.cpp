// The first face's slow preparations, made beside the start-up's other work.
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/text_internal.h"

namespace plat::text {
namespace {

struct WarmUpThread {
  std::mutex mutex;
  std::thread thread;
  // A run that ends at once still waits for it before the statics it fills go.
  ~WarmUpThread() {
    if (thread.joinable()) thread.join();
  }
};

WarmUpThread& Warm() {
  static WarmUpThread warm;
  return warm;
}

void Prepare() {
  {
    std::lock_guard<std::mutex> faces(detail::Lock());
    if (detail::Library()) detail::PrepareSystemFonts();
  }
  detail::CodeToUnicode(0);  // builds the table on first use
}

}  // namespace

void WarmUp() {
  WarmUpThread& warm = Warm();
  std::lock_guard<std::mutex> lock(warm.mutex);
  if (warm.thread.joinable()) return;
  // Without a thread the first face does it all, as it would anyway.
  try {
    warm.thread = std::thread(Prepare);
  } catch (const std::system_error&) {
  }
}

}  // namespace plat::text
