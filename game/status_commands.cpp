#include "game/status_commands.h"

#include "game/calc_ops.h"
#include "game/chara_base.h"
#include "game/code_eval.h"
#include "game/stage_data.h"
#include "game/status_fields.h"
#include "game/status_values.h"
#include "records/command.h"
#include "records/command_vocab.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

// The parameters of a status operation.
enum {
  P_TARGET_KIND,     // VALUEKIND
  P_VAR_KIND,        // VARKIND of a variable target
  P_VAR_INDEX,       // its index; the variable of a character-variable status
  P_SUBJECT,         // STATUSSUBJECT of a status target
  P_STATUS,          // CHARASTATUS, or SYSVALUE for the system
  P_CALCOP,
  P_OPERAND_KIND,    // OPERANDKIND
  P_CONST,
  P_RAND_A,
  P_RAND_B,
  P_OPERAND_VAR_KIND,
  P_OPERAND_INDEX,   // variable of a variable operand or of a character-variable status
  P_OPERAND_SUBJECT,
  P_OPERAND_STATUS,
  P_PERCENT,         // the operand is a percentage of the target's own value
  P_POINTS_MODE,     // HP and SP: CALCMODE
  P_POINTS_GAUGE,    // HP and SP: show the gauge
  P_SKIP_INVINCIBLE,
};

int Param(cEdCommand& command, int n) { return command.m_vParams.At(n); }

// The operand; 0 when there is none to take (the operation then does nothing).
int Operand(cCharaBase& chara, cEdCommand& command, int32_t& b) {
  return ReadOperand(chara,
                     {Param(command, P_OPERAND_KIND), Param(command, P_CONST), Param(command, P_RAND_A),
                      Param(command, P_RAND_B), Param(command, P_OPERAND_SUBJECT), Param(command, P_OPERAND_STATUS),
                      Param(command, P_OPERAND_VAR_KIND), Param(command, P_OPERAND_INDEX)},
                     b);
}

// --- system values -----------------------------------------------------------

struct SYSTEMOPDEF {
  int32_t nLo;
  int32_t nHi;
  int32_t bPercent;        // the percent flag applies
  void (*lpAfter)();       // or null
};

// clang-format off
const SYSTEMOPDEF SystemOps[SYSVALUE_COUNT] = {
  {0, 999, 1, nullptr},
  {-480, 480, 0, ResetAutoScrollX},
  {-480, 480, 0, ResetAutoScrollY},
  {0, 999999, 0, nullptr},
  {0, 99, 0, nullptr},
};
// clang-format on

void SystemTarget(cEdCommand& command, int b) {
  const int index = Param(command, P_STATUS);
  int32_t* field = SystemValueField(index);
  if (!field) return;
  if (index == SYSVALUE_LIVES && *field == LIVES_INFINITE) return;
  const SYSTEMOPDEF& def = SystemOps[index];
  if (def.bPercent && Param(command, P_PERCENT)) b = PercentRound(*field, b);
  ApplyCalcInt(*field, b, Param(command, P_CALCOP), def.nLo, def.nHi);
  if (def.lpAfter) def.lpAfter();
}

// --- statuses of a character -------------------------------------------------

void LowerHp(cCharaBase& who) {
  if (who.m_nHp > who.m_Def.m_nMaxHp) who.m_nHp = who.m_Def.m_nMaxHp;
}
void LowerSp(cCharaBase& who) {
  if (who.m_nSp > who.m_Def.m_nMaxSp) who.m_nSp = who.m_Def.m_nMaxSp;
}
void AfterSight(cCharaBase& who) {
  who.m_nSightDots = cCharaBase::HblToDots(who.m_Def.m_nSight);
  StageData().CreateWorkSurfaces();
}
void AfterStop(cCharaBase& who) { who.m_dStopDecel = cCharaBase::StopToDecel(who.m_Def.m_nStop); }

struct STATUSOPDEF {
  int32_t nBits;  // 32, 16 or 8; 0: a point status (HP, SP)
  int32_t nLo;
  int32_t nHi;
  void (*lpAfter)(cCharaBase& who);  // or null
};

// clang-format off
const STATUSOPDEF StatusOps[CHARASTATUS_COUNT] = {
  {32, -999999, 999999, nullptr},  // character variable
  {0, 0, 999999, nullptr},         // hp
  {0, 0, 999999, nullptr},         // sp
  {32, 0, 999999, LowerHp},        // mhp
  {32, 0, 999999, LowerSp},        // msp
  {8, 0, 99, nullptr},             // cid
  {8, 0, 7, nullptr},              // z
  {16, 0, 119, nullptr},           // mark
  {8, 0, 40, AfterSight},          // sight
  {32, -999999, 999999, nullptr},  // power
  {8, -20, 20, nullptr},           // imp
  {32, 0, 999999, nullptr},        // def
  {8, 0, 20, nullptr},             // impd
  {16, 0, 200, AfterStop},         // stop
  {32, -999999, 999999, nullptr},  // getsc
};
// clang-format on

// HP or SP through the character's own change, so that the gauge and the
// invincibility rule apply.
void PointsTarget(cCharaBase& who, cEdCommand& command, int b) {
  const bool hp = Param(command, P_STATUS) == STATUS_HP;
  const int32_t points = hp ? who.m_nHp : who.m_nSp;
  const int32_t max = hp ? who.m_Def.m_nMaxHp : who.m_Def.m_nMaxSp;
  int temp = points;
  const int mode = Param(command, P_POINTS_MODE);
  if (mode >= CALCMODE_NORMAL && mode <= CALCMODE_PERCENT_OF_CURRENT) {
    if (mode == CALCMODE_PERCENT_OF_MAX) b = PercentRound(max, b);
    if (mode == CALCMODE_PERCENT_OF_CURRENT) b = PercentRound(points, b);
    ApplyCalcInt(temp, b, Param(command, P_CALCOP), 0, 999999);
  }
  if (hp)
    who.ChangeHp(temp - points, 1, Param(command, P_POINTS_GAUGE));
  else
    who.ChangeSp(temp - points, Param(command, P_POINTS_GAUGE));
}

void CharaTarget(cCharaBase& who, cEdCommand& command, int b) {
  const int status = Param(command, P_STATUS);
  if (status < 0 || status >= CHARASTATUS_COUNT) return;
  // Only a player's sight can change: it shapes the player's view.
  if (status == STATUS_SIGHT && who.m_nController != 0) return;
  const STATUSOPDEF& def = StatusOps[status];
  if (def.nBits == 0) return PointsTarget(who, command, b);
  const int op = Param(command, P_CALCOP);
  const bool percent = Param(command, P_PERCENT) != 0;
  void* field = status == STATUS_CHARA_VAR ? &who.m_vVars.At(Param(command, P_VAR_INDEX))
                                           : StatusFieldTable[CharaStatusField(status)].lpField(who);
  if (def.nBits == 8) {
    int8_t& x = *static_cast<int8_t*>(field);
    ApplyCalcByte(x, percent ? PercentOfByte(x, b) : b, op, def.nLo, def.nHi);
  } else if (def.nBits == 16) {
    int16_t& x = *static_cast<int16_t*>(field);
    ApplyCalcShort(x, percent ? PercentOfShort(x, b) : b, op, def.nLo, def.nHi);
  } else {
    int32_t& x = *static_cast<int32_t*>(field);
    ApplyCalcInt(x, percent ? PercentRound(x, b) : b, op, def.nLo, def.nHi);
  }
  if (def.lpAfter) def.lpAfter(who);
}

}  // namespace

int CmdStatusOp(cCharaBase& chara, cEdCommand& command) {
  int32_t b;
  if (!Operand(chara, command, b)) return 0;
  const int kind = Param(command, P_TARGET_KIND);
  if (kind == VALUEKIND_VARIABLE) {
    int32_t* var = VariableField(Param(command, P_VAR_KIND), Param(command, P_VAR_INDEX));
    if (!var) return 0;
    if (Param(command, P_PERCENT)) b = PercentRound(*var, b);
    ApplyCalcInt(*var, b, Param(command, P_CALCOP), -999999, 999999);
    return 0;
  }
  if (kind != VALUEKIND_STATUS) return 0;
  const int subject = Param(command, P_SUBJECT);
  if (subject == SUBJECT_SYSTEM) {
    SystemTarget(command, b);
    return 0;
  }
  cCharaBase* who = subject == SUBJECT_SELF ? &chara : subject == SUBJECT_TARGET ? chara.Target() : nullptr;
  if (!who) return 0;
  if (Param(command, P_SKIP_INVINCIBLE) && who->m_Def.m_bInvincible != 0) return 0;
  CharaTarget(*who, command, b);
  // Another character's HP may be gone: the stage defeats it in this step.
  const int status = Param(command, P_STATUS);
  if ((status == STATUS_HP || status == STATUS_MAX_HP) && who != &chara && who->m_nHp <= 0)
    StageData().m_bDefeatCheck = 1;
  return 0;
}

int CmdRunCode(cCharaBase& chara, cEdCommand& command) { return RunCode(command.m_strText, chara); }
