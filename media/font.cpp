#include "media/font.h"

// Nothing to draw with until the fonts are created.
int Font::DrawTextBox(DDSURFACEDATA*, int, int, int, int, const char*, int) { return 0; }
