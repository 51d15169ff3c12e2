// The waits, messages, warp, effects, pictures and screen colour among the
// other action commands. Not built yet: each does nothing.
#include "game/action_commands.h"

int ActGameWait(cCharaBase&, cCommandInstance&) { return 0; }

int ActMessage(cCharaBase&, cCommandInstance&) { return 0; }

int ActWarp(cCharaBase&, cCommandInstance&) { return 0; }

int ActPlayEffect(cCharaBase&, cCommandInstance&) { return 0; }

int ActCharaEffect(cCharaBase&, cCommandInstance&) { return 0; }

int ActScreenEffect(cCharaBase&, cCommandInstance&) { return 0; }

int ActShowPicture(cCharaBase&, cCommandInstance&) { return 0; }

int ActScreenColor(cCharaBase&, cCommandInstance&) { return 0; }
