// Commands of older files brought to the current types and parameters. Each
// row applies to files below its version and to the type that the file
// stores; rows run in table order. Until the last row renumbers them, action
// types 24..38 and item types 9..23 are today's 25..39 and 10..24.
//
// A rule that reads or writes a parameter the command does not have skips
// that read or write, and a rule on a move or shot record the command does
// not hold is skipped.
#include <climits>
#include <cstdint>

#include "records/command.h"
#include "records/command_types.h"

namespace {

using PARAMS = cVector<int32_t>;

bool Get(const PARAMS& p, int i, int32_t& out) {
  if (i >= p.Size()) return false;
  out = p[i];
  return true;
}

void Set(PARAMS& p, int i, int32_t value) {
  if (i < p.Size()) p[i] = value;
}

// One more, never past INT32_MAX.
int32_t Inc(int32_t v) { return v == INT32_MAX ? v : v + 1; }

void MakeLong(PARAMS& p, int n) { p.resize(n, 0); }

// Makes the list n long, moves entries k..n-2 up one place (the last is lost)
// and puts v at k.
void Insert(PARAMS& p, int k, int32_t v, int n) {
  MakeLong(p, n);
  for (int j = n - 1; j > k; --j) p[j] = p[j - 1];
  p[k] = v;
}

// Status operations: statuses from `first` on moved up by one for the changed
// value (p0 status, p3 subject, p4 status) and for a status operand (p6
// operand kind, p12 subject, p13 status); system values kept their numbers.
void ShiftStatuses(PARAMS& p, int first) {
  int32_t kind, subject, status;
  if (Get(p, 0, kind) && Get(p, 3, subject) && Get(p, 4, status) && kind == 0 && subject != 2 && status >= first)
    Set(p, 4, Inc(status));
  if (Get(p, 6, kind) && Get(p, 12, subject) && Get(p, 13, status) && kind == 2 && subject != 2 && status >= first)
    Set(p, 13, Inc(status));
}

void Graphic119(PARAMS& p) {
  int32_t kind, graphic;
  if (Get(p, 0, kind) && Get(p, 1, graphic) && kind == 3) {
    graphic = Inc(graphic);
    Set(p, 1, graphic > 119 ? 119 : graphic);
  }
}

constexpr int ANY = -100;   // every type
constexpr int NONE = -101;  // the row has no type of this kind

struct COMMANDUPGRADE {
  int nBelow;
  int nActionType;  // the type in the file
  int nItemType;
  void (*Apply)(cEdCommand& c);
};

const COMMANDUPGRADE kUpgrades[] = {
    {145, 17, 2, [](cEdCommand& c) { MakeLong(c.m_vParams, 9); }},
    {166, 35, 20, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 2);
       c.m_vParams[1] = 1;
     }},
    {168, 22, 7, [](cEdCommand& c) { ShiftStatuses(c.m_vParams, 10); }},
    {189, 21, 6, [](cEdCommand& c) { Insert(c.m_vParams, 2, 0, 10); }},
    {194, 31, 16, [](cEdCommand& c) { Insert(c.m_vParams, 6, 1, 15); }},
    {195, 29, 14, [](cEdCommand& c) { Insert(c.m_vParams, 1, 0, 3); }},
    {195, 30, 15, [](cEdCommand& c) { Insert(c.m_vParams, 1, 0, 3); }},
    {203, 14, NONE, [](cEdCommand& c) { c.m_vParams.clear(); }},
    {203, 15, NONE, [](cEdCommand& c) { c.m_vParams.clear(); }},
    {203, 16, NONE, [](cEdCommand& c) { MakeLong(c.m_vParams, 3); }},
    {203, 22, 7, [](cEdCommand& c) { ShiftStatuses(c.m_vParams, 5); }},
    {210, 23, 8, [](cEdCommand& c) {
       int32_t subject, state;
       if (Get(c.m_vParams, 0, subject) && Get(c.m_vParams, 1, state) && subject != 2 && state >= 6)
         Set(c.m_vParams, 1, Inc(state));
     }},
    {219, 25, 10, [](cEdCommand& c) { Graphic119(c.m_vParams); }},
    {220, 11, NONE, [](cEdCommand& c) {
       if (!c.m_spShot) return;
       int graphic = c.m_spShot->m_nGraphic + 1;
       c.m_spShot->m_nGraphic = static_cast<int16_t>(graphic > 119 ? 119 : graphic);
     }},
    {514, 5, NONE, [](cEdCommand& c) {
       if (!c.m_spMove) return;
       c.m_spMove->m_nAngle = 0;
       c.m_spMove->m_nAngleStep = 0;
       c.m_spMove->m_bAngleMirror = 1;
     }},
    {545, 19, 4, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 18);
       c.m_vParams[10] = 1;
     }},
    {545, 31, 16, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 15);
       c.m_vParams[11] = 0;
     }},
    {546, 19, 4, [](cEdCommand& c) {
       int32_t placement;
       if (Get(c.m_vParams, 0, placement)) Set(c.m_vParams, 10, placement == 0 || placement == 7 ? 1 : 0);
     }},
    {547, 19, 4, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 18);
       const int32_t values[] = {0, 0, 0, 1, 0};
       for (int k = 0; k < 5; ++k) c.m_vParams[11 + k] = values[k];
     }},
    {547, 31, 16, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 15);
       c.m_vParams[12] = 0;
       c.m_vParams[13] = 0;
     }},
    {556, 19, 4, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 18);
       c.m_vParams[16] = 1;
     }},
    {722, 17, 2, [](cEdCommand& c) {
       int32_t destination;
       if (Get(c.m_vParams, 0, destination) && destination >= 2) Set(c.m_vParams, 0, Inc(destination));
     }},
    {723, 19, 4, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 18);
       c.m_vParams[17] = 0;
     }},
    {723, 31, 16, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 15);
       c.m_vParams[14] = 0;
     }},
    {726, 37, 22, [](cEdCommand& c) {
       MakeLong(c.m_vParams, 5);
       c.m_vParams[0] = 11;
     }},
    // Arranges of shots: seven shot parameters were inserted into the row.
    {727, 37, 22, [](cEdCommand& c) {
       int32_t type, param;
       if (!Get(c.m_vParams, 0, type) || type != 11 || !Get(c.m_vParams, 1, param)) return;
       for (int k : {2, 3, 4, 14, 15, 16, 17})
         if (param >= k) param = Inc(param);
       Set(c.m_vParams, 1, param);
     }},
    // "Vanish" became action type 24 (item type 9): the types from there move
    // up, and so does the action type an arrange addresses.
    {734, ANY, ANY, [](cEdCommand& c) {
       const int first = c.m_bItemCommand ? 9 : 24;
       const int arrange = c.m_bItemCommand ? int{ITEMCMDTYPE_ARRANGE} : int{ACTCMDTYPE_ARRANGE};
       if (c.m_nType >= first && c.m_nType < INT8_MAX) c.m_nType = static_cast<int8_t>(c.m_nType + 1);
       int32_t type;
       if (c.m_nType == arrange && Get(c.m_vParams, 0, type) && type >= 24) Set(c.m_vParams, 0, Inc(type));
     }},
};

}  // namespace

void cEdCommand::Upgrade(int fileVersion) {
  for (const COMMANDUPGRADE& row : kUpgrades) {
    if (fileVersion >= row.nBelow) continue;
    const int type = m_bItemCommand ? row.nItemType : row.nActionType;
    if (type == ANY || type == m_nType) row.Apply(*this);
  }
}
