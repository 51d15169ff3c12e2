// The stage's own images: the dedicated character bitmaps, swords and
// effects with their mirrored and aliased copies, the shot caches and the
// sight mask.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/soft_display.h"
#include "records/database.h"
#include "stage_draw_env.h"

using namespace testsupport;
using stagedraw::PixelOf;
using stagedraw::StageDrawTest;

namespace {

const char kGood[] = "bmp\\chara_sp\\Mine.bmp";
const char kMissing[] = "bmp\\chara_sp\\None.bmp";
const char kBroken[] = "bmp\\chara_sp\\Broken.bmp";

// "専用bmp %s 読み込み失敗！", "ソード ...", "エフェクト ..." with the file.
std::string StageBmpLine(const char* file) {
  return std::string("\x90\xEA\x97\x70" "bmp ") + file + " \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
}
std::string SwordLine(const char* file) {
  return std::string("\x83\x5C\x81\x5B\x83\x68 ") + file + " \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
}
std::string EffectLine(const char* file) {
  return std::string("\x83\x47\x83\x74\x83\x46\x83\x4E\x83\x67 ") + file +
         " \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
}

class StageImages : public StageDrawTest {
 protected:
  void SetUp() override {
    Start();
    // 128 x 32: every column a colour of its own.
    stagedraw::WriteImage(kGood, 128, 32, [](int x, int) { return uint8_t(1 + x); });
    ASSERT_TRUE(plat::WriteFileAtomic(kBroken, "BM\x10\0\0\0", 6));
    run.Events().Clear();
  }
  int LinesOf(const std::string& line) {
    int n = 0;
    for (const std::string& text : run.Events().Texts(EventKind::Log)) n += text == line;
    return n;
  }
  static bool HasImage(const DDSURFACEDATA& sd) { return sd.lpDDS && sd.lpDDS->lpSurface; }
  // The palette colour as a pixel of the running depth.
  static uint32_t Colour(int palNum) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, 1, 1, 0, 1, 0, nullptr, 0));
    DDFillSurface(&sd, palNum);
    const uint32_t v = PixelOf(&sd, 0, 0);
    DDReleaseSurface(&sd);
    return v;
  }
};

cEdBmpCharaExc Sheet(const char* file, int bLargeCell = 0, int scale = 2) {
  cEdBmpCharaExc e;
  e.m_strFile = file;
  e.m_bLargeCell = bLargeCell;
  e.m_nCellScale = scale;
  return e;
}

}  // namespace

TEST_F(StageImages, CharacterBitmapsComeInFourCopiesMirroredCellByCell) {
  Database.m_vBmpCharaExc.clear();
  Database.m_vBmpCharaExc.resize(1);  // entry 0 is no image
  for (const cEdBmpCharaExc& e : {Sheet(kGood), Sheet(kMissing), Sheet(kBroken), Sheet(kGood, 1, 2)})
    Database.m_vBmpCharaExc.push_back(e);
  scene->LoadStageBitmaps();
  ASSERT_EQ(Off_StageBmp.size(), 16u);
  ASSERT_EQ(Off_StageBmpDef.size(), 16u);

  for (size_t first : {size_t{0}, size_t{12}}) {
    const int cell = first == 0 ? 32 : 64;
    SCOPED_TRACE(cell);
    for (size_t k = 0; k < 4; ++k) {
      EXPECT_TRUE(HasImage(Off_StageBmp[first + k])) << k;
      const DDSURFACEDEF& def = Off_StageBmpDef[first + k];
      EXPECT_EQ(def.szFileName, kGood);
      EXPECT_EQ(def.bColorKey, 1);
      EXPECT_EQ(def.nDDMemType, k < 2 ? 0 : 1) << k;
      EXPECT_EQ(def.nMirrorW, k % 2 ? cell : 0) << k;
      EXPECT_EQ(def.lpAlias, k == 0 ? nullptr : &Off_StageBmp[first]) << k;
    }
    // The mirrored copies show each cell turned about its own middle.
    DDSURFACEDATA* plain = &Off_StageBmp[first];
    for (size_t mirrored : {first + 1, first + 3})
      for (int x : {0, 5, cell - 1, cell, cell + 7}) {
        const int cellStart = x / cell * cell;
        EXPECT_EQ(PixelOf(&Off_StageBmp[mirrored], x, 3), PixelOf(plain, cellStart + cell - 1 - (x - cellStart), 3))
            << x;
      }
  }
  // Missing and broken files leave their four surfaces empty, a line each.
  for (size_t i = 4; i < 12; ++i) EXPECT_FALSE(HasImage(Off_StageBmp[i])) << i;
  EXPECT_EQ(LinesOf(StageBmpLine(kMissing)), 4);
  EXPECT_EQ(LinesOf(StageBmpLine(kBroken)), 4);
  EXPECT_EQ(LinesOf(StageBmpLine(kGood)), 0);

  // A reload releases the images it had before.
  std::weak_ptr<plat::DDSurface> before = Off_StageBmp[0].lpDDS->lpSurface;
  Database.m_vBmpCharaExc.resize(2);
  scene->LoadStageBitmaps();
  EXPECT_TRUE(before.expired());
  EXPECT_EQ(Off_StageBmp.size(), 4u);
  EXPECT_TRUE(HasImage(Off_StageBmp[3]));
}

TEST_F(StageImages, SwordsAndEffectsKeepASecondCopyReferringToTheFirst) {
  Database.m_vSwordType.clear();
  Database.m_vSwordType.resize(2);
  Database.m_vSwordType[0].m_strFileL = kGood;
  Database.m_vSwordType[0].m_strFileR = kMissing;
  Database.m_vSwordType[1].m_strFileL = Database.m_vSwordType[1].m_strFileR = kGood;
  scene->LoadSwordImages();
  ASSERT_EQ(Off_Sword.size(), 8u);
  const bool swordImages[8] = {true, false, true, false, true, true, true, true};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(HasImage(Off_Sword[i]), swordImages[i]) << i;
    EXPECT_EQ(Off_SwordDef[i].lpAlias, i % 4 < 2 ? nullptr : &Off_Sword[i - 2]) << i;
    EXPECT_EQ(Off_SwordDef[i].nDDMemType, i % 4 < 2 ? 0 : 1) << i;
  }
  EXPECT_EQ(LinesOf(SwordLine(kMissing)), 2);

  Database.m_vEffect.clear();
  Database.m_vEffect.resize(3);  // entry 0 is no effect
  Database.m_vEffect[1].m_strFile = kGood;
  Database.m_vEffect[2].m_strFile = kBroken;
  scene->LoadEffectImages();
  ASSERT_EQ(Off_Effect.size(), 4u);
  EXPECT_TRUE(HasImage(Off_Effect[0]) && HasImage(Off_Effect[1]));
  EXPECT_FALSE(HasImage(Off_Effect[2]) || HasImage(Off_Effect[3]));
  EXPECT_EQ(Off_EffectDef[1].lpAlias, &Off_Effect[0]);
  EXPECT_EQ(Off_EffectDef[3].lpAlias, &Off_Effect[2]);
  EXPECT_EQ(LinesOf(EffectLine(kBroken)), 2);
}

TEST_F(StageImages, ShotCellsSitInTheMiddleOfTheirCacheCellsAndComeBackAfterALoss) {
  for (int v = 0; v < 2; ++v) {
    DDSURFACEDATA* cache = &SurfaceTable[63 + v];
    DDSURFACEDATA* sheet = &SurfaceTable[20 + v];
    SCOPED_TRACE(v);
    const uint32_t empty = Colour(0);
    for (auto [k, r] : {std::pair{0, 0}, std::pair{3, 7}, std::pair{7, 29}}) {
      for (auto [i, j] : {std::pair{0, 0}, std::pair{5, 9}, std::pair{15, 15}})
        EXPECT_EQ(PixelOf(cache, 8 + 32 * k + i, 8 + 32 * r + j), PixelOf(sheet, 16 * k + i, 16 * r + j))
            << k << "," << r << " " << i << "," << j;
      EXPECT_EQ(PixelOf(cache, 32 * k + 3, 32 * r + 30), empty);
      EXPECT_EQ(PixelOf(cache, 32 * k + 27, 32 * r + 12), empty);
    }
  }
  // A lost cache is rebuilt by the next frame.
  const uint32_t cell = PixelOf(&SurfaceTable[64], 8 + 32 * 3 + 5, 8 + 32 * 7 + 9);
  DDFillSurface(&SurfaceTable[64], 7);
  SurfaceTable[64].bLost = 1;
  scene->Draw(1, 0, 1, 1);
  EXPECT_EQ(SurfaceTable[64].bLost, 0);
  EXPECT_EQ(PixelOf(&SurfaceTable[64], 8 + 32 * 3 + 5, 8 + 32 * 7 + 9), cell);
}

TEST_F(StageImages, TheSightMaskHasTheHerosSquareOrDiscCutOut) {
  const uint32_t shade = Colour(16), clear = Colour(0);
  const struct {
    int mode, dots;
    int side;        // the hole's radius as made; 0 none
    bool disc, stencil;
  } cases[] = {
      {3, 40, 40, false, false}, {4, 64, 64, false, false}, {1, 40, 40, true, true},
      {2, 64, 64, true, true},   {1, 0, 0, false, false},   {3, -30, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + std::to_string(c.dots));
    Hero()->m_Def.m_nSightMode = static_cast<int8_t>(c.mode);
    Hero()->m_nSightDots = c.dots;
    scene->CreateWorkSurfaces();
    DDSURFACEDATA* mask = &SurfaceTable[65];
    const int a = c.side, w = 1280 + 2 * a, h = 960 + 2 * a;
    ASSERT_EQ(mask->nWidth, w);
    ASSERT_EQ(mask->nHeight, h);
    EXPECT_EQ(PixelOf(mask, 0, 0), shade);
    EXPECT_EQ(PixelOf(mask, w / 2, h / 2), a ? clear : shade);
    if (a) {
      // Just inside the square's corner: cut out of a square only.
      EXPECT_EQ(PixelOf(mask, w / 2 - a + 1, h / 2 - a + 1), c.disc ? shade : clear);
      EXPECT_EQ(PixelOf(mask, w / 2 - a - 1, h / 2), shade);
      EXPECT_EQ(PixelOf(mask, w / 2 - a + 2, h / 2), clear);
    }
    EXPECT_EQ(HasImage(SurfaceTable[66]), c.stencil);
  }
}

TEST_F(StageImages, AMaskThatCannotBeMadeShowsTheMemoryBoxAndCloses) {
  run.Events().ExpectBoxes({1});
  run.Events().AllowCloseRequests(true);
  Hero()->m_Def.m_nSightMode = 1;
  Hero()->m_nSightDots = 40;
  // Video memory filled up, so that the mask falls back to system memory,
  // which then fails too.
  std::vector<DDSURFACEDATA> hogs(1);
  while (DDCreateSurface(&hogs.back(), 1024, 1024, 0, 0, 0, nullptr, 0) && hogs.back().nDDMemType == 0)
    hogs.emplace_back();
  plat::FailDisplayStep(plat::DisplayStep::Surface, 1);
  scene->CreateWorkSurfaces();
  plat::ClearDisplayFailures();
  for (DDSURFACEDATA& hog : hogs) DDReleaseSurface(&hog);
  EXPECT_EQ(run.Events().Texts(EventKind::Box).size(), 1u);
  EXPECT_EQ(run.Events().Texts(EventKind::Close).size(), 1u);
  EXPECT_FALSE(HasImage(SurfaceTable[66]));
}
