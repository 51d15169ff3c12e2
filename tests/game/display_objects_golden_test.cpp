// The display objects of a stage as the player sees them, against golden
// images (UPDATE_GOLDEN=1 writes them anew): on the software display at 16
// bits and on the 3D device at 32, a framed and a plain window, a box half
// open, both pop-ups, a stretched effect frame and a picture at 50 %.
#include "display_objects_env.h"
#include "game/effect_instance.h"
#include "game/message_window.h"
#include "game/picture_instance.h"
#include "records/palette_ref.h"

namespace {

class DisplayObjectsGolden : public DisplayObjects {
 protected:
  void TearDown() override {
    PlayData.Reset();
    DisplayObjects::TearDown();
  }

  // A colour-keyed w × h surface of colour `fill` with an inner rectangle of
  // `inner` and a transparent hole in its middle.
  static void Paint(DDSURFACEDATA* sd, int w, int h, int fill, int inner) {
    ASSERT_TRUE(DDCreateSurface(sd, w, h, 1, 1, 0, nullptr, 0));
    DDFillSurface(sd, fill);
    DDFillRect(sd, w / 4, h / 4, w / 2, h / 2, inner);
    DDFillRect(sd, w / 2 - 1, h / 2 - 1, 2, 2, 0);
  }

  void DrawStage() {
    MakeMessageFont(16, true);
    PlayData.m_vCommonVar.At(5) = 42;
    cHero& hero = PlaceHero(96, 300);
    // Item icon 1 of the small icons; the extra-life icon of the accessory image.
    ASSERT_TRUE(DDCreateSurface(&SurfaceTable[SURFACE_ITEM_ICONS], 64, 64, 1, 1, 0, nullptr, 0));
    DDFillRect(&SurfaceTable[SURFACE_ITEM_ICONS], 0, 16, 16, 16, 3);
    DDFillRect(&SurfaceTable[SURFACE_ITEM_ICONS], 4, 20, 8, 8, 4);
    ASSERT_TRUE(DDCreateSurface(&SurfaceTable[49], 128, 32, 1, 1, 0, nullptr, 0));
    DDFillRect(&SurfaceTable[49], 48, 0, 16, 16, kFrame);
    DDFillRect(&SurfaceTable[49], 52, 4, 8, 8, kText);
    SetEffect(1, 20, 10, 0, {0});
    Off_Effect.resize(2);
    Off_EffectDef.resize(2);
    Paint(&Off_Effect[0], 20, 10, 3, 4);
    Paint(&Off_Effect[1], 20, 10, 3, 4);
    Off_Picture.emplace_back();
    Off_PictureDef.emplace_back();
    Paint(&Off_Picture.back(), 128, 64, 2, kText);

    DDFillSurface(&BackBuffer, 20);
    // "Ag #C5" framed at screen cell (1, 1); "あ漢字" over "Ag" plain at (1, 3).
    cMessageWindow framed(MESSAGEMODE_TEXT, "Ag #C5", 0, 0, 0, MESSAGEPLACE_SCREEN_CELL, 1, 1, 0, 0, 0, 1,
                          MESSAGEDISPLAY_STAGE, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0);
    cMessageWindow plain(MESSAGEMODE_TEXT, "\x82\xA0\x8A\xBF\x8E\x9A\nAg", 0, 0, 0, MESSAGEPLACE_SCREEN_CELL, 1, 3, 0,
                         0, 0, 1, MESSAGEDISPLAY_STAGE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    // A fresh key wait after 5 of its 9 opening frames.
    cMessageWindow opening(MESSAGEMODE_TEXT, "AgAgAgAg", 0, 0, 0, MESSAGEPLACE_SCREEN_CELL, 10, 1, 0, 0, 0, 1,
                           MESSAGEDISPLAY_KEY, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0);
    cMessageWindow pickup(MESSAGEMODE_PICKUP, nullptr, GRAPHICKIND_ITEM, 1, 0, 4, 0, 0, 0, 0, 0, 1,
                          MESSAGEDISPLAY_TIME, 30, 0, hero.m_nId, 0, 0, 0, 0, 0, 0, 0);
    cMessageWindow life(MESSAGEMODE_EXTRALIFE, nullptr, 0, 0, 0, MESSAGEPLACE_SCREEN_CELL, 6, 9, 0, 0, 0, 1,
                        MESSAGEDISPLAY_TIME, 30, 1, 0, 0, 0, 0, 0, 0, 0, 0);
    EFFECTSPAWN spawn;
    spawn.nEffect = 1;
    spawn.dX = 400;
    spawn.dY = 100;
    spawn.nWidth = 60;
    spawn.nHeight = 30;
    cEffectInstance effect(spawn);
    cPictureInstance picture;
    picture.Init(1, 400, 300, 64, 32, 0, 0, 50, 1, 0, 0, 0, 0);

    picture.Draw(&BackBuffer, &Off_Picture.back(), 0);
    effect.Draw(&BackBuffer, 0);
    framed.Draw(&BackBuffer, 0);
    plain.Draw(&BackBuffer, 0);
    for (int i = 0; i < 5; ++i) opening.Draw(&BackBuffer, 1);
    for (int i = 0; i < 9; ++i) pickup.Draw(&BackBuffer, 0);
    for (int i = 0; i < 9; ++i) life.Draw(&BackBuffer, 1);
  }
};

TEST_F(DisplayObjectsGolden, OnTheSoftwareDisplayAt16Bits) {
  ASSERT_TRUE(Start(16));
  DrawStage();
  EXPECT_TRUE(testsupport::MatchesGolden("display_objects_16", Shown()));
}

TEST_F(DisplayObjectsGolden, OnThe3DDeviceAt32Bits) {
  ASSERT_TRUE(Start3D(32));
  DrawStage();
  EXPECT_TRUE(testsupport::MatchesGolden("display_objects3d_32", Shown()));
}

}  // namespace
