// The fonts' global objects.
#include "media/font.h"

namespace {

// "ＭＳ ゴシック"
#define FONT_FACE_GOTHIC "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E"

DDSURFACEDEF DigitSheetDef() {
  DDSURFACEDEF def;
  def.bColorKey = 1;
  return def;
}

}  // namespace

cFontList& FontList = *new cFontList;

Font SysFont[3];

FONTDEF FontSpec[3] = {
    {FONT_FACE_GOTHIC, 0, 9, 10, 10, 241, 45, 1, 240, 50, 2},
    {FONT_FACE_GOTHIC, 0, 16, 16, 16, 241, 45, 1, 240, 50, 2},
    {FONT_FACE_GOTHIC, 0, 30, 32, 32, 241, 45, 1, 240, 50, 0},
};

DDSURFACEDATA Off_Digit[3];
DDSURFACEDEF DigitSurfaceDefs[3] = {DigitSheetDef(), DigitSheetDef(), DigitSheetDef()};
