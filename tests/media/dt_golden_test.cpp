// Pictures of the 3D back end against their golden images (UPDATE_GOLDEN=1
// writes them anew): the test card at 16 and 32 bits, a turned quad, and a
// fade half-way.
#include <cmath>

#include "dd_test_env.h"
#include "media/dd_effects.h"
#include "media/dt_quad.h"
#include "platform/bmp_bytes.h"
#include "support/png_image.h"
#include "support/shown_frame.h"
#include "testcard_points.h"
#include "tools/testcard/card.h"

namespace {

class Golden3D : public DrawingTest {
 protected:
  // The frame as the presenter shows it after DDPresent.
  testsupport::RgbImage Shown() { return testsupport::ShownFrame(); }
};

}  // namespace

TEST_F(Golden3D, TheTestCardAtEachDepth) {
  for (int bpp : {16, 32}) {
    ASSERT_TRUE(Start3D(bpp)) << bpp;
    ASSERT_TRUE(DrawTestCard()) << bpp;
    const testsupport::RgbImage shown = Shown();
    ASSERT_EQ(shown.width, 640);
    EXPECT_TRUE(testsupport::MatchesGolden("testcard3d_" + std::to_string(bpp), shown));
    ExpectTestCardPoints(shown, bpp);
    DDRelease();
  }
}

namespace {

// A 16 x 16 sprite that shows which way it turned: a white arrow with a red
// head pointing right over a blue bar at the top, on the key colour.
std::string ArrowBmp() {
  using namespace bmpbytes;
  std::string rows;
  for (int y = 15; y >= 0; --y)  // bottom-up
    for (int x = 0; x < 16; ++x) {
      int p = 0;
      if (y <= 1) p = 3;
      if (y >= 6 && y <= 9 && x >= 2 && x < 10) p = 1;
      if (x >= 10 && x <= 14 && std::abs(y - 7.5) <= 14.5 - x) p = 2;
      rows += static_cast<char>(p);
    }
  return File(Info(16, 16, 8, 0, 4), Table({0xFF00FF, 0xFFFFFF, 0xFF0000, 0x0000FF}), rows);
}

}  // namespace

TEST_F(Golden3D, TurnedTintedAndTranslucentQuads) {
  ASSERT_TRUE(Start3D(32));
  DDSetTransmit(255, 0, 255);
  m_dir.WriteFile("bmp/Arrow.bmp", ArrowBmp());
  DDSURFACEDATA arrow;
  ASSERT_EQ(DDCreateSurfaceFromFile(&arrow, "bmp\\Arrow.bmp", 1, 32, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0, 0, 0, 0), 0);
  DDFillSurfaceColor(&BackBuffer, 0xFF203040);
  DDFillRectColor(&BackBuffer, 0, 120, 320, 120, 0xFF808080);
  // Three turns of a 96-pixel square about its centre, each a quad of the
  // arrow's 16 x 16 texels: plain, tinted by the vertex colour, and at
  // half opacity over the others.
  struct Turn {
    double cx, cy, degrees;
    uint32_t diffuse;
  };
  const Turn turns[] = {{80, 120, 30, 0xFFFFFFFF}, {240, 120, -100, 0xFF60FF60}, {160, 150, 200, 0x80FFFFFF}};
  for (const Turn& t : turns) {
    const double a = t.degrees * 0.017453292519943295, c = std::cos(a), s = std::sin(a);
    DTVERTEX v[4];
    const double corners[4][2] = {{-48, -48}, {-48, 48}, {48, -48}, {48, 48}};
    const double texels[4][2] = {{0, 0}, {0, 16}, {16, 0}, {16, 16}};
    for (int k = 0; k < 4; ++k)
      DTSetVertex(&v[k], t.cx + corners[k][0] * c - corners[k][1] * s, t.cy + corners[k][0] * s + corners[k][1] * c,
                  texels[k][0], texels[k][1], &arrow, t.diffuse);
    DTSTAGESTATE stage;
    stage.nAlphaOp = D3DTOP_MODULATE;
    EXPECT_EQ(DTDrawQuad(&BackBuffer, &arrow, v, stage), 1);
  }
  testsupport::RgbImage shown = Shown();
  // The picture's left half is enough.
  testsupport::RgbImage part;
  part.width = 320;
  part.height = 240;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) part.pixels.push_back(shown.pixels[static_cast<size_t>(y) * 640 + x]);
  EXPECT_TRUE(testsupport::MatchesGolden("turned_quads3d_32", part));
  DDReleaseSurface(&arrow);
}

TEST_F(Golden3D, AFadeHalfWayDarkensThePictureByAQuad) {
  ASSERT_TRUE(Start3D(32));
  ASSERT_TRUE(DrawTestCard());
  PALETTEENTRY work[256], src[256] = {};
  // 90 degrees shows the picture whole, the next call (45 degrees) covers
  // it with black at alpha 255 - 180.
  EXPECT_FALSE(DDFadeOut(work, 0, 255, 0, 0, 0, 45.0, src, 0));
  EXPECT_FALSE(DDFadeOut(work, 0, 255, 0, 0, 0, 45.0, src, 0));
  testsupport::RgbImage shown = Shown();
  EXPECT_TRUE(testsupport::MatchesGolden("fade_half3d_32", shown));
  // White (255) under black at alpha 75: (255 * 180 + 127) / 255 = 180.
  EXPECT_EQ(shown.pixels[30 * 640 + 40], 0xB4B4B4u);
  EXPECT_TRUE(DDFadeOut(work, 0, 255, 0, 0, 0, 45.0, src, 0));  // angle 0: done
}
