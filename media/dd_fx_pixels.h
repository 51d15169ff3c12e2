#pragma once
// What the software pixel effects share: the pixel mode of one call (chosen
// once from the back end, the depth and the target), the channel layouts
// copied from the tables once per call, the planes of two locked surfaces,
// and the cut of a copy to both of them. Drawing thread.
#include <cstddef>
#include <cstdint>

#include "media/dd_pixels.h"
#include "media/dd_surface.h"

// How one call reads, tests and stores pixels.
enum ePixelMode {
  PIXEL_NONE,       // a depth without pixel loops: nothing is drawn
  PIXEL_DD8,        // software display: palette indices
  PIXEL_DD16,       // software display: TextureChannels, no alpha
  PIXEL_DD32,       // software display: bytes blue, green, red; byte 3 belongs to the target
  PIXEL_DT16,       // 3D texture A1R5G5B5: opaque when a bit of 0xA000 is set; stores set the alpha bit
  PIXEL_DT16_BACK,  // 3D, into the full-screen R5G6B5 back buffer from A1R5G5B5 sources
  PIXEL_DT32,       // 3D A8R8G8B8: opaque when alpha is not 0; stores set alpha 255
};

// The channel layouts and the transparent colour, as they are when a call
// starts.
struct cPixelFormat {
  int shift[4] = {}, mask[4] = {};          // TextureChannels: red, green, blue, alpha; masks <= 255
  int backShift[3] = {}, backMask[3] = {};  // BackBufferChannels: red, green, blue
  uint32_t transmit = 0;                    // TransmitPixel

  static cPixelFormat Current();
  static cPixelFormat From(const int texture[8], const int back[8], uint32_t transmit);

  // Channel k (0 red, 1 green, 2 blue) of a texture-layout pixel, in its own width.
  int Get(uint32_t p, int k) const { return static_cast<int>((p >> shift[k]) & static_cast<uint32_t>(mask[k])); }
  int GetBack(uint32_t p, int k) const {
    return static_cast<int>((p >> backShift[k]) & static_cast<uint32_t>(backMask[k]));
  }
  // Software display: the channels masked and packed, no alpha.
  uint32_t Pack(int r, int g, int b) const {
    return (static_cast<uint32_t>(r) & static_cast<uint32_t>(mask[0])) << shift[0] |
           (static_cast<uint32_t>(g) & static_cast<uint32_t>(mask[1])) << shift[1] |
           (static_cast<uint32_t>(b) & static_cast<uint32_t>(mask[2])) << shift[2];
  }
  // 3D textures: the same with the alpha bit set.
  uint32_t PackOpaque(int r, int g, int b) const {
    return Pack(r, g, b) | (static_cast<uint32_t>(mask[3]) & 1u) << shift[3];
  }
  // The full-screen back buffer; green is already in its six bits.
  uint32_t PackBack(int r, int g6, int b) const {
    return (static_cast<uint32_t>(r) & static_cast<uint32_t>(backMask[0])) << backShift[0] |
           (static_cast<uint32_t>(g6) & static_cast<uint32_t>(backMask[1])) << backShift[1] |
           (static_cast<uint32_t>(b) & static_cast<uint32_t>(backMask[2])) << backShift[2];
  }
  // A texture pixel as the back buffer shows it: green doubled into six bits.
  uint32_t ToBack(uint32_t p) const { return PackBack(Get(p, 0), Get(p, 1) * 2, Get(p, 2)); }
  // The transparent colour by value; at 32 bits on the software display
  // byte 3 means nothing and is not compared.
  bool IsTransmit8(uint32_t p) const { return p == transmit; }
  bool IsTransmit16(uint32_t p) const { return p == transmit; }
  bool IsTransmit32(uint32_t p) const { return ((p ^ transmit) & 0xFFFFFFu) == 0; }
};

// The software display's channels (in their own widths) to 0-255 and back:
// c * 255 / mask and v * mask / 255.
struct cChannelScale {
  uint8_t up[3][256];
  uint8_t down[3][256];
  explicit cChannelScale(const cPixelFormat& f);
};

inline bool TransparentDT16(uint32_t p) { return (p & 0xA000u) == 0; }
inline bool TransparentDT32(uint32_t p) { return (p >> 24) == 0; }

// The pixels of one locked surface.
struct cPixelPlane {
  uint8_t* bits = nullptr;  // pixel (0, 0)
  ptrdiff_t pitch = 0;      // bytes from one row to the next
  int w = 0, h = 0;         // the pixels an effect may touch
  template <class T>
  T* Row(int64_t y) const {
    return reinterpret_cast<T*>(bits + static_cast<ptrdiff_t>(y) * pitch);
  }
};

// What the pixel loop of one call works on.
struct cEffectPixels {
  ePixelMode mode = PIXEL_NONE;
  cPixelFormat format;
  cPixelPlane dst, src;
};

// Half-open ranges [lo, hi).
struct cSpan {
  int lo = 0, hi = 0;
  bool Empty() const { return hi <= lo; }
};

// The offsets i of a copy of n pixels that land: lo <= i < hi with 0 <= i < n,
// the target pixel at + i inside [0, dstSize) and the source pixel inside
// [0, srcSize): from + i, or from - 1 - i when the axis is read mirrored.
// All sums in 64 bits, so any arguments give a range inside both surfaces.
cSpan CutCopyAxis(int64_t at, int64_t n, int dstSize, int64_t from, int srcSize, bool mirrored);
// Intersection of [lo, hi) with [a, b), computed in 64 bits.
cSpan CutRange(int64_t lo, int64_t hi, int64_t a, int64_t b);

// The rectangle at (x, y) of w x h grown by mx and my on each side, in
// 64 bits and cut to the range of int: what an effect may touch.
plat::Rect EffectArea(int64_t x, int64_t y, int64_t w, int64_t h, int64_t mx = 0, int64_t my = 0);

// The two locks of a software effect: the target first, then the source; the
// source is given back first. On the 3D device both pass alias resolution
// and back-buffer redirection.
class cEffectLocks {
 public:
  // False, with nothing locked, when a surface is null, not made or released,
  // when both are the same surface, or when a lock fails.
  // With areas, only those pixels of each surface are read or written.
  bool Lock(DDSURFACEDATA* dst, DDSURFACEDATA* src, const plat::Rect* dstArea = nullptr,
            const plat::Rect* srcArea = nullptr);
  // The pixels and mode of the locked pair. A depth without pixel loops, or
  // two surfaces of different depths, give PIXEL_NONE and a debug line
  // naming the effect.
  cEffectPixels Pixels(const char* effect) const;
  DDSURFACEDATA* Target() const { return m_target.m_lpSD; }

 private:
  cSurfaceLock m_target;
  cSurfaceLock m_source;  // declared last: unlocked first
};

// The surface as the 3D device draws it (alias resolved, back buffer
// redirected); the surface itself on the software display.
DDSURFACEDATA* DDEffectSurface(DDSURFACEDATA* lpSD);
// 3D: the translucent, tinted, rotated and colour-tone copies draw a quad
// (rather than locking) into a render target from a source the video card
// holds. Both surfaces as DDEffectSurface gives them.
bool DDEffectDrawsQuad(const DDSURFACEDATA* dst, const DDSURFACEDATA* src);
