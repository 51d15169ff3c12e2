#pragma once
// The data part of the stage scene: what the game objects, flows and
// commands read and write of the running stage (the view axes, the group
// lists, the current character, flow and command, the step counters, the
// stage variables, the serials) and what the main window's dialogs edit of
// it. The stage scene (cSceneStage) derives from it; CurStage points to the
// live one. Everything here belongs to the game
// thread, except m_bCloseRequested, which the main window sets.
#include <atomic>
#include <cstdint>
#include <string>

#include "base/container.h"
#include "game/effect_instance.h"
#include "game/message_window.h"
#include "game/picture_instance.h"
#include "game/scroll_axis.h"
#include "game/shot.h"
#include "records/effect_state.h"

class cCharaBase;
class cChara;
class cItem;
class cFlowInstance;
class cCommandInstance;
class cEdBlock;
class cEdChara;
class cEdCommand;
class cEdItem;

// Values of m_nCommandResult and of the stage rules' results.
constexpr int STAGERESULT_NONE = 0;
constexpr int STAGERESULT_CLEAR = 1;
constexpr int STAGERESULT_DEFEAT = 2;

// Groups of characters and shots.
constexpr int STAGE_GROUP_COUNT = 8;
// Stage variables S0..S254.
constexpr int STAGE_VAR_COUNT = 255;

// A wait that freezes play, served by the stage's pause loop.
struct cModalWait {
  int32_t nMode = 0;     // 1 a message wait
  int32_t nDelay = 0;    // frames before a key may end it
  int32_t bWaitKey = 0;  // a key ends it
  int32_t nFrames = 0;   // frames left when no key is awaited
  int32_t bDone = 0;

  // The request of a message, game wait, effect, picture or extra-life
  // notice; the caller then runs the pause loop. A key wait of a message
  // ignores keys for 10 frames unless bNoDelay. A negative time counts as 0.
  void Set(int mode, int bKey, int frames, int bNoDelay);
};

class cSceneStageData {
 public:
  cSceneStageData();
  virtual ~cSceneStageData() = default;
  cSceneStageData(const cSceneStageData&) = delete;
  cSceneStageData& operator=(const cSceneStageData&) = delete;

  int32_t m_nCommandResult = STAGERESULT_NONE;  // raised by a command during a logic step
  cScrollAxis m_ScrollX;
  cScrollAxis m_ScrollY;
  // The stage's characters and shots by group number (STAGE_GROUP_COUNT lists).
  cVector<cList<cCharaBase*>> m_CharaGroups;
  cVector<cList<cShot*>> m_ShotGroups;
  cList<cShot> m_Shots;  // live shots and swords; each also in the group list of its group
  cList<cMessageWindow> m_Messages;  // message windows and game waits, drawn in order
  cList<cEffectInstance> m_Effects;
  cList<cPictureInstance> m_Pictures;  // the n-th draws Off_Picture's n-th surface
  cScreenEffectState m_ScreenEffect;
  cModalWait m_Wait;
  std::atomic<int32_t> m_bCloseRequested{0};  // the main window asks every loop of the scene to end
  cCharaBase* m_lpCurChara = nullptr;          // executing character, flow and command
  cFlowInstance* m_lpCurFlow = nullptr;
  cCommandInstance* m_lpCurCommand = nullptr;
  int32_t m_bItemMessage = 0;
  int32_t m_nPlayers = 0;      // hero objects: 1
  int32_t m_nStepInFrame = 0;  // 1-based logic step of the running frame
  int32_t m_nStepCount = 0;    // logic steps since the stage (re)started
  int32_t m_nTimeLeft = 0;     // seconds; 999 without a limit
  int32_t m_bNoTimeLimit = 0;
  int32_t m_bDefeatCheck = 0;  // run the defeat check before each character's step
  cVector<int32_t> m_vStageVars;   // stage variables S0..
  cVector<uint8_t> m_vGroupFlags;  // the activity checks' link flags of one logic step
  int32_t m_nCharaSerial = 0;  // id of the next stage character
  int32_t m_nItemSerial = 0;
  int32_t m_nShotSerial = 0;
  cVector<int32_t> m_vToggledCells;  // cells the running toggle block summon changed
  int32_t m_nFrameCount = 0;         // frames since the stage (re)started
  int32_t m_nNextStage = 0;          // next area requested by the stage-clear command; 0 none
  std::string m_strNextStage;        // next stage file requested by it
  // The name under which a cleared result enters the rankings; the
  // name-entry dialog edits it, and writes it only on "OK".
  std::string m_strRankingName;

  // The view axes for the stage record's settings (the set-up's scroll step).
  void SetUpScrollAxes(const cEdStage& stage);
  // Makes the sight mask and stencil again for the hero's sight
  // (m_nSightDots), after a command or code changed a player's sight. The
  // stage drawing makes them; until then the call is noted in the debug log
  // as "CreateWorkSurfaces <sight dots>".
  virtual void CreateWorkSurfaces();
  // The music command's request for the stage music: `number` (Bgm.dat, 0
  // stops the music) played with the loop flag `bLoop`. The stage scene
  // asks the main window for it; here the request is only noted in the
  // debug log as "RequestStageBgm <number> <loop>". Game thread.
  virtual void RequestStageBgm(int number, int bLoop);

  // A copy of a built shot appended to m_Shots and filed in its group list
  // (none for a group outside the lists).
  // The built one is left without a target, so that its end does not take
  // the copy out of its target's m_vShots.
  cShot& AddShot(cShot& built);
  // Out of its group list and m_Shots, destroyed; the next shot.
  cList<cShot>::iterator EraseShot(cList<cShot>::iterator it);
  // The live shot or sword with that serial; null when there is none.
  cShot* FindShotById(int id);

  // The spawning of the summons (x, y: top-left of the object's graphic,
  // world dots; def the summon record; the id counter counts up for each
  // object made). The stage scene makes the objects; this data part alone
  // (no stage running) only writes a debug line each.
  virtual void SpawnChara(cList<cChara>& list, double x, double y, int group, int facing, int ownerFacing,
                          const cEdShot& def, const cEdChara& chara, int32_t& idCounter);
  virtual void SpawnItem(cList<cItem>& list, double x, double y, int ownerFacing, const cEdShot& def,
                         const cEdItem& item, int32_t& idCounter);
  virtual void PutBlock(double x, double y, int ownerFacing, const cEdShot& def, const cEdBlock& block);

  // The waits that freeze play (game wait, messages and pictures that stop
  // the game, effects that are waited for): starts thPause with PauseLoop
  // and blocks the calling game thread until it has ended. bWake posts the
  // thread message 0x8000 to the loop once it runs (the message command
  // does). A thread that cannot start counts as a loop that ended at once.
  void RunPauseLoop(int bWake);
  // After its wait a command takes away the entry it showed, found by
  // identity: a message window (its surface erased) or a picture (its
  // surface in Off_Picture with it). Nothing when the stage drawing has
  // already removed it; 1 when it was removed here.
  int RemoveMessage(const cMessageWindow* window);
  int RemovePicture(const cPictureInstance* picture);
  // The body of thPause: the frozen stage's own frame loop, which serves
  // m_Wait until it is over. 0 when it ended at once for a close request,
  // else 1. The stage scene gives the real loop; this one ends at once.
  virtual int PauseLoop();
  // The screen colour command hands its command to the stage's colour tone
  // (p0..p2 red, green, blue, p3 strength in percent, p4 fade back, p5 time
  // in tenths, p6 flash, p7 flash count). The stage scene starts its colour
  // tone; this data part alone notes the call in the debug log as
  // "cColorTone::Start <p0> ... <p7>".
  virtual void StartColorTone(const cEdCommand& command);
  // 1 when the object's hit box touches a blocking map cell at a corner or
  // overlaps a block character other than itself; 0 for an object that
  // flies through blocks. The warp asks it of the place it lands on.
  virtual int IsBlockedAt(const cGameObject& object);
};

// The running stage's data: *CurStage, or a quiet empty stand-in when no
// stage runs, so that an object outside a stage reads a map of nothing.
cSceneStageData& StageData();
