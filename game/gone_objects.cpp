#include "game/gone_objects.h"

#include "game/block_charas.h"
#include "game/characters.h"
#include "game/shot.h"
#include "game/stage_data.h"

void MarkCharaGone(cChara& chara) {
  if (chara.m_bGone) return;
  chara.ForgetReferences();
  cCharaBase* const entry = &chara;
  for (cList<cCharaBase*>& list : StageData().m_CharaGroups) list.remove(entry);
  chara.m_bGone = 1;
}

void MarkItemGone(cItem& item) { item.m_bGone = 1; }

void MarkShotGone(cShot& shot) {
  if (shot.m_bGone) return;
  cShot* const entry = &shot;
  for (cList<cShot*>& group : StageData().m_ShotGroups) group.remove(entry);
  shot.m_bGone = 1;
}

void SweepGoneObjects() {
  const size_t charas = CharaList.size();
  CharaList.remove_if([](const cChara& c) { return c.m_bGone != 0; });
  if (CharaList.size() != charas) cBlockCharas::Changed();
  ItemList.remove_if([](const cItem& i) { return i.m_bGone != 0; });
  StageData().m_Shots.remove_if([](const cShot& s) { return s.m_bGone != 0; });
}

int OverlapsBlockChara(const cGameObject& object) {
  for (const cChara* block : cBlockCharas::Get()) {
    const cChara& c = *block;
    if (c.m_bGone || !c.m_Def.m_bBlockChara || c.m_bDefeated || !c.m_bPresent || c.m_nId == object.m_nId) continue;
    if (c.m_rcHit.Overlaps(object.m_rcHit)) return 1;
  }
  return 0;
}
