#include "app/game.h"

#include "base/boxes.h"
#include "app/main_window.h"
#include "app/request_services.h"
#include "base/report_log.h"
#include "frontend/scene_map_menu.h"
#include "frontend/scene_option.h"
#include "frontend/scene_stage_select.h"
#include "frontend/scene_title.h"
#include "frontend/scene_world_map.h"
#include "app/win_main.h"
#include "platform/clock.h"
#include "platform/thread.h"
#include "stage/scene_stage.h"

cAppSceneMaker AppSceneMaker;

// Every scene number makes its scene.
cScene* cAppSceneMaker::Create(int scene) {
  switch (scene) {
    case SCENE_TITLE: return new cSceneTitle;
    case SCENE_WORLDMAP: return new cSceneWorldMap;
    case SCENE_MAPMENU: return new cSceneMapMenu;
    case SCENE_STAGESELECT: return new cSceneStageSelect;
    case SCENE_OPTION: return new cSceneOption;
    case SCENE_STAGE: {
      cSceneStage* stage = new cSceneStage;
      CurStage = stage;
      return stage;
    }
    default: return nullptr;
  }
}

void cAppSceneMaker::SetStageFps(int fps) {
  if (auto* stage = dynamic_cast<cSceneStage*>(Game.m_pStage)) stage->m_nFps = fps;
}

bool cAppSceneMaker::ReloadFreeStage(const char* path) { return RequestServices().StartFromStageFile(path, 0); }

unsigned GameLoop(void*) {
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) {
        DebugLogPuts("GameLoop WM_QUIT!");
        return 1;
      }
      continue;  // WM_GAME_START and anything else is dropped
    }
    if (!bAppActive.load()) {
      plat::Sleep(1);
      continue;
    }
    if (!Game.Frame()) {
      PostCloseMessage(hWndMain);
      return 1;
    }
  }
}
