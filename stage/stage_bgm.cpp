// The stage music, played by the main window.
#include "base/window_messages.h"
#include "platform/messages.h"
#include "records/save_data.h"
#include "stage/scene_stage.h"

void cSceneStage::RequestStageBgm(int number, int bLoop) {
  // The main window remembers the number in PlayData and reads the loop
  // flag from there.
  PlayData.m_bStageBgmLoop = bLoop;
  plat::Send(hWndMain.load(), WM_GAME_PLAYBGM, BGMKIND_STAGE, number);
}
