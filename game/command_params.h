#pragma once
// The command bodies read their parameters through this: a record whose
// vector is shorter than its type's count (an old or damaged file) reads 0.
#include <cstdint>

#include "records/command.h"

// Parameter i of the command; 0 when the vector is shorter.
inline int32_t CmdParam(const cEdCommand& command, int i) {
  return i >= 0 && i < command.m_vParams.Size() ? command.m_vParams[i] : 0;
}
