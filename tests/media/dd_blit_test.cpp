// Clipping, mirrored sheets, texture sizes, and copies and fills on the
// software display at each depth, pinned by small pixel tables.
#include "dd_test_env.h"

namespace {

struct Blit {
  int x, y, w, h, sx, sy, sw, sh;
  friend bool operator==(const Blit&, const Blit&) = default;
};

std::ostream& operator<<(std::ostream& os, const Blit& b) {
  return os << "(" << b.x << "," << b.y << " " << b.w << "x" << b.h << " from " << b.sx << "," << b.sy << " " << b.sw
            << "x" << b.sh << ")";
}

struct ClipCase {
  const char* what;
  Blit in;
  int result;
  Blit out;
};

// The clip works on the records' sizes only.
DDSURFACEDATA Sized(int w, int h) {
  DDSURFACEDATA sd;
  sd.nWidth = w;
  sd.nHeight = h;
  return sd;
}

void RunClips(const ClipCase* cases, size_t n, DDSURFACEDATA& dst, DDSURFACEDATA& src) {
  for (size_t i = 0; i < n; ++i) {
    Blit b = cases[i].in;
    const int r = DDClipBlt(&dst, &b.x, &b.y, &b.w, &b.h, &src, &b.sx, &b.sy, &b.sw, &b.sh);
    EXPECT_EQ(r, cases[i].result) << cases[i].what;
    if (r) {
      EXPECT_EQ(b, cases[i].out) << cases[i].what;
    }
  }
}

class Blits : public DrawingTest {
 protected:
  // A surface of the running depth with rows of pixel values.
  DDSURFACEDATA Make(const std::vector<std::vector<uint32_t>>& rows, int bColorKey = 0) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), bColorKey, 0,
                                0, nullptr, 0));
    for (size_t y = 0; y < rows.size(); ++y) SetRow(&sd, static_cast<int>(y), rows[y]);
    return sd;
  }
  DDSURFACEDATA Blank(int w, int h, uint32_t v) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, w, h, 0, 0, 0, nullptr, 0));
    DDFillSurfaceColor(&sd, v);
    return sd;
  }
};

}  // namespace

TEST(BlitClip, SameSizeCopiesAreCutToBothSurfaces) {
  DDSURFACEDATA dst = Sized(100, 80), src = Sized(50, 40), wide = Sized(150, 40);
  const ClipCase cases[] = {
      {"inside", {10, 10, 20, 20, 0, 0, 20, 20}, 1, {10, 10, 20, 20, 0, 0, 20, 20}},
      {"left of the target", {-5, 0, 20, 10, 0, 0, 20, 10}, 1, {0, 0, 15, 10, 5, 0, 15, 10}},
      {"past the right", {90, 0, 20, 10, 0, 0, 20, 10}, 1, {90, 0, 10, 10, 0, 0, 10, 10}},
      {"above and below", {0, -3, 10, 90, 0, 0, 10, 90}, 1, {0, 0, 10, 37, 0, 3, 10, 37}},
      // A source cut at its start moves the target by as much: each pixel
      // lands where the whole copy puts it.
      {"source left of its surface", {10, 0, 20, 10, -5, 0, 20, 10}, 1, {15, 0, 15, 10, 0, 0, 15, 10}},
      {"source above its surface", {10, 10, 20, 10, 0, -7, 20, 10}, 1, {10, 17, 20, 3, 0, 0, 20, 3}},
      {"source and target cut at once", {-3, 0, 20, 10, -1, 0, 20, 10}, 1, {0, 0, 17, 10, 2, 0, 17, 10}},
      {"source past its surface", {0, 0, 20, 10, 40, 35, 20, 10}, 1, {0, 0, 10, 5, 40, 35, 10, 5}},
      {"wholly outside the source", {0, 0, 10, 10, 60, 0, 10, 10}, 0, {}},
      {"wholly outside the target", {100, 0, 10, 10, 0, 0, 10, 10}, 0, {}},
      {"width 0", {0, 0, 0, 10, 0, 0, 0, 10}, 0, {}},
      {"negative height", {0, 0, 10, -1, 0, 0, 10, -1}, 0, {}},
  };
  RunClips(cases, std::size(cases), dst, src);
  // Left of the target and past its right edge at once: both ends are cut.
  const ClipCase both[] = {{"both ends", {-10, 0, 150, 10, 0, 0, 150, 10}, 1, {0, 0, 100, 10, 10, 0, 100, 10}}};
  RunClips(both, 1, dst, wide);
}

TEST(BlitClip, StretchesScaleTheTargetByWhatIsLeftOfTheSource) {
  DDSURFACEDATA dst = Sized(100, 80), src = Sized(50, 40);
  const ClipCase cases[] = {
      {"inside", {0, 0, 40, 20, 0, 0, 20, 10}, 1, {0, 0, 40, 20, 0, 0, 20, 10}},
      {"half the source outside", {0, 0, 40, 20, -10, 0, 20, 10}, 1, {20, 0, 20, 20, 0, 0, 10, 10}},
      {"source above its surface", {0, 0, 40, 20, 0, -5, 20, 10}, 1, {0, 10, 40, 10, 0, 0, 20, 5}},
      {"left of the target", {-10, 0, 40, 20, 0, 0, 20, 10}, 1, {0, 0, 30, 20, 5, 0, 15, 10}},
      {"past the right", {80, 0, 40, 20, 0, 0, 20, 10}, 1, {80, 0, 20, 20, 0, 0, 10, 10}},
      {"past the bottom", {0, 70, 40, 20, 0, 0, 20, 10}, 1, {0, 70, 40, 10, 0, 0, 20, 5}},
      {"wholly left of the target", {-40, 0, 40, 20, 0, 0, 20, 10}, 0, {}},
      // No mirrored draw here: a negative source size draws nothing.
      {"negative source width", {0, 0, 40, 20, 20, 0, -20, 10}, 0, {}},
      {"negative source height", {0, 0, 40, 20, 0, 10, 20, -10}, 0, {}},
  };
  RunClips(cases, std::size(cases), dst, src);
}

TEST(BlitClip, On3DDeviceMirroredStretchesKeepTheirSignAndTheTargetIsLeftToTheDevice) {
  DTCONDATA con;
  lpDTCon = &con;
  DDSURFACEDATA dst = Sized(100, 80), src = Sized(50, 40);
  const ClipCase cases[] = {
      {"mirrored inside", {0, 0, 20, 10, 30, 0, -20, 10}, 1, {0, 0, 20, 10, 30, 0, -20, 10}},
      {"mirrored, half outside", {0, 0, 20, 10, 10, 0, -20, 10}, 1, {0, 0, 10, 10, 10, 0, -10, 10}},
      {"left of the target", {-50, 0, 40, 20, 0, 0, 20, 10}, 1, {-50, 0, 40, 20, 0, 0, 20, 10}},
      {"same size is still cut", {-5, 0, 20, 10, 0, 0, 20, 10}, 1, {0, 0, 15, 10, 5, 0, 15, 10}},
  };
  RunClips(cases, std::size(cases), dst, src);
  lpDTCon = nullptr;
}

TEST(BlitMirror, AliasSheetsDrawCellKFromTheSourceCellMirroredWithinIt) {
  DTCONDATA con;
  lpDTCon = &con;
  DDSURFACEDATA source = Sized(128, 64), sheet = Sized(128, 64), plain = Sized(128, 64);
  sheet.lpAlias = &source;
  sheet.nMirrorW = 32;
  struct Case {
    DDSURFACEDATA* sd;
    int sx, sw, sy, sh;
    int outSx, outSw, outSy, outSh;
  };
  DDSURFACEDATA tall = Sized(64, 64);
  tall.lpAlias = &source;
  tall.nMirrorH = 16;
  const Case cases[] = {
      {&sheet, 40, 16, 0, 8, 56, -16, 0, 8},   // x 40, width 16 takes 56 leftwards
      {&sheet, 32, 32, 0, 32, 64, -32, 0, 32},  // a whole cell
      {&sheet, 0, 64, 0, 8, 0, 64, 0, 8},       // wider than a cell: unchanged
      {&tall, 0, 8, 20, 8, 0, 8, 28, -8},
      {&plain, 40, 16, 0, 8, 40, 16, 0, 8},     // no alias
  };
  for (const Case& c : cases) {
    int sx = c.sx, sy = c.sy, sw = c.sw, sh = c.sh;
    DDMirrorCoords(c.sd, &sx, &sy, &sw, &sh);
    EXPECT_EQ(std::vector<int>({sx, sw, sy, sh}), std::vector<int>({c.outSx, c.outSw, c.outSy, c.outSh}));
  }
  lpDTCon = nullptr;
  int sx = 40, sy = 0, sw = 16, sh = 8;
  DDMirrorCoords(&sheet, &sx, &sy, &sw, &sh);  // the software display has no aliases
  EXPECT_EQ(sx, 40);
  EXPECT_EQ(sw, 16);
}

TEST(BlitTexture, SizesRoundToPowersOfTwoAndSquaresAsTheDeviceAsks) {
  DTCONDATA con;
  lpDTCon = &con;
  struct Case {
    int pow2, square, w, h, outW, outH;
  };
  const Case cases[] = {
      {1, 0, 640, 480, 1024, 512}, {1, 1, 640, 480, 1024, 1024}, {0, 1, 100, 30, 100, 100},
      {1, 0, 100, 1, 128, 1},      {1, 0, 256, 257, 256, 512},   {0, 0, 640, 480, 640, 480},
  };
  for (const Case& c : cases) {
    con.bPow2 = c.pow2;
    con.bSquareOnly = c.square;
    int w = c.w, h = c.h;
    DDRoundTextureSize(&w, &h);
    EXPECT_EQ(w, c.outW) << c.w << "x" << c.h;
    EXPECT_EQ(h, c.outH) << c.w << "x" << c.h;
  }
  lpDTCon = nullptr;
  int w = 100, h = 30;
  DDRoundTextureSize(&w, &h);
  EXPECT_EQ(w, 100);
}

TEST_F(Blits, CopiesKeyedCopiesAndStretchesAtEachDepth) {
  struct Case {
    int bpp;
    uint32_t key, a, b, under;
  };
  const Case cases[] = {{8, 0, 3, 4, 9}, {16, 0xF81F, 0x07E0, 0x001F, 0x1234}, {32, 0xFF00FF, 0x00FF00, 0x0000FF, 0x10}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    TransmitPixel = c.key;
    DDSURFACEDATA src = Make({{c.a, c.key, c.b}, {c.b, c.a, c.key}}, 1);
    // Opaque copy with the left column cut off by the target's edge.
    DDSURFACEDATA dst = Blank(4, 2, c.under);
    DDBlt(&dst, -1, 0, 3, 2, &src, 0, 0, 0);
    EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{c.key, c.b, c.under, c.under})) << c.bpp;
    EXPECT_EQ(Row(&dst, 1), (std::vector<uint32_t>{c.a, c.key, c.under, c.under})) << c.bpp;
    // Keyed copy leaves the transparent colour out.
    DDSURFACEDATA keyed = Blank(3, 2, c.under);
    DDBlt(&keyed, 0, 0, 3, 2, &src, 0, 0, 1);
    EXPECT_EQ(Row(&keyed, 0), (std::vector<uint32_t>{c.a, c.under, c.b})) << c.bpp;
    EXPECT_EQ(Row(&keyed, 1), (std::vector<uint32_t>{c.b, c.a, c.under})) << c.bpp;
    // Stretch 3 -> 5 columns: source columns 0, 0, 1, 1, 2.
    DDSURFACEDATA wide = Blank(5, 1, c.under);
    DDBltStretch(&wide, 0, 0, 5, 1, &src, 0, 0, 3, 1, 0);
    EXPECT_EQ(Row(&wide, 0), (std::vector<uint32_t>{c.a, c.a, c.key, c.key, c.b})) << c.bpp;
    DDBltStretch(&wide, 0, 0, 5, 1, &src, 0, 1, 3, 1, 1);
    EXPECT_EQ(Row(&wide, 0), (std::vector<uint32_t>{c.b, c.b, c.a, c.a, c.b})) << c.bpp;
    // Nothing is drawn for an empty rectangle.
    EXPECT_EQ(DDBlt(&dst, 0, 0, 0, 2, &src, 0, 0, 0), 0);
    DDRelease();
  }
}

TEST_F(Blits, FillsTakePaletteColoursInTheFormOfEachDepth) {
  struct Case {
    int bpp;
    PALETTEENTRY entry;
    uint32_t value;
  };
  // At 16 bits the palette holds channel values of the display (5-6-5).
  const Case cases[] = {{8, {1, 2, 3, 0}, 7}, {16, {31, 1, 2, 0}, 0xF822}, {32, {0x12, 0x34, 0x56, 0}, 0x123456}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    CurPalette[7] = c.entry;
    DDSURFACEDATA sd = Blank(6, 3, 0);
    DDFillRect(&sd, 2, 1, 3, 1, 7);
    EXPECT_EQ(Row(&sd, 1), (std::vector<uint32_t>{0, 0, c.value, c.value, c.value, 0})) << c.bpp;
    // A rectangle that starts left of the surface and ends past it is cut at both ends.
    DDFillRect(&sd, -3, 0, 20, 1, 7);
    EXPECT_EQ(Row(&sd, 0), std::vector<uint32_t>(6, c.value)) << c.bpp;
    EXPECT_EQ(Row(&sd, 2), std::vector<uint32_t>(6, 0u));
    DDFillSurface(&sd, 7);
    EXPECT_EQ(Row(&sd, 2), std::vector<uint32_t>(6, c.value));
    // Palette numbers outside 0..255 fill with 0 and say so.
    DDFillRect(&sd, 0, 0, 6, 1, 300);
    EXPECT_EQ(Row(&sd, 0), std::vector<uint32_t>(6, 0u));
    EXPECT_TRUE(DebugHas("DDFillRect Err palNum = 300"));
    DDRelease();
  }
}

TEST_F(Blits, NewSurfacesStartInPaletteColourZeroAndKeyedOnesUseTheTransparentColour) {
  ASSERT_TRUE(Start(32));
  CurPalette[0] = PALETTEENTRY{0xAA, 0xBB, 0xCC, 0};
  TransmitPixel = 0xAABBCC;
  DDSURFACEDATA sd;
  ASSERT_TRUE(DDCreateSurface(&sd, 3, 2, 1, 0, 0, nullptr, 0));
  EXPECT_EQ(Row(&sd, 1), std::vector<uint32_t>(3, 0xAABBCCu));
  EXPECT_EQ(sd.nDDMemType, 0);
  // Copied with flags 1 it leaves the target as it was.
  DDSURFACEDATA dst = Blank(3, 2, 5);
  DDBlt(&dst, 0, 0, 3, 2, &sd, 0, 0, 1);
  EXPECT_EQ(Row(&dst, 0), std::vector<uint32_t>(3, 5u));
}

TEST_F(Blits, LocksHandOutTheWholeSurface) {
  ASSERT_TRUE(Start(16));
  DDSURFACEDATA sd = Blank(5, 3, 0x1111);
  DDSURFACEDESC2 desc;
  uint8_t* bits = nullptr;
  ASSERT_TRUE(DDLock(&sd, &desc, &bits, 16));
  EXPECT_EQ(desc.dwWidth, 5);
  EXPECT_EQ(desc.dwHeight, 3);
  EXPECT_EQ(desc.dwRGBBitCount, 16);
  EXPECT_GE(desc.lPitch, 10);
  EXPECT_EQ(bits, desc.lpSurface);
  EXPECT_EQ(*reinterpret_cast<uint16_t*>(bits + 2 * desc.lPitch + 8), 0x1111);
  EXPECT_FALSE(DDLock(&sd, &desc, &bits, 16));  // already locked
  sd.lpDDS->lpSurface->Unlock();
}

TEST_F(Blits, ASourceStartingOutsideItsSurfaceLandsWhereTheWholeCopyPutsIt) {
  ASSERT_TRUE(Start(32));
  std::vector<std::vector<uint32_t>> rows(10, std::vector<uint32_t>(10));
  for (int v = 0; v < 10; ++v)
    for (int u = 0; u < 10; ++u) rows[static_cast<size_t>(v)][static_cast<size_t>(u)] = 0x010000u + u + 16u * v;
  DDSURFACEDATA src = Make(rows);
  // Target pixel (X, Y) of a copy at (dx, dy) scaled by `scale` shows source
  // pixel (sx + (X - dx) / scale, sy + (Y - dy) / scale) where that exists.
  auto expected = [&](int dx, int dy, int sx, int sy, int scale, int X, int Y) -> uint32_t {
    if (X < dx || Y < dy || X >= dx + 10 * scale || Y >= dy + 10 * scale) return 0;
    const int u = sx + (X - dx) / scale, v = sy + (Y - dy) / scale;
    return u >= 0 && v >= 0 && u < 10 && v < 10 ? rows[static_cast<size_t>(v)][static_cast<size_t>(u)] : 0;
  };
  for (auto [sx, sy] : {std::pair{-1, 0}, std::pair{-7, 0}, std::pair{0, -1}, std::pair{0, -7}, std::pair{-7, -1}}) {
    for (int scale : {1, 2}) {
      DDSURFACEDATA dst = Blank(40, 40, 0);
      if (scale == 1)
        DDBlt(&dst, 5, 6, 10, 10, &src, sx, sy, 0);
      else
        DDBltStretch(&dst, 5, 6, 20, 20, &src, sx, sy, 10, 10, 0);
      int wrong = 0;
      for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 40; ++X) wrong += Get(&dst, X, Y) != expected(5, 6, sx, sy, scale, X, Y);
      EXPECT_EQ(wrong, 0) << "source at " << sx << "," << sy << " scale " << scale;
    }
  }
  DDRelease();
}
