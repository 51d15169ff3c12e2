#pragma once
// The values that conditions and status operations name by number: the
// statuses of a character (CHARASTATUS, records/command_vocab.h; status 0 is
// one of the character's variables) and the values of the running stage and
// the run (SYSVALUE). Called on the game thread inside a stage.
#include <cstdint>

class cCharaBase;

// The field of the status table (STATUSFIELDINDEX, game/status_fields.h)
// that CHARASTATUS `status` names; −1 for the character variable (status 0)
// and for numbers outside the table.
int CharaStatusField(int status);

// The stored value of status `status` of `chara` (status 0: its variable
// varIndex, a checked index); 0 for a number outside the table.
int32_t CharaStatusValue(cCharaBase& chara, int status, int varIndex);

// The status as an operand reads it: 0 (and value 0) when the read is
// refused, which it is for the sight of a computer-operated character;
// reading stop derives the character's stop deceleration again.
int ReadCharaStatus(cCharaBase& chara, int status, int varIndex, int32_t& value);

// Where SYSVALUE `index` is stored (the stage's time left, the stage record's
// auto-scroll speeds, PlayData's total score and lives); null outside the
// table.
int32_t* SystemValueField(int index);

// The system value as an operand reads it: the time left is 0 while the stage
// has no time limit, infinite lives are 0; 0 outside the table.
int32_t ReadSystemValue(int index);

// A status of a subject (STATUSSUBJECT) as an operand: 0 the character, 1 its
// target, 2 the system values. 0 when there is nothing to read: no target, a
// subject outside the table, a refused read.
int ReadStatusOperand(cCharaBase& chara, int subject, int status, int varIndex, int32_t& value);

// The right operand of a status condition or a status operation, by
// OPERANDKIND: the constant, a random number in nRandA..nRandB (drawn anew
// on every read), status nStatus of subject nSubject (ReadStatusOperand,
// nIndex the variable of a character-variable status) or variable nIndex of
// kind nVarKind (0 for another kind). An unknown kind reads 0.
struct OPERANDREF {
  int32_t nKind;
  int32_t nConst;
  int32_t nRandA;
  int32_t nRandB;
  int32_t nSubject;
  int32_t nStatus;
  int32_t nVarKind;
  int32_t nIndex;
};
// 0 (and value 0) when there is nothing to read: the condition then fails,
// the operation does nothing.
int ReadOperand(cCharaBase& chara, const OPERANDREF& operand, int32_t& value);

// Common (VARKIND_COMMON) or stage (VARKIND_STAGE) variable `index`, through
// the checked accessor; null for another kind.
int32_t* VariableField(int kind, int index);

// After a store to an auto-scroll speed: the view axis takes the stage
// record's auto-scroll setting and speed at once.
void ResetAutoScrollX();
void ResetAutoScrollY();
