#pragma once
// The run-time state of a character's flows: one cFlowInstance per flow of
// its definition copy and one cCommandInstance per command. A flow, once
// started by its trigger (cCharaBase::FireTrigger) or by a flow operation,
// is stepped once per logic step by the character's flow pass
// (cCharaBase::RunFlows); each step runs the command it waits on and the
// no-wait commands before it that still run.
//
// Everything here runs on the game thread inside a logic step. The stage's
// current character, flow and command (cSceneStageData::m_lpCurChara, ...)
// are set by the trigger, the flow pass and the steps, and read here and by
// the command executors.
#include <cstdint>

#include "base/container.h"
#include "records/arrange.h"
#include "records/command_vocab.h"
#include "records/flow.h"

class cCharaBase;

// A target point a homing move still has to aim at, world dots.
struct TRAILPOINT {
  double dX = 0;
  double dY = 0;
};

class cCommandInstance {
 public:
  // Timing.
  cEdCommand* m_pCommand = nullptr;  // in the character's definition copy
  int32_t m_bDone = 0;      // finished in the current run of its flow
  int32_t m_nDuration = 0;  // logic steps
  int32_t m_nTimer = 0;     // logic steps left; 0 not started
  // Movement state of the move commands.
  int32_t m_nDirCode = 0;
  int32_t m_nTargetX = 0;  // target offset, dots
  int32_t m_nTargetY = 0;
  double m_dSpeed = 0;     // dots per step (circle: degrees per step)
  int32_t m_nAngle = 0;
  int32_t m_nParam = 0;
  int32_t m_nStartAngle = 0;
  int32_t m_nEndAngle = 0;
  cList<TRAILPOINT> m_lTrail;
  double m_dVx = 0;  // velocity of the current step, dots per step
  double m_dVy = 0;
  int32_t m_nFacingHint = 0;  // 0 keep, 1 face left, 2 face right
  int32_t m_nCount = 0;
  int32_t m_bBegun = 0;
  double m_dPhaseX = 0;
  double m_dPhaseY = 0;
  double m_dMaxSpeed = 0;
  int32_t m_nLastFacing = 0;

  // Called by the flow step when the command (re)starts: the timer takes the
  // duration, the per-run state is cleared, and the current flow's pending
  // arrange operations are applied to the command record and emptied
  // (an arrange command leaves them for the commands after it).
  void Reset();
  // One logic step: the executor of the command's type runs for the stage's
  // current character, then the timer counts down. 1 when the command has
  // finished (a duration of 0 or 1 runs one step, d runs d steps).
  int Run();

  // The command's move record; null when it has none.
  const cEdMove* Move() const { return m_pCommand ? m_pCommand->m_spMove.get() : nullptr; }
  // Parameter i of the command; 0 when the vector is shorter.
  int32_t Param(int i) const {
    return m_pCommand && i >= 0 && i < m_pCommand->m_vParams.Size() ? m_pCommand->m_vParams[i] : 0;
  }
  // The move set-up of the timed moves (cCharaBase::BuildFlows, clone
  // number n): time mode 1 turns the distance into the speed over the
  // duration, time mode 2 into the duration at the speed; mode 0 gives both.
  void ResolveMoveTiming(const cEdCommand& command, int16_t n);
};

// A command animation that a flow starts at one of its steps.
struct FLOWANIMEENTRY {
  int32_t nStart = 0;  // the flow's step (m_nStep) it starts on
  int32_t nAnime = 0;  // Anime.dat entry
  int32_t nSkip = 0;   // frames skipped at the start
  int32_t nLength = 0; // frames played
  int32_t nHold = 0;   // the command's use time in frames
  int32_t bHold = 0;   // the action frame is held for nHold (not for jumps and swords)
};

class cFlowInstance {
 public:
  int32_t m_nIndex = 0;   // position in the character's flows and in its definition copy's flow list
  int32_t m_nSerial = 0;  // unique per character; tags the attached animations it starts
  cEdFlow* m_pFlow = nullptr;  // in the character's definition copy
  int32_t m_bCondLatched = 0;  // its conditions held once
  cVector<cEdKeyCondition*> m_vKeyConds;  // the flow record's key conditions
  int32_t m_bKeyLatched = 0;   // the key sequence matched when last tried (edge mode)
  cVector<cCommandInstance> m_vCommands;  // one per command of the flow
  cVector<FLOWANIMEENTRY> m_vAnimeSchedule;
  int32_t m_bRunning = 0;
  int32_t m_bPaused = 0;
  int32_t m_bStopped = 0;  // for good: never steps or fires again
  int32_t m_bDeleted = 0;  // removed at the end of the flow pass
  int32_t m_nCurrent = 0;  // the command the flow waits on
  int32_t m_nStep = 0;     // logic steps run since it started
  int32_t m_nHeldDir = 0;  // GetHeldDirection when it was triggered
  int32_t m_bChecked = 0;  // tried by a trigger in this frame
  int32_t m_bStarted = 0;  // started in this frame
  int32_t m_bMessageChain = 0;  // a key-wait message of it has just ended
  int32_t m_bAbort = 0;         // a flow operation changed it while it stepped
  // Start ran while it stepped (a flow operation restarted it): the step
  // ends at once and leaves the fresh start as it is.
  int32_t m_bRestarted = 0;
  cVector<ARRANGEOP> m_lArranges;  // pending arrange operations, in order

  // The record's trigger (FLOWTRIGGER) and switch letter (0 none, 1..26).
  int Trigger() const { return m_pFlow ? m_pFlow->m_nTrigger : static_cast<int>(FLOWTRIGGER_NONE); }
  int SwitchLetter() const { return m_pFlow ? m_pFlow->m_nSwitch : 0; }

  // Starts the flow from its first command (the trigger, or a flow operation
  // that starts it whatever its gates). An ALWAYS flow takes its switch
  // letter on the stage's current character; a stage-start flow runs its
  // instant commands at once and stops again.
  void Start();
  // Only while running: idle again, pending arranges dropped, every command
  // timer 0, its switch letter released on `chara` at the end of the flow pass.
  void Stop(cCharaBase& chara);
  // Never steps or fires again; a running flow's timers end and its letter
  // is released as in Stop.
  void StopForever(cCharaBase& chara);
  void Pause() { m_bPaused = 1; }
  void Resume() { m_bPaused = 0; }
  // One logic step of a running flow, by the flow pass with the flow's
  // character current. 1 when its last command has finished.
  int Step();
};
