// Status operation 2 (action type 23, item type 8), the states a flow
// switches on a character or the stage, and the vanish command (action
// type 24, item type 9), which takes a whole group off the stage.
#include <algorithm>
#include <vector>

#include "game/action_commands.h"
#include "game/characters.h"
#include "game/gone_objects.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/stage.h"

namespace {

enum STATE2OBJECT { STATE2_SELF, STATE2_TARGET, STATE2_SYSTEM };
enum STATE2 {
  STATE2_VANISH,
  STATE2_TRANSPARENT,
  STATE2_FIX_DIRECTION,
  STATE2_FLY_MODE,
  STATE2_INVINCIBLE,
  STATE2_SCALE,
  STATE2_SCROLL_SYNC,
};
enum SYSTEMSTATE2 { STATE2_AUTOSCROLL_X, STATE2_AUTOSCROLL_Y };
enum VANISHKIND { VANISH_CHARAS, VANISH_SHOTS };

// The scale is a signed byte of the definition; 0 or less would turn the
// object inside out.
constexpr int SCALE_MIN = 1;
constexpr int SCALE_MAX = 127;

// A character leaves play: a computer-operated one vanishes, the player's
// loses its HP. Another than the commanding one asks for the defeat check.
void TakeOut(cCharaBase& object, const cCharaBase& chara) {
  if (object.m_nController == 1)
    object.m_bVanished = 1;
  else
    object.m_nHp = 0;
  if (&object != &chara) StageData().m_bDefeatCheck = 1;
}

void SetState(cCharaBase& object, const cCharaBase& chara, int state, int32_t value) {
  switch (state) {
    case STATE2_VANISH:
      TakeOut(object, chara);
      break;
    case STATE2_TRANSPARENT:
      object.m_Def.m_bTransparent = static_cast<int8_t>(value);
      break;
    case STATE2_FIX_DIRECTION:
      object.m_Def.m_bFixDirection = static_cast<int8_t>(value);
      break;
    case STATE2_FLY_MODE:
      if (object.m_nController == 0 && !Player.empty()) Player[0].SetFlyMode(value, 1);
      break;
    case STATE2_INVINCIBLE:
      object.m_Def.m_bInvincible = static_cast<int8_t>(value);
      break;
    case STATE2_SCALE: {
      const int scale = std::clamp<int32_t>(value, SCALE_MIN, SCALE_MAX);
      object.SetScale(scale, object.m_Def.m_nScale);
      object.m_Def.m_nScale = static_cast<int8_t>(scale);
      if (object.m_nController == 0 && !Player.empty()) Player[0].BuildBoxMarkers();
      break;
    }
    case STATE2_SCROLL_SYNC:
      object.m_Def.m_bScrollSync = static_cast<int8_t>(value);
      object.m_bScrollSync = value;
      break;
    default:
      break;
  }
}

void SetSystemState(int state, int32_t value) {
  cSceneStageData& stage = StageData();
  if (state == STATE2_AUTOSCROLL_X) {
    stage.m_ScrollX.SetAutoScroll(value, Stage.m_nAutoScrollSpeedX);
    Stage.m_bAutoScrollX = value;
  } else if (state == STATE2_AUTOSCROLL_Y) {
    stage.m_ScrollY.SetAutoScroll(value, Stage.m_nAutoScrollSpeedY);
    Stage.m_bAutoScrollY = value;
  }
}

}  // namespace

int CmdStatusOp2(cCharaBase& chara, cEdCommand& command) {
  const int state = CmdParam(command, 1);
  const int32_t value = CmdParam(command, 2);
  switch (CmdParam(command, 0)) {
    case STATE2_SELF:
      SetState(chara, chara, state, value);
      break;
    case STATE2_TARGET:
      if (cCharaBase* target = chara.Target()) SetState(*target, chara, state, value);
      break;
    case STATE2_SYSTEM:
      SetSystemState(state, value);
      break;
    default:
      break;
  }
  return 0;
}

int CmdVanish(cCharaBase& chara, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  const int kind = CmdParam(command, 0);
  const int group = CmdParam(command, 1);
  const bool everywhere = CmdParam(command, 2) == 1;
  if (kind == VANISH_CHARAS) {
    for (cCharaBase* c : stage.m_CharaGroups.At(group))
      if (c && c->m_bPresent && (everywhere || c->m_bOnScreen)) TakeOut(*c, chara);
  } else if (kind == VANISH_SHOTS) {
    // Marking a shot gone takes it out of its group list: choose them first.
    // The shot itself stays until the pass that runs this command ends, since
    // that pass (the attacks, a pick-up) may be walking the shots.
    std::vector<cShot*> chosen;
    for (cShot* s : stage.m_ShotGroups.At(group))
      if (s && s->m_bPresent && (everywhere || s->m_bOnScreen)) chosen.push_back(s);
    for (cShot* s : chosen) MarkShotGone(*s);
  }
  return 0;
}

int ActStatusOp2(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdStatusOp2(chara, *instance.m_pCommand);
  return 0;
}

int ActVanish(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdVanish(chara, *instance.m_pCommand);
  return 0;
}

int ItemCmdStatusOp2(cHero& hero, cEdCommand& command) {
  CmdStatusOp2(hero, command);
  return 0;
}

int ItemCmdVanish(cHero& hero, cEdCommand& command) {
  CmdVanish(hero, command);
  return 0;
}
