#include "records/system.h"

#include <cstring>

#include "records/database.h"
#include "records/system_text_table.h"

namespace {

// One numeric member of the record segment: stored by files of versions
// nFrom .. nUntil (0: every later version). A row without a member is a value
// that those versions stored and this one reads and drops.
struct SYSTEMFIELD {
  int32_t cEdSystem::*pDword;
  uint8_t cEdSystem::*pByte;
  int nFrom;
  int nUntil;
};

constexpr int ALWAYS = 0;

#define DWORD_FIELD(member, from) {&cEdSystem::member, nullptr, from, 0}
#define BYTE_FIELD(member, from) {nullptr, &cEdSystem::member, from, 0}

const SYSTEMFIELD kFields[] = {
    DWORD_FIELD(m_bExtraLifeByScore, 185),
    DWORD_FIELD(m_nExtraLifeScore, ALWAYS),
    DWORD_FIELD(m_bPauseHidesField, ALWAYS),
    DWORD_FIELD(m_bIconLetters, ALWAYS),
    DWORD_FIELD(m_nFont, 205),
    DWORD_FIELD(m_bCentreGlyphs, 170),
    DWORD_FIELD(m_bKeepTestOnlyFlows, 113),
    DWORD_FIELD(m_bReplay, 184),
    DWORD_FIELD(m_bGraphicTitleMenu, 157),
    DWORD_FIELD(m_bCarryLives, ALWAYS),
    DWORD_FIELD(m_bRetryMenuOnMiss, 191),
    DWORD_FIELD(m_bShowLivesOnMap, 191),
    DWORD_FIELD(m_nChallengeStages, ALWAYS),
    DWORD_FIELD(m_bAllChallengesOpen, ALWAYS),
    DWORD_FIELD(m_bMapStageInfo, 167),
    DWORD_FIELD(m_bMapMenuTotal, 167),
    DWORD_FIELD(m_bResetVarsStory, 188),
    DWORD_FIELD(m_bPauseRetryStory, 224),
    DWORD_FIELD(m_bSelectScores, 167),
    DWORD_FIELD(m_bSelectTotal, 167),
    DWORD_FIELD(m_bResetVarsChallenge, 188),
    DWORD_FIELD(m_bPauseRetryChallenge, 224),
    DWORD_FIELD(m_bResetVarsFree, 188),
    DWORD_FIELD(m_bResetVarsTestPlay, 192),
    DWORD_FIELD(m_nColourMode, 187),
    BYTE_FIELD(m_nKeyRed, 187),
    BYTE_FIELD(m_nKeyGreen, 187),
    BYTE_FIELD(m_nKeyBlue, 187),
    DWORD_FIELD(m_bCompat214, 214),
    {nullptr, nullptr, 221, 259},  // dropped in 260
    DWORD_FIELD(m_bCompat261, 261),
    DWORD_FIELD(m_bDefeatSound, 272),
    DWORD_FIELD(m_bD3DCharaBlend, 287),
    DWORD_FIELD(m_nColourAnimSpeed, 515),
    DWORD_FIELD(m_bPaletteCycle, 289),
    DWORD_FIELD(m_bCompat525, 525),
    DWORD_FIELD(m_bCompat555, 555),
    DWORD_FIELD(m_bCompat637, 637),
    DWORD_FIELD(m_bCompat669, 669),
    DWORD_FIELD(m_bCompat677, 677),
    DWORD_FIELD(m_bCompat695, 695),
    DWORD_FIELD(m_bCompat696, 696),
    DWORD_FIELD(m_bCompat697, 697),
    DWORD_FIELD(m_bCompat721, 721),
    DWORD_FIELD(m_bCompat728, 728),
    DWORD_FIELD(m_bCompat733, 733),
    DWORD_FIELD(m_nD3DBpp, 670),
    DWORD_FIELD(m_nDDBpp, 670),
};

#undef DWORD_FIELD
#undef BYTE_FIELD

// A list of bytes: u32 n, then n values. A count that the rest of the file
// cannot hold ends the read (the reader gives 0) and leaves the list empty.
void LoadByteList(cDataReader& r, cVector<uint8_t>& list) {
  uint32_t n = r.ReadCount(1);
  list.resize(n, 0);
  if (n) r.ReadBytes(list.data(), n);
}

// Strings as in the record segment: u32 length + 1, then the bytes with
// their NUL (nothing for length 1 or 0); the text ends at its first NUL. The
// list keeps the strings the file holds whole: when the file ends early the
// rest is missing, and the padding after the load gives the defaults.
void LoadStringList(cDataReader& r, cVector<std::string>& list) {
  uint32_t n = r.ReadCount(4);
  list.clear();
  list.resize(n);
  for (uint32_t i = 0; i < n; ++i) {
    if (!r.ReadString(list[i])) {
      list.resize(i);
      return;
    }
  }
}

void SaveByteList(cDataWriter& w, const cVector<uint8_t>& list) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  if (!list.empty()) w.WriteBytes(list.data(), list.size());
}

void SaveStringList(cDataWriter& w, const cVector<std::string>& list) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  for (const std::string& s : list) w.WriteString(s);
}

// Appends the entries of `defaults` from the list's end up to n.
template <class T>
void PadTo(cVector<T>& list, const cVector<T>& defaults, int n) {
  while (list.Size() < n) list.push_back(defaults[list.size()]);
}

}  // namespace

cEdSystem::cEdSystem() {
  RegisterFields(CurVersion);
  Reset();
}

void cEdSystem::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strTitle);
  for (const SYSTEMFIELD& f : kFields) {
    if (version < f.nFrom || (f.nUntil && version > f.nUntil)) continue;
    if (f.pDword)
      AddDword(&(this->*f.pDword));
    else if (f.pByte)
      AddByte(&(this->*f.pByte));
    else
      AddDword(&DiscardDword);
  }
}

void cEdSystem::Load(cDataReader& r) {
  const int version = r.Version();
  cRecord::Load(r);
  LoadByteList(r, m_vCarry);
  if (version >= 501) LoadByteList(r, m_vLoseOnMiss);
  LoadWholeRecordList(m_vStatusItems, r);
  LoadIntList(m_vStartLives, r);
  if (version >= 191) LoadIntList(m_vInfiniteLives, r);
  if (version >= 186) LoadWholeRecordList(m_vRankingModes, r);
  LoadStringList(r, m_vTexts);
  LoadStringList(r, m_vSystemSounds);
  LoadIntList(m_vScreenBgm, r);
  if (version >= 202) LoadByteList(r, m_vScreenBgmLoop);
  LoadWholeRecordList(m_vTitleMenu, r);
  LoadWholeRecordList(m_vMapMenu, r);
  LoadWholeRecordList(m_vOptionMenu, r);
  if (version >= 674) LoadStringList(r, m_vRankingEntryModes);
  LoadWholeRecordList(m_vIniKeys, r);

  if (version < CurVersion) Upgrade(version);
  ClampBgmIndices();
  Sanitise();
}

void cEdSystem::Save(cDataWriter& w) {
  ClampBgmIndices();
  cRecord::Save(w);
  SaveByteList(w, m_vCarry);
  SaveByteList(w, m_vLoseOnMiss);
  SaveRecordList(m_vStatusItems, w);
  SaveIntList(m_vStartLives, w);
  SaveIntList(m_vInfiniteLives, w);
  SaveRecordList(m_vRankingModes, w);
  SaveStringList(w, m_vTexts);
  SaveStringList(w, m_vSystemSounds);
  SaveIntList(m_vScreenBgm, w);
  SaveByteList(w, m_vScreenBgmLoop);
  SaveRecordList(m_vTitleMenu, w);
  SaveRecordList(m_vMapMenu, w);
  SaveRecordList(m_vOptionMenu, w);
  SaveStringList(w, m_vRankingEntryModes);
  SaveRecordList(m_vIniKeys, w);
}

void cEdSystem::ClampBgmIndices() {
  const uint32_t count = static_cast<uint32_t>(Database.m_vBgm.size());
  for (int32_t& bgm : m_vScreenBgm)
    if (static_cast<uint32_t>(bgm) >= count) bgm = 0;
}

void cEdSystem::Sanitise() {
  const cEdSystem defaults;
  PadTo(m_vCarry, defaults.m_vCarry, SYSTEM_CARRY_COUNT);
  PadTo(m_vLoseOnMiss, defaults.m_vLoseOnMiss, SYSTEM_CARRY_COUNT);
  PadTo(m_vStatusItems, defaults.m_vStatusItems, SYSTEM_STATUS_COUNT);
  PadTo(m_vTitleMenu, defaults.m_vTitleMenu, SYSTEM_TITLEMENU_COUNT);
  PadTo(m_vMapMenu, defaults.m_vMapMenu, SYSTEM_MAPMENU_COUNT);
  PadTo(m_vOptionMenu, defaults.m_vOptionMenu, SYSTEM_OPTIONMENU_COUNT);
  PadTo(m_vRankingEntryModes, defaults.m_vRankingEntryModes, SYSTEM_PLAYKIND_COUNT);
  PadTo(m_vStartLives, defaults.m_vStartLives, SYSTEM_PLAYKIND_COUNT);
  PadTo(m_vInfiniteLives, defaults.m_vInfiniteLives, SYSTEM_PLAYKIND_COUNT);
  PadTo(m_vRankingModes, defaults.m_vRankingModes, SYSTEM_PLAYKIND_COUNT);
  PadTo(m_vSystemSounds, defaults.m_vSystemSounds, SYSTEM_SOUND_COUNT);
  PadTo(m_vScreenBgm, defaults.m_vScreenBgm, SYSTEM_SCREEN_COUNT);
  PadTo(m_vScreenBgmLoop, defaults.m_vScreenBgmLoop, SYSTEM_SCREEN_COUNT);
  PadTo(m_vTexts, defaults.m_vTexts, SYSTEM_TEXT_COUNT);
  PadTo(m_vIniKeys, defaults.m_vIniKeys, SYSTEM_INIKEY_COUNT);
  // A category the file does not hold is not ranked.
  for (cEdRankingMode& mode : m_vRankingModes)
    if (mode.m_vCategories.Size() < SYSTEM_RANKING_CATEGORIES)
      mode.m_vCategories.resize(SYSTEM_RANKING_CATEGORIES, 0);
  if (m_nChallengeStages < 0) m_nChallengeStages = 0;
  if (m_nChallengeStages > SYSTEM_MAX_CHALLENGE_STAGES) m_nChallengeStages = SYSTEM_MAX_CHALLENGE_STAGES;
}

const char* cEdSystem::FontName() const { return GetFontName(m_nFont); }
