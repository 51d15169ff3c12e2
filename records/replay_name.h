#pragma once
// The names of replay files: user_data\rpl4\ + the stage's base name, "_",
// two digits and the extension "rpl4_" + the data version.
#include <string>

// "user_data\rpl4\": where replays are saved and looked for.
extern const char REPLAY_FOLDER[];

// "rpl4_734".
std::string ReplayExtension();

// The name (the file part only) proposed for a new replay of the stage
// `stagePath` (a path or a base name such as "cave."): its extension made
// ReplayExtension, its folders dropped, then the first of _00 .. _08,
// _10 .. _88 (the digit 9 is never used) that is not in REPLAY_FOLDER;
// _88 when all 81 are. Empty for an empty stage path.
std::string ProposeReplayFileName(const std::string& stagePath);
