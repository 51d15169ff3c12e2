// The ranking view after a ranking entry: its own frame loop on
// thRanking, while the game thread waits for it.
#include "base/thread.h"
#include "stage/scene_stage.h"

namespace {

unsigned RankingThreadProc(void* arg) { return static_cast<unsigned>(static_cast<cSceneStage*>(arg)->RankingLoop()); }

}  // namespace

void cSceneStage::ShowRanking() {
  // A thread that cannot start counts as a view that ended at once.
  if (!thRanking.Start(RankingThreadProc, this)) return;
  thRanking.Wait();
}

int cSceneStage::RankingLoop() { return 1; }
