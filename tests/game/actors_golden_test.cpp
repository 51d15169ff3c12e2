// Golden sheets of what is drawn over and beside the characters, on each
// back end (the software display at 8 and 16 bits, the 3D device at 32
// bits): the hero with its box markers under its sight mask, a character
// with its drop-item hint, an item with its mark plain and at scale 2, a
// shot in both facings, and a sword. UPDATE_GOLDEN=1 writes them anew.
#include <gtest/gtest.h>

#include "chara_sheet_env.h"
#include "game/shot.h"
#include "game/stage_data.h"
#include "media/system_surfaces.h"
#include "records/shot.h"
#include "records/stage.h"
#include "records/sword_type.h"

using namespace charadraw;

namespace {

struct Layer {
  bool d3d;
  int bpp;
  const char* name;
};
const Layer kLayers[] = {{false, 8, "actors_dd8"}, {false, 16, "actors_dd16"}, {true, 32, "actors3d_32"}};

// A sword of 24 x 8 straight from (0, 0) of Sword.bmp.
void OneSwordType() {
  Database.m_vSwordType.resize(1);
  cEdSwordFrame& frame = Database.m_vSwordType[0].m_vFrame.At(0);
  frame.m_nSrcX = frame.m_nSrcY = 0;
  frame.m_nWidth = 24;
  frame.m_nHeight = 8;
  frame.m_nOffsetX = frame.m_nOffsetY = 0;
}

}  // namespace

class ActorsGolden : public CharaSheetTest {
 protected:
  ~ActorsGolden() override { ReleaseSwords(); }

  // The sword images of type 0: first set plain and mirrored, second set
  // plain and mirrored.
  static bool LoadSwords() {
    Off_Sword.resize(4);
    for (int i = 0; i < 4; ++i)
      if (DDCreateSurfaceFromFile(&Off_Sword[i], "bmp\\Sword.bmp", 1, nBpp, 0, 0, nullptr, 0, i % 2 ? 24 : 0, 0, 0))
        return false;
    return true;
  }
  static void ReleaseSwords() {
    DDReleaseSurfaceVector(Off_Sword);
    Off_Sword.clear();
  }

  // The sight mask: a dark screen with a transparent window of w x h at (x, y).
  static void SightMask(int x, int y, int w, int h) {
    DDFillRect(&SurfaceTable[65], 0, 0, 640, 480, Cube(0, 0, 1));
    DDFillRect(&SurfaceTable[65], x, y, w, h, 0);
  }

  // A shot or a sword of `owner`, filed as the emitter does, a shot at view
  // (x, y), a sword where its owner holds it.
  cShot& Fire(cCharaBase& owner, int type, int x, int y, int scale = 1) {
    cEdShot def;
    def.m_nCount = 1;
    def.m_nScale = static_cast<int8_t>(scale);
    SHOTSPAWN sp;
    sp.nX = x + 320;
    sp.nY = y + 320;
    sp.nWidth = sp.nHeight = 16;
    cShot built;
    built.Init(world.Scene().m_nShotSerial++, owner, type, def, sp);
    cShot& shot = world.Scene().AddShot(built);
    if (type == SHOTMAKER_SWORD) shot.StepSword();
    shot.UpdateScreenRect();
    return shot;
  }

  // An item of graphic 0 with mark 2 (a corner flag) at view (x, y).
  static void DrawItem(cItem& item, int scale, int x, int y) {
    cEdItem def;
    def.m_nScale = static_cast<int8_t>(scale);
    def.m_bShowIcon = 1;
    def.m_nIcon = 2;
    item.Init(0, def, 0);
    PlaceAt(item, x, y);
    item.Draw(&BackBuffer, 0);
  }
};

TEST_F(ActorsGolden, MarkersSightDropHintItemsShotsAndASword) {
  OneSwordType();
  // Markers: the hit box framed in colour 208 + 4 (green run), the
  // pick-up box filled in 208 + 8.
  Stage.m_nShowHitBox = 2;
  Stage.m_nHitBoxColor = 1;
  Stage.m_nShowPickupBox = 1;
  Stage.m_nPickupBoxColor = 2;
  for (const Layer& layer : kLayers) {
    ASSERT_TRUE(StartLayer(layer.d3d, layer.bpp)) << layer.name;
    ASSERT_TRUE(LoadSwords()) << layer.name;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));

    // The hero at (80, 80), seeing a window around itself.
    cEdChara heroDef = testsupport::CharaDef().PlayerOperated().Sight(4);
    heroDef.m_nSightMode = 1;
    testsupport::MapBuilder(std::vector<std::string>(15, std::string(20, '.'))).Build();
    cHero& hero = world.AddHero(heroDef, {2, 2});
    // The view on the map's first cell: view (x, y) is world (x + 320, y + 320).
    world.Scene().m_ScrollX.m_dPos = world.Scene().m_ScrollY.m_dPos = 320;
    hero.m_Anime = cAnimePlayer();
    PlaceAt(hero, 80, 80);
    hero.Draw(&BackBuffer, 1);
    SightMask(16, 16, 160, 160);
    hero.DrawSight(&BackBuffer);
    // Everything else beside it, over the mask.

    // A character with a drop item, its hint due.
    cEdItem dropDef;
    cItem drop;
    drop.Init(0, dropDef, 1);
    cChara& holder = world.AddChara(testsupport::CharaDef(), {2, 2}, 0, &drop);
    holder.m_Anime = cAnimePlayer();
    PlaceAt(holder, 240, 80);
    holder.m_bOnScreen = 1;
    holder.m_nHintCounter = 64;
    holder.Draw(&BackBuffer, 1);
    holder.DrawDropItemHint(&BackBuffer);

    // Items with their mark, plain and at scale 2.
    cItem plain, large;
    DrawItem(plain, 1, 340, 80);
    DrawItem(large, 2, 400, 64);

    // Shots facing left and right, one at scale 2, and the holder's sword
    // in front of it, facing right.
    holder.m_nDirection = 0;
    Fire(holder, SHOTMAKER_SHOT, 80, 240).Draw(&BackBuffer, 1);
    holder.m_nDirection = 1;
    Fire(holder, SHOTMAKER_SHOT, 120, 240).Draw(&BackBuffer, 1);
    Fire(holder, SHOTMAKER_SHOT, 160, 232, 2).Draw(&BackBuffer, 1);
    Fire(holder, SHOTMAKER_SWORD, 0, 0).Draw(&BackBuffer, 1);

    EXPECT_TRUE(testsupport::MatchesGolden(layer.name, Shown())) << layer.name;
    for (auto it = world.Scene().m_Shots.begin(); it != world.Scene().m_Shots.end();) it = world.Scene().EraseShot(it);
    CharaList.clear();
    ReleaseSwords();
  }
}
