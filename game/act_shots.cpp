// The shot, sword and summon commands (types 11 to 15). Not built yet: each
// does nothing.
#include "game/action_commands.h"

int ActShot(cCharaBase&, cCommandInstance&) { return 0; }
int ActSword(cCharaBase&, cCommandInstance&) { return 0; }
int ActSummonBlock(cCharaBase&, cCommandInstance&) { return 0; }
int ActSummonChara(cCharaBase&, cCommandInstance&) { return 0; }
int ActSummonItem(cCharaBase&, cCommandInstance&) { return 0; }
