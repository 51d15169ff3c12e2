#include "media/system_surfaces.h"

#include <cstring>

namespace {

struct SURFACEROW {
  const char* file;
  int32_t colorKey, ddMemType, dtMemType, alias, palIndex, optional, mirrorW, mirrorH, width, height;
};

// "背景その1.bmp" .. "背景その8.bmp": placeholders the stage renames.
#define BACKGROUND(n) "\x94\x77\x8C\x69\x82\xBB\x82\xCC" #n ".bmp"

// Constant data: readable before any other global is built.
constexpr SURFACEROW kSurfaceRows[SURFACE_TABLE_SIZE] = {
    {"bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Block.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Block.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},
    {"bmp\\Character1.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Character1.bmp", 1, 0, 0, 1, 0, 0, 32, 0, 0, 0},
    {"bmp\\Character2.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character2.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character3.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character3.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character4.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character4.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character5.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character5.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character6.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character6.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character7.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character7.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character8.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character8.bmp", 1, 0, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Shot.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Shot.bmp", 1, 0, 0, 1, 0, 0, 16, 0, 0, 0},
    {"bmp\\Character1.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},
    {"bmp\\Character1.bmp", 1, 1, 0, 1, 0, 0, 32, 0, 0, 0},
    {"bmp\\Character2.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character2.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character3.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character3.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character4.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character4.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character5.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character5.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character6.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character6.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character7.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character7.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Character8.bmp", 1, 1, 0, 1, 0, 1, 0, 0, 0, 0},
    {"bmp\\Character8.bmp", 1, 1, 0, 1, 0, 1, 32, 0, 0, 0},
    {"bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},
    {"bmp\\Shot.bmp", 1, 1, 0, 1, 0, 0, 16, 0, 0, 0},
    {"bmp\\Item.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Item.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},
    {"bmp\\Item_Mini.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Mark.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Mark.bmp", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0},
    {"bmp\\Window.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\StatusWindow.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Title.bmp", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\GameMode.bmp", 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"bmp\\Accessory.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Symbol.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\Word.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\WorldMapChip.bmp", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0, 0, 0, 0, 0},
    {"bmp\\WorldBack.bmp", 0, 1, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(1), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(2), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(3), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(4), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(5), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(6), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(7), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {BACKGROUND(8), 1, 0, 0, 0, 0, 1, 0, 0, 0, 0},
    {"E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960},
    {"E", 1, 1, 0, 0, 0, 0, 0, 0, 256, 960},
    {"E", 1, 1, 0, 0, 0, 0, 0, 0, 640, 480},
    {"E", 0, 1, 0, 0, 0, 0, 0, 0, 640, 480},
    {"E", 1, 0, 0, 0, 0, 0, 0, 0, 640, 480},
    {"E", 1, 1, 0, 1, 0, 0, 0, 0, 640, 480},
    {"E", 1, 0, 2, 0, 0, 0, 0, 0, 1024, 1024},
    {"E", 1, 1, 1, 0, 0, 0, 0, 0, 1024, 1024},
};

#undef BACKGROUND

struct SOURCELINK {
  int surface, source;
};

// The alias surfaces and the surface whose image each shows: the mirrored
// sheets draw from the plain sheet before them; the second set (system
// memory on the software display) draws from the first.
constexpr SOURCELINK kSourceLinks[] = {
    {3, 2},   {5, 4},   {7, 6},   {9, 8},   {11, 10}, {13, 12}, {15, 14}, {17, 16},
    {19, 18}, {21, 20}, {22, 4},  {23, 4},  {24, 6},  {25, 6},  {26, 8},  {27, 8},
    {28, 10}, {29, 10}, {30, 12}, {31, 12}, {32, 14}, {33, 14}, {34, 16}, {35, 16},
    {36, 18}, {37, 18}, {38, 20}, {39, 20}, {41, 40}, {44, 43}, {68, 67},
};

constexpr size_t kMaxFileName = 259;

}  // namespace

void SetSurfaceDef(DDSURFACEDEF& def, const char* file, int colorKey, int ddMemType, int dtMemType, int alias,
                   int palIndex, int optional, int mirrorW, int mirrorH, int width, int height) {
  def.szFileName.assign(file ? file : "", file ? strnlen(file, kMaxFileName) : 0);
  def.bColorKey = colorKey;
  def.nDDMemType = ddMemType;
  def.nDTMemType = dtMemType;
  def.bAlias = alias;
  def.lpAlias = nullptr;
  def.bPalIndex = palIndex;
  def.bOptional = optional;
  def.nMirrorW = mirrorW;
  def.nMirrorH = mirrorH;
  def.nWidth = width;
  def.nHeight = height;
}

void InitSurfaceDefs() {
  for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) {
    const SURFACEROW& r = kSurfaceRows[i];
    SetSurfaceDef(SurfaceDefs[i], r.file, r.colorKey, r.ddMemType, r.dtMemType, r.alias, r.palIndex, r.optional,
                  r.mirrorW, r.mirrorH, r.width, r.height);
  }
}

void InitExtraSurfaceDefs() {
  for (DDSURFACEDEF& def : DigitSurfaceDefs) SetSurfaceDef(def, "", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
}

void LinkSurfaceSources() {
  for (const SOURCELINK& link : kSourceLinks) {
    SurfaceTable[link.surface].lpAlias = &SurfaceTable[link.source];
    SurfaceDefs[link.surface].lpAlias = &SurfaceTable[link.source];
  }
}
