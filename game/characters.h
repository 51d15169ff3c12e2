#pragma once
// The live objects of a running stage: the hero (Player, element 0), the
// other characters (CharaList) and the items (ItemList). The lists own their
// objects; an object built on the stack is copied into its node. The
// classes gain their own members and operations with the hero, character
// and item behaviour; here they stand on their bases.
#include "base/container.h"
#include "game/chara_base.h"
#include "game/game_object.h"

// An item of the stage, or the drop item a character holds.
class cItem : public cGameObject {
 public:
};

// The player-operated character.
class cHero : public cCharaBase {
 public:
};

// Every character of a stage that is not the hero. It lives in the active
// area: its position is confined there.
class cChara : public cCharaBase {
 public:
  int ConfineX() override { return ClampX(2); }
  int ConfineY() override { return ClampY(2); }
};

extern cVector<cHero> Player;  // the hero is element 0
extern cList<cChara> CharaList;
extern cList<cItem> ItemList;

// The hero or stage character whose m_nId is `id` (the first hero, then the
// first character); null when there is none.
cCharaBase* FindCharaById(int id);
