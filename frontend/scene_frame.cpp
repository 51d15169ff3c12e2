#include "frontend/scene_frame.h"

#include "base/boxes.h"
#include "base/dbcs_text.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/dd_effects.h"
#include "media/font.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/system.h"

MENUANCHOR TitleMenuAnchor = {192, 240, 0, 0};
MENUANCHOR TitleSlotAnchor = {152, 160, 0, 0};

void StartScreenMusic(int kind) {
  const int32_t music = SystemData.m_vScreenBgm.At(kind);
  if (music != 0 && music == Game.m_nBgm) return;
  Game.m_nBgm = music;
  plat::Send(hWndMain.load(), WM_GAME_PLAYBGM, static_cast<uintptr_t>(kind), 0);
}

bool LoadSceneImages(const SCENEFRAME& frame) {
  if (DDLoadSurfaces(SurfaceTable, frame.anImages, frame.nImages)) return true;
  PostCloseMessage(hWndMain.load());
  return false;
}

int32_t CollectVisibleEntries(const cVector<cEdSystemText>& menu, cVector<int32_t>& ids) {
  ids.clear();
  for (int i = 0; i < menu.Size(); ++i)
    if (menu[i].m_bVisible) ids.push_back(i);
  if (ids.empty()) ids.push_back(0);
  return ids.Size();
}

void ReleaseSceneSurfaces(const SCENEFRAME& frame) {
  for (int i = 0; i < frame.nImages; ++i) {
    const int entry = frame.anImages[i];
    if (entry >= 0 && entry < SURFACE_TABLE_SIZE) DDReleaseSurface(&SurfaceTable[entry]);
  }
  DDReleaseSurfaceVector(Off_Scene);
  Off_Scene.clear();
  Off_SceneDef.clear();
}

bool MakeFullScreenSurface() {
  DDReleaseSurfaceVector(Off_Scene);
  Off_Scene.clear();
  Off_SceneDef.clear();
  if (!DDAddSurface(Off_Scene, Off_SceneDef, 640, 480, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr)) {
    PostCloseMessage(hWndMain.load());
    return false;
  }
  return true;
}

DDSURFACEDATA* BeginFullScreenSurface(int titleEntry) {
  if (Off_Scene.empty()) return nullptr;
  DDSURFACEDATA* surface = &Off_Scene[0];
  surface->bLost = 0;
  SysFont[2].DrawBox(surface, 1, 1, 638, 478);
  const std::string& caption = SystemData.m_vTitleMenu.At(titleEntry).m_strText;
  SysFont[2].DrawText(surface, 320 - 16 * CountChars(caption.c_str()), 32, caption.c_str(), 0);
  return surface;
}

bool SceneFadeIn() { return DDFadeIn(CurPalette, 0, 255, 0, 0, 0, Game.m_nFadeStep, BasePalette, 0); }

bool SceneFadeOut() { return DDFadeOut(CurPalette, 0, 255, 0, 0, 0, Game.m_nFadeStep, BasePalette, 0); }
