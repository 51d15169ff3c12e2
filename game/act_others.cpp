// The other action commands: flow operation, stage clear, waits, messages,
// warp, target, states, items, graphics, animations, effects, pictures,
// screen colour, background, sound, music and arrange. Not built yet: each
// does nothing.
#include "game/action_commands.h"

int ActFlowOperation(cCharaBase&, cCommandInstance&) { return 0; }

int ActStageClear(cCharaBase&, cCommandInstance&) { return 0; }

int ActGameWait(cCharaBase&, cCommandInstance&) { return 0; }

int ActMessage(cCharaBase&, cCommandInstance&) { return 0; }

int ActWarp(cCharaBase&, cCommandInstance&) { return 0; }

int ActSetTarget(cCharaBase&, cCommandInstance&) { return 0; }

int ActStatusOp2(cCharaBase&, cCommandInstance&) { return 0; }

int ActVanish(cCharaBase&, cCommandInstance&) { return 0; }

int ActGetItem(cCharaBase&, cCommandInstance&) { return 0; }

int ActChangeGraphic(cCharaBase&, cCommandInstance&) { return 0; }

int ActChangeBasicAnimeSet(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlayAnime(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlayEffect(cCharaBase&, cCommandInstance&) { return 0; }

int ActCharaEffect(cCharaBase&, cCommandInstance&) { return 0; }

int ActScreenEffect(cCharaBase&, cCommandInstance&) { return 0; }

int ActShowPicture(cCharaBase&, cCommandInstance&) { return 0; }

int ActScreenColor(cCharaBase&, cCommandInstance&) { return 0; }

int ActChangeBackground(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlaySe(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlayBgm(cCharaBase&, cCommandInstance&) { return 0; }

int ActArrange(cCharaBase&, cCommandInstance&) { return 0; }
