#include "stage/rule_stand_ins.h"

#include "base/report_log.h"

std::function<int(cCharaBase* chara)> StandInAnswer[STANDIN_COUNT];

int StandInResult(int rule, const char* name, cCharaBase* chara) {
  DebugLogPuts(name);
  return StandInAnswer[rule] ? StandInAnswer[rule](chara) : 0;
}
