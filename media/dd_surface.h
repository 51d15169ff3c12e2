#pragma once
// Surfaces of the drawing layer. Every image the program draws or draws into
// is a DDSURFACEDATA: a software-display surface, or a 3D texture with its
// companions, plus what it takes to make it again after a loss (type, file,
// size, memory types, mirror cells). A record owns its back-end part and is
// only moved, never copied; the 3D back end's restore list follows a listed
// record when it moves.
//
// The functions here are called by the scenes and start-up on the thread
// that draws. Sizes and positions are pixels.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/container.h"
#include "media/dd_types.h"

namespace plat {
class DDSurface;
class D3DSurface;
class D3DTexture;
class D3DVertexBuffer;
}  // namespace plat

// The description of a 3D texture's first level.
struct DTSURFACEDESC {
  int32_t nFormat = 0, nPool = 0, nWidth = 0, nHeight = 0;
};

// The 3D back end's part of a surface.
struct DTDATA {
  int32_t id = 0;  // from nNextSurfaceID; the key of the restore list
  std::shared_ptr<plat::D3DSurface> lpSurface;        // level 0, or the device back buffer
  std::shared_ptr<plat::D3DSurface> lpSystemSurface;  // render targets: the system-memory copy
  std::shared_ptr<plat::D3DVertexBuffer> lpVB;        // the surface's own four vertices
  std::shared_ptr<plat::D3DTexture> lpTexture;
  DTSURFACEDESC descLevel0;
  int32_t nMemType = DTMEMORYTYPE_VIDEO_RT;
  int32_t bColorKey = 0;
  int32_t bRenderTarget = 0;
  // Optional palette-index map: per pixel, the CurPalette entry it shows;
  // nPalIndexPitch bytes per row.
  std::unique_ptr<uint8_t[]> lpPalIndex;
  int32_t nPalIndexPitch = 0;
};

// The software display's part of a surface.
struct DDDATA {
  std::shared_ptr<plat::DDSurface> lpSurface;
  std::unique_ptr<uint8_t[]> lpPalIndex;
  int32_t nPalIndexPitch = 0;
};

struct DDSURFACEDATA {
  std::unique_ptr<DTDATA> lpDT;   // 3D part; null on the software display or before creation
  std::unique_ptr<DDDATA> lpDDS;  // software-display part
  std::string szSurfaceType;      // 3D: "OffScreen", "OffScreenFromFile", "BackBuffer", ...
  int32_t nWidth = 0, nHeight = 0;        // the image; the clipping bounds of every draw
  int32_t nTexWidth = 0, nTexHeight = 0;  // the texture (rounded); the image size otherwise
  std::string szFileName;         // the BMP it came from; "E" for an empty 3D surface
  int32_t nDDMemType = 0;         // 0 video memory (falls back to system), 1 system memory
  int32_t nMirrorW = 0, nMirrorH = 0;  // cell size of a mirrored sheet (0 = not mirrored)
  DDSURFACEDATA* lpAlias = nullptr;    // the surface whose texture this one shares (set by its owner)
  int32_t bLost = 0;              // an empty surface lost its content; its owner redraws it

  DDSURFACEDATA() = default;
  ~DDSURFACEDATA();
  DDSURFACEDATA(DDSURFACEDATA&& other) noexcept;
  DDSURFACEDATA& operator=(DDSURFACEDATA&& other) noexcept;
  DDSURFACEDATA(const DDSURFACEDATA&) = delete;
  DDSURFACEDATA& operator=(const DDSURFACEDATA&) = delete;

  // Makes the part of the running back end if missing (3D when bUseD3D).
  void DDAllocSurfaceRecord();
};

// A surface definition: how SurfaceTable entry i (and the entries of the
// other surface containers) is made.
struct DDSURFACEDEF {
  std::string szFileName;  // "E" = an empty surface of nWidth x nHeight
  int32_t bColorKey = 0;
  int32_t nDDMemType = 0;
  int32_t nDTMemType = 0;
  int32_t bAlias = 0;      // 1: draws from a source surface, which LinkSurfaceSources puts in lpAlias
  DDSURFACEDATA* lpAlias = nullptr;
  int32_t bPalIndex = 0;   // build the palette-index map
  int32_t bOptional = 0;   // a failure to make it is not an error
  int32_t nMirrorW = 0, nMirrorH = 0;
  int32_t nWidth = 0, nHeight = 0;
};

// The 3D surfaces that have their own texture, by id (the order they were
// made in); the device reset walks it.
class cRestoreList {
 public:
  void Add(DDSURFACEDATA* lpSD);
  void Remove(int32_t id);
  // The record of a listed id moved to lpSD.
  void Rebind(int32_t id, DDSURFACEDATA* lpSD);
  DDSURFACEDATA* Find(int32_t id) const;
  int Size() const { return static_cast<int>(m_byId.size()); }
  std::vector<DDSURFACEDATA*> Surfaces() const;

 private:
  std::map<int32_t, DDSURFACEDATA*> m_byId;
};
// Never destroyed, so records that outlive the others at exit can still leave it.
extern cRestoreList& RestoreList;

// The fixed surfaces: the target of all screen drawing, the primary (the
// game window's picture), the work copy of the screen for fades, and the 3D
// back end's stand-in back buffer and work texture.
extern DDSURFACEDATA BackBuffer;
extern DDSURFACEDATA Primary;
extern DDSURFACEDATA WorkDD;
extern DDSURFACEDATA VirBackBuffer;
extern DDSURFACEDATA WorkSD;

// The palette in force (fills, fonts, palette effects) and its copy taken at
// start-up.
extern PALETTEENTRY CurPalette[256];
extern PALETTEENTRY BasePalette[256];

// --- creation and release ---

// An empty surface of w x h, filled with palette number 0; a colour key makes
// copies with flags 1 leave the transparent colour out. False on failure.
bool DDCreateSurface(DDSURFACEDATA* lpSD, int w, int h, int bColorKey, int ddMemType, int dtMemType,
                     DDSURFACEDATA* lpAlias, int bRestore);
// A surface from a BMP file. 0, or 8 (image not loaded), 4 (surface not
// made), 1 (mirror failed), or the 3D back end's failing result.
int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* file, int bColorKey, int bpp, int ddMemType,
                            int dtMemType, DDSURFACEDATA* lpAlias, int bIndexMap, int mirrorW, int mirrorH,
                            int bRestore);
// True for 0; any other code writes its name (or number) to the debug log
// and is false.
bool DDCheckResult(int code);
// (Re)makes the listed entries of a surface table from the definitions
// DDInit was given. A failed entry that is not optional shows its box and
// ends the list with false.
bool DDLoadSurfaces(DDSURFACEDATA* table, const int indices[], int n);
// Appends an empty surface and its definition, and makes it.
bool DDAddSurface(cVector<DDSURFACEDATA>& surfaces, cVector<DDSURFACEDEF>& defs, int w, int h, int bColorKey,
                  int ddMemType, int dtMemType, DDSURFACEDATA* lpAlias);
bool DDAddSurfaceList(cList<DDSURFACEDATA>& surfaces, cList<DDSURFACEDEF>& defs, int w, int h, int bColorKey,
                      int ddMemType, int dtMemType, DDSURFACEDATA* lpAlias);
// Releases lpSD and removes it and the definition at its position; 0 when
// lpSD is not in the list.
int DDEraseSurface(cList<DDSURFACEDATA>& surfaces, cList<DDSURFACEDEF>& defs, DDSURFACEDATA* lpSD);
void DDReleaseSurface(DDSURFACEDATA* lpSD);
// Frees the back-end parts; the record keeps its size and names. Null is ignored.
void DDDestroySurface(DDSURFACEDATA* lpSD);
void DDReleaseSurfaceVector(cVector<DDSURFACEDATA>& surfaces);
void DDReleaseSurfaceList(cList<DDSURFACEDATA>& surfaces);

// Software display: *pTooLarge = 1 when the BMP is wider than w or higher
// than h; 0 (and *pTooLarge = 0) when it cannot be read. 3D: 1.
int DDCheckBitmapSize(int* pTooLarge, const char* file, int w, int h);
// Software display: copies the surface's file into it again (after a loss);
// 1 on success. 3D: 1.
int DDReloadBitmap(DDSURFACEDATA* lpSD, int bpp);
// Software display: copies a BMP into a surface of its size (mirrored per
// cell when a cell size is given). 3D: true.
bool CopyBitmap(DDSURFACEDATA* lpSD, const char* file, int bpp, int bIndexMap, int mirrorW, int mirrorH);
// 3D: draws lpSrc into lpSD with every mirrorW-wide cell mirrored.
bool CreateMirror(DDSURFACEDATA* lpSD, DDSURFACEDATA* lpSrc, int mirrorW, int mirrorH);
// Builds the surface's palette-index map from CurPalette; 0 when the lock fails.
int DDBuildPalIndexMap(DDSURFACEDATA* lpSD);
// 3D: the texture size the device takes (powers of two, square).
void DDRoundTextureSize(int* w, int* h);
bool DDCheckTextureSize(int w, int h);

// --- palette and transparent colour ---

bool DDLoadPaletteFromFile(PALETTEENTRY pal[256], const char* file, int bpp);
// The transparent colour from the top-left pixel of an image; 1, or 0.
int DDSetTransmit(const char* file);
// The transparent colour from its channels (0-255).
void DDSetTransmit(uint8_t red, uint8_t green, uint8_t blue);
// Software display at 16 bits: a palette entry (channel values) as a pixel.
uint16_t DDPalToRGB16(const PALETTEENTRY* entry);

// --- fills ---

// Fills with palette colour palNum (0..255) clipped to the surface.
int DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, int palNum);
int DDFillSurface(DDSURFACEDATA* lpSD, int palNum);
// Fills with a ready colour: a pixel value on the software display, ARGB on the 3D device.
int DDFillRectColor(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t colour);
int DDFillSurfaceColor(DDSURFACEDATA* lpSD, uint32_t colour);
