// The surface containers; they move to the file of the global objects when it
// exists.
#include "media/surface_table.h"

DDSURFACEDATA SurfaceTable[SURFACE_TABLE_SIZE];
cVector<DDSURFACEDATA> Off_StageBmp;
