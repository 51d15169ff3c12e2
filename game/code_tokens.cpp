// The token layer of the code language: the flat text as tokens, then the
// operators applied pass by pass, assignments stored with their after-effects.
#include <cstring>
#include <string>
#include <vector>

#include "base/checked_convert.h"
#include "base/string_util.h"
#include "game/calc_ops.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/code_error.h"
#include "game/code_eval.h"
#include "game/stage_data.h"
#include "game/status_fields.h"
#include "game/status_values.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

int FindKeyword(const char* const* table, const std::string& word) {
  for (int i = 0; table[i][0]; ++i)
    if (word == table[i]) return i;
  return -1;
}

// The number at the front of `text` as atoi reads it (leading white space,
// a sign, the digits; 0 without digits), saturated to int32.
int32_t ReadNumber(const char* text) {
  while (*text && std::strchr(" \t\n\v\f\r", *text)) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT64_C(0x80000000)) value = INT64_C(0x80000000);
  }
  return SaturateToInt(negative ? -value : value);
}

// --- the system values -----------------------------------------------------

struct CODESYSTEMDEF {
  int32_t* (*lpField)();
  int32_t nMin;
  int32_t nMax;
  void (*lpAfterStore)();  // or null
};

// clang-format off
const CODESYSTEMDEF SystemDefs[CODESYSTEM_COUNT] = {
  {[] { return &StageData().m_nTimeLeft; }, 0, 999, nullptr},
  {[] { return &Stage.m_nAutoScrollSpeedX; }, -480, 480, ResetAutoScrollX},
  {[] { return &Stage.m_nAutoScrollSpeedY; }, -480, 480, ResetAutoScrollY},
  {[] { return &PlayData.m_nStageScore; }, 0, 999999, nullptr},
  {[] { return &PlayData.m_nLives; }, 0, 99, nullptr},
};
// clang-format on

// --- after a status is stored ----------------------------------------------

// HP gone on another character: the stage defeats it in this step.
void AfterHp(cCharaBase& owner, cCharaBase& running) {
  if (&owner != &running && owner.m_nHp < 1) StageData().m_bDefeatCheck = 1;
}
void AfterMaxHp(cCharaBase& owner, cCharaBase&) { ClampInt(owner.m_nHp, 1, owner.m_Def.m_nMaxHp); }
void AfterMaxSp(cCharaBase& owner, cCharaBase&) { ClampInt(owner.m_nSp, 1, owner.m_Def.m_nMaxSp); }
// Only a player's view narrows to its sight.
void AfterSight(cCharaBase& owner, cCharaBase&) {
  if (owner.m_nController != 0) return;
  owner.m_nSightDots = cCharaBase::HblToDots(owner.m_Def.m_nSight);
  StageData().CreateWorkSurfaces();
}

struct STATUSAFTER {
  int nStatus;
  void (*lpAfter)(cCharaBase& owner, cCharaBase& running);
};
const STATUSAFTER StatusAfter[] = {
    {STATUSFIELD_HP, AfterHp},
    {STATUSFIELD_MHP, AfterMaxHp},
    {STATUSFIELD_MSP, AfterMaxSp},
    {STATUSFIELD_SIGHT, AfterSight},
};

// --- tokens ----------------------------------------------------------------

int WidthOf(int bytes) { return bytes == 1 ? CODEWIDTH_BYTE : bytes == 2 ? CODEWIDTH_WORD : CODEWIDTH_DWORD; }

void Store(void* data, int width, int32_t value) {
  if (width == CODEWIDTH_BYTE)
    *static_cast<int8_t*>(data) = static_cast<int8_t>(value);
  else if (width == CODEWIDTH_WORD)
    *static_cast<int16_t*>(data) = static_cast<int16_t>(value);
  else
    *static_cast<int32_t*>(data) = value;
}

int VariableToken(const std::string& word, CODETOKEN& token) {
  cVector<int32_t>& vars = word[0] == 'C' ? PlayData.m_vCommonVar : StageData().m_vStageVars;
  const int32_t index = ReadNumber(word.c_str() + 1);
  if (index < 0 || index >= vars.Size()) return CodeFailBox("%s", kCodeVariableError);
  token.nKind = CODETOKEN_VARIABLE;
  token.lpData = &vars[static_cast<size_t>(index)];
  token.nValue = vars[static_cast<size_t>(index)];
  return 1;
}

int StatusToken(int status, cCharaBase* owner, CODETOKEN& token) {
  // sys. names no character.
  if (!owner) return CodeFailBox("%s", kCodeObjectError);
  const STATUSFIELD& def = StatusFieldTable[status];
  token.nKind = CODETOKEN_STATUS;
  token.nStatus = status;
  token.lpOwner = owner;
  token.lpData = def.lpField(*owner);
  token.nWidth = WidthOf(def.nBytes);
  token.nValue = GetStatusField(*owner, status);
  StatusFieldRange(*owner, status, token.nMin, token.nMax);
  return 1;
}

void SystemToken(int system, CODETOKEN& token) {
  const CODESYSTEMDEF& def = SystemDefs[system];
  token.nKind = CODETOKEN_SYSTEM;
  token.nSystem = system;
  token.lpData = def.lpField();
  token.nValue = *def.lpField();
  token.nMin = def.nMin;
  token.nMax = def.nMax;
  // Infinite lives read as 0 and stay infinite.
  if (system == CODESYSTEM_LIFE && token.nValue == LIVES_INFINITE) {
    token.nValue = 0;
    token.nMin = token.nMax = LIVES_INFINITE;
  }
}

// The character an object prefix names; null for sys. 0 when the prefix
// names someone who is not there.
int ResolveObject(int object, cCharaBase& chara, cCharaBase*& owner) {
  owner = nullptr;
  if (object == CODEOBJECT_MY) owner = &chara;
  if (object == CODEOBJECT_TG) owner = chara.Target();
  if (object == CODEOBJECT_PL) owner = Hero();
  return object == CODEOBJECT_SYS || owner ? 1 : 0;
}

// One word as a token; 0 after an error.
int ClassifyWord(const std::string& word, int object, cCharaBase& chara, CODETOKEN& token) {
  const int op = FindKeyword(CodeOperators, word);
  if (op >= 0) {
    token.nKind = CODETOKEN_OPERATOR;
    token.nOp = op;
    return 1;
  }
  cCharaBase* owner;
  if (!ResolveObject(object, chara, owner)) return CodeFail();
  if (word[0] == 'C' || word[0] == 'S') return VariableToken(word, token);
  const int status = FindStatusField(word.c_str());
  if (status >= 0) return StatusToken(status, owner, token);
  const int system = FindKeyword(CodeSystemValues, word);
  if (system >= 0) {
    SystemToken(system, token);
    return 1;
  }
  token.nValue = ReadNumber(word.c_str());
  return 1;
}

// --- operators -------------------------------------------------------------

int Assign(const CODETOKEN& left, const CODETOKEN& right, cCharaBase& chara, CODETOKEN& out) {
  // Only a variable, a status or a system value has a place to store to.
  if (left.nKind != CODETOKEN_VARIABLE && left.nKind != CODETOKEN_STATUS && left.nKind != CODETOKEN_SYSTEM)
    return CodeFailBox("%s", kCodeVariableError);
  int32_t lo = left.nMin, hi = left.nMax;
  // HP and SP are kept within the maximum as it is now (an earlier
  // assignment may have changed it).
  if (left.nKind == CODETOKEN_STATUS) StatusFieldRange(*left.lpOwner, left.nStatus, lo, hi);
  int value = right.nValue;
  ClampInt(value, lo, hi);
  Store(left.lpData, left.nWidth, value);
  if (left.nKind == CODETOKEN_STATUS) {
    for (const STATUSAFTER& after : StatusAfter)
      if (after.nStatus == left.nStatus) after.lpAfter(*left.lpOwner, chara);
  }
  if (left.nKind == CODETOKEN_SYSTEM && SystemDefs[left.nSystem].lpAfterStore) SystemDefs[left.nSystem].lpAfterStore();
  out.nValue = value;
  return 1;
}

using ARITHFN = int64_t (*)(int64_t a, int64_t b);

// clang-format off
const ARITHFN Arithmetic[CODEOP_COUNT] = {
  nullptr,
  [](int64_t a, int64_t b) { return a + b; },
  [](int64_t a, int64_t b) { return a - b; },
  [](int64_t a, int64_t b) { return a * b; },
  [](int64_t a, int64_t b) { return a / b; },
  [](int64_t a, int64_t b) { return a % b; },
};
// clang-format on

// left op right as one literal; 0 after an error.
int Apply(const CODETOKEN& left, int op, const CODETOKEN& right, cCharaBase& chara, const std::string& text,
          CODETOKEN& out) {
  if (op == CODEOP_ASSIGN) return Assign(left, right, chara, out);
  if ((op == CODEOP_DIV || op == CODEOP_MOD) && right.nValue == 0)
    return CodeFailBox(kCodeDivideByZero, text.c_str());
  out.nValue = SaturateToInt(Arithmetic[op](left.nValue, right.nValue));
  return 1;
}

}  // namespace

int EvalCodeTokens(const std::string& source, cCharaBase& chara) {
  std::string text = source;
  const int length = StrSyncLength(text);
  std::vector<CODETOKEN> tokens;
  std::string word;
  int object = CODEOBJECT_MY;
  bool tokenSincePrefix = false;
  int32_t result = 0;
  for (int i = 0; i <= length; ++i) {
    const char c = text.c_str()[i];
    if (c != ' ' && c != '\0' && c != '.') {
      word += c;
      continue;
    }
    if (c == '.') {
      const int prefix = FindKeyword(CodeObjects, word);
      if (prefix >= 0) {
        object = prefix;
        tokenSincePrefix = false;
      } else if (!tokenSincePrefix) {
        return CodeFailBox(kCodeUnknownObject, word.c_str());
      }
      word.clear();
      continue;
    }
    if (word.empty()) continue;
    CODETOKEN token;
    if (!ClassifyWord(word, object, chara, token)) return 0;
    if (token.nKind != CODETOKEN_OPERATOR) result = token.nValue;
    tokens.push_back(token);
    word.clear();
    object = CODEOBJECT_MY;
    tokenSincePrefix = true;
  }
  // Each pass applies its operators from the left in one walk, writing the
  // reduced tokens into a fresh list.
  std::vector<CODETOKEN> reduced;
  reduced.reserve(tokens.size());
  for (int pass = 0; pass <= 2; ++pass) {
    reduced.clear();
    for (size_t k = 0; k < tokens.size(); ++k) {
      const CODETOKEN& token = tokens[k];
      if (token.nKind != CODETOKEN_OPERATOR || CodeOperatorPrecedence[token.nOp] != pass) {
        reduced.push_back(token);
        continue;
      }
      const bool operands = !reduced.empty() && k + 1 < tokens.size() &&
                            reduced.back().nKind != CODETOKEN_OPERATOR && tokens[k + 1].nKind != CODETOKEN_OPERATOR;
      if (!operands) return CodeFailBox("%s", kCodeOperatorError);
      CODETOKEN out;
      if (!Apply(reduced.back(), token.nOp, tokens[k + 1], chara, text, out)) return 0;
      result = out.nValue;
      reduced.back() = out;
      ++k;
    }
    tokens.swap(reduced);
  }
  return result;
}
