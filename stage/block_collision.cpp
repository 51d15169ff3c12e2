// Block collision: the map cells along a character's edges push it back,
// stop it on floors and ceilings, or kill it. Until it is built, each call
// is noted in the debug log and changes nothing; the block test of a place
// is the stage data's own.
#include "base/report_log.h"
#include "stage/scene_stage.h"

int cSceneStage::FindEdgeBlock(cCharaBase&, int x1, int y1, int x2, int y2) {
  DebugLogPrintf("FindEdgeBlock %d %d %d %d", x1, y1, x2, y2);
  return 0;
}

int cSceneStage::FindFootBlock(cCharaBase&) {
  DebugLogPuts("FindFootBlock");
  return 0;
}

int cSceneStage::FindCornerBlock(int leftCol, int topRow, int rightCol, int bottomRow, int group) {
  DebugLogPrintf("FindCornerBlock %d %d %d %d %d", leftCol, topRow, rightCol, bottomRow, group);
  return 0;
}

namespace {

int NotedCollision(const char* name) {
  DebugLogPuts(name);
  return 0;
}

}  // namespace

int cSceneStage::HitBlockLeft(cCharaBase&) { return NotedCollision("HitBlockLeft"); }
int cSceneStage::HitBlockRight(cCharaBase&) { return NotedCollision("HitBlockRight"); }
int cSceneStage::HitBlockTop(cCharaBase&) { return NotedCollision("HitBlockTop"); }
int cSceneStage::HitBlockBottom(cCharaBase&) { return NotedCollision("HitBlockBottom"); }
int cSceneStage::HitBlocksX(cCharaBase&) { return NotedCollision("HitBlocksX"); }
int cSceneStage::HitBlocksXRightFirst(cCharaBase&) { return NotedCollision("HitBlocksXRightFirst"); }
int cSceneStage::HitBlocksY(cCharaBase&) { return NotedCollision("HitBlocksY"); }
int cSceneStage::HitBlocksYBottomFirst(cCharaBase&) { return NotedCollision("HitBlocksYBottomFirst"); }
int cSceneStage::KeepInScreenX(cHero&) { return NotedCollision("KeepInScreenX"); }
int cSceneStage::KeepInScreenY(cHero&) { return NotedCollision("KeepInScreenY"); }

int cSceneStage::IsBlockedAt(const cGameObject& object) { return cSceneStageData::IsBlockedAt(object); }
