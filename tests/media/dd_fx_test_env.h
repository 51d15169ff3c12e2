#pragma once
// Pixel effects on tiny surfaces: surfaces made from rows of pixel values,
// read back as rows; and planes in memory for the pixel loops themselves.
#include <cstdint>
#include <vector>

#include "dd_test_env.h"
#include "media/dd_fx.h"
#include "media/dd_fx_loops.h"

using Rows = std::vector<std::vector<uint32_t>>;

class FxTest : public DrawingTest {
 protected:
  // A surface holding the rows (memType 1: system memory, never lost).
  DDSURFACEDATA Make(const Rows& rows, int memType = 0) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 0, memType, 0,
                                nullptr, 0));
    for (size_t y = 0; y < rows.size(); ++y) SetRow(&sd, static_cast<int>(y), rows[y]);
    return sd;
  }
  DDSURFACEDATA Filled(int w, int h, uint32_t v, int memType = 0) {
    return Make(Rows(static_cast<size_t>(h), std::vector<uint32_t>(static_cast<size_t>(w), v)), memType);
  }
  static Rows AllRows(DDSURFACEDATA& sd) {
    Rows rows;
    for (int y = 0; y < sd.nHeight; ++y) rows.push_back(Row(&sd, y));
    return rows;
  }
};

// Two planes in memory with the channel layouts of the 3D device, for the
// pixel loops of the modes its surfaces use.
struct MemPlanes {
  int bpp;
  std::vector<uint32_t> dst32, src32;
  std::vector<uint16_t> dst16, src16;
  int dw, dh, sw, sh;
  cEffectPixels px;

  // 16 bits: textures A1R5G5B5; the full-screen back buffer R5G6B5.
  static constexpr int kTexture16[8] = {10, 5, 0, 15, 31, 31, 31, 1};
  static constexpr int kBack16[8] = {11, 5, 0, 16, 31, 63, 31, 0};
  static constexpr int kTexture32[8] = {16, 8, 0, 24, 255, 255, 255, 255};

  MemPlanes(ePixelMode mode, const Rows& dst, const Rows& src, uint32_t transmit = 0)
      : bpp(mode == PIXEL_DT32 ? 32 : 16),
        dw(static_cast<int>(dst[0].size())), dh(static_cast<int>(dst.size())),
        sw(static_cast<int>(src[0].size())), sh(static_cast<int>(src.size())) {
    px.mode = mode;
    px.format = cPixelFormat::From(bpp == 32 ? kTexture32 : kTexture16, kBack16, transmit);
    for (const auto& r : dst)
      for (uint32_t v : r) bpp == 32 ? dst32.push_back(v) : dst16.push_back(static_cast<uint16_t>(v));
    for (const auto& r : src)
      for (uint32_t v : r) bpp == 32 ? src32.push_back(v) : src16.push_back(static_cast<uint16_t>(v));
    const int bytes = bpp / 8;
    px.dst = cPixelPlane{bpp == 32 ? reinterpret_cast<uint8_t*>(dst32.data()) : reinterpret_cast<uint8_t*>(dst16.data()),
                         dw * bytes, dw, dh};
    px.src = cPixelPlane{bpp == 32 ? reinterpret_cast<uint8_t*>(src32.data()) : reinterpret_cast<uint8_t*>(src16.data()),
                         sw * bytes, sw, sh};
  }
  MemPlanes(const MemPlanes&) = delete;
  MemPlanes& operator=(const MemPlanes&) = delete;
  Rows Target() const {
    Rows rows(static_cast<size_t>(dh));
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x)
        rows[y].push_back(bpp == 32 ? dst32[static_cast<size_t>(y * dw + x)] : dst16[static_cast<size_t>(y * dw + x)]);
    return rows;
  }
};
