// The message command: a text window of the stage, found again by its ID,
// that may stop the game until a key or for a time.
#include <string>

#include "base/window_messages.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/display_commands.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/anime_step.h"

namespace {

// The system sound of a key-wait message that opens fresh.
constexpr int kOpeningSound = 11;

// The window the command finds by its ID; end() when none carries it.
cList<cMessageWindow>::iterator FindWindowById(cList<cMessageWindow>& list, int id) {
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->m_bUseId && it->m_nWindowId == id) return it;
  return list.end();
}

}  // namespace

void CmdMessage(cCharaBase& chara, cEdCommand& command, int bContinue) {
  cSceneStageData& stage = StageData();
  if (stage.m_bCloseRequested.load()) return;
  auto p = [&command](int i) { return CmdParam(command, i); };
  const int bUseId = p(12), bClose = p(15);

  cList<cMessageWindow>::iterator at = stage.m_Messages.end();  // where a new window goes
  cMessageWindow* inPlace = nullptr;
  if (bUseId) {
    const auto found = FindWindowById(stage.m_Messages, p(13));
    if (found != stage.m_Messages.end()) {
      if (bClose) {
        stage.RemoveMessage(&*found);
        return;
      }
      std::string text = command.m_strText;
      if (p(9)) SubstituteVariables(text);
      int w = 0, h = 0;
      MeasureMessageText(w, h, text.c_str());
      if (w == found->m_nWidth && h == found->m_nHeight) {
        inPlace = &*found;  // the same size: its surface takes the new text
      } else {
        at = std::next(found);
        stage.RemoveMessage(&*found);
      }
    } else if (bClose) {
      return;
    }
  } else if (bClose) {
    return;
  }

  const int frames = p(17) ? 1 : SaturatedTicks(p(7), TICKS_PER_TENTH);
  const int placement = p(0);
  int anchor = 0;
  if (placement >= 4 && placement <= 6)
    anchor = Player.empty() ? OBJECT_NONE : Player[0].m_nId;
  else if (placement >= 1 && placement <= 3)
    anchor = chara.m_nId;

  const cMessageWindow* window = inPlace;
  if (inPlace) {
    inPlace->Init(MESSAGEMODE_TEXT, command.m_strText.c_str(), 0, 0, 0, p(0), p(1), p(2), p(3), p(4), p(5), p(10),
                  p(6), frames, p(8), anchor, bContinue, p(9), p(11), p(16), p(14), p(12), p(13), 1);
  } else {
    window = &*stage.m_Messages.emplace(at, MESSAGEMODE_TEXT, command.m_strText.c_str(), 0, 0, 0, p(0), p(1), p(2),
                                        p(3), p(4), p(5), p(10), p(6), frames, p(8), anchor, bContinue, p(9), p(11),
                                        p(16), p(14), p(12), p(13));
  }

  if (!p(8)) return;
  switch (p(6)) {
    case MESSAGEDISPLAY_KEY:
      stage.m_Wait.Set(1, 1, 0, bContinue);
      if (!bContinue) PlaySe(kOpeningSound);
      break;
    case MESSAGEDISPLAY_TIME:
      stage.m_Wait.Set(1, 0, frames, bContinue);
      break;
    default:
      // A window until the stage ends has no end to wait for: play goes on
      // with it on screen.
      return;
  }
  stage.RunPauseLoop(1);
  stage.RemoveMessage(window);
}

int ActMessage(cCharaBase& chara, cCommandInstance& instance) {
  if (!instance.m_pCommand) return 0;
  const cFlowInstance* flow = StageData().m_lpCurFlow;
  CmdMessage(chara, *instance.m_pCommand, flow ? flow->m_bMessageChain : 0);
  return 0;
}
