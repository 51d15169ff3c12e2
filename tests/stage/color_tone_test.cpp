// The colour tone over the stage frame: its start by the screen-colour
// command, the palette levels frame by frame at 8 bits, nothing at 16 and 32
// bits on the software display, the overlay of the 3D device, and a tone
// that stays there.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/display_commands.h"
#include "media/dd_layer.h"
#include "media/palette_scheme.h"
#include "records/command.h"
#include "stage_draw_env.h"
#include "support/shown_frame.h"

using namespace testsupport;

namespace {

using ToneParams = std::array<int32_t, 8>;  // red, green, blue, strength, fade back, time, flash, flash count

StageRunner::Options ToneBackend(bool d3d, int bpp) {
  StageRunner::Options o;
  o.d3d = d3d;
  o.bpp = bpp;
  return o;
}

class Tone : public stagedraw::DrawnStage {
 public:
  explicit Tone(bool d3d = false, int bpp = 8) : DrawnStage(ToneBackend(d3d, bpp)) { Start(); }
  cColorTone& tone() { return scene->m_ColorTone; }
  void Begin(const ToneParams& p) { tone().Start(p.data()); }
  std::vector<std::string> Frame(int bFrozen = 0) {
    scene->DrawColorTone(bFrozen);
    return Calls();
  }
  // The level of each frame's palette blend ("-" for a frame that set
  // none) until the tone ends, at most `limit` frames.
  std::vector<std::string> PaletteLevels(int limit = 40) {
    std::vector<std::string> levels;
    for (int n = 0; n < limit && tone().m_bRunning; ++n) {
      const std::vector<std::string> calls = Frame();
      std::string level = "-";
      if (calls.size() == 2 && calls[1] == "ShowPalette 0 256") {
        std::istringstream in(calls[0]);
        std::string name, out;
        int first = 0, last = 0;
        in >> name >> out >> first >> last >> level;
      }
      levels.push_back(level);
    }
    return levels;
  }
};

using Levels = std::vector<std::string>;

}  // namespace

TEST(ColorTone, StartTakesTheCommandAndFadesBackOnlyFromAToneThatIsThere) {
  Tone t;
  // Fading back with nothing to fade from is ignored.
  t.Begin({255, 0, 0, 100, 1, 10, 0, 0});
  EXPECT_EQ(t.tone().m_bRunning, 0);
  EXPECT_EQ(t.tone().m_nRed, 0);

  t.Begin({0x1FF, 0x180, 7, 60, 0, 5, 1, 3});
  const cColorTone& c = t.tone();
  EXPECT_EQ(c.m_nRed, 0xFF) << "the low 8 bits";
  EXPECT_EQ(c.m_nGreen, 0x80);
  EXPECT_EQ(c.m_nBlue, 7);
  EXPECT_EQ(c.m_nStrength, 60);
  EXPECT_EQ(c.m_nDuration, 30) << "tenths of a second in frames";
  EXPECT_EQ(c.m_bFlash, 1);
  EXPECT_EQ(c.m_nFlashCount, 3);
  EXPECT_EQ(c.m_bRunning, 1);
  EXPECT_EQ(c.m_bApplied, 1);
  EXPECT_EQ(c.m_nLevel, 0);

  // A fade back takes the tone before it back, and remembers it as previous.
  t.tone().m_nLevel = 97;
  t.tone().m_nCounter = 12;
  t.Begin({1, 2, 3, 4, 1, 2, 0, 0});
  EXPECT_EQ(c.m_nRed, 0xFF);
  EXPECT_EQ(c.m_nGreen, 0x80);
  EXPECT_EQ(c.m_nStrength, 60);
  EXPECT_EQ(c.m_nLevel, 97);
  EXPECT_EQ(c.m_nPrevLevel, 97);
  EXPECT_EQ(c.m_nPrevRed, 0xFF);
  EXPECT_EQ(c.m_bFadeBack, 1);
  EXPECT_EQ(c.m_bFlash, 0);
  EXPECT_EQ(c.m_nDuration, 12);
  EXPECT_EQ(c.m_nCounter, 0);

  // A time beyond any frame count saturates.
  t.Begin({0, 0, 0, 0, 0, 2147483647, 0, 0});
  EXPECT_EQ(c.m_nDuration, 2147483647);
}

TEST(ColorTone, TheScreenColourCommandStartsTheStagesTone) {
  Tone t;
  cEdCommand command;
  for (int v : {10, 20, 30, 40}) command.m_vParams.push_back(v);  // a short list counts the rest as 0
  ASSERT_NE(Hero(), nullptr);
  CmdScreenColor(*Hero(), command);
  EXPECT_EQ(t.tone().m_nBlue, 30);
  EXPECT_EQ(t.tone().m_nStrength, 40);
  EXPECT_EQ(t.tone().m_nDuration, 0);
  EXPECT_EQ(t.tone().m_bRunning, 1);
  EXPECT_TRUE(t.run.Events().Texts(EventKind::Log).empty());
}

TEST(ColorTone, At8BitsThePaletteIsBlendedFrameByFrame) {
  Tone t;
  // Red at full strength over six frames; an invisible level leaves the
  // palette as it is (256).
  t.Begin({255, 0, 0, 100, 0, 1, 0, 0});
  EXPECT_EQ(t.PaletteLevels(), (Levels{"256", "212", "170", "127", "85", "42", "0"}));
  EXPECT_EQ(t.tone().m_nLevel, 0);
  EXPECT_TRUE(t.Frame().empty()) << "ended; the palette keeps the tone";

  // Faded back from that tone's level to none, toward its colour.
  t.Begin({0, 0, 255, 0, 1, 1, 0, 0});
  EXPECT_EQ(t.tone().m_nRed, 255);
  EXPECT_EQ(t.Frame().front(), "DDBlendPalette CurPalette 0 255 0 255 0 0 BasePalette");
  EXPECT_EQ(t.PaletteLevels(), (Levels{"42", "85", "127", "170", "212", "256"}));

  // Two flashes of half strength: each restarts from the untinted palette.
  t.Begin({0, 0, 255, 50, 0, 1, 1, 2});
  const Levels flash = {"256", "233", "212", "191", "170", "148", "256"};
  Levels twice = flash;
  twice.insert(twice.end(), flash.begin(), flash.end());
  EXPECT_EQ(t.PaletteLevels(), twice);
  EXPECT_EQ(t.tone().m_nFlashCounter, 2);
}

TEST(ColorTone, At8BitsAFrozenFrameLeavesThePaletteAndTheCount) {
  Tone t;
  t.Begin({255, 0, 0, 100, 0, 1, 0, 0});
  t.Frame();
  t.Frame();
  EXPECT_TRUE(t.Frame(1).empty());
  EXPECT_EQ(t.tone().m_nCounter, 2);
  EXPECT_EQ(t.Frame().front(), "DDBlendPalette CurPalette 0 255 170 255 0 0 BasePalette");
}

TEST(ColorTone, TheSoftwareDisplayAt16And32BitsShowsNone) {
  for (int bpp : {16, 32}) {
    SCOPED_TRACE(bpp);
    Tone t(false, bpp);
    t.Begin({255, 0, 0, 100, 0, 10, 0, 0});
    EXPECT_TRUE(t.Frame(1).empty());
    EXPECT_EQ(t.tone().m_bRunning, 1) << "frozen: nothing happens";
    EXPECT_TRUE(t.Frame().empty());
    EXPECT_EQ(t.tone().m_bRunning, 0);
  }
}

TEST(ColorTone, The3DDeviceLaysAnOverlayOrChangesTheColourOfTheFrame) {
  for (int bVir : {0, 1}) {
    SCOPED_TRACE(bVir ? "the stand-in back buffer" : "the back buffer");
    Tone t(true, 32);
    ASSERT_NE(lpDTCon, nullptr);
    lpDTCon->bVirBackBuffer = bVir;
    t.Begin({0x12, 0x34, 0x56, 100, 0, 1, 0, 0});
    t.Frame();
    t.Frame();
    const std::vector<std::string> calls = t.Frame();
    // Two frames in: 255 - (2/6) x 255.
    if (bVir)
      EXPECT_EQ(calls, (std::vector<std::string>{"DDFillSurfaceColor T67 ff123456",
                                                 "DDBltAlpha Back 0 0 640 480 T67 0 0 0 BlendTable 170"}));
    else
      EXPECT_EQ(calls, std::vector<std::string>{"DDChangeColor Back 0 0 640 480 170 18 52 86"});
    lpDTCon->bVirBackBuffer = 0;
  }
}

TEST(ColorTone, OnThe3DDeviceAToneStaysAtItsStrengthUntilTheNextCommand) {
  Tone t(true, 32);
  t.Begin({0, 0, 0, 40, 0, 1, 0, 0});
  std::vector<std::string> calls;
  for (int n = 0; n < 7; ++n) calls = t.Frame();
  // 255 - 40 x 2.55 from the end of its time on.
  const std::string stays = "DDChangeColor Back 0 0 640 480 153 0 0 0";
  EXPECT_EQ(calls, std::vector<std::string>{stays});
  for (int n = 0; n < 50; ++n) ASSERT_EQ(t.Frame(), std::vector<std::string>{stays});
  EXPECT_EQ(t.tone().m_bRunning, 1);
  EXPECT_EQ(t.tone().m_nCounter, 6) << "the count stops at the end of its time";

  // A fade back from it ends at nothing.
  t.Begin({0, 0, 0, 0, 1, 1, 0, 0});
  const std::vector<std::string> first = t.Frame();
  EXPECT_EQ(first, std::vector<std::string>{stays});
  for (int n = 0; n < 6; ++n) calls = t.Frame();
  EXPECT_EQ(calls, std::vector<std::string>{"DDChangeColor Back 0 0 640 480 255 0 0 0"});
  EXPECT_EQ(t.tone().m_bRunning, 0);

  // A tone of strength 0 ends with its time; a fade back then is ignored.
  t.Begin({9, 9, 9, 0, 0, 1, 0, 0});
  for (int n = 0; n < 7; ++n) t.Frame();
  EXPECT_EQ(t.tone().m_bRunning, 0);
  t.Begin({0, 0, 0, 0, 1, 1, 0, 0});
  EXPECT_EQ(t.tone().m_bRunning, 0);
}

TEST(ColorTone, LevelsStayInRangeWhateverTheStrength) {
  struct Case {
    int strength;
    std::string level;  // at the end of the time
  };
  const Case cases[] = {{250, "0"}, {-50, "255"}, {100, "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.strength);
    Tone t(true, 32);
    t.Begin({0, 0, 0, c.strength, 0, 0, 0, 0});
    EXPECT_EQ(t.Frame(), std::vector<std::string>{"DDChangeColor Back 0 0 640 480 " + c.level + " 0 0 0"});
  }
}

TEST(ColorTone, OnThe3DDeviceAFrozenFrameDrawsTheToneWithoutAdvancingIt) {
  Tone t(true, 32);
  t.Begin({0, 0, 0, 100, 0, 1, 1, 1});
  for (int n = 0; n < 6; ++n) t.Frame();
  // At the end of a flash: frozen frames keep it at full strength.
  const std::vector<std::string> full = {"DDChangeColor Back 0 0 640 480 0 0 0 0"};
  EXPECT_EQ(t.Frame(1), full);
  EXPECT_EQ(t.Frame(1), full);
  EXPECT_EQ(t.tone().m_bRunning, 1);
  // The next played frame restarts it invisible, and one flash was asked for.
  EXPECT_EQ(t.Frame(), std::vector<std::string>{"DDChangeColor Back 0 0 640 480 255 0 0 0"});
  EXPECT_EQ(t.tone().m_bRunning, 0);
}

TEST(ColorTone, PixelsOfAToneHalfWayOnEachBackEnd) {
  struct Case {
    const char* what;
    bool d3d;
    int bpp;
    int bStandIn;
    uint32_t shown;  // of palette colour 100, (100, 155, 50), under full red half way
  };
  const Case cases[] = {
      // The palette entry pulled 129/256 of the way to red.
      {"software display, 8 bits", false, 8, 0, 0xB24C18},
      {"software display, 16 bits: none", false, 16, 0, 0},
      // Red at opacity 128 over it, the same both ways.
      {"3D device, the colour over the back buffer", true, 32, 0, 0xB24D19},
      {"3D device, the overlay over the stand-in", true, 32, 1, 0xB24D19},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner::Options o = ToneBackend(c.d3d, c.bpp);
    o.drawing = StageRunner::Drawing::Layer;
    stagedraw::DrawnStage t(o);
    t.Start();
    ASSERT_NE(t.scene, nullptr);
    std::copy(std::begin(BasePalette), std::end(BasePalette), std::begin(CurPalette));
    if (c.bpp == 8) ShowPalette(0, 256);
    const uint32_t plain = [&] {
      DDFillSurface(&BackBuffer, 100);
      return ShownFrame().pixels.at(640 * 240 + 320);
    }();
    if (c.bStandIn) DDUseVirBackBuffer(1);
    DDFillSurface(&BackBuffer, 100);
    const int32_t red[8] = {255, 0, 0, 100, 0, 1, 0, 0};
    t.scene->m_ColorTone.Start(red);
    t.scene->m_ColorTone.m_nCounter = 3;
    t.scene->DrawColorTone(0);
    if (c.shown) EXPECT_EQ(t.scene->m_ColorTone.m_nLevel, 127);
    const uint32_t shown = ShownFrame().pixels.at(640 * 240 + 320);
    EXPECT_EQ(shown, c.shown ? c.shown : plain) << std::hex << shown << " plain " << plain;
    DDUseVirBackBuffer(0);
  }
}
