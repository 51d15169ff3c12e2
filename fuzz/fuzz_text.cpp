// The text layer on arbitrary bytes: a face named by them or a project face at
// a size they choose, the text measured and drawn onto a mask and onto 32-bit
// pixels. Nothing may read or write outside the buffers, hang or crash.
// Input: height, width, flags, x, y, then the text.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"

namespace {

std::shared_ptr<plat::text::Face> FaceFor(const std::string& name, int height, int width) {
  static std::map<std::string, std::shared_ptr<plat::text::Face>> faces;
  std::string key = name + '\0' + std::to_string(height) + ',' + std::to_string(width);
  auto it = faces.find(key);
  if (it != faces.end()) return it->second;
  if (faces.size() >= 16) faces.clear();
  auto face = plat::text::OpenFace(name, height, width);
  faces[key] = face;
  return face;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  int height = static_cast<int8_t>(data[0]) % 48;
  int width = data[1] % 24;
  int flags = data[2];
  int x = static_cast<int8_t>(data[3]);
  int y = static_cast<int8_t>(data[4]) / 4;
  std::string text(reinterpret_cast<const char*>(data + 5), size - 5);

  // "ＭＳ ゴシック", "ＭＳ Ｐ明朝", or the text itself as a name.
  static const char* const kNames[] = {"\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E",
                                       "\x82\x6C\x82\x72 \x82\x6F\x96\xBE\x92\xA9"};
  std::string name = (flags & 3) < 2 ? kNames[flags & 1] : text.substr(0, 256);
  std::string line;
  if (auto face = FaceFor(name, height, width)) {
    face->TextWidth(text.data(), text.size());
    const int w = 48, h = 24;
    std::vector<uint8_t> mask(w * h, 0);
    auto mode = flags & 4 ? plat::text::GlyphMode::Coverage : plat::text::GlyphMode::Mono;
    face->DrawMask(text.data(), text.size(), mode, {mask.data(), w, h, w}, x, y);
  }

  int tw = 0, th = 0;
  int em = data[0] % 20 + 1;
  plat::text::MeasureText(plat::text::kDialogFace, em, text, &tw, &th);
  const int w = 40, h = 20, pitch = 44;
  std::vector<uint32_t> pixels(pitch * h, 0xFF000000u);
  plat::text::DrawTextPixels32(pixels.data(), w, h, pitch, x, y, plat::text::kDialogFace, em,
                               text, 0xFFFFFF);
  return 0;
}
