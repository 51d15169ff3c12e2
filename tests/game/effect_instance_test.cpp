// Effect instances: the hit effect between two boxes, the effect command's
// effect, their animation while play runs or is frozen, and the image each
// frame is drawn from.
#include "base/crt_random.h"
#include "base/number_text.h"
#include "display_objects_env.h"
#include "game/effect_instance.h"

namespace {

using testsupport::EventKind;
using testsupport::RecordingRenderer;

class EffectInstance : public DisplayObjects {
 protected:
  void SetUp() override {
    DisplayObjects::SetUp();
    // 1: 20 × 10 frames that scale with the attacker; 2: the same without;
    // 3: no frames.
    SetEffect(1, 20, 10, 1, {0, 1});
    SetEffect(2, 20, 10, 0, {0, 1});
    SetEffect(3, 20, 10, 0, {});
    Off_Effect.resize(6);
    Off_EffectDef.resize(6);
  }

  static EFFECTSPAWN Spawn(int effect, double x, double y, int w, int h, int wait) {
    EFFECTSPAWN s;
    s.nEffect = effect;
    s.dX = x;
    s.dY = y;
    s.nWidth = w;
    s.nHeight = h;
    s.bWait = wait;
    return s;
  }
};

struct HitCase {
  const char* what;
  int effect;
  DRECT a, b;
  int scale;
  double x, y;  // before the jitter
  int w, h, scaled, jitter;
};

TEST_F(EffectInstance, AHitEffectIsCentredWhereTheBoxesMeet) {
  const HitCase cases[] = {
      {"overlapping boxes", 1, {100, 100, 139, 139}, {120, 110, 179, 149}, 1, 120, 120, 20, 10, 0, 4},
      {"scale 3, scaling with the attacker", 1, {100, 100, 139, 139}, {120, 110, 179, 149}, 3, 100, 110, 60, 30, 1, 12},
      {"scale 3, not scaling", 2, {100, 100, 139, 139}, {120, 110, 179, 149}, 3, 120, 120, 20, 10, 0, 4},
      {"apart boxes meet at 0", 1, {0, 0, 9, 9}, {50, 50, 59, 59}, 1, -10, -5, 20, 10, 0, 4},
      {"apart boxes at scale 2", 1, {0, 0, 9, 9}, {50, 50, 59, 59}, 2, -20, -10, 40, 20, 1, 8},
      {"touching edges meet", 1, {0, 0, 10, 10}, {10, 10, 20, 20}, 1, 0, 5, 20, 10, 0, 4},
      {"fractions stay", 2, {100.5, 100.25, 140.75, 130.5}, {90, 90, 200, 200}, 1, 110.5, 110.25, 20, 10, 0, 4},
  };
  for (const HitCase& c : cases) {
    for (unsigned seed : {1u, 77u}) {
      crt::srand(seed);
      cEffectInstance e(c.effect, c.a, c.b, c.scale);
      // The jitter of x, then of y.
      crt::srand(seed);
      const int jx = RandomRange(-c.jitter, c.jitter), jy = RandomRange(-c.jitter, c.jitter);
      EXPECT_EQ(e.m_dX, c.x + jx) << c.what << " seed " << seed;
      EXPECT_EQ(e.m_dY, c.y + jy) << c.what << " seed " << seed;
      EXPECT_EQ(e.m_nWidth, c.w) << c.what;
      EXPECT_EQ(e.m_nHeight, c.h) << c.what;
      EXPECT_EQ(e.m_bScaled, c.scaled) << c.what;
      EXPECT_EQ(e.m_sEffect, c.effect) << c.what;
      EXPECT_EQ(e.m_bWait, 0) << c.what;
      EXPECT_EQ(e.m_Anime.m_vPatterns.Size(), 1) << c.what;
    }
  }
}

TEST_F(EffectInstance, AScale3HitJittersUpToTwelveDots) {
  int minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (unsigned seed = 1; seed <= 400; ++seed) {
    crt::srand(seed);
    cEffectInstance e(1, {100, 100, 139, 139}, {120, 110, 179, 149}, 3);
    const int dx = static_cast<int>(e.m_dX) - 100, dy = static_cast<int>(e.m_dY) - 110;
    minX = std::min(minX, dx), maxX = std::max(maxX, dx);
    minY = std::min(minY, dy), maxY = std::max(maxY, dy);
  }
  EXPECT_EQ(minX, -12);
  EXPECT_EQ(maxX, 12);
  EXPECT_EQ(minY, -12);
  EXPECT_EQ(maxY, 12);
}

struct SpawnCase {
  const char* what;
  int number, width;
  int effect, scaled;
  const char* report;  // "" for none
};

TEST_F(EffectInstance, AnEffectNumberCountsByItsLow16BitsAndABadOneTakesEntry0) {
  const std::string size = std::to_string(sizeof(cEdEffect));
  const SpawnCase cases[] = {
      {"frame width", 1, 20, 1, 0, ""},
      {"another width is stretched", 1, 40, 1, 1, ""},
      {"the low 16 bits", 0x10002, 20, 2, 0, ""},
      {"beyond the table", 70000, 20, 0, 1, "err V[4464] ( 4 , "},
      {"negative as 16 bits", 0xFFFF, 20, 0, 1, "err V[-1] ( 4 , "},
  };
  for (const SpawnCase& c : cases) {
    world.events.Clear();
    cEffectInstance e(Spawn(c.number, 5.5, 6.5, c.width, 30, 1));
    EXPECT_EQ(e.m_sEffect, c.effect) << c.what;
    EXPECT_EQ(e.m_bScaled, c.scaled) << c.what;
    EXPECT_EQ(e.m_dX, 5.5) << c.what;
    EXPECT_EQ(e.m_nHeight, 30) << c.what;
    EXPECT_EQ(e.m_bWait, 1) << c.what;
    const std::vector<std::string> logs = world.events.Texts(EventKind::Log);
    if (*c.report)
      EXPECT_EQ(logs, std::vector<std::string>{c.report + size + " )"}) << c.what;
    else
      EXPECT_TRUE(logs.empty()) << c.what;
    // A hit effect takes its number the same way.
    world.events.Clear();
    cEffectInstance hit(c.number, {0, 0, 9, 9}, {0, 0, 9, 9}, 1);
    EXPECT_EQ(hit.m_sEffect, c.effect) << c.what;
    EXPECT_EQ(world.events.Texts(EventKind::Log), logs) << c.what;
  }
  // A bad pattern: reported, pattern 0 (and no close request: the test would fail).
  cEffectInstance e(Spawn(1, 0, 0, 20, 10, 0));
  world.events.Clear();
  e.SetupAnime(9);
  EXPECT_EQ(world.events.Texts(EventKind::Log),
            std::vector<std::string>{"err V[9] ( 4 , " + std::to_string(sizeof(ANIMEPATTERN)) + " )"});
  EXPECT_EQ(e.m_Anime.m_vPatterns.Size(), 1);
}

struct LifeOfEffect {
  const char* what;
  int effect, wait, frozen;
  // Source x of each frame drawn; the effect ends on the call after them
  // (-1: it has not ended after 100 calls).
  std::vector<int> sources;
  int ends;
};

TEST_F(EffectInstance, AnimatesOnceHoldingStillWhileFrozenUnlessWaitedFor) {
  const std::vector<int> twoFrames = {0, 0, 0, 0, 0, 20, 20, 20, 20, 20, 20};
  const LifeOfEffect cases[] = {
      {"play", 1, 0, 0, twoFrames, 12},
      {"a waited effect in play", 1, 1, 0, twoFrames, 12},
      {"a waited effect while frozen", 1, 1, 1, twoFrames, 12},
      {"frozen play holds the first frame", 1, 0, 1, std::vector<int>(100, 0), -1},
      {"no frames", 3, 0, 0, {}, 1},
  };
  for (const LifeOfEffect& c : cases) {
    RecordingRenderer recorder;
    cEffectInstance e(Spawn(c.effect, 40, 50, 20, 10, c.wait));
    int ended = -1;
    for (int n = 1; n <= 100 && ended < 0; ++n)
      if (e.Draw(&BackBuffer, c.frozen)) ended = n;
    EXPECT_EQ(ended, c.ends) << c.what;
    std::vector<int> sources;
    for (const std::string& call : recorder.Calls()) {
      int x, y, w, h, sx, sy, flags;
      char image[8];
      ASSERT_EQ(std::sscanf(call.c_str(), "DDBlt Back %d %d %d %d %7s %d %d %d", &x, &y, &w, &h, image, &sx, &sy,
                            &flags),
                8)
          << call;
      EXPECT_EQ(std::string(image), c.effect == 1 ? "E0" : "E4") << c.what;
      sources.push_back(sx);
    }
    EXPECT_EQ(sources, c.sources) << c.what;
  }
}

TEST_F(EffectInstance, AFrozenEffectGoesOnWhenPlayResumes) {
  cEffectInstance e(Spawn(1, 40, 50, 20, 10, 0));
  for (int n = 0; n < 3; ++n) ASSERT_EQ(e.Draw(&BackBuffer, 0), 0);
  for (int n = 0; n < 50; ++n) ASSERT_EQ(e.Draw(&BackBuffer, 1), 0);
  int calls = 0;
  while (!e.Draw(&BackBuffer, 0)) ++calls;
  EXPECT_EQ(calls, 8);
}

struct ImageCase {
  const char* what;
  int effect, width, d3d, stretch;
  std::string call;
};

TEST_F(EffectInstance, DrawsFromImage2nMinus2OrStretchedFrom2nMinus1) {
  // At (110.5, 60.25) under a view at (100.7, 50): (9, 10).
  const ImageCase cases[] = {
      {"plain", 2, 20, 0, 0, "DDBlt Back 9 10 20 10 E2 0 0 1"},
      {"stretched on the software display", 2, 40, 0, 0, "DDBltStretch Back 9 10 40 10 E3 0 0 20 10 1"},
      {"stretched in video memory", 2, 40, 0, 1, "DDBltStretch Back 9 10 40 10 E2 0 0 20 10 1"},
      {"stretched on the 3D device", 2, 40, 1, 1, "DDBltStretch Back 9 10 40 10 E3 0 0 20 10 1"},
      {"no image for the effect", 5, 20, 0, 0, ""},
  };
  SetEffect(5, 20, 10, 0, {0, 1});
  Scroll(100.7, 50);
  for (const ImageCase& c : cases) {
    if (c.d3d) {
      ASSERT_TRUE(Start3D(32));
    }
    nBpp = c.d3d ? 32 : 16;
    SystemIni.nDD_VideoStretch = c.stretch;
    RecordingRenderer recorder;
    cEffectInstance e(Spawn(c.effect, 110.5, 60.25, c.width, 10, 0));
    EXPECT_EQ(e.Draw(&BackBuffer, 0), 0) << c.what;
    EXPECT_EQ(recorder.Calls(), c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call})
        << c.what;
  }
}

}  // namespace
