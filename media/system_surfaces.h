#pragma once
// The program's surface sets: the 71 system images (SurfaceTable, made from
// SurfaceDefs by DDLoadSurfaces), the digit sheets of the three system
// fonts, and the sets that the stage and the scenes fill for themselves,
// each beside the definitions of its surfaces. All are global objects of the
// program (defined in app/, built before the entry point), empty or zero
// until start-up and the scenes load them.
#include <cstdint>

#include "base/container.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"

constexpr int DIGIT_SHEET_COUNT = 3;

// Entries that scenes rename before they load them: the world map's image,
// and the stage's eight background layers ("" for a layer it does not have).
constexpr int SURFACE_WORLDBACK = 54;
// Accessory.bmp: icons, cursors, tags and gauges in 16-dot cells.
constexpr int SURFACE_ACCESSORY = 49;
constexpr int SURFACE_BACKGROUND_FIRST = 55;
constexpr int SURFACE_BACKGROUND_COUNT = 8;

extern DDSURFACEDEF SurfaceDefs[SURFACE_TABLE_SIZE];
extern DDSURFACEDATA Off_Digit[DIGIT_SHEET_COUNT];
extern DDSURFACEDEF DigitSurfaceDefs[DIGIT_SHEET_COUNT];

extern cVector<DDSURFACEDEF> Off_StageBmpDef;  // the definitions of Off_StageBmp
extern cVector<DDSURFACEDATA> Off_Sword;      // sword images
extern cVector<DDSURFACEDEF> Off_SwordDef;
extern cVector<DDSURFACEDATA> Off_Effect;     // effect images
extern cVector<DDSURFACEDEF> Off_EffectDef;
extern cVector<DDSURFACEDATA> Off_Scene;      // what a front-end scene loads for itself
extern cVector<DDSURFACEDEF> Off_SceneDef;
extern cList<DDSURFACEDATA> Off_Picture;      // pictures of the display commands
extern cList<DDSURFACEDEF> Off_PictureDef;
extern cList<DDSURFACEDATA> Off_Msg;          // message windows
extern cList<DDSURFACEDEF> Off_MsgDef;

// Fills one definition; the file name keeps at most 259 bytes. alias 1
// marks a surface that draws from a source surface (LinkSurfaceSources).
void SetSurfaceDef(DDSURFACEDEF& def, const char* file, int colorKey, int ddMemType, int dtMemType, int alias,
                   int palIndex, int optional, int mirrorW, int mirrorH, int width, int height);

// The definitions of the system images, and of the digit sheets (no file,
// colour key 1, everything else 0). Run once by the definition of the
// global tables, before the entry point.
void InitSurfaceDefs();
void InitExtraSurfaceDefs();

// Start-up, under the 3D back end, before the system images load: each of
// the 31 alias surfaces of SurfaceTable, and its definition, gets the
// surface whose image it shows as lpAlias.
void LinkSurfaceSources();
