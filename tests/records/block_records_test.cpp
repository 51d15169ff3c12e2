// The block definition: its layout, the shot sheet upgrade, validation of
// its palette and item references.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>

#include "records/block.h"
#include "records/definition_bytes.h"

namespace {

using BlockRecord = DefinitionTest;

// A block segment of every version: the 18 fields in file order.
struct BlockValues {
  int kind = 0, index = 0;
  int condMode = 0, condOnce = 0;
  int graphic = 0, graphicKind = 0, frame = 0;
  int layer = 0, transparent = 0, showIcon = 0, icon = 0;
  int hit = 1, pass = -1, effect = 0, effectValue = 0;
  int itemKind = 0, itemIndex = 0, protect = 0;
  std::string name;
};

void PutBlock(Bytes& b, const BlockValues& v, std::vector<uint8_t> flags = std::vector<uint8_t>(11, 0),
              int x = 0, int y = 0) {
  b.u32(18).u8(static_cast<uint8_t>(v.kind)).i16(static_cast<int16_t>(v.index));
  b.u8(static_cast<uint8_t>(v.condMode)).u8(static_cast<uint8_t>(v.condOnce));
  b.i16(static_cast<int16_t>(v.graphic)).u8(static_cast<uint8_t>(v.graphicKind)).i16(static_cast<int16_t>(v.frame));
  b.u8(static_cast<uint8_t>(v.layer)).u8(static_cast<uint8_t>(v.transparent)).u8(static_cast<uint8_t>(v.showIcon));
  b.i16(static_cast<int16_t>(v.icon)).u8(static_cast<uint8_t>(v.hit)).u8(static_cast<uint8_t>(v.pass));
  b.u8(static_cast<uint8_t>(v.effect)).i32(v.effectValue).u8(static_cast<uint8_t>(v.itemKind));
  b.i16(static_cast<int16_t>(v.itemIndex)).u8(static_cast<uint8_t>(v.protect));
  b.u32(1).str(v.name);
  b.i16(static_cast<int16_t>(x)).i16(static_cast<int16_t>(y));
  b.u32(static_cast<uint32_t>(flags.size()));
  for (uint8_t f : flags) b.u8(f);
}

}  // namespace

TEST_F(BlockRecord, NewBlockSavesTheLayoutOfItsDescription) {
  cEdBlock block;
  EXPECT_EQ(std::make_tuple(block.m_nHit, block.m_nPassFaction, block.m_vInherit.Size()),
            std::make_tuple(int8_t{1}, int8_t{-1}, 11));
  Bytes want;
  want.u32(734);
  PutDefaultBlock(want);
  EXPECT_EQ(SaveOne(block), want.s);
}

TEST_F(BlockRecord, EveryFieldLoadsFromItsPlaceAndSavesBack) {
  BlockValues v;
  v.condMode = 1;
  v.condOnce = 1;
  v.graphic = 77;
  v.graphicKind = 1;
  v.frame = 23;
  v.layer = 1;
  v.transparent = 1;
  v.showIcon = 1;
  v.icon = 119;
  v.hit = 2;
  v.pass = 5;
  v.effect = 3;
  v.effectValue = -150;
  v.itemKind = 1;
  v.itemIndex = 0;
  v.protect = 1;
  v.name = testsupport::Sjis("岩");
  Bytes b;
  b.u32(734);
  PutBlock(b, v, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 12, -3);
  b.u32(1);
  PutSegment(b, 734, ConditionFields(CONDTYPE_COMMON_VAR, 4, 0, 0, 0, 0, 0, 0, CMPOP_GE));
  cEdBlock k = LoadOne<cEdBlock>(b.s);
  EXPECT_EQ(std::make_tuple(k.m_nCondMode, k.m_bCondOnce, k.m_nGraphic, k.m_nGraphicKind, k.m_nGraphicFrame,
                            k.m_nLayer, k.m_bTransparent, k.m_bShowIcon, k.m_nIcon),
            std::make_tuple(1, 1, 77, 1, 23, 1, 1, 1, 119));
  EXPECT_EQ(std::make_tuple(k.m_nHit, k.m_nPassFaction, k.m_nEffect, k.m_nEffectValue, k.m_nItemKind,
                            k.m_nItemIndex, k.m_bProtected),
            std::make_tuple(2, 5, 3, -150, 1, 0, 1));
  EXPECT_EQ(std::make_tuple(k.m_strName, k.m_nX, k.m_nY), std::make_tuple(v.name, int16_t{12}, int16_t{-3}));
  EXPECT_EQ(k.m_vInherit.Size(), 11);
  ASSERT_EQ(k.m_vConditions.size(), 1u);
  EXPECT_EQ(k.m_vConditions[0].m_nConst, 4);
  EXPECT_EQ(SaveOne(k), b.s);
}

TEST_F(BlockRecord, StoredByte255IsNoPassingSideAndFlagCountIsTakenAsStored) {
  for (int count : {0, 3, 11, 14}) {
    Bytes b;
    b.u32(734);
    BlockValues v;
    v.graphic = 1;
    PutBlock(b, v, std::vector<uint8_t>(count, 0));
    b.u32(0);
    cEdBlock k = LoadOne<cEdBlock>(b.s);
    EXPECT_EQ(k.m_nPassFaction, -1);
    EXPECT_EQ(k.m_vInherit.Size(), count);
    EXPECT_EQ(SaveOne(k), b.s) << count;
  }
}

TEST_F(BlockRecord, OlderFilesNumberTheShotSheetFromItsSecondCell) {
  struct Case {
    int version, kind, graphic, want;
  } cases[] = {
      {218, 3, 0, 1}, {218, 3, 4, 5}, {218, 3, 118, 119}, {218, 3, 119, 119}, {218, 3, 300, 119},
      {218, 2, 4, 4}, {219, 3, 4, 4},   {100, 3, 7, 8},
  };
  for (const Case& c : cases) {
    Bytes b;
    b.u32(c.version);
    BlockValues v;
    v.graphicKind = c.kind;
    v.graphic = c.graphic;
    PutBlock(b, v);
    b.u32(0);
    EXPECT_EQ(LoadOne<cEdBlock>(b.s).m_nGraphic, c.want) << c.version << " kind " << c.kind << " " << c.graphic;
  }
}

TEST_F(BlockRecord, EmptyCellNeitherCollidesNorIsProtected) {
  cEdBlock empty;
  empty.m_nHit = 2;
  empty.m_bProtected = 1;
  empty.Validate();
  EXPECT_EQ(std::make_pair(empty.m_nHit, empty.m_bProtected), std::make_pair(int8_t{0}, int8_t{0}));
  cEdBlock solid;
  solid.m_nGraphic = 3;
  solid.m_nHit = 2;
  solid.m_bProtected = 1;
  cEdBlock back = LoadOne<cEdBlock>(SaveOne(solid));
  EXPECT_EQ(std::make_pair(back.m_nHit, back.m_bProtected), std::make_pair(int8_t{2}, int8_t{1}));
}

TEST_F(BlockRecord, PaletteAndItemReferencesFitThePalettes) {
  // Common palette: 3 blocks, 4 items; stage palette: 5 blocks, 2 items.
  CommonPalette.m_vPaletteBlock.resize(3);
  CommonPalette.m_vPaletteItem.resize(4);
  TestStagePalette().m_vPaletteBlock.resize(5);
  TestStagePalette().m_vPaletteItem.resize(2);
  struct Case {
    int kind, index, wantKind, wantIndex;
  } cases[] = {
      {1, 2, 1, 2}, {1, 3, 0, 0}, {1, -1, 0, 0}, {2, 4, 2, 4}, {2, 5, 0, 0},
      {2, 0, 2, 0}, {0, 9, 0, 9}, {3, 9, 3, 9},  // other kinds are left alone
  };
  for (const Case& c : cases) {
    cEdBlock palette;
    palette.m_nPaletteKind = static_cast<int8_t>(c.kind);
    palette.m_nPaletteIndex = static_cast<int16_t>(c.index);
    palette.Validate();
    EXPECT_EQ(std::make_pair(int(palette.m_nPaletteKind), int(palette.m_nPaletteIndex)),
              std::make_pair(c.wantKind, c.wantIndex))
        << "block reference " << c.kind << "," << c.index;
  }
  struct ItemCase {
    int kind, index, wantKind, wantIndex;
  } items[] = {
      {1, 3, 1, 3}, {1, 4, 0, 0}, {2, 1, 2, 1}, {2, 2, 0, 0}, {2, -5, 0, 0}, {4, 99, 4, 99},
  };
  for (const ItemCase& c : items) {
    cEdBlock block;
    block.m_nItemKind = static_cast<int8_t>(c.kind);
    block.m_nItemIndex = static_cast<int16_t>(c.index);
    block.Validate();
    EXPECT_EQ(std::make_pair(int(block.m_nItemKind), int(block.m_nItemIndex)), std::make_pair(c.kind, c.index))
        << "Validate leaves the item alone";
    block.ValidateItemRef();
    EXPECT_EQ(std::make_pair(int(block.m_nItemKind), int(block.m_nItemIndex)),
              std::make_pair(c.wantKind, c.wantIndex))
        << "item reference " << c.kind << "," << c.index;
  }
}

TEST_F(BlockRecord, CutFileKeepsWhatItRead) {
  Bytes b;
  b.u32(734);
  BlockValues v;
  v.graphic = 9;
  v.icon = 40;
  PutBlock(b, v);
  b.u32(3);  // three conditions announced, none there
  cEdBlock k = LoadOne<cEdBlock>(b.s);
  EXPECT_EQ(k.m_nIcon, 40);
  EXPECT_TRUE(k.m_vConditions.empty());
  cEdBlock cut = LoadOne<cEdBlock>(b.s.substr(0, 20));
  EXPECT_EQ(cut.m_nGraphic, 9);
  EXPECT_EQ(cut.m_nIcon, 0);
}

TEST_F(BlockRecord, RandomValidRecordsSaveLoadAndSaveTheSameBytes) {
  std::mt19937 rng(218);
  for (int round = 0; round < 50; ++round) {
    cEdBlock k;
    k.RegisterFields(734);
    for (const FIELDDESC& d : k.Fields())
      for (int b = 0; b < d.cbSize * d.nCount; ++b) static_cast<uint8_t*>(d.lpData)[b] = static_cast<uint8_t>(rng());
    k.m_nPaletteKind = 0;  // a reference that does not resolve would be dropped
    k.m_nItemKind = static_cast<int8_t>(rng() % 2 ? 0 : 5);
    k.m_strName = std::to_string(rng());
    k.m_nX = static_cast<int16_t>(rng());
    k.m_nY = static_cast<int16_t>(rng());
    k.m_vInherit.assign(rng() % 15, 1);
    k.m_vConditions.resize(rng() % 3);
    const std::string once = SaveOne(k);
    cEdBlock back = LoadOne<cEdBlock>(once);
    EXPECT_EQ(SaveOne(back), once) << round;
  }
}
