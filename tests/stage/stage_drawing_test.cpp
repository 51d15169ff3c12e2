// One stage frame as recorded draws: the background layers, the map's
// window, the order of the frame's steps and of the depth levels, the end of
// a defeat display, the status bar and the timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/gone_objects.h"
#include "game/map_cells.h"
#include "media/surface_table.h"
#include "records/command_vocab.h"
#include "records/condition.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "base/timers.h"
#include "stage_draw_env.h"

using namespace testsupport;
using stagedraw::BltCall;
using stagedraw::BltsFrom;
using stagedraw::StageDrawTest;

namespace {

const char kLayerFile[] = "bmp\\Layer.bmp";
constexpr int kLayerW = 100, kLayerH = 60;

cEdBackground ImageLayer(double px, double py, int bFront = 0) {
  cEdBackground b;
  b.m_strFile = kLayerFile;
  b.m_dScrollX = px;
  b.m_dScrollY = py;
  b.m_bFront = bFront;
  return b;
}

cEdBackground PlainLayer(int colour) {
  cEdBackground b;
  b.m_bFillColor = 1;
  b.m_nColor = colour;
  return b;
}

class Backgrounds : public StageDrawTest {
 protected:
  void StartWith(const std::vector<cEdBackground>& layers) {
    stagedraw::WriteImage(kLayerFile, kLayerW, kLayerH, [](int x, int y) { return uint8_t(1 + (x + y) % 200); });
    Start({"....................", "..H.................", "####################"}, [&] {
      Stage.m_vBackground.clear();
      for (const cEdBackground& layer : layers) Stage.m_vBackground.push_back(layer);
    });
  }
  std::vector<std::string> Pass(int bFront) {
    scene->DrawBackground(&BackBuffer, bFront);
    return Calls();
  }
};

}  // namespace

TEST_F(Backgrounds, ALayerIsTiledOverTheScreenFromItsParallaxPosition) {
  struct Case {
    const char* what;
    double px, py;         // parallax, or drift speed with auto-scroll
    int autoX, autoY;
    double offX, offY;     // drift so far
    double scrollX, scrollY;
    int sx, sy;            // the first tile's source
  };
  const Case cases[] = {
      {"parallax 0 stays", 0, 0, 0, 0, 0, 0, 1000.6, 700.9, 0, 0},
      // (1001 - 320) mod 100 and (700 - 320) mod 60: x is rounded, y truncated.
      {"parallax 1 follows the map", 1, 1, 0, 0, 0, 0, 1000.6, 700.9, 81, 20},
      {"fractional scroll rounds down across", 1, 1, 0, 0, 0, 0, 1000.4, 700.2, 80, 20},
      // 340.5 and 95 truncated.
      {"a share between", 0.5, 0.25, 0, 0, 0, 0, 1000.6, 700.9, 40, 35},
      {"left of and above the border wrap to a start inside", 1, 1, 0, 0, 0, 0, 100, 210, 80, 10},
      // 711.1 and 387.9 truncated.
      {"auto-scroll adds its drift", 3, 2, 1, 1, 30.5, 7.0, 1000.6, 700.9, 11, 27},
      // INT_MAX mod 100 and mod 60.
      {"a huge factor saturates", 1e300, 1e300, 0, 0, 0, 0, 1000, 700, 47, 7},
  };
  StartWith({ImageLayer(0, 0)});
  for (const Case& c : cases) {
    cEdBackground& layer = Stage.m_vBackground[0];
    layer.m_dScrollX = c.px;
    layer.m_dScrollY = c.py;
    layer.m_bAutoScrollX = c.autoX;
    layer.m_bAutoScrollY = c.autoY;
    layer.m_dOffsetX = c.offX;
    layer.m_dOffsetY = c.offY;
    scene->m_ScrollX.m_dPos = c.scrollX;
    scene->m_ScrollY.m_dPos = c.scrollY;
    const std::vector<std::string> calls = Pass(0);
    const std::vector<BltCall> tiles = BltsFrom(calls, "T55");
    ASSERT_FALSE(tiles.empty()) << c.what;
    EXPECT_EQ(calls.front(), "DDBeginBatch 0") << c.what;
    EXPECT_EQ(calls.back(), "DDFlushBatch") << c.what;
    const BltCall& first = tiles.front();
    EXPECT_EQ(std::vector<int>({first.x, first.y, first.w, first.h, first.sx, first.sy}),
              std::vector<int>({0, 0, kLayerW - c.sx, kLayerH - c.sy, c.sx, c.sy}))
        << c.what;
    // Seamless: the tiles cover the screen once, each from inside the image.
    int64_t area = 0;
    for (const BltCall& t : tiles) {
      area += int64_t{t.w} * t.h;
      EXPECT_TRUE(t.x >= 0 && t.y >= 0 && t.x + t.w <= 640 && t.y + t.h <= 480) << c.what;
      EXPECT_TRUE(t.sx + t.w <= kLayerW && t.sy + t.h <= kLayerH && (t.sx == 0 || t.x == 0) && (t.sy == 0 || t.y == 0))
          << c.what;
    }
    EXPECT_EQ(area, 640 * 480) << c.what;
  }
}

TEST_F(Backgrounds, OnlyTheFirstLayerOfTheBackPassIsOpaqueAndNoShownLayerFillsColour16) {
  {
    SCOPED_TRACE("two back layers, a front one, a hidden one");
    cEdBackground hidden = ImageLayer(1, 1);
    hidden.m_bVisible = 0;
    StartWith({ImageLayer(1, 1), ImageLayer(1, 1), ImageLayer(1, 1, 1), hidden});
    std::vector<std::string> back = Pass(0);
    ASSERT_FALSE(BltsFrom(back, "T55").empty());
    for (const BltCall& t : BltsFrom(back, "T55")) EXPECT_EQ(t.flags, 0);
    for (const BltCall& t : BltsFrom(back, "T56")) EXPECT_EQ(t.flags, 1);
    EXPECT_TRUE(BltsFrom(back, "T57").empty());
    EXPECT_TRUE(BltsFrom(back, "T58").empty());
    std::vector<std::string> front = Pass(1);
    EXPECT_FALSE(BltsFrom(front, "T57").empty());
    for (const BltCall& t : BltsFrom(front, "T57")) EXPECT_EQ(t.flags, 1);
    EXPECT_TRUE(BltsFrom(front, "T55").empty());
  }
}

TEST_F(Backgrounds, APlainLayerCountsAsTheFirstAndAnEmptyPassShowsColour16) {
  StartWith({PlainLayer(200), ImageLayer(1, 1)});
  std::vector<std::string> back = Pass(0);
  EXPECT_EQ(back.front(), "DDFillSurface Back 200");
  ASSERT_FALSE(BltsFrom(back, "T56").empty());
  for (const BltCall& t : BltsFrom(back, "T56")) EXPECT_EQ(t.flags, 1);
  // The front pass has nothing to draw and fills nothing.
  EXPECT_TRUE(Pass(1).empty());

  // No layer shown at all, or only layers without an image: colour 16.
  Stage.m_vBackground[0].m_bVisible = 0;
  Stage.m_vBackground[1].m_bVisible = 0;
  EXPECT_EQ(Pass(0), std::vector<std::string>{"DDFillSurface Back 16"});
  Stage.m_vBackground[1].m_bVisible = 1;
  DDReleaseSurface(&SurfaceTable[56]);
  EXPECT_EQ(Pass(0), std::vector<std::string>{"DDFillSurface Back 16"});
  Stage.m_vBackground.clear();
  EXPECT_EQ(Pass(0), std::vector<std::string>{"DDFillSurface Back 16"});
}

TEST_F(Backgrounds, AutoScrollDriftsByItsSpeedAndWrapsByRemainder) {
  StartWith({ImageLayer(3, 2), ImageLayer(-250, 0)});
  for (cEdBackground& layer : Stage.m_vBackground) {
    layer.m_bAutoScrollX = layer.m_bAutoScrollY = 1;
    layer.m_dOffsetX = layer.m_dOffsetY = 0;
  }
  Stage.m_vBackground[0].m_dOffsetX = 1;
  scene->ScrollBackground();
  EXPECT_DOUBLE_EQ(Stage.m_vBackground[0].m_dOffsetX, 98);  // 1 - 3 + 100
  EXPECT_DOUBLE_EQ(Stage.m_vBackground[0].m_dOffsetY, 58);  // 0 - 2 + 60
  EXPECT_DOUBLE_EQ(Stage.m_vBackground[1].m_dOffsetX, 50);  // 250 mod 100
  // A layer whose image has no width has no place to drift in.
  SurfaceTable[55].nWidth = 0;
  scene->ScrollBackground();
  EXPECT_DOUBLE_EQ(Stage.m_vBackground[0].m_dOffsetX, 0);
  EXPECT_TRUE(BltsFrom(Pass(0), "T55").empty());
}

namespace {

class MapWindow : public StageDrawTest {
 protected:
  // Every cell emptied, then blocks put on world cells.
  void Put(int cx, int cy, int graphic, int layer, int bHidden = 0, int icon = -1) {
    MAPCELL* cell = CellAt(cx, cy);
    ASSERT_NE(cell, nullptr);
    cell->Block = BlockDef();
    cell->Block.m_nGraphic = static_cast<int16_t>(graphic);
    cell->Block.m_nLayer = static_cast<int8_t>(layer);
    cell->Block.m_bTransparent = static_cast<int8_t>(bHidden);
    if (icon >= 0) {
      cell->Block.m_bShowIcon = 1;
      cell->Block.m_nIcon = static_cast<int16_t>(icon);
    }
  }
};

}  // namespace

TEST_F(MapWindow, CellsOfTheLayerAreDrawnAtTheirViewPlaceWithTheirOverlay) {
  Start();
  for (MAPCELL& cell : MapCell) cell.Block = BlockDef::Empty();
  // The view at (330.5, 325): cell (10, 10) shows at (-10, -5).
  scene->m_ScrollX.m_dPos = 330.5;
  scene->m_ScrollY.m_dPos = 325;
  Put(10, 10, 3, 0);
  Put(30, 10, 4, 0);  // the 21st column, still in view
  Put(31, 10, 5, 0);  // past the window
  Put(12, 11, 1, 0);
  Put(13, 11, 2, 1);  // in front of the objects
  Put(14, 11, 1, 0, 1);  // hidden: it only collides
  Put(15, 11, 1, 0, 0, 17);
  scene->DrawMapLayer(&BackBuffer, 0);
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "DDBeginBatch 1", "DDBatchKey T43",
                         "DDBlt Back -10 -5 32 32 T2 0 96 1",
                         "DDBlt Back 630 -5 32 32 T2 0 128 1",
                         "DDBlt Back 54 27 32 32 T2 0 32 1",
                         "DDBlt Back 150 27 32 32 T2 0 32 1",
                         "DDBlt Back 150 27 32 32 T43 32 64 1",  // icon 17: column 1, row 2
                         "DDFlushBatch"}));
  scene->DrawMapLayer(&BackBuffer, 1);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"DDBeginBatch 1", "DDBatchKey T43", "DDBlt Back 86 27 32 32 T2 0 64 1",
                                               "DDFlushBatch"}));

  // A block whose conditions fail is not there; once they hold it is.
  Put(16, 11, 6, 0);
  cEdCondition when;
  when.m_nType = CONDTYPE_STAGE_VAR;
  when.m_nIndex = 3;
  when.m_nCompare = CMPOP_EQ;
  when.m_nOperandKind = OPERAND_CONST;
  when.m_nConst = 1;
  CellAt(16, 11)->Block.m_vConditions.push_back(when);
  const std::string shown = "DDBlt Back 182 27 32 32 T2 0 192 1";
  scene->DrawMapLayer(&BackBuffer, 0);
  std::vector<std::string> calls = Calls();
  EXPECT_EQ(std::find(calls.begin(), calls.end(), shown), calls.end());
  scene->m_vStageVars.At(3) = 1;
  scene->DrawMapLayer(&BackBuffer, 0);
  calls = Calls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), shown), calls.end());
}

namespace {

const std::vector<std::string> kFigureRows = {"....................", "..H.a.b.c...........", "####################"};

// The rank (left to right) of each figure drawn from the first character
// sheet, in drawing order: the hero stands at rank 0, then a, b, c.
std::vector<int> FigureOrder(const std::vector<std::string>& calls) {
  std::vector<int> xs;
  BltCall b;
  for (const std::string& line : calls)
    if (stagedraw::ParseBlt(line, b) && (b.src == "T4" || b.src == "T5")) xs.push_back(b.x);
  std::vector<int> sorted = xs;
  std::sort(sorted.begin(), sorted.end());
  std::vector<int> ranks;
  for (int x : xs) ranks.push_back(static_cast<int>(std::find(sorted.begin(), sorted.end(), x) - sorted.begin()));
  return ranks;
}

cEdChara Figure(int z, bool hero = false) {
  CharaDef def = hero ? CharaDef().PlayerOperated() : CharaDef().Computer();
  def.Def().m_nZ = static_cast<int8_t>(z);
  return def;
}

class FrameOrder : public StageDrawTest {
 protected:
  void StartFigures(int bDepth) {
    MapBuilder map(kFigureRows);
    Start(kFigureRows, [&] {
      map.PlaceCharas('a', Figure(5));
      map.PlaceCharas('b', Figure(0));
      map.PlaceCharas('c', Figure(3));
      Stage.m_bDrawDepth = bDepth;
    }, Figure(3, true));
    scene->m_nPhase = STAGESTATE_PLAY;
  }
};

}  // namespace

TEST_F(FrameOrder, EightLevelsDrawByDepthWithTheHeroFirstInItsLevel) {
  StartFigures(1);
  ASSERT_EQ(CharaList.size(), 3u);
  scene->Draw(1, 0, 1, 1);
  // b (level 0), the hero and c (level 3), a (level 5).
  EXPECT_EQ(FigureOrder(Calls()), (std::vector<int>{2, 0, 3, 1}));
}

TEST_F(FrameOrder, OneLevelDrawsTheHeroThenTheCharactersInListOrder) {
  StartFigures(0);
  scene->Draw(1, 0, 1, 1);
  EXPECT_EQ(FigureOrder(Calls()), (std::vector<int>{0, 1, 2, 3}));
}

namespace {

// The position of the first call that starts with `prefix`; -1 when none.
int Find(const std::vector<std::string>& calls, const std::string& prefix) {
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
  return -1;
}

class FrameSteps : public StageDrawTest {
 protected:
  ~FrameSteps() override {
    bTestPlay = 0;
    bFromEditor = 0;
  }
};

}  // namespace

TEST_F(FrameSteps, TheStepsRunBackToFrontAndThePauseCanHideTheStage) {
  Start({"....................", "..H.................", "####################"},
        [] { Stage.m_bTimeLimit = 1; });
  scene->m_nPhase = STAGESTATE_PLAY;
  scene->m_bShowStatus = 1;
  SystemData.m_vStatusItems[4].m_bVisible = 1;
  SystemData.m_vStatusItems[4].m_bIcon = 1;
  scene->Draw(1, 0, 1, 1);
  std::vector<std::string> calls = Calls();
  const int back = Find(calls, "DDFillSurface Back 16");
  const int mapBehind = Find(calls, "DDBatchKey T43");
  int hero = -1;
  for (size_t i = 0; i < calls.size() && hero < 0; ++i) {
    BltCall b;
    if (stagedraw::ParseBlt(calls[i], b) && (b.src == "T4" || b.src == "T5")) hero = static_cast<int>(i);
  }
  const int bar = Find(calls, "DDBlt Back 0 0 640 20 T46");
  const int timer = Find(calls, "DDDrawNumber Back 272 24");
  ASSERT_GE(back, 0);
  EXPECT_EQ(back, 0);
  EXPECT_LT(back, mapBehind);
  EXPECT_LT(mapBehind, hero);
  EXPECT_LT(hero, bar);
  EXPECT_LT(bar, timer);
  // Without a screen effect or a colour tone the timer ends the frame.
  EXPECT_EQ(calls.back().rfind("DDDrawNumber Back 272 24", 0), 0u) << calls.back();

  // Paused with the option on: the back and front layers only.
  scene->m_nPhase = STAGESTATE_PAUSE;
  SystemData.m_bPauseHidesField = 1;
  scene->Draw(0, 1, 0, 1);
  EXPECT_EQ(Calls(), std::vector<std::string>{"DDFillSurface Back 16"});
  // Not while playing, and not without the option.
  scene->Draw(1, 0, 1, 1);
  EXPECT_GE(Find(Calls(), "DDBatchKey T43"), 0);
  SystemData.m_bPauseHidesField = 0;
  scene->Draw(0, 1, 0, 1);
  EXPECT_GE(Find(Calls(), "DDBatchKey T43"), 0);
}

TEST_F(FrameSteps, AScreenEffectDrawsToTheStandInBackBufferAndTheSystemLineIsCentred) {
  Start();
  scene->m_ScreenEffect.Start(1, 0, 0);
  scene->Draw(1, 0, 1, 1);
  EXPECT_EQ(Calls().front(), "DDUseVirBackBuffer 1");
  scene->m_ScreenEffect.m_sEffect = 0;

  SystemData.m_vTexts[25] = "EDITOR";
  SystemData.m_vTexts[26] = "TEST";
  struct Case {
    int testPlay, fromEditor, bSystemLine;
    std::string line;  // "" none
  } cases[] = {
      {1, 1, 1, "DrawText F1 Back 288 456 0 TEST"},
      {0, 1, 1, "DrawText F1 Back 272 456 0 EDITOR"},
      {0, 0, 1, ""},
      {1, 1, 0, ""},
  };
  for (const Case& c : cases) {
    bTestPlay = c.testPlay;
    bFromEditor = c.fromEditor;
    scene->Draw(1, 0, 1, c.bSystemLine);
    const std::vector<std::string> calls = Calls();
    std::string got;
    for (const std::string& call : calls)
      if (call.rfind("DrawText ", 0) == 0 && call.find(" 456 ") != std::string::npos) got = call;
    EXPECT_EQ(got, c.line) << c.testPlay << c.fromEditor << c.bSystemLine;
  }
}

TEST_F(FrameSteps, CharactersDrawByTheirStateAndLeaveWhenTheirDefeatDisplayEnds) {
  Start({"....................", "..H.a.b.c...........", "####################"}, [] {
    MapBuilder rows({"....................", "..H.a.b.c...........", "####################"});
    rows.PlaceCharas('a', CharaDef().Computer());
    rows.PlaceCharas('b', CharaDef().Computer());
    rows.PlaceCharas('c', CharaDef().Computer());
  });
  ASSERT_EQ(CharaList.size(), 3u);
  auto it = CharaList.begin();
  cChara& shown = *it++;
  cChara& transparent = *it++;
  cChara& away = *it;
  transparent.m_Def.m_bTransparent = 1;
  away.m_bOnScreen = 0;
  away.m_bActive = 1;
  EXPECT_EQ(scene->DrawChara(shown, 0), 0);
  EXPECT_FALSE(BltsFrom(Calls(), "T4").empty() && BltsFrom(Calls(), "T5").empty());
  for (cChara* c : {&transparent, &away}) {
    EXPECT_EQ(scene->DrawChara(*c, 0), 0);
    const std::vector<std::string> calls = Calls();
    EXPECT_TRUE(BltsFrom(calls, "T4").empty() && BltsFrom(calls, "T5").empty());
  }

  // A character without a death effect ends its defeat display at once and
  // leaves every list in the frame that draws it.
  shown.m_bDefeated = 1;
  const int id = shown.m_nId;
  cCharaBase* entry = &shown;
  scene->Draw(1, 0, 1, 1);
  EXPECT_EQ(CharaList.size(), 2u);
  EXPECT_EQ(FindCharaById(id), nullptr);
  for (const cList<cCharaBase*>& group : scene->m_CharaGroups)
    EXPECT_EQ(std::find(group.begin(), group.end(), entry), group.end());

  // A frozen frame (a wait inside a pass that may be walking the list) only
  // marks it gone; the pass takes it out when it ends.
  transparent.m_bDefeated = 1;
  const int second = transparent.m_nId;
  entry = &transparent;
  scene->Draw(0, 1, 0, 0);
  EXPECT_EQ(CharaList.size(), 2u);
  EXPECT_EQ(transparent.m_bGone, 1);
  EXPECT_EQ(FindCharaById(second), nullptr);
  for (const cList<cCharaBase*>& group : scene->m_CharaGroups)
    EXPECT_EQ(std::find(group.begin(), group.end(), entry), group.end());
  SweepGoneObjects();
  EXPECT_EQ(CharaList.size(), 1u);
}

namespace {

struct DefeatCase {
  const char* what;
  int playCommand, playKind, lives, retryOption;
  int phase, livesAfter;
};

}  // namespace

TEST_F(FrameSteps, TheEndOfTheHerosDefeatDisplayDecidesHowTheStageGoesOn) {
  const DefeatCase cases[] = {
      {"replay playback starts over", GAMEMODE_REPLAY, PLAYKIND_REPLAY, 3, 0, STAGESTATE_START, 3},
      {"no life left", GAMEMODE_NEWSTORY, PLAYKIND_STORY, 0, 0, STAGESTATE_GAMEOVER, 0},
      {"a life is taken", GAMEMODE_NEWSTORY, PLAYKIND_STORY, 2, 0, STAGESTATE_START, 1},
      {"infinite lives", GAMEMODE_FREE, PLAYKIND_FREE, LIVES_INFINITE, 0, STAGESTATE_START, LIVES_INFINITE},
      {"story with the retry menu", GAMEMODE_NEWSTORY, PLAYKIND_STORY, 2, 1, STAGESTATE_RETRY, 1},
      {"the retry menu is only for story play", GAMEMODE_CHALLENGE, PLAYKIND_CHALLENGE, 2, 1, STAGESTATE_START, 1},
  };
  Start();
  for (const DefeatCase& c : cases) {
    Game.m_nPlayCommand = c.playCommand;
    Game.m_nPlayKind = c.playKind;
    SystemData.m_bRetryMenuOnMiss = c.retryOption;
    PlayData.m_nLives = c.lives;
    // The harness has no replay file to play back: its restart asks to close.
    run.Events().AllowCloseRequests(c.playCommand == GAMEMODE_REPLAY);
    scene->SetStage(1, 0);
    scene->m_nPhase = STAGESTATE_PLAY;
    Hero()->m_bDefeated = 1;
    // The hero without a death effect shows its defeat for a second.
    int frames = 0;
    while (scene->m_nPhase == STAGESTATE_PLAY && frames < 200) {
      scene->DrawHero(0);
      ++frames;
    }
    EXPECT_EQ(scene->m_nPhase, c.phase) << c.what;
    EXPECT_EQ(PlayData.m_nLives, c.livesAfter) << c.what;
    EXPECT_GT(frames, 1) << c.what;
    // Frozen frames do not bring the end nearer.
    if (Hero()->m_bDefeated) {
      scene->m_nPhase = STAGESTATE_PLAY;
      for (int f = 0; f < 200; ++f) scene->DrawHero(1);
      EXPECT_EQ(scene->m_nPhase, STAGESTATE_PLAY) << c.what;
    }
    Calls();
  }
}

namespace {

class StatusBar : public StageDrawTest {
 protected:
  void Item(int i, int bIcon, const char* label, int digits, int bShowValue = 0) {
    cEdStatusItem& item = SystemData.m_vStatusItems[static_cast<size_t>(i)];
    item.m_bVisible = 1;
    item.m_bIcon = bIcon;
    item.m_strLabel = label;
    item.m_nDigits = digits;
    item.m_bShowValue = bShowValue;
  }
  void HideAll() {
    for (cEdStatusItem& item : SystemData.m_vStatusItems) item.m_bVisible = 0;
  }
  std::vector<std::string> Hud() {
    scene->DrawHud(&BackBuffer);
    return Calls();
  }
};

}  // namespace

TEST_F(StatusBar, ItemsShareTheBarWithEqualGapsAndALoneItemIsCentred) {
  Start();
  scene->m_bShowStatus = 1;
  HideAll();
  EXPECT_TRUE(Hud().empty());

  // Lives alone: 16 + 2 x 16 wide, gap (638 - 48) / 2.
  Item(4, 1, "", 2);
  PlayData.m_nLives = 3;
  EXPECT_EQ(Hud(), (std::vector<std::string>{"DDBlt Back 0 0 640 20 T46 0 0 1", "DDBlt Back 295 2 16 16 T49 64 32 1",
                                             "DrawText F1 Back 311 3 0 3"}));
  PlayData.m_nLives = LIVES_INFINITE;
  EXPECT_EQ(Hud().back(), "DrawText F1 Back 311 3 0 -");
  Item(4, 0, "L", 1);  // 16 + 16: gap 303
  EXPECT_EQ(Hud().back(), "DrawText F1 Back 303 3 0 L-");

  // All five: widths 112, 96, 66, 82, 48; gap (638 - 404) / 6 = 39.
  Item(0, 1, "", 6);
  Item(1, 0, "ST", 4);
  Item(2, 1, "", 0, 1);
  Item(3, 0, "SP", 0);
  Item(4, 1, "", 2);
  PlayData.m_nTotalScore = 1234;
  PlayData.m_nStageScore = 56;
  PlayData.m_nLives = 2;
  cHero& hero = *Hero();
  hero.m_nHp = 5;
  hero.m_Def.m_nMaxHp = 20;
  hero.m_nSp = 0;
  hero.m_Def.m_nMaxSp = 0;
  EXPECT_EQ(Hud(), (std::vector<std::string>{
                       "DDBlt Back 0 0 640 20 T46 0 0 1",
                       "DDBlt Back 39 2 16 16 T49 0 32 1", "DrawText F1 Back 55 3 0 1234",
                       "DrawText F1 Back 190 3 0 ST56",
                       "DDBlt Back 325 2 16 16 T49 32 32 1", "DDBlt Back 341 2 50 16 T49 0 128 1",
                       "DDBlt Back 341 2 12 16 T49 0 144 1", "DrawText F0 Back 341 6 0 5",
                       "DrawText F1 Back 430 3 0 SP", "DDBlt Back 462 2 50 16 T49 64 128 1",  // max SP 0: empty
                       "DDBlt Back 551 2 16 16 T49 64 32 1", "DrawText F1 Back 567 3 0 2"}));

  scene->m_bShowStatus = 0;
  EXPECT_TRUE(Hud().empty());
}

TEST_F(StatusBar, GaugeFillsStayInsideTheGaugeAndTurnLow) {
  Start();
  scene->m_bShowStatus = 1;
  HideAll();
  Item(2, 1, "", 0);
  const struct {
    int32_t hp, maxHp, lowLevel;
    std::string fill;  // "" none
  } cases[] = {
      {5, 20, 0, "DDBlt Back 302 2 12 16 T49 0 144 1"},
      {5, 20, 5, "DDBlt Back 302 2 12 16 T49 0 160 1"},
      {30, 20, 0, "DDBlt Back 302 2 50 16 T49 0 144 1"},  // over the maximum: full, not past it
      {2000000000, 2100000000, 0, "DDBlt Back 302 2 47 16 T49 0 144 1"},  // in 64 bits
      {0, 0, 0, ""},
      {-5, 20, 0, ""},
  };
  // One item of 66: gap 286, the gauge after the 16-dot icon.
  for (const auto& c : cases) {
    Hero()->m_nHp = c.hp;
    Hero()->m_Def.m_nMaxHp = c.maxHp;
    SystemData.m_vStatusItems[2].m_nLowLevel = c.lowLevel;
    const std::vector<std::string> calls = Hud();
    ASSERT_EQ(calls.size(), c.fill.empty() ? 3u : 4u) << c.hp << "/" << c.maxHp;
    EXPECT_EQ(calls[2], "DDBlt Back 302 2 50 16 T49 0 128 1");
    if (!c.fill.empty()) {
      EXPECT_EQ(calls[3], c.fill) << c.hp << "/" << c.maxHp;
    }
  }
}

TEST_F(StatusBar, TheTimerShowsThreeCentredCellsAndWarnsOnceASecond) {
  Start();
  scene->m_bNoTimeLimit = 1;
  scene->DrawTimer(&BackBuffer, 1);
  EXPECT_TRUE(Calls().empty());
  scene->m_bNoTimeLimit = 0;
  for (int t : {7, 42, 999}) {
    scene->m_nTimeLeft = t;
    scene->DrawTimer(&BackBuffer, 0);
    EXPECT_EQ(Calls(), std::vector<std::string>{"DDDrawNumber Back 272 24 32 32 T51 0 160 1 " + std::to_string(t) +
                                                " 3 1"});
  }

  // Two seconds of frames at each time left; the play step counts the
  // seconds, the drawing sounds the warning on the frame a second starts.
  Stage.m_nFps = 60;
  Stage.m_nTimeWarning = 20;
  const struct {
    int timeLeft, bSound, sounds;
  } cases[] = {{20, 1, 2}, {1, 1, 2}, {21, 1, 0}, {0, 1, 0}, {20, 0, 0}};
  for (const auto& c : cases) {
    run.Events().Clear();
    EveryNth(0, 60);
    scene->m_nTimeLeft = c.timeLeft;
    for (int f = 0; f < 120; ++f) {
      EveryNth(1, 60);
      scene->DrawTimer(&BackBuffer, c.bSound);
    }
    Calls();
    EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>(static_cast<size_t>(c.sounds), "13"))
        << c.timeLeft << " " << c.bSound;
  }
}

TEST_F(FrameSteps, ItemsOnScreenAreDrawnInTheMarkSheetsBatchAndHeldOnesAreNot) {
  Start();
  cItem shown, held, away;
  shown.Init(1, cEdItem(), 0);
  shown.PlaceAtCell(5, 1);
  shown.m_bOnScreen = 1;
  held.Init(2, cEdItem(), 1);
  held.PlaceAtCell(7, 1);
  held.m_bOnScreen = 1;
  away.Init(3, cEdItem(), 0);
  away.PlaceAtCell(9, 1);
  away.m_bOnScreen = 0;
  ItemList.push_back(shown);
  ItemList.push_back(held);
  ItemList.push_back(away);
  scene->m_nPhase = STAGESTATE_PLAY;
  scene->Draw(1, 0, 1, 1);
  const std::vector<std::string> calls = Calls();
  const std::vector<BltCall> items = BltsFrom(calls, "T40");
  ASSERT_EQ(items.size(), 1u);
  shown.UpdateScreenRect();
  EXPECT_EQ(items[0].x, shown.m_rcScreen.nLeft);
  // Inside the batch keyed on the mark sheet that follows the hero.
  int at = -1;
  for (size_t i = 0; i < calls.size(); ++i)
    if (calls[i].find(" T40 ") != std::string::npos) at = static_cast<int>(i);
  ASSERT_GE(at, 2);
  int open = at;
  while (open > 0 && calls[static_cast<size_t>(open)] != "DDBatchKey T43") --open;
  EXPECT_EQ(calls[static_cast<size_t>(open) - 1], "DDBeginBatch 1");
  EXPECT_EQ(calls[static_cast<size_t>(at) + 1], "DDFlushBatch");
}
