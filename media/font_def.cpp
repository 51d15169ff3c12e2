#include "media/font_def.h"

#include <cstring>

namespace {

// "ＭＳ ゴシック"
#define GOTHIC "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E"

constexpr FONTDEF kFontRows[SYSTEM_FONT_COUNT] = {
    {GOTHIC, 0, 9, 10, 10, 241, 45, 1, 240, 50, 2},
    {GOTHIC, 0, 16, 16, 16, 241, 45, 1, 240, 50, 2},
    {GOTHIC, 0, 30, 32, 32, 241, 45, 1, 240, 50, 0},
};

#undef GOTHIC

}  // namespace

void InitFontSpecs() { std::memcpy(FontSpec, kFontRows, sizeof FontSpec); }
