#pragma once
// Start-up and shutdown of the program's parts, on the main thread: after the
// main window exists and before any other thread runs, and after the other
// threads and the window are gone.
#include <string>

bool InitGame(const std::string& commandLine, int showState);
// Safe after a partial start-up.
void UnInitGame();
