// The colour tone's state.
#include "stage/color_tone.h"

void cColorTone::Reset() { *this = cColorTone(); }
