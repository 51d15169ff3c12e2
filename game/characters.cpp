#include "game/characters.h"

// The object lists; they move to the file of the global objects when it exists.
cVector<cHero> Player;
cList<cChara> CharaList;
cList<cItem> ItemList;

cCharaBase* FindCharaById(int id) {
  if (id == OBJECT_NONE) return nullptr;
  for (cHero& hero : Player)
    if (hero.m_nId == id) return &hero;
  for (cChara& chara : CharaList)
    if (chara.m_nId == id) return &chara;
  return nullptr;
}
