// The screen fades every scene runs when it enters and leaves.
#include <cmath>

#include "base/checked_convert.h"
#include "media/dd_blit.h"
#include "media/dd_effects.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/dt_device.h"
#include "platform/soft_display.h"

namespace {

constexpr double kFadeRadiansPerDegree = 0.017453292519943295;

// Each back end keeps its own angles: [0] the software display, [1] the 3D device.
double s_fadeOutAngle[2] = {90.0, 90.0};
double s_fadeInAngle[2] = {0.0, 0.0};

// One frame of a fade at `angle`: 90 shows the picture, 0 the plain colour.
// False when the 3D device could not draw.
bool DrawFade(double angle, bool copyFirst, PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green,
              uint8_t blue, const PALETTEENTRY src[256]) {
  const double s = std::sin(angle * kFadeRadiansPerDegree);
  if (lpDTCon) return DTFadeQuad(255 - ToIntChecked(255 * s));
  if (copyFirst && nBpp > 8) DDBlt(&WorkDD, 0, 0, BackBuffer.nWidth, BackBuffer.nHeight, &BackBuffer, 0, 0, 0);
  const int level = ToIntChecked(s * 256);
  if (nBpp == 8) {
    DDBlendPalette(work, first, last, level, red, green, blue, src);
    if (DDPalette && first >= 0 && last <= 255 && first <= last) {
      plat::PalEntry entries[256];
      for (int i = first; i <= last; ++i)
        entries[i] = plat::PalEntry{work[i].peRed, work[i].peGreen, work[i].peBlue, work[i].peFlags};
      DDPalette->SetEntries(first, last - first + 1, entries + first);
    }
  } else {
    DDFade_UnPal(&BackBuffer, level, red, green, blue, &WorkDD);
  }
  return true;
}

}  // namespace

bool DDFadeOut(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
               const PALETTEENTRY src[256], int bSkip) {
  double& angle = s_fadeOutAngle[lpDTCon ? 1 : 0];
  if (bSkip) angle = 0.0;
  if (!DrawFade(angle, angle == 90.0, work, first, last, red, green, blue, src)) return false;
  if (angle > 0.0) {
    angle -= step;
    if (angle < 0.0) angle = 0.0;
    return false;
  }
  angle = 90.0;
  return true;
}

bool DDFadeIn(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
              const PALETTEENTRY src[256], int bSkip) {
  double& angle = s_fadeInAngle[lpDTCon ? 1 : 0];
  if (bSkip) angle = 90.0;
  if (!DrawFade(angle, angle == 0.0, work, first, last, red, green, blue, src)) return false;
  if (angle < 90.0) {
    angle += step;
    if (angle > 90.0) angle = 90.0;
    return false;
  }
  angle = 0.0;
  return true;
}
