#pragma once
// One condition of a flow or of a character definition: a variable or
// status compared with a value, a state or situation of a character, or a
// distance (CONDTYPE). Evaluating it is the game code's.
#include <cstdint>

#include "records/record.h"

class cEdCondition : public cRecord {
 public:
  uint8_t m_nType = 0;         // CONDTYPE
  uint8_t m_nLeftKind = 0;     // status conditions: VALUEKIND of the left side
  uint8_t m_nLeftVarKind = 0;  // VARKIND of a left variable
  // Status conditions: STATUSSUBJECT; states and situations: 0 self,
  // 1 target, 2 the stage (states only); distances: 0 the hero, 1 the target.
  uint8_t m_nSubject = 0;
  uint8_t m_nItem = 0;  // the status (CHARASTATUS or SYSVALUE), CHARASTATE or SITUATION
  // Variable index (types 1..3, a left variable, the character variable of
  // the left status 0); the compared value of a state condition.
  int16_t m_nIndex = 0;
  uint8_t m_nOperandKind = 0;  // OPERANDKIND of the right side
  int32_t m_nConst = 0;        // the constant; distance conditions: half blocks
  int32_t m_nRandMin = 0;
  int32_t m_nRandMax = 0;
  uint8_t m_nOperandSubject = 0;
  uint8_t m_nOperandItem = 0;
  uint8_t m_nOperandVarKind = 0;
  int16_t m_nOperandIndex = 0;  // variable index; distance conditions: dots added
  // Types 1..5: CMPOP; situations: 1 negates; distances: 0 within, 1 outside.
  uint8_t m_nCompare = 0;
  uint8_t m_bPercent = 0;  // compare with this percent of the left status's maximum
  uint8_t m_nAxis = 0;     // DISTAXIS

  cEdCondition() { Clear(); }
  void RegisterFields(int version) override;
  // The record segment, then the upgrades of older files.
  void Load(cDataReader& r) override;
};
