#pragma once
// Story slots, Challenge.dat and ranking files written by hand, field by
// field from their layouts, and the fixture their tests share.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/close_request.h"
#include "records/definition_bytes.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/stage.h"
#include "records/world_map.h"

// The progress record's numbers in file order (# 1..32), each a 4-byte
// field with the first version that stores it, and the slot fixture's values:
// distinct where a field is more than a flag.
inline std::vector<FieldValue> SlotFields() {
  return {
      {4, 0, 1},     {4, 0, 7},       {4, 0, 11},     {4, 0, 0},       // 1 hero stored, map x, y, route
      {4, 0, 13},    {4, 0, 12},      {4, 0, 9},      {4, 0, 6},       // 5 round, stage, area, start lives
      {4, 0, 14},    {4, 0, 1500},    {4, 0, 98765},  {4, 0, 123456},  // 9 lives, scores, best total
      {4, 0, 321},   {4, 0, 45678},   {4, 182, 77},   {4, 182, 55},    // 13 time left .. SP sums
      {4, 0, 1},     {4, 0, 5},       {4, 166, 0},    {4, 194, 2},     // 17 numbered, bgm, loop, walk dir
      {4, 190, 1},   {4, 191, 8},     {4, 191, 10},   {4, 0, 3},       // 21 back from retry, prev cell, unlocked
      {4, 0, 16},    {4, 169, 1},     {4, 0, 1},      {4, 0, 4},       // 25 slot, auto save, view, category
      {4, 678, 1},   {4, 678, 21},    {4, 678, 19},   {4, 679, 1},     // 29 hero start, x, y, direction
  };
}
// The slot the fixture names (field 25); the fixture is its file.
constexpr int kFixtureSlot = 16;
constexpr int kFixtureChallenges = 3;

// The fixture's save time: Thursday 2024-02-29 23:58:59.987.
inline plat::SYSTEMTIME FixtureTime() { return {2024, 2, 4, 29, 23, 58, 59, 987}; }

inline void PutTime(Bytes& b, const plat::SYSTEMTIME& t) {
  for (uint16_t v : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds})
    b.i16(static_cast<int16_t>(v));
}

inline void PutInts(Bytes& b, const std::vector<int32_t>& values) {
  b.u32(static_cast<uint32_t>(values.size()));
  for (int32_t v : values) b.i32(v);
}

// The head of a progress file of `version`: version word, numbers, strings
// (the reserved one only from version 724).
inline void PutSlotHead(Bytes& b, int version, const std::vector<FieldValue>& fields, const std::string& path,
                        const std::string& reserved, const std::string& name) {
  b.u32(static_cast<uint32_t>(version));
  std::vector<std::string> strings = {path};
  if (version >= 724) strings.push_back(reserved);
  strings.push_back(name);
  PutSegment(b, version, fields, strings);
}

// The fixture's tail lists.
inline std::vector<int32_t> FixtureCarried() {
  std::vector<int32_t> v;
  for (int i = 0; i < CARRY_ITEM_COUNT; ++i) v.push_back(i % 3 == 0 ? 1 : 0);
  return v;
}
inline std::vector<int32_t> FixtureClearFlags() {
  std::vector<int32_t> v(STAGE_CLEAR_FLAG_COUNT, 0);
  v[0] = v[12] = v[999] = 1;
  return v;
}
inline std::vector<int32_t> FixtureVars() {
  std::vector<int32_t> v;
  for (int i = 0; i < COMMON_VAR_COUNT; ++i) v.push_back(i * 7 - 100);
  return v;
}

// Two hero statuses: a fresh character with HP 40, SP 9, time 150, lives
// 14, music 5; then the hero "hero" (max HP 250, graphic 8, defence 33) with
// one flow, HP 41, SP -2, time 300, lives 7, music 6.
inline void PutFixtureHeroes(Bytes& b) {
  b.u32(2);
  b.u32(5).i32(40).i32(9).i32(150).i32(14).i32(5).u32(0);
  PutDefaultChara(b);
  b.u32(5).i32(41).i32(-2).i32(300).i32(7).i32(6).u32(0);
  PutCharaHead(b, 734, With(CharaFields(), {{39, 250}, {13, 8}, {46, 33}}), "hero", 0, 0, 0,
               std::vector<uint8_t>(37, 0));
  Bytes wait;
  PutPlainCommand(wait, 0, ACTCMDTYPE_GAME_WAIT, {15});
  b.u32(0).u32(1);
  PutFlow(b, 734, 2, 0, FLOWTRIGGER_ALWAYS, 1, wait.s);
}

// The story slot of the fixture, as a file of the current version.
inline std::string FixtureSlot() {
  Bytes b;
  PutSlotHead(b, 734, SlotFields(), "data\\stg4\\c01.", "rsv", "ABC");
  PutTime(b, FixtureTime());
  PutInts(b, FixtureCarried());
  PutFixtureHeroes(b);
  b.u32(2);
  b.u32(1).i32(98765).u32(1).str("data\\stg4\\c01.");
  b.u32(1).i32(24691).u32(1).str("boss.");
  b.u32(kFixtureChallenges);
  b.u32(2).i32(1).i32(5000).u32(0);
  b.u32(2).i32(0).i32(0).u32(0);
  b.u32(2).i32(1).i32(7700).u32(0);
  PutInts(b, FixtureClearFlags());
  PutInts(b, FixtureVars());
  return b.s;
}

// A progress file of `version` with the given numbers and empty lists (the
// carried flags only where the version stores them).
inline std::string PlainSlot(int version, const std::vector<FieldValue>& fields) {
  Bytes b;
  PutSlotHead(b, version, fields, "x.", "", "ABC");
  PutTime(b, FixtureTime());
  if (version > 500) PutInts(b, FixtureCarried());
  b.u32(0).u32(0).u32(0).u32(0).u32(0);
  return b.s;
}

// One ranking row: used, value; the name.
inline void PutRankingRow(Bytes& b, int used, int32_t value, const std::string& name) {
  b.u32(2).i32(used).i32(value).u32(1).str(name);
}

struct RankingRow {
  int32_t value;
  std::string name;
};

// A table: its segment, then 20 rows (the given ones, then empty rows).
inline void PutTable(Bytes& b, int32_t order, const std::vector<RankingRow>& rows,
                     uint32_t count = RANKING_ROW_COUNT) {
  b.u32(1).i32(order).u32(0).u32(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (i < rows.size())
      PutRankingRow(b, 1, rows[i].value, rows[i].name);
    else
      PutRankingRow(b, 0, 0, "");
  }
}

// A ranking file of the current version: scores, time left, clear times
// (smaller first), HP and SP.
inline std::string RankingFile() {
  Bytes b;
  b.u32(734).u32(0).u32(0).u32(5);
  PutTable(b, 1, {{900, "AAA"}, {500, "BBB"}, {500, "CCC"}});
  PutTable(b, 1, {{30, "DDD"}});
  PutTable(b, 0, {{4000, "EEE"}, {5000, "FFF"}});
  PutTable(b, 1, {});
  PutTable(b, 1, {{-2, "\x83\x5C"}});
  return b.s;
}

// A ranking file of version 150 with three tables, the second of two rows.
inline std::string OldRankingFile() {
  Bytes b;
  b.u32(150).u32(0).u32(0).u32(3);
  PutTable(b, 1, {{700, "OLD"}});
  PutTable(b, 1, {}, 2);
  PutTable(b, 0, {{3000, "TIM"}});
  return b.s;
}

// No file of this process may grow past `bytes` while the object lives, as
// on a full disk: a write past it fails (the signal is ignored meanwhile).
class DiskFullAfter {
 public:
  explicit DiskFullAfter(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~DiskFullAfter() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    signal(SIGXFSZ, m_oldHandler);
  }
  DiskFullAfter(const DiskFullAfter&) = delete;
  DiskFullAfter& operator=(const DiskFullAfter&) = delete;

 private:
  rlimit m_saved{};
  sighandler_t m_oldHandler = nullptr;
};

// The definitions' fixture with a project for the progress record: a world
// map of 20 x 15 starting at (9, 7), three challenge stages, finite lives,
// the report log open and no close request; everything restored afterwards.
class SaveTest : public DefinitionTest {
 protected:
  void SetUp() override {
    DefinitionTest::SetUp();
    m_savedSystem = SystemData;
    m_savedStage = Stage;
    SystemData = cEdSystem();
    SystemData.m_nChallengeStages = kFixtureChallenges;
    SystemData.m_vInfiniteLives.Fill(0);
    SystemData.m_vStartLives = cVector<int32_t>{5, 3, 4, 99};
    WorldMap = cEdWorldMap();
    Stage = cEdStage();
    PlayData.Reset();
    SlotSummary.assign(SAVE_SLOT_COUNT, cSaveSlotInfo());
    Ranking.Reset();
  }
  void TearDown() override {
    SystemData = m_savedSystem;
    Stage = m_savedStage;
    WorldMap = cEdWorldMap();
    PlayData.Reset();
    Ranking.Reset();
    DefinitionTest::TearDown();
  }
  static std::string SlotPath(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "user_data/story/Story%02d.dat", n + 1);
    return name;
  }
  // The bytes a record saves.
  static std::string Saved(cRecord& record) {
    cDataWriter w;
    record.Save(w);
    return w.Bytes();
  }
  static bool NoCloseRequest() { return plat::CloseRequestCount() == 0; }
  // Calls load(length) with the file (a path below the working folder)
  // holding the first `length` bytes of `bytes`, for every length shorter
  // than the whole, longest first.
  template <class F>
  void ForEveryCut(const std::string& relative, const std::string& bytes, F&& load) {
    m_dir.WriteFile(relative, bytes);
    const std::string host = m_dir.Path() + "/" + relative;
    for (size_t length = bytes.size(); length-- > 0;) {
      ASSERT_EQ(::truncate(host.c_str(), static_cast<off_t>(length)), 0);
      load(length);
    }
  }

  cEdSystem m_savedSystem;
  cEdStage m_savedStage;
};
