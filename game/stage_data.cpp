#include "game/stage_data.h"

#include "game/game.h"

void cModalWait::Set(int mode, int bKey, int frames, int bNoDelay) {
  nMode = mode;
  bWaitKey = bKey;
  nFrames = frames;
  bDone = 0;
  nDelay = bWaitKey && nMode == 1 && !bNoDelay ? 10 : 0;
}

cSceneStageData::cSceneStageData() {
  m_CharaGroups.resize(STAGE_GROUP_COUNT);
  m_ShotGroups.resize(STAGE_GROUP_COUNT);
  m_ScreenEffect.Clear();
}

void cSceneStageData::SetUpScrollAxes(const cEdStage& stage) {
  m_ScrollX.SetUpHorizontal(stage);
  m_ScrollY.SetUpVertical(stage);
}

cSceneStageData& StageData() {
  if (CurStage) return *CurStage;
  // Outside a stage objects see an empty world; nothing writes here on purpose.
  static cSceneStageData none;
  return none;
}
