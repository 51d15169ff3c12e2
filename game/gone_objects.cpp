#include "game/gone_objects.h"

#include <algorithm>

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
  cVector<cList<cShot*>>& groups = StageData().m_ShotGroups;
  // A shot is filed once, in the list of its group: a thousand shots going
  // in a frame cannot each walk every list. Every list only when it is not
  // in its own.
  bool unlinked = false;
  if (shot.m_nGroup >= 0 && shot.m_nGroup < groups.Size()) {
    cList<cShot*>& own = groups[shot.m_nGroup];
    const auto it = std::find(own.begin(), own.end(), entry);
    if (it != own.end()) {
      own.erase(it);
      unlinked = true;
    }
  }
  if (!unlinked)
    for (cList<cShot*>& group : groups) group.remove(entry);
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
