// The shot, sword and summon commands (types 11 to 15). A volley or summon
// goes out on the command's first step and then every tenth of a second
// while the command runs; a sword is swung once per run of the command.
#include <climits>

#include "game/action_commands.h"
#include "game/chara_base.h"
#include "game/flow_instance.h"
#include "game/other_commands.h"
#include "game/shot.h"
#include "game/shot_emitter.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/sword_type.h"

namespace {

using EMITTER = void (*)(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def);

void Shoot(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def) {
  ShootShots(StageData().m_Shots, owner, cmd, def);
}

// m_nCount counts the steps of the current tenth of a second.
int EveryTenth(cCharaBase& chara, cCommandInstance& instance, EMITTER emit) {
  if (!instance.m_pCommand) return 0;
  if (instance.m_nCount == 0) {
    PlayCommandSe(chara, *instance.m_pCommand);
    if (cEdShot* def = instance.m_pCommand->m_spShot.get()) emit(chara, instance, *def);
  }
  const int steps = Stage.StepsPerFrame();
  if (++instance.m_nCount >= 6 * steps) instance.m_nCount = 0;
  return 0;
}

}  // namespace

int ActShot(cCharaBase& chara, cCommandInstance& instance) { return EveryTenth(chara, instance, Shoot); }
int ActSummonBlock(cCharaBase& chara, cCommandInstance& instance) { return EveryTenth(chara, instance, SummonBlocks); }
int ActSummonChara(cCharaBase& chara, cCommandInstance& instance) { return EveryTenth(chara, instance, SummonCharas); }
int ActSummonItem(cCharaBase& chara, cCommandInstance& instance) { return EveryTenth(chara, instance, SummonItems); }

int ActSword(cCharaBase& chara, cCommandInstance& instance) {
  if (!instance.m_pCommand) return 0;
  cEdShot* def = instance.m_pCommand->m_spShot.get();
  if (instance.m_nCount == 0) PlayCommandSe(chara, *instance.m_pCommand);
  if (instance.m_nCount == 0 && def) {
    // A bad sword type or one without frames is reported here, at the swing.
    const cEdSwordType& type = Database.m_vSwordType.At(def->m_nPath);
    (void)type.FrameAt(0);
    cSceneStageData& stage = StageData();
    const SHOTSPAWN spawn{};
    cShot built;
    built.Init(stage.m_nShotSerial, chara, SHOTMAKER_SWORD, *def, spawn);
    cShot& added = stage.AddShot(built);
    stage.m_nShotSerial = stage.m_nShotSerial == INT_MAX ? 0 : stage.m_nShotSerial + 1;
    added.m_nTargetId = OBJECT_NONE;
  }
  if (instance.m_nCount < INT_MAX) ++instance.m_nCount;
  return 0;
}
