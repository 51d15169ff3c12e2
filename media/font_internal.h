#pragma once
// Small rules the font files share.
#include <algorithm>
#include <cstdint>

#include "media/dd_layer.h"
#include "media/dd_surface.h"

namespace font_detail {

inline int Narrow(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The full-width space "　" is drawn as a glyph, never cached.
inline bool IsFullWidthSpace(const char* p) {
  return static_cast<unsigned char>(p[0]) == 0x81 && static_cast<unsigned char>(p[1]) == 0x40;
}

// A surface with an image of the running back end to draw from.
inline bool HasImage(const DDSURFACEDATA* sd) {
  if (!sd) return false;
  if (lpDTCon) return sd->lpDT != nullptr || sd->lpAlias != nullptr;
  return sd->lpDDS && sd->lpDDS->lpSurface;
}

}  // namespace font_detail
