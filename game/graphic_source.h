#pragma once
// Where an object's picture is drawn from: its graphic kind, number and
// frame become two system images (the copy to draw, A, and the copy facing
// the other way, B), in the first and second copy set the drawing layer
// keeps, and a source cell in dots. Called by the drawing of characters,
// items, blocks and shots on the drawing thread.
#include <cstdint>

#include "media/dd_surface.h"

class cGameObject;

// Modes of SetGraphicSource.
constexpr int GRAPHICMODE_PLAIN = 0;  // a graphic by number and column
constexpr int GRAPHICMODE_CHARA = 1;  // a character, by its facing, column + frame
constexpr int GRAPHICMODE_ITEM = 2;   // an item, with its frame

struct GRAPHICSOURCE {
  DDSURFACEDATA* lpFirstA = nullptr;
  DDSURFACEDATA* lpSecondA = nullptr;
  DDSURFACEDATA* lpFirstB = nullptr;
  DDSURFACEDATA* lpSecondB = nullptr;
  DDSURFACEDATA* lpChosenA = nullptr;  // the set that stretched drawing uses
  DDSURFACEDATA* lpChosenB = nullptr;
  // The tint of a character's drawing (draw colour, colour operation); only
  // the character's column choice sets them.
  int32_t bTint = 0;
  int32_t nTintColor = 0;
  int32_t nTintOp = 0;
  int32_t bCellSize = 0;   // the image defines its own cell size
  int32_t nCellScale = 1;  // cell side in 32-dot cells
  int32_t nSrcX = 0;       // source cell, dots
  int32_t nSrcY = 0;
};

// Fills `out` (but its tint) for a graphic of kind GRAPHICKIND with
// `number`, `column` and `frame`; `obj` gives the facing in
// GRAPHICMODE_CHARA (none faces left). A cell outside its character sheet
// falls back to cell (0, 0) of the first character sheet; an extra character
// image the stage does not hold leaves the surfaces null (nothing is drawn).
void SetGraphicSource(GRAPHICSOURCE& out, int mode, int kind, int number, int column, const cGameObject* obj,
                      int frame);

// The mark sheet and the two effect work surfaces of character drawing, set
// by SelectCharaSurfaces when the stage scene starts.
extern DDSURFACEDATA* lpMarkSheet;
extern DDSURFACEDATA* lpEffectWork1;
extern DDSURFACEDATA* lpEffectWork2;
void SelectCharaSurfaces();

// A 16 × 16 icon of a graphic at view point (x, y) of `surface`, with the
// transparent colour (pick-up pop-ups, drop-item hints, messages).
void DrawItemIcon(DDSURFACEDATA* surface, int x, int y, int kind, int number, int frame);

// The system image of a shot or sword sheet (index of its first copy set) to
// draw from: under DirectDraw the second copy (index + 18) stands in for a
// first copy that has no surface (bSecond 0), or is preferred when it has one
// (bSecond 1); under Direct3D the index itself.
int SwordSurfaceIndex(int index, int bSecond);
