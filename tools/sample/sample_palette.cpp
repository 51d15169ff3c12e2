#include "tools/sample/sample_palette.h"

#include <vector>

namespace {

struct HUEBASE {
  int r, g, b;
};

// The twelve colour groups of entries 16..207, in block order.
const HUEBASE kBlockHues[12] = {
    {224, 224, 232},  // grey
    {240, 48, 40},    // red
    {248, 140, 32},   // orange
    {244, 220, 48},   // yellow
    {156, 224, 44},   // lime
    {44, 188, 72},    // green
    {32, 192, 172},   // teal
    {80, 172, 248},   // sky
    {52, 76, 236},    // blue
    {140, 68, 228},   // violet
    {228, 68, 196},   // magenta
    {172, 108, 60},   // brown
};

// The eight cycling bands of 208..239.
const HUEBASE kBandHues[8] = {
    {40, 100, 220}, {230, 84, 20}, {236, 196, 36}, {64, 168, 56},
    {148, 216, 248}, {148, 56, 196}, {224, 92, 228}, {56, 228, 196},
};

const SAMPLERGB kLowEntries[16] = {
    {0, 0, 0},       {20, 20, 28},    {248, 248, 240}, {96, 24, 24},
    {24, 72, 24},    {24, 24, 96},    {96, 72, 24},    {72, 24, 96},
    {24, 96, 96},    {160, 160, 168}, {112, 112, 120}, {64, 64, 72},
    {255, 224, 196}, {224, 176, 140}, {255, 128, 160}, {140, 90, 50},
};

const SAMPLERGB kHighEntries[16] = {
    {200, 208, 232}, {255, 255, 255}, {255, 255, 128}, {128, 255, 255},
    {255, 128, 255}, {128, 128, 255}, {255, 128, 128}, {128, 255, 128},
    {192, 192, 0},   {0, 192, 192},   {192, 0, 192},   {0, 0, 192},
    {192, 0, 0},     {0, 192, 0},     {255, 251, 240}, {250, 250, 250},
};

uint8_t Channel(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// Shades 0..11 darken the hue, 12..15 lighten it toward white.
SAMPLERGB RampShade(const HUEBASE& h, int shade) {
  auto one = [shade](int c) {
    if (shade <= 11) return c * (shade + 2) / 13;
    return c + (255 - c) * (shade - 11) / 5;
  };
  return {Channel(one(h.r)), Channel(one(h.g)), Channel(one(h.b))};
}

SamplePalette BuildBase() {
  SamplePalette p{};
  for (int i = 0; i < 16; ++i) p[i] = kLowEntries[i];
  for (int block = 0; block < 12; ++block)
    for (int shade = 0; shade < 16; ++shade) p[pal::Shade(block, shade)] = RampShade(kBlockHues[block], shade);
  for (int band = 0; band < 8; ++band)
    for (int step = 0; step < 4; ++step) {
      const HUEBASE& h = kBandHues[band];
      p[pal::Band(band, step)] = {Channel(h.r * (step + 3) / 6), Channel(h.g * (step + 3) / 6),
                                  Channel(h.b * (step + 3) / 6)};
    }
  for (int i = 0; i < 16; ++i) p[240 + i] = kHighEntries[i];
  return p;
}

bool IsBlendCandidate(int entry) { return (entry >= 1 && entry <= 207) || (entry >= 240 && entry <= 254); }

}  // namespace

const SamplePalette& SampleBasePalette() {
  static const SamplePalette base = BuildBase();
  return base;
}

SamplePalette SchemePalette(int scheme) {
  const SamplePalette& base = SampleBasePalette();
  SamplePalette out = base;
  if (scheme < 0 || scheme >= SAMPLE_SCHEME_COUNT) return out;
  if (scheme <= 11) {
    for (int k = 0; k < 192; ++k) out[16 + k] = base[16 + (k + 16 * scheme) % 192];
  } else {
    const int from = (scheme - 11) * 16;
    for (int block = 0; block < 12; ++block)
      for (int i = 0; i < 16; ++i) out[16 + 16 * block + i] = base[from + i];
  }
  return out;
}

std::string BlendTableBytes(int scheme) {
  const SamplePalette p = SchemePalette(scheme);
  std::vector<int> candidates;
  for (int c = 0; c < 256; ++c)
    if (IsBlendCandidate(c)) candidates.push_back(c);

  std::string table(65536, '\0');
  for (int a = 0; a < 256; ++a) {
    for (int b = a; b < 256; ++b) {
      int best = a;
      if (a != b) {
        const int r = (p[a].r + p[b].r) / 2, g = (p[a].g + p[b].g) / 2, bl = (p[a].b + p[b].b) / 2;
        int bestDist = 1 << 30;
        for (int c : candidates) {
          const int dr = p[c].r - r, dg = p[c].g - g, db = p[c].b - bl;
          const int d = dr * dr + dg * dg + db * db;
          if (d < bestDist) {
            bestDist = d;
            best = c;
          }
        }
      }
      table[a * 256 + b] = static_cast<char>(best);
      table[b * 256 + a] = static_cast<char>(best);
    }
  }
  return table;
}
