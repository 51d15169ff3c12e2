// The other action commands: flow operation, stage clear, target, states,
// items, graphics, animations, background, sound, music and arrange. Not
// built yet: each does nothing.
#include "game/action_commands.h"

int ActFlowOperation(cCharaBase&, cCommandInstance&) { return 0; }

int ActStageClear(cCharaBase&, cCommandInstance&) { return 0; }

int ActSetTarget(cCharaBase&, cCommandInstance&) { return 0; }

int ActStatusOp2(cCharaBase&, cCommandInstance&) { return 0; }

int ActVanish(cCharaBase&, cCommandInstance&) { return 0; }

int ActGetItem(cCharaBase&, cCommandInstance&) { return 0; }

int ActChangeGraphic(cCharaBase&, cCommandInstance&) { return 0; }

int ActChangeBasicAnimeSet(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlayAnime(cCharaBase&, cCommandInstance&) { return 0; }

int ActChangeBackground(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlaySe(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlayBgm(cCharaBase&, cCommandInstance&) { return 0; }

int ActArrange(cCharaBase&, cCommandInstance&) { return 0; }
