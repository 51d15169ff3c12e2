#include "game/stage_data.h"

#include "base/report_log.h"
#include "base/thread.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/gone_objects.h"
#include "game/map_cells.h"
#include "media/dd_surface.h"
#include "media/system_surfaces.h"
#include "records/block.h"
#include "records/chara.h"
#include "records/command.h"
#include "records/item.h"

namespace {

// The thread message that wakes a message's pause loop.
constexpr uint32_t kPauseWake = 0x8000;

unsigned PauseThreadProc(void* arg) { return static_cast<unsigned>(static_cast<cSceneStageData*>(arg)->PauseLoop()); }

}  // namespace

void cModalWait::Set(int mode, int bKey, int frames, int bNoDelay) {
  nMode = mode;
  bWaitKey = bKey;
  // A negative time ends the wait on its first frame, as 0 does; held at 0
  // it cannot run below the int range as the loop counts it down.
  nFrames = frames < 0 ? 0 : frames;
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
  // A shot of a group outside the lists (its owner's) joins none: it hits nothing.
  if (added.m_nGroup >= 0 && added.m_nGroup < m_ShotGroups.Size()) m_ShotGroups[added.m_nGroup].push_back(&added);
  return added;
}

cList<cShot>::iterator cSceneStageData::EraseShot(cList<cShot>::iterator it) {
  cShot* shot = &*it;
  for (cList<cShot*>& group : m_ShotGroups) group.remove(shot);
  return m_Shots.erase(it);
}

cShot* cSceneStageData::FindShotById(int id) {
  for (cShot& shot : m_Shots)
    if (shot.m_nId == id && !shot.m_bGone) return &shot;
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

void cSceneStageData::RunPauseLoop(int bWake) {
  if (!thPause.Start(PauseThreadProc, this)) return;
  // The loop's queue exists before its body runs, so the post is taken at
  // once; a refused one means the loop has already ended.
  if (bWake) plat::PostToThread(thPause.m_dwThreadId.load(), kPauseWake, 0, 0);
  thPause.Wait();
}

int cSceneStageData::RemoveMessage(const cMessageWindow* window) {
  for (auto it = m_Messages.begin(); it != m_Messages.end(); ++it) {
    if (&*it != window) continue;
    if (it->m_lpSurface) DDEraseSurface(Off_Msg, Off_MsgDef, it->m_lpSurface);
    m_Messages.erase(it);
    return 1;
  }
  return 0;
}

int cSceneStageData::RemovePicture(const cPictureInstance* picture) {
  auto surface = Off_Picture.begin();
  for (auto it = m_Pictures.begin(); it != m_Pictures.end(); ++it) {
    if (&*it == picture) {
      if (surface != Off_Picture.end()) DDEraseSurface(Off_Picture, Off_PictureDef, &*surface);
      m_Pictures.erase(it);
      return 1;
    }
    if (surface != Off_Picture.end()) ++surface;
  }
  return 0;
}

int cSceneStageData::PauseLoop() { return m_bCloseRequested.load() ? 0 : 1; }

void cSceneStageData::StartColorTone(const cEdCommand& command) {
  std::string line = "cColorTone::Start";
  for (int i = 0; i < 8; ++i)
    line += " " + std::to_string(i < command.m_vParams.Size() ? command.m_vParams[i] : 0);
  DebugLogPuts(line.c_str());
}

int cSceneStageData::IsBlockedAt(const cGameObject& object) {
  if (object.m_bNoGravity && object.m_nBlockMode == BLOCKMODE_PASS) return 0;
  if (object.TouchesBlockCorners()) return 1;
  return OverlapsBlockChara(object);
}

cSceneStageData& StageData() {
  if (CurStage) return *CurStage;
  // Outside a stage objects see an empty world; nothing writes here on purpose.
  static cSceneStageData none;
  return none;
}
