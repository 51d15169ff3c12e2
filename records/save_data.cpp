#include "records/save_data.h"

#include <algorithm>
#include <cstring>

#include "base/dbcs_text.h"
#include "records/chara.h"
#include "records/path_table.h"
#include "records/save_slots.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/user_file.h"
#include "records/world_map.h"

namespace {

// Versions that added fields.
constexpr int kBgmLoopVersion = 166;
constexpr int kAutoSaveVersion = 169;
constexpr int kHpSpSumVersion = 182;
constexpr int kBackFromRetryVersion = 190;
constexpr int kPrevCellVersion = 191;
constexpr int kWalkDirVersion = 194;
constexpr int kHeroStartVersion = 678;
constexpr int kHeroStartDirVersion = 679;
constexpr int kReservedVersion = 724;
// Files up to this version have no carried flags; everything was carried.
constexpr int kNoCarriedFlagsVersion = 500;

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The numeric fields of the hero's definition (by position) that an item
// carries; items 11, 12 and 21 to 24 carry other things.
struct CARRYFIELDS {
  int nCount;
  int anPos[3];
};
constexpr CARRYFIELDS kCarryFields[CARRY_ITEM_COUNT] = {
    {3, {13, 12, 14}}, {1, {15}}, {1, {16}}, {1, {17}}, {3, {18, 19, 20}}, {1, {30}}, {1, {29}},
    {1, {31}},         {1, {34}}, {1, {35}}, {2, {36, 37}}, {0, {}},        {0, {}},   {1, {38}},
    {1, {39}},         {1, {41}}, {1, {42}}, {1, {43}},     {1, {45}},      {1, {46}}, {1, {40}},
    {0, {}},           {0, {}},   {0, {}},   {0, {}},
};
// Item 0's graphic: a stored graphic 0 comes back as 1.
constexpr int kGraphicField = 12;

bool Flag(const cVector<uint8_t>& flags, int i) { return i < flags.Size() && flags[i] != 0; }
bool Flag(const cVector<int32_t>& flags, int i) { return i < flags.Size() && flags[i] != 0; }

// Where the file name of a path starts: after its last separator that is not
// the trail byte of a double-byte character.
size_t FileNameStart(const std::string& path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDbcsPair(path.c_str() + i)) {
      ++i;
      continue;
    }
    if (path[i] == '\\' || path[i] == '/') start = i + 1;
  }
  return start;
}

void ReadTime(cDataReader& r, plat::SYSTEMTIME& t) {
  uint16_t* parts[] = {&t.wYear, &t.wMonth, &t.wDayOfWeek, &t.wDay, &t.wHour, &t.wMinute, &t.wSecond,
                       &t.wMilliseconds};
  for (uint16_t* p : parts) *p = static_cast<uint16_t>(r.ReadI16());
}

void WriteTime(cDataWriter& w, const plat::SYSTEMTIME& t) {
  for (uint16_t v : {t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds})
    w.WriteI16(static_cast<int16_t>(v));
}

}  // namespace

cSaveData::cSaveData() {
  Register(DATA_VERSION);
  Reset();
}

void cSaveData::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_bHeroStored);
  AddDword(&m_nMapX);
  AddDword(&m_nMapY);
  AddDword(&m_nEnteredRouteWord);
  AddDword(&m_nRound);
  AddDword(&m_nStageNo);
  AddDword(&m_nAreaNo);
  AddDword(&m_nStartLives);
  AddDword(&m_nLives);
  AddDword(&m_nStageScore);
  AddDword(&m_nTotalScore);
  AddDword(&m_nBestTotal);
  AddDword(&m_nTimeLeftSum);
  AddDword(&m_nClearTimeSum);
  if (version >= kHpSpSumVersion) {
    AddDword(&m_nHpSum);
    AddDword(&m_nSpSum);
  }
  AddDword(&m_bNumberedStage);
  AddDword(&m_nStageBgm);
  if (version >= kBgmLoopVersion) AddDword(&m_bStageBgmLoop);
  if (version >= kWalkDirVersion) AddDword(&m_nWalkDir);
  if (version >= kBackFromRetryVersion) AddDword(&m_bBackFromRetry);
  if (version >= kPrevCellVersion) {
    AddDword(&m_nPrevCellX);
    AddDword(&m_nPrevCellY);
  }
  AddDword(&m_nUnlocked);
  AddDword(&m_nSlot);
  if (version >= kAutoSaveVersion) AddDword(&m_bAutoSave);
  AddDword(&m_bRankingView);
  AddDword(&m_nRankingCat);
  if (version >= kHeroStartVersion) {
    AddDword(&m_bHeroStart);
    AddDword(&m_nHeroStartX);
    AddDword(&m_nHeroStartY);
  }
  if (version >= kHeroStartDirVersion) AddDword(&m_nHeroStartDir);
  AddString(&m_strStagePath);
  if (version >= kReservedVersion) AddString(&m_strReserved);
  AddString(&m_strRankingName);
}

void cSaveData::Load(cDataReader& r) {
  cRecord::Load(r);
  const int version = r.Version();
  m_nEnteredRouteWord = 0;  // a run-time reference of the writer: meaningless here
  ReadTime(r, m_SaveTime);
  if (version > kNoCarriedFlagsVersion) LoadIntList(m_vCarried, r);
  LoadHeroStatusList(r);
  LoadTallies(r);
  LoadChallengeRecords(r);
  LoadIntList(m_vStageClear, r);
  LoadIntList(m_vCommonVar, r);
  if (version < DATA_VERSION) {
    if (version < kBgmLoopVersion) m_bStageBgmLoop = 1;
    if (version < kAutoSaveVersion) m_bAutoSave = 0;
    if (version < kHpSpSumVersion) m_nHpSum = m_nSpSum = 0;
    if (version < kBackFromRetryVersion) m_bBackFromRetry = 0;
    if (version <= kBackFromRetryVersion) m_nPrevCellX = m_nPrevCellY = 0;
    if (version < kWalkDirVersion) m_nWalkDir = 0;
    if (version <= kNoCarriedFlagsVersion) m_vCarried.assign(CARRY_ITEM_COUNT, 1);
  }
  FitLists();
  Normalize();
}

void cSaveData::Save(cDataWriter& w) {
  Normalize();
  m_nEnteredRouteWord = 0;
  cRecord::Save(w);
  WriteTime(w, m_SaveTime);
  SaveIntList(m_vCarried, w);
  SaveRecordList(m_vHeroStatus, w);
  SaveRecordList(m_vTally, w);
  SaveRecordList(m_vChallenge, w);
  SaveIntList(m_vStageClear, w);
  SaveIntList(m_vCommonVar, w);
}

void cSaveData::LoadHeroStatusList(cDataReader& r) { LoadRecordList(m_vHeroStatus, r); }

void cSaveData::LoadTallies(cDataReader& r) { LoadRecordList(m_vTally, r); }

void cSaveData::LoadChallengeRecords(cDataReader& r) { LoadRecordList(m_vChallenge, r); }

void cSaveData::FitLists() {
  m_vCarried.resize(CARRY_ITEM_COUNT, 0);
  if (m_vHeroStatus.empty()) ResetHeroStatusList(m_vHeroStatus, 1);
  m_vStageClear.resize(STAGE_CLEAR_FLAG_COUNT, 0);
  m_vCommonVar.resize(COMMON_VAR_COUNT, 0);
  if (m_nRankingCat < 0 || m_nRankingCat >= RESULT_CATEGORY_COUNT) m_nRankingCat = 0;
}

void ResetHeroStatusList(cVector<cHeroStatus>& list, int n) {
  list.clear();
  list.resize(n > 0 ? static_cast<size_t>(n) : 0);
}

void cSaveData::Reset() {
  Clear();
  m_SaveTime = plat::SYSTEMTIME();
  m_vCarried.assign(CARRY_ITEM_COUNT, 0);
  ResetHeroStatusList(m_vHeroStatus, 1);
  m_vStageClear.assign(STAGE_CLEAR_FLAG_COUNT, 0);
  m_vStageClear[0] = 1;
  m_vCommonVar.assign(COMMON_VAR_COUNT, 0);
  m_vTally.clear();
  m_vChallenge.clear();
  m_nUnlocked = 1;
  m_nSlot = -1;
  m_strRankingName = "aaa";
  m_lpEnteredRoute = ENTEREDROUTE();
  m_vSnapVars.clear();
  m_nSnapLives = m_nSnapTotal = m_bSnapTaken = 0;
}

void cSaveData::ClearTotals() {
  m_nTotalScore = 0;
  m_nTimeLeftSum = 0;
  m_nClearTimeSum = 0;
  m_nHpSum = 0;
  m_nSpSum = 0;
}

void cSaveData::Normalize() {
  if (m_nMapX < 0 || m_nMapX >= WorldMap.m_nWidth) m_nMapX = WorldMap.m_nStartX;
  if (m_nMapY < 0 || m_nMapY >= WorldMap.m_nHeight) m_nMapY = WorldMap.m_nStartY;
  const int challenges = std::max(SystemData.m_nChallengeStages, 0);
  m_vChallenge.resize(static_cast<size_t>(challenges));
  m_nUnlocked = std::min(m_nUnlocked, challenges);
}

bool cSaveData::LoadFile(const std::string& path) {
  cSaveData loaded;
  if (LoadUserRecord(loaded, path) != 1) return false;
  *this = loaded;
  return true;
}

bool cSaveData::SaveSlot(int n) {
  if (n < 0 || n >= SAVE_SLOT_COUNT) return false;
  m_SaveTime = plat::LocalTime();
  std::string path;
  MakeSlotFileName(path, n);
  if (!SaveUserRecord(*this, path)) return false;
  if (n < SlotSummary.Size()) {
    SlotSummary[n].CopyTimeFrom(*this);
    SlotSummary[n].m_bUsed = 1;
  }
  return true;
}

bool cSaveData::LoadSlot(int n) {
  if (n < 0 || n >= SAVE_SLOT_COUNT) return false;
  std::string path;
  MakeSlotFileName(path, n);
  if (!LoadFile(path)) return false;
  m_nSlot = n;
  ApplyLivesRule(PLAYKIND_STORY);
  return true;
}

bool cSaveData::LoadChallenge() {
  if (!LoadFile(PathTable[42])) return false;
  ApplyLivesRule(PLAYKIND_CHALLENGE);
  return true;
}

bool cSaveData::SaveChallenge() { return SaveUserRecord(*this, PathTable[42]); }

void cSaveData::ApplyLivesRule(int kind) {
  if (kind < 0 || kind >= SystemData.m_vInfiniteLives.Size() || kind >= SystemData.m_vStartLives.Size()) return;
  if (SystemData.m_vInfiniteLives[kind]) {
    m_nStartLives = m_nLives = LIVES_INFINITE;
  } else if (m_nLives == LIVES_INFINITE) {
    m_nLives = SystemData.m_vStartLives[kind];
  }
}

void cSaveData::SetStagePath(const char* name) {
  std::string path = name ? name : "";
  m_bNumberedStage = 0;
  const size_t start = FileNameStart(path);
  size_t area = std::string::npos;
  for (size_t end = path.size(); end >= start + 2; --end) {
    if (path[end - 2] == '-' && path[end - 1] == '1') {
      area = end - 2;
      break;
    }
  }
  if (area != std::string::npos) {
    m_bNumberedStage = 1;
    path[area] = '.';
    path.resize(area + 1);
  } else {
    size_t dot = path.rfind('.');
    path.resize(dot != std::string::npos && dot >= start ? dot + 1 : 0);
  }
  m_strStagePath = path;
}

void cSaveData::AddStageTally(const char* name, int32_t value) {
  const char* text = name ? name : "";
  for (cStageTally& tally : m_vTally) {
    if (tally.m_strStage != text) continue;
    if (tally.m_nValue >= value) return;
    m_nBestTotal = Clamp32(int64_t{m_nBestTotal} + value - tally.m_nValue);
    tally.m_nValue = value;
    return;
  }
  cStageTally added;
  added.m_strStage = text;
  added.m_nValue = value;
  m_vTally.push_back(added);
  m_nBestTotal = Clamp32(int64_t{m_nBestTotal} + value);
}

int32_t cSaveData::FindStageTally(const char* name) const {
  const char* text = name ? name : "";
  for (const cStageTally& tally : m_vTally)
    if (tally.m_strStage == text) return tally.m_nValue;
  return 0;
}

void cSaveData::SumMapTallies() {
  int64_t sum = 0;
  for (const cStageTally& tally : m_vTally)
    if (WorldMap.HasStage(tally.m_strStage.c_str())) sum += tally.m_nValue;
  m_nBestTotal = Clamp32(sum);
}

void cSaveData::TakeStageStartSnapshot() {
  m_vSnapVars = m_vCommonVar;
  m_nSnapLives = m_nLives;
  m_nSnapTotal = m_nTotalScore;
  m_bSnapTaken = 1;
}

void cSaveData::RestoreStageStartSnapshot(int bFull, int playKind) {
  if (!m_bSnapTaken) return;
  if (bFull) {
    m_vCommonVar = m_vSnapVars;
    m_nLives = m_nSnapLives;
    m_nTotalScore = m_nSnapTotal;
    return;
  }
  int32_t restoreVars = 0;
  if (playKind == PLAYKIND_REPLAY)
    restoreVars = 1;
  else if (bTestPlay)
    restoreVars = SystemData.m_bResetVarsTestPlay;
  else if (playKind == PLAYKIND_STORY)
    restoreVars = SystemData.m_bResetVarsStory;
  else if (playKind == PLAYKIND_CHALLENGE)
    restoreVars = SystemData.m_bResetVarsChallenge;
  else if (playKind == PLAYKIND_FREE)
    restoreVars = SystemData.m_bResetVarsFree;
  if (restoreVars) m_vCommonVar = m_vSnapVars;
  m_nTotalScore = m_nSnapTotal;
}

void cSaveData::StoreHeroStatus(int i, const cEdChara& hero, int32_t hp, int32_t sp, int32_t startEffect,
                                int32_t startEffectMode, int32_t startEffectLoop, int32_t time, int32_t lives,
                                int32_t bgm) {
  if (i < 0) return;
  if (i >= m_vHeroStatus.Size()) m_vHeroStatus.resize(static_cast<size_t>(i) + 1);
  m_vCarried.resize(CARRY_ITEM_COUNT, 0);
  m_bHeroStored = 1;
  cHeroStatus& status = m_vHeroStatus[i];
  cEdChara& stored = status.m_Chara;
  for (int k = 0; k < CARRY_ITEM_COUNT; ++k) {
    if (!Flag(SystemData.m_vCarry, k)) continue;
    switch (k) {
      case CARRY_START_EFFECT: {
        const int32_t values[3] = {startEffect, startEffectMode, startEffectLoop};
        for (int f = 0; f < 3; ++f) stored.SetNumericField(kCarryFields[k].anPos[f], values[f]);
        break;
      }
      case CARRY_HP: status.m_nHp = hp; break;
      case CARRY_SP: status.m_nSp = sp; break;
      case CARRY_FLOWS: stored.m_vFlows = hero.m_vFlows; break;
      case CARRY_TIME: status.m_nTime = time; break;
      case CARRY_LIVES: status.m_nLives = lives; break;
      case CARRY_BGM: status.m_nStageBgm = bgm; break;
      default:
        for (int f = 0; f < kCarryFields[k].nCount; ++f) {
          const int pos = kCarryFields[k].anPos[f];
          stored.SetNumericField(pos, hero.GetNumericField(pos));
        }
    }
    m_vCarried[k] = 1;
  }
}

void cSaveData::ApplyHeroStatus(int i, cEdChara& hero) {
  if (!m_bHeroStored || i < 0 || i >= m_vHeroStatus.Size()) return;
  const cHeroStatus& status = m_vHeroStatus[i];
  const cEdChara& stored = status.m_Chara;
  for (int k = 0; k < CARRY_ITEM_COUNT; ++k) {
    if (!Flag(m_vCarried, k) || k == CARRY_HP || k == CARRY_SP) continue;
    switch (k) {
      case CARRY_FLOWS: hero.m_vFlows = stored.m_vFlows; break;
      case CARRY_TIME: Stage.m_nTimeLimit = status.m_nTime; break;
      case CARRY_LIVES: m_nLives = status.m_nLives; break;
      case CARRY_BGM: Stage.m_nBgm = status.m_nStageBgm; break;
      default:
        for (int f = 0; f < kCarryFields[k].nCount; ++f) {
          const int pos = kCarryFields[k].anPos[f];
          int32_t value = stored.GetNumericField(pos);
          if (k == 0 && pos == kGraphicField && value == 0) value = 1;
          hero.SetNumericField(pos, value);
        }
    }
  }
}

void cSaveData::ApplyHeroHpSp(int i, int32_t& hp, int32_t& sp) const {
  if (!m_bHeroStored || i < 0 || i >= m_vHeroStatus.Size()) return;
  if (Flag(SystemData.m_vCarry, CARRY_HP) && Flag(m_vCarried, CARRY_HP)) hp = m_vHeroStatus[i].m_nHp;
  if (Flag(SystemData.m_vCarry, CARRY_SP) && Flag(m_vCarried, CARRY_SP)) sp = m_vHeroStatus[i].m_nSp;
}

void cSaveData::DropCarriedOnDeath() {
  for (int k = 0; k < CARRY_ITEM_COUNT && k < m_vCarried.Size(); ++k)
    if (Flag(SystemData.m_vLoseOnMiss, k)) m_vCarried[k] = 0;
}

void cSaveData::StartNextRound() {
  if (m_nRound < INT32_MAX) ++m_nRound;
  m_vStageClear.Fill(0);
  m_nMapX = WorldMap.m_nStartX;
  m_nMapY = WorldMap.m_nStartY;
}

void cSaveData::CycleRankingCategory(int playKind, int steps) {
  if (playKind < 0 || playKind >= SystemData.m_vRankingModes.Size()) return;
  const cVector<uint8_t>& flags = SystemData.m_vRankingModes[playKind].m_vCategories;
  int enabled = 0;
  for (int c = 0; c < RESULT_CATEGORY_COUNT; ++c) enabled += Flag(flags, c) ? 1 : 0;
  if (enabled == 0) return;
  int cat = m_nRankingCat >= 0 && m_nRankingCat < RESULT_CATEGORY_COUNT ? m_nRankingCat : 0;
  if (steps == 0 && Flag(flags, cat)) return;
  const int dir = steps < 0 ? -1 : 1;
  // Moves past the first repeat over the enabled ones.
  int64_t moves = steps < 0 ? -int64_t{steps} : (steps == 0 ? 1 : steps);
  moves = 1 + (moves - 1) % enabled;
  while (moves > 0) {
    cat = (cat + dir + RESULT_CATEGORY_COUNT) % RESULT_CATEGORY_COUNT;
    if (Flag(flags, cat)) --moves;
  }
  m_nRankingCat = cat;
}

cEdWorldRoute* cSaveData::EnteredRoute() const {
  const ENTEREDROUTE& at = m_lpEnteredRoute;
  if (at.nNode < 0 || at.nNode >= WorldMap.m_vNode.Size()) return nullptr;
  cEdWorldNode& node = WorldMap.m_vNode[at.nNode];
  if (at.nRoute < 0 || at.nRoute >= node.m_vRoute.Size()) return nullptr;
  return &node.m_vRoute[at.nRoute];
}
