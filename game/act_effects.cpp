// The effect, character effect, screen effect and screen colour commands.
#include <cstdint>

#include "base/checked_convert.h"
#include "game/action_commands.h"
#include "game/calc_ops.h"
#include "game/chara_base.h"
#include "game/display_commands.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "media/dd_layer.h"
#include "records/anime_step.h"
#include "records/database.h"

namespace {

// The frames an effect plays: 6 per tenth of its frames' times.
int EffectFrames(const cEdEffect& effect) {
  int64_t tenths = 0;
  for (const cEdEffectFrame& f : effect.m_vFrame) tenths += f.m_nTime;
  return SaturatedTicks(SaturateToInt(tenths), TICKS_PER_TENTH);
}

}  // namespace

void CmdPlayEffect(cCharaBase& chara, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  if (stage.m_bCloseRequested.load()) return;
  auto p = [&command](int i) { return CmdParam(command, i); };
  const int n = p(0);
  if (n == 0) {
    stage.m_Effects.clear();
    return;
  }
  const cEdEffect& effect = Database.m_vEffect.At(n);  // a bad number is reported; entry 0 stands in
  EFFECTSPAWN spawn;
  spawn.nEffect = n >= 0 && n < Database.m_vEffect.Size() ? n : 0;
  spawn.nWidth = PercentRound(effect.m_nWidth, p(6));
  spawn.nHeight = PercentRound(effect.m_nHeight, p(6));
  GetDisplayPosition(spawn.dX, spawn.dY, spawn.nWidth, spawn.nHeight, chara, p(1), p(2), p(3), p(4), p(5));
  spawn.bWait = p(7);
  stage.m_Effects.emplace_back(spawn);
  if (!spawn.bWait) return;
  stage.m_Wait.Set(2, 0, EffectFrames(effect), 0);
  stage.RunPauseLoop(0);
}

void CmdCharaEffect(cCharaBase& chara, cEdCommand& command) {
  chara.m_CharaEffect.Start(CmdParam(command, 0), CmdParam(command, 1), CmdParam(command, 2));
}

void CmdScreenEffect(cCharaBase&, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  stage.m_ScreenEffect.Start(CmdParam(command, 0), CmdParam(command, 1), CmdParam(command, 2));
  if (stage.m_ScreenEffect.m_sEffect == 0 && lpDTCon && lpDTCon->bVirBackBuffer) DDUseVirBackBuffer(0);
}

void CmdScreenColor(cCharaBase&, cEdCommand& command) { StageData().StartColorTone(command); }

int ActPlayEffect(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdPlayEffect(chara, *instance.m_pCommand);
  return 0;
}

int ActCharaEffect(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdCharaEffect(chara, *instance.m_pCommand);
  return 0;
}

int ActScreenEffect(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdScreenEffect(chara, *instance.m_pCommand);
  return 0;
}

int ActScreenColor(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdScreenColor(chara, *instance.m_pCommand);
  return 0;
}
