// The pause menu, the retry menu and game over. Until they are built, each
// frame of them is noted in the debug log and the state stays.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::PauseMenu() { DebugLogPuts("PauseMenu"); }
void cSceneStage::RetryMenu() { DebugLogPuts("RetryMenu"); }
void cSceneStage::GameOver() { DebugLogPuts("GameOver"); }
