// The replay save keys.
#include "stage/replay_keys.h"

#include "base/window_messages.h"
#include "game/game.h"
#include "platform/input.h"
#include "records/replay_input.h"
#include "records/system.h"

std::atomic<int32_t> ReplayKeyCooldown{0};

namespace {

// Frames between two empty-replay sounds.
constexpr int32_t kEmptyReplayCooldown = 60;

}  // namespace

int CheckReplaySaveKeys() {
  if (Game.m_nPlayCommand == GAMEMODE_REPLAY || !SystemData.bRecordReplay()) return 0;
  if (ReplayKeyCooldown.load() > 0) ReplayKeyCooldown.fetch_sub(1);
  int which;
  if (plat::IsKeyDown(VK_F1))
    which = 0;
  else if (plat::IsKeyDown(VK_F2))
    which = 1;
  else
    return 0;
  const cReplayInput& replay = which == 0 ? Replay : ReplayPrev;
  if (replay.m_vDirValues.empty()) {
    if (ReplayKeyCooldown.load() <= 0) {
      PlaySe(3);
      ReplayKeyCooldown = kEmptyReplayCooldown;
    }
    return 0;
  }
  PlaySe(1);
  SendRequest(WM_GAME_SAVEREPLAY, static_cast<uintptr_t>(which), 0, FileDlgDone);
  return 1;
}
