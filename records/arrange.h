#pragma once
// The arrange command changes, at run time, one parameter of the next
// commands of a type that a flow or the hero runs (for example: add a
// variable to the speed of the next shot). The game code keeps the pending
// arrange operations (per flow instance for action commands, on the hero for
// item commands) and applies them to each command before it runs; this file
// holds what can be arranged, with its bounds, and the operation itself.
#include <array>
#include <cstdint>
#include <string>

#include "base/container.h"
#include "records/command.h"

// One arrangeable parameter: its label and the range an arrange keeps it in.
struct ARRANGEPARAM {
  std::string strName;  // Shift-JIS
  int32_t nMin = 0;
  int32_t nMax = 0;

  void Set(const char* label, int32_t min, int32_t max);
};

// Row t lists the arrangeable parameters of action type t (40 rows; item
// commands use the row of their action type). Built by start-up before any
// project file is read; read-only afterwards.
extern cVector<cVector<ARRANGEPARAM>> ArrangeParamTable;
void BuildArrangeParamTable();

// An arrange operation: the five parameters of an arrange command.
//   [0] the action type it changes, [1] the parameter (index into the row),
//   [2] the operator CALCOP, [3] the operand's VARKIND, [4] the variable index.
using ARRANGEOP = std::array<int32_t, 5>;

// The variables an operand may come from; a missing list has no variables.
struct ARRANGEVARS {
  const cVector<int32_t>* pCommon = nullptr;  // the progress record's; used from index 1
  const cVector<int32_t>* pStage = nullptr;   // the running stage's; used from index 1
  const cVector<int32_t>* pChara = nullptr;   // the character's; used from index 0
};

// Whether action type t has arrange operations (rows 3, 4 and 7 have
// operations that touch nothing).
bool HasArrangeOps(int type);
// Reads parameter n of row `type` from the command: false (out untouched)
// when the row does not map n or the command lacks the field (its move or
// shot record, or that many parameters).
bool GetArrangeParam(int type, int n, const cEdCommand& command, int32_t& out);
// Writes it, narrowed to the field's width; false when there is nothing to write.
bool SetArrangeParam(int type, int n, cEdCommand& command, int32_t value);

// Applies one operation to a command about to run: when the operation names
// the command's action type, the parameter becomes (parameter operator
// operand), computed in 64 bits and clamped to the row's range (for formation
// and trajectory parameters, the range of the shot's formation or trajectory).
// An operand variable out of range, an unknown operand kind, a parameter
// outside the row, a field the command lacks, or a formation or trajectory
// outside its table leaves the command unchanged. Division and remainder by
// 0 compute nothing (the value is only clamped).
void ApplyArrange(cEdCommand& command, const ARRANGEOP& op, const ARRANGEVARS& vars);

// The pending operations of the flow instance running the command (none when
// the command runs outside a flow), first to last. The list is not changed.
void ApplyFlowArranges(cEdCommand& command, const ARRANGEVARS& vars, const cVector<ARRANGEOP>* pPending);
// The hero's pending operations of item commands, first to last.
void ApplyCharaArranges(cEdCommand& command, const ARRANGEVARS& vars, const cVector<ARRANGEOP>& pending);
