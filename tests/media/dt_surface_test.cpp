// Surfaces of the 3D back end: textures from files (key, padding, caps,
// oversize images), mirrored sheets and aliases, surfaces made anew, the
// stand-in back buffer, and pixel access through locks.
#include "base/boxes.h"
#include "dt_test_env.h"
#include "media/dd_blit.h"

using testsupport::Sjis;

namespace {

class Surface3D : public Drawing3DTest {};

// Texels of the image as ARGB at 32 bits.
constexpr uint32_t kR = 0xFFFF0000, kG = 0xFF00FF00, kB = 0xFF0000FF, kT = 0x00000000;

}  // namespace

TEST_F(Surface3D, TexturesFromFilesKeyTheColourAndPadToTheCaps) {
  WriteBmp("Odd.bmp", 3, 2, {1, 0, 2, 3, 0, 1});
  struct Case {
    const char* what;
    bool pow2, square;
    int maxWidth;
    int texW, texH;
    std::vector<uint32_t> row0;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"any size", false, false, 8192, 3, 2, {kR, kT, kG}, {}},
      {"powers of two: padded transparent", true, false, 8192, 4, 2, {kR, kT, kG, kT}, {}},
      {"square", true, true, 8192, 4, 4, {kR, kT, kG, kT}, {}},
      {"wider than the card takes: cut, with its lines",
       false,
       false,
       2,
       2,
       2,
       {kR, kT},
       {Sjis("このビデオカードでは横幅2を超える画像はサポートされていません！"),
        Sjis("上記の理由でテクスチャの描画が失敗する可能性があります。(bmp\\Odd.bmp)")}},
  };
  for (const Case& c : cases) {
    plat::D3DCaps caps;
    caps.pow2 = c.pow2;
    caps.squareOnly = c.square;
    caps.maxTextureWidth = c.maxWidth;
    plat::SetD3DCaps(caps);
    ASSERT_TRUE(Start3DKeyed(32)) << c.what;
    DDSURFACEDATA sd;
    ASSERT_EQ(Load(&sd, 1, DTMEMORYTYPE_VIDEO_RT, 0, 0, "bmp\\Odd.bmp"), 0) << c.what;
    EXPECT_EQ(sd.szSurfaceType, "OffScreenFromFile");
    EXPECT_EQ(sd.nWidth, 3) << c.what;
    EXPECT_EQ(sd.nHeight, 2) << c.what;
    EXPECT_EQ(sd.nTexWidth, c.texW) << c.what;
    EXPECT_EQ(sd.nTexHeight, c.texH) << c.what;
    EXPECT_EQ(sd.lpDT->descLevel0.nWidth, c.texW);
    EXPECT_EQ(sd.lpDT->bRenderTarget, 0);
    cSurfaceLock lock;
    ASSERT_TRUE(lock.Lock(&sd));
    const uint32_t* row = reinterpret_cast<const uint32_t*>(lock.m_pBits);
    EXPECT_EQ(std::vector<uint32_t>(row, row + c.texW), c.row0) << c.what;
    lock.Unlock();
    for (const std::string& line : c.lines) EXPECT_TRUE(ReportHas(line)) << line;
    DDReleaseSurface(&sd);
    DDRelease();
    plat::ResetD3DHooks();
  }
}

TEST_F(Surface3D, At16BitsTheKeyOfImagesIsTheColourStartUpGave) {
  WriteImage();
  ASSERT_TRUE(Start3DKeyed(16));
  DDSURFACEDATA sd;
  ASSERT_EQ(Load(&sd), 0);
  EXPECT_EQ(Row(&sd, 0), (std::vector<uint32_t>{0xFC00, 0x0000, 0x83E0, 0x801F}));
  // An image of the wrong kind of file fails with its line.
  m_dir.WriteFile("bmp/Bad.bmp", "BM not an image");
  DDSURFACEDATA bad;
  EXPECT_EQ(Load(&bad, 1, 0, 0, 0, "bmp\\Bad.bmp"), 8);
  EXPECT_TRUE(ReportHas("LoadImage Err bmp\\Bad.bmp"));
}

TEST_F(Surface3D, MirroredSheetsTurnEachCellAndAliasesDrawFromTheirSource) {
  WriteImage();
  ASSERT_TRUE(Start3DKeyed(32));
  struct Case {
    const char* what;
    int mirrorW, mirrorH;
    std::vector<uint32_t> row0;
  };
  const Case cases[] = {
      {"cells of 2", 2, 0, {kT, kR, kB, kG}},
      {"one cell of 3: the fourth column stays", 3, 0, {kG, kT, kR, kB}},
      {"cells down only: unmirrored", 0, 2, {kR, kT, kG, kB}},
      {"a cell width below 0: unmirrored", -2, 0, {kR, kT, kG, kB}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA sheet;
    ASSERT_EQ(Load(&sheet, 1, DTMEMORYTYPE_VIDEO_RT, c.mirrorW, c.mirrorH), 0) << c.what;
    EXPECT_EQ(Row(&sheet, 0), c.row0) << c.what;
    EXPECT_EQ(sheet.nMirrorW, c.mirrorW);
  }
  // An alias shares its source's texture; a cell drawn from it is the
  // source's cell mirrored within itself, wider draws are plain.
  DDSURFACEDATA source, alias;
  ASSERT_EQ(Load(&source), 0);
  ASSERT_EQ(DDCreateSurfaceFromFile(&alias, "bmp\\Img.bmp", 1, 32, 0, 0, &source, 0, 2, 0, 0), 0);
  alias.lpAlias = &source;
  EXPECT_FALSE(alias.lpDT->lpTexture);
  const int listed = RestoreList.Size();
  DDFillSurfaceColor(&BackBuffer, 0xFF000000);
  DDBlt(&BackBuffer, 10, 0, 2, 1, &alias, 2, 0, 0);
  DDBlt(&BackBuffer, 20, 0, 4, 1, &alias, 0, 0, 1);
  EXPECT_EQ(Get(&BackBuffer, 10, 0), kB | 0xFF000000u);
  EXPECT_EQ(Get(&BackBuffer, 11, 0), kG);
  EXPECT_EQ(Get(&BackBuffer, 20, 0), kR);
  EXPECT_EQ(Get(&BackBuffer, 22, 0), kG);
  EXPECT_EQ(RestoreList.Size(), listed);  // an alias has no texture of its own to restore
  DDReleaseSurface(&alias);
  EXPECT_TRUE(source.lpDT->lpTexture);
}

TEST_F(Surface3D, MakingASurfaceAgainReleasesWhatTheRecordHeld) {
  WriteImage();
  ASSERT_TRUE(Start3DKeyed(32));
  const int listed = RestoreList.Size(), pool = plat::CountD3DDefaultResources();
  DDSURFACEDATA sd;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(DDCreateSurface(&sd, 16, 16, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  EXPECT_EQ(RestoreList.Size(), listed + 1);
  EXPECT_EQ(plat::CountD3DDefaultResources(), pool + 1);
  ASSERT_EQ(Load(&sd), 0);
  EXPECT_EQ(RestoreList.Size(), listed + 1);
  EXPECT_EQ(plat::CountD3DDefaultResources(), pool);
  EXPECT_EQ(RestoreList.Find(sd.lpDT->id), &sd);
}

TEST_F(Surface3D, EmptySurfacesStartAsTheOpaqueKeyColourAndVideoShortageGoesToSystemMemory) {
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA rt, sys;
  ASSERT_TRUE(DDCreateSurface(&rt, 4, 4, 1, 0, DTMEMORYTYPE_VIDEO_NORT, nullptr, 0));
  EXPECT_EQ(rt.lpDT->nMemType, DTMEMORYTYPE_VIDEO_RT);
  EXPECT_EQ(rt.lpDT->bRenderTarget, 1);
  EXPECT_TRUE(rt.lpDT->lpSystemSurface);
  EXPECT_EQ(rt.szFileName, "E");
  EXPECT_EQ(Get(&rt, 3, 3), 0xFFFF00FFu);
  // Room for the back buffer only: textures go to system memory, with a line.
  plat::SetD3DVideoMemory(640 * 480 * 4);
  DDReleaseSurface(&rt);
  DDRelease();
  ASSERT_TRUE(Start3DKeyed(32));
  EXPECT_EQ(VirBackBuffer.lpDT->nMemType, DTMEMORYTYPE_SYSTEM);
  ASSERT_TRUE(DDCreateSurface(&sys, 4, 4, 1, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  EXPECT_EQ(sys.lpDT->nMemType, DTMEMORYTYPE_SYSTEM);
  EXPECT_EQ(sys.lpDT->bRenderTarget, 0);
  EXPECT_TRUE(ReportHas(Sjis("VRAM不足のためシステムメモリにテクスチャを作成します。(空)")));
}

TEST_F(Surface3D, ASystemTextureThatCannotBeMadeShowsTheAdviceAndClosesTheProgram) {
  ASSERT_TRUE(Start3DKeyed(32));
  lpDTCon->strTextureAdvice = "advice";
  plat::FailD3DCall(plat::D3DCall::CreateTexture, plat::D3DERR_OUTOFMEMORY);
  DDSURFACEDATA sys;
  EXPECT_FALSE(DDCreateSurface(&sys, 4, 4, 0, 0, DTMEMORYTYPE_SYSTEM, nullptr, 0));
  EXPECT_TRUE(ReportHas("D3DXCreateTexture Err hr = 8007000e"));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "advice");
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  // A render target that fails otherwise only fails.
  plat::FailD3DCall(plat::D3DCall::CreateTexture, plat::D3DERR_INVALIDCALL);
  DDSURFACEDATA rt;
  EXPECT_FALSE(DDCreateSurface(&rt, 4, 4, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  EXPECT_EQ(m_boxes.shown.size(), 1u);
}

TEST_F(Surface3D, TheStandInBackBufferTakesTheFrameUntilItIsCopied) {
  ASSERT_TRUE(Start3DKeyed(32));
  DDFillSurfaceColor(&BackBuffer, 0xFF111111);
  DDUseVirBackBuffer(1);
  // It rests on the real back buffer while the frame goes to the stand-in.
  EXPECT_EQ(lpDTCon->lpRestingTarget, &BackBuffer);
  DDFillRectColor(&BackBuffer, 0, 0, 2, 2, 0xFF222222);
  EXPECT_EQ(Back(0, 0), 0xFF111111u);
  cSurfaceLock lock;
  ASSERT_TRUE(lock.Lock(&BackBuffer));
  EXPECT_EQ(lock.m_lpSD, &VirBackBuffer);
  EXPECT_FALSE(DDIsFullscreenBackBuffer(lock.m_lpSD));
  EXPECT_EQ(*reinterpret_cast<const uint32_t*>(lock.m_pBits), 0xFF222222u);
  lock.Unlock();
  // The present copies it over whole and opaque.
  EXPECT_TRUE(DDPresent(0, 0, nullptr));
  EXPECT_EQ(Back(1, 1), 0xFF222222u);
  EXPECT_EQ(Back(5, 5), 0xFF000000u);  // made before the key colour was set: 0, drawn opaque
  // Switched off it is copied once more, and drawing goes straight on.
  DDFillRectColor(&BackBuffer, 0, 0, 1, 1, 0xFF333333);
  DDUseVirBackBuffer(0);
  EXPECT_EQ(lpDTCon->lpRestingTarget, &VirBackBuffer);
  EXPECT_EQ(Back(0, 0), 0xFF333333u);
  DDFillRectColor(&BackBuffer, 0, 0, 1, 1, 0xFF444444);
  EXPECT_EQ(Back(0, 0), 0xFF444444u);
  EXPECT_TRUE(DDIsFullscreenBackBuffer(&BackBuffer));
}

TEST_F(Surface3D, LocksReadRenderTargetsBackAndUploadWhatWasWritten) {
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA rt;
  ASSERT_TRUE(DDCreateSurface(&rt, 4, 4, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  DDFillRectColor(&rt, 0, 0, 4, 4, 0xFF0000FF);
  EXPECT_EQ(Get(&rt, 2, 2), 0xFF0000FFu);  // read back after the device drew
  Set(&rt, 1, 1, 0xFFFFFF00);              // uploaded when unlocked
  DDBlt(&BackBuffer, 0, 0, 4, 4, &rt, 0, 0, 0);
  EXPECT_EQ(Back(1, 1), 0xFFFFFF00u);
  EXPECT_EQ(Back(2, 2), 0xFF0000FFu);

  // A failed read-back locks nothing, with its line.
  plat::FailD3DCall(plat::D3DCall::GetRenderTargetData, plat::D3DERR_INVALIDCALL);
  cSurfaceLock lock;
  EXPECT_FALSE(lock.Lock(&rt));
  EXPECT_EQ(lock.m_pBits, nullptr);
  EXPECT_TRUE(
      DebugHas("FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )"));
  // A failed lock in place shows the debug box.
  plat::FailD3DCall(plat::D3DCall::LockRect, plat::D3DERR_INVALIDCALL);
  EXPECT_FALSE(lock.Lock(&BackBuffer));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
  // The software display's lock is refused here.
  DDSURFACEDESC2 desc;
  uint8_t* bits = nullptr;
  EXPECT_TRUE(DDLock(&rt, &desc, &bits, 32));
  EXPECT_EQ(bits, nullptr);
  EXPECT_TRUE(DebugHas(Sjis("D3DではDDLockは未対応")));
}

TEST_F(Surface3D, ALockOfARectangleReadsWhatWasDrawnInItAndLeavesEveryPixelOutsideIt) {
  // A render target whose system copy is older than some fills: a lock of a
  // rectangle reads the fills inside it, and its unlock changes nothing
  // outside it (a twin drawn alike and never locked gives every pixel).
  for (int bpp : {16, 32}) {
    ASSERT_TRUE(Start3DKeyed(bpp)) << bpp;
    DDSURFACEDATA rt, twin;
    ASSERT_TRUE(DDCreateSurface(&rt, 9, 7, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
    ASSERT_TRUE(DDCreateSurface(&twin, 9, 7, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
    DDFillRectColor(&rt, 0, 0, 9, 7, 0xFF0000FF);
    {
      cSurfaceLock whole;  // the system copy now holds the first fill
      ASSERT_TRUE(whole.Lock(&rt));
    }
    for (DDSURFACEDATA* sd : {&rt, &twin}) {
      if (sd == &twin) DDFillRectColor(sd, 0, 0, 9, 7, 0xFF0000FF);
      DDFillRectColor(sd, 0, 0, 9, 2, 0xFF00FF00);  // across the rectangle's top row
      DDFillRectColor(sd, 7, 0, 2, 7, 0xFFFF0000);  // beside it
      DDFillRectColor(sd, 3, 3, 1, 1, 0xFFFFFFFF);  // inside it
    }
    const plat::Rect r{2, 1, 6, 5};
    std::vector<uint32_t> seen;
    {
      cSurfaceLock lock;
      ASSERT_TRUE(lock.Lock(&rt, &r));
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
          uint8_t* p = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch + x * lock.m_nBytesPerPixel;
          uint32_t v = 0;
          std::memcpy(&v, p, static_cast<size_t>(lock.m_nBytesPerPixel));
          seen.push_back(v);
          const uint32_t mark = 0x1234u + static_cast<uint32_t>(x * 16 + y);
          std::memcpy(p, &mark, static_cast<size_t>(lock.m_nBytesPerPixel));
        }
    }
    size_t k = 0;
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 9; ++x) {
        const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
        if (inside) {
          EXPECT_EQ(seen[k++], Get(&twin, x, y)) << bpp << " read at " << x << ", " << y;
          EXPECT_EQ(Get(&rt, x, y), 0x1234u + static_cast<uint32_t>(x * 16 + y)) << bpp << " at " << x << ", " << y;
        } else {
          EXPECT_EQ(Get(&rt, x, y), Get(&twin, x, y)) << bpp << " outside at " << x << ", " << y;
        }
      }
    DDReleaseSurface(&rt);
    DDReleaseSurface(&twin);
    DDRelease();
  }
}
