#pragma once
// printf-style formatting into strings. Texts are Shift-JIS bytes; the whole
// result is kept however long it is.
#include <cstdarg>
#include <string>

#define PRINTF_LIKE(fmt, args) __attribute__((format(printf, fmt, args)))

// Formats into `out`. `out` may also be one of the arguments: the text is
// complete before `out` changes. The result ends at its first NUL byte.
void Format(std::string& out, const char* format, ...) PRINTF_LIKE(2, 3);
void AppendFormat(std::string& out, const char* format, ...) PRINTF_LIKE(2, 3);

// The formatted text as a new string (the va_list form behind every
// formatting function of the program).
std::string FormatV(const char* format, va_list args);
std::string FormatText(const char* format, ...) PRINTF_LIKE(1, 2);
