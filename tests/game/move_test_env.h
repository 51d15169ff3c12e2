#pragma once
// Moves for play tests: a move record built fluently, a command holding it,
// and one logic step of a character reduced to what moves need (the
// character's own step is not built on these floors yet).
//
//   cEdMove m = MoveDef().Speed(30).Code(DIRCODE_RIGHT);
//   cEdChara def = CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE)
//                                      .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, m, 2)));
//   StartFlow(chara, 0);
//   for (int i = 0; i < 12; ++i) MoveStep(chara);
#include <cstdint>
#include <memory>

#include "game/chara_base.h"
#include "game/stage_data.h"
#include "records/flow.h"
#include "records/move.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"

namespace movetest {

// A move record from the defaults of a new one; each setter names its field.
class MoveDef {
 public:
  MoveDef& Method(int m) { m_move.m_nSpec = static_cast<int8_t>(m); return *this; }
  MoveDef& Code(int code) { m_move.m_nDirCode = static_cast<int8_t>(code); return *this; }
  MoveDef& Angle(int base, int growth = 0) {
    m_move.m_nAngle = static_cast<int16_t>(base);
    m_move.m_nAngleStep = static_cast<int16_t>(growth);
    return *this;
  }
  MoveDef& AngleMirror(int on) { m_move.m_bAngleMirror = static_cast<int8_t>(on); return *this; }
  MoveDef& UseTarget(int x, int y) {
    m_move.m_bUseTargetX = static_cast<int8_t>(x);
    m_move.m_bUseTargetY = static_cast<int8_t>(y);
    return *this;
  }
  MoveDef& TargetCells(int x, int y) {
    m_move.m_nTargetX = static_cast<int16_t>(x);
    m_move.m_nTargetY = static_cast<int16_t>(y);
    return *this;
  }
  MoveDef& TargetDots(int x, int y) {
    m_move.m_nTargetDotX = static_cast<int16_t>(x);
    m_move.m_nTargetDotY = static_cast<int16_t>(y);
    return *this;
  }
  MoveDef& Basis(int b) { m_move.m_nCoordBase = static_cast<int8_t>(b); return *this; }
  MoveDef& FramesFromDistance(int on) { m_move.m_bTimeToTarget = static_cast<int8_t>(on); return *this; }
  MoveDef& VerticalOnly(int on) { m_move.m_bNoMoveX = static_cast<int8_t>(on); return *this; }
  MoveDef& HorizontalOnly(int on) { m_move.m_bNoMoveY = static_cast<int8_t>(on); return *this; }
  MoveDef& Mirror(int x, int y) {
    m_move.m_bMirrorTargetX = static_cast<int8_t>(x);
    m_move.m_bMirrorTargetY = static_cast<int8_t>(y);
    return *this;
  }
  MoveDef& ReverseOnTurn(int on) { m_move.m_bReverseOnTurn = static_cast<int8_t>(on); return *this; }
  MoveDef& StopOnArrival(int on) { m_move.m_bStopAtTarget = static_cast<int8_t>(on); return *this; }
  MoveDef& KeepFacing(int on) { m_move.m_bKeepFacing = static_cast<int8_t>(on); return *this; }
  MoveDef& Timing(int mode) { m_move.m_nTiming = static_cast<int8_t>(mode); return *this; }
  MoveDef& Speed(int base, int growth = 0) {
    m_move.m_nSpeed = static_cast<int16_t>(base);
    m_move.m_nSpeedStep = static_cast<int16_t>(growth);
    return *this;
  }
  MoveDef& Distance(int base, int growth = 0, int unit = 1) {
    m_move.m_nDistance = static_cast<int16_t>(base);
    m_move.m_nDistanceStep = static_cast<int16_t>(growth);
    m_move.m_nDistanceUnit = static_cast<int8_t>(unit);
    return *this;
  }
  // The circle's radius (half blocks) or the homing move's interval.
  MoveDef& Radius(int base, int growth = 0) {
    m_move.m_nHomingLag = static_cast<int16_t>(base);
    m_move.m_nHomingLagStep = static_cast<int16_t>(growth);
    return *this;
  }
  MoveDef& Inertia(int maxTenths, double reverseFactor) {
    m_move.m_bInertia = 1;
    m_move.m_nMaxSpeed = static_cast<int16_t>(maxTenths);
    m_move.m_dInertiaFactor = reverseFactor;
    return *this;
  }
  MoveDef& KeepAnime(int on) { m_move.m_bKeepAnime = static_cast<int8_t>(on); return *this; }
  cEdMove& Def() { return m_move; }
  operator const cEdMove&() const { return m_move; }

 private:
  cEdMove m_move;
};

// A command of `type` with use time `useTime` (tenths) holding `move`.
inline testsupport::CommandDef MoveCommand(int type, const cEdMove& move, int useTime = 0) {
  testsupport::CommandDef command(type);
  command.UseTime(useTime);
  command.Def().m_spMove = std::make_shared<cEdMove>(move);
  return command;
}

// Starts flow n of `chara` as a flow operation would, whatever its trigger.
inline void StartFlow(cCharaBase& chara, int n) {
  StageData().m_lpCurChara = &chara;
  chara.m_vFlows[n].Start();
  StageData().m_lpCurChara = nullptr;
}

// One logic step: the start speeds and flags of the character's step, its
// flows, the inertial speeds added, gravity when asked (and not disabled),
// the move on both axes (no block collision) and the screen rectangle.
inline void MoveStep(cCharaBase& c, bool gravity = false) {
  c.m_dVx = 0;
  if (c.m_bNoGravity) c.m_dVy = 0;
  c.m_bMoveDisabled = 0;
  c.m_bFrictionX = c.m_bFrictionY = 1;
  c.m_bMoved = 0;
  c.UpdateScreenRect();
  testsupport::StepFlows(c);
  c.m_dVx += c.m_dInertiaX;
  c.m_dVy += c.m_dInertiaY;
  if (gravity) c.ApplyGravity();
  c.StepX(2);
  c.StepY(2);
  c.UpdateScreenRect();
}

// The instance of command `k` of flow `f`.
inline cCommandInstance& Command(cCharaBase& c, int f = 0, int k = 0) { return c.m_vFlows[f].m_vCommands[k]; }

}  // namespace movetest
