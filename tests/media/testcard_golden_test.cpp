// The test card at each depth, as the presenter shows it, against its
// golden image (UPDATE_GOLDEN=1 writes them anew).
#include "dd_test_env.h"
#include "support/png_image.h"
#include "support/shown_frame.h"
#include "tools/testcard/card.h"

namespace {

class TestCard : public DrawingTest {};

}  // namespace

TEST_F(TestCard, EachDepthLooksAsItsGoldenImage) {
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(Start(bpp)) << bpp;
    ASSERT_TRUE(DrawTestCard()) << bpp;
    const testsupport::RgbImage shown = testsupport::ShownFrame();
    ASSERT_EQ(shown.width, 640);
    EXPECT_TRUE(testsupport::MatchesGolden("testcard_" + std::to_string(bpp), shown));
    // The marked points show their palette colours (at 16 bits within the
    // precision of 5 and 6 bits).
    for (int i = 0; i < kTestCardPointCount; ++i) {
      const TestCardPoint& p = kTestCardPoints[i];
      const uint32_t got = shown.pixels[static_cast<size_t>(p.y) * 640 + p.x], want = TestCardColour(p.palette);
      for (int shift : {16, 8, 0})
        EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 8)
            << bpp << " bits, point " << i;
    }
    DDRelease();
  }
}
