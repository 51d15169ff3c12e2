#pragma once
// The code language of the run-code command: one line of text, words
// separated by blanks, that reads and writes common variables (C n), stage
// variables (S n), the 22 statuses of a character (with the prefixes my.,
// tg. and pl.), five values of the stage and the run (time, scrlx, scrly,
// score, life) and integer literals, with = + - * / %, parentheses and the
// function rand(a,b). Every value is an int32; + - * saturate.
//
// Evaluation has two layers: EvalCodeText replaces every parenthesised part
// and every function call by its value, then EvalCodeTokens evaluates the
// flat text: * / % first, then + -, then =, each from the left. An error
// shows its box, sets the error flag, and its level gives 0; the level that
// contains it goes on with that 0. Nothing in a text can close the program.
//
// All of it runs on the game thread inside a stage (CurStage).
#include <cstdint>
#include <string>

class cCharaBase;

// The keyword tables, each ending with an empty string.
extern const char* const CodeFunctions[];      // rand
extern const char* const CodeOperators[];      // = + - * / %  (CODEOP)
extern const char* const CodeObjects[];        // my tg pl sys (CODEOBJECT)
extern const char* const CodeVariables[];      // C S
extern const char* const CodeSystemValues[];   // time scrlx scrly score life (CODESYSTEM)
// Precedence of each operator; the pass that applies it.
extern const int32_t CodeOperatorPrecedence[];

enum CODEOP { CODEOP_ASSIGN, CODEOP_ADD, CODEOP_SUB, CODEOP_MUL, CODEOP_DIV, CODEOP_MOD, CODEOP_COUNT };
enum CODEOBJECT { CODEOBJECT_MY, CODEOBJECT_TG, CODEOBJECT_PL, CODEOBJECT_SYS, CODEOBJECT_COUNT };
enum CODESYSTEM {
  CODESYSTEM_TIME,
  CODESYSTEM_SCRLX,
  CODESYSTEM_SCRLY,
  CODESYSTEM_SCORE,
  CODESYSTEM_LIFE,
  CODESYSTEM_COUNT
};

enum CODETOKENKIND { CODETOKEN_LITERAL, CODETOKEN_VARIABLE, CODETOKEN_STATUS, CODETOKEN_SYSTEM, CODETOKEN_OPERATOR };
// Storage widths of an assignment.
enum CODEWIDTH { CODEWIDTH_BYTE = 0, CODEWIDTH_WORD = 2, CODEWIDTH_DWORD = 4 };

// One token of the flat text.
struct CODETOKEN {
  int32_t nKind = CODETOKEN_LITERAL;
  int32_t nValue = 0;              // read when the token was made
  void* lpData = nullptr;          // the stored value; none for literals and operators
  int32_t nWidth = CODEWIDTH_DWORD;
  int32_t nOp = 0;                 // CODEOP
  int32_t nMin = -999999;          // what an assignment clamps to
  int32_t nMax = 999999;
  int32_t nStatus = 0;             // STATUSFIELDINDEX
  int32_t nSystem = 0;             // CODESYSTEM
  cCharaBase* lpOwner = nullptr;   // whose status
};

// How deep parentheses and function arguments may nest.
constexpr int CODE_MAX_NESTING = 256;

// Runs `text` for `chara` (the running character), called by the run-code
// commands. 1 on success, 0 when an error occurred; a change of the
// character's HP or SP starts its gauge, unless there was an error.
int RunCode(const std::string& text, cCharaBase& chara);

// The two layers; both set the error flag on an error. RunCode clears it.
int EvalCodeText(const std::string& text, cCharaBase& chara);
int EvalCodeTokens(const std::string& text, cCharaBase& chara);
// The evaluator's error flag.
int CodeErrorFlag();
