#include "game/status_fields.h"

#include <cstring>

#include "game/chara_base.h"

namespace {

template <int N>
void* Var(cCharaBase& c) {
  return &c.m_vVars.At(N);
}

}  // namespace

// clang-format off
const STATUSFIELD StatusFieldTable[STATUS_FIELD_COUNT] = {
  {"v1", 4, -999999, 999999, Var<1>},
  {"v2", 4, -999999, 999999, Var<2>},
  {"v3", 4, -999999, 999999, Var<3>},
  {"v4", 4, -999999, 999999, Var<4>},
  {"v5", 4, -999999, 999999, Var<5>},
  {"v6", 4, -999999, 999999, Var<6>},
  {"v7", 4, -999999, 999999, Var<7>},
  {"v8", 4, -999999, 999999, Var<8>},
  {"hp", 4, 0, 0, [](cCharaBase& c) -> void* { return &c.m_nHp; }},
  {"sp", 4, 0, 0, [](cCharaBase& c) -> void* { return &c.m_nSp; }},
  {"mhp", 4, 1, 999999, [](cCharaBase& c) -> void* { return &c.m_Def.m_nMaxHp; }},
  {"msp", 4, 1, 999999, [](cCharaBase& c) -> void* { return &c.m_Def.m_nMaxSp; }},
  {"cid", 1, 0, 99, [](cCharaBase& c) -> void* { return &c.m_Def.m_nCharaId; }},
  {"z", 1, 0, 7, [](cCharaBase& c) -> void* { return &c.m_Def.m_nZ; }},
  {"mark", 2, 0, 119, [](cCharaBase& c) -> void* { return &c.m_Def.m_nIcon; }},
  {"sight", 1, 0, 40, [](cCharaBase& c) -> void* { return &c.m_Def.m_nSight; }},
  {"power", 4, -999999, 999999, [](cCharaBase& c) -> void* { return &c.m_Def.m_nPower; }},
  {"imp", 1, -20, 20, [](cCharaBase& c) -> void* { return &c.m_Def.m_nImpact; }},
  {"def", 4, 0, 999999, [](cCharaBase& c) -> void* { return &c.m_Def.m_nDefence; }},
  {"impd", 1, 0, 20, [](cCharaBase& c) -> void* { return &c.m_Def.m_nImpactResist; }},
  {"stop", 2, 0, 200, [](cCharaBase& c) -> void* { return &c.m_Def.m_nStop; }},
  {"getsc", 4, -999999, 999999, [](cCharaBase& c) -> void* { return &c.m_Def.m_nScore; }},
};
// clang-format on

int FindStatusField(const char* name) {
  if (!name) return -1;
  for (int i = 0; i < STATUS_FIELD_COUNT; ++i)
    if (std::strcmp(StatusFieldTable[i].szName, name) == 0) return i;
  return -1;
}

void StatusFieldRange(const cCharaBase& chara, int index, int32_t& min, int32_t& max) {
  min = max = 0;
  if (index < 0 || index >= STATUS_FIELD_COUNT) return;
  min = StatusFieldTable[index].nMin;
  max = StatusFieldTable[index].nMax;
  if (index == STATUSFIELD_HP) max = chara.m_Def.m_nMaxHp;
  if (index == STATUSFIELD_SP) max = chara.m_Def.m_nMaxSp;
  if (max < min) max = min;
}

int32_t GetStatusField(const cCharaBase& chara, int index) {
  if (index < 0 || index >= STATUS_FIELD_COUNT) return 0;
  const STATUSFIELD& def = StatusFieldTable[index];
  // The accessors only take an address.
  void* field = def.lpField(const_cast<cCharaBase&>(chara));
  switch (def.nBytes) {
    case 1:
      return *static_cast<int8_t*>(field);
    case 2:
      return *static_cast<int16_t*>(field);
    default:
      return *static_cast<int32_t*>(field);
  }
}

void SetStatusField(cCharaBase& chara, int index, int32_t value) {
  if (index < 0 || index >= STATUS_FIELD_COUNT) return;
  int32_t min, max;
  StatusFieldRange(chara, index, min, max);
  if (value < min) value = min;
  if (value > max) value = max;
  const STATUSFIELD& def = StatusFieldTable[index];
  void* field = def.lpField(chara);
  switch (def.nBytes) {
    case 1:
      *static_cast<int8_t*>(field) = static_cast<int8_t>(value);
      break;
    case 2:
      *static_cast<int16_t*>(field) = static_cast<int16_t>(value);
      break;
    default:
      *static_cast<int32_t*>(field) = value;
      break;
  }
}
