// The condition gates of the stage: an owner's list, its mode and latch flag
// from its record, the latched state on the owner.
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/conditions.h"
#include "game/flow_conditions.h"
#include "game/flow_instance.h"
#include "game/map_cells.h"
#include "records/map_cell.h"

namespace {

template <class LATCH>
int Gate(cVector<cEdCondition>& list, int mode, int bLatch, LATCH& latched, cCharaBase* chara) {
  if (list.empty()) return 1;
  if (bLatch && latched == 1) return 1;
  if (!CheckConditionList(list, mode, chara)) return 0;
  latched = 1;
  return 1;
}

}  // namespace

int CheckBlockConditions(MAPCELL& cell) {
  cEdBlock& block = cell.Block;
  return Gate(block.m_vConditions, block.m_nCondMode, block.m_bCondOnce, cell.bLatched, Hero());
}

int CheckCharaConditions(cCharaBase& chara) {
  cEdChara& def = chara.m_Def;
  return Gate(def.m_vConditions, def.m_nCondMode, def.m_bCondOnce, chara.m_bCondLatched, &chara);
}

int CheckItemConditions(cItem& item) {
  cEdItem& def = item.m_Def;
  return Gate(def.m_vConditions, def.m_nCondMode, def.m_bCondOnce, item.m_bCondLatched, Hero());
}

int CheckFlowConditions(cFlowInstance& flow, cCharaBase& chara) {
  if (!flow.m_pFlow) return 1;
  cEdFlow& record = *flow.m_pFlow;
  return Gate(record.m_vConditions, record.m_nCondMode, record.m_bCondOnce, flow.m_bCondLatched, &chara);
}
