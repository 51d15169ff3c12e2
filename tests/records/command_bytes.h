#pragma once
// Hand-written byte layouts of the behaviour records (move, shot, condition,
// key condition, flow, command), field by field from their descriptions, and
// the fixture the behaviour tests share: a database and palettes of known
// sizes, test-only flows removed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "records/condition.h"
#include "records/database.h"
#include "records/db_bytes.h"
#include "records/flow.h"
#include "records/key_condition.h"
#include "records/palette_sizes.h"
#include "records/record_test_env.h"
#include "records/started_by_editor.h"
#include "records/system.h"

// One numeric member as files store it: width in bytes (8: a double), the
// first version that stores it (0: every version), the value; bSameBlock for
// the later elements of a block (one descriptor for the whole block).
struct FieldValue {
  int width;
  int from;
  double value;
  bool bSameBlock = false;
};

// A record segment: the members stored by `version`, then the strings.
inline void PutSegment(Bytes& b, int version, const std::vector<FieldValue>& fields,
                       const std::vector<std::string>& strings = {}) {
  uint32_t n = 0;
  for (const FieldValue& f : fields) n += f.from <= version && !f.bSameBlock ? 1 : 0;
  b.u32(n);
  for (const FieldValue& f : fields) {
    if (f.from > version) continue;
    switch (f.width) {
      case 1: b.u8(static_cast<uint8_t>(static_cast<int>(f.value))); break;
      case 2: b.i16(static_cast<int16_t>(f.value)); break;
      case 4: b.i32(static_cast<int32_t>(f.value)); break;
      default: {
        uint64_t bits;
        std::memcpy(&bits, &f.value, 8);
        b.u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
      }
    }
  }
  b.u32(static_cast<uint32_t>(strings.size()));
  for (const std::string& s : strings) b.str(s);
}

// The values a file of `version` holds, for comparing with a loaded record.
inline std::vector<double> StoredValues(const std::vector<FieldValue>& fields) {
  std::vector<double> v;
  for (const FieldValue& f : fields) v.push_back(f.value);
  return v;
}

// A condition of the current layout: type, constant, random bounds, subject,
// item, left kind, left variable kind, index, operand kind, operand subject,
// operand item, operand variable kind, operand index, compare, percent, axis.
inline std::vector<FieldValue> ConditionFields(int type, int constant, int subject, int item, int leftKind,
                                               int operandKind, int operandSubject, int operandItem,
                                               int compare) {
  return {{1, 0, double(type)},   {4, 0, double(constant)}, {4, 110, 0},  {4, 110, 0},
          {1, 110, double(subject)}, {1, 110, double(item)}, {1, 110, double(leftKind)},
          {1, 110, 0},            {2, 110, 0},              {1, 110, double(operandKind)},
          {1, 110, double(operandSubject)}, {1, 110, double(operandItem)}, {1, 110, 0},
          {2, 110, 0},            {1, 0, double(compare)},  {1, 43, 0},   {1, 0, 0}};
}

// A key condition: facing relative, min frames, max frames, any length, mode,
// then the key states with their count.
inline void PutKeyCondition(Bytes& b, const std::vector<uint8_t>& keys, int mode = 0) {
  b.u32(5).u8(1).i16(2).i16(30).u8(0).u8(static_cast<uint8_t>(mode)).u32(0);
  b.u32(static_cast<uint32_t>(keys.size()));
  for (uint8_t k : keys) b.u8(k);
}

// The head of a command: its record segment (item flag, type, use time, use
// time growth, no wait, sound, sound on screen only, animation; the text).
struct CommandHead {
  int item = 0;
  int type = 0;
  int useTime = 0;
  int useTimeGrowth = 0;
  int noWait = 0;
  int se = 0;
  int seOnScreenOnly = 1;
  int anime = 0;
  std::string text;
};

inline void PutCommandHead(Bytes& b, const CommandHead& h) {
  b.u32(8).u8(static_cast<uint8_t>(h.item)).u8(static_cast<uint8_t>(h.type));
  b.i16(static_cast<int16_t>(h.useTime)).i16(static_cast<int16_t>(h.useTimeGrowth));
  b.u8(static_cast<uint8_t>(h.noWait)).i16(static_cast<int16_t>(h.se));
  b.u8(static_cast<uint8_t>(h.seOnScreenOnly)).i16(static_cast<int16_t>(h.anime));
  b.u32(1).str(h.text);
}

inline void PutParams(Bytes& b, const std::vector<int32_t>& params) {
  b.u32(static_cast<uint32_t>(params.size()));
  for (int32_t p : params) b.i32(p);
}

// A command without move, shot or carried flows.
inline void PutPlainCommand(Bytes& b, int item, int type, const std::vector<int32_t>& params) {
  CommandHead h;
  h.item = item;
  h.type = type;
  PutCommandHead(b, h);
  b.u32(0).u32(0).u32(0);
  PutParams(b, params);
}

// A flow's record segment: ID, switch, test only, condition mode, conditions
// once, trigger, key slack, key repeat; the name from version 676 on.
inline void PutFlowHead(Bytes& b, int version, int id, int sw, int testOnly, int trigger,
                        const std::string& name = "") {
  b.u32(8).u8(static_cast<uint8_t>(id)).u8(static_cast<uint8_t>(sw)).u8(static_cast<uint8_t>(testOnly));
  b.u8(0).u8(0).u8(static_cast<uint8_t>(trigger)).u8(3).u8(0);
  if (version >= 676)
    b.u32(1).str(name);
  else
    b.u32(0);
}

// A flow with no conditions and the given commands (already written).
inline void PutFlow(Bytes& b, int version, int id, int testOnly, int trigger, uint32_t commands,
                    const std::string& commandBytes) {
  PutFlowHead(b, version, id, 0, testOnly, trigger);
  b.u32(0).u32(0).u32(commands).raw(commandBytes);
}

template <class T>
T LoadOne(const std::string& bytes) {
  cDataReader r(bytes);
  T record;
  record.Load(r);
  return record;
}

template <class T>
std::string SaveOne(T& record) {
  cDataWriter w;
  record.Save(w);
  return w.Bytes();
}

// A database of known sizes and palettes of known sizes; test-only flows are
// removed as outside a test play. Restored afterwards.
class BehaviourTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    Database.Reset();
    Database.m_vAnime.resize(3);      // 0..2
    Database.m_vSound.resize(4);      // 0..3
    Database.m_vEffect.resize(5);     // 0..4
    Database.m_vAnimeSet.resize(2);   // 0..1
    Database.m_vCharaEffect.resize(3);
    Database.m_vScrEffect.resize(3);
    Database.m_vPicture.resize(6);
    Database.m_vBgm.resize(7);
    m_savedKeep = SystemData.m_bKeepTestOnlyFlows;
    SystemData.m_bKeepTestOnlyFlows = 0;
    bFromEditor = 0;
    // The sizes come from the table, whatever palette answers outside the test.
    m_savedCommonSizes = GetPaletteSizeSource(PALETTEKIND_COMMON);
    SetPaletteSizeSource(PALETTEKIND_COMMON, nullptr);
    m_savedStageTableSizes = GetPaletteSizeSource(PALETTEKIND_STAGE);
    SetPaletteSizeSource(PALETTEKIND_STAGE, nullptr);
    SetPalettes(4, 4, 4, 2, 2, 2);
  }
  void TearDown() override {
    Database.Reset();
    SystemData.m_bKeepTestOnlyFlows = m_savedKeep;
    bFromEditor = 0;
    SetPalettes(0, 0, 0, 0, 0, 0);
    SetPaletteSizeSource(PALETTEKIND_COMMON, m_savedCommonSizes);
    SetPaletteSizeSource(PALETTEKIND_STAGE, m_savedStageTableSizes);
    RecordTest::TearDown();
  }
  static void SetPalettes(int commonBlocks, int commonCharas, int commonItems, int stageBlocks,
                          int stageCharas, int stageItems) {
    SetPaletteListSize(PALETTEKIND_COMMON, PALETTELIST_BLOCK, commonBlocks);
    SetPaletteListSize(PALETTEKIND_COMMON, PALETTELIST_CHARA, commonCharas);
    SetPaletteListSize(PALETTEKIND_COMMON, PALETTELIST_ITEM, commonItems);
    SetPaletteListSize(PALETTEKIND_STAGE, PALETTELIST_BLOCK, stageBlocks);
    SetPaletteListSize(PALETTEKIND_STAGE, PALETTELIST_CHARA, stageCharas);
    SetPaletteListSize(PALETTEKIND_STAGE, PALETTELIST_ITEM, stageItems);
  }
  int32_t m_savedKeep = 0;
  PaletteSizeSource m_savedCommonSizes = nullptr;
  PaletteSizeSource m_savedStageTableSizes = nullptr;
};
