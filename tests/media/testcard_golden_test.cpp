// The test card at each depth, as the presenter shows it, against its
// golden image (UPDATE_GOLDEN=1 writes them anew).
#include "dd_test_env.h"
#include "support/png_image.h"
#include "support/shown_frame.h"
#include "testcard_points.h"
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
    ExpectTestCardPoints(shown, bpp);
    DDRelease();
  }
}
