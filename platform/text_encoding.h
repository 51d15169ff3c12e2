#pragma once
// Conversion between the system's Shift-JIS (Windows code page 932) bytes and
// the host's UTF-8 / UTF-32. Text is converted only where it meets the host:
// file names, boxes, fonts.
#include <cstddef>
#include <string>

namespace plat {

// Shift-JIS bytes to UTF-8. Bytes that do not decode are passed through as
// U+FFFD so that a damaged name still shows; `ok` tells whether all decoded.
std::string Cp932ToUtf8(const std::string& sjis, bool* ok = nullptr);

// UTF-8 to Shift-JIS; characters without a CP932 form become '?'.
std::string Utf8ToCp932(const std::string& utf8, bool* ok = nullptr);

// UTF-8 to Shift-JIS, leaving out every character that has no CP932 form
// (and anything that is not UTF-8), for text the user types or pastes.
std::string Utf8ToCp932Dropping(const std::string& utf8);

// Shift-JIS to UTF-32 code points (for the text layer).
std::u32string Cp932ToUtf32(const std::string& sjis, bool* ok = nullptr);

// Each thread keeps one conversion handle per direction: the number the
// calling thread has opened so far (at most 3; for tests).
size_t ConversionHandlesOpened();

}  // namespace plat
