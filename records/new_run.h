#pragma once
// The two ways a run starts without a save file: a new story, and free play
// of one stage file (the stage-file dialog, the start stage of the command
// line, a free-play stage played again). Both prepare PlayData afresh.
#include "records/save_data.h"

// The longest stage path StartFromStageFile takes, in bytes.
constexpr int STAGE_PATH_MAX = 259;

// PlayData becomes a fresh record with the walker on the world map's start
// cell, round 0, and the story's lives: infinite, or its start lives with
// the life in play not counted (start lives 5 gives 4 left).
void NewStory();

// Loads the stage file `path` (numbered non-zero: the newest numbered file
// of that name) and, once it loaded, makes PlayData a fresh free run of it:
// stage 1, area 1, the free kind's lives (infinite in test play), the path
// relative to the working directory in its base form. False, with PlayData
// as it was, when the stage did not load (the loader has said why) or the
// path is longer than STAGE_PATH_MAX bytes (a report-log line).
bool StartFromStageFile(const char* path, int numbered);
