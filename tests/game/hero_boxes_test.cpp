// The hero's boxes: the hit box by fly mode, the contact box by its mode,
// the shot and pick-up boxes centred in the cell, all scaled; the box
// markers sorted largest first; the boxes of other characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "game/map_cells.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

MapBuilder BoxesRoom() { return MapBuilder(std::vector<std::string>(15, std::string(20, '.'))); }

struct Box {
  int x, y, w, h;
  bool operator==(const Box&) const = default;
};

Box Of(const HITBOX& b) { return {b.nOffsetX, b.nOffsetY, b.nWidth, b.nHeight}; }

std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.x << ", " << b.y << ", " << b.w << " x " << b.h << ")";
}

// Stage boxes that tell the settings apart: a hit box of 16 × 24 walking
// (on the cell bottom) and 16 × 16 flying (centred).
void DistinctBoxes(int bContactBottom) {
  Stage.m_nHeroContactW = 10;
  Stage.m_nHeroContactH = 20;
  Stage.m_bHeroContactBottom = bContactBottom;
  Stage.m_nHeroContactFlyW = 12;
  Stage.m_nHeroContactFlyH = 14;
  Stage.m_nHeroShotContactW = 12;
  Stage.m_nHeroShotContactH = 8;
  Stage.m_nHeroShotBoxW = 20;
  Stage.m_nHeroShotBoxH = 6;
  Stage.m_nHeroPickupW = 14;
  Stage.m_nHeroPickupH = 10;
}

}  // namespace

TEST(HeroBoxes, EachBoxByItsModeFlyingAndScale) {
  struct Case {
    const char* name;
    int contactMode, fly, scale, bottom;
    Box hit, contact, shot, pickup;  // offsets from the hit box, sizes
  };
  const Case cases[] = {
      // Contact offsets 16 − hit offset − w / 2, and 32 − hit offset − h on the bottom.
      {"walking, contact box of the stage", 0, FLYMODE_WALK, 1, 1, {8, 8, 16, 24}, {3, 4, 10, 20}, {2, 4, 12, 8},
       {1, 3, 14, 10}},
      {"contact box centred", 0, FLYMODE_WALK, 1, 0, {8, 8, 16, 24}, {3, -2, 10, 20}, {2, 4, 12, 8}, {1, 3, 14, 10}},
      {"flying", 0, FLYMODE_STOPPED, 1, 1, {8, 8, 16, 16}, {2, 1, 12, 14}, {2, 4, 12, 8}, {1, 3, 14, 10}},
      {"mode 1: the shot-contact size", 1, FLYMODE_WALK, 1, 1, {8, 8, 16, 24}, {2, 4, 12, 8}, {2, 4, 12, 8},
       {1, 3, 14, 10}},
      {"mode 2: the shot box size", 2, FLYMODE_WALK, 1, 1, {8, 8, 16, 24}, {-2, 5, 20, 6}, {2, 4, 12, 8},
       {1, 3, 14, 10}},
      {"mode 3: the whole cell", 3, FLYMODE_WALK, 1, 1, {8, 8, 16, 24}, {-8, -8, 32, 32}, {2, 4, 12, 8},
       {1, 3, 14, 10}},
      {"scale 2", 0, FLYMODE_WALK, 2, 1, {16, 16, 32, 48}, {6, 8, 20, 40}, {4, 8, 24, 16}, {2, 6, 28, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    BoxesRoom().Build();
    DistinctBoxes(c.bottom);
    cEdChara def = CharaDef().PlayerOperated().Fly(c.fly).Scale(c.scale);
    def.m_nHitBoxMode = static_cast<int8_t>(c.contactMode);
    cHero& hero = world.AddHero(def, {5, 5});
    EXPECT_EQ((Box{hero.m_nOffsetX, hero.m_nOffsetY, hero.m_nHitWidth, hero.m_nHitHeight}), c.hit);
    EXPECT_EQ(Of(hero.m_Contact), c.contact);
    EXPECT_EQ(Of(hero.m_ShotContact), c.shot);
    EXPECT_EQ(Of(hero.m_PickupBox), c.pickup);
    // Each box stands where its offset says from the truncated position.
    const double x = hero.m_rcHit.dLeft;
    EXPECT_EQ(hero.m_PickupBox.rc.dLeft, static_cast<int>(x) + c.pickup.x);
    EXPECT_EQ(hero.m_PickupBox.rc.dRight, static_cast<int>(x) + c.pickup.x + c.pickup.w - 1);
    EXPECT_EQ(hero.m_Contact.rc.dTop, static_cast<int>(hero.m_rcHit.dTop) + c.contact.y);
    EXPECT_EQ(hero.m_Contact.rc.dBottom, static_cast<int>(hero.m_rcHit.dTop) + c.contact.y + c.contact.h - 1);
  }
}

TEST(HeroBoxes, SwitchingFlyModeRebuildsTheBoxesAndStopsAHeroThatLands) {
  GameWorld world;
  BoxesRoom().Build();
  DistinctBoxes(1);
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Scale(2), {5, 5});
  hero.m_nCrushGrace = 0;
  hero.SetFlyMode(FLYMODE_STOPPED, 1);
  EXPECT_EQ(hero.m_Def.m_nFlyMode, FLYMODE_STOPPED);
  EXPECT_EQ(hero.m_bNoGravity, 1);
  EXPECT_EQ(hero.m_nCrushGrace, 2);
  EXPECT_EQ((Box{hero.m_nOffsetX, hero.m_nOffsetY, hero.m_nHitWidth, hero.m_nHitHeight}), (Box{16, 16, 32, 32}));
  EXPECT_EQ(hero.m_nBaseHitHeight, 16) << "the scale-1 values stay";
  EXPECT_EQ(Of(hero.m_Contact), (Box{4, 2, 24, 28}));
  hero.m_dVx = hero.m_dVy = hero.m_dInertiaX = hero.m_dInertiaY = 2;
  hero.m_nCrushGrace = 0;
  hero.SetFlyMode(FLYMODE_THROUGH, 0);
  EXPECT_EQ(hero.m_nCrushGrace, 0) << "still flying";
  EXPECT_EQ(hero.m_dVx, 2);
  EXPECT_EQ(hero.m_nHitWidth, 16) << "unscaled";
  hero.SetFlyMode(FLYMODE_WALK, 0);
  EXPECT_EQ(hero.m_nCrushGrace, 2);
  EXPECT_EQ(hero.m_dVx + hero.m_dVy + hero.m_dInertiaX + hero.m_dInertiaY, 0);
}

TEST(HeroBoxes, MarkersGoLargestFirstAndEqualAreasKeepTheirOrder) {
  struct Case {
    int pickupW, pickupH, contactMode;
    std::vector<int> anchors;
  };
  // Hit 16 × 24 = 384, contact 10 × 20 = 200 (mode 0) or 12 × 8 (mode 1), shot 12 × 8 = 96.
  const Case cases[] = {
      {14, 10, 0, {BOXANCHOR_HIT, BOXANCHOR_CONTACT, BOXANCHOR_PICKUP, BOXANCHOR_SHOT}},
      {24, 16, 0, {BOXANCHOR_HIT, BOXANCHOR_PICKUP, BOXANCHOR_CONTACT, BOXANCHOR_SHOT}},  // 384 = 384
      {30, 30, 0, {BOXANCHOR_PICKUP, BOXANCHOR_HIT, BOXANCHOR_CONTACT, BOXANCHOR_SHOT}},
      {8, 12, 1, {BOXANCHOR_HIT, BOXANCHOR_PICKUP, BOXANCHOR_CONTACT, BOXANCHOR_SHOT}},   // 96 × 3
  };
  for (const Case& c : cases) {
    GameWorld world;
    BoxesRoom().Build();
    DistinctBoxes(1);
    Stage.m_nHeroPickupW = c.pickupW;
    Stage.m_nHeroPickupH = c.pickupH;
    Stage.m_nShowHitBox = 1;
    Stage.m_nHitBoxColor = 7;
    Stage.m_nShowContactBox = 2;
    Stage.m_nContactBoxColor = 1;
    cEdChara def = CharaDef().PlayerOperated();
    def.m_nHitBoxMode = static_cast<int8_t>(c.contactMode);
    cHero& hero = world.AddHero(def, {5, 5});
    std::vector<int> anchors;
    for (const BOXMARKER& m : hero.m_vMarkers) {
      anchors.push_back(m.nAnchor);
      if (m.nAnchor == BOXANCHOR_HIT) {
        EXPECT_EQ(m.nMode * 1000 + m.nColor, 1000 + 236);
      }
      if (m.nAnchor == BOXANCHOR_CONTACT) {
        EXPECT_EQ(m.nMode * 1000 + m.nColor, 2000 + 212);
      }
      if (m.nAnchor == BOXANCHOR_SHOT) {
        EXPECT_EQ(m.nMode * 1000 + m.nColor, 208);
      }
    }
    EXPECT_EQ(anchors, c.anchors) << c.pickupW << " x " << c.pickupH;
  }
}

TEST(CharaBoxes, HitAndContactBoxesOfOtherCharacters) {
  struct Case {
    const char* name;
    int block, fly, contactMode, scale;
    Box hit, contact, shot;
  };
  // The stage's defaults: hit 16 × 24 walking (bottom), 16 × 16 flying;
  // contact 12 × 24 (bottom) and 12 × 16; shot contact 30 × 30; shot box 16 × 16.
  const Case cases[] = {
      {"walking", 0, FLYMODE_WALK, 0, 1, {8, 8, 16, 24}, {2, 0, 12, 24}, {-7, -7, 30, 30}},
      {"flying", 0, FLYMODE_STOPPED, 0, 1, {8, 8, 16, 16}, {2, 0, 12, 16}, {-7, -7, 30, 30}},
      {"mode 1", 0, FLYMODE_WALK, 1, 1, {8, 8, 16, 24}, {-7, -7, 30, 30}, {-7, -7, 30, 30}},
      {"mode 2", 0, FLYMODE_WALK, 2, 1, {8, 8, 16, 24}, {0, 0, 16, 16}, {-7, -7, 30, 30}},
      {"mode 3", 0, FLYMODE_WALK, 3, 1, {8, 8, 16, 24}, {-8, -8, 32, 32}, {-7, -7, 30, 30}},
      {"scale 3", 0, FLYMODE_WALK, 0, 3, {24, 24, 48, 72}, {6, 0, 36, 72}, {-21, -21, 90, 90}},
      {"block character", 1, FLYMODE_WALK, 0, 1, {0, 0, 32, 32}, {0, 0, 0, 0}, {0, 0, 32, 32}},
      {"block character, scale 2", 1, FLYMODE_WALK, 0, 2, {0, 0, 64, 64}, {0, 0, 64, 64}, {0, 0, 64, 64}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld world;
    BoxesRoom().Build();
    CharaDef def = CharaDef().Fly(c.fly).Scale(c.scale);
    if (c.block) def.BlockChara();
    def.Def().m_nHitBoxMode = static_cast<int8_t>(c.contactMode);
    cChara& chara = world.AddChara(def, {5, 5});
    EXPECT_EQ((Box{chara.m_nOffsetX, chara.m_nOffsetY, chara.m_nHitWidth, chara.m_nHitHeight}), c.hit);
    EXPECT_EQ(Of(chara.m_Contact), c.contact);
    EXPECT_EQ(Of(chara.m_ShotContact), c.shot);
    EXPECT_EQ(chara.m_ShotContact.rc.dLeft, static_cast<int>(chara.m_rcHit.dLeft) + c.shot.x);
  }
}
