// The stage-scene members the game objects use: the view axes (clamp,
// auto-scroll, range, set-up from the stage record), the modal wait request,
// the effect states' clear, and the rectangles' overlap.
#include <gtest/gtest.h>

#include "game/game_object.h"
#include "game/geometry.h"
#include "game/stage_data.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

TEST(ScrollAxis, ClampKeepsTheViewInsideItsLimitsAndSaysWhenItHadTo) {
  struct Case {
    int min, max;
    double pos;
    double after;
    int atLimit;
  };
  const Case cases[] = {
      {320, 1280, 100, 320, 1},  {320, 1280, 320, 320, 0},  {320, 1280, 500.5, 500.5, 0},
      {320, 1280, 640, 640, 1},  // the view's far edge exactly on the limit
      {320, 1280, 700, 640, 1},  {320, 800, 700, 320, 1},   // a range narrower than the view
  };
  for (const Case& c : cases) {
    cScrollAxis axis;
    axis.m_nView = 640;
    axis.m_nMin = c.min;
    axis.m_nMax = c.max;
    axis.m_dPos = c.pos;
    axis.Clamp();
    EXPECT_EQ(axis.m_dPos, c.after) << c.pos;
    EXPECT_EQ(axis.m_bAtLimit, c.atLimit) << c.pos;
  }
}

TEST(ScrollAxis, AutoScrollIsTenthsOfADotPerFrameSpreadOverTheSteps) {
  GameWorld world(3);
  cScrollAxis axis;
  axis.m_nView = 640;
  axis.m_nMin = 320;
  axis.m_nMax = 2000;
  axis.m_dPos = 400;
  axis.SetAutoScroll(1, 25);
  EXPECT_EQ(axis.m_bAutoScroll, 1);
  EXPECT_EQ(axis.m_dAutoSpeed, 0.8333333333333334);
  axis.Step();
  EXPECT_EQ(axis.m_dPos, 400 + 0.8333333333333334);
  EXPECT_EQ(axis.MoveSpeed(), 0.8333333333333334);
  axis.m_dPos = 1359.5;
  axis.Step();
  EXPECT_EQ(axis.m_dPos, 1360);
  EXPECT_EQ(axis.MoveSpeed(), 0) << "at a limit the view does not carry the moves";
  axis.SetAutoScroll(0, 25);
  EXPECT_EQ(axis.m_bAutoScroll, 0);
  EXPECT_EQ(axis.m_dAutoSpeed, 0);
}

TEST(ScrollAxis, TheRangeFromLimitCellsOrTheMapsEdges) {
  struct Case {
    int a, b, low, high;
    int min, max;
  };
  const Case cases[] = {
      {2, 15, 1, 1, 384, 832}, {2, 15, 0, 0, 320, 960}, {2, 15, 1, 0, 384, 960},
      {5, 1, 1, 1, 480, 480},  // a right limit left of the left one is raised to it
      {2147483647, -2147483647, 1, 1, 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    cScrollAxis axis;
    axis.m_nOrigin = 320;
    axis.m_nDefaultMax = 960;
    axis.SetRange(c.a, c.b, c.low, c.high);
    EXPECT_EQ(axis.m_nMin, c.min) << c.a << " " << c.b;
    EXPECT_EQ(axis.m_nMax, c.max) << c.a << " " << c.b;
  }
}

TEST(ScrollAxis, SetUpFromTheStageRecord) {
  GameWorld world(10);
  struct Case {
    int width, height;
    int pitch, shift;
  };
  // The pitch is the smallest power of two above width + 19.
  const Case cases[] = {{20, 15, 64, 6}, {45, 15, 128, 7}, {12, 15, 32, 5}, {13, 15, 64, 6}, {1, 1, 32, 5}};
  for (const Case& c : cases) {
    Stage.m_nWidth = c.width;
    Stage.m_nHeight = c.height;
    Stage.m_nWidthDots = c.width * 32;
    Stage.m_nHeightDots = c.height * 32;
    Stage.m_bAutoScrollY = 1;
    Stage.m_nAutoScrollSpeedY = -480;
    Stage.m_bScrollLimitBottom = 1;
    Stage.m_nScrollLimitBottom = 3;
    world.Scene().SetUpScrollAxes(Stage);
    const cScrollAxis& x = world.Scene().m_ScrollX;
    const cScrollAxis& y = world.Scene().m_ScrollY;
    EXPECT_EQ(x.m_nPitch, c.pitch) << c.width;
    EXPECT_EQ(x.m_nShift, c.shift) << c.width;
    EXPECT_EQ(x.m_nCells, c.width + 20);
    EXPECT_EQ(x.m_nAxis, 0);
    EXPECT_EQ(x.m_nView, 640);
    EXPECT_EQ(x.m_nBorder, 10);
    EXPECT_EQ(x.m_nOrigin, 320);
    EXPECT_EQ(x.m_nDefaultMax, (c.width + 10) * 32);
    EXPECT_EQ(x.m_nActiveSize, c.width * 32 + 640);
    EXPECT_EQ(x.m_nMin, 320);
    EXPECT_EQ(x.m_nMax, x.m_nDefaultMax);
    EXPECT_EQ(x.m_bAutoScroll, 0);
    EXPECT_EQ(y.m_nAxis, 1);
    EXPECT_EQ(y.m_nView, 480);
    EXPECT_EQ(y.m_nShift, 0);
    EXPECT_EQ(y.m_nPitch, c.height + 20);
    EXPECT_EQ(y.m_nCells, c.height + 20);
    EXPECT_EQ(y.m_nActiveSize, c.height * 32 + 640);
    EXPECT_EQ(y.m_dAutoSpeed, -4.8);
    EXPECT_EQ(y.m_nMax, 320 + 3 * 32 + 32);
  }
}

TEST(ModalWait, AKeyWaitOfAMessageIgnoresKeysForTenFrames) {
  struct Case {
    int mode, key, frames, noDelay;
    int delay;
  };
  const Case cases[] = {{1, 1, 0, 0, 10}, {1, 1, 0, 1, 0}, {2, 1, 0, 0, 0}, {1, 0, 30, 0, 0}};
  for (const Case& c : cases) {
    cModalWait wait;
    wait.bDone = 1;
    wait.Set(c.mode, c.key, c.frames, c.noDelay);
    EXPECT_EQ(wait.nMode, c.mode);
    EXPECT_EQ(wait.bWaitKey, c.key);
    EXPECT_EQ(wait.nFrames, c.frames);
    EXPECT_EQ(wait.bDone, 0);
    EXPECT_EQ(wait.nDelay, c.delay) << c.mode << c.key << c.noDelay;
  }
}

TEST(EffectStates, ClearStopsTheRunningEffect) {
  cCharaEffectState chara;
  chara.m_sEffect = 4;
  chara.m_lpDef = reinterpret_cast<cEdCharaEffect*>(&chara);
  chara.m_bLoop = chara.m_bReversed = chara.m_nRunMode = 1;
  chara.m_dValue = 2.5;
  chara.Clear();
  EXPECT_EQ(chara.m_sEffect, 0);
  EXPECT_EQ(chara.m_lpDef, nullptr);
  EXPECT_EQ(chara.m_bLoop + chara.m_bReversed, 0);
  EXPECT_EQ(chara.m_nRunMode, 1);
  EXPECT_EQ(chara.m_dValue, 2.5);

  cScreenEffectState screen;
  screen.m_sEffect = 2;
  screen.m_bLoop = screen.m_bReversed = screen.m_bTimed = 1;
  screen.m_nTick = 7;
  screen.Clear();
  EXPECT_EQ(screen.m_sEffect + screen.m_bLoop + screen.m_bReversed + screen.m_bTimed, 0);
  EXPECT_EQ(screen.m_lpDef, nullptr);
  EXPECT_EQ(screen.m_nTick, 7);
}

TEST(Rectangles, TouchingEdgesOverlap) {
  const DRECT box{10, 10, 20, 20};
  struct Case {
    DRECT other;
    int overlaps;
  };
  const Case cases[] = {{{20, 20, 30, 30}, 1},   {{20.5, 10, 30, 20}, 0}, {{0, 0, 9.9, 30}, 0},
                        {{12, 12, 13, 13}, 1},   {{0, 0, 40, 40}, 1},     {{10, 21, 20, 30}, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(box.Overlaps(c.other), c.overlaps) << c.other.dLeft << " " << c.other.dTop;
    EXPECT_EQ(c.other.Overlaps(box), c.overlaps);
  }
  cGameObject o;
  o.m_rcHit = box;
  EXPECT_EQ(o.HitBoxOverlaps(20, 20, 30, 30), 1);
  EXPECT_EQ(o.HitBoxOverlaps(21, 20, 30, 30), 0);
}
