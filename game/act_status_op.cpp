// The status operation command (type 22). Not built yet: it does nothing.
#include "game/action_commands.h"

int ActStatusOp(cCharaBase&, cCommandInstance&) { return 0; }
