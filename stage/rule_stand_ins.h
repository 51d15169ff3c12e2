#pragma once
// The stage rules the play step calls that are not built yet (solid
// contacts, carriers, defeats, attacks, pick-ups): each notes its call in
// the debug log by its name and gives what its answer (given the
// character, or null) gives, 0 when there is none. Tests set the answers
// to play the rules' results.
#include <functional>

class cCharaBase;

enum STANDINRULE {
  STANDIN_RESOLVE_SOLID_CONTACTS,
  STANDIN_RIDE_CARRIER,
  STANDIN_CHECK_DEFEATS,
  STANDIN_DEFEAT_AND_CHECK_CLEAR,
  STANDIN_RESOLVE_ATTACKS,
  STANDIN_CHECK_ITEM_PICKUP,
  STANDIN_COUNT
};

extern std::function<int(cCharaBase* chara)> StandInAnswer[STANDIN_COUNT];

// The call noted, then the answer.
int StandInResult(int rule, const char* name, cCharaBase* chara);
