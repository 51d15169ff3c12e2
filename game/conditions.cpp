#include "game/conditions.h"

#include "game/calc_ops.h"
#include "game/chara_base.h"
#include "game/stage_data.h"
#include "game/status_values.h"
#include "records/command_vocab.h"
#include "records/condition.h"
#include "records/save_data.h"

namespace {

// How the left side of a status condition compares, by CHARASTATUS.
struct LEFTSTATUS {
  int32_t nBits;   // 32, 8 or 16
  int32_t nLo;     // what a percentage is brought into
  int32_t nHi;
  int32_t nMaxOf;  // the status a percentage is taken of; −1: of 0
};

// clang-format off
const LEFTSTATUS LeftStatusTable[CHARASTATUS_COUNT] = {
  {32, -999999, 999999, -1},        // character variable
  {32, 0, 999999, STATUS_MAX_HP},   // hp
  {32, 0, 999999, STATUS_MAX_SP},   // sp
  {32, 0, 999999, -1},              // mhp
  {32, 0, 999999, -1},              // msp
  {8, 0, 99, -1},                   // cid
  {8, 0, 7, -1},                    // z
  {16, 0, 119, -1},                 // mark
  {8, 0, 40, -1},                   // sight
  {32, 0, 999999, -1},              // power
  {8, -20, 20, -1},                 // imp
  {32, 0, 999999, -1},              // def
  {8, 0, 20, -1},                   // impd
  {16, 0, 200, -1},                 // stop
  {32, 0, 999999, -1},              // getsc
};

// The ranges a percentage of a system value is brought into, by SYSVALUE.
const int32_t SystemRange[SYSVALUE_COUNT][2] = {
  {0, 999}, {-480, 480}, {-480, 480}, {0, 999999}, {0, 99},
};
// clang-format on

int Compared(int maximum, const cEdCondition& c, int lo, int hi) {
  if (!c.m_bPercent) return c.m_nConst;
  int v = PercentRound(maximum, c.m_nConst);
  ClampInt(v, lo, hi);
  return v;
}

int CompareStatusBits(int bits, int status, int maximum, const cEdCondition& c, int lo, int hi) {
  if (bits == 8) return CompareStatusByte(status, maximum, c, lo, hi);
  if (bits == 16) return CompareStatusShort(status, maximum, c, lo, hi);
  return CompareStatusInt(status, maximum, c, lo, hi);
}

// The right operand; 0 when the condition cannot hold for want of it.
int RightOperand(const cEdCondition& c, cCharaBase& chara, int32_t& b) {
  return ReadOperand(chara,
                     {c.m_nOperandKind, c.m_nConst, c.m_nRandMin, c.m_nRandMax, c.m_nOperandSubject,
                      c.m_nOperandItem, c.m_nOperandVarKind, c.m_nOperandIndex},
                     b);
}

int LeftVariable(const cEdCondition& c) {
  const int32_t* var = VariableField(c.m_nLeftVarKind, c.m_nIndex);
  return var ? CompareStatusInt(*var, 0, c, -999999, 999999) : 0;
}

int LeftSystemValue(const cEdCondition& c) {
  const int32_t* field = SystemValueField(c.m_nItem);
  if (!field) return 0;
  if (c.m_nItem == SYSVALUE_LIVES && *field == LIVES_INFINITE) return 0;
  return CompareStatusInt(ReadSystemValue(c.m_nItem), 0, c, SystemRange[c.m_nItem][0], SystemRange[c.m_nItem][1]);
}

int LeftCharaStatus(const cEdCondition& c, cCharaBase& who) {
  if (c.m_nItem >= CHARASTATUS_COUNT) return 1;
  const LEFTSTATUS& left = LeftStatusTable[c.m_nItem];
  const int value = CharaStatusValue(who, c.m_nItem, c.m_nIndex);
  const int maximum = left.nMaxOf < 0 ? 0 : CharaStatusValue(who, left.nMaxOf, 0);
  return CompareStatusBits(left.nBits, value, maximum, c, left.nLo, left.nHi);
}

int LeftStatus(const cEdCondition& c, cCharaBase& chara) {
  switch (c.m_nSubject) {
    case SUBJECT_SELF:
      return LeftCharaStatus(c, chara);
    case SUBJECT_TARGET: {
      cCharaBase* target = chara.Target();
      return target ? LeftCharaStatus(c, *target) : 0;
    }
    case SUBJECT_SYSTEM:
      return LeftSystemValue(c);
    default:
      return 0;
  }
}

int VariableCondition(int32_t value, const cEdCondition& c) { return CompareByOp(value, c.m_nConst, c.m_nCompare); }

using CONDITIONFN = int (*)(cEdCondition& c, cCharaBase* chara);

// clang-format off
const CONDITIONFN ConditionTable[CONDTYPE_COUNT] = {
  [](cEdCondition&, cCharaBase*) { return 0; },
  [](cEdCondition& c, cCharaBase*) { return VariableCondition(PlayData.m_vCommonVar.At(c.m_nIndex), c); },
  [](cEdCondition& c, cCharaBase*) { return VariableCondition(StageData().m_vStageVars.At(c.m_nIndex), c); },
  [](cEdCondition& c, cCharaBase* chara) { return chara ? VariableCondition(chara->m_vVars.At(c.m_nIndex), c) : 0; },
  [](cEdCondition& c, cCharaBase* chara) { return chara ? EvalStatusCondition(c, *chara) : 0; },
  [](cEdCondition& c, cCharaBase* chara) { return chara ? chara->CheckStateCondition(c) : 0; },
  [](cEdCondition& c, cCharaBase* chara) { return chara ? chara->CheckSituationCondition(c) : 0; },
  [](cEdCondition& c, cCharaBase* chara) { return chara ? chara->CheckDistanceCondition(c) : 0; },
};
// clang-format on

}  // namespace

int CompareStatusInt(int status, int maximum, const cEdCondition& condition, int lo, int hi) {
  return CompareByOp(status, Compared(maximum, condition, lo, hi), condition.m_nCompare);
}

int CompareStatusByte(int status, int maximum, const cEdCondition& condition, int lo, int hi) {
  return CompareBytes(status, Compared(maximum, condition, lo, hi), condition.m_nCompare);
}

int CompareStatusShort(int status, int maximum, const cEdCondition& condition, int lo, int hi) {
  return CompareShorts(status, Compared(maximum, condition, lo, hi), condition.m_nCompare);
}

int EvalStatusCondition(cEdCondition& condition, cCharaBase& chara) {
  int32_t b;
  if (!RightOperand(condition, chara, b)) return 0;
  condition.m_nConst = b;
  if (condition.m_nLeftKind == VALUEKIND_VARIABLE) return LeftVariable(condition);
  if (condition.m_nLeftKind == VALUEKIND_STATUS) return LeftStatus(condition, chara);
  return 0;
}

int CheckCondition(cEdCondition& condition, cCharaBase* chara) {
  if (condition.m_nType >= CONDTYPE_COUNT) return 0;
  return ConditionTable[condition.m_nType](condition, chara);
}

int CheckConditionList(cVector<cEdCondition>& list, int mode, cCharaBase* chara) {
  if (mode == CONDMODE_ALL) {
    for (cEdCondition& c : list)
      if (!CheckCondition(c, chara)) return 0;
    return 1;
  }
  if (mode == CONDMODE_ANY) {
    for (cEdCondition& c : list)
      if (CheckCondition(c, chara)) return 1;
    return 0;
  }
  return 0;
}
