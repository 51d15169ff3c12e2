#pragma once
// Hand-written layouts of the block, character and item definitions, field
// by field from their descriptions, and the fixture their tests share: the
// behaviour fixture's database, a fresh common palette answering for the
// common kind, and a stage palette of the test's own answering for the
// stage kind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/block.h"
#include "records/chara.h"
#include "records/command_bytes.h"
#include "records/command_types.h"
#include "records/common_palette.h"
#include "records/item.h"
#include "records/command_vocab.h"
#include "records/palette_entries.h"

// The character's numeric fields in file order (# 1..53 of its table):
// width, first version, class default.
inline std::vector<FieldValue> CharaFields() {
  return {
      {1, 0, 0},   {2, 0, 0},   {1, 0, 0},   {1, 0, 0},   {1, 0, 0},    // 1 kind .. 5 direction
      {1, 0, 0},   {2, 0, 0},   {2, 0, 0},   {2, 0, 0},   {2, 0, 0},    // 6 copies .. 10 step y
      {1, 0, 0},   {1, 0, 0},   {2, 0, 0},   {1, 0, 1},   {2, 0, 0},    // 11 mirror x .. 15 graphic offset
      {2, 0, 0},   {1, 0, 3},   {1, 0, 0},   {2, 0, 0},   {1, 196, 0},  // 16 anime set .. 20 start mode
      {1, 0, 1},   {2, 0, 0},   {1, 196, 0}, {1, 0, 0},   {2, 0, 0},    // 21 loop .. 25 icon
      {1, 0, 1},   {1, 0, 0},   {1, 0, 1},   {1, 0, 0},   {1, 0, 0},    // 26 operator .. 30 fly mode
      {1, 0, 1},   {1, 0, 0},   {1, 285, 0}, {1, 0, 0},   {1, 0, 1},    // 31 fix direction .. 35 scale
      {1, 210, 0}, {1, 0, 0},   {1, 0, 0},   {4, 0, 10},  {4, 0, 0},    // 36 scroll sync .. 40 max sp
      {2, 0, 10},  {1, 201, 0}, {4, 0, 0},   {1, 0, 0},   {2, 0, 0},    // 41 stop .. 45 hit effect
      {4, 168, 0}, {1, 0, 0},   {4, 0, 0},   {1, 0, 1},   {1, 0, 0},    // 46 defence .. 50 join group
      {2, 0, 0},   {1, 0, 0},   {1, 0, 0},                              // 51 group .. 53 activation
  };
}

// The fields with some of them changed: {#, value} with # counted from 1.
inline std::vector<FieldValue> With(std::vector<FieldValue> fields, std::vector<std::pair<int, double>> changes) {
  for (auto [number, value] : changes) fields.at(number - 1).value = value;
  return fields;
}

// A character record of `version`: segment, position, drop item, flags; the
// condition and flow lists follow (written by the caller).
inline void PutCharaHead(Bytes& b, int version, const std::vector<FieldValue>& fields, const std::string& name,
                         int x, int y, int drop, const std::vector<uint8_t>& flags) {
  PutSegment(b, version, fields, {name});
  b.i16(static_cast<int16_t>(x)).i16(static_cast<int16_t>(y)).i32(drop);
  b.u32(static_cast<uint32_t>(flags.size()));
  for (uint8_t f : flags) b.u8(f);
}

// A new block as Save writes it: graphic 0, so it collides with nothing.
inline void PutDefaultBlock(Bytes& b) {
  b.u32(18).u8(0).i16(0).u8(0).u8(0).i16(0).u8(0).i16(0).u8(0).u8(0).u8(0).i16(0);
  b.u8(0).u8(0xFF).u8(0).i32(0).u8(0).i16(0).u8(0);  // hit 0, passed by no side, ...
  b.u32(1).str("");
  b.i16(0).i16(0);
  b.u32(11).raw(std::string(11, '\0'));
  b.u32(0);
}

// A new character as Save writes it.
inline void PutDefaultChara(Bytes& b) {
  b.u32(53);
  b.u8(0).i16(0).u8(0).u8(0).u8(0).u8(0).i16(0).i16(0).i16(0).i16(0).u8(0).u8(0);  // 1..12
  b.i16(0).u8(1).i16(0).i16(0).u8(3).u8(0).i16(0).u8(0).u8(1).i16(0).u8(0);        // 13..23
  b.u8(0).i16(0).u8(1).u8(0).u8(1).u8(0).u8(0).u8(1).u8(0).u8(0).u8(0).u8(1);      // 24..35
  b.u8(0).u8(0).u8(0).i32(10).i32(0).i16(10).u8(0).i32(0).u8(0).i16(0).i32(0);     // 36..46
  b.u8(0).i32(0).u8(1).u8(0).i16(0).u8(0).u8(0);                                    // 47..53
  b.u32(1).str("");
  b.i16(0).i16(0).i32(0);
  b.u32(37).raw(std::string(37, '\0'));
  b.u32(0).u32(0);
}

// A new item as Save writes it.
inline void PutDefaultItem(Bytes& b) {
  b.u32(17).u8(0).i16(0).u8(0).u8(0).i16(0).i16(0).i16(0).u8(2).i16(0).u8(6);
  b.u8(0).u8(0).i16(0).u8(1).u8(0).u8(1).i16(0);
  b.u32(1).str("");
  b.i16(0).i16(0);
  b.u32(13).raw(std::string(13, '\0'));
  b.u32(0).u32(0);
}

// The stage palette the tests stand in with; reset by the fixture.
inline cEdCommonPalette& TestStagePalette() {
  static cEdCommonPalette palette;
  return palette;
}

class DefinitionTest : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    // The common kind: the real common palette, fresh.
    SetPaletteSizeSource(PALETTEKIND_COMMON, m_savedCommonSizes);
    CommonPalette = cEdCommonPalette();
    TestStagePalette() = cEdCommonPalette();
    m_savedStageSizes = GetPaletteSizeSource(PALETTEKIND_STAGE);
    m_savedStageEntries = GetPaletteEntrySource(PALETTEKIND_STAGE);
    SetPaletteSizeSource(PALETTEKIND_STAGE, [](int list) { return TestStagePalette().ListSize(list); });
    SetPaletteEntrySource(PALETTEKIND_STAGE,
                          [](int list, int index) { return TestStagePalette().Entry(list, index); });
  }
  void TearDown() override {
    SetPaletteSizeSource(PALETTEKIND_STAGE, m_savedStageSizes);
    SetPaletteEntrySource(PALETTEKIND_STAGE, m_savedStageEntries);
    CommonPalette = cEdCommonPalette();
    TestStagePalette() = cEdCommonPalette();
    BehaviourTest::TearDown();
  }
  PaletteSizeSource m_savedStageSizes = nullptr;
  PaletteEntrySource m_savedStageEntries = nullptr;
};
