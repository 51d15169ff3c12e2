// The stage's own states around play: the fade-in, the start banners, the
// fade-out that leaves for the next scene, and the pause key.
#include "base/boxes.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/surface_table.h"
#include "platform/input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "stage/scene_stage.h"

namespace {

// Word.bmp holds the banners and the area digits.
constexpr int kBannerImage = 51;
// A banner shows while its count, raised each frame, stays below this.
constexpr int kBannerFrames = 80;

}  // namespace

void cSceneStage::FadeIn() {
  Draw(0, 1, 0, 1);
  if (PlayDrawing->DDFadeIn(CurPalette, 0, 255, 0, 0, 0, Game.m_nFadeStep, BasePalette, 0))
    m_nPhase = STAGESTATE_START;
}

void cSceneStage::StartBanner() {
  Draw(0, 1, 0, 1);
  DDSURFACEDATA* word = &SurfaceTable[kBannerImage];
  // The editor's test play goes straight into play.
  if (!(bFromEditor.load() && bTestPlay.load())) {
    if (Game.m_nPlayCommand == GAMEMODE_REPLAY) {
      if (++m_nBannerCount < kBannerFrames) {
        PlayDrawing->DDBlt(&BackBuffer, 256, 224, 128, 32, word, 0, 32, 1);
        return;
      }
    } else if (Stage.m_bStartBanner) {
      if (++m_nBannerCount < kBannerFrames) {
        PlayDrawing->DDBlt(&BackBuffer, 256, 224, 128, 32, word, 0, 0, 1);
        PlayDrawing->DDDrawNumber(&BackBuffer, 384, 224, 32, 32, word, 0, 128, 1, PlayData.m_nAreaNo, 1, 0);
        return;
      }
    }
    if (Stage.m_bStartBanner2) {
      if (++m_nBanner2Count < kBannerFrames) {
        PlayDrawing->DDBlt(&BackBuffer, 280, 224, 80, 32, word, 160, 0, 1);
        return;
      }
    }
  }
  if (cHero* hero = Hero()) hero->m_Anime.SetPattern(hero->m_bNoGravity ? 2 : 0, 1);
  m_nBannerCount = 0;
  m_nPhase = STAGESTATE_PLAY;
}

void cSceneStage::FadeOut() {
  Draw(0, 1, 0, 1);
  if (!PlayDrawing->DDFadeOut(CurPalette, 0, 255, 0, 0, 0, Game.m_nFadeStep, BasePalette, 0)) return;
  PlayDrawing->DDFillSurface(&BackBuffer, 16);
  // A free stage starts again from its file, with fresh progress.
  if (Game.m_nPlayCommand == GAMEMODE_FREE && !PlayData.m_bNumberedStage && Game.m_pSceneMaker &&
      !Game.m_pSceneMaker->ReloadFreeStage(Stage.m_strPath.c_str()))
    PostCloseMessage(hWndMain.load());
  Game.m_nFps = 60;
  Game.m_nScene = Game.m_nNextScene;
  Game.m_nPrevScene = SCENE_STAGE;
  m_nPhase = -1;
}

int cSceneStage::CheckPauseKey() {
  if (!plat::IsKeyDown(VK_SPACE)) return 0;
  PlaySe(4);
  m_nPausedPhase = m_nPhase;
  m_nPausedStep = m_nStep;
  return 1;
}
