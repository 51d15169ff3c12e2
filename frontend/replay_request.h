#pragma once
// The title's request for a replay file: the main window shows the
// open-file dialog and loads the chosen replay (WM_USER+3).

// Waits for the main window's answer; true when a replay was loaded. A wait
// ended by the program closing counts as cancelled.
bool RequestReplayFile();
