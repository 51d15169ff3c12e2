// Message windows on a harness stage: their set-up, lifetimes, placements,
// the opening, the refresh of their variables and their surfaces.
#include <climits>

#include "display_objects_env.h"
#include "game/message_window.h"
#include "media/dd_frame.h"
#include "media/dd_restore.h"
#include "records/palette_ref.h"

namespace {

using testsupport::EventKind;
using testsupport::RecordingRenderer;

class MessageWindow : public DisplayObjects {
 protected:
  void SetUp() override {
    DisplayObjects::SetUp();
    ASSERT_TRUE(Start(16));
    MakeMessageFont(16);
    PlayData.m_vCommonVar.At(5) = 42;
  }
  void TearDown() override {
    PlayData.Reset();
    DisplayObjects::TearDown();
  }

  // Draws until the window reports its end: the number of calls, or -1 when
  // it has not ended after `limit`.
  static int CallsUntilEnd(cMessageWindow& w, int bFrozen, int limit = 200) {
    for (int n = 1; n <= limit; ++n)
      if (w.Draw(&BackBuffer, bFrozen)) return n;
    return -1;
  }
};

struct InitCase {
  const char* what;
  int mode, displayMode, bContinue, substitute;
  int w, h;
  bool surface;
  int opening;
};

TEST_F(MessageWindow, InitSizesTheWindowAndMakesASurfaceForText) {
  const InitCase cases[] = {
      {"a fresh key-wait text", MESSAGEMODE_TEXT, MESSAGEDISPLAY_KEY, 0, 0, 50, 18, true, 1},
      {"a continued key-wait text", MESSAGEMODE_TEXT, MESSAGEDISPLAY_KEY, 1, 0, 50, 18, true, 0},
      {"a text until the stage ends", MESSAGEMODE_TEXT, MESSAGEDISPLAY_STAGE, 0, 0, 50, 18, true, 0},
      {"a timed text", MESSAGEMODE_TEXT, MESSAGEDISPLAY_TIME, 0, 0, 50, 18, true, 0},
      {"a substituted text measures its values", MESSAGEMODE_TEXT, MESSAGEDISPLAY_KEY, 0, 1, 34, 18, true, 1},
      {"a pick-up pop-up", MESSAGEMODE_PICKUP, MESSAGEDISPLAY_TIME, 0, 0, 16, 16, false, 0},
      {"an extra-life pop-up", MESSAGEMODE_EXTRALIFE, MESSAGEDISPLAY_TIME, 0, 0, 16, 16, false, 0},
      {"a game wait", MESSAGEMODE_WAIT, MESSAGEDISPLAY_TIME, 0, 0, 0, 0, false, 0},
  };
  for (const InitCase& c : cases) {
    const size_t before = Off_Msg.size();
    cMessageWindow w(c.mode, c.mode == MESSAGEMODE_TEXT ? "#C5" : nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
                     c.displayMode, 30, 0, 0, c.bContinue, c.substitute, 0, 0, 0, 0, 0);
    EXPECT_EQ(w.m_nWidth, c.w) << c.what;
    EXPECT_EQ(w.m_nHeight, c.h) << c.what;
    EXPECT_EQ(w.m_bOpening, c.opening) << c.what;
    EXPECT_EQ(w.m_strSource, c.mode == MESSAGEMODE_TEXT ? "#C5" : "") << c.what;
    EXPECT_EQ(w.m_strText, c.mode != MESSAGEMODE_TEXT ? "" : c.substitute ? "42" : "#C5") << c.what;
    if (c.surface) {
      ASSERT_EQ(Off_Msg.size(), before + 1) << c.what;
      EXPECT_EQ(w.m_lpSurface, &Off_Msg.back()) << c.what;
      EXPECT_EQ(w.m_lpSurfaceDef, &Off_MsgDef.back()) << c.what;
      EXPECT_EQ(w.m_lpSurface->nWidth, c.w) << c.what;
      EXPECT_EQ(w.m_lpSurface->nHeight, c.h) << c.what;
      EXPECT_GT(InkCount(w.m_lpSurface), 0) << c.what;
    } else {
      EXPECT_EQ(Off_Msg.size(), before) << c.what;
      EXPECT_EQ(w.m_lpSurface, nullptr) << c.what;
    }
  }
}

TEST_F(MessageWindow, ReinitInPlaceKeepsTheSurfaceAndRendersTheNewText) {
  cMessageWindow w = Text("AAA", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_STAGE, 0);
  DDSURFACEDATA* surface = w.m_lpSurface;
  const int inkBefore = InkCount(surface);
  w.m_bPosSaved = 1;
  w.Init(MESSAGEMODE_TEXT, "ggg", 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, MESSAGEDISPLAY_STAGE, 0, 0, 0, 0, 0, 0, 0, 0, 1, 7,
         1);
  EXPECT_EQ(w.m_lpSurface, surface);
  EXPECT_EQ(Off_Msg.size(), 1u);
  EXPECT_EQ(w.m_strText, "ggg");
  EXPECT_EQ(w.m_bPosSaved, 0);
  EXPECT_EQ(w.m_nWindowId, 7);
  EXPECT_NE(InkCount(surface), inkBefore);
}

TEST_F(MessageWindow, ASurfaceGoesToSystemMemoryBelowAFifthOfVideoMemoryFree) {
  cMessageWindow roomy = Text("A", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_STAGE, 0);
  EXPECT_EQ(roomy.m_lpSurface->nDDMemType, 0);
  SysFont[1].Release();
  DDReleaseSurfaceList(Off_Msg);
  Off_Msg.clear();
  Off_MsgDef.clear();
  DDRelease();
  // 2 MB: the screen's surfaces leave less than 1 MB free.
  plat::SetVideoMemoryBudget(uint64_t{2} << 20);
  ASSERT_TRUE(Start(16));
  MakeMessageFont(16);
  uint32_t total = 0, free = 0;
  GetVideoMemory(total, free);
  ASSERT_GT(total, 0u);
  ASSERT_LT(free * 100 / total, 20u);
  cMessageWindow tight = Text("A", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_STAGE, 0);
  ASSERT_NE(tight.m_lpSurface, nullptr);
  EXPECT_EQ(tight.m_lpSurface->nDDMemType, 1);
}

TEST_F(MessageWindow, AFailedSurfaceAsksToCloseAndTheWindowDrawsNothing) {
  world.events.AllowCloseRequests(true);
  // 1100 cells of 16 dots: wider than any surface can be. Its value is
  // substituted again every frame.
  const std::string line = "#C5" + std::string(1098, 'A');
  cMessageWindow w(MESSAGEMODE_TEXT, line.c_str(), 0, 0, 0, MESSAGEPLACE_CENTRE, 0, 0, 0, 0, 0, 1,
                   MESSAGEDISPLAY_STAGE, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0);
  EXPECT_EQ(w.m_nWidth, 17602);
  EXPECT_EQ(w.m_lpSurface, nullptr);
  EXPECT_EQ(w.m_lpSurfaceDef, nullptr);
  EXPECT_TRUE(Off_Msg.empty());
  EXPECT_TRUE(Off_MsgDef.empty());
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
  RecordingRenderer recorder;
  EXPECT_EQ(w.Draw(&BackBuffer, 0), 0);
  // A new value of the same size renders onto no surface.
  PlayData.m_vCommonVar.At(5) = 43;
  EXPECT_EQ(w.Draw(&BackBuffer, 0), 0);
  EXPECT_EQ(w.m_strText.substr(0, 3), "43A");
  EXPECT_TRUE(recorder.Calls().empty());
  EXPECT_TRUE(Off_Msg.empty());
}

TEST_F(MessageWindow, LivesForItsDisplayModeAndTime) {
  for (const LifeCase& c : kLifeCases) {
    cMessageWindow w(MESSAGEMODE_TEXT, "A", 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, c.displayMode, c.frames, c.stopsGame, 0, 1,
                     0, 0, 0, 0, 0, 0);
    for (int i = 0; i < c.frozenFirst; ++i) ASSERT_EQ(w.Draw(&BackBuffer, 1), 0) << c.what;
    EXPECT_EQ(CallsUntilEnd(w, c.frozen), c.calls) << c.what;
    if (c.calls > 0) {
      // Ended: the time stays at -1 and the surface is gone.
      EXPECT_EQ(w.m_nFrames, -1) << c.what;
      EXPECT_EQ(w.m_lpSurface, nullptr) << c.what;
    }
  }
}

struct PlaceCase {
  const char* what;
  int placement, fixed;
  int x1, y1;  // first frame
  int x2, y2;  // after the anchor and the view moved
};

TEST_F(MessageWindow, FollowsItsPlacementWhileAnchorAndViewMove) {
  // Window "AA": 34 × 18, offset (3, -2). Anchors: hit box (400, 300),
  // graphic offsets (4, 8), graphic 32 × 40; they move by (10, 20). The view
  // moves from (100.5, 50.7) to (130.2, 60). Cells (2, 3).
  const PlaceCase cases[] = {
      {"screen centre stays on its stage spot", 0, 0, 306, 229, 276, 219},
      {"screen centre, fixed", 0, 1, 306, 229, 306, 229},
      {"above the character", 1, 0, 298, 222, 278, 232},
      {"above the character, fixed", 1, 1, 298, 222, 298, 222},
      {"below the character", 2, 0, 298, 281, 278, 291},
      {"below the character, fixed", 2, 1, 298, 281, 298, 281},
      {"on the character", 3, 0, 298, 251, 278, 261},
      {"on the character, fixed", 3, 1, 298, 251, 298, 251},
      {"above the hero", 4, 0, 298, 222, 278, 232},
      {"above the hero, fixed", 4, 1, 298, 222, 298, 222},
      {"below the hero", 5, 0, 298, 281, 278, 291},
      {"below the hero, fixed", 5, 1, 298, 281, 298, 281},
      {"on the hero", 6, 0, 298, 251, 278, 261},
      {"on the hero, fixed", 6, 1, 298, 251, 298, 251},
      {"screen cell stays on its stage spot", 7, 0, 67, 94, 37, 84},
      {"screen cell, fixed", 7, 1, 67, 94, 67, 94},
      {"map cell", 8, 0, 286, 363, 256, 354},
      {"map cell, fixed", 8, 1, 286, 363, 286, 363},
  };
  cHero& hero = PlaceHero(400, 300);
  cChara& chara = world.AddChara(testsupport::CharaDef(), {5, 5});
  for (const PlaceCase& c : cases) {
    Shape(hero, 400, 300, 4, 8, 32, 40);
    Shape(chara, 400, 300, 4, 8, 32, 40);
    Scroll(100.5, 50.7);
    const int anchor = c.placement <= 3 ? chara.m_nId : hero.m_nId;
    cMessageWindow w(MESSAGEMODE_TEXT, "AA", 0, 0, 0, c.placement, 2, 3, 3, -2, 0, c.fixed, MESSAGEDISPLAY_STAGE, 0,
                     0, anchor, 0, 0, 0, 0, 0, 0, 0);
    RecordingRenderer recorder;
    ASSERT_EQ(w.Draw(&BackBuffer, 0), 0) << c.what;
    Shape(hero, 410, 320, 4, 8, 32, 40);
    Shape(chara, 410, 320, 4, 8, 32, 40);
    Scroll(130.2, 60);
    ASSERT_EQ(w.Draw(&BackBuffer, 0), 0) << c.what;
    const std::string surface = RecordingRenderer::SurfaceName(w.m_lpSurface);
    auto blt = [&](int x, int y) {
      return "DDBlt Back " + std::to_string(x) + " " + std::to_string(y) + " 34 18 " + surface + " 0 0 1";
    };
    EXPECT_EQ(recorder.Calls(), (std::vector<std::string>{blt(c.x1, c.y1), blt(c.x2, c.y2)})) << c.what;
  }
}

struct EdgeCase {
  const char* what;
  int offX, offY;
  int x, y;
};

TEST_F(MessageWindow, KeepsOnScreenAtEachEdge) {
  // A 34 × 18 window at the screen centre is at (303, 231) without offsets.
  const EdgeCase cases[] = {
      {"inside", 0, 0, 303, 231},
      {"past the left edge", -400, 0, 0, 231},
      {"at the left edge", -303, 0, 0, 231},
      {"right edge at 637 stays", 300, 0, 603, 231},
      {"right edge at 638 stays", 301, 0, 604, 231},
      {"right edge past 638 goes to 640", 302, 0, 606, 231},
      {"far right", 1000, 0, 606, 231},
      {"above 20", 0, -212, 303, 20},
      {"at 20", 0, -211, 303, 20},
      {"bottom at 478 stays", 0, 229, 303, 460},
      {"bottom past 478 goes to 480", 0, 230, 303, 462},
      {"past both corners", -1000, 1000, 0, 462},
  };
  for (const EdgeCase& c : cases) {
    cMessageWindow w(MESSAGEMODE_TEXT, "AA", 0, 0, 0, MESSAGEPLACE_CENTRE, 0, 0, c.offX, c.offY, 1, 1,
                     MESSAGEDISPLAY_STAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    RecordingRenderer recorder;
    w.Draw(&BackBuffer, 0);
    EXPECT_EQ(recorder.Calls(), std::vector<std::string>{"DDBlt Back " + std::to_string(c.x) + " " +
                                                         std::to_string(c.y) + " 34 18 " +
                                                         RecordingRenderer::SurfaceName(w.m_lpSurface) + " 0 0 1"})
        << c.what;
  }
}

TEST_F(MessageWindow, AWindowWithoutItsCharacterEndsAndAPopupWithoutItsHeroOnlyCountsItsTime) {
  PlaceHero(400, 300);
  RecordingRenderer recorder;
  cMessageWindow text = Text("AA", 4, MESSAGEDISPLAY_STAGE, 0, 77);
  EXPECT_EQ(text.Draw(&BackBuffer, 0), 1);
  EXPECT_EQ(text.m_lpSurface, nullptr);
  EXPECT_TRUE(Off_Msg.empty());

  cMessageWindow popup(MESSAGEMODE_PICKUP, nullptr, GRAPHICKIND_ITEM, 3, 0, 4, 0, 0, 0, 0, 0, 1, MESSAGEDISPLAY_TIME,
                       30, 0, 77, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(CallsUntilEnd(popup, 0), 31);

  // An unknown placement: nothing drawn, the time counts.
  cMessageWindow lost(MESSAGEMODE_TEXT, "AA", 0, 0, 0, 9, 0, 0, 0, 0, 0, 1, MESSAGEDISPLAY_TIME, 5, 0, 0, 0, 0, 0, 0,
                      0, 0, 0);
  EXPECT_EQ(CallsUntilEnd(lost, 0), 6);
  EXPECT_TRUE(recorder.Calls().empty());
  EXPECT_TRUE(Off_Msg.empty());
}

TEST_F(MessageWindow, PopupsRiseOneDotEveryFourFramesAboveTheHero) {
  // Placement 4 over a hero at (401, 300) with graphic offsets (4, 8) and a
  // 32 × 40 graphic, view at 0: the 16 × 16 icon starts at (405, 276).
  cHero& hero = PlaceHero(400, 300);
  cMessageWindow pickup(MESSAGEMODE_PICKUP, nullptr, GRAPHICKIND_ITEM, 17, 0, 4, 0, 0, 0, 0, 0, 1,
                        MESSAGEDISPLAY_TIME, 30, 0, hero.m_nId, 0, 0, 0, 0, 0, 0, 0);
  cMessageWindow life(MESSAGEMODE_EXTRALIFE, nullptr, 0, 0, 0, 4, 0, 0, 0, 0, 0, 1, MESSAGEDISPLAY_TIME, 30, 1,
                      hero.m_nId, 0, 0, 0, 0, 0, 0, 0);
  RecordingRenderer recorder;
  for (int frame = 1; frame <= 30; ++frame) {
    // The fixed pop-up keeps its first place while the hero walks on.
    Shape(hero, 400 + frame, 300, 4, 8, 32, 40);
    ASSERT_EQ(pickup.Draw(&BackBuffer, 0), 0);
    ASSERT_EQ(life.Draw(&BackBuffer, 1), 0);
    const std::string y = std::to_string(276 - (frame >> 2));
    // Item 17: icon column 17 / 15, row 17 % 15 of the small icons.
    EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"DDBlt Back 405 " + y + " 16 16 T42 32 32 1",
                                                         "DDBlt Back 405 " + y + " 16 16 T49 48 0 1"}))
        << frame;
  }
  EXPECT_EQ(pickup.Draw(&BackBuffer, 0), 1);
  EXPECT_EQ(life.Draw(&BackBuffer, 1), 1);
}

TEST_F(MessageWindow, AFreshKeyWaitOpensOverNineFrames) {
  RecordingRenderer recorder;
  // "AA" framed at the screen centre: 34 × 18 at (303, 231).
  cMessageWindow framed = Text("AA", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_KEY, 0, 0, 1, 0, 0, 1);
  for (int i = 0; i < 10; ++i) framed.Draw(&BackBuffer, 1);
  const std::string text = RecordingRenderer::SurfaceName(framed.m_lpSurface);
  EXPECT_EQ(recorder.Take(), (std::vector<std::string>{
                                 "DrawBox F1 Back 318 239 3 1",
                                 "DrawBox F1 Back 316 238 6 3",
                                 "DrawBox F1 Back 314 237 10 5",
                                 "DrawBox F1 Back 313 236 13 7",
                                 "DrawBox F1 Back 311 235 17 9",
                                 "DrawBox F1 Back 309 234 20 10",
                                 "DrawBox F1 Back 308 233 23 12",
                                 "DrawBox F1 Back 306 232 27 14",
                                 "DrawBox F1 Back 304 231 30 16",
                                 "DDBlt Back 303 231 34 18 " + text + " 0 0 1",
                             }));

  cMessageWindow plain = Text("AA", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_KEY, 0);
  for (int i = 0; i < 9; ++i) plain.Draw(&BackBuffer, 1);
  EXPECT_TRUE(recorder.Take().empty());
  plain.Draw(&BackBuffer, 1);
  EXPECT_EQ(recorder.Take().size(), 1u);

  cMessageWindow continued = Text("AA", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_KEY, 0, 0, 1, 1, 0, 1);
  continued.Draw(&BackBuffer, 1);
  EXPECT_EQ(recorder.Take(), (std::vector<std::string>{"DDBlt Back 303 231 34 18 " +
                                                       RecordingRenderer::SurfaceName(continued.m_lpSurface) +
                                                       " 0 0 1"}));

  // An empty text draws nothing and does not open.
  cMessageWindow empty = Text("", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_KEY, 0, 0, 1, 0, 0, 1);
  empty.Draw(&BackBuffer, 1);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_EQ(empty.m_dOpening, 0);
}

TEST_F(MessageWindow, RefreshKeepsTheSurfaceForTheSameSizeAndMakesOneForANewSize) {
  cSceneStageData& stage = world.Scene();
  cMessageWindow w(MESSAGEMODE_TEXT, "#C5", 0, 0, 0, MESSAGEPLACE_CENTRE, 0, 0, 0, 0, 0, 1, MESSAGEDISPLAY_STAGE, 0,
                   0, 0, 0, 1, 1, 2, 0, 0, 0);
  DDSURFACEDATA* first = w.m_lpSurface;
  ASSERT_EQ(w.m_strText, "42");
  const std::vector<std::string> ink42 = InkOf(first);

  PlayData.m_vCommonVar.At(5) = 43;
  stage.m_nFrameCount = 3;  // not a multiple of 2
  w.Draw(&BackBuffer, 0);
  EXPECT_EQ(w.m_strText, "42");
  stage.m_nFrameCount = 4;
  w.Draw(&BackBuffer, 0);
  EXPECT_EQ(w.m_strText, "43");
  EXPECT_EQ(w.m_lpSurface, first);
  EXPECT_EQ(Off_Msg.size(), 1u);
  EXPECT_NE(InkOf(first), ink42);

  PlayData.m_vCommonVar.At(5) = 100;
  stage.m_nFrameCount = 6;
  w.Draw(&BackBuffer, 0);
  EXPECT_EQ(w.m_strText, "100");
  EXPECT_EQ(w.m_nWidth, 50);
  ASSERT_EQ(Off_Msg.size(), 1u);
  EXPECT_EQ(w.m_lpSurface, &Off_Msg.back());
  EXPECT_EQ(w.m_lpSurface->nWidth, 50);
  EXPECT_GT(InkCount(w.m_lpSurface), 0);

  // Any interval and frame count: no trap.
  w.m_nRefreshFrames = -1;
  stage.m_nFrameCount = INT_MIN;
  w.Draw(&BackBuffer, 0);
  EXPECT_EQ(w.m_strText, "100");
}

TEST_F(MessageWindow, ALostSurfaceIsDrawnAgain) {
  cMessageWindow w = Text("Ag", MESSAGEPLACE_CENTRE, MESSAGEDISPLAY_STAGE, 0);
  const std::vector<std::string> ink = InkOf(w.m_lpSurface);
  ASSERT_GT(InkCount(w.m_lpSurface), 0);
  plat::LoseVideoSurfaces();
  // The frame loop's recovery: the display, then the surface sets.
  EXPECT_TRUE(DDRestore());
  EXPECT_TRUE(FrameDrawing->RestoreSurfaceSets());
  EXPECT_EQ(w.m_lpSurface->bLost, 1);
  EXPECT_EQ(InkCount(w.m_lpSurface), 0);
  w.Draw(&BackBuffer, 0);
  EXPECT_EQ(w.m_lpSurface->bLost, 0);
  EXPECT_EQ(InkOf(w.m_lpSurface), ink);
}

}  // namespace
