// A whole stage frame as the player sees it, on the software display at 16
// bits and on the 3D device at 32: three background layers (a plain one and
// two images, one in front), both map layers, objects on two depth levels, an
// effect, a message, the five status items and the timer, in the test face.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/effect_instance.h"
#include "game/map_cells.h"
#include "game/message_window.h"
#include "media/dd_layer.h"
#include "media/font.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/text.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/system.h"
#include "stage_draw_env.h"
#include "support/bdf_font.h"
#include "support/png_image.h"
#include "support/shown_frame.h"
#include "tools/sample/sample_files.h"

using namespace testsupport;

namespace {

const std::vector<std::string> kRows = {
    "....................", "....................", "....................", "....................",
    "....................", "....................", "..........######....", "....................",
    "....................", "....................", "..H..a..b...........", "####################",
    "####################", "####################", "####################"};

class TestFace {
 public:
  TestFace() {
    plat::text::UseSystemFonts(false);
    BdfFont font = TestCellFont(16);
    for (char32_t c = U'0'; c <= U'9'; ++c) {
      std::vector<std::string> rows(10, "#....#");
      rows.front() = rows.back() = "######";
      for (int r = 1; r < 1 + static_cast<int>(c - U'0') && r < 9; ++r) rows[static_cast<size_t>(r)] = "######";
      font.glyphs.push_back({c, 8, 1, 0, rows});
    }
    for (char32_t c : {U'S', U'P', U'T', U'L', U'-'})
      font.glyphs.push_back({c, 8, 1, 0, {"######", "#.##.#", "#....#", "######"}});
    std::ofstream("cell16.bdf") << BdfText(font);
    EXPECT_TRUE(plat::text::RegisterFontFile((std::filesystem::current_path() / "cell16.bdf").string()));
    EXPECT_TRUE(SysFont[0].Create("TestCell", 0, 16, 8, 16, 241, nullptr, 0, 240, nullptr, 0));
    EXPECT_TRUE(SysFont[1].Create("TestCell", 0, 16, 8, 16, 241, nullptr, 1, 240, nullptr, 0));
  }
  ~TestFace() {
    SysFont[0].Release();
    SysFont[1].Release();
    plat::text::ForgetRegisteredFonts();
    plat::text::UseSystemFonts(true);
  }
};

cEdBackground Layer(const char* file, double parallax, int bFront) {
  cEdBackground b;
  b.m_strFile = file;
  b.m_dScrollX = b.m_dScrollY = parallax;
  b.m_bFront = bFront;
  return b;
}

RgbImage DrawFullFrame(bool d3d, int bpp) {
  StageRunner::Options options;
  options.drawing = StageRunner::Drawing::Layer;
  options.d3d = d3d;
  options.bpp = bpp;
  StageRunner run(options);
  DDLoadPaletteFromFile(CurPalette, "bmp\\plt\\Palette.bmp", nBpp);
  std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
  DDSetTransmit("bmp\\plt\\Palette.bmp");
  TestFace face;

  // Hills in two shades with sky between (transparent), and a front fence.
  stagedraw::WriteImage("bmp\\Hills.bmp", 160, 120, [](int x, int y) {
    const int top = 60 + (x % 80 < 40 ? x % 40 : 40 - x % 40);
    return uint8_t(y < top ? 0 : pal::Shade(pal::GREEN, (x / 16 + y / 16) % 2 ? 6 : 9));
  });
  stagedraw::WriteImage("bmp\\Fence.bmp", 48, 480, [](int x, int y) {
    return uint8_t(y > 400 && (x < 6 || y % 24 < 4) ? pal::Shade(pal::BROWN, 8) : 0);
  });
  // Effect 1: the sample's hit spark, its second cell.
  Database.m_vEffect.resize(2);
  cEdEffect& spark = Database.m_vEffect[1];
  spark.m_strFile = samplefile::kHitEffect;
  spark.m_nWidth = spark.m_nHeight = samplefile::kHitCell;
  spark.m_vFrame.clear();
  cEdEffectFrame frame;
  frame.m_nCell = 1;
  frame.m_nTime = 10;
  spark.m_vFrame.push_back(frame);
  BuildEffectPatterns(EffectStepTable);
  MapBuilder map(kRows);
  map.Build();
  CharaDef hero = CharaDef().PlayerOperated().Hp(20).Sp(10);
  hero.Def().m_nZ = 3;
  map.PlaceCharas('H', hero);
  CharaDef front = CharaDef().Computer();
  front.Def().m_nZ = 5;
  front.Def().m_nGraphic = 1;
  map.PlaceCharas('a', front);
  CharaDef back = CharaDef().Computer();
  back.Def().m_nZ = 0;
  back.Def().m_nGraphic = 2;
  map.PlaceCharas('b', back);
  Stage.m_bDrawDepth = 1;
  Stage.m_bTimeLimit = 1;
  Stage.m_nTimeLimit = 87;
  Stage.m_bShowHud = 1;
  Stage.m_vBackground.clear();
  cEdBackground sky;
  sky.m_bFillColor = 1;
  sky.m_nColor = pal::Shade(pal::SKY, 12);
  Stage.m_vBackground.push_back(sky);
  Stage.m_vBackground.push_back(Layer("bmp\\Hills.bmp", 0.5, 0));
  Stage.m_vBackground.push_back(Layer("bmp\\Fence.bmp", 1.0, 1));
  const char* labels[5] = {"", "ST", "", "SP", ""};
  for (int i = 0; i < 5; ++i) {
    cEdStatusItem& item = SystemData.m_vStatusItems[static_cast<size_t>(i)];
    item.m_bVisible = 1;
    item.m_bIcon = labels[i][0] == 0;
    item.m_strLabel = labels[i];
    item.m_nDigits = 4;
    item.m_bShowValue = i == 2;
  }
  run.TakeStage();
  run.Enter();
  run.Frame();
  cSceneStage* scene = run.Scene();
  EXPECT_NE(scene, nullptr);
  if (!scene) return {};

  // A block in front of the objects, one with its overlay icon.
  const int bx = scene->m_ScrollX.m_nBorder, by = scene->m_ScrollY.m_nBorder;
  for (int c = 12; c < 16; ++c) CellAt(bx + c, by + 6)->Block.m_nLayer = 1;
  MAPCELL* marked = CellAt(bx + 10, by + 6);
  marked->Block.m_bShowIcon = 1;
  marked->Block.m_nIcon = 16;
  // The level-5 character stands over the hero's right half, the level-0
  // one under its left half.
  for (cChara& c : CharaList) {
    const double dx = (c.m_Def.m_nZ == 5 ? 14 : -14) + Hero()->m_rcHit.dLeft - c.m_rcHit.dLeft;
    c.m_rcHit.dLeft += dx;
    c.m_rcHit.dRight += dx;
  }
  PlayData.m_nTotalScore = 1200;
  PlayData.m_nStageScore = 340;
  PlayData.m_nLives = 3;
  Hero()->m_nHp = 12;
  Hero()->m_nSp = 3;
  EFFECTSPAWN spawn;
  spawn.nEffect = 1;
  spawn.dX = 300 + scene->m_ScrollX.m_dPos;
  spawn.dY = 200 + scene->m_ScrollY.m_dPos;
  spawn.nWidth = spawn.nHeight = 32;
  scene->m_Effects.emplace_back(spawn);
  scene->m_Messages.emplace_back(MESSAGEMODE_TEXT, "ST 12", 0, 0, 0, MESSAGEPLACE_SCREEN_CELL, 12, 3, 0, 0, 0, 1,
                                 MESSAGEDISPLAY_STAGE, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0);
  scene->m_nPhase = STAGESTATE_PLAY;
  scene->Draw(1, 0, 1, 1);
  const RgbImage shown = ShownFrame();
  // The scene leaves message surfaces to the next set-up; the layer is
  // released before that.
  scene->m_Messages.clear();
  scene->ClearMessageSurfaces();
  return shown;
}

}  // namespace

TEST(StageGolden, AFullFrameOnTheSoftwareDisplayAt16Bits) {
  EXPECT_TRUE(MatchesGolden("stage_frame_dd16", DrawFullFrame(false, 16)));
}

TEST(StageGolden, AFullFrameOnThe3DDeviceAt32Bits) {
  EXPECT_TRUE(MatchesGolden("stage_frame3d_32", DrawFullFrame(true, 32)));
}
