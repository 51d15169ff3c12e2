// LOOP expansion on command indices: the list is kept as positions into the
// original records (a stack whose top is the next command to look at, behind
// the commands already final), so a pass costs what it copies, and each
// record is copied once at the end.
#include "game/flow_loops.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "base/report_log.h"
#include "records/command.h"

namespace {

int IsLoop(const cEdCommand& c) {
  return c.m_bItemCommand ? c.m_nType == ITEMCMDTYPE_LOOP : c.m_nType == ACTCMDTYPE_LOOP;
}

}  // namespace

int64_t ExpandLoops(cVector<cEdCommand>& commands, const char* owner, int64_t limit) {
  bool any = false;
  for (const cEdCommand& c : commands) any = any || IsLoop(c);
  if (!any) return 0;

  std::vector<int32_t> done;  // final, in list order
  std::vector<int32_t> rest;  // still to look at, the next one last
  done.reserve(commands.size());
  rest.reserve(commands.size());
  for (int i = commands.Size() - 1; i >= 0; --i) rest.push_back(i);

  // Commands that are no LOOP are never removed: their count bounds the
  // result from below, so a refusal is known before anything is copied.
  int64_t plain = 0;
  for (const cEdCommand& c : commands) plain += IsLoop(c) ? 0 : 1;
  if (plain > limit) return -1;

  int passes = 0;
  bool capped = false;
  while (!rest.empty()) {
    const int32_t top = rest.back();
    cEdCommand& c = commands[top];
    if (!IsLoop(c)) {
      done.push_back(top);
      rest.pop_back();
      continue;
    }
    // The LOOP at position j: the range is the commands after it, cut at the end.
    const int64_t after = static_cast<int64_t>(rest.size()) - 1;
    const int64_t times = c.m_vParams.At(0);
    int64_t h = c.m_vParams.At(1);
    if (h >= after) h = after;
    const int64_t copies = h > 0 && times > 1 ? times - 1 : 0;
    const int64_t size = static_cast<int64_t>(done.size() + rest.size());
    if (passes >= LOOP_MAX_PASSES || (copies > 0 && size - 1 + copies * h > LOOP_MAX_COMMANDS)) {
      capped = true;
      break;
    }
    ++passes;
    rest.pop_back();
    const size_t from = rest.size() - static_cast<size_t>(copies > 0 ? h : 0);
    const size_t to = rest.size();
    int64_t plainInRange = 0;
    for (size_t i = from; i < to; ++i) plainInRange += IsLoop(commands[rest[i]]) ? 0 : 1;
    plain += copies * plainInRange;
    if (plain > limit) return -1;
    rest.reserve(to + static_cast<size_t>(copies) * (to - from));
    for (int64_t k = 0; k < copies; ++k)
      for (size_t i = from; i < to; ++i) rest.push_back(rest[i]);
  }
  if (capped) {
    int64_t kept = static_cast<int64_t>(done.size());
    for (int32_t i : rest) kept += IsLoop(commands[i]) ? 0 : 1;
    if (kept > limit) return -1;
    ReportPrintf("ExpandLoops: %s: loops cut after %d passes at %d commands", owner ? owner : "",
                 passes, static_cast<int>(done.size() + rest.size()));
    while (!rest.empty()) {
      if (!IsLoop(commands[rest.back()])) done.push_back(rest.back());
      rest.pop_back();
    }
  }

  if (static_cast<int64_t>(done.size()) > limit) return -1;
  cVector<cEdCommand> expanded;
  expanded.reserve(done.size());
  for (int32_t i : done) expanded.push_back(commands[i]);
  static_cast<std::vector<cEdCommand>&>(commands).swap(expanded);
  return static_cast<int64_t>(commands.size());
}
