// The replay save keys. Until they are built, no key saves anything.
#include "stage/replay_keys.h"

int CheckReplaySaveKeys() { return 0; }
