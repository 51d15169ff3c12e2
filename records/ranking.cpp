#include "records/ranking.h"

#include "base/number_text.h"
#include "base/path_util.h"
#include "records/path_table.h"
#include "records/user_file.h"

namespace {

// Order flags of a fresh ranking: clear time ranks smaller first.
constexpr int32_t kFreshOrder[RANKING_TABLE_COUNT] = {1, 1, 0, 1, 1};

}  // namespace

void cRankingEntry::RegisterFields(int) {
  ClearFields();
  AddDword(&m_bUsed);
  AddString(&m_strName);
  AddDword(&m_nValue);
}

void cRankingTable::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nOrder);
}

void cRankingTable::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadEntries(r);
}

void cRankingTable::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveRecordList(m_vEntries, w);
}

void cRankingTable::LoadEntries(cDataReader& r) { LoadRecordList(m_vEntries, r); }

void cRankingTable::Reset() {
  Clear();
  m_nOrder = 0;
  m_vEntries.resize(RANKING_ROW_COUNT);
}

int cRankingTable::FindRank(int32_t value) const {
  for (int i = 0; i < m_vEntries.Size(); ++i) {
    const cRankingEntry& row = m_vEntries[i];
    if (!row.m_bUsed) return i;
    if (m_nOrder == 1 ? row.m_nValue < value : value < row.m_nValue) return i;
  }
  return -1;
}

void cRankingTable::Insert(const std::string& name, int32_t value) {
  const int rank = FindRank(value);
  cRankingEntry row;
  row.m_bUsed = 1;
  row.m_strName = name;
  row.m_nValue = value;
  if (rank >= 0 && rank < m_vEntries.Size())
    m_vEntries.insert(m_vEntries.begin() + rank, row);
  else
    m_vEntries.push_back(row);
  m_vEntries.pop_back();
}

void cRanking::RegisterFields(int) { RegisterNoFields(); }

void cRanking::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vTables, r);
  const bool oldFile = r.Version() <= RANKING_OLD_TABLES_VERSION;
  // Added tables keep the order of a fresh ranking; old files also ranked
  // HP and SP smaller first, which no longer holds.
  for (int t = m_vTables.Size(); t < RANKING_TABLE_COUNT; ++t) {
    m_vTables.emplace_back();
    m_vTables.back().m_nOrder = kFreshOrder[t];
  }
  m_vTables.resize(RANKING_TABLE_COUNT);
  if (oldFile) m_vTables[3].m_nOrder = m_vTables[4].m_nOrder = 1;
  for (cRankingTable& table : m_vTables) table.m_vEntries.resize(RANKING_ROW_COUNT);
}

void cRanking::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveRecordList(m_vTables, w);
}

void cRanking::Reset() {
  Clear();
  m_vTables.clear();
  m_vTables.resize(RANKING_TABLE_COUNT);
  for (int t = 0; t < RANKING_TABLE_COUNT; ++t) m_vTables[t].m_nOrder = kFreshOrder[t];
}

bool cRanking::LoadFor(int playKind, const std::string& stagePath) {
  std::string path;
  cRanking loaded;
  if (!MakeRankingPath(path, playKind, stagePath) || LoadUserRecord(loaded, path) != 1) {
    Reset();
    return false;
  }
  *this = loaded;
  return true;
}

bool cRanking::SaveFor(int playKind, const std::string& stagePath) {
  std::string path;
  if (!MakeRankingPath(path, playKind, stagePath)) return false;
  return SaveUserRecord(*this, path);
}

bool MakeRankingPath(std::string& out, int playKind, const std::string& stagePath) {
  const char* folder = RankingFolder(playKind);
  std::string name = stagePath;
  StripDirectory(name);
  if (!folder || name.empty()) return false;
  out = std::string(folder) + name + ExtTable[3];
  return true;
}

void FormatClearTime(std::string& out, int32_t hundredths) {
  std::string minutes, seconds, cents;
  IntToText(minutes, hundredths / 6000, 2, true, false);
  IntToText(seconds, (hundredths / 100) % 60, 2, true, false);
  IntToText(cents, hundredths % 100, 2, true, false);
  out = minutes + ":" + seconds + "." + cents;
}

int CountEqual(const cVector<int32_t>& values, int32_t value) {
  int n = 0;
  for (int32_t v : values) n += v == value ? 1 : 0;
  return n;
}
