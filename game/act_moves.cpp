// The movement commands (types 2 to 10) and their set-ups. Not built yet:
// each does nothing, so a move command only takes its time.
#include "game/action_commands.h"

int ActMoveStraight(cCharaBase&, cCommandInstance&) { return 0; }
int ActMoveGroundTurn(cCharaBase&, cCommandInstance&) { return 0; }
int ActMoveCircle(cCharaBase&, cCommandInstance&) { return 0; }
int ActMoveCharge(cCharaBase&, cCommandInstance&) { return 0; }
int ActMoveHoming(cCharaBase&, cCommandInstance&) { return 0; }
int ActMoveAvoidOffscreen(cCharaBase&, cCommandInstance&) { return 0; }
int ActDisableMove(cCharaBase&, cCommandInstance&) { return 0; }
int ActTurn(cCharaBase&, cCommandInstance&) { return 0; }
int ActJump(cCharaBase&, cCommandInstance&) { return 0; }

void SetupMoveTiming(cCharaBase&, cCommandInstance&) {}
void SetupCircleMove(cCharaBase&, cCommandInstance&) {}
void SetupHomingMove(cCharaBase&, cCommandInstance&) {}
void SetupJump(cCharaBase&, cCommandInstance&) {}
