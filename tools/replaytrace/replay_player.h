#pragma once
// Plays a replay file through the stage scene as the title's replay entry
// starts it, headless and unpaced, and traces each play frame (play_trace.h).
// The tool replaytrace prints the trace; the golden replay tests compare it.
#include <string>

#include "stage/play_trace.h"

// Makes `folder` the working directory and starts its project as the
// program does, without a window, sound or music: data\ (from default\ when
// missing), the database, System.dat, the common palette, the software
// display at 16 bits (or the 3D device at 32). False with the reason.
bool OpenGameFolder(const std::string& folder, bool d3d, std::string& error);

// In a started project: loads the replay (Replay, Stage, StageCopy,
// PlayData; the stage's path becomes the replay's), enters the stage scene
// in playback from the title and runs frames until a traced line leaves
// play (a clear, the restart after a death or at the end of the input) or
// `maxFrames` frames ran. False when the replay was refused (`error` says
// why). The frames run are in `frames`.
bool TraceReplay(const std::string& path, int maxFrames, cPlayTrace& trace, int& frames, std::string& error);

// Leaves the stage scene and its scenes; the project stays loaded.
void EndReplay();
