#pragma once
// The stage scene (scene 4): one stage played from its fade-in to its
// fade-out. It runs the stage's states (fade in, start banners, play, pause
// menu, stage clear, retry menu, game over, fade out) on the game thread,
// sets the stage up from the loaded stage record each time it starts, and
// freezes play for the waits and the ranking view, which run a frame loop of
// their own on thPause and thRanking while the game thread waits.
//
// What the game objects and the main window reach of the scene lives in its
// data part (cSceneStageData, game/stage_data.h), which CurStage points to.
// The member functions are grouped by the file that holds them; each file
// holds one behaviour of the scene.
#include <cstdint>
#include <string>

#include "base/container.h"
#include "game/geometry.h"
#include "game/menu_anchor.h"
#include "game/scene.h"
#include "game/stage_data.h"
#include "stage/color_tone.h"

class cCharaBase;
class cChara;
class cHero;
class cItem;
class cGameObject;
class cEdBlock;
class cEdChara;
class cEdItem;
class cEdShot;
class cSaveData;
struct DDSURFACEDATA;

// The states of the stage (m_nPhase), each the index of its handler in
// m_PhaseTable.
enum STAGESTATE {
  STAGESTATE_FADEIN,
  STAGESTATE_START,     // the start banners
  STAGESTATE_PLAY,
  STAGESTATE_PAUSE,     // the pause menu
  STAGESTATE_CLEAR,     // the stage-clear display
  STAGESTATE_RETRY,     // the retry menu after a death
  STAGESTATE_GAMEOVER,
  STAGESTATE_FADEOUT,
  STAGESTATE_COUNT
};

// Ranking categories of a cleared result: total score, time left, clear
// time, HP left, SP left.
constexpr int STAGE_RANK_CATEGORIES = 5;

class cSceneStage : public cScene, public cSceneStageData {
 public:
  using StateHandler = void (cSceneStage::*)();

  int32_t m_nPhase = -1;  // STAGESTATE; -1 = set-up pending
  int32_t m_nStep = 0;    // sub-step of the state; 0 = entering it
  StateHandler m_PhaseTable[STAGESTATE_COUNT];
  int32_t m_nPausedPhase = 0;  // state and sub-step the pause menu returns to
  int32_t m_nPausedStep = 0;
  cColorTone m_ColorTone;
  // One entry per logic step of a frame: 1 where shots hit in that step.
  cVector<int32_t> m_vHitSteps;
  int32_t m_nPlayFrames = 0;   // frames played in this attempt
  int32_t m_nPlayTime = 0;     // hundredths of a second, at most 599999
  int32_t m_nBannerCount = 0;  // frames of the start banner, of the clear state and of the clear banner
  int32_t m_nBanner2Count = 0; // frames of the second start banner
  int32_t m_nSeed = 0;         // random seed of the attempt
  int32_t m_bButtonLock = 0;   // the buttons count as up in play until all are released
  // The stage's off-screen removal rules are on for characters, block
  // characters, items.
  int32_t m_bRemoveCharas = 0;
  int32_t m_bRemoveBlockCharas = 0;
  int32_t m_bRemoveItems = 0;
  int32_t m_bRankable = 0;  // the cleared result reached a rank in some category
  cVector<int32_t> m_vRanks;       // rank per category, -1 none
  cVector<int32_t> m_vRankValues;  // value per category
  int32_t m_bRanked = 0;           // the ranking entry was made
  int32_t m_bShowStatus = 0;       // the stage shows its status bar
  int32_t m_nFps = 0;              // frames per second measured by the frame loop
  // The set-up failed (a close request is on its way): the scene runs no
  // state and draws nothing any more.
  int32_t m_bFailed = 0;

  // The empty stage, not entered yet; it also makes PlayData remember no
  // stage music, so that the first start asks for the stage's own.
  cSceneStage();
  // Releases the scene's images and every list.
  ~cSceneStage() override;

  // --- the scene and its states (scene_stage.cpp, stage_states.cpp)
  // Once a frame: the set-up on entry (a thrown text goes to the debug log
  // and closes the program), then the handler of the current state.
  int Run() override;
  void FadeIn() override;
  void StartBanner();
  void FadeOut() override;
  // Space held: sound 4, the state and sub-step kept for the pause menu; 1
  // (the caller then enters the pause menu), else 0.
  int CheckPauseKey();

  // --- set-up (stage_init.cpp, set_stage.cpp)
  void Init() override;
  // A fresh entry into the stage: lives and sums of PlayData, the view, the
  // counters, the messages, the replays, the rankings of the stage.
  void ResetStageState();
  // A life of `progress` lost: 1 while play may go on (test play, infinite
  // lives, a life left, which is then taken), 0 when none was left.
  int LoseLife(cSaveData& progress);
  // Builds the running stage from the loaded one: map cells, hero,
  // characters, items, counters. bReload restores the settings from
  // StageCopy first; bRestartMusic asks for the stage music again. Every
  // start and restart of the stage.
  void SetStage(int bReload, int bRestartMusic);
  // The set-up's last step but one: the stage-start trigger on the hero and
  // the characters (those present, unless the project starts them all),
  // then the vanished and the defeated characters leave.
  void StartTriggers();
  // Once per logic step and at the set-up: presence, screen and activity of
  // the hero, the characters, the items and the shots.
  void UpdateAppearance();
  // The stage music `number` (0 stops it), looping with bLoop.
  void RequestStageBgm(int number, int bLoop) override;

  // --- the waits and the ranking view (pause_loop.cpp, ranking_loop.cpp)
  // The body of thPause: serves m_Wait with a frame loop of its own.
  int PauseLoop() override;
  // The ranking view after a ranking entry: starts thRanking and waits.
  void ShowRanking();
  // The body of thRanking.
  int RankingLoop();

  // --- play (play_step.cpp)
  void Play();
  // Once a play frame with delta -1: 1 when the time ran out.
  int TickTimeLimit(int delta);
  void TickPlayTime();
  void ApplyBlockEffect(cHero& hero);
  // 0, 1 stage clear, 2 hero defeated.
  int ApplyBlockItem(cHero& hero);
  // The parts of one logic step (step 0 .. S - 1 of the frame); each gives
  // how the frame goes on: 0 on, 1 it ends, 2 stage clear, 3 hero's death.
  int LogicStep(int step);
  int StepBlockCharas();
  int StepHero(cHero& hero);
  int StepCharas();
  void StepShots(int step);
  // The stage's off-screen removal rules, in the first step of a frame.
  void RemoveOffScreenObjects();

  // --- block collision (block_collision.cpp): results 0, or 2 for a deadly
  // contact; the finders give a map cell index.
  int FindEdgeBlock(cCharaBase& obj, int x1, int y1, int x2, int y2);
  int FindFootBlock(cCharaBase& obj);
  int FindCornerBlock(int leftCol, int topRow, int rightCol, int bottomRow, int group);
  int HitBlockLeft(cCharaBase& obj);
  int HitBlockRight(cCharaBase& obj);
  int HitBlockTop(cCharaBase& obj);
  int HitBlockBottom(cCharaBase& obj);
  int HitBlocksX(cCharaBase& obj);
  int HitBlocksXRightFirst(cCharaBase& obj);
  int HitBlocksY(cCharaBase& obj);
  int HitBlocksYBottomFirst(cCharaBase& obj);
  int KeepInScreenX(cHero& hero);
  int KeepInScreenY(cHero& hero);
  int IsBlockedAt(const cGameObject& object) override;

  // --- solid contacts (contacts.cpp): 0, or 2 when crushed.
  int ResolveSolidContacts(cCharaBase& chara, cList<cChara>& list);
  void SolveContactMove(cCharaBase& chara, cList<cChara>& list, int axis);
  int RideCarrier(cCharaBase& rider, cList<cChara>& list);
  int StillOnCarrier(cCharaBase& rider);
  cChara* FindCarrierBelow(cCharaBase& rider);
  int AllProbesHitSolid(cCharaBase& chara, const DRECT& start);
  int OverlapsSolidChara(cCharaBase& owner, cList<cChara>& list, int ignoreId);
  int TouchesSolidChara(const cGameObject& object, cList<cChara>& list);

  // --- attacks, pick-ups, defeats (attacks.cpp): 0, 1 stage clear, 2 hero defeated.
  int ResolveAttacks(cList<cChara>& list);
  int CheckDefeats();
  int DefeatObject(cCharaBase& chara);
  int DefeatAndCheckClear(cCharaBase& chara, cList<cChara>& list);
  int CheckItemPickup(cHero& hero);

  // --- summons and map changes (spawning.cpp)
  void SpawnChara(cList<cChara>& list, double x, double y, int group, int facing, int ownerFacing,
                  const cEdShot& def, const cEdChara& chara, int32_t& idCounter) override;
  void SpawnItem(cList<cItem>& list, double x, double y, int ownerFacing, const cEdShot& def,
                 const cEdItem& item, int32_t& idCounter) override;
  void PutBlock(double x, double y, int ownerFacing, const cEdShot& def, const cEdBlock& block) override;
  int CrushByBlock(int index, int column, int row, const cEdShot& def);

  // --- menus (stage_menus.cpp)
  void PauseMenu();
  void RetryMenu();
  void GameOver();
  // --- the stage clear (stage_clear.cpp, clear_tallies.cpp,
  // ranking_entry.cpp, finish_stage.cpp)
  void StageClear();
  // At the moment of the clear: sound 14, the tallies, the ranks reached.
  void OnStageClear();
  // The run's results added to PlayData, and the extra lives of the score
  // steps crossed (each shown by a notice that freezes play on thPause).
  void AddClearTallies();
  // 1 when the next area's file exists (its name in `name`), else 0 with
  // `name` empty.
  int MakeNextAreaName(std::string& name, int area);
  // 1 when area `area` has no file (the stage's last area), else 0.
  int IsLastArea(int area);
  // Once per clear: the name, the ranked results inserted and saved, the
  // ranking view on thRanking.
  void EnterRanking();
  // The results kept in the progress record; the next scene: 0 title, 1
  // world map, 3 stage select, 4 stage (the next area, or the same stage).
  int FinishStage();

  // --- images (stage_images.cpp)
  void LoadStageBitmaps();
  void LoadSwordImages();
  void LoadEffectImages();
  void BuildTileCache();
  void CreateWorkSurfaces() override;
  void ClearPictures();
  void ClearMessageSurfaces();

  // --- drawing (stage_drawing.cpp): once a frame; bFrozen stops animations.
  void Draw(int bPlay, int bFrozen, int bTimerSound, int bSystemLine);
  void DrawHero(int bFrozen);
  // 1 when the character's defeat display has ended.
  int DrawChara(cChara& chara, int bFrozen);
  void ScrollBackground();
  void DrawBackground(DDSURFACEDATA* target, int bFront);
  void DrawMapLayer(DDSURFACEDATA* target, int layer);
  void DrawPictures(DDSURFACEDATA* target, int layer, int bFrozen);
  void DrawHud(DDSURFACEDATA* target);
  void DrawTimer(DDSURFACEDATA* target, int bSound);

  // --- screen effects and colour tone (screen_effects.cpp)
  using ScreenEffectHandler = int (cSceneStage::*)(int bFrozen);
  void RunScreenEffect(int bFrozen);
  int ScrFxNone(int bFrozen);
  int ScrFxMove(int bFrozen);
  int ScrFxShakeX(int bFrozen);
  int ScrFxShakeY(int bFrozen);
  int ScrFxSplitX(int bFrozen);
  int ScrFxSplitY(int bFrozen);
  int ScrFxWaveX(int bFrozen);
  int ScrFxWaveY(int bFrozen);
  int ScrFxBlink(int bFrozen);
  int ScrFxRotate(int bFrozen);
  int ScrFxCircle(int bFrozen);
  int ScrFxZoom(int bFrozen);
  int ScrFxLens(int bFrozen);
  int ScrFxMosaic(int bFrozen);
  void DrawColorTone(int bFrozen);
  void StartColorTone(const cEdCommand& command) override;

 private:
  // Set-up steps (stage_init.cpp, set_stage.cpp). LoadSceneImages gives 0
  // after a failure it has handled.
  int LoadSceneImages(int bAll);
  // The stage's hero, characters and items, the view on the hero, the
  // group lists and the removal switches; may throw std::bad_alloc.
  void PlaceObjects(int heroIndex);
  // A set-up that cannot go on: the scene stops, and a close request is
  // posted unless one was since `closeRequestsBefore` (the count of
  // plat::CloseRequestCount before the failing step).
  void FailSetUp(uint32_t closeRequestsBefore);
};

// The characters of a character placement (`placement` on map cell
// (column, row), 0-based inside the border): one per clone, each with the
// id from `idCounter`, which counts up; a clone not wholly inside the stage
// is dropped. `dropItem` (made with cItem::Init, held) or null.
void SpawnPlacedChara(cList<cChara>& list, int column, int row, int32_t& idCounter, const cEdChara& placement,
                      const cItem* dropItem);
// The item of an item placement, when it lies inside the stage.
void SpawnPlacedItem(cList<cItem>& list, int column, int row, int32_t& idCounter, const cEdItem& placement);

// The world dot at the centre of placement cell `cell` (counted inside a
// border of `border` cells).
double PlacementCentre(int cell, int border);
// Moves the four edges of an object's hit box by (dx, dy) dots.
void MoveHitBox(cGameObject& object, double dx, double dy);
// Appends a character to the group list of its group; a group outside the
// lists joins none (it neither hurts nor is hurt).
void FileInCharaGroup(cVector<cList<cCharaBase*>>& groups, cCharaBase& chara);
// The world cell column (or row) a summon at `dots` changes: trunc(dots +
// 16.5) >> 5, so 15.4 falls in cell 0 and 15.5 in cell 1.
int SummonCell(double dots);

// Where the ranking view draws its table, and the pause and retry menus
// their boxes (x follows each menu's width).
extern MENUANCHOR RankingAnchor;
extern MENUANCHOR PauseMenuAnchor;
extern MENUANCHOR RetryMenuAnchor;

// The logic steps of a frame of S steps on which shots hit, for the stage's
// hit-check count h (0 or below: every step).
cVector<int32_t> MakeHitSteps(int steps, int hitChecks);
