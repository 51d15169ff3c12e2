#pragma once
// The parameters of a command that moves a character: the straight, ground
// turn-back, circle, charge, homing and off-screen-avoiding moves and the
// warp. A command holds at most one, through a shared pointer that no other
// command shares.
#include <cstdint>
#include <memory>

#include "records/record.h"

class cEdMove : public cRecord {
 public:
  // 0 by direction, 1 by a target point; a warp: 0 direction and distance,
  // 1 direction and distance from the target, 2 target point.
  int8_t m_nSpec = 0;
  // DIRCODE; the circle move's sense of rotation instead: 0 clockwise,
  // 1 counter-clockwise, 2 clockwise facing left, 3 the reverse.
  int8_t m_nDirCode = 0;
  int16_t m_nAngle = 0;      // degrees
  int16_t m_nAngleStep = 0;  // per clone number
  int8_t m_bAngleMirror = 1;  // facing right takes 360 - angle
  int8_t m_bUseTargetX = 1;
  int8_t m_bUseTargetY = 1;
  int16_t m_nTargetX = 0;     // blocks
  int16_t m_nTargetY = 0;
  int16_t m_nTargetDotX = 0;  // dots, added to the block position
  int16_t m_nTargetDotY = 0;
  // Moves: 0 placed position, 1 current position, 2 map, 3 screen; a warp:
  // 0 relative, 1 absolute, 2 screen.
  int8_t m_nCoordBase = 0;
  int8_t m_bTimeToTarget = 1;  // the move lasts distance / speed steps
  int8_t m_bNoMoveX = 0;
  int8_t m_bNoMoveY = 0;
  int8_t m_bMirrorTargetX = 1;  // facing right negates the horizontal target offset
  int8_t m_bMirrorTargetY = 0;
  int8_t m_bReverseOnTurn = 1;
  int8_t m_bStopAtTarget = 0;
  int8_t m_bKeepFacing = 0;
  int8_t m_nTiming = 0;  // 0 time and speed, 1 time and distance, 2 speed and distance
  int16_t m_nSpeed = 10;  // tenths of a dot per step
  int16_t m_nSpeedStep = 0;
  int16_t m_nDistance = 0;
  int16_t m_nDistanceStep = 0;
  int8_t m_nDistanceUnit = 0;  // 0 half blocks, 1 dots
  int16_t m_nHomingLag = 0;    // 0..10
  int16_t m_nHomingLagStep = 0;
  int8_t m_bInertia = 0;
  int16_t m_nMaxSpeed = 0;  // tenths, for inertia moves
  double m_dInertiaFactor = 1.0;
  int8_t m_bKeepAnime = 0;

  // The defaults of a new move record.
  cEdMove();
  void RegisterFields(int version) override;
  // The record segment, then the upgrades of older files.
  void Load(cDataReader& r) override;
};

// Puts a new move record with the defaults into the holder.
void CreateEdMove(std::shared_ptr<cEdMove>& holder);
