#pragma once
// Flows, commands and key conditions for play tests, as fluent builders:
//
//   cEdFlow flow = FlowDef(FLOWTRIGGER_ALWAYS).Switch(1)
//                      .Key(KeyDef().Press(KEYSLOT_RIGHT).Frames(1, 10))
//                      .Key(KeyDef().Press(KEYSLOT_BUTTON1).AnyLength())
//                      .Command(CommandDef(ACTCMDTYPE_WAIT).UseTime(2))
//                      .Command(CommandDef(ACTCMDTYPE_SHOT).NoWait());
//   cEdChara def = CharaDef().Flow(flow);
//
// A command starts with its type's parameter count of zeros; a flow with
// no conditions, keys or commands and the record's tolerance 3.
#include <cstdint>

#include "records/flow.h"

namespace testsupport {

// The 19 key slots of a key condition: the direction histories, then the buttons.
enum KEYSLOT {
  KEYSLOT_NO_DIR,
  KEYSLOT_LEFT,
  KEYSLOT_RIGHT,
  KEYSLOT_UP,
  KEYSLOT_DOWN,
  KEYSLOT_UP_LEFT,
  KEYSLOT_DOWN_LEFT,
  KEYSLOT_UP_RIGHT,
  KEYSLOT_DOWN_RIGHT,
  KEYSLOT_ANY_DIR,
  KEYSLOT_NO_BUTTON,
  KEYSLOT_BUTTON1,  // ... KEYSLOT_BUTTON1 + 7 is button 8
};

class CommandDef {
 public:
  explicit CommandDef(int type = 1 /* WAIT */);
  CommandDef& UseTime(int tenths) { m_cmd.m_nUseTime = static_cast<int16_t>(tenths); return *this; }
  CommandDef& Growth(int tenths) { m_cmd.m_nUseTimeGrowth = static_cast<int16_t>(tenths); return *this; }
  CommandDef& NoWait() { m_cmd.m_bNoWait = 1; return *this; }
  CommandDef& Anime(int n) { m_cmd.m_nAnime = static_cast<int16_t>(n); return *this; }
  // Parameter i; the vector grows to hold it.
  CommandDef& Param(int i, int32_t value);
  // A move record with this speed (tenths of a dot per frame) and growth.
  CommandDef& Speed(int speed, int growth);
  // The move's inertia flag and maximum speed.
  CommandDef& MaxSpeed(int tenths);
  CommandDef& DirCode(int code);
  cEdCommand& Def() { return m_cmd; }
  operator const cEdCommand&() const { return m_cmd; }

 private:
  cEdMove& Move();
  cEdCommand m_cmd;
};

// A LOOP command: `times` in all, over the next `range` commands.
CommandDef LoopDef(int times, int range);

class KeyDef {
 public:
  KeyDef();
  KeyDef& Press(int slot) { return State(slot, 1); }
  KeyDef& Release(int slot) { return State(slot, 2); }
  KeyDef& State(int slot, int state);
  KeyDef& Frames(int min, int max);
  KeyDef& AnyLength() { m_key.m_bAnyLength = 1; return *this; }
  KeyDef& Mode(int mode) { m_key.m_nMode = static_cast<uint8_t>(mode); return *this; }
  KeyDef& FacingRelative() { m_key.m_bFacingRelative = 1; return *this; }
  cEdKeyCondition& Def() { return m_key; }
  operator const cEdKeyCondition&() const { return m_key; }

 private:
  cEdKeyCondition m_key;
};

class FlowDef {
 public:
  explicit FlowDef(int trigger = 0 /* ALWAYS */);
  FlowDef& Id(int id) { m_flow.m_nId = static_cast<uint8_t>(id); return *this; }
  FlowDef& Switch(int letter) { m_flow.m_nSwitch = static_cast<uint8_t>(letter); return *this; }
  // The key tolerance as the file's signed byte.
  FlowDef& Slack(int frames) { m_flow.m_nKeySlack = static_cast<uint8_t>(frames); return *this; }
  FlowDef& Continuous() { m_flow.m_bKeyRepeat = 1; return *this; }
  FlowDef& Key(const cEdKeyCondition& key) { m_flow.m_vKeyConditions.push_back(key); return *this; }
  FlowDef& Command(const cEdCommand& command) { m_flow.m_vCommands.push_back(command); return *this; }
  // One condition record (the stand-in gate passes it; tests script the gate).
  FlowDef& Condition(int once);
  cEdFlow& Def() { return m_flow; }
  operator const cEdFlow&() const { return m_flow; }

 private:
  cEdFlow m_flow;
};

}  // namespace testsupport
