#pragma once
// The values that flows, conditions and command parameters store, named for
// the game code that gives them their meaning. The label tables hold the
// editor's names of the values (Shift-JIS); the runtime shows none of them.
#include <cstdint>

// When a flow may start (cEdFlow::m_nTrigger).
enum FLOWTRIGGER {
  FLOWTRIGGER_ALWAYS,
  FLOWTRIGGER_DAMAGED,
  FLOWTRIGGER_IMPACT,
  FLOWTRIGGER_DEATH,
  FLOWTRIGGER_HIT_CHARA,
  FLOWTRIGGER_HIT_BLOCK_CHARA,
  FLOWTRIGGER_ON_BLOCK_CHARA,
  FLOWTRIGGER_HIT_SHOT,
  FLOWTRIGGER_HIT_ITEM,
  FLOWTRIGGER_HIT_BLOCK,
  FLOWTRIGGER_BLOCK_SIDE,
  FLOWTRIGGER_BLOCK_LEFT,
  FLOWTRIGGER_BLOCK_RIGHT,
  FLOWTRIGGER_BLOCK_TOP_BOTTOM,
  FLOWTRIGGER_BLOCK_TOP,
  FLOWTRIGGER_BLOCK_BOTTOM,
  FLOWTRIGGER_RIDDEN_BY_HERO,
  FLOWTRIGGER_RIDDEN_BY_CHARA,
  FLOWTRIGGER_STAGE_START,
  FLOWTRIGGER_NONE,  // started only by a flow operation command
  FLOWTRIGGER_COUNT
};
extern const char* const FlowTriggerLabels[FLOWTRIGGER_COUNT];

// How the conditions of a flow combine (cEdFlow::m_nCondMode).
enum CONDMODE { CONDMODE_ALL, CONDMODE_ANY };

// Condition types (cEdCondition::m_nType).
enum CONDTYPE {
  CONDTYPE_NONE,
  CONDTYPE_COMMON_VAR,
  CONDTYPE_STAGE_VAR,
  CONDTYPE_CHARA_VAR,
  CONDTYPE_STATUS,     // a status or variable against a constant, random, status or variable
  CONDTYPE_STATE,      // a state of CHARASTATE
  CONDTYPE_SITUATION,  // a SITUATION, negated by m_nCompare 1
  CONDTYPE_DISTANCE,
  CONDTYPE_COUNT
};
extern const char* const CondTypeLabels[CONDTYPE_COUNT];

// Comparisons of conditions (cEdCondition::m_nCompare); "value op constant".
enum CMPOP {
  CMPOP_EQ,
  CMPOP_NE,
  CMPOP_GE,
  CMPOP_LE,
  CMPOP_GT,
  CMPOP_LT,
  CMPOP_MULTIPLE,      // the constant is 0, or |value| is a multiple of it
  CMPOP_NOT_MULTIPLE,  // the constant is not 0 and |value| is no multiple of it
  CMPOP_COUNT
};
extern const char* const CmpOpLabels[CMPOP_COUNT];

// Distance conditions: the axis measured (cEdCondition::m_nAxis).
enum DISTAXIS {
  DISTAXIS_HORIZONTAL,
  DISTAXIS_FRONT,
  DISTAXIS_BACK,
  DISTAXIS_VERTICAL,
  DISTAXIS_FRONT_Y,
  DISTAXIS_BACK_Y,
  DISTAXIS_CIRCLE
};

// Wanted state of one input of a key condition, and how the inputs combine.
enum KEYSTATE { KEYSTATE_IGNORED, KEYSTATE_PRESSED, KEYSTATE_RELEASED };
enum KEYMODE { KEYMODE_ALL, KEYMODE_ANY, KEYMODE_ONE };

// Operators of the arrange command and of status operations.
enum CALCOP {
  CALCOP_SET,
  CALCOP_ADD,
  CALCOP_SUB,
  CALCOP_MUL,
  CALCOP_DIV,
  CALCOP_MOD,
  CALCOP_PERCENT,
  CALCOP_COUNT
};
extern const char* const CalcOpLabels[CALCOP_COUNT];

// The flow operation command: p0 the operation, p1 whom it addresses, p2 the
// flow ID for FLOWOPTARGET_BY_ID (0 is no ID and addresses no flow).
enum FLOWOP {
  FLOWOP_START,
  FLOWOP_END,
  FLOWOP_PAUSE,
  FLOWOP_RESUME,
  FLOWOP_DELETE,
  FLOWOP_STOP_FOREVER,
  FLOWOP_COUNT
};
extern const char* const FlowOpLabels[FLOWOP_COUNT];

enum FLOWOPTARGET {
  FLOWOPTARGET_THIS,
  FLOWOPTARGET_OTHERS,
  FLOWOPTARGET_BY_ID,
  FLOWOPTARGET_COUNT
};
extern const char* const FlowOpTargetLabels[FLOWOPTARGET_COUNT];

// The item command "flow change": p0 what it does with the carried flows,
// p1 the flow ID it addresses (0 with FLOWCHANGE_DELETE: every flow).
enum FLOWCHANGE { FLOWCHANGE_ADD, FLOWCHANGE_REPLACE, FLOWCHANGE_DELETE };

// Whose value a status operation or condition reads or writes.
enum STATUSSUBJECT { SUBJECT_SELF, SUBJECT_TARGET, SUBJECT_SYSTEM };
// Kind of the changed value, of an operand and of a variable.
enum VALUEKIND { VALUEKIND_STATUS, VALUEKIND_VARIABLE };
enum OPERANDKIND { OPERAND_CONST, OPERAND_RANDOM, OPERAND_STATUS, OPERAND_VARIABLE };
enum VARKIND { VARKIND_COMMON, VARKIND_STAGE, VARKIND_CHARA };  // CHARA: arrange operands only
enum CALCMODE { CALCMODE_NORMAL, CALCMODE_PERCENT_OF_MAX, CALCMODE_PERCENT_OF_CURRENT };

constexpr int CHARA_VARIABLE_COUNT = 8;

// A value with the range the editor offers for it.
struct STATUSDESC {
  const char* strName;  // Shift-JIS
  int32_t nMin;
  int32_t nMax;
};

// Statuses of a character: the status number of status operations and
// conditions.
enum CHARASTATUS {
  STATUS_CHARA_VAR,
  STATUS_HP,
  STATUS_SP,
  STATUS_MAX_HP,
  STATUS_MAX_SP,
  STATUS_CHARA_ID,
  STATUS_Z,
  STATUS_MARK,
  STATUS_SIGHT,           // half blocks
  STATUS_BODY_POWER,
  STATUS_BODY_IMPACT,
  STATUS_DEFENCE,
  STATUS_IMPACT_RESIST,
  STATUS_STEADINESS,
  STATUS_SCORE_ON_DEFEAT,
  CHARASTATUS_COUNT
};
extern const STATUSDESC CharaStatusTable[CHARASTATUS_COUNT];

// Values of the subject SUBJECT_SYSTEM.
enum SYSVALUE {
  SYSVALUE_TIME,
  SYSVALUE_SCROLL_X,
  SYSVALUE_SCROLL_Y,
  SYSVALUE_SCORE,
  SYSVALUE_LIVES,
  SYSVALUE_COUNT
};
extern const STATUSDESC SystemValueTable[SYSVALUE_COUNT];

// States set by the second status operation and tested by state conditions.
enum CHARASTATE {
  CHARASTATE_VANISH,
  CHARASTATE_TRANSPARENT,
  CHARASTATE_FIXED_FACING,
  CHARASTATE_FLYING,
  CHARASTATE_INVINCIBLE,
  CHARASTATE_GIANT,        // value 1..10: scale 1 (none) to ×100
  CHARASTATE_SCROLL_SYNC,
  CHARASTATE_COUNT
};
extern const char* const CharaStateLabels[CHARASTATE_COUNT];

// Situations tested by situation conditions.
enum SITUATION {
  SITUATION_FACING_LEFT,
  SITUATION_FACING_RIGHT,
  SITUATION_ON_BLOCK,  // block characters count as blocks
  SITUATION_ON_SCREEN,
  SITUATION_COUNT
};
extern const char* const SituationLabels[SITUATION_COUNT];

// Direction codes of moves and shots ("front" is the facing).
enum DIRCODE {
  DIRCODE_FRONT,
  DIRCODE_BACK,
  DIRCODE_LEFT,
  DIRCODE_RIGHT,
  DIRCODE_FRONT_Y,  // down when facing right, up when facing left
  DIRCODE_BACK_Y,
  DIRCODE_UP,
  DIRCODE_DOWN,
  DIRCODE_UP_LEFT,
  DIRCODE_DOWN_LEFT,
  DIRCODE_UP_RIGHT,
  DIRCODE_DOWN_RIGHT,
  DIRCODE_INPUT,
  DIRCODE_COUNT
};

// The direction code of an input direction: index 0 (none held) is the
// facing (non-zero: right); 1 left, 2 right, 3 up, 4 down, 5 and 6 the
// diagonals on the left, 7 and 8 those on the right. Other indexes count as
// none held. Called by the command executors that take the input direction.
int ToDirectionCode(int directionIndex, int facing);
