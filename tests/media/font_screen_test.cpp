// A screen of Japanese text in the project's default face at each depth: the
// text lands on the same pixels whatever the depth, and on the 3D device
// (whose glyphs blend at their edges) within a pixel of them. With
// FONT_SCREEN_DIR set the screens are also written there as screen8.png,
// screen16.png, screen32.png, screen3d16.png and screen3d32.png to look at.
#include <cstdlib>

#include "font_test_env.h"
#include "support/png_image.h"
#include "support/shown_frame.h"

using testsupport::Sjis;

namespace {

class FontScreen : public FontTest {
 protected:
  static testsupport::RgbImage Shown() { return testsupport::ShownFrame(); }

  // Fonts 0, 1 and 2 as start-up makes them, in "ＭＳ ゴシック".
  static void DrawScreen(DDSURFACEDATA* box) {
    const std::string face = Sjis("ＭＳ ゴシック");
    Font f0, f1, f2;
    ASSERT_TRUE(f0.Create(face.c_str(), 0, 9, 10, 10, kText, box, 1, kFrame, nullptr, 1));
    ASSERT_TRUE(f1.Create(face.c_str(), 0, 16, 16, 16, kText, box, 1, kFrame, nullptr, 1));
    ASSERT_TRUE(f2.Create(face.c_str(), 0, 30, 32, 32, kText, box, 1, kFrame, nullptr, 0));
    f2.DrawText(&BackBuffer, 32, 16, Sjis("ステージ１　クリア！").c_str(), 0);
    f1.DrawTextBox(&BackBuffer, 40, 72, 0, 0,
                   Sjis(" ゲームをはじめる\n つづきから\n オプション\n しゅうりょう").c_str(), 8);
    const std::string lines =
        Sjis("吾輩は猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。\nHP 100/100 SP 50 ｽｺｱ 123456");
    f1.DrawText(&BackBuffer, 16, 160, lines.c_str(), 0);
    f0.DrawTextF(&BackBuffer, 16, 232, "FPS%2d(%2d) %s", 60, 12, Sjis("小さい文字：あいうえお　アイウエオ").c_str());
    f1.m_bCentre = 1;
    f1.DrawText(&BackBuffer, 16, 256, Sjis("centred: Aa1 ｱｲｳ あア漢").c_str(), 0);
    f1.DrawTextBoxF(&BackBuffer, FONT_CENTRE, 320, 0, 0, "%s %d", Sjis("残り").c_str(), 42);
  }
};

}  // namespace

TEST_F(FontScreen, TextLandsOnTheSamePixelsAtEveryDepth) {
  const char* dir = std::getenv("FONT_SCREEN_DIR");
  std::vector<bool> first;
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(StartWithPalette(bpp));
    if (bpp == 8) {
      plat::PalEntry entries[256];
      for (int i = 0; i < 256; ++i) entries[i] = {CurPalette[i].peRed, CurPalette[i].peGreen, CurPalette[i].peBlue, 0};
      DDPalette->SetEntries(0, 256, entries);
    }
    {
      DDSURFACEDATA box;
      ASSERT_TRUE(DDCreateSurface(&box, 640, 480, 0, 1, 0, nullptr, 0));
      DDFillSurface(&box, 40);
      DDFillSurface(&BackBuffer, 20);
      DrawScreen(&box);
    }
    const testsupport::RgbImage shown = Shown();
    ASSERT_EQ(shown.pixels.size(), 640u * 480u);
    if (dir) testsupport::WritePng(std::string(dir) + "/screen" + std::to_string(bpp) + ".png", shown);
    std::vector<bool> text;
    size_t count = 0;
    for (uint32_t p : shown.pixels) {
      text.push_back((p & 0xFFFFFF) == 0xFFFFFF);
      count += text.back();
    }
    EXPECT_GT(count, 3000u) << bpp;
    if (first.empty())
      first = text;
    else
      EXPECT_TRUE(text == first) << bpp << " bits differ from 8";
    DDRelease();
  }

  for (int bpp : {16, 32}) {
    ASSERT_TRUE(Start3DWithPalette(bpp));
    {
      DDSURFACEDATA box;
      ASSERT_TRUE(DDCreateSurface(&box, 640, 480, 0, 0, DTMEMORYTYPE_SYSTEM, nullptr, 0));
      DDFillSurface(&box, 40);
      DDFillSurface(&BackBuffer, 20);
      DrawScreen(&box);
    }
    const testsupport::RgbImage shown = Shown();
    ASSERT_EQ(shown.pixels.size(), 640u * 480u);
    if (dir) testsupport::WritePng(std::string(dir) + "/screen3d" + std::to_string(bpp) + ".png", shown);
    // Every bright pixel lies at most a pixel from a text pixel of the software display.
    size_t bright = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const uint32_t p = shown.pixels[static_cast<size_t>(y) * 640 + x];
        if ((p >> 16 & 0xFF) < 160 || (p >> 8 & 0xFF) < 160 || (p & 0xFF) < 160) continue;
        ++bright;
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy)
          for (int dx = -1; dx <= 1 && !near; ++dx) {
            const int nx = x + dx, ny = y + dy;
            near = nx >= 0 && nx < 640 && ny >= 0 && ny < 480 && first[static_cast<size_t>(ny) * 640 + nx];
          }
        EXPECT_TRUE(near) << bpp << " bits at " << x << "," << y;
      }
    EXPECT_GT(bright, 2000u) << bpp;
    DDRelease();
  }
}
