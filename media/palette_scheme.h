#pragma once
// The colour services of the menus and the stage. In 256-colour software
// display mode the player's palette scheme (options, 0..23) rearranges the
// project's palette and brings its own translucency table; every frame the
// colours animate: at 8 bits a band of palette entries cycles, under the 3D
// device nine flashing colours (AnimColorTable) change, which the character
// drawing lays over characters.
//
// The palettes are the drawing layer's: BasePalette is the project's palette
// as loaded (and rearranged by the scheme), CurPalette the one in force,
// which the display's palette shows.
#include <cstdint>

// Colour k (1..9) of the character overlays: an ARGB colour and the 3D
// device's texture-stage operation that lays it over (7 add, 10 subtract).
// Entry 0 stays empty: colour number 0 means no overlay.
struct ANIMCOLOR {
  uint32_t dwColor;
  uint32_t dwColorOp;
};
constexpr int ANIMCOLOR_COUNT = 10;
extern ANIMCOLOR AnimColorTable[ANIMCOLOR_COUNT];

// Start-up and the options scene, software display at 8 bits only: loads
// the scheme's translucency table "bmp\hbt\hbtNN.dat" into BlendTable,
// reloads the project's palette into BasePalette, rearranges entries
// 16..207 and shows it (entries 0..254). The scheme number is taken within
// 0..23. 1 when done, or at once (nothing read) under the 3D device or at
// other depths; 0 after the box for a missing table, or when the palette
// image cannot be read.
int SetPaletteScheme(int scheme);

// 8 bits: entries first .. first + count - 1 of CurPalette shown on the
// display's palette (nothing without one).
void ShowPalette(int first, int count);

// Once a frame, from the drawing of the stage and the menu scenes: one step
// of the colour animation at System.dat's speed (0..255).
void AnimateColors();

// One step of a value bouncing between min and max: rising (direction 0) it
// gains step unless that reaches max, where it turns; falling (1) it loses
// step unless that reaches min, where it turns and 1 is returned (the end of
// a fall); otherwise 0. A turn keeps the value.
int PingPong(int& value, int& direction, int step, int min, int max);

// The animation as at program start: every intensity, direction, colour 9's
// hue and the cycle count 0, and the table empty.
void ResetColorAnimation();
