// The stage's own images: dedicated character bitmaps, swords, effects, the
// shot caches, the sight mask, and the surfaces of pictures and messages.
// Until they are built, each call is noted in the debug log.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::LoadStageBitmaps() { DebugLogPuts("LoadStageBitmaps"); }
void cSceneStage::LoadSwordImages() { DebugLogPuts("LoadSwordImages"); }
void cSceneStage::LoadEffectImages() { DebugLogPuts("LoadEffectImages"); }
void cSceneStage::BuildTileCache() { DebugLogPuts("BuildTileCache"); }
void cSceneStage::CreateWorkSurfaces() { cSceneStageData::CreateWorkSurfaces(); }
void cSceneStage::ClearPictures() { DebugLogPuts("ClearPictures"); }
void cSceneStage::ClearMessageSurfaces() { DebugLogPuts("ClearMessageSurfaces"); }
