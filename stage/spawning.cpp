// The summons' characters, items and blocks, and the burying of objects by
// a summoned block. Until they are built, the summons are the stage data's
// own (a debug line each) and the crush test is noted and finds nothing.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::SpawnChara(cList<cChara>& list, double x, double y, int group, int facing, int ownerFacing,
                             const cEdShot& def, const cEdChara& chara, int32_t& idCounter) {
  cSceneStageData::SpawnChara(list, x, y, group, facing, ownerFacing, def, chara, idCounter);
}

void cSceneStage::SpawnItem(cList<cItem>& list, double x, double y, int ownerFacing, const cEdShot& def,
                            const cEdItem& item, int32_t& idCounter) {
  cSceneStageData::SpawnItem(list, x, y, ownerFacing, def, item, idCounter);
}

void cSceneStage::PutBlock(double x, double y, int ownerFacing, const cEdShot& def, const cEdBlock& block) {
  cSceneStageData::PutBlock(x, y, ownerFacing, def, block);
}

int cSceneStage::CrushByBlock(int index, int column, int row, const cEdShot&) {
  DebugLogPrintf("CrushByBlock %d %d %d", index, column, row);
  return 0;
}
