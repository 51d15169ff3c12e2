// The stage's own images: dedicated character bitmaps, swords, effects, the
// shot caches, the sight mask, and the surfaces of pictures and messages.
#include <algorithm>
#include <cstdint>

#include "base/boxes.h"
#include "base/report_log.h"
#include "game/characters.h"
#include "media/dd_blit.h"
#include "media/dd_fx.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/database.h"
#include "stage/scene_stage.h"

namespace {

// "専用bmp %s 読み込み失敗！", "ソード %s 読み込み失敗！", "エフェクト %s 読み込み失敗！"
const char kStageBmpFailed[] = "\x90\xEA\x97\x70" "bmp %s \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
const char kSwordFailed[] = "\x83\x5C\x81\x5B\x83\x68 %s \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";
const char kEffectFailed[] =
    "\x83\x47\x83\x74\x83\x46\x83\x4E\x83\x67 %s \x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73\x81\x49";

constexpr int kShotSheet = SURFACE_SHOTS;   // Shot.bmp, two variants (20, 21)
constexpr int kShotCache = SURFACE_RUNTIME; // their caches (63, 64)
constexpr int kSightMask = 65;
constexpr int kSightStencil = 66;

// The texture kind of the 3D device for images that are only drawn from.
int ImageMemType() { return lpDTCon ? DTMEMORYTYPE_VIDEO_NORT : DTMEMORYTYPE_VIDEO_RT; }

// One keyed image of a loader's set: made at `slot` of the set with its
// definition beside it; a failure writes the loader's line and leaves the
// surface empty.
void LoadImage(cVector<DDSURFACEDATA>& surfaces, cVector<DDSURFACEDEF>& defs, size_t slot, const std::string& file,
               int ddMemType, DDSURFACEDATA* alias, int mirrorW, const char* failedLine) {
  DDSURFACEDEF& def = defs[slot];
  SetSurfaceDef(def, file.c_str(), 1, ddMemType, ImageMemType(), alias ? 1 : 0, 0, 0, mirrorW, 0, 0, 0);
  def.lpAlias = alias;
  DDSURFACEDATA& sd = surfaces[slot];
  if (!DDCheckResult(DDCreateSurfaceFromFile(&sd, file.c_str(), 1, nBpp, ddMemType, ImageMemType(), alias, 0,
                                             mirrorW, 0, 0)))
    DebugLogPrintf(failedLine, file.c_str());
}

// Releases a loader's previous set and makes room for `count` surfaces,
// which stay at their places while aliases point into the set.
void ResetImageSet(cVector<DDSURFACEDATA>& surfaces, cVector<DDSURFACEDEF>& defs, size_t count) {
  DDReleaseSurfaceVector(surfaces);
  surfaces.clear();
  defs.clear();
  surfaces.resize(count);
  defs.resize(count);
}

// An empty surface of the stage's work set; a failure shows the
// out-of-memory box and asks the program to close.
bool MakeWorkSurface(DDSURFACEDATA& sd, int w, int h, int dtMemType) {
  if (DDCreateSurface(&sd, w, h, 1, 0, dtMemType, nullptr, 0)) return true;
  OutOfMemory();
  return false;
}

}  // namespace

void cSceneStage::LoadStageBitmaps() {
  // Entry 0 of the table is not an image; entry n fills 4n - 4 .. 4n - 1.
  const int entries = std::max(0, Database.m_vBmpCharaExc.Size() - 1);
  ResetImageSet(Off_StageBmp, Off_StageBmpDef, static_cast<size_t>(entries) * 4);
  for (int n = 1; n <= entries; ++n) {
    const cEdBmpCharaExc& entry = Database.m_vBmpCharaExc[static_cast<size_t>(n)];
    const size_t first = static_cast<size_t>(n - 1) * 4;
    const int cell = entry.CellSide();
    DDSURFACEDATA* plain = &Off_StageBmp[first];
    LoadImage(Off_StageBmp, Off_StageBmpDef, first, entry.m_strFile, 0, nullptr, 0, kStageBmpFailed);
    LoadImage(Off_StageBmp, Off_StageBmpDef, first + 1, entry.m_strFile, 0, plain, cell, kStageBmpFailed);
    LoadImage(Off_StageBmp, Off_StageBmpDef, first + 2, entry.m_strFile, 1, plain, 0, kStageBmpFailed);
    LoadImage(Off_StageBmp, Off_StageBmpDef, first + 3, entry.m_strFile, 1, plain, cell, kStageBmpFailed);
  }
}

void cSceneStage::LoadSwordImages() {
  // Per type: left and right image in the first memory type, then both again
  // in the second, referring to the first ones.
  const int types = Database.m_vSwordType.Size();
  ResetImageSet(Off_Sword, Off_SwordDef, static_cast<size_t>(types) * 4);
  for (int n = 0; n < types; ++n) {
    const cEdSwordType& type = Database.m_vSwordType[static_cast<size_t>(n)];
    const size_t first = static_cast<size_t>(n) * 4;
    LoadImage(Off_Sword, Off_SwordDef, first, type.m_strFileL, 0, nullptr, 0, kSwordFailed);
    LoadImage(Off_Sword, Off_SwordDef, first + 1, type.m_strFileR, 0, nullptr, 0, kSwordFailed);
    LoadImage(Off_Sword, Off_SwordDef, first + 2, type.m_strFileL, 1, &Off_Sword[first], 0, kSwordFailed);
    LoadImage(Off_Sword, Off_SwordDef, first + 3, type.m_strFileR, 1, &Off_Sword[first + 1], 0, kSwordFailed);
  }
}

void cSceneStage::LoadEffectImages() {
  // Entry 0 is no effect; entry n fills 2n - 2 and 2n - 1.
  const int entries = std::max(0, Database.m_vEffect.Size() - 1);
  ResetImageSet(Off_Effect, Off_EffectDef, static_cast<size_t>(entries) * 2);
  for (int n = 1; n <= entries; ++n) {
    const std::string& file = Database.m_vEffect[static_cast<size_t>(n)].m_strFile;
    const size_t first = static_cast<size_t>(n - 1) * 2;
    LoadImage(Off_Effect, Off_EffectDef, first, file, 0, nullptr, 0, kEffectFailed);
    LoadImage(Off_Effect, Off_EffectDef, first + 1, file, 1, &Off_Effect[first], 0, kEffectFailed);
  }
}

void cSceneStage::BuildTileCache() {
  // Every 16 x 16 shot cell sits in the middle of a 32 x 32 cell of its cache.
  for (int v = 0; v < 2; ++v) {
    DDSURFACEDATA* cache = &SurfaceTable[kShotCache + v];
    DDSURFACEDATA* sheet = &SurfaceTable[kShotSheet + v];
    DDFillSurface(cache, 0);
    for (int r = 0; r < 30; ++r)
      for (int k = 0; k < 8; ++k) DDBlt(cache, 8 + 32 * k, 8 + 32 * r, 16, 16, sheet, 16 * k, 16 * r, 0);
    cache->bLost = 0;
  }
}

void cSceneStage::CreateWorkSurfaces() {
  DDSURFACEDATA& mask = SurfaceTable[kSightMask];
  DDSURFACEDATA& stencil = SurfaceTable[kSightStencil];
  DDReleaseSurface(&mask);
  DDReleaseSurface(&stencil);
  const cHero* hero = Hero();
  if (!hero) return;
  // A negative radius would make a mask smaller than the screen.
  const int a = std::clamp(hero->m_nSightDots, 0, 4096);
  const int w = 1280 + 2 * a, h = 960 + 2 * a;
  if (!MakeWorkSurface(mask, w, h, DTMEMORYTYPE_VIDEO_RT)) return;
  DDFillSurface(&mask, 16);
  if (a == 0) return;
  const int mode = hero->m_Def.m_nSightMode;
  if (mode != 1 && mode != 2) {
    DDFillRect(&mask, w / 2 - a, h / 2 - a, 2 * a, 2 * a, 0);
    return;
  }
  if (!MakeWorkSurface(stencil, 2 * a, 2 * a, DTMEMORYTYPE_VIDEO_RT)) return;
  // The project keeps no transparent-stencil option: the disc is colour 0.
  DDFillSurface(&stencil, 0);
  DDBltCircle(&mask, w / 2, h / 2, a, a, a, 1, &stencil, a, a, 0);
}

void cSceneStage::ClearPictures() {
  DDReleaseSurfaceList(Off_Picture);
  Off_Picture.clear();
  Off_PictureDef.clear();
  m_Pictures.clear();
}

void cSceneStage::ClearMessageSurfaces() {
  DDReleaseSurfaceList(Off_Msg);
  Off_Msg.clear();
  Off_MsgDef.clear();
}
