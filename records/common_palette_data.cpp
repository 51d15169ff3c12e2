// The common palette, with one default entry per list until start-up reads
// data\CommonPalette.cplt4.
#include "records/common_palette.h"

cEdCommonPalette CommonPalette;
