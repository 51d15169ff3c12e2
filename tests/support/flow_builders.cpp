#include "support/flow_builders.h"

#include "records/command_types.h"

namespace testsupport {

CommandDef::CommandDef(int type) {
  m_cmd.m_nType = static_cast<int8_t>(type);
  const int count = CommandParamCount(0, type);
  m_cmd.m_vParams.assign(count > 0 ? count : 0, 0);
}

CommandDef& CommandDef::Param(int i, int32_t value) {
  if (m_cmd.m_vParams.Size() <= i) m_cmd.m_vParams.resize(i + 1, 0);
  m_cmd.m_vParams[i] = value;
  return *this;
}

cEdMove& CommandDef::Move() {
  if (!m_cmd.m_spMove) CreateEdMove(m_cmd.m_spMove);
  return *m_cmd.m_spMove;
}

CommandDef& CommandDef::Speed(int speed, int growth) {
  Move().m_nSpeed = static_cast<int16_t>(speed);
  Move().m_nSpeedStep = static_cast<int16_t>(growth);
  return *this;
}

CommandDef& CommandDef::MaxSpeed(int tenths) {
  Move().m_bInertia = 1;
  Move().m_nMaxSpeed = static_cast<int16_t>(tenths);
  return *this;
}

CommandDef& CommandDef::DirCode(int code) {
  Move().m_nDirCode = static_cast<int8_t>(code);
  return *this;
}

CommandDef LoopDef(int times, int range) {
  return CommandDef(ACTCMDTYPE_LOOP).Param(0, times).Param(1, range);
}

KeyDef::KeyDef() { m_key.Reset(); }

KeyDef& KeyDef::State(int slot, int state) {
  if (m_key.m_vKeys.Size() <= slot) m_key.m_vKeys.resize(slot + 1, 0);
  m_key.m_vKeys[slot] = static_cast<uint8_t>(state);
  return *this;
}

KeyDef& KeyDef::Frames(int min, int max) {
  m_key.m_nMinFrames = static_cast<int16_t>(min);
  m_key.m_nMaxFrames = static_cast<int16_t>(max);
  return *this;
}

FlowDef::FlowDef(int trigger) { m_flow.m_nTrigger = static_cast<uint8_t>(trigger); }

FlowDef& FlowDef::Condition(int once) {
  m_flow.m_vConditions.push_back(cEdCondition());
  m_flow.m_bCondOnce = static_cast<uint8_t>(once);
  return *this;
}

}  // namespace testsupport
