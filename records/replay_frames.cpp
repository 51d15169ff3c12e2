// Recording and playback of the replay's input streams. Until they are
// built, each call is noted in the debug log; playback reports the end of
// its streams at once.
#include "base/report_log.h"
#include "records/replay_input.h"

void cReplayInput::RecordFrame(uint16_t dir, uint16_t buttons) { DebugLogPrintf("RecordFrame %u %u", dir, buttons); }

int cReplayInput::PlayFrame(uint16_t&, uint16_t&) {
  DebugLogPuts("PlayFrame");
  return 1;
}
