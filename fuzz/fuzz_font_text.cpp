// The fonts on arbitrary bytes: a text drawn, boxed and measured by fixed-pitch
// and proportional fonts, with and without glyph caches, centred or with
// icons, at positions the input chooses, on the software display at 16 bits;
// and the same bytes through the glyph sheet. Nothing may read or write
// outside a surface, hang or crash.
// Input: font choice, flags, x, y (two bytes each), then the text.
#include <cstdlib>

#include "fuzz_support.h"
#include "media/dd_layer.h"
#include "media/dd_sheet_text.h"
#include "media/font.h"

namespace {

struct Setup {
  Font fonts[4];
  DDSURFACEDATA icons, box, target;
};

// Made once: the display, a box image, an icon sheet, a small target and four fonts.
Setup& Shared() {
  static Setup* setup = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    fuzz::ScratchFolder();
    if (!DDInit(0, plat::WindowHandle{}, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0)) std::abort();
    auto* s = new Setup;
    for (int i = 0; i < 256; ++i) CurPalette[i] = PALETTEENTRY{uint8_t(i & 31), uint8_t(i & 63), uint8_t(i & 31), 0};
    DDCreateSurface(&s->box, 320, 240, 0, 1, 0, nullptr, 0);
    DDCreateSurface(&s->icons, 260, 16, 1, 1, 0, nullptr, 0);
    DDFillSurface(&s->icons, 7);
    DDCreateSurface(&s->target, 200, 100, 1, 1, 0, nullptr, 0);
    // "ＭＳ ゴシック"
    const char* face = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
    s->fonts[0].Create(face, 0, 9, 10, 10, 241, &s->box, 1, 240, &s->icons, 1);
    s->fonts[1].Create(face, 0, 16, 16, 16, 241, &s->box, 1, 240, &s->icons, 0);
    s->fonts[2].Create(face, 0, 16, 0, 16, 241, &s->box, 1, 240, nullptr, 0);
    s->fonts[3].Create(face, 0, 30, 32, 32, 241, nullptr, 1, 240, nullptr, 1);
    return s;
  }();
  return *setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup& s = Shared();
  fuzz::Input in(data, size);
  Font& font = s.fonts[in.Byte() % 4];
  const uint8_t flags = in.Byte();
  const int x = static_cast<int16_t>(in.U16()) % 400, y = static_cast<int16_t>(in.U16()) % 300;
  const std::string text = in.Rest();
  font.m_bCentre = flags & 1;
  font.m_bIcon = (flags & 2) ? 1 : 0;
  DDFillSurface(&s.target, 0);
  font.DrawText(&s.target, x, y, text.c_str(), flags & 4);
  font.DrawTextF(&s.target, -x, y, "%s", text.c_str());
  font.DrawTextBox(&s.target, (flags & 8) ? FONT_CENTRE : x, y, (flags & 16) ? 0 : x, 0, text.c_str(), flags >> 5);
  int extent[2];
  font.GetTextExtentFixed(extent, text.c_str());
  font.GetTextExtentGdi(extent, text.c_str());
  LineLength(text.c_str());
  DDDrawSheetText(&s.target, x, y, 8, 16, &s.box, text.c_str());
  return 0;
}
