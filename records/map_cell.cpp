#include "records/map_cell.h"

cVector<MAPCELL> MapCell;
