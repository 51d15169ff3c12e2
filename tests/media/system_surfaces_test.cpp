// The definitions of the system images, the system fonts and the digit
// sheets as the program has them before its entry point, and the sources of
// the alias surfaces, each against a table written out by hand.
#include "media/system_surfaces.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "media/font_def.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

// file | colour key, DD memory, DT memory, alias, palette map, optional,
// mirror width, mirror height, width, height
const char* const kExpectedSurfaces[SURFACE_TABLE_SIZE] = {
    "bmp\\plt\\Palette.bmp|0 1 0 0 0 0 0 0 0 0",  // 0
    "bmp\\Debug.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Block.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Block.bmp|1 1 0 1 0 0 0 0 0 0",
    "bmp\\Character1.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Character1.bmp|1 0 0 1 0 0 32 0 0 0",  // 5
    "bmp\\Character2.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Character2.bmp|1 0 0 1 0 1 32 0 0 0",
    "bmp\\Character3.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Character3.bmp|1 0 0 1 0 1 32 0 0 0",
    "bmp\\Character4.bmp|1 0 0 0 0 1 0 0 0 0",  // 10
    "bmp\\Character4.bmp|1 0 0 1 0 1 32 0 0 0",
    "bmp\\Character5.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Character5.bmp|1 0 0 1 0 1 32 0 0 0",
    "bmp\\Character6.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Character6.bmp|1 0 0 1 0 1 32 0 0 0",  // 15
    "bmp\\Character7.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Character7.bmp|1 0 0 1 0 1 32 0 0 0",
    "bmp\\Character8.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Character8.bmp|1 0 0 1 0 1 32 0 0 0",
    "bmp\\Shot.bmp|1 0 0 0 0 0 0 0 0 0",  // 20
    "bmp\\Shot.bmp|1 0 0 1 0 0 16 0 0 0",
    "bmp\\Character1.bmp|1 1 0 1 0 0 0 0 0 0",
    "bmp\\Character1.bmp|1 1 0 1 0 0 32 0 0 0",
    "bmp\\Character2.bmp|1 1 0 1 0 1 0 0 0 0",
    "bmp\\Character2.bmp|1 1 0 1 0 1 32 0 0 0",  // 25
    "bmp\\Character3.bmp|1 1 0 1 0 1 0 0 0 0",
    "bmp\\Character3.bmp|1 1 0 1 0 1 32 0 0 0",
    "bmp\\Character4.bmp|1 1 0 1 0 1 0 0 0 0",
    "bmp\\Character4.bmp|1 1 0 1 0 1 32 0 0 0",
    "bmp\\Character5.bmp|1 1 0 1 0 1 0 0 0 0",  // 30
    "bmp\\Character5.bmp|1 1 0 1 0 1 32 0 0 0",
    "bmp\\Character6.bmp|1 1 0 1 0 1 0 0 0 0",
    "bmp\\Character6.bmp|1 1 0 1 0 1 32 0 0 0",
    "bmp\\Character7.bmp|1 1 0 1 0 1 0 0 0 0",
    "bmp\\Character7.bmp|1 1 0 1 0 1 32 0 0 0",  // 35
    "bmp\\Character8.bmp|1 1 0 1 0 1 0 0 0 0",
    "bmp\\Character8.bmp|1 1 0 1 0 1 32 0 0 0",
    "bmp\\Shot.bmp|1 1 0 1 0 0 0 0 0 0",
    "bmp\\Shot.bmp|1 1 0 1 0 0 16 0 0 0",
    "bmp\\Item.bmp|1 0 0 0 0 0 0 0 0 0",  // 40
    "bmp\\Item.bmp|1 1 0 1 0 0 0 0 0 0",
    "bmp\\Item_Mini.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Mark.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Mark.bmp|1 1 0 1 0 0 0 0 0 0",
    "bmp\\Window.bmp|0 0 0 0 0 0 0 0 0 0",  // 45
    "bmp\\StatusWindow.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Title.bmp|0 0 0 0 0 0 0 0 0 0",
    "bmp\\GameMode.bmp|1 0 0 0 0 1 0 0 0 0",
    "bmp\\Accessory.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\Symbol.bmp|1 0 0 0 0 0 0 0 0 0",  // 50
    "bmp\\Word.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\WorldMapChip.bmp|1 0 0 0 0 0 0 0 0 0",
    "bmp\\WorldEvent.bmp|1 1 0 0 0 0 0 0 0 0",
    "bmp\\WorldBack.bmp|0 1 0 0 0 1 0 0 0 0",
    "背景その1.bmp|1 0 0 0 0 1 0 0 0 0",  // 55
    "背景その2.bmp|1 0 0 0 0 1 0 0 0 0",
    "背景その3.bmp|1 0 0 0 0 1 0 0 0 0",
    "背景その4.bmp|1 0 0 0 0 1 0 0 0 0",
    "背景その5.bmp|1 0 0 0 0 1 0 0 0 0",
    "背景その6.bmp|1 0 0 0 0 1 0 0 0 0",  // 60
    "背景その7.bmp|1 0 0 0 0 1 0 0 0 0",
    "背景その8.bmp|1 0 0 0 0 1 0 0 0 0",
    "E|1 1 0 0 0 0 0 0 256 960",
    "E|1 1 0 0 0 0 0 0 256 960",
    "E|1 1 0 0 0 0 0 0 640 480",  // 65
    "E|0 1 0 0 0 0 0 0 640 480",
    "E|1 0 0 0 0 0 0 0 640 480",
    "E|1 1 0 1 0 0 0 0 640 480",
    "E|1 0 2 0 0 0 0 0 1024 1024",
    "E|1 1 1 0 0 0 0 0 1024 1024",  // 70
};

// A definition in the form of the table above (the name in UTF-8).
std::string Describe(const DDSURFACEDEF& d) {
  char numbers[128];
  std::snprintf(numbers, sizeof numbers, "|%d %d %d %d %d %d %d %d %d %d", d.bColorKey, d.nDDMemType, d.nDTMemType,
                d.bAlias, d.bPalIndex, d.bOptional, d.nMirrorW, d.nMirrorH, d.nWidth, d.nHeight);
  return d.szFileName + numbers;
}

std::string Expected(const char* row) {
  std::string s = row;
  const size_t bar = s.find('|');
  return Sjis(s.substr(0, bar)) + s.substr(bar);
}

// Each alias surface and the surface whose image it shows.
struct Link {
  int surface, source;
};
const Link kExpectedLinks[] = {
    {3, 2},   {5, 4},   {7, 6},   {9, 8},   {11, 10}, {13, 12}, {15, 14}, {17, 16}, {19, 18}, {21, 20}, {22, 4},
    {23, 4},  {24, 6},  {25, 6},  {26, 8},  {27, 8},  {28, 10}, {29, 10}, {30, 12}, {31, 12}, {32, 14}, {33, 14},
    {34, 16}, {35, 16}, {36, 18}, {37, 18}, {38, 20}, {39, 20}, {41, 40}, {44, 43}, {68, 67},
};

}  // namespace

TEST(SystemSurfaces, TheDefinitionsAreFilledBeforeTheProgramStarts) {
  for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) {
    EXPECT_EQ(Describe(SurfaceDefs[i]), Expected(kExpectedSurfaces[i])) << i;
    EXPECT_EQ(SurfaceDefs[i].lpAlias, nullptr) << i << ": sources are linked at start-up";
  }
  for (const DDSURFACEDEF& digit : DigitSurfaceDefs) EXPECT_EQ(Describe(digit), "|1 0 0 0 0 0 0 0 0 0");
  for (const DDSURFACEDATA& sd : SurfaceTable) {
    EXPECT_EQ(sd.lpDT, nullptr);
    EXPECT_EQ(sd.lpDDS, nullptr);
    EXPECT_EQ(sd.lpAlias, nullptr);
  }
}

TEST(SystemSurfaces, LinkingGivesTheThirtyOneAliasesTheirSources) {
  LinkSurfaceSources();
  int linked = 0;
  for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) {
    const DDSURFACEDATA* source = nullptr;
    for (const Link& l : kExpectedLinks)
      if (l.surface == i) source = &SurfaceTable[l.source];
    EXPECT_EQ(SurfaceTable[i].lpAlias, source) << i;
    EXPECT_EQ(SurfaceDefs[i].lpAlias, source) << i;
    EXPECT_EQ(SurfaceDefs[i].bAlias, source ? 1 : 0) << i << ": exactly the rows marked alias";
    if (source) ++linked;
  }
  EXPECT_EQ(linked, 31);
  EXPECT_EQ(SurfaceTable[22].lpAlias, SurfaceTable[23].lpAlias) << "both show surface 4";
  for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) SurfaceTable[i].lpAlias = SurfaceDefs[i].lpAlias = nullptr;
}

TEST(SystemSurfaces, SetSurfaceDefKeepsAtMost259BytesOfTheName) {
  DDSURFACEDEF def;
  const std::string longName(300, 'a');
  SetSurfaceDef(def, longName.c_str(), 1, 2, 3, 1, 4, 5, 6, 7, 8, 9);
  EXPECT_EQ(def.szFileName, std::string(259, 'a'));
  EXPECT_EQ(Describe(def).substr(259), "|1 2 3 1 4 5 6 7 8 9");
  EXPECT_EQ(def.lpAlias, nullptr);
}

TEST(SystemFonts, TheThreeFontSettingsBeforeTheProgramStarts) {
  struct Row {
    int width, height, cellW, cellH, text, box, frame, frameColour, icons, cache;
  } rows[SYSTEM_FONT_COUNT] = {
      {0, 9, 10, 10, 241, 45, 1, 240, 50, 2},
      {0, 16, 16, 16, 241, 45, 1, 240, 50, 2},
      {0, 30, 32, 32, 241, 45, 1, 240, 50, 0},
  };
  for (int i = 0; i < SYSTEM_FONT_COUNT; ++i) {
    const FONTDEF& f = FontSpec[i];
    const Row& r = rows[i];
    EXPECT_STREQ(f.szFaceName, Sjis("ＭＳ ゴシック").c_str()) << i;
    EXPECT_EQ((std::vector<int>{f.nWidth, f.nHeight, f.nCellWidth, f.nCellHeight, f.nTextColor, f.nBoxImage,
                                f.nFrameThick, f.nFrameColor, f.nIconSheet, f.nCache}),
              (std::vector<int>{r.width, r.height, r.cellW, r.cellH, r.text, r.box, r.frame, r.frameColour, r.icons,
                                r.cache}))
        << i;
  }
  EXPECT_EQ(SurfaceDefs[45].szFileName, "bmp\\Window.bmp") << "the box image";
  EXPECT_EQ(SurfaceDefs[50].szFileName, "bmp\\Symbol.bmp") << "the icon sheet";
}
