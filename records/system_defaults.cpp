// The settings of a new project.
#include "records/system.h"
#include "records/system_text_table.h"

namespace {

// Status items by position: visible, icon, digits (labels from the text table).
struct STATUSDEFAULT {
  int32_t bVisible, bIcon, nDigits;
};
const STATUSDEFAULT kStatusItems[SYSTEM_STATUS_COUNT] = {
    {1, 1, 4},  // total score
    {1, 1, 3},  // stage score
    {1, 1, 0},  // hit points (gauge)
    {1, 1, 0},  // skill points (gauge)
    {1, 1, 2},  // lives
};

// Ranking per play kind: on, and the five categories.
struct RANKINGDEFAULT {
  int32_t bRanking;
  uint8_t categories[SYSTEM_RANKING_CATEGORIES];
};
const RANKINGDEFAULT kRankingModes[SYSTEM_PLAYKIND_COUNT] = {
    {1, {1, 1, 1, 1, 1}},  // story
    {1, {1, 1, 1, 1, 1}},  // challenge
    {1, {1, 1, 1, 1, 1}},  // free play
    {0, {0, 0, 0, 0, 0}},  // replay
};

// Carried in story mode, by carry-over item; -1: left as it is.
const int kCarry[SYSTEM_CARRY_COUNT] = {
    1, 1, 0, 0, 0, 0, 0, 0, 0,  // 0 graphic, 1 animation set, 2..8
    -1,                         // 9 scroll sync
    0, 0, 0,                    // 10 sight, 11 hit points, 12 skill points
    1, 1,                       // 13 maximum hit points, 14 maximum skill points
    0,                          // 15 hit-box mode
    1, 1,                       // 16 power, 17 impact
    -1,                         // 18 defence
    1, 1, 1,                    // 19 impact resistance, 20 stop, 21 flows
    0, 0, 0,                    // 22 time, 23 lives, 24 music
};

// The System.ini keys by position; FreeStage is the one text key.
struct INIKEYDEFAULT {
  const char* szKey;
  int32_t nNumber;
};
const INIKEYDEFAULT kIniKeys[SYSTEM_INIKEY_COUNT] = {
    {"Direct3D", 2},      {"WindowMode", 0},   {"Bpp", 0},     {"VSync", 2},
    {"D3D_FontCache", 0}, {"DD_FontCache", 1}, {"DD_VideoStretch", 0},
    {"ShowFps", 1},       {"FreeStage", 0},    {"English", 0},
};
constexpr int INIKEY_FREESTAGE = 8;

void SetMenu(cVector<cEdSystemText>& menu, const cVector<std::string>& texts) {
  menu.resize(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) menu[i].m_strText = texts[i];
}

}  // namespace

void cEdSystem::Reset() {
  const SYSTEMDEFAULTTEXTS& text = SystemDefaultTexts();
  Clear();

  m_nExtraLifeScore = 100;
  m_bPauseHidesField = 1;
  m_bIconLetters = 0;
  m_nFont = DEFAULT_FONT;
  m_bReplay = 1;
  m_bGraphicTitleMenu = 1;
  m_bResetVarsStory = 1;
  m_bResetVarsChallenge = 1;
  m_bResetVarsFree = 1;
  m_bPauseRetryStory = 1;
  m_bPauseRetryChallenge = 1;
  m_nColourAnimSpeed = 16;

  m_vCarry.resize(SYSTEM_CARRY_COUNT, 0);
  for (int i = 0; i < SYSTEM_CARRY_COUNT; ++i)
    if (kCarry[i] >= 0) m_vCarry[i] = static_cast<uint8_t>(kCarry[i]);
  m_vLoseOnMiss.resize(SYSTEM_CARRY_COUNT, 0);
  m_vLoseOnMiss.Fill(0);
  m_vLoseOnMiss[11] = 1;
  m_vLoseOnMiss[12] = 1;

  m_vStatusItems.resize(SYSTEM_STATUS_COUNT);
  for (int i = 0; i < SYSTEM_STATUS_COUNT; ++i) {
    cEdStatusItem& item = m_vStatusItems[i];
    item.m_bVisible = kStatusItems[i].bVisible;
    item.m_bIcon = kStatusItems[i].bIcon;
    item.m_nDigits = kStatusItems[i].nDigits;
    item.m_strLabel = text.vStatusLabels[i];
  }

  m_vRankingModes.resize(SYSTEM_PLAYKIND_COUNT);
  for (int k = 0; k < SYSTEM_PLAYKIND_COUNT; ++k) {
    cEdRankingMode& mode = m_vRankingModes[k];
    mode.m_bRanking = kRankingModes[k].bRanking;
    if (mode.m_vCategories.Size() < SYSTEM_RANKING_CATEGORIES)
      mode.m_vCategories.resize(SYSTEM_RANKING_CATEGORIES, 0);
    for (int c = 0; c < SYSTEM_RANKING_CATEGORIES; ++c) mode.m_vCategories[c] = kRankingModes[k].categories[c];
  }

  SetMenu(m_vTitleMenu, text.vTitleMenu);
  SetMenu(m_vMapMenu, text.vMapMenu);
  SetMenu(m_vOptionMenu, text.vOptionMenu);
  m_vRankingEntryModes = text.vRankingEntryModes;

  m_bCarryLives = 1;
  m_bRetryMenuOnMiss = 1;
  m_bShowLivesOnMap = 1;
  m_nChallengeStages = 40;
  m_bAllChallengesOpen = 1;

  m_vStartLives = cVector<int32_t>{5, 5, 5, 99};
  m_vInfiniteLives = cVector<int32_t>{1, 1, 1, 1};

  m_bMapStageInfo = 1;
  m_bMapMenuTotal = 1;
  m_bSelectScores = 1;
  m_bSelectTotal = 1;

  m_vTexts = text.vTexts;
  m_vSystemSounds.resize(SYSTEM_SOUND_COUNT);
  m_vSystemSounds.Fill(std::string());
  m_vScreenBgm = cVector<int32_t>{0, 0, 0, 0};
  m_vScreenBgmLoop = cVector<uint8_t>{1, 1, 1, 1};

  m_vIniKeys.resize(SYSTEM_INIKEY_COUNT);
  for (int i = 0; i < SYSTEM_INIKEY_COUNT; ++i) {
    if (i == INIKEY_FREESTAGE)
      m_vIniKeys[i].SetText(kIniKeys[i].szKey, "");
    else
      m_vIniKeys[i].SetNumber(kIniKeys[i].szKey, kIniKeys[i].nNumber);
  }

  m_nD3DBpp = 0;
  m_nDDBpp = 2;
}
