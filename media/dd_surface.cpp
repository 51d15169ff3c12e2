#include "media/dd_surface.h"

DDSURFACEDATA BackBuffer;
