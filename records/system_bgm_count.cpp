#include "records/system_bgm_count.h"

#include <atomic>

namespace {
std::atomic<int> g_bgmCount{0};
}

int GetBgmCount() { return g_bgmCount.load(); }

void SetBgmCount(int count) { g_bgmCount.store(count < 0 ? 0 : count); }
