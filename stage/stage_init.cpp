// The stage scene's entry: its images, a fresh stage state at a first
// entry, the life in play, and the first set-up.
#include "base/boxes.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "game/graphic_source.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/close_request.h"
#include "game/menu_cursor.h"
#include "records/ranking.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "stage/scene_images.h"
#include "stage/scene_stage.h"

void cSceneStage::Init() {
  m_bFailed = 0;
  m_vRanks.resize(STAGE_RANK_CATEGORIES);
  m_vRankValues.resize(STAGE_RANK_CATEGORIES);
  SelectCharaSurfaces();
  // The background layers' images take the stage's names; a layer the
  // stage does not have, or one of plain colour, has none.
  for (int k = 0; k < SURFACE_BACKGROUND_COUNT; ++k) {
    DDSURFACEDEF& def = SurfaceDefs[kStageBackgroundImages[k]];
    if (k < Stage.m_vBackground.Size() && !Stage.m_vBackground[static_cast<size_t>(k)].m_bFillColor) {
      def.szFileName = Stage.m_vBackground[static_cast<size_t>(k)].m_strFile;
      // A layer larger than the screen is kept in system memory.
      DDCheckBitmapSize(&def.nDDMemType, def.szFileName.c_str(), 640, 480);
    } else {
      def.szFileName.clear();
    }
  }
  if (Game.m_nPrevScene != SCENE_STAGE) {
    if (!LoadSceneImages(1)) return;
    BuildTileCache();
    LoadStageBitmaps();
    LoadSwordImages();
    LoadEffectImages();
    ResetStageState();
    LoseLife(PlayData);
    SetStage(0, 1);
  } else {
    // The next area of a numbered stage: only its backgrounds are new.
    if (!LoadSceneImages(0)) return;
    SetStage(1, 1);
  }
  MenuCursor.Reset();
  m_nStep = 0;
}

int cSceneStage::LoadSceneImages(int bAll) {
  const uint32_t closeRequests = plat::CloseRequestCount();
  const bool loaded = bAll ? DDLoadSurfaces(SurfaceTable, kStageSceneImages, kStageSceneImageCount)
                           : DDLoadSurfaces(SurfaceTable, kStageBackgroundImages, SURFACE_BACKGROUND_COUNT);
  if (loaded) return 1;
  FailSetUp(closeRequests);
  return 0;
}

void cSceneStage::FailSetUp(uint32_t closeRequestsBefore) {
  m_bFailed = 1;
  if (plat::CloseRequestCount() == closeRequestsBefore) PostCloseMessage(hWndMain.load());
}

void cSceneStage::ResetStageState() {
  PlayData.m_nLives = PlayData.m_nStartLives;
  PlayData.m_nStageScore = 0;
  PlayData.m_nTotalScore = 0;
  PlayData.m_nTimeLeftSum = 0;
  PlayData.m_nClearTimeSum = 0;
  PlayData.m_nHpSum = 0;
  PlayData.m_nSpSum = 0;
  PlayData.m_bHeroStart = 0;
  m_ScrollX.m_dPos = 0;
  m_ScrollY.m_dPos = 0;
  m_nStep = 0;
  m_nBannerCount = 0;
  m_nBanner2Count = 0;
  m_bButtonLock = 0;
  m_nTimeLeft = 0;
  m_bRanked = 0;
  m_Messages.clear();
  if (Game.m_nPlayCommand != GAMEMODE_REPLAY) {
    Replay.Clear();
    ReplayPrev.Clear();
  }
  if (bTestPlay.load()) PlayData.m_nAreaNo = 1;
  // A stage without a ranking file starts an empty one.
  if (Game.m_bRanking) Ranking.LoadFor(Game.m_nPlayKind, PlayData.m_strStagePath);
}

int cSceneStage::LoseLife(cSaveData& progress) {
  if (bTestPlay.load()) return 1;
  if (progress.m_nLives == LIVES_INFINITE) return 1;
  if (progress.m_nLives >= 1) {
    --progress.m_nLives;
    return 1;
  }
  return 0;
}
