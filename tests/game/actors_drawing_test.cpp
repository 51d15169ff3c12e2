// The drawing of the hero's box markers and sight mask, and of the
// drop-item hint above a character, through the recording renderer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/stage_data.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "records/stage.h"
#include "records/system.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/recording_renderer.h"

using namespace testsupport;

namespace {

MapBuilder Room() { return MapBuilder(std::vector<std::string>(15, std::string(20, '.'))); }

// The hero on cell (5, 5) with the view at the map's corner: its graphic at
// (160, 160), its hit box 8 dots in.
cHero& MarkedHero(GameWorld& world) {
  Room().Build();
  Stage.m_nShowHitBox = 1;
  Stage.m_nHitBoxColor = 0;
  Stage.m_nShowContactBox = 2;
  Stage.m_nContactBoxColor = 1;
  Stage.m_nContactBoxColor = 1;
  Stage.m_nHeroContactW = 10;
  Stage.m_nHeroContactH = 20;
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
  hero.UpdateScreenRect();
  return hero;
}

std::vector<std::string> Markers(int hitColour, int contactColour) {
  return {"DDFillRect Back 168 168 16 24 " + std::to_string(hitColour),
          "DDDrawFrame Back 171 172 10 20 1 " + std::to_string(contactColour)};
}

}  // namespace

TEST(HeroDrawing, MarkersOverTheHeroCycleFourColoursEightFramesEach) {
  GameWorld world;
  cHero& hero = MarkedHero(world);
  ASSERT_EQ(hero.m_rcScreen.nLeft, 160);
  ASSERT_EQ(hero.m_rcScreen.nTop, 160);
  RecordingRenderer renderer;
  // The hero itself first, then the markers over it.
  auto withHero = [](std::vector<std::string> markers) {
    markers.insert(markers.begin(), "DDBlt Back 160 160 32 32 T4 0 32 1");
    return markers;
  };
  for (int frame = 0; frame < 40; ++frame) {
    hero.Draw(&BackBuffer, 0);
    const int k = (frame % 32) / 8;
    EXPECT_EQ(renderer.Take(), withHero(Markers(208 + k, 212 + k))) << frame;
  }
  // Frozen: drawn, but the colours hold.
  for (int frame = 0; frame < 10; ++frame) {
    hero.Draw(&BackBuffer, 1);
    EXPECT_EQ(renderer.Take(), withHero(Markers(209, 213)));
  }
}

TEST(HeroDrawing, WithPaletteCyclingIn8BitColourThePaletteMakesTheColoursRun) {
  struct Case {
    int bpp, cycling;
    bool runs;
  };
  const Case cases[] = {{8, 1, false}, {8, 0, true}, {16, 1, true}};
  for (const Case& c : cases) {
    GameWorld world;
    cHero& hero = MarkedHero(world);
    nBpp = c.bpp;
    SystemData.m_bPaletteCycle = c.cycling;
    RecordingRenderer renderer;
    for (int frame = 0; frame < 9; ++frame) hero.Draw(&BackBuffer, 0);
    const std::vector<std::string> calls = renderer.Take();
    const std::vector<std::string> last(calls.end() - 2, calls.end());
    EXPECT_EQ(last, c.runs ? Markers(209, 213) : Markers(208, 212)) << c.bpp << " " << c.cycling;
  }
}

TEST(HeroDrawing, TheSightMaskWindowFollowsTheHeroAndLooksAheadWithinTheMask) {
  struct Case {
    const char* name;
    int mode, facing, left, top;
    std::string call;
  };
  // Mask 1280 × 960; the hero's graphic 32 × 32 at (left, top); sight 10 half blocks.
  const Case cases[] = {
      {"no sight", 0, 1, 160, 160, ""},
      {"around", 1, 1, 160, 160, "DDBlt Back 0 0 640 480 T65 464 304 1"},
      {"ahead, facing right", 2, 1, 160, 160, "DDBlt Back 0 0 640 480 T65 320 304 1"},
      {"ahead, facing left", 4, 0, 160, 160, "DDBlt Back 0 0 640 480 T65 608 304 1"},
      {"square around", 3, 0, 160, 160, "DDBlt Back 0 0 640 480 T65 464 304 1"},
      {"near the right and top edges", 1, 1, 700, -600, "DDBlt Back 0 0 640 480 T65 0 480 1"},
      {"near the left and bottom edges", 1, 1, -100, 700, "DDBlt Back 0 0 640 480 T65 640 0 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    Room().Build();
    SurfaceTable[65].nWidth = 1280;
    SurfaceTable[65].nHeight = 960;
    cEdChara def = CharaDef().PlayerOperated().Facing(c.facing).Sight(10);
    def.m_nSightMode = static_cast<int8_t>(c.mode);
    cHero& hero = world.AddHero(def, {5, 5});
    hero.m_rcScreen.nLeft = c.left;
    hero.m_rcScreen.nTop = c.top;
    RecordingRenderer renderer;
    hero.DrawSight(&BackBuffer);
    EXPECT_EQ(renderer.Calls(), c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call});
  }
}

TEST(DropItemHint, Shows32FramesOfEvery96AboveTheCharacter) {
  GameWorld world;
  Room().Build();
  world.Scene().m_ScrollX.m_dPos = 320;
  world.Scene().m_ScrollY.m_dPos = 320;
  cEdItem itemDef;
  itemDef.m_nGraphic = 5;  // small icon (0, 80)
  cItem drop;
  drop.Init(0, itemDef, 1);
  cChara& chara = world.AddChara(CharaDef(), {5, 5}, 0, &drop);
  chara.UpdateScreenRect();
  chara.m_bOnScreen = 1;
  RecordingRenderer renderer;
  std::vector<int> shown;
  for (int frame = 0; frame < 192; ++frame) {
    chara.DrawDropItemHint(&BackBuffer);
    const std::vector<std::string> calls = renderer.Take();
    if (calls.empty()) continue;
    shown.push_back(frame);
    // Centred above: x = 160 + 32 / 2 − 32 / 4, y = 160 − 32 / 2.
    EXPECT_EQ(calls, std::vector<std::string>{"DDBlt Back 168 144 16 16 T42 0 80 1"});
  }
  ASSERT_EQ(shown.size(), 64u);
  EXPECT_EQ(shown.front(), 64);
  EXPECT_EQ(shown[31], 95);
  EXPECT_EQ(shown[32], 160);
  EXPECT_EQ(shown.back(), 191);

  struct Case {
    const char* name;
    void (*set)(cChara&);
  };
  const Case hidden[] = {
      {"off screen", [](cChara& c) { c.m_bOnScreen = 0; }},
      {"transparent", [](cChara& c) { c.m_Def.m_bTransparent = 1; }},
      {"hidden item", [](cChara& c) { c.m_DropItem.m_Def.m_bTransparent = 1; }},
      {"no drop item", [](cChara& c) { c.m_DropItem = cItem(); }},
  };
  for (const Case& c : hidden) {
    cChara copy = chara;
    copy.m_nHintCounter = 70;
    c.set(copy);
    copy.DrawDropItemHint(&BackBuffer);
    EXPECT_TRUE(renderer.Take().empty()) << c.name;
    EXPECT_EQ(copy.m_nHintCounter, 70) << c.name << ": the count waits";
  }
}
