#pragma once
// The stage scene (scene 4). Its members live in its data part
// (cSceneStageData, game/stage_data.h), which is what CurStage points to
// while it runs and what the game objects and the main window's dialogs
// reach of it.
#include "game/scene.h"
#include "game/stage_data.h"

class cSceneStage : public cScene, public cSceneStageData {
 public:
};
