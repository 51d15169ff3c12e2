#include "game/status_values.h"

#include "base/number_text.h"
#include "game/chara_base.h"
#include "game/stage_data.h"
#include "game/status_fields.h"
#include "records/command_vocab.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

// clang-format off
const int StatusFieldOf[CHARASTATUS_COUNT] = {
  -1,
  STATUSFIELD_HP, STATUSFIELD_SP, STATUSFIELD_MHP, STATUSFIELD_MSP,
  STATUSFIELD_CID, STATUSFIELD_Z, STATUSFIELD_MARK, STATUSFIELD_SIGHT,
  STATUSFIELD_POWER, STATUSFIELD_IMP, STATUSFIELD_DEF, STATUSFIELD_IMPD,
  STATUSFIELD_STOP, STATUSFIELD_GETSC,
};

int32_t* (*const SystemFields[SYSVALUE_COUNT])() = {
  [] { return &StageData().m_nTimeLeft; },
  [] { return &Stage.m_nAutoScrollSpeedX; },
  [] { return &Stage.m_nAutoScrollSpeedY; },
  [] { return &PlayData.m_nTotalScore; },
  [] { return &PlayData.m_nLives; },
};
// clang-format on

}  // namespace

int CharaStatusField(int status) {
  if (status < 0 || status >= CHARASTATUS_COUNT) return -1;
  return StatusFieldOf[status];
}

int32_t CharaStatusValue(cCharaBase& chara, int status, int varIndex) {
  if (status == STATUS_CHARA_VAR) return chara.m_vVars.At(varIndex);
  const int field = CharaStatusField(status);
  return field < 0 ? 0 : GetStatusField(chara, field);
}

int ReadCharaStatus(cCharaBase& chara, int status, int varIndex, int32_t& value) {
  value = 0;
  if (status == STATUS_SIGHT && chara.m_nController != 0) return 0;
  value = CharaStatusValue(chara, status, varIndex);
  if (status == STATUS_STEADINESS) chara.m_dStopDecel = cCharaBase::StopToDecel(chara.m_Def.m_nStop);
  return 1;
}

int32_t* SystemValueField(int index) {
  if (index < 0 || index >= SYSVALUE_COUNT) return nullptr;
  return SystemFields[index]();
}

int32_t ReadSystemValue(int index) {
  const int32_t* field = SystemValueField(index);
  if (!field) return 0;
  if (index == SYSVALUE_TIME && StageData().m_bNoTimeLimit) return 0;
  if (index == SYSVALUE_LIVES && *field == LIVES_INFINITE) return 0;
  return *field;
}

int ReadStatusOperand(cCharaBase& chara, int subject, int status, int varIndex, int32_t& value) {
  value = 0;
  switch (subject) {
    case SUBJECT_SELF:
      return ReadCharaStatus(chara, status, varIndex, value);
    case SUBJECT_TARGET: {
      cCharaBase* target = chara.Target();
      return target ? ReadCharaStatus(*target, status, varIndex, value) : 0;
    }
    case SUBJECT_SYSTEM:
      value = ReadSystemValue(status);
      return 1;
    default:
      return 0;
  }
}

int ReadOperand(cCharaBase& chara, const OPERANDREF& operand, int32_t& value) {
  value = 0;
  switch (operand.nKind) {
    case OPERAND_CONST:
      value = operand.nConst;
      return 1;
    case OPERAND_RANDOM:
      value = RandomRange(operand.nRandA, operand.nRandB);
      return 1;
    case OPERAND_STATUS:
      return ReadStatusOperand(chara, operand.nSubject, operand.nStatus, operand.nIndex, value);
    case OPERAND_VARIABLE: {
      const int32_t* var = VariableField(operand.nVarKind, operand.nIndex);
      value = var ? *var : 0;
      return 1;
    }
    default:
      return 1;
  }
}

int32_t* VariableField(int kind, int index) {
  if (kind == VARKIND_COMMON) return &PlayData.m_vCommonVar.At(index);
  if (kind == VARKIND_STAGE) return &StageData().m_vStageVars.At(index);
  return nullptr;
}

void ResetAutoScrollX() { StageData().m_ScrollX.SetAutoScroll(Stage.m_bAutoScrollX, Stage.m_nAutoScrollSpeedX); }

void ResetAutoScrollY() { StageData().m_ScrollY.SetAutoScroll(Stage.m_bAutoScrollY, Stage.m_nAutoScrollSpeedY); }
