// The screen effects over the finished stage frame, as recorded draws: what
// each kind draws back from its copy of the frame, the move, shake and zoom
// frame by frame, frozen frames, the end of an effect, and parameters that
// would divide by zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/graphic_source.h"
#include "media/dd_layer.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "stage_draw_env.h"

using namespace testsupport;
using stagedraw::StageDrawTest;

namespace {

using Params = std::array<int32_t, 5>;

// Screen-effect entry 1 of the database gets `kind` and `p`, and starts.
void StartEffect(cSceneStage& scene, int kind, const Params& p) {
  cEdScrEffect& def = Database.m_vScrEffect.At(1);
  def.m_nKind = kind;
  std::copy(p.begin(), p.end(), def.m_anParam);
  Database.FillWorkingCopies();
  BuildScrEffectStates(ScrFxInstA, ScrFxInstB);
  scene.m_ScreenEffect.Start(1, 0, 0);
}

// The hero's graphic at (x, y) on the screen, 32 x 32: its centre is (x + 16, y + 16).
void PlaceHero(int x, int y) {
  cHero* hero = Hero();
  ASSERT_NE(hero, nullptr);
  hero->m_rcScreen = {x, y, x + 32, y + 32};
  hero->m_nGfxWidth = hero->m_nGfxHeight = 32;
}

// The first value after `prefix` in the first call that starts with it; INT_MIN when none.
int ValueAfter(const std::vector<std::string>& calls, const std::string& prefix) {
  for (const std::string& c : calls)
    if (c.rfind(prefix, 0) == 0) {
      std::istringstream in(c.substr(prefix.size()));
      int v = INT_MIN;
      in >> v;
      return v;
    }
  return INT_MIN;
}

const std::string kTake = "DDBlt T67 0 0 640 480 Back 0 0 0";
const std::string kTakeTurned = "DDBlt T68 0 0 640 480 Back 0 0 0";
const std::string kEmpty = "DDFillRect Back 0 0 640 480 16";

class ScreenEffects : public StageDrawTest {
 protected:
  void SetUp() override {
    Start();
    ASSERT_NE(scene, nullptr);
    PlaceHero(300, 200);
  }
  std::vector<std::string> Frame(int bFrozen = 0) {
    scene->RunScreenEffect(bFrozen);
    return Calls();
  }
  // Frames until the effect ends (its number becomes 0); the frames run.
  int RunToEnd(int limit = 200) {
    for (int n = 1; n <= limit; ++n) {
      scene->RunScreenEffect(0);
      if (scene->m_ScreenEffect.m_sEffect == 0) return n;
    }
    return -1;
  }
};

}  // namespace

TEST_F(ScreenEffects, EachKindDrawsItsCopyOfTheFrameBack) {
  struct Case {
    int kind;
    Params p;
    std::vector<std::string> calls;
  };
  auto Back = [](const std::string& take, const std::string& draw) {
    return std::vector<std::string>{take, kEmpty, "DDSetAlphaOp 1", draw, "DDResetAlphaOp"};
  };
  const Case cases[] = {
      {1, {10, 5, 7, 100, 0}, Back(kTake, "DDBlt Back 5 7 640 480 T67 0 0 0")},
      // Shake across: only the strip at the left is cleared.
      {2, {10, 8, 2}, {kTake, "DDFillRect Back 0 0 1 480 16", "DDSetAlphaOp 1", "DDBlt Back 0 0 640 480 T67 0 0 0",
                       "DDResetAlphaOp"}},
      {3, {10, 8, 2}, Back(kTake, "DDBlt Back 0 0 640 480 T67 0 0 0")},
      // Seven bands: 480 / 7 and 640 / 7 rounded up.
      {4, {10, 6, 20, 7}, Back(kTake, "DDBltSplit Back 0 0 640 480 69 6 T67 0 0 0 0")},
      {5, {10, 6, 20, 7}, Back(kTake, "DDBltSplit Back 0 0 640 480 92 6 T67 0 0 0 1")},
      {6, {10, 4, 20, 3, 8}, Back(kTake, "DDBltWave Back 0 0 640 480 3 4 0 8 T67 0 0 0 0")},
      {7, {10, 4, 20, 3, 8}, Back(kTake, "DDBltWave Back 0 0 640 480 3 4 0 8 T67 0 0 0 1")},
      {9, {10, 30, 90}, Back(kTakeTurned, "DDBltRotate Back 320 240 640 480 320 240 30 T68 0 0 0")},
      // About the hero's centre (316, 216), far enough to reach each edge.
      {10, {10, 640, 0, 8}, Back(kTake, "DDBltCircle Back 316 216 324 264 640 8 T67 316 216 0")},
      // The lens 10 right and 20 up of the hero: radius sqrt(2) x 326.
      {12, {10, 100, 200, 10, -20},
       {"DDFillRect T68 0 0 640 480 0", kTakeTurned, kEmpty, "DDSetAlphaOp 1",
        "DDBltLens Back 326 196 461 100 T68 326 196 0 0", "DDResetAlphaOp"}},
      {13, {10, 4, 20}, Back(kTakeTurned, "DDBltMosaic Back 0 0 640 480 4 T68 0 0 0")},
      // None draws nothing on the software display.
      {0, {10}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind));
    StartEffect(*scene, c.kind, c.p);
    EXPECT_EQ(Frame(), c.calls);
  }
}

TEST_F(ScreenEffects, TheMoveSlidesTheFrameToItsEndPointInItsTime) {
  // From (0, 0) to (100, 0) in a second.
  StartEffect(*scene, 1, {10, 0, 0, 100, 0});
  std::vector<int> xs;
  for (int n = 0; n < 80 && scene->m_ScreenEffect.m_sEffect != 0; ++n) {
    const std::vector<std::string> calls = Frame();
    EXPECT_EQ(calls.at(1), kEmpty) << "the uncovered part shows colour 16";
    xs.push_back(ValueAfter(calls, "DDBlt Back "));
  }
  ASSERT_GE(xs.size(), 62u);
  EXPECT_EQ(xs[0], 0);
  EXPECT_EQ(xs[1], 0);
  EXPECT_EQ(xs[2], 1);    // 100 x (1/6) / 10
  EXPECT_NEAR(xs[31], 50, 1);
  EXPECT_NEAR(xs[61], 100, 1);  // sixty frames after the first step
  EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
  EXPECT_EQ(xs.back(), 100) << "it stays at its end point until it ends";
  EXPECT_LE(xs.size(), 68u);
}

TEST_F(ScreenEffects, TheShakeSwingsByItsAmplitudeAndEndsWithItsTime) {
  // Two shakes of 8 dots in a second: 64 dots in 60 frames, 16/15 a frame.
  StartEffect(*scene, 2, {10, 8, 2});
  std::vector<int> offsets;
  std::vector<std::string> leftStrips;
  for (int n = 0; n < 80 && scene->m_ScreenEffect.m_sEffect != 0; ++n) {
    const std::vector<std::string> calls = Frame();
    const int offset = ValueAfter(calls, "DDBlt Back ");
    offsets.push_back(offset);
    // The cleared strip is always the one the moved frame leaves open.
    const std::string strip = calls.at(1);
    if (offset >= 0)
      EXPECT_EQ(strip, "DDFillRect Back 0 0 " + std::to_string(offset + 1) + " 480 16");
    else
      EXPECT_EQ(strip, "DDFillRect Back " + std::to_string(639 + offset) + " 0 " + std::to_string(1 - offset) +
                           " 480 16");
  }
  const std::vector<int> first = {0, 1, 2, 3, 4, 5, 6, 7, 8, 6};
  ASSERT_GE(offsets.size(), first.size());
  EXPECT_EQ(std::vector<int>(offsets.begin(), offsets.begin() + 10), first);
  EXPECT_EQ(*std::min_element(offsets.begin(), offsets.end()), -8);
  EXPECT_EQ(*std::max_element(offsets.begin(), offsets.end()), 8);
  // Full swings: down through -8 and back up through 8 twice.
  int turns = 0;
  for (size_t i = 1; i + 1 < offsets.size(); ++i)
    if ((offsets[i] == 8 && offsets[i + 1] < 8) || (offsets[i] == -8 && offsets[i + 1] > -8)) ++turns;
  EXPECT_EQ(turns, 4);
  EXPECT_GE(offsets.size(), 61u);
  EXPECT_LE(offsets.size(), 67u);
}

TEST_F(ScreenEffects, TheZoomShowsAWindowAroundTheHeroOrTheWholeFrameSmaller) {
  struct Case {
    const char* what;
    double value;  // the view's width in dots
    int heroX, heroY;
    std::vector<std::string> calls;
  };
  StartEffect(*scene, 11, {10, 0, 1280});
  const std::string copy = RecordingRenderer::SurfaceName(lpEffectWork1);
  const std::string take = "DDBlt " + copy + " 0 0 640 480 Back 0 0 0";
  auto In = [&](const std::string& window) {
    return std::vector<std::string>{take, "DDSetAlphaOp 1", "DDBltStretch Back 0 0 640 480 " + copy + " " + window + " 0",
                                    "DDResetAlphaOp"};
  };
  const Case cases[] = {
      {"twice as big around the hero", 1280, 300, 200, In("156 96 320 240")},
      {"stopped at the right and bottom edges", 1280, 584, 444, In("320 240 320 240")},
      {"stopped at the left and top edges", 1280, -6, -6, In("0 0 320 240")},
      {"the screen's own size", 640, 300, 200, In("0 0 640 480")},
      {"half as big in the middle", 320, 300, 200,
       {take, kEmpty, "DDSetAlphaOp 1", "DDBltStretch Back 160 120 320 240 " + copy + " 0 0 640 480 0",
        "DDResetAlphaOp"}},
      {"nothing left to show", 0, 300, 200, {take, kEmpty}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PlaceHero(c.heroX, c.heroY);
    scene->m_ScreenEffect.m_dValue = c.value;
    EXPECT_EQ(Frame(1), c.calls);
  }

  // From 640 to 1280: it ends showing a quarter of the screen twice as big.
  PlaceHero(300, 200);
  StartEffect(*scene, 11, {10, 640, 1280});
  std::vector<std::string> last;
  for (int n = 0; n < 80 && scene->m_ScreenEffect.m_sEffect != 0; ++n) last = Frame();
  EXPECT_EQ(scene->m_ScreenEffect.m_sEffect, 0);
  ASSERT_GE(last.size(), 3u);
  EXPECT_EQ(last[2], "DDBltStretch Back 0 0 640 480 " + copy + " 156 96 320 240 0");
}

TEST_F(ScreenEffects, FrozenFramesDrawTheEffectWithoutAdvancingIt) {
  struct Case {
    int kind;
    Params p;
  };
  const Case cases[] = {{1, {10, 0, 0, 100, 50}}, {2, {10, 8, 2}},       {3, {10, 8, 2}},        {4, {10, 0, 40, 8}},
                        {5, {10, 0, 40, 8}},      {6, {10, 0, 9, 2, 8}}, {7, {10, 0, 9, 2, 8}},  {8, {10, 1}},
                        {9, {10, 0, 90}},         {10, {10, 640, 0, 8}}, {11, {10, 640, 1280}}, {12, {10, 100, 20}},
                        {13, {10, 1, 16}}};
  for (const Case& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind));
    StartEffect(*scene, c.kind, c.p);
    for (int n = 0; n < 5; ++n) Frame();
    const cScreenEffectState before = scene->m_ScreenEffect;
    const std::vector<std::string> frozen = Frame(1);
    if (c.kind != 8) {
      EXPECT_FALSE(frozen.empty());
    }
    for (int n = 0; n < 3; ++n) EXPECT_EQ(Frame(1), frozen);
    const cScreenEffectState& after = scene->m_ScreenEffect;
    EXPECT_EQ(after.m_dValue, before.m_dValue);
    EXPECT_EQ(after.m_dAux, before.m_dAux);
    EXPECT_EQ(after.m_nAuxA, before.m_nAuxA);
    EXPECT_EQ(after.m_nAuxB, before.m_nAuxB);
    // Play goes on where it stood.
    Frame();
    EXPECT_NE(scene->m_ScreenEffect.m_dValue, before.m_dValue);
  }
}

TEST_F(ScreenEffects, TheBlinkHidesEverythingButTheBackgroundsInTurns) {
  StartEffect(*scene, 8, {10, 2});
  std::string shown;
  for (int n = 0; n < 11; ++n) {
    const std::vector<std::string> calls = Frame();
    const bool hidden = std::find(calls.begin(), calls.end(), "DDFillSurface Back 16") != calls.end();
    shown += hidden ? 'B' : '.';
    for (const std::string& c : calls) EXPECT_EQ(c.find("T67"), std::string::npos) << "no copy: " << c;
  }
  // The turn flips on the frame after the counter reached the interval.
  EXPECT_EQ(shown, "BBB..BB..BB");
}

TEST_F(ScreenEffects, TheEndStopsTheRedirectionAndDrawsNothingMore) {
  StartEffect(*scene, 4, {1, 0, 12, 4});
  std::vector<std::string> calls;
  int frames = 0;
  while (scene->m_ScreenEffect.m_sEffect != 0 && frames < 20) {
    calls = Frame();
    ++frames;
  }
  EXPECT_EQ(scene->m_ScreenEffect.m_sEffect, 0);
  EXPECT_EQ(frames, 7) << "12 dots at 2 a frame, ended past the end value";
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "DDUseVirBackBuffer 0");
  EXPECT_TRUE(Frame().empty());
  // The next frame draws straight to the back buffer.
  scene->m_nPhase = STAGESTATE_PLAY;
  scene->Draw(1, 0, 1, 1);
  const std::vector<std::string> frame = Calls();
  EXPECT_EQ(std::find(frame.begin(), frame.end(), "DDUseVirBackBuffer 1"), frame.end());
}

TEST_F(ScreenEffects, CountsAndTimesOfZeroActAsOne) {
  struct Case {
    const char* what;
    int kind;
    Params p;
    std::string call;  // drawn on the first frame
  };
  const Case cases[] = {
      {"split with no bands: one band", 4, {10, 6, 20, 0}, "DDBltSplit Back 0 0 640 480 480 6 T67 0 0 0 0"},
      {"split with bands below zero", 5, {10, 6, 20, -3}, "DDBltSplit Back 0 0 640 480 640 6 T67 0 0 0 1"},
      {"circle without a band height", 10, {10, 200, 0, 0}, "DDBltCircle Back 316 216 324 264 200 1 T67 316 216 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StartEffect(*scene, c.kind, c.p);
    const std::vector<std::string> calls = Frame();
    EXPECT_NE(std::find(calls.begin(), calls.end(), c.call), calls.end());
  }

  // A move without a time goes to its end point in a tenth of a second.
  StartEffect(*scene, 1, {0, 0, 0, 50, 30});
  std::vector<int> xs;
  while (scene->m_ScreenEffect.m_sEffect != 0 && xs.size() < 30) xs.push_back(ValueAfter(Frame(), "DDBlt Back "));
  EXPECT_EQ(xs.back(), 50);
  EXPECT_LE(xs.size(), 14u);

  // Shakes stay within their amplitude: one without a time, and one whose
  // speed overflows 32 bits (it swings from end to end).
  const struct {
    Params p;
    int lo, hi;
  } shakes[] = {{{0, 8, 1}, -8, 8}, {{10, 2000000000, 2000000000}, -2000000000, 2000000000}};
  for (const auto& s : shakes) {
    StartEffect(*scene, 3, s.p);
    for (int n = 0; n < 6; ++n) {
      const int offset = ValueAfter(Frame(), "DDBlt Back 0 ");
      EXPECT_GE(offset, s.lo);
      EXPECT_LE(offset, s.hi);
    }
  }
  EXPECT_EQ(std::abs(scene->m_ScreenEffect.m_dAux), 2000000000.0);
}

TEST_F(ScreenEffects, AnUnknownKindIsNoEffect) {
  StartEffect(*scene, 99, {10, 1, 2, 3, 4});
  EXPECT_TRUE(Frame().empty());
  EXPECT_EQ(scene->m_ScreenEffect.m_sEffect, 1) << "none never ends";
}

namespace {

class ScreenEffects3D : public ::testing::Test, public stagedraw::DrawnStage {
 protected:
  static StageRunner::Options Device() {
    StageRunner::Options o;
    o.d3d = true;
    o.bpp = 32;
    return o;
  }
  ScreenEffects3D() : DrawnStage(Device()) {}
};

}  // namespace

TEST_F(ScreenEffects3D, NoneEndsTheRedirectionOfTheFrame) {
  Start();
  ASSERT_NE(lpDTCon, nullptr);
  StartEffect(*scene, 0, {10});
  lpDTCon->bVirBackBuffer = 1;
  scene->RunScreenEffect(0);
  EXPECT_EQ(Calls(), std::vector<std::string>{"DDUseVirBackBuffer 0"});
  EXPECT_EQ(scene->m_ScreenEffect.m_sEffect, 1);
  lpDTCon->bVirBackBuffer = 0;
  scene->RunScreenEffect(0);
  EXPECT_TRUE(Calls().empty());
}
