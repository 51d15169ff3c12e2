// Message texts on arbitrary bytes: variable codes substituted from common
// and stage variables the input chooses, the result measured by a cell font
// and a proportional one, and rendered framed or plain onto a surface smaller
// than most texts, on the software display at 16 bits. Nothing may read or
// write outside a string or a surface, hang or crash.
// Input: flags, a variable seed (four bytes), then the text.
#include <cstdlib>

#include "fuzz_support.h"
#include "game/game.h"
#include "game/message_window.h"
#include "game/stage_data.h"
#include "media/dd_layer.h"
#include "media/font.h"
#include "records/save_data.h"

namespace {

struct Setup {
  cSceneStageData stage;
  DDSURFACEDATA box, target;
};

// Made once: the display, a box image, a small target, the message font and
// a stage with its 255 variables.
Setup& Shared() {
  static Setup* setup = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    fuzz::ScratchFolder();
    if (!DDInit(0, plat::WindowHandle{}, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0)) std::abort();
    auto* s = new Setup;
    for (int i = 0; i < 256; ++i) CurPalette[i] = PALETTEENTRY{uint8_t(i & 31), uint8_t(i & 63), uint8_t(i & 31), 0};
    DDCreateSurface(&s->box, 320, 240, 0, 1, 0, nullptr, 0);
    DDCreateSurface(&s->target, 96, 40, 1, 1, 0, nullptr, 0);
    // "ＭＳ ゴシック"
    const char* face = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
    SysFont[1].Create(face, 0, 16, 16, 16, 241, &s->box, 1, 240, nullptr, 0);
    s->stage.m_vStageVars.assign(255, 0);
    CurStage = &s->stage;
    return s;
  }();
  return *setup;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup& s = Shared();
  fuzz::Input in(data, size);
  const uint8_t flags = in.Byte();
  const uint32_t seed = in.U16() | static_cast<uint32_t>(in.U16()) << 16;
  for (int i = 0; i < 256; ++i) PlayData.m_vCommonVar.At(i) = static_cast<int32_t>(seed * static_cast<uint32_t>(i));
  for (int i = 0; i < 255; ++i) s.stage.m_vStageVars.At(i) = static_cast<int32_t>(~seed * static_cast<uint32_t>(i));
  cMessageWindow window;
  window.m_strSource = in.Rest();
  window.m_strText = window.m_strSource;
  SubstituteVariables(window.m_strText);
  // Cells of 16 dots, or the face's own advances.
  SysFont[1].m_nCellW = (flags & 1) ? 0 : 16;
  SysFont[1].m_nCellH = (flags & 1) ? 0 : 16;
  MeasureMessageText(window.m_nWidth, window.m_nHeight, window.m_strText.c_str());
  window.m_bFramed = (flags & 2) ? 1 : 0;
  window.RenderText(&s.target);
  return 0;
}
