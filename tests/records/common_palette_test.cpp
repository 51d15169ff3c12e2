// The common palette: its file, entry 0 of each list reset to the class
// defaults, inherit flags cleared, at least two entries per list, references
// fitted, and its answers for the common palette kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/close_request.h"
#include "records/definition_bytes.h"

namespace {

using CommonPaletteFile = DefinitionTest;

struct List {
  uint32_t count = 0;
  std::string bytes;
};

std::string PaletteFile(const List& blocks, const List& charas, const List& items, int version = 734) {
  Bytes b;
  b.u32(static_cast<uint32_t>(version)).u32(0).u32(0);
  b.u32(blocks.count).raw(blocks.bytes);
  b.u32(charas.count).raw(charas.bytes);
  b.u32(items.count).raw(items.bytes);
  return b.s;
}

void LoadCommon(const std::string& bytes) {
  cDataReader r(bytes);
  CommonPalette.Load(r);
}

// A character entry: the fields, name, position and flags given; the
// conditions and flows follow (written by the caller).
std::string Chara(const std::vector<std::pair<int, double>>& changes, const std::string& name = "",
                  std::vector<uint8_t> flags = std::vector<uint8_t>(37, 0), int x = 0, int y = 0) {
  Bytes b;
  PutCharaHead(b, 734, With(CharaFields(), changes), name, x, y, 0, flags);
  return b.s;
}

std::vector<uint8_t> FlagsSet(std::vector<int> set, int count = 37) {
  std::vector<uint8_t> flags(static_cast<size_t>(count), 0);
  for (int f : set) flags[static_cast<size_t>(f)] = 1;
  return flags;
}

// Two default entries in every list, as a fresh palette saves.
std::string TwoDefaultsEach() {
  Bytes b;
  b.u32(734).u32(0).u32(0);
  b.u32(2);
  PutDefaultBlock(b);
  PutDefaultBlock(b);
  b.u32(2);
  PutDefaultChara(b);
  PutDefaultChara(b);
  b.u32(2);
  PutDefaultItem(b);
  PutDefaultItem(b);
  return b.s;
}

}  // namespace

TEST_F(CommonPaletteFile, FreshPaletteHasOneDefaultPerListAndSavesTwo) {
  cEdCommonPalette palette;
  EXPECT_EQ(std::make_tuple(palette.m_vPaletteBlock.Size(), palette.m_vPaletteChara.Size(),
                            palette.m_vPaletteItem.Size()),
            std::make_tuple(1, 1, 1));
  EXPECT_EQ(SaveOne(palette), TwoDefaultsEach());
  LoadCommon(PaletteFile({}, {}, {}));
  EXPECT_EQ(SaveOne(CommonPalette), TwoDefaultsEach()) << "empty lists load as two defaults";
}

TEST_F(CommonPaletteFile, OneCharacterWithFlowsBecomesTheResetEntry0AndADefault) {
  Bytes flows;
  Bytes wait;
  PutPlainCommand(wait, 0, ACTCMDTYPE_GAME_WAIT, {30});
  PutFlow(flows, 734, 5, 0, FLOWTRIGGER_ALWAYS, 1, wait.s);
  Bytes chara;
  chara.raw(Chara({{39, 99}, {17, 6}}, "hero", FlagsSet({1, 2}, 5), 3, 4));
  chara.u32(1);
  PutSegment(chara, 734, ConditionFields(CONDTYPE_COMMON_VAR, 8, 0, 0, 0, 0, 0, 0, CMPOP_EQ));
  chara.u32(1).raw(flows.s);
  LoadCommon(PaletteFile({}, {1, chara.s}, {}));

  ASSERT_EQ(CommonPalette.m_vPaletteChara.Size(), 2);
  const cEdChara& entry0 = CommonPalette.m_vPaletteChara[0];
  EXPECT_EQ(std::make_tuple(entry0.m_strName, entry0.m_nMaxHp, entry0.m_nZ), std::make_tuple(std::string(), 10, int8_t{3}));
  EXPECT_EQ(std::vector<uint8_t>(entry0.m_vInherit.begin(), entry0.m_vInherit.end()), std::vector<uint8_t>(37, 0));
  EXPECT_EQ(std::make_pair(entry0.m_nX, entry0.m_nY), std::make_pair(int16_t{3}, int16_t{4}));
  ASSERT_EQ(entry0.m_vConditions.size(), 1u);
  EXPECT_EQ(entry0.m_vConditions[0].m_nConst, 8);
  ASSERT_EQ(entry0.m_vFlows.size(), 1u);
  EXPECT_EQ(entry0.m_vFlows[0].m_nId, 5);
  Bytes fresh;
  fresh.u32(734);
  PutDefaultChara(fresh);
  cEdChara second = CommonPalette.m_vPaletteChara[1];
  EXPECT_EQ(SaveOne(second), fresh.s);
  EXPECT_EQ(std::make_pair(CommonPalette.m_vPaletteBlock.Size(), CommonPalette.m_vPaletteItem.Size()),
            std::make_pair(2, 2));
}

TEST_F(CommonPaletteFile, ItemEntry0LosesNameAndSoundButKeepsItsCommands) {
  Bytes item;
  item.u32(17).u8(0).i16(0).u8(0).u8(0).i16(0).i16(0).i16(5).u8(2).i16(0).u8(6);
  item.u8(0).u8(0).i16(0).u8(1).u8(0).u8(1).i16(3);  // pick-up sound 3
  item.u32(1).str("coin").i16(0).i16(0).u32(13).raw(std::string(13, '\0')).u32(0);
  item.u32(1);
  PutPlainCommand(item, 1, ITEMCMDTYPE_GAME_WAIT, {4});
  LoadCommon(PaletteFile({}, {}, {1, item.s}));
  const cEdItem& entry0 = CommonPalette.m_vPaletteItem[0];
  EXPECT_EQ(std::make_tuple(entry0.m_strName, entry0.m_nPickupSound, entry0.m_nGraphic),
            std::make_tuple(std::string(), int16_t{0}, int16_t{0}));
  ASSERT_EQ(entry0.m_vCommands.size(), 1u);
  EXPECT_EQ(entry0.m_vCommands[0].m_vParams.at(0), 4);
}

TEST_F(CommonPaletteFile, InheritFlagsAreClearedAndTheInheritedValuesStay) {
  Bytes charas;
  charas.raw(Chara({})).u32(0).u32(0);
  charas.raw(Chara({{39, 500}, {40, 20}}, "base")).u32(0).u32(0);
  charas.raw(Chara({{1, 1}, {2, 1}, {39, 7}, {40, 8}}, "own", FlagsSet({0, 23}))).u32(0).u32(0);
  LoadCommon(PaletteFile({}, {3, charas.s}, {}));
  const cEdChara& c = CommonPalette.m_vPaletteChara.At(2);
  EXPECT_EQ(std::make_tuple(c.m_strName, c.m_nMaxHp, c.m_nMaxSp, c.m_nPaletteKind, c.m_nPaletteIndex),
            std::make_tuple(std::string("base"), 500, 8, int8_t{1}, int16_t{1}));
  EXPECT_EQ(std::vector<uint8_t>(c.m_vInherit.begin(), c.m_vInherit.end()), std::vector<uint8_t>(37, 0));
  // Saved and read again, nothing more is inherited.
  const std::string once = SaveOne(CommonPalette);
  LoadCommon(once);
  EXPECT_EQ(SaveOne(CommonPalette), once);
}

TEST_F(CommonPaletteFile, EntriesSeeEarlierEntriesAsReadAndLaterOnesAsDefaults) {
  Bytes charas;
  charas.raw(Chara({})).u32(0).u32(0);
  // 1 names the later entry 2; 2 names itself; 3 names past the list; 4 names 2.
  charas.raw(Chara({{1, 1}, {2, 2}, {39, 55}, {35, 4}}, "one", FlagsSet({0, 23}))).u32(0).u32(0);
  charas.raw(Chara({{1, 1}, {2, 2}, {39, 300}}, "two", std::vector<uint8_t>(37, 1))).u32(0).u32(0);
  charas.raw(Chara({{1, 1}, {2, 9}, {39, 66}}, "three", FlagsSet({23}))).u32(0).u32(0);
  charas.raw(Chara({{1, 1}, {2, 2}, {39, 44}}, "four", FlagsSet({0, 23}))).u32(0).u32(0);
  LoadCommon(PaletteFile({}, {5, charas.s}, {}));
  const cVector<cEdChara>& list = CommonPalette.m_vPaletteChara;
  ASSERT_EQ(list.Size(), 5);
  struct Want {
    std::string name;
    int maxHp, kind, index, scale;
  } want[] = {
      {"", 10, 1, 2, 4},  // a default entry 2: default name and hit points; its own scale
      {"two", 300, 1, 2, 1},
      {"three", 66, 0, 0, 1},
      {"two", 300, 1, 2, 1},
  };
  for (int i = 1; i < 5; ++i) {
    const Want& w = want[i - 1];
    EXPECT_EQ(std::make_tuple(list[i].m_strName, list[i].m_nMaxHp, int(list[i].m_nPaletteKind),
                              int(list[i].m_nPaletteIndex), int(list[i].m_nScale)),
              std::make_tuple(w.name, w.maxHp, w.kind, w.index, w.scale))
        << "entry " << i;
  }
}

TEST_F(CommonPaletteFile, ReferencesPastTheEndAreFitted) {
  // The stage palette holds one entry per list; the common lists hold two
  // each once read.
  Bytes blocks;
  PutDefaultBlock(blocks);
  // Block 1 names stage block 3 and common item 7.
  blocks.u32(18).u8(2).i16(3).u8(0).u8(0).i16(4).u8(0).i16(0).u8(0).u8(0).u8(0).i16(0);
  blocks.u8(1).u8(0xFF).u8(0).i32(0).u8(1).i16(7).u8(0);
  blocks.u32(1).str("").i16(0).i16(0).u32(11).raw(std::string(11, '\0')).u32(0);
  // Character 1 names character 5; its flow gets common item 9.
  Bytes get;
  PutPlainCommand(get, 0, ACTCMDTYPE_GET_ITEM, {0, 9});
  Bytes charas;
  charas.raw(Chara({})).u32(0).u32(0);
  charas.raw(Chara({{1, 1}, {2, 5}})).u32(0).u32(1);
  PutFlow(charas, 734, 1, 0, FLOWTRIGGER_ALWAYS, 1, get.s);
  LoadCommon(PaletteFile({2, blocks.s}, {2, charas.s}, {}));

  const cEdBlock& b = CommonPalette.m_vPaletteBlock.At(1);
  EXPECT_EQ(std::make_tuple(b.m_nItemKind, b.m_nItemIndex, b.m_nPaletteKind, b.m_nPaletteIndex),
            std::make_tuple(int8_t{0}, int16_t{0}, int8_t{0}, int16_t{0}));
  const cEdChara& c = CommonPalette.m_vPaletteChara.At(1);
  EXPECT_EQ(std::make_pair(c.m_nPaletteKind, c.m_nPaletteIndex), std::make_pair(int8_t{0}, int16_t{0}));
  ASSERT_EQ(c.m_vFlows.size(), 1u);
  EXPECT_EQ(c.m_vFlows[0].m_vCommands.At(0).m_vParams.At(1), 1) << "item 9 of 2 becomes item 1";
}

TEST_F(CommonPaletteFile, AnswersForTheCommonKindAndLoadsFromItsFile) {
  Bytes items;
  for (int i = 0; i < 4; ++i) PutDefaultItem(items);
  m_dir.WriteFile("CommonPalette.cplt4", PaletteFile({}, {}, {4, items.s}));
  EXPECT_EQ(CommonPalette.LoadFromFile("CommonPalette.cplt4"), 1);
  EXPECT_EQ(PaletteListSize(PALETTEKIND_COMMON, PALETTELIST_ITEM), 4);
  EXPECT_EQ(PaletteListSize(PALETTEKIND_COMMON, PALETTELIST_BLOCK), 2);
  EXPECT_EQ(GetItemPaletteEntry(1, 3), &CommonPalette.m_vPaletteItem[3]);
  EXPECT_EQ(GetItemPaletteEntry(1, 4), nullptr);
  EXPECT_EQ(PaletteEntry(PALETTEKIND_COMMON, PALETTELIST_CHARA, 1), &CommonPalette.m_vPaletteChara[1]);

  // A file that does not open leaves the palette as it was.
  EXPECT_EQ(CommonPalette.LoadFromFile("missing.cplt4"), 0);
  EXPECT_EQ(CommonPalette.m_vPaletteItem.Size(), 4);
  EXPECT_EQ(Report().find("ends early"), std::string::npos);
}

TEST_F(CommonPaletteFile, CutOrDamagedFilesAreReportedAndKeepWhatWasRead) {
  Bytes charas;
  charas.raw(Chara({})).u32(0).u32(0);
  charas.raw(Chara({{39, 123}}, "kept")).u32(0).u32(0);
  const std::string whole = PaletteFile({}, {2, charas.s}, {});
  // Cut inside the item list's count, then inside the second character.
  LoadCommon(whole.substr(0, whole.size() - 2));
  EXPECT_EQ(CommonPalette.m_vPaletteChara.At(1).m_nMaxHp, 123);
  EXPECT_EQ(CommonPalette.m_vPaletteItem.Size(), 2);
  LoadCommon(whole.substr(0, whole.size() - 40));
  EXPECT_EQ(CommonPalette.m_vPaletteChara.Size(), 2);
  EXPECT_NE(Report().find("CommonPalette.cplt4 : the file ends early or is damaged"), std::string::npos);

  // A count no file could hold reads no list.
  Bytes huge;
  huge.u32(734).u32(0).u32(0).u32(0xFFFFFFFF);
  LoadCommon(huge.s);
  EXPECT_EQ(std::make_tuple(CommonPalette.m_vPaletteBlock.Size(), CommonPalette.m_vPaletteChara.Size(),
                            CommonPalette.m_vPaletteItem.Size()),
            std::make_tuple(2, 2, 2));
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}
