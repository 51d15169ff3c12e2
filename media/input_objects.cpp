// The input records and the key assignment.
#include "media/input.h"
#include "media/key_config.h"

cVector<cInput> Input(1);
KEYCONFIG KeyConfig = {};
