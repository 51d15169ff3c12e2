// The BMP decoder on arbitrary bytes: it refuses or decodes, never reads out
// of bounds, and a decoded image is as large as it says.
#include <cstdint>
#include <cstdlib>

#include "platform/bmp_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plat::BmpImage img;
  if (plat::DecodeBmp(data, size, img) != plat::BmpStatus::Ok) return 0;
  const size_t count = static_cast<size_t>(img.width) * static_cast<size_t>(img.height);
  if ((img.indexed ? img.indices.size() : img.pixels.size()) != count) std::abort();
  uint32_t sum = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) sum += img.Colour(x, y);
  return static_cast<int>(sum & 0);
}
