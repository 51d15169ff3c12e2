#pragma once
// Getting surfaces back after the display lost them.
// Software display: the frame loop calls DDRestore once a frame on the
// drawing thread; it restores the primary, the back buffer and the lost
// entries of the surface table, reloading images from their files and
// flagging empty surfaces bLost for their owners, sets the palette again and
// has every font redraw its lost glyph caches.
// Always true (what cannot be restored now is tried on the next frame).
bool DDRestore();
// 3D device: the reset after a lost device, on the main thread; 1 when done,
// 0 when the device cannot be reset yet. Software display: 1.
int DDRestoreSurface();

// The fonts' part of the 3D device reset, set by the fonts: with the device
// lost, before the reset, each font lets go of its device objects; after the
// reset and the surfaces, each font is made usable again. Null: no fonts.
// Run on the main thread inside DDRestoreSurface.
extern void (*DDFontsLostDevice)();
extern void (*DDFontsRestore)();
