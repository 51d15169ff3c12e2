// Getting surfaces back after a loss on the software display, and what a
// full video memory does to new surfaces.
#include "dd_test_env.h"

#include <cstdio>

#include "media/dd_frame.h"
#include "media/dd_restore.h"
#include "media/system_surfaces.h"
#include "platform/bmp_bytes.h"

using namespace bmpbytes;
using testsupport::Sjis;

namespace {

class Restore : public DrawingTest {
 protected:
  void WriteImage() {
    m_dir.WriteFile("bmp/Img.bmp", File(Info(4, 1, 8, 0, 8), Table({0, 0, 0, 0, 0, 0, 0, 0}), Bytes({1, 2, 3, 4})));
  }
  void Define(int i, const char* file, int memType) {
    m_defs[i].szFileName = file;
    m_defs[i].nDDMemType = memType;
    m_defs[i].nWidth = 4;
    m_defs[i].nHeight = 1;
  }
};

}  // namespace

TEST_F(Restore, AfterALossImagesAreReloadedEmptySurfacesFlaggedAndThePaletteSetAgain) {
  WriteImage();
  Define(0, "bmp\\Img.bmp", 0);
  Define(1, "E", 0);
  Define(2, "bmp\\Img.bmp", 1);
  Define(3, "E", 1);
  ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 8, 0, 0, 2, 60, 0, m_table, m_defs, 4, 0));
  const int all[] = {0, 1, 2, 3};
  ASSERT_TRUE(DDLoadSurfaces(m_table, all, 4));
  DDFillSurface(&m_table[1], 9);
  DDFillSurface(&m_table[3], 9);
  Set(&m_table[2], 0, 0, 8);  // system memory keeps what it holds
  BasePalette[7] = PALETTEENTRY{1, 2, 3, PC_RESERVED};
  plat::PalEntry other[256] = {};
  DDPalette->SetEntries(0, 256, other);

  plat::LoseVideoSurfaces();
  EXPECT_TRUE(DDRestore());
  EXPECT_EQ(Row(&m_table[0], 0), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(m_table[0].bLost, 0);
  EXPECT_EQ(m_table[1].bLost, 1);
  EXPECT_NE(Get(&m_table[1], 0, 0), 9u);  // its content is gone
  EXPECT_EQ(Row(&m_table[2], 0), (std::vector<uint32_t>{8, 2, 3, 4}));
  EXPECT_EQ(m_table[3].bLost, 0);
  EXPECT_EQ(Get(&m_table[3], 0, 0), 9u);
  plat::PalEntry now[256];
  DDPalette->GetEntries(0, 256, now);
  EXPECT_EQ(now[7], (plat::PalEntry{1, 2, 3, PC_RESERVED}));
  // The screen works again, flips included (two back buffers).
  EXPECT_EQ(DDFillRect(&BackBuffer, 0, 0, 640, 480, 5), plat::DD_OK);
  EXPECT_EQ(Primary.lpDDS->lpSurface->Flip(), plat::DD_OK);
  EXPECT_EQ(Primary.lpDDS->lpSurface->Flip(), plat::DD_OK);
}

TEST_F(Restore, AFrameWithNothingLostChangesNothing) {
  WriteImage();
  Define(0, "bmp\\Img.bmp", 0);
  ASSERT_TRUE(Start(32, false, m_table, m_defs, 1));
  const int one[] = {0};
  ASSERT_TRUE(DDLoadSurfaces(m_table, one, 1));
  Set(&m_table[0], 0, 0, 0x123456);
  EXPECT_TRUE(DDRestore());
  EXPECT_EQ(Get(&m_table[0], 0, 0), 0x123456u);
  EXPECT_EQ(m_table[0].bLost, 0);
}

TEST_F(Restore, WhenVideoMemoryIsFullNewSurfacesGoToSystemMemory) {
  WriteImage();
  plat::SetVideoMemoryBudget(640 * 480 * 4 * 2);  // room for the primary and its back buffer only
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA empty, image;
  ASSERT_TRUE(DDCreateSurface(&empty, 32, 32, 0, 0, 0, nullptr, 0));
  EXPECT_EQ(empty.nDDMemType, 1);
  EXPECT_FALSE(empty.lpDDS->lpSurface->InVideoMemory());
  ASSERT_EQ(DDCreateSurfaceFromFile(&image, "bmp\\Img.bmp", 0, 32, 0, 0, nullptr, 0, 0, 0, 0), 0);
  EXPECT_EQ(image.nDDMemType, 1);
  // A surface that fits nowhere fails with its line.
  plat::FailDisplayStep(plat::DisplayStep::Surface, 1);
  DDSURFACEDATA none;
  EXPECT_FALSE(DDCreateSurface(&none, 8, 8, 0, 0, 0, nullptr, 0));
  EXPECT_TRUE(ReportHas("CreateSurface Video -> System Err"));
}

TEST_F(Restore, TheDeviceResetIsNotOneOfTheSoftwareDisplays) {
  ASSERT_TRUE(Start(32));
  EXPECT_EQ(DDRestoreSurface(), 1);
  EXPECT_TRUE(DebugHas("Restore In"));
  EXPECT_TRUE(DebugHas(Sjis("DDではDDRestoreSurfaceは未対応")));
  DTCONDATA con;
  lpDTCon = &con;
  EXPECT_TRUE(DDRestore());
  EXPECT_TRUE(DebugHas(Sjis("D3DではDDRestoreは未対応")));
  lpDTCon = nullptr;
}

// The frame's restore after DDRestore: the stage's and the scenes' surface
// sets and the digit sheets. A lost image is reloaded, a lost empty surface
// flagged for its owner (a message window's loss must not end the game), a
// system-memory one keeps its pixels, and an image whose file is gone fails
// the restore, which closes the program.
TEST_F(Restore, TheSurfaceSetsComeBackAfterALoss) {
  WriteImage();
  ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 8, 0, 0, 2, 60, 0, m_table, m_defs, 0, 0));
  Off_Effect.resize(1);
  ASSERT_EQ(DDCreateSurfaceFromFile(&Off_Effect[0], "bmp\\Img.bmp", 1, 8, 0, 0, nullptr, 0, 0, 0, 0), 0);
  ASSERT_TRUE(DDAddSurfaceList(Off_Msg, Off_MsgDef, 4, 1, 1, 0, 0, nullptr));
  ASSERT_TRUE(DDAddSurface(Off_Scene, Off_SceneDef, 4, 1, 1, 1, 0, nullptr));
  ASSERT_EQ(Off_Msg.At(0).nDDMemType, 0);
  DDFillSurface(&Off_Effect[0], 9);
  DDFillSurface(&Off_Msg.At(0), 9);
  DDFillSurface(&Off_Scene[0], 9);

  plat::LoseVideoSurfaces();
  ASSERT_TRUE(FrameDrawing->IsPrimaryLost());
  ASSERT_TRUE(FrameDrawing->Restore());
  EXPECT_TRUE(FrameDrawing->RestoreSurfaceSets());
  EXPECT_EQ(Row(&Off_Effect[0], 0), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(Off_Msg.At(0).bLost, 1);
  EXPECT_EQ(Row(&Off_Scene[0], 0), (std::vector<uint32_t>{9, 9, 9, 9}));
  EXPECT_EQ(Off_Scene[0].bLost, 0);

  // Now the image's file is gone.
  ASSERT_EQ(std::remove("bmp/Img.bmp"), 0);
  plat::LoseVideoSurfaces();
  ASSERT_TRUE(FrameDrawing->Restore());
  EXPECT_FALSE(FrameDrawing->RestoreSurfaceSets());

  DDReleaseSurfaceVector(Off_Effect);
  DDReleaseSurfaceList(Off_Msg);
  DDReleaseSurfaceVector(Off_Scene);
  Off_Effect.clear();
  Off_Msg.clear();
  Off_MsgDef.clear();
  Off_Scene.clear();
  Off_SceneDef.clear();
}
