#include "support/start_project.h"

#include <cstdint>
#include <functional>

#include "platform/host_path.h"
#include "records/common_palette.h"
#include "records/data_file.h"
#include "records/database.h"
#include "records/path_table.h"
#include "records/system.h"
#include "records/world_map.h"

namespace testsupport {
namespace {

void Le(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool Write(const std::string& path, const std::string& bytes) {
  return plat::WriteFileAtomic(path, bytes.data(), bytes.size());
}

}  // namespace

std::string StartIniText(const StartIni& ini) {
  std::string text = "Direct3D=" + std::to_string(ini.direct3D) + "\n";
  text += "WindowMode=" + std::to_string(ini.windowMode) + "\n";
  text += "Bpp=" + std::to_string(ini.bpp) + "\n";
  text += "VSync=" + std::to_string(ini.vsync) + "\n";
  text += "ShowFps=" + std::to_string(ini.showFps) + "\n";
  if (!ini.freeStage.empty()) text += "FreeStage=" + ini.freeStage + "\n";
  return text + "Exit\n";
}

std::string IndexedBmpBytes(int width, int height, const std::function<uint8_t(int, int)>& pixel) {
  constexpr uint32_t kPaletteBytes = 256 * 4;
  const int pitch = (width + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(pitch * height);
  constexpr uint32_t kOffset = 14 + 40 + kPaletteBytes;
  std::string b = "BM";
  Le(b, kOffset + pixelBytes, 4);
  Le(b, 0, 4);
  Le(b, kOffset, 4);
  Le(b, 40, 4);  // info header size
  Le(b, static_cast<uint32_t>(width), 4);
  Le(b, static_cast<uint32_t>(height), 4);  // bottom-up
  Le(b, 1, 2);   // planes
  Le(b, 8, 2);   // bits per pixel
  Le(b, 0, 4);   // no compression
  Le(b, pixelBytes, 4);
  Le(b, 2835, 4);
  Le(b, 2835, 4);
  Le(b, 256, 4);  // colours used
  Le(b, 0, 4);
  for (int i = 0; i < 256; ++i) {
    const uint8_t red = i == 0 ? 255 : static_cast<uint8_t>(i);
    const uint8_t green = i == 0 ? 0 : static_cast<uint8_t>(255 - i);
    const uint8_t blue = i == 0 ? 255 : static_cast<uint8_t>(i / 2);
    b += static_cast<char>(blue);
    b += static_cast<char>(green);
    b += static_cast<char>(red);
    b += '\0';
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) b += static_cast<char>(pixel(x, y));
    b.append(static_cast<size_t>(pitch - width), '\0');
  }
  return b;
}

std::string PaletteBmpBytes() {
  // The rows above the swatch show entry 0.
  return IndexedBmpBytes(16, 24, [](int x, int y) { return static_cast<uint8_t>(y < 8 ? 0 : (y - 8) * 16 + x); });
}

bool WriteStartProject(const StartIni& ini, const SystemEdit& edit) {
  for (const char* folder : {"default", "default\\database", "bmp", "bmp\\plt"})
    if (!plat::CreateDirectory(folder)) return false;
  const int version = CurVersion;
  CurVersion = DATA_VERSION;
  Database.Reset();
  bool ok = Database.SaveAll(1);
  SystemData.Reset();
  if (edit) edit(SystemData);
  ok = ok && SystemData.SaveToFile(PathTable[36]);
  cEdWorldMap worldMap;
  ok = ok && worldMap.SaveToFile(PathTable[14]);
  cEdCommonPalette commonPalette;
  ok = ok && commonPalette.SaveToFile(PathTable[8]);
  CurVersion = version;
  // The title screen's images: picture, cursor sprites and window frame.
  const auto plain = [](uint8_t colour) { return [colour](int, int) { return colour; }; };
  ok = ok && Write("bmp\\Title.bmp", IndexedBmpBytes(640, 480, plain(20))) &&
       Write("bmp\\Accessory.bmp", IndexedBmpBytes(96, 32, plain(30))) &&
       Write("bmp\\Window.bmp", IndexedBmpBytes(64, 64, plain(40)));
  return ok && Write("bmp\\plt\\Palette.bmp", PaletteBmpBytes()) && Write("System.ini", StartIniText(ini));
}

bool WriteStartProjectWithData(const StartIni& ini, const SystemEdit& edit) {
  return WriteStartProject(ini, edit) && plat::CopyTree("default", "data");
}

}  // namespace testsupport
