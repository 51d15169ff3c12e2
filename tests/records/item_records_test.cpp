// The item definition: its layout (pop-up flag before the pick-up mode), the
// shot sheet upgrade, validation and normalisation of its commands, and the
// look-up of palette items.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "records/definition_bytes.h"
#include "records/item.h"

namespace {

using ItemRecord = DefinitionTest;

// The 17 fields in file order.
struct ItemValues {
  int kind = 0, index = 0, condMode = 0, condOnce = 0, spareA = 0, spareB = 0;
  int graphic = 0, graphicKind = 2, frame = 0, spareC = 6, transparent = 0, showIcon = 0, icon = 0;
  int popup = 1, mode = 0, scale = 1, sound = 0;
  std::string name;
};

void PutItemHead(Bytes& b, const ItemValues& v, const std::vector<uint8_t>& flags) {
  b.u32(17).u8(static_cast<uint8_t>(v.kind)).i16(static_cast<int16_t>(v.index));
  b.u8(static_cast<uint8_t>(v.condMode)).u8(static_cast<uint8_t>(v.condOnce));
  b.i16(static_cast<int16_t>(v.spareA)).i16(static_cast<int16_t>(v.spareB)).i16(static_cast<int16_t>(v.graphic));
  b.u8(static_cast<uint8_t>(v.graphicKind)).i16(static_cast<int16_t>(v.frame)).u8(static_cast<uint8_t>(v.spareC));
  b.u8(static_cast<uint8_t>(v.transparent)).u8(static_cast<uint8_t>(v.showIcon)).i16(static_cast<int16_t>(v.icon));
  b.u8(static_cast<uint8_t>(v.popup)).u8(static_cast<uint8_t>(v.mode)).u8(static_cast<uint8_t>(v.scale));
  b.i16(static_cast<int16_t>(v.sound));
  b.u32(1).str(v.name);
  b.i16(3).i16(4);
  b.u32(static_cast<uint32_t>(flags.size()));
  for (uint8_t f : flags) b.u8(f);
}

std::string ItemFile(int version, const ItemValues& v, uint32_t commands = 0, const std::string& commandBytes = "") {
  Bytes b;
  b.u32(static_cast<uint32_t>(version));
  PutItemHead(b, v, std::vector<uint8_t>(13, 0));
  b.u32(0).u32(commands).raw(commandBytes);
  return b.s;
}

}  // namespace

TEST_F(ItemRecord, NewItemSavesTheLayoutOfItsDescription) {
  cEdItem item;
  Bytes want;
  want.u32(734);
  PutDefaultItem(want);
  EXPECT_EQ(SaveOne(item), want.s);
}

TEST_F(ItemRecord, PopupFlagComesBeforeThePickupModeAndEveryFieldRoundTrips) {
  ItemValues v;
  v.condMode = 1;
  v.condOnce = 1;
  v.spareA = -300;
  v.spareB = 301;
  v.graphic = 45;
  v.graphicKind = 0;
  v.frame = 7;
  v.spareC = -6;
  v.transparent = 1;
  v.showIcon = 1;
  v.icon = 88;
  v.popup = 0;
  v.mode = 2;
  v.scale = 4;
  v.sound = 3;
  v.name = "coin";
  Bytes commands;
  PutPlainCommand(commands, 1, ITEMCMDTYPE_GAME_WAIT, {12});
  const std::string file = ItemFile(734, v, 1, commands.s);
  cEdItem k = LoadOne<cEdItem>(file);
  EXPECT_EQ(std::make_tuple(k.m_bPickupPopup, k.m_nPickupMode, k.m_nScale, k.m_nPickupSound),
            std::make_tuple(int8_t{0}, int8_t{2}, int8_t{4}, int16_t{3}));
  EXPECT_EQ(std::make_tuple(k.m_nSpareA, k.m_nSpareB, k.m_nGraphic, k.m_nGraphicKind, k.m_nGraphicFrame,
                            k.m_nSpareC, k.m_bTransparent, k.m_bShowIcon, k.m_nIcon),
            std::make_tuple(-300, 301, 45, 0, 7, -6, 1, 1, 88));
  EXPECT_EQ(std::make_tuple(k.m_strName, k.m_nX, k.m_nY), std::make_tuple(std::string("coin"), int16_t{3}, int16_t{4}));
  ASSERT_EQ(k.m_vCommands.size(), 1u);
  EXPECT_EQ(k.m_vCommands[0].m_vParams.at(0), 12);
  EXPECT_EQ(SaveOne(k), file);
}

TEST_F(ItemRecord, OlderFilesNumberTheShotSheetFromItsSecondCell) {
  struct Case {
    int version, kind, graphic, want;
  } cases[] = {{218, 3, 4, 5}, {219, 3, 4, 4}, {218, 2, 4, 4}, {218, 3, 119, 119}};
  for (const Case& c : cases) {
    ItemValues v;
    v.graphicKind = c.kind;
    v.graphic = c.graphic;
    EXPECT_EQ(LoadOne<cEdItem>(ItemFile(c.version, v)).m_nGraphic, c.want) << c.version << " " << c.kind;
  }
}

TEST_F(ItemRecord, ValidationFitsSoundScaleReferenceAndCommands) {
  // Database: 4 sounds, 3 animations. Common palette 3 items, stage palette 2.
  CommonPalette.m_vPaletteItem.resize(3);
  TestStagePalette().m_vPaletteItem.resize(2);
  struct Case {
    const char* what;
    int kind, index, scale, sound;
    int wantKind, wantIndex, wantScale, wantSound;
  } cases[] = {
      {"sound = count", 0, 0, 1, 4, 0, 0, 1, 0},
      {"last sound", 0, 0, 1, 3, 0, 0, 1, 3},
      {"negative sound", 0, 0, 1, -1, 0, 0, 1, 0},
      {"scale 0", 0, 0, 0, 0, 0, 0, 1, 0},
      {"scale -4", 0, 0, -4, 0, 0, 0, 1, 0},
      {"common item 2", 1, 2, 1, 0, 1, 2, 1, 0},
      {"common item 3 of 3", 1, 3, 1, 0, 0, 0, 1, 0},
      {"stage item 2 of 2", 2, 2, 1, 0, 0, 0, 1, 0},
      {"other kind", 7, 2, 1, 0, 7, 2, 1, 0},
  };
  for (const Case& c : cases) {
    ItemValues v;
    v.kind = c.kind;
    v.index = c.index;
    v.scale = c.scale;
    v.sound = c.sound;
    cEdItem loaded = LoadOne<cEdItem>(ItemFile(734, v));
    EXPECT_EQ(std::make_tuple(int(loaded.m_nPaletteKind), int(loaded.m_nPaletteIndex), int(loaded.m_nScale),
                              int(loaded.m_nPickupSound)),
              std::make_tuple(c.wantKind, c.wantIndex, c.wantScale, c.wantSound))
        << c.what << " (load)";
    cEdItem saved;
    saved.m_nPaletteKind = static_cast<int8_t>(c.kind);
    saved.m_nPaletteIndex = static_cast<int16_t>(c.index);
    saved.m_nScale = static_cast<int8_t>(c.scale);
    saved.m_nPickupSound = static_cast<int16_t>(c.sound);
    SaveOne(saved);
    EXPECT_EQ(std::make_tuple(int(saved.m_nPaletteKind), int(saved.m_nPaletteIndex), int(saved.m_nScale),
                              int(saved.m_nPickupSound)),
              std::make_tuple(c.wantKind, c.wantIndex, c.wantScale, c.wantSound))
        << c.what << " (save)";
  }

  // Commands are normalised on load; their palette references only when the
  // palettes ask (NormaliseCommands).
  Bytes commands;
  PutPlainCommand(commands, 1, ITEMCMDTYPE_GET_ITEM, {0, 9, 5});
  cEdItem k = LoadOne<cEdItem>(ItemFile(734, ItemValues(), 1, commands.s));
  ASSERT_EQ(k.m_vCommands.size(), 1u);
  EXPECT_EQ(std::vector<int32_t>(k.m_vCommands[0].m_vParams.begin(), k.m_vCommands[0].m_vParams.end()),
            (std::vector<int32_t>{0, 9}));
  k.NormaliseCommands();
  EXPECT_EQ(k.m_vCommands[0].m_vParams[1], 1);
}

TEST_F(ItemRecord, PaletteItemsAreFoundByKindAndIndex) {
  CommonPalette.m_vPaletteItem.resize(3);
  CommonPalette.m_vPaletteItem[2].m_strName = "common 2";
  TestStagePalette().m_vPaletteItem.resize(2);
  TestStagePalette().m_vPaletteItem[1].m_strName = "stage 1";
  struct Case {
    int kind, index;
    const cEdItem* want;
  } cases[] = {
      {1, 0, &CommonPalette.m_vPaletteItem[0]},
      {1, 2, &CommonPalette.m_vPaletteItem[2]},
      {1, 3, nullptr},
      {2, 1, &TestStagePalette().m_vPaletteItem[1]},
      {2, 2, nullptr},
      {2, -1, nullptr},
      {3, 0, nullptr},
      {0, 0, nullptr},
      {-1, 1, nullptr},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetItemPaletteEntry(static_cast<int8_t>(c.kind), static_cast<int16_t>(c.index)), c.want)
        << c.kind << "," << c.index;
}

TEST_F(ItemRecord, RandomValidRecordsSaveLoadAndSaveTheSameBytes) {
  std::mt19937 rng(219);
  for (int round = 0; round < 50; ++round) {
    cEdItem k;
    k.RegisterFields(734);
    for (const FIELDDESC& d : k.Fields())
      for (int b = 0; b < d.cbSize * d.nCount; ++b) static_cast<uint8_t*>(d.lpData)[b] = static_cast<uint8_t>(rng());
    k.m_nPaletteKind = 0;
    k.m_nGraphicKind = static_cast<int8_t>(rng() % 3);  // no shot-sheet upgrade at 734 either way
    k.m_nScale = static_cast<int8_t>(1 + rng() % 10);
    k.m_nPickupSound = static_cast<int16_t>(rng() % 4);
    k.m_strName = std::to_string(rng());
    k.m_vInherit.assign(rng() % 20, 1);  // kind 0: nothing is inherited
    k.m_vConditions.resize(rng() % 3);
    k.m_vCommands.resize(rng() % 3);
    for (cEdCommand& c : k.m_vCommands) c.m_bItemCommand = 1;
    const std::string once = SaveOne(k);
    cEdItem back = LoadOne<cEdItem>(once);
    EXPECT_EQ(SaveOne(back), once) << round;
  }
}
