#pragma once
// Constant descriptors of effect parameters: the label the editor shows, the
// range it accepts and the value it proposes. The runtime reads only a few of
// the defaults (to bring old effect files up to date); runs never clamp to the
// ranges, so a value outside them reaches the effect code as stored.
#include <cstdint>
#include <string>

struct PARAMDESC {
  std::string strName;  // Shift-JIS; "" for an unused parameter
  int16_t nMin = 0;
  int16_t nMax = 0;
  int16_t nDefault = 0;

  PARAMDESC() = default;
  // A null name gives "".
  PARAMDESC(const char* name, int min, int max, int def);
};

constexpr int CHARAEFFECT_KINDS = 17;  // 0 none, 1..16
constexpr int SCREFFECT_KINDS = 14;    // 0 none, 1..13
constexpr int EFFECT_PARAMS = 5;       // parameter 0 is the run time in tenths of a second

// [kind][parameter]; kind 0 and unused slots are empty descriptors. Built
// before the program starts (and again by the Init functions, which tests
// may call; building is idempotent).
extern PARAMDESC CharaEffectParams[CHARAEFFECT_KINDS][EFFECT_PARAMS];
extern PARAMDESC ScrEffectParams[SCREFFECT_KINDS][EFFECT_PARAMS];
void InitCharaEffectParams();
void InitScrEffectParams();
