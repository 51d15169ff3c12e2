#pragma once
// The name of a replay to save: the main window's answer to the replay-save
// request (WM_USER+4) asks the player with the save dialog.

// Makes user_data\rpl4\ when it is missing, proposes a free name for the
// stage `stagePath` (ProposeReplayFileName) in `path` (260 bytes) and runs
// the save dialog on the active window over the display. 1 when the player
// confirmed a name (then in `path`), 0 when cancelled. Main thread.
int ChooseReplayFileName(char* path, const char* stagePath);
