#pragma once
// One running copy of the game per user, held through the mutex name
// "ゲーム" as a lock file (platform/instance_lock.h). WinMain takes it right
// after the hardware report and releases it as its very last step.
#include "platform/instance_lock.h"

// Held for the life of the process once taken.
extern plat::InstanceLock InstanceMutex;

// WinMain, on the main thread before the window exists. When another copy
// holds the lock, asks "二重起動" whether to end it: No ends this start;
// Yes ends that copy in order (or kills it when it does not end within 3 s)
// and this start goes on. A copy that cannot be found (no PID in the file,
// or the PID is stale or another program's) is left alone and this start
// goes on; one that may not be signalled is reported in a box and this start
// ends. Returns 1 to go on, 0 to end the program with exit code 0 (the lock
// is then released).
int TakeSingleInstance();
