// Upgrades of System.dat files older than the current data version. Each row
// applies to files below its version, in ascending order, so a file is
// brought step by step to the current layout of its texts, keys and flags.
#include "records/system.h"
#include "records/system_text_table.h"

namespace {

// Puts `value` at `index`: the entries from there move up one place and the
// last one is lost, so the count stays (the list was sized first).
template <class T>
void InsertShift(cVector<T>& list, int index, const T& value) {
  if (index < 0 || index >= list.Size()) return;
  for (int j = list.Size() - 1; j > index; --j) list[j] = list[j - 1];
  list[index] = value;
}

cEdIniKey NumberKey(const char* name, int32_t number) {
  cEdIniKey key;
  key.SetNumber(name, number);
  return key;
}

struct SYSTEMUPGRADE {
  int nBelow;
  void (*Apply)(cEdSystem& s, int version);
};

const SYSTEMUPGRADE kSystemUpgrades[] = {
    {113, [](cEdSystem& s, int) { s.m_bKeepTestOnlyFlows = 0; }},
    {157, [](cEdSystem& s, int) { s.m_bGraphicTitleMenu = 0; }},
    {167, [](cEdSystem& s, int) {
       s.m_bMapStageInfo = s.m_bMapMenuTotal = s.m_bSelectScores = s.m_bSelectTotal = 1;
     }},
    {168, [](cEdSystem& s, int) {
       s.m_vCarry.resize(SYSTEM_CARRY_COUNT, 0);
       InsertShift<uint8_t>(s.m_vCarry, 16, 1);
     }},
    {169, [](cEdSystem& s, int) {
       const SYSTEMDEFAULTTEXTS& t = SystemDefaultTexts();
       s.m_vMapMenu.resize(SYSTEM_MAPMENU_COUNT);
       cEdSystemText autoSave;
       autoSave.m_bVisible = 1;
       autoSave.m_strText = t.strAutoSaveEntry;
       InsertShift(s.m_vMapMenu, 1, autoSave);
       s.m_vTexts.resize(SYSTEM_TEXT_COUNT);
       InsertShift(s.m_vTexts, 12, t.strNoSaveSlot);
       InsertShift(s.m_vTexts, 12, t.strAutoSaveOff);
       InsertShift(s.m_vTexts, 12, t.strAutoSaveOn);
     }},
    {170, [](cEdSystem& s, int) { s.m_bCentreGlyphs = 0; }},
    {181, [](cEdSystem& s, int) {
       const SYSTEMDEFAULTTEXTS& t = SystemDefaultTexts();
       for (int k = 0; k < SYSTEM_PLAYKIND_COUNT && k < s.m_vRankingModes.Size(); ++k) {
         cVector<uint8_t>& categories = s.m_vRankingModes[k].m_vCategories;
         categories.resize(SYSTEM_RANKING_CATEGORIES, 0);
         categories[3] = 0;
         categories[4] = 0;
       }
       s.m_vTexts.resize(SYSTEM_TEXT_COUNT);
       InsertShift(s.m_vTexts, 8, t.strHpLeft);
       InsertShift(s.m_vTexts, 9, t.strSpLeft);
     }},
    {184, [](cEdSystem& s, int) { s.m_bReplay = 1; }},
    {185, [](cEdSystem& s, int) { s.m_bExtraLifeByScore = 1; }},
    {187, [](cEdSystem& s, int) {
       s.m_nColourMode = 0;
       s.m_nKeyRed = 0;
       s.m_nKeyGreen = 177;
       s.m_nKeyBlue = 0;
     }},
    {188, [](cEdSystem& s, int) { s.m_bResetVarsStory = s.m_bResetVarsChallenge = s.m_bResetVarsFree = 1; }},
    {191, [](cEdSystem& s, int) {
       s.m_vInfiniteLives = cVector<int32_t>{0, 0, 0, 1};
       s.m_bRetryMenuOnMiss = 0;
       s.m_bShowLivesOnMap = 0;
     }},
    {192, [](cEdSystem& s, int) { s.m_bResetVarsTestPlay = 1; }},
    {193, [](cEdSystem& s, int) {
       const SYSTEMDEFAULTTEXTS& t = SystemDefaultTexts();
       s.m_vTexts.resize(SYSTEM_TEXT_COUNT);
       InsertShift(s.m_vTexts, 22, t.strRetry);
       InsertShift(s.m_vTexts, 23, t.strBackToMap);
     }},
    {201, [](cEdSystem& s, int) {
       s.m_vCarry.resize(SYSTEM_CARRY_COUNT, 0);
       InsertShift<uint8_t>(s.m_vCarry, 14, 0);
     }},
    {202, [](cEdSystem& s, int) {
       s.m_vScreenBgmLoop.resize(SYSTEM_SCREEN_COUNT);
       s.m_vScreenBgmLoop.Fill(1);
     }},
    {205, [](cEdSystem& s, int) { s.m_nFont = DEFAULT_FONT; }},
    {210, [](cEdSystem& s, int) {
       s.m_vCarry.resize(SYSTEM_CARRY_COUNT, 0);
       InsertShift<uint8_t>(s.m_vCarry, 9, 0);
     }},
    {214, [](cEdSystem& s, int) { s.m_bCompat214 = 1; }},
    {224, [](cEdSystem& s, int) { s.m_bPauseRetryStory = s.m_bPauseRetryChallenge = 0; }},
    {261, [](cEdSystem& s, int) { s.m_bCompat261 = 1; }},
    {272, [](cEdSystem& s, int) { s.m_bDefeatSound = 0; }},
    {286, [](cEdSystem& s, int) {
       s.m_vIniKeys.resize(SYSTEM_INIKEY_COUNT);
       InsertShift(s.m_vIniKeys, 0, NumberKey("Direct3D", 1));
       if (s.m_vIniKeys[3].m_nNumber >= 3) s.m_vIniKeys[3].m_nNumber = 2;  // VSync
     }},
    {287, [](cEdSystem& s, int) { s.m_bD3DCharaBlend = 0; }},
    {289, [](cEdSystem& s, int) { s.m_bPaletteCycle = s.m_nColourMode == 0 ? 1 : 0; }},
    {501, [](cEdSystem& s, int) {
       s.m_vLoseOnMiss.resize(SYSTEM_CARRY_COUNT);
       s.m_vLoseOnMiss.Fill(0);
     }},
    {515, [](cEdSystem& s, int) { s.m_nColourAnimSpeed = 16; }},
    {525, [](cEdSystem& s, int) { s.m_bCompat525 = 1; }},
    {555, [](cEdSystem& s, int) { s.m_bCompat555 = 1; }},
    {567, [](cEdSystem& s, int) {
       s.m_vIniKeys.resize(SYSTEM_INIKEY_COUNT);
       InsertShift(s.m_vIniKeys, 4, NumberKey("DD_VideoStretch", 0));
     }},
    {568, [](cEdSystem& s, int) {
       s.m_vIniKeys.resize(SYSTEM_INIKEY_COUNT);
       InsertShift(s.m_vIniKeys, 4, NumberKey("D3D_FontCache", 0));
       InsertShift(s.m_vIniKeys, 5, NumberKey("DD_FontCache", 1));
     }},
    {587, [](cEdSystem& s, int) {
       s.m_vStatusItems.resize(SYSTEM_STATUS_COUNT);
       for (int i : {2, 3}) {
         s.m_vStatusItems[i].m_nLowLevel = 33;
         s.m_vStatusItems[i].m_bLowPercent = 1;
       }
     }},
    {637, [](cEdSystem& s, int version) { s.m_bCompat637 = version <= 616 ? 1 : 0; }},
    {669, [](cEdSystem& s, int) { s.m_bCompat669 = 1; }},
    {670, [](cEdSystem& s, int) {
       s.m_nD3DBpp = 0;
       s.m_nDDBpp = 2;
     }},
    {672, [](cEdSystem& s, int) {
       s.m_vIniKeys.resize(SYSTEM_INIKEY_COUNT);
       s.m_vIniKeys[9].SetNumber("English", 0);
     }},
    {677, [](cEdSystem& s, int) { s.m_bCompat677 = 1; }},
    {695, [](cEdSystem& s, int) { s.m_bCompat695 = 1; }},
    {696, [](cEdSystem& s, int) { s.m_bCompat696 = 1; }},
    {697, [](cEdSystem& s, int) { s.m_bCompat697 = 1; }},
    {721, [](cEdSystem& s, int) { s.m_bCompat721 = 1; }},
    {728, [](cEdSystem& s, int) { s.m_bCompat728 = 1; }},
    {733, [](cEdSystem& s, int) { s.m_bCompat733 = 1; }},
};

}  // namespace

void cEdSystem::Upgrade(int version) {
  for (const SYSTEMUPGRADE& u : kSystemUpgrades)
    if (version < u.nBelow) u.Apply(*this, version);
}
