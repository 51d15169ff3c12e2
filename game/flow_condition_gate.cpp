// The flow condition gate until the conditions are built: the latch rule,
// and a list that counts as holding.
#include "game/chara_base.h"
#include "game/flow_conditions.h"

int CheckFlowConditions(cFlowInstance& flow, cCharaBase&) {
  if (!flow.m_pFlow || flow.m_pFlow->m_vConditions.empty()) return 1;
  if (flow.m_pFlow->m_bCondOnce && flow.m_bCondLatched) return 1;
  flow.m_bCondLatched = 1;
  return 1;
}
