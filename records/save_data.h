#pragma once
// The player's progress record: lives, scores and the five result totals of
// the run, the stage being played, the world-map position, the stage-clear
// flags, the common variables, the best total per stage, the challenge
// results, the hero status carried from stage to stage and a few front-end
// settings. PlayData is the live one; ReplayStart and ReplayStartPrev keep
// the copies taken when an attempt starts recording. A record is the whole
// content of a story save slot (user_data\story\StoryNN.dat) and of
// user_data\challenge\Challenge.dat.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "platform/local_time.h"
#include "records/record.h"
#include "records/save_elements.h"

class cEdChara;
class cEdWorldRoute;

// Lives of a play with infinite lives: shown as "∞", never lost and never
// changed by commands or code.
constexpr int32_t LIVES_INFINITE = 999999;
// Common variables C0..C255.
constexpr int COMMON_VAR_COUNT = 256;
// Stage-clear flags, indexed by a route's stage number.
constexpr int STAGE_CLEAR_FLAG_COUNT = 1000;
// Carried hero-status items (System.dat flags each one).
constexpr int CARRY_ITEM_COUNT = 25;
// Story save slots, Story01.dat .. Story99.dat.
constexpr int SAVE_SLOT_COUNT = 99;
// Result categories: the ranking tables and the five run totals.
constexpr int RESULT_CATEGORY_COUNT = 5;

// Carried items that are not fields of the hero's definition.
constexpr int CARRY_START_EFFECT = 4;  // three values the stage hands in
constexpr int CARRY_HP = 11;
constexpr int CARRY_SP = 12;
constexpr int CARRY_FLOWS = 21;  // the definition's flow list
constexpr int CARRY_TIME = 22;   // the stage's time limit
constexpr int CARRY_LIVES = 23;
constexpr int CARRY_BGM = 24;  // the stage's music number

// The world-map entrance that led into the running story stage, by position
// in WorldMap (node, then route of that node); -1 for none.
struct ENTEREDROUTE {
  int32_t nNode = -1;
  int32_t nRoute = -1;
};

class cSaveData : public cRecord {
 public:
  // Registered for the current version, then Reset.
  cSaveData();

  // The numeric fields and strings a file of `version` stores, in file order.
  void RegisterFields(int version) override;
  // The segment, then the tail (save time, carried flags from files after
  // version 500, hero statuses, tallies, challenge records, stage-clear
  // flags, common variables); upgrades of older files; Normalize. The
  // entered-route word is read and ignored.
  void Load(cDataReader& r) override;
  // Normalize, then the segment (the entered-route word as 0) and the tail.
  void Save(cDataWriter& w) override;

  // Fresh progress: every registered field 0 and string empty, 25 carried
  // flags 0, one default hero status, 1000 stage-clear flags 0 with flag 0
  // set, 256 common variables 0, no tallies and no challenge records, one
  // challenge stage unlocked, no slot, ranking name "aaa", no snapshot and
  // no entered route.
  void Reset();
  // The score of the run and the four other category totals become 0.
  void ClearTotals();
  // Keeps the record within the project: a map position outside the world
  // map (below 0 or past its side) takes the start cell's coordinate, the
  // challenge list takes System.dat's challenge count and the unlocked count
  // stays within it. After every load and before every save.
  void Normalize();

  // The lists of the tail: u32 n, then n elements, each starting as a
  // default element.
  void LoadHeroStatusList(cDataReader& r);
  void LoadTallies(cDataReader& r);
  void LoadChallengeRecords(cDataReader& r);

  // Slot n (0..98) takes this record with the local time as its save time,
  // and its summary in SlotSummary becomes used with that time. False (with
  // a report-log line; the old file and the summary stay) when the file
  // cannot be written or n is no slot.
  bool SaveSlot(int n);
  // Slot n replaces this record, m_nSlot becomes n and the story's lives
  // rule runs. False, and the record unchanged, when the file is missing,
  // damaged (a report-log line) or n is no slot.
  bool LoadSlot(int n);
  // Challenge.dat replaces this record, then the challenge lives rule. False,
  // and the record unchanged, when it is missing or damaged.
  bool LoadChallenge();
  // Writes Challenge.dat (after a challenge stage). False with a report-log
  // line when it cannot be written; the old file stays.
  bool SaveChallenge();
  // The lives after a load of play kind `kind` (story or challenge):
  // infinite lives of the kind set both counts to LIVES_INFINITE; otherwise
  // stored infinite lives become the kind's start lives.
  void ApplyLivesRule(int kind);

  // Stores the stage path in its base form: the file name (never a folder
  // above it) is cut after its last "-1", which becomes "." and makes the
  // stage a numbered one (c01-1.stg4_003 gives c01.), or else after its last
  // "."; a file name without either gives the empty path. Null is empty.
  void SetStagePath(const char* name);
  void SetStagePath(const std::string& name) { SetStagePath(name.c_str()); }
  // Raises the tally of stage `name` (base form) to `value` and the best
  // total by what the tally gained; a new stage adds its value.
  void AddStageTally(const char* name, int32_t value);
  // The tally of stage `name`; 0 when it has none.
  int32_t FindStageTally(const char* name) const;
  // The best total becomes the sum of the tallies of the world map's stages.
  void SumMapTallies();

  // At a stage's start: the common variables, lives and score of the run.
  void TakeStageStartSnapshot();
  // bFull (a restart): all three come back. Otherwise (after a death) the
  // score comes back, and the variables when System.dat's restore-on-death
  // flag of the play kind says so (test play has its own flag; replay
  // playback always restores them). Nothing before the first snapshot.
  void RestoreStageStartSnapshot(int bFull, int playKind);

  // After a cleared area: every item that System.dat carries is stored in
  // hero status i (the list grows to hold it) from the hero's definition or,
  // for items 4, 11, 12, 22, 23 and 24, from the values given, and becomes
  // carried. A negative index stores nothing.
  void StoreHeroStatus(int i, const cEdChara& hero, int32_t hp, int32_t sp, int32_t startEffect,
                       int32_t startEffectMode, int32_t startEffectLoop, int32_t time, int32_t lives,
                       int32_t bgm);
  // Before the hero is placed: every carried item of status i but HP and SP
  // goes back into the hero's definition, the stage's time limit and music
  // and the lives. Nothing without a stored status or for an index outside
  // the list.
  void ApplyHeroStatus(int i, cEdChara& hero);
  // The stored HP and SP of status i where both System.dat and the record
  // carry them; nothing otherwise.
  void ApplyHeroHpSp(int i, int32_t& hp, int32_t& sp) const;
  // The items that System.dat loses on a death stop being carried.
  void DropCarriedOnDeath();

  // The story starts again: next round, no stage cleared, the walker at the
  // world map's start cell.
  void StartNextRound();
  // Moves the selected ranking category by `steps` enabled categories of
  // the play kind's ranking mode (wrapping over 0..4); 0 snaps to an enabled
  // one. Nothing when the kind enables none.
  void CycleRankingCategory(int playKind, int steps);

  // The entrance of the running story stage (kept at run time only).
  void SetEnteredRoute(int node, int route) { m_lpEnteredRoute = {node, route}; }
  // That entrance in WorldMap; null when none is set or it is not there.
  cEdWorldRoute* EnteredRoute() const;

  // Registered numeric fields, in file order.
  int32_t m_bHeroStored = 0;  // a hero status is stored for carrying
  int32_t m_nMapX = 0;        // world-map cell of the walker
  int32_t m_nMapY = 0;
  int32_t m_nEnteredRouteWord = 0;  // the entered route's place in the file: written 0, never read
  int32_t m_nRound = 0;             // how often the story was completed and restarted
  int32_t m_nStageNo = 0;           // story: the route's stage number; challenge: 1-based; free: 1
  int32_t m_nAreaNo = 0;            // area within the stage; 1 at entry
  int32_t m_nStartLives = 0;        // lives at the stage's start (LIVES_INFINITE: infinite)
  int32_t m_nLives = 0;             // LIVES_INFINITE, else 0..99
  int32_t m_nStageScore = 0;        // score of the running area
  int32_t m_nTotalScore = 0;        // score of the run (category 0)
  int32_t m_nBestTotal = 0;         // story: the map's tallies; challenge: the best scores
  int32_t m_nTimeLeftSum = 0;       // category 1
  int32_t m_nClearTimeSum = 0;      // category 2, hundredths of a second
  int32_t m_nHpSum = 0;             // category 3 (from version 182)
  int32_t m_nSpSum = 0;             // category 4 (from version 182)
  int32_t m_bNumberedStage = 0;     // the stage path carried the area suffix "-1"
  int32_t m_nStageBgm = 0;          // music number playing in the stage
  int32_t m_bStageBgmLoop = 0;      // from version 166
  int32_t m_nWalkDir = 0;           // from 194: walker direction 0 down, 1 up, 2 left, 3 right
  int32_t m_bBackFromRetry = 0;     // from 190
  int32_t m_nPrevCellX = 0;         // from 191: the cell the walker came from
  int32_t m_nPrevCellY = 0;
  int32_t m_nUnlocked = 0;    // unlocked challenge stages
  int32_t m_nSlot = 0;        // current story slot (0-based), -1 none
  int32_t m_bAutoSave = 0;    // from 169
  int32_t m_bRankingView = 0; // ranking shown on the world map and the stage select
  int32_t m_nRankingCat = 0;  // selected ranking category 0..4
  // The next area's hero start, set by the stage-clear command and used by
  // the stage set-up: cell (x, y) inside the border, facing 0 left, 1 right
  // (from version 678; the direction from 679).
  int32_t m_bHeroStart = 0;
  int32_t m_nHeroStartX = 0;
  int32_t m_nHeroStartY = 0;
  int32_t m_nHeroStartDir = 0;

  // Registered strings, in file order.
  std::string m_strStagePath;    // base form (SetStagePath)
  std::string m_strReserved;     // from version 724; never written by the program
  std::string m_strRankingName;  // name of the ranking entries

  // The tail.
  plat::SYSTEMTIME m_SaveTime;          // of the last slot save
  cVector<int32_t> m_vCarried;          // CARRY_ITEM_COUNT flags
  cVector<cHeroStatus> m_vHeroStatus;   // at least one
  cVector<cStageTally> m_vTally;
  cVector<cChallengeRecord> m_vChallenge;  // one per challenge stage
  cVector<int32_t> m_vStageClear;       // STAGE_CLEAR_FLAG_COUNT flags
  cVector<int32_t> m_vCommonVar;        // COMMON_VAR_COUNT, read and written by flows and code

  // Not stored.
  ENTEREDROUTE m_lpEnteredRoute;
  cVector<int32_t> m_vSnapVars;  // the stage-start snapshot
  int32_t m_nSnapLives = 0;
  int32_t m_nSnapTotal = 0;
  int32_t m_bSnapTaken = 0;

 private:
  // Reads `path` into a fresh record and takes it when the whole file read
  // cleanly; false (with a report-log line when the file was damaged).
  bool LoadFile(const std::string& path);
  // The counts of the tail lists that the rest of the program indexes.
  void FitLists();
};

// The hero-status list becomes n default statuses.
void ResetHeroStatusList(cVector<cHeroStatus>& list, int n);

extern cSaveData PlayData;
extern cSaveData ReplayStart;
extern cSaveData ReplayStartPrev;
