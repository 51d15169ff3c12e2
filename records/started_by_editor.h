#pragma once
// Whether the editor started the runtime for a test play (show state 5).
// Set once by the entry point before any project file is read; the loaders
// of flows then keep the flows flagged for test play only.
#include <atomic>

extern std::atomic<int> bFromEditor;
