// The project's settings, with a new project's values until System.dat loads.
#include "records/system.h"

cEdSystem SystemData;
