// What items do to the hero: their command lists, the pick-up pop-up, and
// the whole effect of a taken item.
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/item_commands.h"
#include "game/item_effect.h"
#include "game/stage_data.h"

int cHero::RunItemCommands(cVector<cEdCommand>& commands) {
  cSceneStageData& stage = StageData();
  stage.m_bItemMessage = 0;
  ARRANGEVARS vars;
  vars.pStage = &stage.m_vStageVars;
  vars.pChara = &m_vVars;
  for (cEdCommand& command : commands) {
    // An arrange command leaves the pending operations to the commands after it.
    if (command.m_nType != ITEMCMDTYPE_ARRANGE) {
      ApplyCharaArranges(command, vars, m_lPendingArranges);
      m_lPendingArranges.clear();
    }
    const int result = RunItemCommand(*this, command);
    if (m_nHp <= 0) return STAGERESULT_DEFEAT;
    if (result != 0) return result;
  }
  return m_nHp <= 0 ? STAGERESULT_DEFEAT : STAGERESULT_NONE;
}

void cHero::ShowPickupPopup(int kind, int16_t number, int16_t param) {
  // Above the hero (placement 4), where it first showed.
  StageData().m_Messages.emplace_back(MESSAGEMODE_PICKUP, nullptr, kind, number, param, 4, 0, 0, 0, 0, 0, 1,
                                      MESSAGEDISPLAY_TIME, 30, 0, m_nId, 0, 0, 0, 0, 0, 0, 0);
}

int ApplyItemEffect(cItem* item, cHero& hero) {
  if (!item || item->m_nGraphic == 0 || item->m_Def.m_nPickupMode == PICKUPMODE_NEVER || !item->m_bPresent)
    return STAGERESULT_NONE;
  if (item->m_Def.m_bPickupPopup)
    hero.ShowPickupPopup(item->m_Def.m_nGraphicKind, item->m_Def.m_nGraphic, item->m_Def.m_nGraphicFrame);
  PlayUserSe(item->m_Def.m_nPickupSound);
  return hero.RunItemCommands(item->m_Def.m_vCommands);
}
