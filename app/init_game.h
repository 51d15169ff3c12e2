#pragma once
// Start-up and shutdown of the program's parts, on the main thread: after the
// main window exists and before any other thread runs, and after the other
// threads and the window are gone.
#include <string>

#include "platform/app_icon.h"

// The icon of the main window; 0 when none could be made. Freed by UnInitGame.
extern plat::IconHandle hIconMain;

// Brings the program up in its fixed order: the project (data\ from
// default\, the database, System.dat, System.ini, the start-up dialog), the
// display mode, the drawing layer with its palette, transparent colour,
// surface 0 and fonts, input, options, music, sound effects, the world map
// and the common palette, and the start stage. `commandLine` is the whole
// command line: a stage file to play at once, or empty. False at the first
// step that fails, after its box or report-log line; WinMain then runs
// UnInitGame.
bool InitGame(const std::string& commandLine, int showState);
// Takes down what InitGame brought up. Safe after a partial start-up, and a
// second time.
void UnInitGame();
