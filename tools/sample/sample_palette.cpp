#include "tools/sample/sample_palette.h"

#include <algorithm>
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

// The translucency table of palette `p`. A test project is written for
// many tests, and a scan of every candidate for each of the 32768 pairs of
// each scheme cost most of a second per project. So each colour is a
// candidate once, under its lowest entry (the one a scan in entry order
// keeps on a tie), the candidates are sorted by red, and a search starts
// from the previous pair's answer and walks out from the mean's red,
// stopping on each side once red alone lies farther than the best so far.
// With `tied`, a pair's flag says that more than one entry lay nearest.
std::string MixTable(const SamplePalette& p, std::vector<bool>* tied) {
  struct CANDIDATE {
    int r, g, b, entry;
    bool shared;  // another candidate entry has this colour
  };
  std::vector<CANDIDATE> candidates;
  for (int c = 0; c < 256; ++c) {
    if (!IsBlendCandidate(c)) continue;
    bool seen = false;
    for (CANDIDATE& k : candidates)
      if (k.r == p[c].r && k.g == p[c].g && k.b == p[c].b) seen = k.shared = true;
    if (!seen) candidates.push_back({p[c].r, p[c].g, p[c].b, c, false});
  }
  std::sort(candidates.begin(), candidates.end(),
            [](const CANDIDATE& x, const CANDIDATE& y) { return x.r != y.r ? x.r < y.r : x.entry < y.entry; });
  const int count = static_cast<int>(candidates.size());
  if (tied) tied->assign(65536, false);

  std::string table(65536, '\0');
  int guess = 0;  // index into candidates of the previous answer
  for (int a = 0; a < 256; ++a) {
    for (int b = a; b < 256; ++b) {
      if (a == b) {
        table[a * 256 + b] = static_cast<char>(a);
        continue;
      }
      const int r = (p[a].r + p[b].r) / 2, g = (p[a].g + p[b].g) / 2, bl = (p[a].b + p[b].b) / 2;
      int bestDist = 1 << 30, bestEntry = 0, bestIndex = -1;
      bool tie = false;
      // Equal distances go to the lowest entry.
      auto consider = [&](int i) {
        const CANDIDATE& c = candidates[i];
        const int dr = c.r - r, dg = c.g - g, db = c.b - bl;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
          tie = c.shared;
        } else if (d == bestDist && i != bestIndex) {
          tie = true;
          if (c.entry > bestEntry) return;
        } else {
          return;
        }
        bestDist = d;
        bestEntry = c.entry;
        bestIndex = i;
      };
      consider(guess);
      int up = static_cast<int>(std::lower_bound(candidates.begin(), candidates.end(), r,
                                                 [](const CANDIDATE& c, int red) { return c.r < red; }) -
                                candidates.begin());
      for (int i = up; i < count && (candidates[i].r - r) * (candidates[i].r - r) <= bestDist; ++i) consider(i);
      for (int i = up - 1; i >= 0 && (r - candidates[i].r) * (r - candidates[i].r) <= bestDist; --i) consider(i);
      guess = bestIndex;
      table[a * 256 + b] = static_cast<char>(bestEntry);
      table[b * 256 + a] = static_cast<char>(bestEntry);
      if (tied) (*tied)[a * 256 + b] = (*tied)[b * 256 + a] = tie;
    }
  }
  return table;
}

// Where a scheme of 0..11 takes entry e's colour from in the sample's
// palette, and back.
int RotatedEntry(int scheme, int e) { return e < 16 || e > 207 ? e : 16 + (e - 16 + 16 * scheme) % 192; }
int UnrotatedEntry(int scheme, int e) { return e < 16 || e > 207 ? e : 16 + (e - 16 + 192 - 16 * scheme) % 192; }

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
  if (scheme < 1 || scheme > 11) return MixTable(SchemePalette(scheme), nullptr);
  // Schemes 1..11 move the colours of scheme 0 to other entries and offer
  // the same candidates, so a pair's nearest colour is the one scheme 0
  // found for the pair's colours; only where several entries lay equally
  // near does the lowest of them differ, and such a pair is searched anew.
  struct BASEMIX {
    std::string table;
    std::vector<bool> tied;
  };
  static const BASEMIX base = [] {
    BASEMIX mix;
    mix.table = MixTable(SchemePalette(0), &mix.tied);
    return mix;
  }();
  const SamplePalette p = SchemePalette(scheme);
  std::string table(65536, '\0');
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const int from = RotatedEntry(scheme, a) * 256 + RotatedEntry(scheme, b);
      if (!base.tied[from]) {
        table[a * 256 + b] = static_cast<char>(UnrotatedEntry(scheme, static_cast<uint8_t>(base.table[from])));
        continue;
      }
      const int r = (p[a].r + p[b].r) / 2, g = (p[a].g + p[b].g) / 2, bl = (p[a].b + p[b].b) / 2;
      int best = a, bestDist = 1 << 30;
      for (int c = 0; c < 256; ++c) {
        if (!IsBlendCandidate(c)) continue;
        const int dr = p[c].r - r, dg = p[c].g - g, db = p[c].b - bl;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDist) {
          bestDist = d;
          best = c;
        }
      }
      table[a * 256 + b] = static_cast<char>(best);
    }
  }
  return table;
}
