#pragma once
// A taken item's effect on the hero: its pick-up pop-up, its sound and its
// command list. Called by the pick-up rule, by a defeat for the drop item,
// by a block that gives an item and by a shot that carries one.
class cHero;
class cItem;

// 0, 1 the stage was cleared, 2 the hero's HP is gone. Nothing (0) for no
// item, an item of graphic 0, one that is never picked up, or one that is
// not present.
int ApplyItemEffect(cItem* item, cHero& hero);
