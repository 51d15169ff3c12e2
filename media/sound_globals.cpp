// The sound-effect bank and its definitions, empty until start-up fills them.
#include "media/sound_effect.h"

cVector<SEDATA> SeBank;
cVector<SEDEF> SeDefs;
