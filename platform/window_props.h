#pragma once
// Named values kept on a window ("DLG_CLASS", "cHook", ...): how a window
// finds the object that serves it. They go with the window.
#include <string>

#include "platform/messages.h"

namespace plat {

// False when the window is gone.
bool SetProp(WindowHandle window, const std::string& name, void* value);
// Null when the window or the name has none.
void* GetProp(WindowHandle window, const std::string& name);
// Removes the value and returns it (null when there was none).
void* RemoveProp(WindowHandle window, const std::string& name);
// Every value of the window; run when the window is destroyed.
void RemoveAllProps(WindowHandle window);

}  // namespace plat
