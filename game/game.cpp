// The scene manager: which scenes exist, their creation and deletion.
#include "game/game.h"

cGame Game;
cSceneStageData* CurStage = nullptr;
std::atomic<int> nMeasuredFps{0};
std::atomic<int> nFrameWorkMs{0};
int32_t anFpsWorkRing[FPS_RING_SIZE] = {};
int32_t nFpsRingPos = 0;
uint32_t nFpsWorkAverage = 0;
int bTimerPacing = 0;

namespace {

void Delete(cScene*& scene) {
  delete scene;
  scene = nullptr;
}

}  // namespace

cGame::~cGame() { DeleteScenes(); }

cScene*& cGame::Slot(int scene) {
  switch (scene) {
    case SCENE_TITLE: return m_pTitle;
    case SCENE_WORLDMAP: return m_pWorldMap;
    case SCENE_MAPMENU: return m_pMapMenu;
    case SCENE_STAGESELECT: return m_pStageSelect;
    case SCENE_STAGE: return m_pStage;
    default: return m_pOption;
  }
}

cScene* cGame::SceneOf(int scene) const {
  if (scene < 0 || scene >= SCENE_COUNT) return nullptr;
  return const_cast<cGame*>(this)->Slot(scene);
}

void cGame::DeleteScenes() {
  for (int scene : {SCENE_TITLE, SCENE_WORLDMAP, SCENE_MAPMENU, SCENE_STAGESELECT, SCENE_OPTION,
                    SCENE_STAGE}) {
    Delete(Slot(scene));
  }
  CurStage = nullptr;
}

void cGame::SwitchScene(int scene) {
  if (!m_bKeepScenes) {
    for (int other : {SCENE_TITLE, SCENE_MAPMENU, SCENE_WORLDMAP, SCENE_STAGESELECT, SCENE_STAGE,
                      SCENE_OPTION}) {
      if (other == scene || !Slot(other)) continue;
      Delete(Slot(other));
      if (other == SCENE_STAGE) CurStage = nullptr;
    }
  }
  if (scene < 0 || scene >= SCENE_COUNT) return;
  cScene*& slot = Slot(scene);
  if (slot || !m_pSceneMaker) return;
  slot = m_pSceneMaker->Create(scene);
}
