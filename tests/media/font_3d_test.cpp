// Fonts on the 3D device: glyphs as quads whose edges blend, the same text
// with and without the caches, system-memory targets through the work
// surface, a failed scene, and the caches after a device reset.
#include "font_test_env.h"
#include "media/dd_restore.h"
#include "media/dt_device.h"
#include "media/font_atlas.h"
#include "platform/d3d_device.h"

using Picture = std::vector<std::string>;
using testsupport::Sjis;

namespace {

class Font3D : public FontTest {
 protected:
  void TearDown() override {
    plat::ResetD3DHooks();
    FontTest::TearDown();
  }

  // The text colour of a texture's texel at the running depth (white).
  static uint32_t WhiteTexel() { return nBpp == 16 ? 0xFFFF : 0xFFFFFFFF; }

  // A render-target texture (or a system-memory one) filled with the transparent texel.
  static DDSURFACEDATA Target(int w, int h, int memType = DTMEMORYTYPE_VIDEO_RT) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, w, h, 1, 0, memType, nullptr, 0));
    DDFillSurface(&sd, 0);
    return sd;
  }
};

}  // namespace

TEST_F(Font3D, GlyphEdgesBlendByTheirCoverageInTheTextColour) {
  for (int bpp : {32, 16}) {
    ASSERT_TRUE(Start3DWithPalette(bpp));
    CurPalette[200] = {200, 100, 50, 0};
    {
      Font font;
      ASSERT_TRUE(font.Create(Sjis("ＭＳ ゴシック").c_str(), 0, 16, 16, 16, 200, nullptr, 1, kFrame, nullptr, 0));
      EXPECT_EQ(font.m_dwColor, 0xFFC86432u);
      DDFillRectColor(&BackBuffer, 0, 0, 64, 48, 0xFF000000);
      EXPECT_EQ(font.DrawText(&BackBuffer, 20, 10, "\x82\xA0", 0), 1);
      DDEndScene();
      const auto g = font.m_hFont->GetGlyph(0x82A0, plat::text::GlyphMode::Coverage);
      const std::vector<uint32_t> shown = Pixels(&BackBuffer);
      int partial = 0;
      for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
          const int gx = x - 20 - g->left, gy = y - 10 - g->top;
          const uint32_t cover = gx >= 0 && gx < g->width && gy >= 0 && gy < g->height
                                     ? g->pixels[static_cast<size_t>(gy * g->width + gx)]
                                     : 0;
          partial += cover > 0 && cover < 255;
          // Each channel: (colour × coverage + black × (255 - coverage) + 127) / 255,
          // cut to 5 and 6 bits on the 16-bit back buffer.
          const uint32_t r = (200 * cover + 127) / 255, gr = (100 * cover + 127) / 255, b = (50 * cover + 127) / 255;
          const uint32_t want = bpp == 32 ? r << 16 | gr << 8 | b : (r >> 3) << 11 | (gr >> 2) << 5 | b >> 3;
          const uint32_t got = shown[static_cast<size_t>(y) * BackBuffer.nWidth + x] & (bpp == 32 ? 0xFFFFFF : 0xFFFF);
          ASSERT_EQ(got, want) << bpp << " bits at " << x << "," << y << " coverage " << cover;
        }
      EXPECT_GT(partial, 5);
    }
    DDRelease();
  }
}

TEST_F(Font3D, CachedAndUncachedTextLandOnTheSamePixelsAsOnTheSoftwareDisplay) {
  for (int bpp : {16, 32}) {
    ASSERT_TRUE(Start3DWithPalette(bpp));
    {
      Font cached, plain;
      Make(cached, 10, 10, 10, 1);
      Make(plain, 10, 10, 10, 0);
      DDSURFACEDATA a = Target(30, 20), b = Target(30, 20);
      EXPECT_EQ(cached.DrawText(&a, 0, 0, kCellsOfTenText, 0), 1);
      EXPECT_EQ(plain.DrawText(&b, 0, 0, kCellsOfTenText, 0), 1);
      EXPECT_EQ(InkOf(&a, WhiteTexel(), 0, 0, 30, 20), kCellsOfTen) << bpp;
      EXPECT_EQ(Pixels(&a), Pixels(&b)) << bpp;
      // A new character goes into the next cell and is drawn from there.
      DDSURFACEDATA c = Target(10, 10), d = Target(10, 10);
      cached.DrawText(&c, 0, 0, "\x8A\xBF", 0);
      plain.DrawText(&d, 0, 0, "\x8A\xBF", 0);
      EXPECT_EQ(cached.m_lpFastFont_FullAdd->m_nCount, 257);
      EXPECT_EQ(InkOf(&c, WhiteTexel(), 0, 0, 10, 10)[4], ".########.") << bpp;
      EXPECT_EQ(Pixels(&c), Pixels(&d)) << bpp;
    }
    DDRelease();
  }
}

TEST_F(Font3D, SystemMemoryTexturesGetTheTextThroughTheWorkSurface) {
  ASSERT_TRUE(Start3DWithPalette(32));
  for (int cache : {0, 1}) {
    Font font;
    Make(font, 10, 10, 10, cache);
    DDSURFACEDATA t = Target(30, 20, DTMEMORYTYPE_SYSTEM);
    EXPECT_EQ(font.DrawText(&t, 0, 0, kCellsOfTenText, 0), 1);
    EXPECT_EQ(InkOf(&t, WhiteTexel(), 0, 0, 30, 20), kCellsOfTen) << cache;
    EXPECT_EQ(Get(&t, 0, 0), 0u);
  }
}

TEST_F(Font3D, AFailedSceneDrawsNothingAndTellsSo) {
  ASSERT_TRUE(Start3DWithPalette(32));
  Font plain, cached;
  Make(plain, 10, 10, 10, 0);
  Make(cached, 10, 10, 10, 1);
  DDSURFACEDATA t = Target(30, 20);
  DDEndScene();
  plat::FailD3DCall(plat::D3DCall::BeginScene, plat::D3DERR_INVALIDCALL);
  EXPECT_EQ(plain.DrawText(&t, 0, 0, "A", 0), 0);
  EXPECT_EQ(InkOf(&t, WhiteTexel(), 0, 0, 30, 20), Picture(20, std::string(30, '.')));
  // With caches the result is the cache setting.
  EXPECT_EQ(cached.DrawText(&t, 0, 0, "A", 0), 1);
}

TEST_F(Font3D, TheCachesAndTheTextAreTheSameAfterADeviceReset) {
  ASSERT_TRUE(Start3DWithPalette(32));
  Font cached, plain;
  Make(cached, 10, 10, 10, 1);
  Make(plain, 10, 10, 10, 0);
  DDSURFACEDATA before = Target(30, 20);
  cached.DrawText(&before, 0, 0, "\x8A\xBF\x8E\x9A", 0);
  plain.DrawText(&before, 0, 10, "\x8A\xBF\x8E\x9A", 0);
  DDSURFACEDATA& half = cached.m_lpFastFont_Half->m_sdCache;
  DDSURFACEDATA& full = cached.m_lpFastFont_FullAdd->m_sdCache;
  const std::vector<uint32_t> halfBefore = Pixels(&half), fullBefore = Pixels(&full), textBefore = Pixels(&before);
  const int resources = plat::CountD3DDefaultResources();

  plat::LoseD3DDevice();
  EXPECT_FALSE(DDPresent(0, 0, nullptr));
  EXPECT_EQ(DDRestoreSurface(), 0);
  plat::AllowD3DDeviceReset();
  ASSERT_EQ(DDRestoreSurface(), 1);
  EXPECT_TRUE(DebugHas("Font i = 0"));
  EXPECT_TRUE(DebugHas("Font i = 1"));
  EXPECT_EQ(half.bLost, 0);
  EXPECT_EQ(full.bLost, 0);
  EXPECT_EQ(Pixels(&half), halfBefore);
  EXPECT_EQ(Pixels(&full), fullBefore);
  EXPECT_EQ(cached.m_lpFastFont_FullAdd->m_nCount, 258);
  EXPECT_EQ(plat::CountD3DDefaultResources(), resources);

  DDSURFACEDATA after = Target(30, 20);
  cached.DrawText(&after, 0, 0, "\x8A\xBF\x8E\x9A", 0);
  plain.DrawText(&after, 0, 10, "\x8A\xBF\x8E\x9A", 0);
  EXPECT_EQ(Pixels(&after), textBefore);
}

TEST_F(Font3D, AFullAtlasStartsAfreshWithoutSpoilingTheTextBeingDrawn) {
  ASSERT_TRUE(Start3DWithPalette(32));
  // Glyphs of some 350 dots: the 1024-texel atlas holds nine of them.
  const std::string face = Sjis("ＭＳ ゴシック");
  const std::string text = Sjis("亜唖娃阿哀愛\n挨姶逢葵茜穐");
  Font font;
  ASSERT_TRUE(font.Create(face.c_str(), 0, 400, 400, 400, kText, nullptr, 1, kFrame, nullptr, 0));
  DDSURFACEDATA whole = Target(2400, 800);
  EXPECT_EQ(font.DrawText(&whole, 0, 0, text.c_str(), 0), 1);
  EXPECT_LT(font.m_lpFont->Glyphs(), 12);
  // Each character drawn by a font of its own lands on the same pixels.
  DDSURFACEDATA alone = Target(2400, 800);
  for (size_t i = 0, cell = 0; i < text.size(); i += text[i] == '\n' ? 1 : 2) {
    if (text[i] == '\n') {
      cell = 6;
      continue;
    }
    Font one;
    ASSERT_TRUE(one.Create(face.c_str(), 0, 400, 400, 400, kText, nullptr, 1, kFrame, nullptr, 0));
    one.DrawText(&alone, static_cast<int>(cell % 6 * 400), static_cast<int>(cell / 6 * 400), text.substr(i, 2).c_str(),
                 0);
    ++cell;
  }
  EXPECT_TRUE(Pixels(&whole) == Pixels(&alone));
}

TEST_F(Font3D, TheLayersColourStateIsAsBeforeTheText) {
  ASSERT_TRUE(Start3DWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 0);
  DDSURFACEDATA t = Target(30, 20);
  DDSetDrawColor(0x80FF8040);
  DDSetColorOp(D3DTOP_SELECTARG1);
  DDSetAlphaOp(D3DTOP_SELECTARG2);
  font.DrawText(&t, 0, 0, "A\x82\xA0", 0);
  EXPECT_EQ(lpDTCon->dwDrawColor, 0x80FF8040u);
  EXPECT_EQ(lpDTCon->nColorOp, D3DTOP_SELECTARG1);
  EXPECT_EQ(lpDTCon->nAlphaOp, D3DTOP_SELECTARG2);
  // The glyphs themselves took the text colour.
  EXPECT_EQ(Get(&t, 13, 1), WhiteTexel());
  DDResetDrawColor();
  DDResetColorOp();
  DDResetAlphaOp();
}

TEST_F(Font3D, ANewCharacterIsCentredInItsCacheCellAsTheOthers) {
  ASSERT_TRUE(Start3DWithPalette(32));
  // Cells of 12 around glyphs of 10: centring moves each one a dot right and down.
  // Centring is set before the caches are drawn, as start-up does.
  Font cached, plain;
  cached.m_bCentre = plain.m_bCentre = 1;
  Make(cached, 10, 12, 12, 1);
  Make(plain, 10, 12, 12, 0);
  DDSURFACEDATA a = Target(24, 12), b = Target(24, 12);
  cached.DrawText(&a, 0, 0, "\x8A\xBF\x82\xA0", 0);  // 漢 new, あ preloaded
  plain.DrawText(&b, 0, 0, "\x8A\xBF\x82\xA0", 0);
  EXPECT_EQ(cached.m_lpFastFont_FullAdd->m_nCount, 257);
  EXPECT_EQ(InkOf(&a, WhiteTexel(), 0, 0, 12, 12)[2], "..########..");
  EXPECT_EQ(Pixels(&a), Pixels(&b));
}
