// The ten paths of a shot, one small routine each, run by StepTrajectory.
#include <climits>
#include <cmath>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/shot.h"
#include "game/shot_emitter.h"
#include "game/stage_data.h"
#include "records/stage.h"

const SHOTPATHROUTINE ShotPathRoutines[SHOTPATH_COUNT] = {
    nullptr,                 // SHOTPATH_STRAIGHT
    &cShot::PathAimHero,     // SHOTPATH_AIM_HERO
    &cShot::PathAimNearest,  // SHOTPATH_AIM_NEAREST
    &cShot::PathAimTarget,   // SHOTPATH_AIM_TARGET
    &cShot::PathHomeHero,    // SHOTPATH_HOME_HERO
    &cShot::PathHomeNearest, // SHOTPATH_HOME_NEAREST
    &cShot::PathHomeTarget,  // SHOTPATH_HOME_TARGET
    &cShot::PathHomeNearest, // SHOTPATH_HOME_NEAREST_RETARGET: the same routine
    &cShot::PathWave,        // SHOTPATH_WAVE
    &cShot::PathFall,        // SHOTPATH_FALL
};

namespace {

// The target of the target paths while it exists and is not defeated.
cCharaBase* LiveTarget(int id) {
  cCharaBase* target = FindCharaById(id);
  return target && !target->m_bDefeated ? target : nullptr;
}

// A distance in half blocks as steps at `speed` dots per step; 0 at speed 0.
int StepsFor(int hbl, double speed) { return speed != 0 ? ToIntChecked(hbl * 16 / speed) : 0; }

// The flight angle's cross direction: degrees from radians and back with the
// constants the wave has always used.
constexpr double kWaveDegrees = 57.29577951308239;
constexpr double kTwoPi = 6.283185307179586;

int16_t SaturateToShort(int64_t v) {
  if (v > INT16_MAX) return INT16_MAX;
  if (v < INT16_MIN) return INT16_MIN;
  return static_cast<int16_t>(v);
}

bool Flipped(double before, double after) { return (before < 0 && after > 0) || (before > 0 && after < 0); }

}  // namespace

void cShot::StartPath(int bHoming) {
  const double S = Stage.m_dSteps;
  m_dPathSpeed = ((m_ShotDef.m_nSpeedStep * m_sCloneNo + m_ShotDef.m_nSpeed) * 0.1) / S;
  if (m_ShotDef.m_nPathParam[0] != 0) m_nTurnStep = StepsFor(m_ShotDef.m_nPathParam[0], m_dPathSpeed);
  if (bHoming && m_ShotDef.m_nPathParam[1] != 0) m_nHomeEndStep = StepsFor(m_ShotDef.m_nPathParam[1], m_dPathSpeed);
}

void cShot::CountPathStep() {
  if (m_nStep < INT_MAX) m_nStep += 1;
}

void cShot::AimAt(const cCharaBase* object) {
  if (object) {
    UpdateScreenRect();
    int hint = 0;
    VelocityToward(m_dBaseVx, m_dBaseVy, hint, object, CentreX(), CentreY(), object->CentreX(),
                   object->CentreY(), m_dPathSpeed, m_bScrollSync, 1, 0);
    if (m_bAccel) GetSpeedVector(m_dInertiaX, m_dInertiaY, m_dBaseVx, m_dBaseVy);
  }
  m_bPathDone = 1;
}

void cShot::PathAimHero() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(0);
  if (m_nStep == m_nTurnStep) AimAt(Hero());
  CountPathStep();
}

void cShot::PathAimNearest() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(0);
  if (m_nStep == m_nTurnStep) {
    UpdateScreenRect();
    AimAt(FindNearestChara(StageData().m_CharaGroups.At(m_ShotDef.m_nPathParam[1])));
  }
  CountPathStep();
}

void cShot::PathAimTarget() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(0);
  if (m_nStep == m_nTurnStep) AimAt(LiveTarget(m_nTargetId));
  CountPathStep();
}

void cShot::Steer(const cCharaBase* object) {
  if (!object) return;
  UpdateScreenRect();
  double vx = 0, vy = 0;
  int hint = 0;
  VelocityToward(vx, vy, hint, object, CentreX(), CentreY(), object->CentreX(), object->CentreY(), m_dPathSpeed,
                 m_bScrollSync, 1, 0);
  if (!m_bAccel) {
    m_dBaseVx = vx;
    m_dBaseVy = vy;
    return;
  }
  // With acceleration only the pull turns; the first turn also sets the course.
  if (m_nStep == m_nTurnStep) {
    m_dBaseVx = vx;
    m_dBaseVy = vy;
  }
  GetSpeedVector(m_dInertiaX, m_dInertiaY, vx, vy);
}

int cShot::HomingStep() {
  if (m_nStep >= m_nHomeEndStep) {
    m_bPathDone = 1;
    return 0;
  }
  return m_nStep >= m_nTurnStep ? 1 : 0;
}

void cShot::PathHomeHero() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(1);
  if (HomingStep()) Steer(Hero());
  CountPathStep();
}

void cShot::PathHomeNearest() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(1);
  if (HomingStep()) {
    // Found anew on every step.
    UpdateScreenRect();
    Steer(FindNearestChara(StageData().m_CharaGroups.At(m_ShotDef.m_nPathParam[2])));
  }
  CountPathStep();
}

void cShot::PathHomeTarget() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(1);
  if (HomingStep()) Steer(LiveTarget(m_nTargetId));
  CountPathStep();
}

void cShot::PathWave() {
  const int rate = m_ShotDef.m_nPathParam[1];
  // A wave of speed 0 has no phase to start from: no wave.
  if (rate == 0) return;
  const double S = Stage.m_dSteps;
  if (m_nStep == 0) {
    m_ShotDef.m_nPathParam[0] = SaturateToShort(static_cast<int64_t>(m_ShotDef.m_nPathParam[0]) * 16);
    m_nStep = 1;
    const int a = m_ShotDef.m_nPathParam[2] + (m_nDirection == 0 ? 180 : 0);
    m_dWavePhase = S * (static_cast<double>(a) / rate);
    const double u = WaveVelocity(m_ShotDef.m_nPathParam[0], rate, m_dWavePhase, 1, 0);
    double theta = std::atan2(m_dBaseVy, m_dBaseVx);
    if (theta < 0) theta += kTwoPi;
    const double phi = (theta * kWaveDegrees - 90) * ShotDegToRad;
    m_dWaveCos = std::cos(phi);
    m_dWaveSin = std::sin(phi);
    m_dBaseVx += u * m_dWaveCos;
    m_dBaseVy += u * m_dWaveSin;
  } else {
    const double u = WaveAcceleration(m_ShotDef.m_nPathParam[0], rate, m_dWavePhase, 1, 0);
    const double vx = m_dBaseVx, vy = m_dBaseVy;
    m_dBaseVx += u * m_dWaveCos;
    m_dBaseVy += u * m_dWaveSin;
    if (Flipped(vx, m_dBaseVx)) m_dBaseVx = 0;
    if (Flipped(vy, m_dBaseVy)) m_dBaseVy = 0;
  }
  if (m_bAccel) GetSpeedVector(m_dInertiaX, m_dInertiaY, m_dBaseVx, m_dBaseVy);
}

void cShot::PathFall() {
  if (m_bPathDone) return;
  if (m_nStep == 0) StartPath(0);
  if (m_nStep >= m_nTurnStep) {
    m_dVy = m_dBaseVy;
    m_bNoGravity = 0;
    m_bPathDone = 1;
  }
  CountPathStep();
}
