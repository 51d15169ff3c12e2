#pragma once
// One stage file in memory: the stage's settings (map size, scrolling, frame
// rate, time limit, music, game speed, collision boxes, banners), its own
// palette of block, character and item definitions, the blocks, characters
// and items placed on its map, its background layers, texts, off-screen
// removal rules and ranking switches.
//
// Stage is the running stage: LoadStage reads every stage file into it and
// the stage scene plays it. StageCopy keeps the settings as loaded (with
// empty palette and placed lists); the stage scene restores Stage's settings
// from it whenever it sets the stage up again.
//
// Units: map positions and sizes in cells of 32 x 32 dots, boxes in dots,
// times in frames unless stated. Flags are int32 0 or 1.
#include <cstdint>
#include <string>

#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"
#include "records/palette_sizes.h"
#include "records/record.h"
#include "records/stage_parts.h"

// The tail word of every stage file, which lets a damaged or cut file be
// recognised before it is read.
constexpr uint32_t STAGE_FILE_TRAILER = 123456789;

// Game speed levels: 1 to 10 run that many logic steps per frame at 6 dots
// per step at most; 11 to 19 run level - 10 steps with 60 dots per frame.
constexpr int STAGE_MIN_SPEED_LEVEL = 1;
constexpr int STAGE_MAX_SPEED_LEVEL = 19;

// The result categories that a stage may rank.
constexpr int STAGE_RANKED_COUNT = 5;

class cEdStage : public cRecord {
 public:
  std::string m_strName;  // kept, never shown
  int32_t m_nWidth = 0;   // map width in cells
  int32_t m_nAux1 = 0;    // kept and saved
  int32_t m_nAux2 = 0;
  int32_t m_nHeight = 0;  // map height in cells
  // With a flag set the view stays within the columns / rows given.
  int32_t m_bScrollLimitLeft = 0;
  int32_t m_bScrollLimitRight = 0;
  int32_t m_bScrollLimitTop = 0;
  int32_t m_bScrollLimitBottom = 0;
  int32_t m_nScrollLimitLeft = 0;
  int32_t m_nScrollLimitRight = 0;
  int32_t m_nScrollLimitTop = 0;
  int32_t m_nScrollLimitBottom = 0;
  int32_t m_nFps = 60;
  int32_t m_bTimeLimit = 0;
  int32_t m_nTimeLimit = 200;   // seconds
  int32_t m_nTimeWarning = 20;  // seconds left from which the warning sounds
  int32_t m_bAutoScrollX = 0;   // 0 the view follows the hero, 1 auto-scroll
  int32_t m_bAutoScrollY = 0;
  int32_t m_nAutoScrollSpeedX = 0;  // tenths of a dot per frame
  int32_t m_nAutoScrollSpeedY = 0;
  double m_dGravity = 0.4;  // dots per frame gained per frame while falling
  int32_t m_nSpeedLevel = 10;
  int32_t m_nHitChecks = 0;  // 0 hits tested every step, 1 to 5 on that many steps
  int32_t m_nBgm = 0;        // Bgm.dat index, 0 no music
  int32_t m_bBgmLoop = 0;    // from version 166
  int32_t m_bBgmKeep = 0;    // from version 199: music already playing goes on
  int32_t m_bDrawDepth = 1;  // objects drawn in eight passes by depth
  int32_t m_bTakeHeroStatus = 0;
  int32_t m_bKeepHeroStatus = 0;
  int32_t m_bShowHud = 1;     // from version 183
  int32_t m_bQuickClear = 0;  // from version 184
  int32_t m_bStartBanner = 0;
  int32_t m_bStartBanner2 = 1;  // from version 225
  int32_t m_bClearBanner = 1;
  int32_t m_bGameOverBanner = 1;
  // The hero's boxes (hit from version 200; flying contact from 155).
  int32_t m_nHeroHitW = 16;
  int32_t m_nHeroHitH = 24;
  int32_t m_nHeroHitFlyW = 16;
  int32_t m_nHeroHitFlyH = 16;
  int32_t m_nHeroContactW = 16;
  int32_t m_nHeroContactH = 24;
  int32_t m_nHeroContactFlyW = 16;
  int32_t m_nHeroContactFlyH = 16;
  int32_t m_nHeroShotContactW = 12;
  int32_t m_nHeroShotContactH = 8;
  int32_t m_nHeroPickupW = 16;
  int32_t m_nHeroPickupH = 16;
  // Box placement in the cell: 0 centred, 1 at the bottom.
  int32_t m_bHeroHitBottom = 1;
  int32_t m_bHeroHitFlyBottom = 0;
  int32_t m_bHeroContactBottom = 1;
  int32_t m_bHeroContactFlyBottom = 0;
  // Box display: 0 none, 1 filled, 2 frame; colours 0 to 7 (7 rainbow).
  int32_t m_nShowHitBox = 0;
  int32_t m_nShowContactBox = 0;
  int32_t m_nShowShotBox = 0;
  int32_t m_nShowPickupBox = 0;
  int32_t m_nHitBoxColor = 0;
  int32_t m_nContactBoxColor = 0;
  int32_t m_nShotBoxColor = 0;
  int32_t m_nPickupBoxColor = 0;
  // The other characters' boxes.
  int32_t m_nCharaHitW = 16;
  int32_t m_nCharaHitH = 24;
  int32_t m_nCharaHitFlyW = 16;
  int32_t m_nCharaHitFlyH = 16;
  int32_t m_nCharaContactW = 12;
  int32_t m_nCharaContactH = 24;
  int32_t m_nCharaContactFlyW = 12;
  int32_t m_nCharaContactFlyH = 16;
  int32_t m_nCharaShotContactW = 30;
  int32_t m_nCharaShotContactH = 30;
  int32_t m_bCharaHitBottom = 1;
  int32_t m_bCharaHitFlyBottom = 0;
  int32_t m_bCharaContactBottom = 1;
  int32_t m_bCharaContactFlyBottom = 0;
  int32_t m_nItemBoxW = 28;
  int32_t m_nItemBoxH = 28;
  int32_t m_nHeroShotBoxW = 16;  // shots of player-operated characters
  int32_t m_nHeroShotBoxH = 16;
  int32_t m_nAux3 = 16;
  int32_t m_nAux4 = 16;
  int32_t m_nCharaShotBoxW = 16;  // shots of computer-operated characters
  int32_t m_nCharaShotBoxH = 16;
  int32_t m_nAux5 = 16;
  int32_t m_nAux6 = 16;
  int32_t m_nAux7 = 1;
  int32_t m_nWidthDots = 0;  // the editor's map size in dots; the outer edge is this + 640
  int32_t m_nHeightDots = 0;
  // Derived from the speed level by SetSpeedLevel; stored, never trusted.
  int32_t m_nStepsPerFrame = 0;
  // Logic steps a frame, at least 1 whatever was stored.
  int StepsPerFrame() const { return m_nStepsPerFrame > 0 ? m_nStepsPerFrame : 1; }
  double m_dSteps = 0;
  double m_dStepsSquared = 0;
  double m_dMaxSpeed = 0;         // dots per frame
  double m_dGravityPerStep = 0;
  double m_dMaxSpeedPerStep = 0;
  int32_t m_nAirborneSteps = 0;   // steps in 8 frames
  int32_t m_bHitOnScreen = 1;     // only objects in view take part in hits
  int32_t m_nHeroGuardTime = 30;  // frames; the users multiply them by the steps
  int32_t m_nHeroInvincibleTime = 0;
  int32_t m_nCharaGuardTime = 30;
  int32_t m_nCharaInvincibleTime = 0;

  // The tail.
  cVector<int32_t> m_vRanked;  // per result category: 1 ranked at the clear
  cEdOffScreenRule m_RuleChara;      // characters that are not block characters
  cEdOffScreenRule m_RuleBlockChara;
  cEdOffScreenRule m_RuleItem;
  cEdOffScreenRule m_RuleHeroShot;   // shots of player-operated characters
  cEdOffScreenRule m_RuleCharaShot;  // shots of computer-operated characters
  // The stage's own definitions; entry 0 of each is the "none" entry.
  cVector<cEdBlock> m_vPaletteBlock;
  cVector<cEdChara> m_vPaletteChara;
  cVector<cEdItem> m_vPaletteItem;
  // What the map holds: each with its cell, palette reference and values.
  cVector<cEdBlock> m_vPlacedBlock;
  cVector<cEdChara> m_vPlacedChara;
  cVector<cEdItem> m_vPlacedItem;
  cVector<cEdBackground> m_vBackground;  // back to front
  cVector<cEdTextRecord> m_vText;

  // Not in the file.
  std::string m_strPath;     // the file last loaded into this record (LoadStage)
  int32_t m_bLoaded = 0;     // set by the loading worker once the file was read
  int32_t m_nStepsPerTenth = 0;  // logic steps in six frames

  // A new stage (Reset). Stage itself answers for the stage palette kind
  // (palette_sizes.h, palette_entries.h) from the moment it is built.
  cEdStage();

  void RegisterFields(int version) override;
  // The whole stage, its upgrades and Normalise (stage_file.cpp).
  void Load(cDataReader& r) override;
  // Normalise, then the stage file layout with its trailer.
  void Save(cDataWriter& w) override;
  // The same layout, with the settings, ranking switches, rules, backgrounds
  // and texts of `settings` (the stage as loaded) and the palettes and
  // placements of this record. The replay writer calls it on Stage with
  // StageCopy.
  void SaveForReplay(cDataWriter& w, cEdStage& settings);

  // The defaults of a new stage. The texts stay.
  void Reset();
  // The default boxes and their placements.
  void ResetBoxSizes();
  // Repairs after a load and before a save: scroll limits within the map,
  // the derived speed members, the music index, palettes of two entries at
  // least, every definition's validation.
  void Normalise();
  // Stores the level (brought into 1..19) and derives the speed members.
  // The stage scene calls it at every set-up.
  void SetSpeedLevel(int level);

  // Index in the placed characters of the hero (the first one with a
  // graphic that a player operates), or -1.
  int FindHero();
  int HasHero() { return FindHero() >= 0 ? 1 : 0; }

  // The settings of a stage that LoadStage copies into StageCopy (and the
  // stage scene back): registered members, backgrounds, texts, rules,
  // ranking switches. Palettes and placements are not touched.
  void CopySettingsFrom(cEdStage& source);
  // Empties the three palettes and the three placed lists (StageCopy holds none).
  void ClearDefinitions();

  // The stage palette's answers: the entries of a list (PALETTELIST), or
  // while that list is being read, the count its file gives; entry `index`,
  // a class default for one not read yet, or nullptr past the end. While a
  // stage record loads, normalises or saves on a thread, the stage kind
  // names its palette there; everywhere else it names Stage's.
  int ListSize(int list) const;
  const cRecord* Entry(int list, int index) const;

 private:
  void ResetRules();
  void LoadDefinitions(cDataReader& r);
  void SaveDefinitions(cDataWriter& w);
  void NormaliseDefinitions();
  void LoadTail(cDataReader& r);
  void Upgrade(int version);
  void SaveTail(cDataWriter& w, cEdStage& settings);

  // Per palette list, the count its file gives while it is being read; else 0.
  int m_anReading[PALETTELIST_COUNT] = {0, 0, 0};
};

// While it lives, the stage kind of palette references names the palette of
// `stage` on the calling thread: the record's load, normalisation and save
// set it, so a stage read into a record of its own resolves against itself.
class cStagePaletteScope {
 public:
  explicit cStagePaletteScope(const cEdStage* stage);
  ~cStagePaletteScope();
  cStagePaletteScope(const cStagePaletteScope&) = delete;
  cStagePaletteScope& operator=(const cStagePaletteScope&) = delete;

 private:
  const cEdStage* m_pPrevious;
};

extern cEdStage Stage;
extern cEdStage StageCopy;
