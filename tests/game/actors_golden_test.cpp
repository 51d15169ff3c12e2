// A golden picture of the hero with its four box markers, a character with
// its drop-item hint, and items plain, at scale 2 and marked, on the
// software display at 16 bits and the 3D device at 32 bits. UPDATE_GOLDEN=1
// writes them anew.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chara_sheet_env.h"
#include "platform/bmp_bytes.h"
#include "records/stage.h"

using namespace charadraw;

namespace {

// An 8-bit image in the sheets' palette.
void WriteImage(const std::string& name, int w, int h, const std::vector<uint8_t>& pixels) {
  using namespace bmpbytes;
  std::vector<uint32_t> table;
  for (int i = 0; i < 256; ++i) table.push_back(PaletteColour(i));
  const int stride = (w + 3) & ~3;
  std::string rows;
  for (int y = h - 1; y >= 0; --y) {
    rows.append(reinterpret_cast<const char*>(pixels.data()) + static_cast<size_t>(y) * w, static_cast<size_t>(w));
    rows.append(static_cast<size_t>(stride - w), '\0');
  }
  const std::string bytes = File(Info(w, h, 8, 0, 256), Table(table), rows);
  ASSERT_TRUE(plat::WriteFileAtomic(name, bytes.data(), bytes.size())) << name;
}

// Item 1 of Item.bmp: a green gem in its first cell, a lime one in its
// second; its small icon in Item_Mini.bmp a pink square.
void WriteItemImages() {
  std::vector<uint8_t> items(64 * 64, kBlack);
  for (int frame = 0; frame < 2; ++frame)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (std::abs(x - 15) + std::abs(y - 15) <= 12)
          items[static_cast<size_t>((32 + y) * 64 + frame * 32 + x)] = frame ? kLime : kGreen;
  WriteImage("bmp\\Item.bmp", 64, 64, items);
  std::vector<uint8_t> mini(32 * 32, kBlack);
  for (int y = 18; y < 30; ++y)
    for (int x = 2; x < 14; ++x) mini[static_cast<size_t>(y * 32 + x)] = kPink;
  WriteImage("bmp\\Item_Mini.bmp", 32, 32, mini);
}

cEdItem Gem(int scale, int marked) {
  cEdItem def;
  def.m_nGraphic = 1;
  def.m_nScale = static_cast<int8_t>(scale);
  def.m_bShowIcon = static_cast<int8_t>(marked);
  def.m_nIcon = 1;
  return def;
}

}  // namespace

class ActorsGolden : public CharaSheetTest {
 protected:
  ActorsGolden() { WriteItemImages(); }

  bool LoadItemImages() {
    static const int kImages[] = {SURFACE_ITEMS, SURFACE_ITEMS + 1, SURFACE_ITEM_ICONS};
    return DDLoadSurfaces(SurfaceTable, kImages, static_cast<int>(std::size(kImages)));
  }

  // The figure as the hero at view (L, T), every box marked: the hit box
  // and the pick-up box filled, the contact and shot boxes framed.
  void DrawHero(int L, int T) {
    Stage.m_nHeroContactW = 20;
    Stage.m_nHeroContactH = 28;
    Stage.m_nHeroPickupW = 12;
    Stage.m_nHeroPickupH = 12;
    Stage.m_nHeroShotContactW = 24;
    Stage.m_nHeroShotContactH = 6;
    Stage.m_nShowHitBox = 1;
    Stage.m_nHitBoxColor = 0;
    Stage.m_nShowContactBox = 2;
    Stage.m_nContactBoxColor = 1;
    Stage.m_nShowPickupBox = 1;
    Stage.m_nPickupBoxColor = 2;
    Stage.m_nShowShotBox = 2;
    Stage.m_nShotBoxColor = 3;
    cHero& hero = world.AddHero(testsupport::CharaDef().PlayerOperated(), {2, 2});
    hero.m_Def.m_nGraphicOffset = 0;
    hero.m_nGraphic = 0;
    hero.m_nDirection = 0;
    hero.m_Anime = cAnimePlayer();
    PlaceAt(hero, L, T);
    hero.Draw(&BackBuffer, 1);
  }

  // The figure holding a gem, its hint showing.
  void DrawHolder(int L, int T) {
    cItem drop;
    drop.Init(0, Gem(1, 0), 1);
    cChara& c = AddFigure(1, false, L, T);
    c.m_DropItem = drop;
    c.m_bOnScreen = 1;
    c.m_nHintCounter = 64;
    c.Draw(&BackBuffer, 1);
    c.DrawDropItemHint(&BackBuffer);
  }

  // A gem at view (L, T) showing its cell `frame`.
  void DrawGem(int scale, int marked, int frame, int L, int T) {
    cItem item;
    item.Init(1, Gem(scale, marked), 0);
    for (int f = 0; f < frame * 15; ++f) item.m_Anime.Advance();
    item.m_rcScreen.nLeft = L;
    item.m_rcScreen.nTop = T;
    item.Draw(&BackBuffer, 0);
  }
};

TEST_F(ActorsGolden, HeroMarkersDropHintAndItems) {
  struct Layer {
    bool d3d;
    int bpp;
    const char* name;
  };
  const Layer layers[] = {{false, 16, "actors_16"}, {true, 32, "actors3d_32"}};
  for (const Layer& layer : layers) {
    ASSERT_TRUE(StartLayer(layer.d3d, layer.bpp)) << layer.name;
    ASSERT_TRUE(LoadItemImages()) << layer.name;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));
    DrawHero(40, 40);
    DrawHolder(120, 40);
    DrawGem(1, 0, 0, 200, 40);
    DrawGem(1, 0, 1, 240, 40);
    DrawGem(2, 1, 0, 280, 8);
    EXPECT_TRUE(testsupport::MatchesGolden(layer.name, Shown())) << layer.name;
  }
}
