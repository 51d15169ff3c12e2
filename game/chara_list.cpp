// Taking a character out of the stage.
#include "game/block_charas.h"
#include "game/characters.h"
#include "game/object_list.h"
#include "game/stage_data.h"

cList<cChara>::iterator EraseChara(cList<cChara>::iterator node) {
  cChara& chara = *node;
  chara.ForgetReferences();
  // Its entry wherever it stands, so that no group list keeps a pointer to
  // it, also when its group number is not a list's.
  cCharaBase* const entry = &chara;
  for (cList<cCharaBase*>& list : StageData().m_CharaGroups) list.remove(entry);
  cBlockCharas::Changed();
  return ObjectList::EraseObject(CharaList, &chara);
}
