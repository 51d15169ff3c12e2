#pragma once
// The life of the process on its main thread: report log, main window,
// start-up, the game thread, the message pump, shutdown.
#include <atomic>
#include <string>

#include "base/window_messages.h"      // bAppActive: the application is active; loops idle while 0
#include "records/started_by_editor.h"  // bFromEditor: started by the editor (show state 5)

extern std::atomic<int> bWndReady;    // start-up succeeded

// Runs the program with the system's command line (the whole of it names a
// stage file to play at once, or is empty) and show state. Returns the exit
// code: 0 after a failed start, else the quit message's wParam. The working
// directory is the game's folder.
int WinMain(const std::string& commandLine, int showState);

// The executable's entry: the arguments joined into the command line, normal
// show state, and termination signals taken as close requests.
int GameMain(int argc, char** argv);

// Starts thGame with GameLoop and posts it WM_GAME_START. False (reported)
// when the thread could not start or ended before the message reached it.
bool StartGameThread();

// Main thread: dispatches messages until WM_QUIT, whose wParam it returns.
int RunMessagePump();
