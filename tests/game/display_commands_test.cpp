// Where the effect and picture commands place an image, and the effect,
// character effect, screen effect and screen colour commands on a harness
// stage (their waits are the thread tests').
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/display_commands.h"
#include "game/item_commands.h"
#include "move_test_env.h"
#include "records/database.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

struct PositionCase {
  int mode;
  double x, y;
};

// View at (100.5, 40.25); the character's graphic at view (50, 60), 32 × 40;
// the hero's at (200, 100), 64 × 48; an image of 21 × 11 (halves 10 and 5);
// cells (2, 3) and dots (4, −6); the map 10 cells in.
TEST(DisplayPosition, PlacesTheImageByMode) {
  const PositionCase cases[] = {
      {DISPLAYPOS_SCREEN_CENTRE, 100.5 + 320 - 10 + 4, 40.25 + 240 - 5 - 6},
      {DISPLAYPOS_CHARA_CENTRE, 50 + 16 + 100.5 - 10 + 4, 60 + 20 + 40.25 - 5 - 6},
      {DISPLAYPOS_HERO_CENTRE, 200 + 32 + 100.5 - 10 + 4, 100 + 24 + 40.25 - 5 - 6},
      {DISPLAYPOS_SCREEN_CELL, 100.5 + 64 + 4, 40.25 + 96 - 6},
      {DISPLAYPOS_STAGE_CELL, (2 + 10) * 32 + 4, (3 + 10) * 32 - 6},
      {5, 0, 0},
      {-1, 0, 0},
  };
  GameWorld world;
  MapBuilder(std::vector<std::string>(20, std::string(30, '.'))).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {1, 1});
  cChara& chara = world.AddChara(CharaDef(), {4, 4});
  world.Scene().m_ScrollX.m_dPos = 100.5;
  world.Scene().m_ScrollY.m_dPos = 40.25;
  chara.m_rcScreen.nLeft = 50;
  chara.m_rcScreen.nTop = 60;
  chara.m_nGfxWidth = 32;
  chara.m_nGfxHeight = 40;
  hero.m_rcScreen.nLeft = 200;
  hero.m_rcScreen.nTop = 100;
  hero.m_nGfxWidth = 64;
  hero.m_nGfxHeight = 48;
  for (const PositionCase& c : cases) {
    double x = -1, y = -1;
    GetDisplayPosition(x, y, 21, 11, chara, c.mode, 2, 3, 4, -6);
    EXPECT_EQ(x, c.x) << "mode " << c.mode;
    EXPECT_EQ(y, c.y) << "mode " << c.mode;
  }
  Player.clear();
  double x = -1, y = -1;
  GetDisplayPosition(x, y, 21, 11, chara, DISPLAYPOS_HERO_CENTRE, 0, 0, 4, 4);
  EXPECT_EQ(x, 0) << "no hero";
  EXPECT_EQ(y, 0) << "no hero";
}

class EffectCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    MapBuilder(std::vector<std::string>(20, std::string(30, '.'))).Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    // Effect 1: 100 × 61 cells, frames of 2 and 3 tenths; effect 2: 32 × 32.
    Database.m_vEffect.resize(3);
    Database.m_vEffect[1].m_nWidth = 100;
    Database.m_vEffect[1].m_nHeight = 61;
    for (int time : {2, 3}) {
      cEdEffectFrame f;
      f.m_nTime = time;
      Database.m_vEffect[1].m_vFrame.push_back(f);
    }
    Database.m_vEffect[2].m_vFrame.resize(1);
    BuildDatabaseRunTables();
    chara = &world.AddChara(CharaDef(), {4, 4});
  }

  cEdCommand Effect(int n, int mode, int dx, int zoom, int wait) {
    return CommandDef(ACTCMDTYPE_PLAY_EFFECT).Param(0, n).Param(1, mode).Param(4, dx).Param(6, zoom).Param(7, wait);
  }

  GameWorld world;
  cChara* chara = nullptr;
};

struct EffectCase {
  const char* what;
  int n, mode, zoom, wait;
  int effect, w, h;
  double x, y;
  int scaled;
  int waitFrames;  // the wait request's frames; -1 none
};

TEST_F(EffectCommand, AddsAnEffectSizedAndPlacedAndWaitsForItsFrames) {
  const EffectCase cases[] = {
      {"at its own size", 2, DISPLAYPOS_SCREEN_CENTRE, 100, 0, 2, 32, 32, 320 + 320 - 16 + 7, 320 + 240 - 16, 0, -1},
      {"zoomed to half, rounding half away", 1, DISPLAYPOS_SCREEN_CENTRE, 50, 0, 1, 50, 31, 320 + 320 - 25 + 7,
       320 + 240 - 15, 1, -1},
      {"on a stage cell", 1, DISPLAYPOS_STAGE_CELL, 200, 0, 1, 200, 122, 10 * 32 + 7, 10 * 32, 1, -1},
      {"waited for: 6 frames a tenth of its frames", 1, DISPLAYPOS_SCREEN_CENTRE, 100, 1, 1, 100, 61,
       320 + 320 - 50 + 7, 320 + 240 - 30, 0, 30},
  };
  for (const EffectCase& c : cases) {
    world.Scene().m_Effects.clear();
    world.Scene().m_Wait = cModalWait();
    world.Scene().m_Wait.nFrames = -1;
    cEdCommand command = Effect(c.n, c.mode, 7, c.zoom, c.wait);
    CmdPlayEffect(*chara, command);
    ASSERT_EQ(world.Scene().m_Effects.size(), 1u) << c.what;
    const cEffectInstance& e = world.Scene().m_Effects.back();
    EXPECT_EQ(e.m_sEffect, c.effect) << c.what;
    EXPECT_EQ(e.m_nWidth, c.w) << c.what;
    EXPECT_EQ(e.m_nHeight, c.h) << c.what;
    EXPECT_EQ(e.m_dX, c.x) << c.what;
    EXPECT_EQ(e.m_dY, c.y) << c.what;
    EXPECT_EQ(e.m_bScaled, c.scaled) << c.what;
    EXPECT_EQ(e.m_bWait, c.wait) << c.what;
    EXPECT_EQ(world.Scene().m_Wait.nFrames, c.waitFrames) << c.what;
    if (c.waitFrames >= 0) {
      EXPECT_EQ(world.Scene().m_Wait.nMode, 2) << c.what;
      EXPECT_EQ(world.Scene().m_Wait.bWaitKey, 0) << c.what;
    }
  }
}

TEST_F(EffectCommand, NumberZeroClearsTheEffectsAndABadNumberUsesEntryZero) {
  cEdCommand one = Effect(1, 0, 0, 100, 0);
  CmdPlayEffect(*chara, one);
  CmdPlayEffect(*chara, one);
  cEdCommand clear = Effect(0, 0, 0, 100, 0);
  CmdPlayEffect(*chara, clear);
  EXPECT_TRUE(world.Scene().m_Effects.empty());

  world.events.AllowCloseRequests(true);
  cEdCommand bad = Effect(7, 0, 0, 100, 0);
  CmdPlayEffect(*chara, bad);
  ASSERT_EQ(world.Scene().m_Effects.size(), 1u);
  EXPECT_EQ(world.Scene().m_Effects.back().m_sEffect, 0);
  EXPECT_EQ(world.events.Texts(EventKind::Log).at(0), "err V[7] ( 3 , " + std::to_string(sizeof(cEdEffect)) + " )");
}

TEST_F(EffectCommand, NothingWhileTheProgramCloses) {
  world.Scene().m_bCloseRequested = 1;
  cEdCommand one = Effect(1, 0, 0, 100, 1);
  CmdPlayEffect(*chara, one);
  cEdCommand clear = Effect(0, 0, 0, 100, 0);
  world.Scene().m_Effects.emplace_back();
  CmdPlayEffect(*chara, clear);
  EXPECT_EQ(world.Scene().m_Effects.size(), 1u);
  EXPECT_EQ(world.Scene().m_Wait.nMode, 0);
}

TEST_F(EffectCommand, CharacterAndScreenEffectsStartAndTheColourGoesToTheTone) {
  cEdCommand charaFx = CommandDef(ACTCMDTYPE_CHARA_EFFECT).Param(0, 1).Param(1, 2).Param(2, 1);
  CmdCharaEffect(*chara, charaFx);
  EXPECT_EQ(chara->m_CharaEffect.m_sEffect, 1);
  EXPECT_EQ(chara->m_CharaEffect.m_nRunMode, 2);
  EXPECT_EQ(chara->m_CharaEffect.m_bLoop, 1);

  cEdCommand screenFx = CommandDef(ACTCMDTYPE_SCREEN_EFFECT).Param(0, 1).Param(1, 1).Param(2, 0);
  CmdScreenEffect(*chara, screenFx);
  EXPECT_EQ(world.Scene().m_ScreenEffect.m_sEffect, 1);
  EXPECT_EQ(world.Scene().m_ScreenEffect.m_nRunMode, 1);
  EXPECT_EQ(world.Scene().m_ScreenEffect.m_bReversed, 1);

  cEdCommand colour = CommandDef(ACTCMDTYPE_SCREEN_COLOR);
  for (int i = 0; i < 8; ++i) colour.m_vParams.At(i) = 300 + i;
  CmdScreenColor(*chara, colour);
  EXPECT_EQ(world.events.Texts(EventKind::Log),
            (std::vector<std::string>{"cColorTone::Start 300 301 302 303 304 305 306 307"}));
}

// The item forms run the same bodies with the hero as the character.
TEST_F(EffectCommand, ItemCommandsRunTheBodiesOnTheHero) {
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_STOPPED), {8, 8});
  world.UpdatePresence();
  auto item = [](int type, cEdCommand command) {
    command.m_bItemCommand = 1;
    command.m_nType = static_cast<int8_t>(type);
    return command;
  };
  const double x = hero.m_rcHit.dLeft;
  cEdCommand warp = item(ITEMCMDTYPE_WARP, movetest::MoveCommand(ACTCMDTYPE_WARP,
                                                                 movetest::MoveDef().Code(DIRCODE_RIGHT).Distance(2)));
  EXPECT_EQ(RunItemCommand(hero, warp), 0);
  EXPECT_EQ(hero.m_rcHit.dLeft, x + 32);

  cEdCommand fx = item(ITEMCMDTYPE_CHARA_EFFECT, CommandDef(ACTCMDTYPE_CHARA_EFFECT).Param(0, 1));
  EXPECT_EQ(RunItemCommand(hero, fx), 0);
  EXPECT_EQ(hero.m_CharaEffect.m_sEffect, 1);

  cEdCommand effect = item(ITEMCMDTYPE_PLAY_EFFECT, Effect(2, DISPLAYPOS_CHARA_CENTRE, 0, 100, 0));
  EXPECT_EQ(RunItemCommand(hero, effect), 0);
  ASSERT_EQ(world.Scene().m_Effects.size(), 1u);
  EXPECT_EQ(world.Scene().m_Effects.back().m_dX, hero.CentreX() + world.Scene().m_ScrollX.m_dPos - 16);

  cEdCommand screen = item(ITEMCMDTYPE_SCREEN_EFFECT, CommandDef(ACTCMDTYPE_SCREEN_EFFECT).Param(0, 1));
  EXPECT_EQ(RunItemCommand(hero, screen), 0);
  EXPECT_EQ(world.Scene().m_ScreenEffect.m_sEffect, 1);

  cEdCommand colour = item(ITEMCMDTYPE_SCREEN_COLOR, CommandDef(ACTCMDTYPE_SCREEN_COLOR).Param(0, 9));
  EXPECT_EQ(RunItemCommand(hero, colour), 0);
  EXPECT_EQ(world.events.Texts(EventKind::Log).back(), "cColorTone::Start 9 0 0 0 0 0 0 0");
}

}  // namespace
