#include "media/palette_scheme.h"

#include <algorithm>
#include <string>

#include "base/boxes.h"
#include "base/number_text.h"
#include "base/report_log.h"
#include "media/dd_effects.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/system_surfaces.h"
#include "platform/soft_display.h"
#include "records/system.h"

ANIMCOLOR AnimColorTable[ANIMCOLOR_COUNT];

namespace {

// "%s の読み込みに失敗！"
const char kSchemeLoadFailed[] = "%s \x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x81\x49";
// "DDLoadPaletteFromFile失敗"
const char kPaletteFailed[] = "DDLoadPaletteFromFile\x8E\xB8\x94\x73";

constexpr int kLastScheme = 23;
// The twelve blocks of sixteen colours that the schemes rearrange.
constexpr int kBlockFirst = 16;
constexpr int kBlockLast = 207;
constexpr int kBlockSize = 16;
constexpr int kRotatingSchemes = 12;  // 0..11 turn the blocks; 12.. repeat one block
// The cycling band: eight groups of four entries.
constexpr int kCycleFirst = 208;
constexpr int kCycleGroups = 8;
constexpr int kCycleGroupSize = 4;
constexpr int kCycleCalls = 6;  // calls per step of the cycle
// The 3D device's texture-stage operations of the overlays.
constexpr uint32_t kOpAdd = 7;
constexpr uint32_t kOpSubtract = 10;

constexpr int kColors = 9;
int s_intensity[kColors + 1];
int s_direction[kColors + 1];
int s_hue;         // colour 9: 0 red, 1 green, 2 blue, 3 yellow
int s_cycleCalls;  // 8 bits: calls since the last step of the cycle

void ShowEntries(int first, int count) {
  if (!DDPalette || first < 0 || count < 1 || first + count > 256) return;
  plat::PalEntry entries[256];
  for (int i = first; i < first + count; ++i)
    entries[i] = plat::PalEntry{CurPalette[i].peRed, CurPalette[i].peGreen, CurPalette[i].peBlue, CurPalette[i].peFlags};
  DDPalette->SetEntries(first, count, entries + first);
}

uint32_t Argb(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

uint32_t ColorOf(int k, uint32_t v) {
  switch (k) {
    case 1:
    case 2: return Argb(v, v, v);
    case 3: return Argb(v, 0, 0);
    case 4: return Argb(0, v, 0);
    case 5: return Argb(0, 0, v);
    case 6: return Argb(v, v, 0);
    case 7: return Argb(v, 0, v >> 2);
    case 8: return Argb(v >> 2, 0, v);
    default:
      switch (s_hue) {
        case 0: return Argb(v, 0, 0);
        case 1: return Argb(0, v, 0);
        case 2: return Argb(0, 0, v);
        default: return Argb(v, v, 0);
      }
  }
}

void AnimateOverlays() {
  const int step = std::clamp(SystemData.m_nColourAnimSpeed, 0, 255);
  for (int k = 1; k <= kColors; ++k) {
    const uint32_t v = static_cast<uint32_t>(s_intensity[k]);
    AnimColorTable[k].dwColor = ColorOf(k, v);
    AnimColorTable[k].dwColorOp = k == 2 ? kOpSubtract : kOpAdd;
    if (PingPong(s_intensity[k], s_direction[k], step, 0, 255) && k == kColors) s_hue = (s_hue + 1) % 4;
  }
}

void CyclePalette() {
  if (++s_cycleCalls < kCycleCalls) return;
  for (int i = 0; i < kCycleGroups; ++i) {
    const int first = kCycleFirst + kCycleGroupSize * i;
    DDRotatePalette(CurPalette, first, first + kCycleGroupSize - 1, 1, 1, CurPalette);
  }
  ShowEntries(kCycleFirst, kCycleGroups * kCycleGroupSize);
  s_cycleCalls = 0;
}

}  // namespace

int SetPaletteScheme(int scheme) {
  if (lpDTCon || !lpDD || nBpp != 8) return 1;
  const int n = std::clamp(scheme, 0, kLastScheme);
  std::string number;
  IntToText(number, n, 2, true, false);
  const std::string file = "bmp\\hbt\\hbt" + number + ".dat";
  if (!LoadBlendTable(BlendTable, file.c_str())) {
    ErrorBoxPrintf(kSchemeLoadFailed, file.c_str());
    return 0;
  }
  if (!DDLoadPaletteFromFile(BasePalette, SurfaceDefs[0].szFileName.c_str(), nBpp)) {
    DebugLogPuts(kPaletteFailed);
    return 0;
  }
  if (n < kRotatingSchemes) {
    DDRotatePalette(BasePalette, kBlockFirst, kBlockLast, n * kBlockSize, 1, BasePalette);
  } else {
    const int source = (n - (kRotatingSchemes - 1)) * kBlockSize;
    PALETTEENTRY block[kBlockSize];
    std::copy(BasePalette + source, BasePalette + source + kBlockSize, block);
    for (int first = kBlockFirst; first <= kBlockLast; first += kBlockSize)
      std::copy(block, block + kBlockSize, BasePalette + first);
  }
  std::copy(BasePalette, BasePalette + 256, CurPalette);
  ShowEntries(0, 255);
  return 1;
}

void AnimateColors() {
  if (lpDTCon) {
    AnimateOverlays();
    return;
  }
  if (SystemData.m_bPaletteCycle && nBpp == 8) CyclePalette();
}

int PingPong(int& value, int& direction, int step, int min, int max) {
  if (direction == 0) {
    const int64_t next = static_cast<int64_t>(value) + step;
    if (next >= max)
      direction = 1;
    else
      value = static_cast<int>(next);
    return 0;
  }
  const int64_t next = static_cast<int64_t>(value) - step;
  if (next > min) {
    value = static_cast<int>(next);
    return 0;
  }
  direction = 0;
  return 1;
}

void ResetColorAnimation() {
  std::fill(std::begin(s_intensity), std::end(s_intensity), 0);
  std::fill(std::begin(s_direction), std::end(s_direction), 0);
  s_hue = 0;
  s_cycleCalls = 0;
  std::fill(std::begin(AnimColorTable), std::end(AnimColorTable), ANIMCOLOR{});
}

void ShowPalette(int first, int count) { ShowEntries(first, count); }
