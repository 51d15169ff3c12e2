#include "base/crt_random.h"

#include <atomic>

namespace crt {
namespace {
// One generator for the whole program, as in the C runtime. Atomic so that a
// stray call from another thread is not a data race; game logic runs on one
// thread at a time.
std::atomic<unsigned> g_state{1};
}  // namespace

void srand(unsigned seed) { g_state.store(seed, std::memory_order_relaxed); }

int rand() {
  unsigned s = g_state.load(std::memory_order_relaxed) * 214013u + 2531011u;
  g_state.store(s, std::memory_order_relaxed);
  return static_cast<int>((s >> 16) & 0x7FFF);
}

unsigned State() { return g_state.load(std::memory_order_relaxed); }

}  // namespace crt
