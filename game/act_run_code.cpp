// The run-code command (type 37). Not built yet: it does nothing.
#include "game/action_commands.h"

int ActRunCode(cCharaBase&, cCommandInstance&) { return 0; }
