#include "support/flow_recorder.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/flow_conditions.h"
#include "game/stage_data.h"
#include "records/command.h"
#include "support/game_world.h"
#include "support/scripted_input.h"

namespace testsupport {

namespace {

FlowRecorder* activeRecorder = nullptr;
ScriptedGate* activeGate = nullptr;

}  // namespace

FlowRecorder::FlowRecorder() {
  EXPECT_EQ(activeRecorder, nullptr) << "one FlowRecorder at a time";
  activeRecorder = this;
  for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) {
    m_saved[t] = ActionTable[t];
    ActionTable[t].pRun = &FlowRecorder::Record;
  }
}

FlowRecorder::~FlowRecorder() {
  for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) ActionTable[t] = m_saved[t];
  activeRecorder = nullptr;
}

void FlowRecorder::OnRun(int type, std::function<void(cCharaBase&, cCommandInstance&)> action) {
  m_actions[type] = std::move(action);
}

int FlowRecorder::Record(cCharaBase& chara, cCommandInstance& instance) {
  FlowRecorder* self = activeRecorder;
  if (!self || !instance.m_pCommand) return 0;
  const cSceneStageData& stage = StageData();
  FlowCall call;
  call.frame = stage.m_nFrameCount;
  call.step = stage.m_nStepInFrame;
  call.chara = chara.m_nId;
  call.type = instance.m_pCommand->m_nType;
  if (const cFlowInstance* flow = stage.m_lpCurFlow) {
    call.flow = flow->m_nIndex;
    for (int i = 0; i < flow->m_vCommands.Size(); ++i)
      if (&flow->m_vCommands[i] == &instance) call.command = i;
  }
  self->m_calls.push_back(call);
  if (call.type >= 0 && call.type < ACTCMDTYPE_COUNT && self->m_actions[call.type])
    self->m_actions[call.type](chara, instance);
  return 0;
}

std::vector<std::string> FlowRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const FlowCall& c : m_calls)
    texts.push_back(std::to_string(c.frame) + "." + std::to_string(c.step) + " f" + std::to_string(c.flow) + "c" +
                    std::to_string(c.command));
  return texts;
}

int FlowRecorder::Count(int type) const {
  int n = 0;
  for (const FlowCall& c : m_calls) n += c.type == type;
  return n;
}

ScriptedGate::ScriptedGate(std::function<int(cFlowInstance&, cCharaBase&)> gate) : m_gate(std::move(gate)) {
  EXPECT_EQ(activeGate, nullptr) << "one ScriptedGate at a time";
  activeGate = this;
  m_saved = FlowConditionGate;
  FlowConditionGate = &ScriptedGate::Call;
}

ScriptedGate::~ScriptedGate() {
  FlowConditionGate = m_saved;
  activeGate = nullptr;
}

int ScriptedGate::Call(cFlowInstance& flow, cCharaBase& chara) {
  return activeGate && activeGate->m_gate ? activeGate->m_gate(flow, chara) : 1;
}

int StepFlows(cCharaBase& chara, int bDeathPass) {
  chara.FireTrigger(FLOWTRIGGER_ALWAYS);
  StageData().m_lpCurChara = &chara;
  return chara.RunFlows(bDeathPass);
}

void PlayFlowFrames(GameWorld& world, int frames, std::initializer_list<cCharaBase*> charas, ScriptedInput* keys) {
  const std::vector<cCharaBase*> list(charas);
  for (int f = 0; f < frames; ++f) {
    if (keys) keys->Feed();
    for (cCharaBase* c : list) c->ResetStepTriggers();
    world.RunFrame([&](int) {
      for (cCharaBase* c : list) StepFlows(*c);
    });
  }
}

}  // namespace testsupport
