#pragma once
// The test card's marked points as a shown frame has them: each in its
// palette colour, within 8 of each channel (the precision of 5 and 6 bits).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "support/png_image.h"
#include "tools/testcard/card.h"

inline void ExpectTestCardPoints(const testsupport::RgbImage& shown, int bpp) {
  for (int i = 0; i < kTestCardPointCount; ++i) {
    const TestCardPoint& p = kTestCardPoints[i];
    const uint32_t got = shown.pixels[static_cast<size_t>(p.y) * 640 + p.x], want = TestCardColour(p.palette);
    for (int shift : {16, 8, 0})
      EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 8)
          << bpp << " bits, point " << i;
  }
}
