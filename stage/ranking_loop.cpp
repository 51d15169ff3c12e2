// The ranking view after a ranking entry: its own frame loop on
// thRanking, while the game thread waits for it.
#include "base/boxes.h"
#include "base/thread.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "game/menu_anchor.h"
#include "media/input.h"
#include "media/surface_table.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/system.h"
#include "stage/scene_stage.h"

// The table's top left corner.
MENUANCHOR RankingAnchor = {184, 64, 0, 0};

namespace {

unsigned RankingThreadProc(void* arg) { return static_cast<unsigned>(static_cast<cSceneStage*>(arg)->RankingLoop()); }

}  // namespace

void cSceneStage::ShowRanking() {
  // A thread that cannot start counts as a view that ended at once.
  if (!thRanking.Start(RankingThreadProc, this)) return;
  // The loop takes this first message and drops it; a refused post means it
  // has already ended.
  plat::PostToThread(thRanking.m_dwThreadId.load(), WM_GAME_START, 0, 0);
  thRanking.Wait();
}

int cSceneStage::RankingLoop() {
  const int kind = Game.m_nPlayKind;
  PlayData.CycleRankingCategory(kind, 0);
  cInput& first = Input.At(0);
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) break;
      continue;  // nothing else is dispatched here
    }
    if (!bAppActive.load()) {
      plat::Sleep(1);
      continue;
    }
    Game.WaitFrame();
    if (!Game.RestoreLostSurfaces()) PostCloseMessage(hWndMain.load());
    Game.PollInput(Input);
    first.LatchButtons(0);
    first.ApplyRepeat();
    if (first.m_wButton & 1) {
      PlaySe(1);
      break;
    }
    if ((first.m_wButton & 8) && SystemData.CountRankingCategories(kind) > 1) {
      PlaySe(6);
      PlayData.CycleRankingCategory(kind, 1);
    }
    Draw(0, 1, 0, 1);
    const int category = PlayData.m_nRankingCat;
    const int rank = category >= 0 && category < m_vRanks.Size() ? m_vRanks[static_cast<size_t>(category)] : -1;
    Ranking.Draw(&BackBuffer, RankingAnchor.nX, RankingAnchor.nY, category, rank);
    Game.Present();
  }
  return 1;
}
