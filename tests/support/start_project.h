#pragma once
// A small project as the editor leaves it, for the tests that start the
// program: default\ with System.dat, the ten database files, WorldMap.dat
// and CommonPalette.cplt4 written with the records' own Save (a new
// project's records), the 8-bit palette image bmp\plt\Palette.bmp written
// out by hand, the title screen's three images in plain colours, and
// System.ini.
#include <cstdint>
#include <functional>
#include <string>

class cEdSystem;

namespace testsupport {

// The System.ini values a test chooses; each is written as "key=value" under
// a new project's key names, then "Exit".
struct StartIni {
  int direct3D = 0;
  int windowMode = 1;
  int bpp = 0;
  int vsync = 0;
  int showFps = 0;
  std::string freeStage;  // written when not empty
};

std::string StartIniText(const StartIni& ini);

// The palette image: 16 x 24 pixels, rows 0..7 of entry 0 (the transparent
// colour, top left), then the swatch: pixel (x, 8 + y) of entry 16 y + x.
// Entry 0 is magenta, entry i otherwise (i, 255 - i, i / 2).
std::string PaletteBmpBytes();
// An 8-bit BMP of that palette; pixel (x, y) (top row first) of entry
// pixel(x, y).
std::string IndexedBmpBytes(int width, int height, const std::function<uint8_t(int, int)>& pixel);

// Changes a new project's System.dat before it is written.
using SystemEdit = std::function<void(cEdSystem&)>;

// Writes the project into the working directory. The records are written
// from fresh objects; Database is left new and SystemData as written.
// False when a file could not be written.
bool WriteStartProject(const StartIni& ini = StartIni(), const SystemEdit& edit = nullptr);

// The same with data\ made from default\ already, so that start-up asks no
// question.
bool WriteStartProjectWithData(const StartIni& ini = StartIni(), const SystemEdit& edit = nullptr);

}  // namespace testsupport
