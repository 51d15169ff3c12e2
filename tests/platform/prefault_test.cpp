// Mapping memory ahead of a write in full changes nothing it holds.
#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/prefault.h"

namespace {

struct Range {
  size_t offset;
  size_t bytes;
};

TEST(PrefaultForWrite, KeepsWhatEveryPageHolds) {
  constexpr size_t kSize = 1 << 20;
  const Range ranges[] = {
      {0, 0},                  // nothing
      {0, 100},                // too small to be worth a call
      {1, 64 * 1024 + 3},      // starts and ends inside pages
      {4095, 300000},          // across the written half's end
      {0, kSize},              // the whole mapping
      {kSize / 2, kSize / 2},  // only pages never touched
  };
  for (const Range& r : ranges) {
    void* map = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(map, MAP_FAILED);
    auto* p = static_cast<uint8_t*>(map);
    for (size_t i = 0; i < kSize / 2; ++i) p[i] = static_cast<uint8_t>(i * 7 + 1);
    plat::PrefaultForWrite(p + r.offset, r.bytes);
    size_t wrong = 0;
    for (size_t i = 0; i < kSize; ++i)
      if (p[i] != (i < kSize / 2 ? static_cast<uint8_t>(i * 7 + 1) : 0)) ++wrong;
    EXPECT_EQ(wrong, 0u) << "offset " << r.offset << ", " << r.bytes << " bytes";
    munmap(map, kSize);
  }
  plat::PrefaultForWrite(nullptr, kSize);  // no memory, no call
}

TEST(ResizeForWrite, KeepsElementsAndZeroesNewOnesAsResizeDoes) {
  std::vector<uint32_t> v = {1, 2, 3};
  const std::vector<std::vector<uint32_t>> kept = {{1, 2, 3}, {1, 2}, {1, 2}};
  const size_t sizes[] = {300000, 2, 400000};  // grows past a page run, shrinks, grows again
  for (size_t k = 0; k < 3; ++k) {
    plat::ResizeForWrite(v, sizes[k]);
    ASSERT_EQ(v.size(), sizes[k]);
    EXPECT_TRUE(std::equal(kept[k].begin(), kept[k].end(), v.begin())) << sizes[k];
    EXPECT_TRUE(std::all_of(v.begin() + kept[k].size(), v.end(), [](uint32_t x) { return x == 0; })) << sizes[k];
  }
}

}  // namespace
