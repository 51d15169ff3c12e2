#pragma once
// The matching of a flow's key sequence against the recent input: the run
// histories of cInput (media/input.h), 19 of them (the direction histories
// 0..9, then the button histories 0..8 as 10..18), each 32 runs newest
// first, updated once per play frame. Lengths here are frames of input,
// whatever the logic steps per frame. The matching functions are members of
// cCharaBase (game/chara_base.h).
#include <cstdint>

#include "media/input.h"
#include "records/key_condition.h"

constexpr int KEY_HISTORIES = KEYCONDITION_KEYS;
constexpr int KEY_DIR_HISTORIES = INPUT_DIR_HISTORIES;

// A moment in the past, per history: the run it falls in and how many
// frames that run had lasted then. Past the oldest run r goes below 0,
// where no key test passes.
struct KEYCURSOR {
  const cInput* pInput = nullptr;  // whose histories
  int32_t k[KEY_HISTORIES] = {};   // run index 0..31
  int64_t r[KEY_HISTORIES] = {};   // frames

  // The present moment of `input`: the newest run, its whole length.
  static KEYCURSOR Start(const cInput& input);
};

// Run k of history h (0..18) of `input`; an off run of no frames where the
// history holds none.
INPUTRUN KeyRun(const cInput& input, int h, int k);

// The first direction history (0 none, 1 left, 2 right, 3 up, 4 down,
// 5 up-left, 6 down-left, 7 up-right, 8 down-right, 9 any) that is on now;
// 0 when none is. FireTrigger keeps it in the flow it starts.
int GetHeldDirection(const cInput& input);
