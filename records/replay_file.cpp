// The replay file. Until it is built, each call is noted in the debug log
// and fails.
#include "base/report_log.h"
#include "records/replay_input.h"

int cReplayInput::SaveFile(const std::string& path, cEdStage&, cEdStage&, cSaveData&) {
  DebugLogPrintf("cReplayInput::SaveFile %s", path.c_str());
  return 0;
}

int cReplayInput::LoadFile(const std::string& path, cEdStage&, cEdStage&, cSaveData&) {
  DebugLogPrintf("cReplayInput::LoadFile %s", path.c_str());
  return 0;
}
