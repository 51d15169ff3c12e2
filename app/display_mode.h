#pragma once
// How the game shows itself, decided by start-up from System.ini, System.dat
// and the desktop before the drawing layer starts: window or full screen,
// vertical sync and the colour depth.
#include <cstdint>

// The colour depth handed to the drawing layer: 8, 16 or 32.
extern int nColorBits;

// Start-up, main thread, after System.ini and the start-up dialog. Sets the
// drawing layer's bWindowMode, System.ini's VSync (2 or more resolved) and
// Bpp (0 resolved), and nColorBits. Under Direct3D, WindowMode 2 makes the
// main window resizable. A depth the back end cannot show, or a window whose
// depth is not the desktop's, is refused with its error box: false.
bool ChooseDisplayMode();
