// Swords: pinned to their owner frame by frame (placement in front, behind,
// above and below, the offsets and their reverse flags, the scale), each
// frame held for duration × 6 × N + 1 steps, and their end with the last
// frame, with their owner, or at once for a type without frames. The owner
// stands on cell (10, 8): its view rectangle is (320, 256)..(351, 287).
#include <gtest/gtest.h>

#include <climits>

#include "records/database.h"
#include "shot_test_env.h"

using namespace shottest;

namespace {

// Sword type 1: frames of 24 × 8 at offset (4, −2).
cEdSwordType& SwordType(int frames, int place, int mirrorX, int mirrorY, int time = 1) {
  Database.m_vSwordType.resize(2);
  cEdSwordType& type = Database.m_vSwordType[1];
  type.m_vFrame.resize(static_cast<size_t>(frames));
  for (cEdSwordFrame& f : type.m_vFrame) {
    f.m_nWidth = 24;
    f.m_nHeight = 8;
    f.m_nOffsetX = 4;
    f.m_nOffsetY = -2;
    f.m_nPlace = place;
    f.m_bMirrorX = mirrorX;
    f.m_bMirrorY = mirrorY;
    f.m_nTime = time;
  }
  return type;
}

cShot& Sword(ShotStage& stage, cCharaBase& owner, int scale = 1) {
  cEdShot def = OneShot();
  def.m_nPath = 1;
  def.m_nScale = static_cast<int8_t>(scale);
  return stage.Fire(owner, def, SpawnAt(500, 500, 0, 0), SHOTMAKER_SWORD);
}

}  // namespace

TEST(Swords, APlacedFrameStandsBesideItsOwnerByPlaceFacingReverseFlagsAndScale) {
  struct Case {
    int place, facing, mirrorX, mirrorY, scale;
    double x, y;
    int direction;
  } cases[] = {
      {0, 1, 1, 0, 1, 668, 586, 1},  // in front: 672 less the mirrored offset
      {0, 0, 1, 0, 1, 620, 586, 0},  // facing left the offsets always add
      {1, 1, 1, 0, 1, 612, 586, 0},  // behind, and facing the other way
      {1, 0, 0, 0, 1, 676, 586, 1},
      {2, 1, 0, 1, 1, 648, 570, 1},  // above; the y offset mirrored
      {3, 0, 0, 1, 2, 640, 604, 0},  // below, twice the size
      {0, 1, 0, 0, 2, 680, 580, 1},
      {4, 1, 0, 0, 1, 504, 498, 1},  // no place: only the offsets move it
  };
  for (const Case& c : cases) {
    ShotStage stage;
    SwordType(1, c.place, c.mirrorX, c.mirrorY);
    cChara& owner = stage.Chara(10, 8, CharaDef().Facing(c.facing));
    cShot& sword = Sword(stage, owner, c.scale);
    EXPECT_EQ(sword.StepSword(), 0);
    const std::string what = std::to_string(c.place) + "/" + std::to_string(c.facing) + "/" +
                             std::to_string(c.mirrorX) + std::to_string(c.mirrorY) + "/" + std::to_string(c.scale);
    EXPECT_EQ(sword.m_rcHit.dLeft, c.x) << what;
    EXPECT_EQ(sword.m_rcHit.dTop, c.y) << what;
    EXPECT_EQ(sword.m_nDirection, c.direction) << what;
    EXPECT_EQ(sword.m_nGfxWidth, 24 * c.scale);
    EXPECT_EQ(sword.m_nHitHeight, 8 * c.scale);
    EXPECT_EQ(sword.m_Box.nWidth, 24 * c.scale);
    EXPECT_EQ(sword.m_Box.nBaseHeight, 8);
    EXPECT_EQ(sword.m_Box.rc.dLeft, c.x);
    EXPECT_EQ(sword.m_Box.rc.dBottom, c.y + 8 * c.scale - 1);
  }
}

TEST(Swords, ItFollowsItsOwnerEveryStep) {
  ShotStage stage;
  SwordType(1, 0, 1, 0, 5);
  cChara& owner = stage.Chara(10, 8, CharaDef().Facing(1));
  cShot& sword = Sword(stage, owner);
  sword.StepSword();
  owner.m_rcHit.dLeft += 40;
  owner.m_nDirection = 0;
  sword.StepSword();
  EXPECT_EQ(sword.m_rcHit.dLeft, 620 + 40);
  EXPECT_EQ(sword.m_nDirection, 0);
}

TEST(Swords, AFrameOfDurationOneAtTenStepsAFrameShowsForSixtyOneSteps) {
  ShotStage stage(10);
  SwordType(2, 0, 1, 0, 1);
  cChara& owner = stage.Chara(10, 8);
  cShot& sword = Sword(stage, owner);
  int shown[2] = {0, 0};
  int steps = 0;
  for (;;) {
    const int frame = sword.m_nFrame;
    ++shown[frame];
    ++steps;
    if (sword.StepSword()) break;
    ASSERT_LT(steps, 1000);
  }
  EXPECT_EQ(shown[0], 61);
  EXPECT_EQ(shown[1], 61);
  EXPECT_EQ(steps, 122);
}

TEST(Swords, AHugeDurationSaturatesInsteadOfOverflowing) {
  ShotStage stage(10);
  SwordType(2, 0, 1, 0, INT_MAX / 6);
  cChara& owner = stage.Chara(10, 8);
  cShot& sword = Sword(stage, owner);
  sword.m_nStep = INT_MAX - 1;
  EXPECT_EQ(sword.StepSword(), 0);
  EXPECT_EQ(sword.m_nStep, INT_MAX);
  EXPECT_EQ(sword.m_nFrame, 0);
  EXPECT_EQ(sword.StepSword(), 0);
  EXPECT_EQ(sword.m_nFrame, 1);
}

TEST(Swords, ItEndsWithItsOwnerOrAtOnceWhenItsTypeHasNoFrames) {
  ShotStage stage;
  SwordType(1, 0, 1, 0);
  cChara& owner = stage.Chara(10, 8);
  cShot& sword = Sword(stage, owner);
  sword.m_nOwnerId = 999;  // no such character
  EXPECT_EQ(sword.StepSword(), 1);

  SwordType(0, 0, 1, 0);
  cShot& empty = Sword(stage, owner);
  EXPECT_EQ(empty.m_nHitWidth, 0);
  EXPECT_EQ(empty.StepSword(), 1);
  EXPECT_EQ(empty.StepTrajectory(), 1);
  EXPECT_TRUE(stage.world.events.Texts(EventKind::Log).empty());  // nothing reported
}
