#pragma once
// Where a menu or a list is drawn on the screen.
#include <cstdint>

// A screen position of a menu: x, y and two values that stay 0. Made once
// with the program; a scene may move its own while it runs.
struct MENUANCHOR {
  int32_t nX;
  int32_t nY;
  int32_t nReserved1;
  int32_t nReserved2;
};
