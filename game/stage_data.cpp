#include "game/stage_data.h"

#include "base/report_log.h"
#include "game/characters.h"
#include "game/game.h"
#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"

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

void cSceneStageData::CreateWorkSurfaces() {
  if (DebugLogEnabled()) DebugLogPrintf("CreateWorkSurfaces %d", Player.empty() ? 0 : Player[0].m_nSightDots);
}

void cSceneStageData::RequestStageBgm(int number, int bLoop) { DebugLogPrintf("RequestStageBgm %d %d", number, bLoop); }

cShot& cSceneStageData::AddShot(cShot& built) {
  m_Shots.push_back(built);
  built.m_nTargetId = OBJECT_NONE;
  cShot& added = m_Shots.back();
  m_ShotGroups.At(added.m_nGroup).push_back(&added);
  return added;
}

cList<cShot>::iterator cSceneStageData::EraseShot(cList<cShot>::iterator it) {
  cShot* shot = &*it;
  for (cList<cShot*>& group : m_ShotGroups) group.remove(shot);
  return m_Shots.erase(it);
}

cShot* cSceneStageData::FindShotById(int id) {
  for (cShot& shot : m_Shots)
    if (shot.m_nId == id) return &shot;
  return nullptr;
}

void cSceneStageData::SpawnChara(cList<cChara>&, double x, double y, int group, int facing, int, const cEdShot&,
                                 const cEdChara& chara, int32_t&) {
  DebugLogPrintf("SpawnChara %g %g group %d facing %d graphic %d", x, y, group, facing, chara.m_nGraphic);
}

void cSceneStageData::SpawnItem(cList<cItem>&, double x, double y, int, const cEdShot&, const cEdItem& item,
                                int32_t&) {
  DebugLogPrintf("SpawnItem %g %g graphic %d", x, y, item.m_nGraphic);
}

void cSceneStageData::PutBlock(double x, double y, int, const cEdShot& def, const cEdBlock& block) {
  DebugLogPrintf("PutBlock %g %g mode %d graphic %d", x, y, def.m_nSummonMode, block.m_nGraphic);
}

cSceneStageData& StageData() {
  if (CurStage) return *CurStage;
  // Outside a stage objects see an empty world; nothing writes here on purpose.
  static cSceneStageData none;
  return none;
}
