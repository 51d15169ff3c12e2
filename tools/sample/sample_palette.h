#pragma once
// The one palette that every image of the sample shares, the palettes of
// the 24 palette schemes built from it, and the translucency table of each
// scheme. The layout is the runtime's: entry 0 the transparent colour (the
// top-left pixel of bmp\plt\Palette.bmp), 16..207 twelve blocks of 16
// colours that the schemes rotate or repeat, 208..239 eight bands of four
// that the 8-bit display cycles, 240 the frame and 241 the text colour of
// the system fonts.
#include <array>
#include <cstdint>
#include <string>

struct SAMPLERGB {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const SAMPLERGB&) const = default;
};

using SamplePalette = std::array<SAMPLERGB, 256>;

// Palette entries the images draw with. Block k (0..11) holds a ramp from
// dark (shade 0) to light (shade 15) of one hue: entry 16 + 16 k + shade.
namespace pal {
constexpr int kKey = 0;        // transparent in every keyed image
constexpr int kOutline = 1;    // near-black outlines
constexpr int kHighlight = 2;  // near-white highlights
constexpr int kFrame = 240;    // frame colour of the system fonts' boxes
constexpr int kText = 241;     // text colour of the system fonts
constexpr int kBands = 208;    // first cycling entry; band i is 208 + 4 i .. +3

enum HUE { GREY, RED, ORANGE, YELLOW, LIME, GREEN, TEAL, SKY, BLUE, VIOLET, MAGENTA, BROWN };
constexpr int Shade(int hue, int shade) { return 16 + 16 * hue + shade; }
// Cycling bands: 0 water, 1 lava, 2 gold glint, 3 leaves, 4 ice, 5 poison,
// 6 magic, 7 neon.
constexpr int Band(int band, int step) { return kBands + 4 * band + step; }
}  // namespace pal

// The sample's palette: 256 distinct colours.
const SamplePalette& SampleBasePalette();

// The palette that palette scheme n (0..23) shows: schemes 0..11 rotate the
// twelve blocks by n blocks, schemes 12..23 repeat block n - 12 in all
// twelve; every other entry stays.
SamplePalette SchemePalette(int scheme);

// The 65536-byte translucency table of a scheme: entry [a * 256 + b] is the
// entry whose colour lies nearest (squared RGB distance, lowest entry on a
// tie) to the mean of a's and b's colours, chosen among the entries that
// neither stand for transparency nor cycle (1..207 and 240..254); a mix of
// an entry with itself is that entry.
std::string BlendTableBytes(int scheme);

constexpr int SAMPLE_SCHEME_COUNT = 24;
