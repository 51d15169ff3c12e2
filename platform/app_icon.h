#pragma once
// The program's icon, built into it, for the title bar and the task list of
// its windows. Main thread, with the window system started.
#include <cstdint>

#include "platform/messages.h"

namespace plat {

// 0 for none; a real icon is never 0 or 1.
using IconHandle = uintptr_t;

// Makes the icon; 0 when it cannot be made.
IconHandle CreateProgramIcon();
// Gives it to a window (one picture serves the small and the big icon).
void SetAppWindowIcon(WindowHandle window, IconHandle icon);
// Frees an icon; nothing for 0, 1 or one already freed.
void DestroyIcon(IconHandle icon);

}  // namespace plat
