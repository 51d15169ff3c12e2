#pragma once
// How this run was started. Both are set once by the entry point and
// start-up, before any other thread runs, and only read afterwards.
#include <atomic>

// The editor started the runtime for a test play (show state 5). Set before
// any project file is read; the loaders of flows then keep the flows flagged
// for test play only.
extern std::atomic<int> bFromEditor;

// A stage file given at start (command line or System.ini) is played at
// once: no life is lost, quitting closes the program, rankings are computed
// for every clear.
extern std::atomic<int> bTestPlay;
