// The text layer of the code language: parentheses and function calls are
// replaced by their values, then the token layer evaluates what is left.
#include <cstdarg>
#include <string>
#include <utility>
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

// The position of the ")" closing each "(" of the text, npos for one left
// open; found once for the whole text, so that every level reads it.
std::vector<size_t> MatchParens(const std::string& text) {
  std::vector<size_t> match(text.size(), std::string::npos);
  std::vector<size_t> open;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') open.push_back(i);
    if (text[i] == ')' && !open.empty()) {
      match[open.back()] = i;
      open.pop_back();
    }
  }
  return match;
}

// The arguments between `open` and `close` as ranges, split at the commas
// of that level.
std::vector<std::pair<size_t, size_t>> SplitArguments(const std::string& text, size_t open, size_t close) {
  std::vector<std::pair<size_t, size_t>> args;
  int depth = 0;
  size_t from = open + 1;
  for (size_t i = open + 1; i < close; ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')') --depth;
    if (text[i] == ',' && depth == 0) {
      args.emplace_back(from, i);
      from = i + 1;
    }
  }
  args.emplace_back(from, close);
  return args;
}

// One level: text[begin, end) with its parenthesised parts and calls
// replaced by their values, then evaluated. The replacements are written
// into a fresh text as the scan goes, so each dot of the text is read once
// by its level.
int EvalRange(const std::string& text, const std::vector<size_t>& match, size_t begin, size_t end,
              cCharaBase& chara) {
  cCodeLevel level;
  // The outermost level is the text itself; deeper parentheses would only
  // use up the stack.
  if (nCodeDepth - 1 > CODE_MAX_NESTING) return CodeFailBox("%s", kCodeOperatorError);
  std::string out;
  out.reserve(end - begin);
  size_t wordStart = 0;  // in `out`
  // The name of the word being written: its text up to its first "(";
  // empty once a ")" came first.
  std::string name;
  bool nameDone = false;
  size_t i = begin;
  while (i < end) {
    const char c = text[i];
    if (c == ' ') {
      out += c;
      wordStart = out.size();
      name.clear();
      nameDone = false;
      ++i;
      continue;
    }
    if (c != '(') {
      out += c;
      if (!nameDone) {
        if (c == ')') {
          name.clear();
          nameDone = true;
        } else {
          name += c;
        }
      }
      ++i;
      continue;
    }
    const size_t close = match[i];
    if (close == std::string::npos || close >= end) return CodeFailBox("%s", kCodeNoCloseParen);
    if (out.size() == wordStart) {
      out += std::to_string(EvalRange(text, match, i + 1, close, chara));
      name = out.substr(wordStart);
      i = close + 1;
      continue;
    }
    if (nameDone || !IsFunction(name)) {
      // Not a call: the word keeps its parentheses.
      out += c;
      nameDone = true;
      ++i;
      continue;
    }
    std::vector<int> values;
    for (const auto& [from, to] : SplitArguments(text, i, close))
      if (from < to) values.push_back(EvalRange(text, match, from, to, chara));
    if (values.size() != 2) return CodeFailBox(kCodeBadArguments, name.c_str());
    out.resize(wordStart);
    out += std::to_string(RandomRange(values[0], values[1]));
    name = out.substr(wordStart);
    i = close + 1;
  }
  return EvalCodeTokens(out, chara);
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

int EvalCodeText(const std::string& text, cCharaBase& chara) {
  return EvalRange(text, MatchParens(text), 0, text.size(), chara);
}
