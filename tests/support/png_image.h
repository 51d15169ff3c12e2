#pragma once
// A small PNG reader and writer for the golden images of the drawing tests:
// 8-bit RGB out; 8-bit RGB or RGBA in (any row filter).
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

struct RgbImage {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

bool WritePng(const std::string& path, const RgbImage& image);
bool ReadPng(const std::string& path, RgbImage& image);

// Compares pixels with tests/golden/<name>.png. With UPDATE_GOLDEN=1 in the
// environment the golden is (re)written instead. On a difference the image
// and a diff (differing pixels red over a dimmed copy) are written to
// golden_diff/ in the build folder, and the result says where.
::testing::AssertionResult MatchesGolden(const std::string& name, const RgbImage& actual);

}  // namespace testsupport
