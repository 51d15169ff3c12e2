#pragma once
// The 22 statuses of a character as the code language names them (index
// 0..21, or the name): where each is stored, its storage width, and the
// range every write of it is clamped to. All are signed. (The status
// operations number the same fields their own way: CHARASTATUS,
// records/command_vocab.h.)
#include <cstdint>

class cCharaBase;

constexpr int STATUS_FIELD_COUNT = 22;

// Indexes of the table.
enum STATUSFIELDINDEX {
  STATUSFIELD_V1,  // v1..v8: character variables 1..8
  STATUSFIELD_V8 = STATUSFIELD_V1 + 7,
  STATUSFIELD_HP,
  STATUSFIELD_SP,
  STATUSFIELD_MHP,
  STATUSFIELD_MSP,
  STATUSFIELD_CID,
  STATUSFIELD_Z,
  STATUSFIELD_MARK,
  STATUSFIELD_SIGHT,
  STATUSFIELD_POWER,
  STATUSFIELD_IMP,
  STATUSFIELD_DEF,
  STATUSFIELD_IMPD,
  STATUSFIELD_STOP,
  STATUSFIELD_GETSC,
};

struct STATUSFIELD {
  const char* szName;  // as the code language writes it
  int32_t nBytes;      // storage width: 1, 2 or 4
  int32_t nMin;
  int32_t nMax;        // hp and sp: the owner's max HP / max SP instead
  // The stored value of a character (nBytes wide).
  void* (*lpField)(cCharaBase& chara);
};

extern const STATUSFIELD StatusFieldTable[STATUS_FIELD_COUNT];

// The index of a status name; −1 for a name that is none.
int FindStatusField(const char* name);
// The range of status `index` for this character (hp 0..max HP, sp 0..max SP).
void StatusFieldRange(const cCharaBase& chara, int index, int32_t& min, int32_t& max);
// The value, sign-extended from its width; 0 for an index outside 0..21.
int32_t GetStatusField(const cCharaBase& chara, int index);
// Clamps `value` into the range and stores it at its width; nothing for an
// index outside 0..21. Nothing else follows (no defeat check, no derived
// value): the callers do what a change of that status implies.
void SetStatusField(cCharaBase& chara, int index, int32_t value);
