#include "frontend/replay_request.h"

#include "base/window_messages.h"

bool RequestReplayFile() { return SendRequest(WM_GAME_OPENREPLAY, 0, 0, FileDlgDone) && FileDlgResult.load() != 0; }
