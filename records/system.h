#pragma once
// The project-wide settings of data\System.dat: title, font, colour mode and
// key colour, menu and message texts, head-up display items, lives and
// rankings per play kind, front-end music, system sounds, the System.ini keys
// and the compatibility switches that keep older projects behaving as they did.
//
// One instance, SystemData: built with the settings of a new project, loaded
// once by start-up, then only read (from every thread; nothing writes it).
#include <cstdint>
#include <string>

#include "records/record.h"
#include "records/system_elements.h"

// Play kinds: the index of every per-kind list.
constexpr int PLAYKIND_STORY = 0;
constexpr int PLAYKIND_CHALLENGE = 1;
constexpr int PLAYKIND_FREE = 2;
constexpr int PLAYKIND_REPLAY = 3;

// Entries that the runtime indexes in each list. A loaded file holds at least
// these many; a shorter or damaged one is padded with a new project's values.
constexpr int SYSTEM_CARRY_COUNT = 25;     // carry-over items (m_vCarry, m_vLoseOnMiss)
constexpr int SYSTEM_STATUS_COUNT = 5;     // head-up display items
constexpr int SYSTEM_TITLEMENU_COUNT = 7;
constexpr int SYSTEM_MAPMENU_COUNT = 4;
constexpr int SYSTEM_OPTIONMENU_COUNT = 6;
constexpr int SYSTEM_PLAYKIND_COUNT = 4;   // lives, ranking modes, ranking entry texts
constexpr int SYSTEM_SCREEN_COUNT = 4;     // screen music and its loop flags
constexpr int SYSTEM_SOUND_COUNT = 17;
constexpr int SYSTEM_TEXT_COUNT = 28;
constexpr int SYSTEM_INIKEY_COUNT = 10;
constexpr int SYSTEM_RANKING_CATEGORIES = 5;
// The challenge list is sized from the setting; a damaged one stays in range.
constexpr int SYSTEM_MAX_CHALLENGE_STAGES = 9999;

class cEdSystem : public cRecord {
 public:
  // A new project's settings.
  cEdSystem();

  // Registers the numeric members that files of `version` store, in file order.
  void RegisterFields(int version) override;
  // Reads the segment and the lists, upgrades older files, clears music
  // numbers outside Bgm.dat, pads short lists and bounds the challenge count.
  void Load(cDataReader& r) override;
  // Writes the current layout (music numbers outside Bgm.dat first become 0).
  void Save(cDataWriter& w) override;

  // The settings of a new project.
  void Reset();
  // A screen music number that is not below Bgm.dat's record count (compared
  // unsigned, so negatives too) becomes 0: no music.
  void ClampBgmIndices();

  // 1 when the value of head-up display item `item` is at or below its low
  // level (absolute, or a percentage of `maximum`). A maximum of 0 gives 0
  // for values of 0 or more and 1 below 0.
  int32_t IsStatusLow(int item, int32_t value, int32_t maximum) const;
  // Ranked categories (0..4) of a play kind; 0 when its ranking is off.
  int32_t CountRankingCategories(int playKind) const;

  // The face name of m_nFont (the default face when it lies outside the table).
  const char* FontName() const;

  // The switches under the names that the game, stage and front-end code use.
  int32_t bScrollInMoves() const { return m_bCompat214; }
  int32_t bLightningNoGap() const { return m_bCompat555; }
  int32_t bLandWhileRising() const { return m_bCompat677; }
  int32_t bShowDefeat() const { return m_bDefeatSound; }
  int32_t bRecordReplay() const { return m_bReplay; }
  int32_t bRetryMenuOnDeath() const { return m_bRetryMenuOnMiss; }
  int32_t bRetryStory() const { return m_bPauseRetryStory; }
  int32_t bRetryChallenge() const { return m_bPauseRetryChallenge; }
  int32_t bBlockGuard() const { return m_bCompat637; }
  int32_t bStartTriggerAll() const { return m_bCompat697; }
  int32_t bExtraLife() const { return m_bExtraLifeByScore; }
  int32_t nExtraLifeScore() const { return m_nExtraLifeScore; }
  // Scaling a character keeps its hit box's bottom edge where it was (off:
  // its graphic's bottom edge).
  int32_t bScaleKeepsHitBottom() const { return m_bCompat261; }
  // The distance window always takes the other object's graphic offset into
  // account (off: not at the top of a tall hit box, see CheckAxisWindow).
  int32_t bWindowInsetAlways() const { return m_bCompat733; }

  std::string m_strTitle;  // the main window's caption

  // Numeric members, in file order (the first data version that stores each
  // is in the field table of system.cpp).
  int32_t m_bExtraLifeByScore = 0;  // a clear gives extra lives by total score
  int32_t m_nExtraLifeScore = 0;    // score step of the extra lives; 0 none
  int32_t m_bPauseHidesField = 0;   // the pause shows only the back and front layers
  int32_t m_bIconLetters = 0;       // system font 1 draws 'a'..'z' as icons
  int32_t m_nFont = 0;              // index into FontNameTable
  int32_t m_bCentreGlyphs = 0;      // system font 1 centres each glyph in its cell
  int32_t m_bKeepTestOnlyFlows = 0; // test-only flows stay outside the editor
  int32_t m_bReplay = 0;            // attempts are recorded as replays
  int32_t m_bGraphicTitleMenu = 0;  // the title menu is drawn from its image
  int32_t m_bCarryLives = 0;        // story: lives carry on from stage to stage
  int32_t m_bRetryMenuOnMiss = 0;   // story: a lost life offers the retry menu
  int32_t m_bShowLivesOnMap = 0;
  int32_t m_nChallengeStages = 0;
  int32_t m_bAllChallengesOpen = 0;
  int32_t m_bMapStageInfo = 0;
  int32_t m_bMapMenuTotal = 0;
  int32_t m_bResetVarsStory = 0;
  int32_t m_bPauseRetryStory = 0;
  int32_t m_bSelectScores = 0;
  int32_t m_bSelectTotal = 0;
  int32_t m_bResetVarsChallenge = 0;
  int32_t m_bPauseRetryChallenge = 0;
  int32_t m_bResetVarsFree = 0;
  int32_t m_bResetVarsTestPlay = 0;
  int32_t m_nColourMode = 0;  // 0 8-bit with palette, 1 24-bit without
  uint8_t m_nKeyRed = 0;      // the transparent (key) colour
  uint8_t m_nKeyGreen = 0;
  uint8_t m_nKeyBlue = 0;
  int32_t m_bCompat214 = 0;   // compatibility switches: 1 keeps the rule of older versions
  int32_t m_bCompat261 = 0;
  int32_t m_bDefeatSound = 0;
  int32_t m_bD3DCharaBlend = 0;
  int32_t m_nColourAnimSpeed = 0;
  int32_t m_bPaletteCycle = 0;  // 8-bit DirectDraw: entries 208..239 rotate
  int32_t m_bCompat525 = 0;
  int32_t m_bCompat555 = 0;
  int32_t m_bCompat637 = 0;
  int32_t m_bCompat669 = 0;
  int32_t m_bCompat677 = 0;
  int32_t m_bCompat695 = 0;
  int32_t m_bCompat696 = 0;  // stored and upgraded; nothing reads it
  int32_t m_bCompat697 = 0;
  int32_t m_bCompat721 = 0;
  int32_t m_bCompat728 = 0;
  int32_t m_bCompat733 = 0;
  int32_t m_nD3DBpp = 0;  // full screen under Direct3D: 0 32 bits, 1 16 bits
  int32_t m_nDDBpp = 0;   // full screen under DirectDraw: 0 32, 1 16, 2 8 bits

  // Lists (see the SYSTEM_*_COUNT constants for the entries the runtime uses).
  cVector<uint8_t> m_vCarry;       // per carry-over item: story carries it on
  cVector<uint8_t> m_vLoseOnMiss;  // per carry-over item: a lost life drops it
  cVector<cEdStatusItem> m_vStatusItems;
  cVector<cEdSystemText> m_vTitleMenu;
  cVector<cEdSystemText> m_vMapMenu;
  cVector<cEdSystemText> m_vOptionMenu;
  cVector<std::string> m_vRankingEntryModes;
  cVector<int32_t> m_vStartLives;     // per play kind
  cVector<int32_t> m_vInfiniteLives;  // per play kind: non-zero = infinite
  cVector<cEdRankingMode> m_vRankingModes;
  cVector<std::string> m_vSystemSounds;
  cVector<int32_t> m_vScreenBgm;      // per screen kind: Bgm.dat index, 0 none
  cVector<uint8_t> m_vScreenBgmLoop;
  cVector<std::string> m_vTexts;
  cVector<cEdIniKey> m_vIniKeys;

 private:
  void Upgrade(int version);
  // Pads every list to the entries the runtime indexes, with a new project's
  // values, and bounds the challenge count.
  void Sanitise();
};

extern cEdSystem SystemData;
