#pragma once
// The drawing layer on the 3D back end for one test: the transparent colour
// magenta, and a keyed 4 x 2 image written by hand:
//   row 0: red, key, green, blue
//   row 1: key, red, red, key
#include "dd_test_env.h"
#include "media/dt_quad.h"
#include "platform/bmp_bytes.h"
#include "platform/d3d_device.h"

class Drawing3DTest : public DrawingTest {
 protected:
  bool Start3DKeyed(int bpp, bool window = false, DDSURFACEDATA* table = nullptr, DDSURFACEDEF* defs = nullptr,
                    int count = 0) {
    if (!Start3D(bpp, window, table, defs, count)) return false;
    DDSetTransmit(255, 0, 255);
    lpDTCon->rgbTransmit16 = RGBTRIPLE{255, 0, 255};
    return true;
  }

  // An 8-bit BMP of w x h pixels (rows top first) with the four colours
  // key, red, green, blue.
  void WriteBmp(const char* name, int w, int h, const std::vector<int>& pixels) {
    using namespace bmpbytes;
    const int stride = (w + 3) & ~3;
    std::string rows;
    for (int y = h - 1; y >= 0; --y) {
      for (int x = 0; x < w; ++x) rows += static_cast<char>(pixels[static_cast<size_t>(y * w + x)]);
      rows.append(static_cast<size_t>(stride - w), '\0');
    }
    m_dir.WriteFile(std::string("bmp/") + name,
                    File(Info(w, h, 8, 0, 4), Table({0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF}), rows));
  }
  void WriteImage() { WriteBmp("Img.bmp", 4, 2, {1, 0, 2, 3, 0, 1, 1, 0}); }

  int Load(DDSURFACEDATA* sd, int bColorKey = 1, int dtMemType = DTMEMORYTYPE_VIDEO_RT, int mirrorW = 0,
           int mirrorH = 0, const char* file = "bmp\\Img.bmp") {
    return DDCreateSurfaceFromFile(sd, file, bColorKey, nBpp, 0, dtMemType, nullptr, 0, mirrorW, mirrorH, 0);
  }

  // The device's back buffer itself, past the stand-in back buffer.
  static uint32_t Back(int x, int y) {
    plat::D3DLockedRect r;
    EXPECT_EQ(BackBuffer.lpDT->lpSurface->LockRect(r), plat::D3D_OK);
    if (!r.bits) return 0xDEADBEEF;
    uint32_t v = 0;
    const int bytes = nBpp / 8;
    std::memcpy(&v, r.bits + y * r.pitch + bytes * x, static_cast<size_t>(bytes));
    BackBuffer.lpDT->lpSurface->UnlockRect();
    return v;
  }
};
