#pragma once
// The settings of the three system fonts (FontSpec), from which
// start-up creates SysFont. Start-up puts the project's face into all three
// and replaces a glyph-cache value of 2 by System.ini's setting for the
// running back end before it creates the fonts.
#include <cstdint>

constexpr int SYSTEM_FONT_COUNT = 3;

struct FONTDEF {
  char szFaceName[256];  // Shift-JIS face name
  int32_t nWidth;        // character width; 0 lets the face choose
  int32_t nHeight;       // character height, dots
  int32_t nCellWidth;    // one glyph cell, dots
  int32_t nCellHeight;
  int32_t nTextColor;    // palette number of the text
  int32_t nBoxImage;     // SurfaceTable index of the window-frame image
  int32_t nFrameThick;   // dots of the text's frame
  int32_t nFrameColor;   // palette number of the frame
  int32_t nIconSheet;    // SurfaceTable index of the symbol image
  int32_t nCache;        // glyph cache: 0 off, 1 on, 2 System.ini decides
};

extern FONTDEF FontSpec[SYSTEM_FONT_COUNT];

// Fills FontSpec; run once by its definition, before the entry point.
void InitFontSpecs();
