#pragma once
// The keys that save a replay during a stage: F1 the running attempt, F2
// the one before it.

// Once a frame, first in every interactive stage state and in the pause
// loop: 1 when a replay was saved this frame (the caller skips the rest of
// its frame), else 0.
int CheckReplaySaveKeys();
