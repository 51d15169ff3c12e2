#include "game/characters.h"

cCharaBase* FindCharaById(int id) {
  if (id == OBJECT_NONE) return nullptr;
  for (cHero& hero : Player)
    if (hero.m_nId == id) return &hero;
  for (cChara& chara : CharaList)
    if (chara.m_nId == id && !chara.m_bGone) return &chara;
  return nullptr;
}
