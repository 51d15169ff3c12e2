#pragma once
// The rankings of a stage: one file per stage and play kind, with a table of
// 20 entries per result category (0 total score, 1 time left, 2 clear time
// in hundredths of a second, 3 HP left, 4 SP left). Ranking holds the one of
// the stage being shown or played.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "records/record.h"

struct DDSURFACEDATA;

constexpr int RANKING_TABLE_COUNT = 5;
constexpr int RANKING_ROW_COUNT = 20;
// Files of this version or older may hold fewer tables.
constexpr int RANKING_OLD_TABLES_VERSION = 180;

// One row: {used, name, value}; unused rows are empty.
class cRankingEntry : public cRecord {
 public:
  cRankingEntry() { Clear(); }
  ~cRankingEntry() override = default;
  // used, name, value; no version gate.
  void RegisterFields(int version) override;

  int32_t m_bUsed = 0;
  std::string m_strName;
  int32_t m_nValue = 0;
};

// One category's table.
class cRankingTable : public cRecord {
 public:
  cRankingTable() { Reset(); }
  void RegisterFields(int version) override;
  // The segment (the order flag), then the rows: u32 m and m entries.
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;
  // The rows alone: u32 m, then m fresh entries, each its own load.
  void LoadEntries(cDataReader& r);

  // Order flag 0 and exactly RANKING_ROW_COUNT rows (extra rows dropped,
  // missing ones added empty).
  void Reset();
  // The row a value would take: the first empty row, or the first whose
  // value it beats (larger or smaller first by the order flag); a value
  // equal to a stored one ranks after it. -1 when it takes none.
  int FindRank(int32_t value) const;
  // Inserts {name, value} at FindRank's row and drops the last row, so the
  // table keeps its length; a value that takes no row changes nothing.
  void Insert(const std::string& name, int32_t value);

  // The table with the second system font at (x, y): its box, the title with
  // the caption of `category`, the used rows, the switch hint when the play
  // kind ranks two categories or more, and the cursor at `cursorRow`
  // (-1 none). Drawn by the stage (stage/ranking_draw.cpp).
  void Draw(DDSURFACEDATA* surface, int x, int y, int category, int cursorRow) const;

  int32_t m_nOrder = 0;  // 1 larger values rank first, 0 smaller first
  cVector<cRankingEntry> m_vEntries;
};

class cRanking : public cRecord {
 public:
  cRanking() { Reset(); }
  // No field of its own.
  void RegisterFields(int version) override;
  // The segment, u32 n and n tables; then exactly five tables of
  // RANKING_ROW_COUNT rows (added tables take the order flags of Reset;
  // files of version 180 or older also get order flag 1 for tables 3, 4).
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;

  // Five tables of empty rows, ordered 1, 1, 0, 1, 1.
  void Reset();
  // The ranking file of the stage (a stage path in base form) for the play
  // kind; false, with an empty ranking, when the kind has no rankings or
  // the file is missing or damaged (damage also writes a report-log line).
  bool LoadFor(int playKind, const std::string& stagePath);
  // Writes that file; false when the kind has none or the write fails (a
  // report-log line; the old file stays).
  bool SaveFor(int playKind, const std::string& stagePath);
  // Table `category` (checked), as cRankingTable::Draw.
  void Draw(DDSURFACEDATA* surface, int x, int y, int category, int cursorRow) const;

  cVector<cRankingTable> m_vTables;
};

// out = the ranking file of a stage path (base form, ending in ".") for play
// kind 0 story, 1 challenge or 2 free: the kind's folder, the path's file
// name, "rkg". False for another kind and for a path without a file name.
bool MakeRankingPath(std::string& out, int playKind, const std::string& stagePath);

// Hundredths of a second as "mm:ss.hh": minutes and seconds with at least
// two digits, hundredths with two; each part of a negative time gets "-".
void FormatClearTime(std::string& out, int32_t hundredths);

// The number of entries equal to value.
int CountEqual(const cVector<int32_t>& values, int32_t value);

extern cRanking Ranking;
