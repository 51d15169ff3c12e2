// The stage music.
#include "stage/scene_stage.h"

void cSceneStage::RequestStageBgm(int number, int bLoop) { cSceneStageData::RequestStageBgm(number, bLoop); }
