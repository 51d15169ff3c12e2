// A lost 3D device: the failed present, the reset once it is possible, and
// what each kind of surface looks like afterwards.
#include "dt_test_env.h"
#include "media/dd_blit.h"
#include "media/dd_restore.h"
#include "platform/presenter.h"

using testsupport::Sjis;

namespace {

class Restore3D : public Drawing3DTest {
 protected:
  void Define(int i, const char* file, int dtMemType, int key, int mirrorW = 0) {
    m_defs[i].szFileName = file;
    m_defs[i].nDTMemType = dtMemType;
    m_defs[i].bColorKey = key;
    m_defs[i].nMirrorW = mirrorW;
    m_defs[i].nWidth = 4;
    m_defs[i].nHeight = 4;
  }
};

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, T = 0x00000000;

}  // namespace

TEST_F(Restore3D, AfterTheResetImagesAreReloadedEmptySurfacesClearedAndFlaggedAndSystemTexturesKept) {
  WriteImage();
  Define(0, "bmp\\Img.bmp", DTMEMORYTYPE_VIDEO_RT, 1);
  Define(1, "E", DTMEMORYTYPE_VIDEO_RT, 1);
  Define(2, "E", DTMEMORYTYPE_SYSTEM, 0);
  Define(3, "bmp\\Img.bmp", DTMEMORYTYPE_SYSTEM, 1);
  Define(4, "bmp\\Img.bmp", DTMEMORYTYPE_VIDEO_RT, 1, 2);
  ASSERT_TRUE(Start3DKeyed(32, false, m_table, m_defs, 5));
  const int all[] = {0, 1, 2, 3, 4};
  ASSERT_TRUE(DDLoadSurfaces(m_table, all, 5));
  DDFillSurfaceColor(&m_table[1], B);
  DDFillSurfaceColor(&m_table[2], G);
  Set(&m_table[3], 1, 0, 0xFFABCDEF);
  const int listed = RestoreList.Size(), pool = plat::CountD3DDefaultResources();
  const int32_t id1 = m_table[1].lpDT->id;

  plat::LoseD3DDevice();
  EXPECT_FALSE(DDPresent(0, 0, nullptr));
  EXPECT_TRUE(plat::PresenterWindowMinimized());
  // Not yet: the device cannot be reset while it is lost. The frames go on
  // and draw nothing.
  EXPECT_EQ(DDRestoreSurface(), 0);
  EXPECT_TRUE(DebugHas("Restore In"));
  EXPECT_TRUE(DebugHas(Sjis("復旧失敗…リセット可能な状態ではありません…")));
  EXPECT_EQ(DDBlt(&BackBuffer, 0, 0, 4, 2, &m_table[0], 0, 0, 0), 0);
  DDFillSurface(&m_table[1], 0);
  DDBeginBatch(0);
  DDBlt(&BackBuffer, 0, 0, 4, 2, &m_table[4], 0, 0, 1);
  DDFlushBatch();
  EXPECT_FALSE(DDPresent(0, 0, nullptr));

  plat::AllowD3DDeviceReset();
  ASSERT_EQ(DDRestoreSurface(), 1);
  EXPECT_TRUE(DebugHas("Restore Out"));
  EXPECT_TRUE(DebugHas("i = 0 lpSD->szSurfaceType = VirBackBuffer lpSD->szFileName = E Size = (640,480)"));
  EXPECT_FALSE(plat::PresenterWindowMinimized());

  struct Expect {
    int entry;
    int lost;
    std::vector<uint32_t> row0;
  };
  const Expect expects[] = {
      {0, 0, {R, T, G, B}},                                // reloaded
      {1, 1, {0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF, 0xFFFF00FF}},  // cleared to the opaque key colour
      {2, 1, {G, G, G, G}},                                // a system texture keeps its pixels
      {3, 0, {R, 0xFFABCDEF, G, B}},                       // a system texture from a file, too
      {4, 0, {T, R, B, G}},                                // mirrored again
  };
  for (const Expect& e : expects) {
    EXPECT_EQ(m_table[e.entry].bLost, e.lost) << e.entry;
    EXPECT_EQ(Row(&m_table[e.entry], 0), e.row0) << e.entry;
  }
  EXPECT_EQ(VirBackBuffer.bLost, 1);
  EXPECT_EQ(RestoreList.Size(), listed);
  EXPECT_EQ(m_table[1].lpDT->id, id1);
  EXPECT_EQ(plat::CountD3DDefaultResources(), pool);
  // Drawing and presenting work again.
  DDBlt(&BackBuffer, 0, 0, 4, 2, &m_table[0], 0, 0, 0);
  EXPECT_EQ(Back(0, 0), R);
  EXPECT_EQ(Back(1, 0), 0xFFFF00FFu);
  EXPECT_TRUE(DDPresent(0, 0, nullptr));
}

TEST_F(Restore3D, ATextureHeldOutsideTheLayerHoldsTheResetBack) {
  ASSERT_TRUE(Start3DKeyed(16));
  DDSURFACEDATA rt;
  ASSERT_TRUE(DDCreateSurface(&rt, 4, 4, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  std::shared_ptr<plat::D3DTexture> held = rt.lpDT->lpTexture;
  plat::LoseD3DDevice();
  plat::AllowD3DDeviceReset();
  EXPECT_EQ(DDRestoreSurface(), 0);
  held.reset();
  EXPECT_EQ(DDRestoreSurface(), 1);
  EXPECT_EQ(Get(&rt, 0, 0), 0xFC1Fu);  // magenta, opaque, in A1R5G5B5
}

TEST_F(Restore3D, ADeviceThatRunsNeedsNoResetOnlyItsSurfaces) {
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA rt;
  ASSERT_TRUE(DDCreateSurface(&rt, 4, 4, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  EXPECT_EQ(DDRestoreSurface(), 1);
  EXPECT_TRUE(rt.lpDT->lpTexture);
  EXPECT_EQ(rt.bLost, 1);
}
