#pragma once
// Recording and playing replays of the sample's stages for the end-to-end
// and golden replay tests: a scripted live play traced and saved, a replay
// file played back and traced, and the comparison of two traces.
#include <string>
#include <vector>

#include "stage/play_trace.h"
#include "support/stage_runner.h"

namespace replaytest {

// What a live play does: the input words of each play frame, the last
// repeated as long as play goes on.
struct SCRIPTSTEP {
  uint16_t wDir;
  uint16_t wButton;
  int nFrames;
};

// Sample stage n played live with replays recorded from its entry, each play
// frame's words taken from `script` (then idle), until play ends (a clear or
// a death shown to its end) or `playFrames` frames have played. The trace
// of the play frames.
cPlayTrace PlayLive(testsupport::StageRunner& run, int stage, const std::vector<SCRIPTSTEP>& script, int playFrames);

// The replay file of the play so far (Replay with Stage, StageCopy and
// ReplayStart), written to `path`.
bool SaveAttempt(const std::string& path);

// "" when the traces agree line by line; else the first line that differs,
// its number and both lines.
std::string FirstDifference(const std::string& expected, const std::string& got);

// How a trace ends: "clear" (its last line in the clear state), "death"
// (a line with the hero's HP at 0, and the last one out of play), "restart"
// (out of play at the banner with the hero alive), else "play".
std::string Ending(const std::string& trace);

// The first `lines` lines of a trace.
std::string Head(const std::string& trace, int lines);

}  // namespace replaytest
