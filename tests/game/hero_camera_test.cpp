// The view follows the hero (centred, within the scroll limits) unless the
// axis auto-scrolls; the hero walks inside the map and flies inside the
// scroll range; its view rectangle truncates the position and the scroll
// apart on an auto-scrolling axis.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/stage_data.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

// A map of 40 × 30 cells: the map spans 320..1600 across and 320..1280 down.
MapBuilder EmptyMap() { return MapBuilder(std::vector<std::string>(30, std::string(40, '.'))); }

void Limits() { StageSettings().LimitLeft(5).LimitRight(20).LimitTop(2).LimitBottom(12); }

}  // namespace

TEST(HeroCamera, TheViewCentresTheHeroWithinItsLimitsAndTheHeroStaysInside) {
  struct Case {
    const char* name;
    std::function<void()> settings;
    int fly;
    double x, y;                // placed there, then confined
    double scrollX, scrollY;    // the view after
    int resultX, resultY;       // of ConfineX and ConfineY
    double afterX, afterY;      // the hero after
    int left, top;              // its view rectangle
  };
  auto none = [] {};
  const Case cases[] = {
      // x − (320 − 16 / 2), y − (240 − 24 / 2).
      {"in the middle", none, FLYMODE_WALK, 800.5, 700.25, 488.5, 472.25, 0, 0, 800.5, 700.25, 304, 220},
      {"past the map's left and top", none, FLYMODE_WALK, 300, 310, 320, 320, 0, 0, 320, 320, -8, -8},
      {"past the map's right and bottom", none, FLYMODE_WALK, 1590, 1270, 960, 800, 0, 0, 1584, 1256, 616, 448},
      // A range narrower than the view keeps its low end.
      {"beyond the far scroll limits", Limits, FLYMODE_WALK, 1200, 900, 480, 384, 1, 4, 1200, 900, 712, 508},
      {"before the near scroll limits", Limits, FLYMODE_WALK, 400, 350, 480, 384, 1, 1, 400, 350, -88, -42},
      {"flying beyond the scroll limits", Limits, FLYMODE_STOPPED, 1200, 900, 480, 384, 0, 0, 976, 720, 488, 328},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    c.settings();
    EmptyMap().Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(c.fly), {5, 5});
    hero.m_rcHit.dLeft = c.x;
    hero.m_rcHit.dTop = c.y;
    EXPECT_EQ(hero.ConfineX(), c.resultX);
    EXPECT_EQ(hero.ConfineY(), c.resultY);
    EXPECT_EQ(world.Scene().m_ScrollX.m_dPos, c.scrollX);
    EXPECT_EQ(world.Scene().m_ScrollY.m_dPos, c.scrollY);
    EXPECT_EQ(hero.m_rcHit.dLeft, c.afterX);
    EXPECT_EQ(hero.m_rcHit.dTop, c.afterY);
    EXPECT_EQ(hero.m_rcHit.dRight, c.afterX + 15);
    hero.UpdateScreenRect();
    EXPECT_EQ(hero.m_rcScreen.nLeft, c.left);
    EXPECT_EQ(hero.m_rcScreen.nTop, c.top);
    EXPECT_EQ(hero.m_rcScreen.nRight, c.left + 31);
    EXPECT_EQ(hero.m_rcScreen.nBottom, c.top + 31);
  }
}

TEST(HeroCamera, AnAutoScrollingAxisKeepsItsViewAndTruncatesPositionAndScrollApart) {
  struct Case {
    int autoX, autoY;
    int left, top;
  };
  // x 800.25 and y 700.5 against the view at (400.75, 500.75), offsets 8:
  // apart 800 − 400 − 8 and 700 − 500 − 8; as one value trunc(391.5) and trunc(191.75).
  const Case cases[] = {{0, 0, 391, 191}, {1, 0, 392, 191}, {0, 1, 391, 192}, {1, 1, 392, 192}};
  for (const Case& c : cases) {
    GameWorld world;
    EmptyMap().Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
    world.Scene().m_ScrollX.m_bAutoScroll = c.autoX;
    world.Scene().m_ScrollY.m_bAutoScroll = c.autoY;
    world.Scene().m_ScrollX.m_dPos = 400.75;
    world.Scene().m_ScrollY.m_dPos = 500.75;
    hero.m_rcHit.dLeft = 800.25;
    hero.m_rcHit.dTop = 700.5;
    hero.UpdateScreenRect();
    EXPECT_EQ(hero.m_rcScreen.nLeft, c.left) << c.autoX << c.autoY;
    EXPECT_EQ(hero.m_rcScreen.nTop, c.top) << c.autoX << c.autoY;
    // The view follows only an axis that does not auto-scroll.
    hero.ConfineX();
    hero.ConfineY();
    EXPECT_EQ(world.Scene().m_ScrollX.m_dPos, c.autoX ? 400.75 : 800.25 - 312);
    EXPECT_EQ(world.Scene().m_ScrollY.m_dPos, c.autoY ? 500.75 : 700.5 - 228);
  }
}

TEST(HeroCamera, MoveYReportsAWalkerThatFellOutOfTheMap) {
  struct Case {
    const char* name;
    int fly;
    double y, vy;
    int result;
    double after;
  };
  const Case cases[] = {
      {"walking, falls past the map's bottom", FLYMODE_WALK, 1260, 5, 7, 1256},
      {"walking, inside", FLYMODE_WALK, 1000, 5, 0, 1005},
      {"walking, rises past the map's top", FLYMODE_WALK, 322, -5, 2, 320},
      // The speed is capped at 6 dots per step; a flier stays in the scroll range.
      {"flying, falls past the map's bottom", FLYMODE_STOPPED, 1260, 9, 0, 1264},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    EmptyMap().Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(c.fly), {5, 5});
    hero.m_rcHit.dTop = c.y;
    hero.m_dVy = c.vy;
    EXPECT_EQ(hero.MoveY(), c.result);
    EXPECT_EQ(hero.m_rcHit.dTop, c.after);
  }
}
