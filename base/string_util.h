#pragma once
// Measuring and cutting the program's strings, which hold Shift-JIS bytes.
#include <string>

// Cuts the string at its first NUL byte (texts read from controls and files
// end there) and returns the length that is left. Any length is kept.
int StrSyncLength(std::string& text);

// The part of `text` from byte `start`, `count` bytes long. A negative start
// shortens the count by as much and starts at 0; a start at or past the end,
// a count of 0, or a count that the negative start used up gives "". A count
// of -1 (or any negative count), or one past the end, takes the rest.
std::string StrMid(const std::string& text, int start, int count);
