// The game wait: play freezes for a time on the pause thread.
#include <algorithm>

#include "game/action_commands.h"
#include "game/display_commands.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/anime_step.h"

void CmdGameWait(cCharaBase&, cEdCommand& command) {
  cSceneStageData& stage = StageData();
  // A negative time waits no frame, as 0 does.
  const int frames = std::max(0, SaturatedTicks(CmdParam(command, 0), TICKS_PER_TENTH));
  stage.m_Messages.emplace_back(MESSAGEMODE_WAIT, nullptr, 0, 0, 0, MESSAGEPLACE_CENTRE, 0, 0, 0, 0, 0, 1,
                                MESSAGEDISPLAY_TIME, frames, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  const cMessageWindow* entry = &stage.m_Messages.back();
  stage.m_Wait.Set(0, 0, frames, 0);
  stage.RunPauseLoop(0);
  stage.RemoveMessage(entry);
}

int ActGameWait(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdGameWait(chara, *instance.m_pCommand);
  return 0;
}
