// The text layer drawn from the game and the main thread at once.
#include <gtest/gtest.h>

#include <thread>

#include "platform/text.h"
#include "support/test_support.h"

using plat::text::GlyphMode;
using testsupport::Sjis;

namespace {

std::vector<uint8_t> Draw(plat::text::Face& face, const std::string& text) {
  std::vector<uint8_t> mask(200 * 20, 0);
  face.DrawMask(text.data(), text.size(), GlyphMode::Coverage, {mask.data(), 200, 20, 200}, 0, 0);
  return mask;
}

}  // namespace

TEST(TextThreads, FacesDrawTheSameFromTwoThreadsAtOnce) {
  auto shared = plat::text::OpenFace(Sjis("ＭＳ ゴシック"), 16, 0);
  ASSERT_NE(shared, nullptr);
  const std::string texts[2] = {Sjis("ステージ１　スコア 012345"), Sjis("漢字と英字 Mixed text")};
  // References drawn by one thread, from a face of their own.
  std::vector<uint8_t> expected[2];
  {
    auto own = plat::text::OpenFace(Sjis("ＭＳ ゴシック"), 16, 0);
    for (int i = 0; i < 2; i++) expected[i] = Draw(*own, texts[i]);
  }

  bool same[2] = {true, true};
  auto run = [&](int i) {
    for (int turn = 0; turn < 40; turn++) {
      same[i] = same[i] && Draw(*shared, texts[i]) == expected[i];
      // A face opened and dropped, and the dialogs' text, in between.
      auto other = plat::text::OpenFace(Sjis("ＭＳ Ｐ明朝"), 12 + turn % 3, 0);
      same[i] = same[i] && other != nullptr;
      int w = 0, h = 0;
      same[i] = same[i] && plat::text::MeasureText(plat::text::kDialogFace, 12, texts[i], &w, &h);
      uint32_t pixels[32 * 16] = {};
      plat::text::DrawTextPixels32(pixels, 32, 16, 32, 0, 0, plat::text::kDialogFace, 12,
                                   texts[i], 0xFFFFFF);
    }
  };
  std::thread game(run, 0);
  run(1);
  game.join();
  EXPECT_TRUE(same[0]);
  EXPECT_TRUE(same[1]);
}
