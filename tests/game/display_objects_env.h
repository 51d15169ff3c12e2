#pragma once
// The display objects of a running stage (message windows, effect and
// picture instances) for one test: a harness stage (GameWorld) with the
// drawing layer up on the software display or the 3D device, a palette whose
// text and frame colours are easy to find, and the message font SysFont[1]
// made of the generated "TestCell" face alone (16-pixel cells, with digits,
// signs and two kanji added), so that every size and glyph is exact.
// Everything is put back at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/report_log.h"
#include "game/stage_data.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/close_request.h"
#include "platform/d3d_device.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "platform/text.h"
#include "records/database.h"
#include "records/save_data.h"
#include "records/system_ini.h"
#include "support/bdf_font.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/png_image.h"
#include "support/shown_frame.h"
#include "support/recording_renderer.h"

// How long a window or picture of a display mode lives while play runs or is
// frozen (after frozenFirst frozen frames).
struct LifeCase {
  const char* what;
  int displayMode, frames, stopsGame, frozen, frozenFirst;
  int calls;  // Draw calls until one returns 1; -1 never within 200
};

inline const LifeCase kLifeCases[] = {
    {"30 frames of play", MESSAGEDISPLAY_TIME, 30, 0, 0, 0, 31},
    {"frozen frames do not count", MESSAGEDISPLAY_TIME, 30, 0, 0, 25, 31},
    {"frozen play holds the clock", MESSAGEDISPLAY_TIME, 30, 0, 1, 0, -1},
    {"a game stopper counts while frozen", MESSAGEDISPLAY_TIME, 30, 1, 1, 0, 31},
    {"no frames", MESSAGEDISPLAY_TIME, 0, 0, 0, 0, 1},
    {"a negative time", MESSAGEDISPLAY_TIME, INT_MIN, 0, 0, 0, 1},
    {"until a key", MESSAGEDISPLAY_KEY, 30, 1, 0, 0, -1},
    {"until the stage ends", MESSAGEDISPLAY_STAGE, 30, 0, 0, 0, -1},
};

class DisplayObjects : public ::testing::Test {
 public:
  static constexpr int kText = 241;   // palette number of the text
  static constexpr int kFrame = 240;  // and of the frames

 protected:
  void SetUp() override {
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
    plat::SetDesktopBpp(32);
    plat::ResetPresenter();
    world.Scene().m_vStageVars.assign(255, 0);
    // Only the test face draws, so that every machine shows the same glyphs.
    plat::text::UseSystemFonts(false);
    RegisterFace();
  }

  void TearDown() override {
    world.Scene().m_Messages.clear();
    world.Scene().m_Effects.clear();
    world.Scene().m_Pictures.clear();
    SysFont[1].Release();
    DDReleaseSurfaceList(Off_Msg);
    Off_Msg.clear();
    Off_MsgDef.clear();
    DDReleaseSurfaceList(Off_Picture);
    Off_Picture.clear();
    Off_PictureDef.clear();
    DDReleaseSurfaceVector(Off_Effect);
    Off_Effect.clear();
    Off_EffectDef.clear();
    for (DDSURFACEDATA& sd : SurfaceTable) DDReleaseSurface(&sd);
    DDReleaseSurface(&m_box);
    DDRelease();
    lpDTCon = nullptr;
    bDDEverInited = 0;
    TransmitPixel = 0;
    std::fill(std::begin(CurPalette), std::end(CurPalette), PALETTEENTRY{});
    std::fill(std::begin(BasePalette), std::end(BasePalette), PALETTEENTRY{});
    plat::text::ForgetRegisteredFonts();
    plat::text::UseSystemFonts(true);
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
  }

  // The software display full screen at a depth, with the palette.
  bool Start(int bpp) {
    if (!DDInit(0, plat::WindowHandle{}, 640, 480, bpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0)) return false;
    SetPalette();
    return true;
  }
  // The 3D device full screen at a depth, magenta its transparent colour.
  bool Start3D(int bpp) {
    if (!DDInit(1, plat::WindowHandle{}, 640, 480, bpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0)) return false;
    SetPalette();
    DDSetTransmit(255, 0, 255);
    lpDTCon->rgbTransmit16 = RGBTRIPLE{255, 0, 255};
    return true;
  }

  // Entry 0 black (the transparent colour in fills), kText white, kFrame
  // red, entry n otherwise (n, n, n); at 16 bits on the software display the
  // palette holds the channels of the pixels.
  static void SetPalette() {
    for (int n = 0; n < 256; ++n) CurPalette[n] = PALETTEENTRY{uint8_t(n), uint8_t(n), uint8_t(n), 0};
    CurPalette[0] = {};
    CurPalette[kText] = {255, 255, 255, 0};
    CurPalette[kFrame] = {255, 0, 0, 0};
    CurPalette[2] = {40, 60, 160, 0};
    CurPalette[3] = {230, 200, 40, 0};
    CurPalette[4] = {40, 170, 60, 0};
    if (nBpp == 16 && !lpDTCon) {
      for (PALETTEENTRY& e : CurPalette) e = {uint8_t(e.peRed >> 3), uint8_t(e.peGreen >> 2), uint8_t(e.peBlue >> 3), 0};
    }
    std::copy(std::begin(CurPalette), std::end(CurPalette), BasePalette);
    TransmitPixel = 0;
  }

  // The message font: cells of cellW × 16 (0: proportional, the face's
  // advances and line height), with a box image of palette colour 2 when
  // bBox, frames of 1 dot in kFrame, no glyph cache.
  void MakeMessageFont(int cellW, bool bBox = false) {
    DDSURFACEDATA* box = nullptr;
    if (bBox) {
      ASSERT_TRUE(DDCreateSurface(&m_box, 320, 240, 0, 1, 0, nullptr, 0));
      DDFillSurface(&m_box, 2);
      box = &m_box;
    }
    ASSERT_TRUE(SysFont[1].Create("TestCell", 0, 16, cellW, cellW ? 16 : 0, kText, box, 1, kFrame, nullptr, 0));
  }

  // Effect.dat entry n: frames of w × h, the cells given (each a tenth of a
  // second), scaling with the attacker when bScales; the run tables rebuilt.
  static void SetEffect(int n, int w, int h, int bScales, const std::vector<int>& cells) {
    if (Database.m_vEffect.Size() <= n) Database.m_vEffect.resize(static_cast<size_t>(n) + 1);
    cEdEffect& e = Database.m_vEffect[static_cast<size_t>(n)];
    e.m_nWidth = w;
    e.m_nHeight = h;
    e.m_bScaleWithOwner = bScales;
    e.m_vFrame.clear();
    for (int cell : cells) {
      cEdEffectFrame f;
      f.m_nCell = cell;
      f.m_nTime = 1;
      e.m_vFrame.push_back(f);
    }
    BuildEffectPatterns(EffectStepTable);
  }

  // The hero of a 40 × 30 map, its hit box at (x, y) with the graphic
  // offsets and size given.
  cHero& PlaceHero(double x, double y, int offX = 4, int offY = 8, int gfxW = 32, int gfxH = 40) {
    testsupport::MapBuilder map(std::vector<std::string>(30, std::string(40, '.')));
    map.Build();
    cHero& hero = world.AddHero(testsupport::CharaDef().PlayerOperated(), {1, 1});
    Shape(hero, x, y, offX, offY, gfxW, gfxH);
    Scroll(0, 0);
    return hero;
  }
  static void Shape(cCharaBase& c, double x, double y, int offX, int offY, int gfxW, int gfxH) {
    c.m_rcHit.dLeft = x;
    c.m_rcHit.dTop = y;
    c.m_nOffsetX = offX;
    c.m_nOffsetY = offY;
    c.m_nGfxWidth = gfxW;
    c.m_nGfxHeight = gfxH;
  }
  void Scroll(double x, double y) {
    world.Scene().m_ScrollX.m_dPos = x;
    world.Scene().m_ScrollY.m_dPos = y;
  }

  // A text window of the message command's shape.
  static cMessageWindow Text(const char* text, int placement, int displayMode, int frames, int anchor = 0,
                             int fixed = 1, int bContinue = 0, int substitute = 0, int framed = 0) {
    return cMessageWindow(MESSAGEMODE_TEXT, text, 0, 0, 0, placement, 0, 0, 0, 0, 0, fixed, displayMode, frames, 0,
                          anchor, bContinue, substitute, 0, 0, framed, 0, 0);
  }

  static testsupport::RgbImage Shown() { return testsupport::ShownFrame(); }

  // Rows of a surface: '#' where the text colour is, '.' elsewhere.
  static std::vector<std::string> InkOf(DDSURFACEDATA* sd) {
    const uint32_t ink = nBpp == 16 ? 0xFFFF : 0xFFFFFF;
    std::vector<std::string> rows;
    cSurfaceLock lock;
    EXPECT_TRUE(lock.Lock(sd));
    if (!lock.m_pBits) return rows;
    for (int y = 0; y < sd->nHeight; ++y) {
      const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
      std::string line;
      for (int x = 0; x < sd->nWidth; ++x) {
        const uint32_t v = lock.m_nBpp == 16 ? reinterpret_cast<const uint16_t*>(row)[x]
                                             : reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
        line += v == ink ? '#' : '.';
      }
      rows.push_back(line);
    }
    return rows;
  }
  static int InkCount(DDSURFACEDATA* sd) {
    int n = 0;
    for (const std::string& row : InkOf(sd)) n += static_cast<int>(std::count(row.begin(), row.end(), '#'));
    return n;
  }

  // A file of the working folder (the logs).
  static std::string ReadFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  testsupport::GameWorld world;
  DDSURFACEDATA m_box;

 private:
  // The 16-pixel test face with digits and signs, 8 dots wide each.
  static void RegisterFace() {
    testsupport::BdfFont font = testsupport::TestCellFont(16);
    const char* digits[10][7] = {
        {".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}, {"..#.", ".##.", "..#.", "..#.", "..#.", "..#.", ".###"},
        {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"}, {"###.", "...#", "...#", ".##.", "...#", "...#", "###."},
        {"#..#", "#..#", "#..#", "####", "...#", "...#", "...#"}, {"####", "#...", "###.", "...#", "...#", "#..#", ".##."},
        {".##.", "#...", "###.", "#..#", "#..#", "#..#", ".##."}, {"####", "...#", "..#.", "..#.", ".#..", ".#..", ".#.."},
        {".##.", "#..#", "#..#", ".##.", "#..#", "#..#", ".##."}, {".##.", "#..#", "#..#", ".###", "...#", "...#", ".##."},
    };
    for (int d = 0; d < 10; ++d)
      font.glyphs.push_back({static_cast<char32_t>(U'0' + d), 8, 2, 0, {digits[d], digits[d] + 7}});
    // 漢 and 字: a filled block and a frame.
    const std::vector<std::string> block(14, std::string(14, '#'));
    std::vector<std::string> frame = block;
    for (size_t r = 1; r + 1 < frame.size(); ++r) frame[r] = "#" + std::string(12, '.') + "#";
    font.glyphs.push_back({U'\u6F22', 16, 1, -1, block});
    font.glyphs.push_back({U'\u5B57', 16, 1, -1, frame});
    font.glyphs.push_back({U'-', 8, 2, 3, {"####"}});
    font.glyphs.push_back({U'+', 8, 2, 2, {".#.", "###", ".#."}});
    std::ofstream("cell16.bdf") << testsupport::BdfText(font);
    ASSERT_TRUE(plat::text::RegisterFontFile((std::filesystem::current_path() / "cell16.bdf").string()));
  }
};
