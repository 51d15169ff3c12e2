#pragma once
// Objects erased while a pass walks their lists (their own step, another's
// command, a defeat). Freeing one at once would leave the walk, or a
// character that still names it, holding a dead object; instead it is
// unlinked at once (no target, targeted-by list, aimed shot or group list
// names it), marked gone (m_bGone), skipped by every later walk and look-up
// by id, and erased from its list when the pass ends.
class cChara;
class cItem;
class cShot;

void MarkCharaGone(cChara& chara);
void MarkItemGone(cItem& item);
void MarkShotGone(cShot& shot);

// Erases the gone objects from CharaList, ItemList and the running stage's
// shots. The end of each pass.
void SweepGoneObjects();

// 1 when the object's hit box overlaps a block character (alive, present,
// not gone) other than itself.
class cGameObject;
int OverlapsBlockChara(const cGameObject& object);
