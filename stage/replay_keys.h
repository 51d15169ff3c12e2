#pragma once
// The keys that save a replay during a stage: F1 the running attempt, F2
// the one before it.
#include <atomic>
#include <cstdint>

// Frames (of the calling loop) before the empty-replay sound may sound
// again. The game thread and thPause use it in turn, never at once.
extern std::atomic<int32_t> ReplayKeyCooldown;

// Once a frame, first in every interactive stage state and in the pause
// loop: 0 in playback and when the project records no replays. F1 asks the
// main window to save Replay (WM_USER+4, wParam 0), F2 ReplayPrev (1),
// after sound 1, and waits until it has: 1 (the caller skips the rest of
// its frame). A replay without input is not saved: sound 3, at most once
// per 60 frames. Else 0.
int CheckReplaySaveKeys();
