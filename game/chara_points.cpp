// Hit and skill points with their gauges, and the jump conversions.
#include <cmath>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "records/stage.h"

namespace {

// points + delta within 0..max (a positive delta at most max − points), in
// 64 bits; the delta taken.
int32_t AddPoints(int32_t& points, int64_t delta, int32_t max) {
  const int64_t top = max > 0 ? max : 0;
  if (delta > 0 && delta > top - points) delta = top - points;
  int64_t value = points + delta;
  if (value < 0) value = 0;
  if (value > top) value = top;
  points = static_cast<int32_t>(value);
  return SaturateToInt(delta);
}

// A gauge is 50 dots wide; it needs a maximum to measure against.
void StartGauge(GAUGESTATE& gauge, int delta, int32_t points, int32_t max) {
  if (delta == 0 || max <= 0) return;
  gauge.nTimer = 120;
  gauge.nValue = static_cast<int32_t>(static_cast<int64_t>(points) * 50 / max);
  gauge.dDiff = delta * 50.0 / max;
  gauge.dShrink = gauge.dDiff / 60;
}

}  // namespace

int cCharaBase::ChangeHp(int delta, int bForce, int bGauge) {
  if (!bForce && delta <= 0 && m_Def.m_bInvincible != 0) return 0;
  const int32_t taken = AddPoints(m_nHp, delta, m_Def.m_nMaxHp);
  if (m_nHp == 0) return 1;
  if (bGauge) StartHpGauge(taken);
  return 0;
}

void cCharaBase::ChangeSp(int delta, int bGauge) {
  const int32_t taken = AddPoints(m_nSp, delta, m_Def.m_nMaxSp);
  if (bGauge && m_Def.m_nMaxSp > 0) StartSpGauge(taken);
}

void cCharaBase::StartHpGauge(int delta) { StartGauge(m_HpGauge, delta, m_nHp, m_Def.m_nMaxHp); }

void cCharaBase::StartSpGauge(int delta) { StartGauge(m_SpGauge, delta, m_nSp, m_Def.m_nMaxSp); }

double cCharaBase::StopToDecel(int16_t stop) { return stop * 0.01 / Stage.m_dStepsSquared; }

double cCharaBase::JumpSpeedForHeightDots(double d) const {
  const double g = Stage.m_dGravityPerStep;
  // Without gravity nothing would bring the jump down.
  if (!(g > 0)) return 0;
  double reach = g * (g + 8 * d);
  if (reach < 0) reach = 0;
  double v = (-g - std::sqrt(reach)) / 2;
  if (m_nController == 0) v *= 0.99 - Stage.m_dGravity * 0.025;
  return v;
}

double cCharaBase::JumpSpeedForHeight(int8_t h) const { return JumpSpeedForHeightDots(h * 16); }

int cCharaBase::JumpStepsToApex(double v) {
  const double g = Stage.m_dGravityPerStep;
  const double S = Stage.m_dSteps;
  if (!(g > 0)) return ToIntChecked(S);
  return ToIntChecked(S - v / g);
}

int cCharaBase::JumpTimeForHeight(int8_t h) const {
  const int S = Stage.StepsPerFrame();
  return JumpStepsToApex(JumpSpeedForHeight(h)) / S / 6 + 1;
}
