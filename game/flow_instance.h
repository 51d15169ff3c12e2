#pragma once
// The run-time state of a character's flows: one cFlowInstance per flow of
// its definition copy and one cCommandInstance per command, with the
// triggers that start flows. The flow engine and the commands give them
// their behaviour; the characters keep and copy them.
#include <cstdint>

#include "base/container.h"
#include "records/flow.h"

class cCharaBase;

// The trigger byte of a flow record: when the flow is tried.
enum FLOWTRIGGER {
  FLOWTRIGGER_ALWAYS,            // every logic step, before the character's flow pass
  FLOWTRIGGER_DAMAGED,           // a hit with power
  FLOWTRIGGER_IMPACT,            // a hit with impact, after DAMAGED
  FLOWTRIGGER_DEATH,             // the defeat; the death pass follows
  FLOWTRIGGER_HIT_CHARA,         // attack contact between characters
  FLOWTRIGGER_HIT_BLOCK_CHARA,   // solid contact with a block character
  FLOWTRIGGER_ON_BLOCK_CHARA,    // standing on a block character
  FLOWTRIGGER_HIT_SHOT,          // hit by a shot
  FLOWTRIGGER_HIT_ITEM,          // touching an item
  FLOWTRIGGER_HIT_BLOCK,         // any block contact, before the sided ones
  FLOWTRIGGER_BLOCK_SIDE,        // a block on the left or right
  FLOWTRIGGER_BLOCK_LEFT,
  FLOWTRIGGER_BLOCK_RIGHT,
  FLOWTRIGGER_BLOCK_TOP_BOTTOM,  // a block above or below
  FLOWTRIGGER_BLOCK_TOP,
  FLOWTRIGGER_BLOCK_BOTTOM,
  FLOWTRIGGER_RIDDEN_BY_HERO,
  FLOWTRIGGER_RIDDEN_BY_CHARA,
  FLOWTRIGGER_STAGE_START,
  FLOWTRIGGER_NONE,  // started only by a flow operation
  FLOWTRIGGER_COUNT
};

// A target point a homing move still has to aim at, world dots.
struct TRAILPOINT {
  double dX = 0;
  double dY = 0;
};

class cCommandInstance {
 public:
  // Timing.
  cEdCommand* m_pCommand = nullptr;  // in the character's definition copy
  int32_t m_bDone = 0;
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
};

// A command animation that a flow starts at one of its steps.
struct FLOWANIMEENTRY {
  int32_t nStart = 0;  // the flow's step
  int32_t nAnime = 0;  // Anime.dat entry
  int32_t nSkip = 0;   // frames skipped at the start
  int32_t nLength = 0; // frames played
  int32_t nHold = 0;   // use time in frames
  int32_t bHold = 0;
};

class cFlowInstance {
 public:
  int32_t m_nIndex = 0;   // position in the character's flows and in its definition copy's flow list
  int32_t m_nSerial = 0;  // unique per character
  cEdFlow* m_pFlow = nullptr;  // in the character's definition copy
  int32_t m_bCondLatched = 0;
  cVector<cEdKeyCondition*> m_vKeyConds;  // the flow record's key conditions
  int32_t m_bKeyLatched = 0;
  cVector<cCommandInstance> m_vCommands;  // one per command of the flow
  cVector<FLOWANIMEENTRY> m_vAnimeSchedule;
  int32_t m_bRunning = 0;
  int32_t m_bPaused = 0;
  int32_t m_bStopped = 0;
  int32_t m_bDeleted = 0;
  int32_t m_nCurrent = 0;
  int32_t m_nStep = 0;
  int32_t m_nHeldDir = 0;
  int32_t m_bChecked = 0;
  int32_t m_bStarted = 0;
  int32_t m_bMessageChain = 0;
  int32_t m_bAbort = 0;
  cList<cVector<int32_t>> m_lArranges;  // pending arrange operations
};
