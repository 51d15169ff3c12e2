#include "records/new_run.h"

#include <cstring>
#include <string>

#include "base/path_util.h"
#include "base/report_log.h"
#include "records/stage.h"
#include "records/stage_load.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/world_map.h"

namespace {

// Lives at the start of a run of play kind `kind`; `infinite` forces them.
void StartLives(int kind, bool infinite) {
  const cVector<int32_t>& infiniteFlags = SystemData.m_vInfiniteLives;
  const cVector<int32_t>& startLives = SystemData.m_vStartLives;
  if (infinite || (kind < infiniteFlags.Size() && infiniteFlags[kind])) {
    PlayData.m_nStartLives = PlayData.m_nLives = LIVES_INFINITE;
    return;
  }
  PlayData.m_nStartLives = kind < startLives.Size() ? startLives[kind] : 0;
  PlayData.m_nLives = PlayData.m_nStartLives - 1;
}

}  // namespace

void NewStory() {
  PlayData.Reset();
  PlayData.m_nMapX = WorldMap.m_nStartX;
  PlayData.m_nMapY = WorldMap.m_nStartY;
  PlayData.m_nRound = 0;
  StartLives(PLAYKIND_STORY, false);
}

bool StartFromStageFile(const char* path, int numbered) {
  if (!path) return false;
  // A longer path would name another file once cut; refuse it whole.
  if (std::strlen(path) > STAGE_PATH_MAX) {
    ReportPrintf("StartFromStageFile : a stage path of more than %d bytes : %.64s...", STAGE_PATH_MAX, path);
    return false;
  }
  const std::string name = path;
  if (LoadStage(name.c_str(), numbered, &StageCopy) != 1) return false;
  PlayData.Reset();
  PlayData.m_nStageNo = 1;
  PlayData.m_nAreaNo = 1;
  StartLives(PLAYKIND_FREE, bTestPlay.load() != 0);
  std::string relative = name;
  MakeRelativePath(relative);
  PlayData.SetStagePath(relative);
  return true;
}
