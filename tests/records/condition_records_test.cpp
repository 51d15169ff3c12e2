// Conditions and key conditions: layouts by version, upgrades of older
// files, key states as stored.
#include <gtest/gtest.h>

#include "records/command_bytes.h"
#include "records/command_vocab.h"

namespace {

std::pair<int, int> Layout(cRecord& record, int version) {
  record.RegisterFields(version);
  int bytes = 0;
  for (const FIELDDESC& d : record.Fields()) bytes += d.nCount * d.cbSize;
  return {record.Fields().Size(), bytes};
}

struct CondValues {
  int type, subject, item, operandItem, compare;
  bool operator==(const CondValues&) const = default;
};

std::ostream& operator<<(std::ostream& os, const CondValues& v) {
  return os << "{type " << v.type << ", subject " << v.subject << ", item " << v.item << ", operand item "
            << v.operandItem << ", compare " << v.compare << "}";
}

CondValues Values(const cEdCondition& c) {
  return {c.m_nType, c.m_nSubject, c.m_nItem, c.m_nOperandItem, c.m_nCompare};
}

}  // namespace

TEST(ConditionRecord, LayoutJustBelowAndAtEachGate) {
  struct Case {
    int version, descriptors, bytes;
  } cases[] = {{42, 6, 11}, {43, 7, 12}, {109, 7, 12}, {110, 17, 28}, {734, 17, 28}};
  cEdCondition c;
  for (const Case& k : cases) EXPECT_EQ(Layout(c, k.version), std::make_pair(k.descriptors, k.bytes)) << k.version;
  cEdKeyCondition key;
  for (int version : {1, 500, 734}) EXPECT_EQ(Layout(key, version), std::make_pair(5, 7));
}

TEST(ConditionRecord, CurrentFileLoadsEveryMemberAndSavesTheSameBytes) {
  Bytes b;
  b.u32(734);
  // type, constant, random min, random max, subject, item, left kind, left
  // variable kind, index, operand kind, operand subject, operand item, operand
  // variable kind, operand index, compare, percent, axis
  b.u32(17).u8(4).i32(-70000).i32(-5).i32(9).u8(1).u8(11).u8(1).u8(1).i16(300).u8(3).u8(2).u8(4).u8(1).i16(-2);
  b.u8(6).u8(1).u8(5).u32(0);
  cEdCondition c = LoadOne<cEdCondition>(b.s);
  EXPECT_EQ(c.m_nType, CONDTYPE_STATUS);
  EXPECT_EQ(c.m_nConst, -70000);
  EXPECT_EQ(std::make_pair(c.m_nRandMin, c.m_nRandMax), std::make_pair(-5, 9));
  EXPECT_EQ(std::make_tuple(c.m_nSubject, c.m_nItem, c.m_nLeftKind, c.m_nLeftVarKind, c.m_nIndex),
            std::make_tuple(1, 11, 1, 1, 300));
  EXPECT_EQ(std::make_tuple(c.m_nOperandKind, c.m_nOperandSubject, c.m_nOperandItem, c.m_nOperandVarKind,
                            c.m_nOperandIndex),
            std::make_tuple(3, 2, 4, 1, -2));
  EXPECT_EQ(std::make_tuple(c.m_nCompare, c.m_bPercent, c.m_nAxis), std::make_tuple(6, 1, 5));
  EXPECT_EQ(SaveOne(c), b.s);
}

TEST(ConditionRecord, VersionBefore110ReadsTwoDiscardedWordsInPlaceOfTheOperands) {
  Bytes b;
  b.u32(100);
  b.u32(7).u8(5).i32(48).i16(0x1234).i16(0x5678).u8(1).u8(1).u8(3).u32(0);
  b.u32(0xFEED);
  cDataReader r(b.s);
  cEdCondition c;
  c.m_nRandMax = 77;  // not stored before 110: kept
  c.m_nSubject = 1;
  c.Load(r);
  // The old distance condition: type 5 became 7, its subject the hero.
  EXPECT_EQ(c.m_nType, CONDTYPE_DISTANCE);
  EXPECT_EQ(c.m_nSubject, 0);
  EXPECT_EQ(c.m_nConst, 48);
  EXPECT_EQ(c.m_nRandMax, 77);
  EXPECT_EQ(std::make_tuple(c.m_nCompare, c.m_bPercent, c.m_nAxis), std::make_tuple(1, 1, 3));
  EXPECT_EQ(r.ReadU32(), 0xFEEDu);
}

TEST(ConditionRecord, UpgradesOfOlderFiles) {
  struct Case {
    const char* what;
    int version;
    std::vector<FieldValue> fields;
    CondValues want;
  } cases[] = {
      // ConditionFields: type, constant, subject, item, left kind, operand
      // kind, operand subject, operand item, compare.
      {"state types inserted before 160", 159, ConditionFields(5, 0, 1, 3, 0, 0, 0, 0, 2), {7, 0, 3, 0, 2}},
      {"no shift from 160", 160, ConditionFields(5, 0, 1, 3, 0, 0, 0, 0, 2), {5, 1, 3, 0, 2}},
      {"'on a block' negated up to 160", 160, ConditionFields(6, 0, 0, 2, 0, 0, 0, 0, 0), {6, 0, 2, 0, 1}},
      {"'on a block' kept from 161", 161, ConditionFields(6, 0, 0, 2, 0, 0, 0, 0, 0), {6, 0, 2, 0, 0}},
      {"other situations kept", 160, ConditionFields(6, 0, 0, 3, 0, 0, 0, 0, 0), {6, 0, 3, 0, 0}},
      // A character status 10 against a system status 12: 10 -> 11 -> 12.
      {"statuses shifted twice before 168", 150, ConditionFields(4, 0, 0, 10, 0, 2, 2, 12, 0), {4, 0, 12, 12, 0}},
      {"operand statuses shifted", 167, ConditionFields(4, 0, 1, 4, 0, 2, 1, 10, 0), {4, 1, 4, 12, 0}},
      {"only the 203 shift at 168", 168, ConditionFields(4, 0, 0, 10, 0, 2, 0, 5, 0), {4, 0, 11, 6, 0}},
      {"system values keep their numbers", 167, ConditionFields(4, 0, 2, 11, 0, 2, 2, 7, 0), {4, 2, 11, 7, 0}},
      {"a variable on the left keeps its item", 167, ConditionFields(4, 0, 0, 12, 1, 0, 0, 12, 0), {4, 0, 12, 12, 0}},
      {"statuses from 203 on kept", 203, ConditionFields(4, 0, 0, 10, 0, 2, 0, 5, 0), {4, 0, 10, 5, 0}},
      {"state 6 moved up before 210", 209, ConditionFields(5, 0, 1, 6, 0, 0, 0, 0, 0), {5, 1, 7, 0, 0}},
      {"the stage's states kept", 209, ConditionFields(5, 0, 2, 6, 0, 0, 0, 0, 0), {5, 2, 6, 0, 0}},
      {"states kept from 210", 210, ConditionFields(5, 0, 1, 6, 0, 0, 0, 0, 0), {5, 1, 6, 0, 0}},
      {"distance subject cleared up to 656", 656, ConditionFields(7, 0, 1, 0, 0, 0, 0, 0, 1), {7, 0, 0, 0, 1}},
      {"distance subject kept from 657", 657, ConditionFields(7, 0, 1, 0, 0, 0, 0, 0, 1), {7, 1, 0, 0, 1}},
      {"a type past the table never wraps", 100, ConditionFields(254, 0, 0, 0, 0, 0, 0, 0, 0), {255, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    Bytes b;
    b.u32(c.version);
    PutSegment(b, c.version, c.fields);
    EXPECT_EQ(Values(LoadOne<cEdCondition>(b.s)), c.want) << c.what;
  }
}

TEST(KeyConditionRecord, DefaultSavesNineteenIgnoredKeys) {
  cEdKeyCondition key;
  Bytes want;
  want.u32(734).u32(5).u8(0).i16(0).i16(0).u8(0).u8(0).u32(0).u32(19);
  for (int i = 0; i < 19; ++i) want.u8(0);
  EXPECT_EQ(SaveOne(key), want.s);
}

TEST(KeyConditionRecord, KeyStatesLoadAsStoredWithoutPadding) {
  Bytes b;
  b.u32(734);
  PutKeyCondition(b, {1, 2, 0, 0, 1, 0, 0, 0, 0, 0, 2, 1}, KEYMODE_ONE);
  cEdKeyCondition key = LoadOne<cEdKeyCondition>(b.s);
  EXPECT_EQ(key.m_vKeys, (cVector<uint8_t>{1, 2, 0, 0, 1, 0, 0, 0, 0, 0, 2, 1}));
  EXPECT_EQ(std::make_tuple(key.m_bFacingRelative, key.m_nMinFrames, key.m_nMaxFrames, key.m_bAnyLength, key.m_nMode),
            std::make_tuple(1, 2, 30, 0, 2));
  EXPECT_EQ(SaveOne(key), b.s);
}

TEST(KeyConditionRecord, CountBeyondTheFileEndsTheReadWithNoKeys) {
  Bytes b;
  b.u32(734).u32(5).u8(0).i16(0).i16(0).u8(0).u8(0).u32(0).u32(0x7FFFFFFF).u8(1).u8(2);
  cDataReader r(b.s);
  cEdKeyCondition key;
  key.Load(r);
  EXPECT_TRUE(key.m_vKeys.empty());
  EXPECT_TRUE(r.Ended());
}
