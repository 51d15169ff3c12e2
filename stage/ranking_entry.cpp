// The ranking entry of a cleared result: the name (registered, or asked
// for in the name-entry dialog), the ranked results inserted and saved once,
// then the ranking view.
#include "base/boxes.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/user_settings.h"
#include "stage/scene_stage.h"

namespace {

// Registration modes 1 and 3 take the name registered in the options.
bool UsesRegisteredName(int mode) { return mode == 1 || mode == 3; }

}  // namespace

void cSceneStage::EnterRanking() {
  if (!Game.m_bRanking || !m_bRankable || m_bRanked) return;
  if (UsesRegisteredName(OptionData.m_nRankingMode)) {
    m_strRankingName = OptionData.m_strRankingName;
  } else {
    // The dialog edits m_strRankingName, starting from the name used last.
    m_strRankingName = PlayData.m_strRankingName;
    const bool entered = SendRequest(WM_GAME_NAMEENTRY, 0, 0, bNameDone);
    // A program that is closing writes no ranking.
    if (!entered || bQuit.load() || m_bCloseRequested.load()) return;
    PlayData.m_strRankingName = m_strRankingName;
  }
  PlaySe(16);
  for (int i = 0; i < m_vRanks.Size() && i < Ranking.m_vTables.Size(); ++i)
    if (m_vRanks[i] != -1 && i < m_vRankValues.Size()) Ranking.m_vTables[i].Insert(m_strRankingName, m_vRankValues[i]);
  Ranking.SaveFor(Game.m_nPlayKind, PlayData.m_strStagePath);
  m_bRanked = 1;
  ShowRanking();
}
