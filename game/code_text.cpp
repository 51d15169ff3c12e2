// The text layer of the code language: parentheses and function calls are
// replaced by their values, then the token layer evaluates what is left.
#include <cstdarg>
#include <string>
#include <vector>

#include "base/boxes.h"
#include "base/number_text.h"
#include "base/string_util.h"
#include "game/chara_base.h"
#include "game/code_error.h"
#include "game/code_eval.h"

const char* const CodeFunctions[] = {"rand", ""};
const char* const CodeOperators[] = {"=", "+", "-", "*", "/", "%", ""};
const char* const CodeObjects[] = {"my", "tg", "pl", "sys", ""};
const char* const CodeVariables[] = {"C", "S", ""};
const char* const CodeSystemValues[] = {"time", "scrlx", "scrly", "score", "life", ""};
const int32_t CodeOperatorPrecedence[CODEOP_COUNT] = {2, 1, 1, 0, 0, 0};

namespace {

int bCodeError = 0;
int nCodeDepth = 0;  // levels of EvalCodeText running

// Counts a level for as long as it runs.
class cCodeLevel {
 public:
  cCodeLevel() { ++nCodeDepth; }
  ~cCodeLevel() { --nCodeDepth; }
  cCodeLevel(const cCodeLevel&) = delete;
  cCodeLevel& operator=(const cCodeLevel&) = delete;
};

int IsFunction(const std::string& name) {
  for (int i = 0; CodeFunctions[i][0]; ++i)
    if (name == CodeFunctions[i]) return 1;
  return 0;
}

// The ")" that closes the "(" at `open`; npos when there is none.
size_t MatchingParen(const std::string& text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i;
  }
  return std::string::npos;
}

// The name of the word at `start`: its text up to its first "("; empty when
// a ")" comes before it.
std::string WordName(const std::string& text, size_t start) {
  for (size_t i = start; i < text.size() && text[i] != ' '; ++i) {
    if (text[i] == ')') return std::string();
    if (text[i] == '(') return text.substr(start, i - start);
  }
  return std::string();
}

// The arguments between `open` and `close`, split at the commas of that level.
std::vector<std::string> SplitArguments(const std::string& text, size_t open, size_t close) {
  std::vector<std::string> args;
  int depth = 0;
  size_t from = open + 1;
  for (size_t i = open + 1; i < close; ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')') --depth;
    if (text[i] == ',' && depth == 0) {
      args.push_back(text.substr(from, i - from));
      from = i + 1;
    }
  }
  args.push_back(text.substr(from, close - from));
  return args;
}

// The text with [from, to] replaced by the value.
std::string Replaced(const std::string& text, size_t from, size_t to, int value) {
  return text.substr(0, from) + std::to_string(value) + text.substr(to + 1);
}

}  // namespace

int CodeFail() {
  bCodeError = 1;
  return 0;
}

int CodeFailBox(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  ErrorBox(text.c_str());
  return CodeFail();
}

int CodeErrorFlag() { return bCodeError; }

int RunCode(const std::string& code, cCharaBase& chara) {
  bCodeError = 0;
  const int32_t hp = chara.m_nHp;
  const int32_t sp = chara.m_nSp;
  std::string text = code;
  StrSyncLength(text);
  EvalCodeText(text, chara);
  if (bCodeError) return 0;
  if (chara.m_nHp != hp) chara.StartHpGauge(chara.m_nHp - hp);
  if (chara.m_nSp != sp) chara.StartSpGauge(chara.m_nSp - sp);
  return 1;
}

int EvalCodeText(const std::string& source, cCharaBase& chara) {
  cCodeLevel level;
  // The outermost level is the text itself; deeper parentheses would only
  // use up the stack.
  if (nCodeDepth - 1 > CODE_MAX_NESTING) return CodeFailBox("%s", kCodeOperatorError);
  std::string text = source;
  size_t wordStart = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      wordStart = ++i;
      continue;
    }
    if (text[i] != '(') {
      ++i;
      continue;
    }
    const size_t close = MatchingParen(text, i);
    if (close == std::string::npos) return CodeFailBox("%s", kCodeNoCloseParen);
    if (i == wordStart) {
      const int value = EvalCodeText(text.substr(i + 1, close - i - 1), chara);
      text = Replaced(text, i, close, value);
      i = wordStart;
      continue;
    }
    const std::string name = WordName(text, wordStart);
    if (!IsFunction(name)) {
      ++i;  // not a call: the word keeps its parentheses
      continue;
    }
    std::vector<int> values;
    for (const std::string& arg : SplitArguments(text, i, close))
      if (!arg.empty()) values.push_back(EvalCodeText(arg, chara));
    if (values.size() != 2) return CodeFailBox(kCodeBadArguments, name.c_str());
    text = Replaced(text, wordStart, close, RandomRange(values[0], values[1]));
    i = wordStart;
  }
  return EvalCodeTokens(text, chara);
}
