// The music manager, empty until start-up initialises it.
#include "media/bgm.h"

cBgm Bgm;
