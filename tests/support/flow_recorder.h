#pragma once
// Recording executors and a scripted condition gate for tests of flows.
//
//   FlowRecorder rec;  // every action type now records its runs
//   rec.OnRun(ACTCMDTYPE_SHOT, [&](cCharaBase& c, cCommandInstance& i) { ... });
//   ScriptedGate gate([&](cFlowInstance& f, cCharaBase& c) { return open; });
//   PlayFlowFrames(world, 3, {&chara}, &keys);
//   EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"1.1 f0c0", "1.1 f0c1"}));
//
// A run is noted with its stage frame and logic step, the character, the
// stage's current flow (its position) and the command's position in it.
// Both restore what they replaced when they end.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "game/action_commands.h"
#include "game/chara_base.h"
#include "records/command_types.h"

namespace testsupport {

class GameWorld;
class ScriptedInput;

struct FlowCall {
  int frame = 0;
  int step = 0;
  int chara = -1;    // m_nId
  int flow = -1;     // m_nIndex of the current flow; -1 none
  int command = -1;  // position in that flow
  int type = 0;
};

class FlowRecorder {
 public:
  FlowRecorder();
  ~FlowRecorder();
  FlowRecorder(const FlowRecorder&) = delete;
  FlowRecorder& operator=(const FlowRecorder&) = delete;

  // What a run of `type` also does, after it is noted.
  void OnRun(int type, std::function<void(cCharaBase&, cCommandInstance&)> action);

  const std::vector<FlowCall>& Calls() const { return m_calls; }
  // "frame.step fFcC", one per run.
  std::vector<std::string> Texts() const;
  // Runs of one type.
  int Count(int type) const;
  void Clear() { m_calls.clear(); }

 private:
  static int Record(cCharaBase& chara, cCommandInstance& instance);
  ACTIONENTRY m_saved[ACTCMDTYPE_COUNT];
  std::function<void(cCharaBase&, cCommandInstance&)> m_actions[ACTCMDTYPE_COUNT];
  std::vector<FlowCall> m_calls;
};

class ScriptedGate {
 public:
  explicit ScriptedGate(std::function<int(cFlowInstance&, cCharaBase&)> gate);
  ~ScriptedGate();
  ScriptedGate(const ScriptedGate&) = delete;
  ScriptedGate& operator=(const ScriptedGate&) = delete;

 private:
  static int Call(cFlowInstance& flow, cCharaBase& chara);
  std::function<int(cFlowInstance&, cCharaBase&)> m_gate;
  int (*m_saved)(cFlowInstance&, cCharaBase&) = nullptr;
};

// One logic step of a character's flows as the play step runs them: the
// ALWAYS trigger, then the flow pass with the character current.
int StepFlows(cCharaBase& chara, int bDeathPass = 0);

// `frames` frames: the next scripted input (when given), every character's
// frame reset, then in each logic step StepFlows of each character in order.
void PlayFlowFrames(GameWorld& world, int frames, std::initializer_list<cCharaBase*> charas,
                    ScriptedInput* keys = nullptr);

}  // namespace testsupport
