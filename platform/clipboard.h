#pragma once
// The desktop's clipboard holding text, seen as Shift-JIS. Main thread only.
#include <string>

namespace plat {

// False when the window system cannot take it.
bool SetClipboardCp932(const std::string& sjis);
// The clipboard's text; characters without a CP932 form are left out.
std::string GetClipboardCp932();

}  // namespace plat
