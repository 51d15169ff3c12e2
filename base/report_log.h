#pragma once
// The report log "Report_Game.txt" (always on: start-up, hardware report,
// checked-access errors) and the debug log "EC_Game.txt" (switched off by the
// entry point). Each line is a whole open-append-close, so nothing is lost
// when the process dies; lines from several threads never interleave.
// Lines end with CR LF on disk.
#include <functional>
#include <string>

#include "base/text_format.h"
#include "platform/messages.h"

// Creates or empties the report log and keeps its absolute path; 0 on failure.
int ReportOpen(const char* path);

// Appends one formatted line to the report log; 0 when it cannot be opened.
int ReportPrintf(const char* format, ...) PRINTF_LIKE(1, 2);

// The same line to the report log and then to the debug log; 0 (and nothing
// written) when the report log cannot be opened.
int ReportPrintfDebug(const char* format, ...) PRINTF_LIKE(1, 2);

// As ReportPrintfDebug, and shows the text in an error box.
int ReportError(const char* format, ...) PRINTF_LIKE(1, 2);

// Switches the debug log on or off and names its file; the next write
// empties that file first (the entry point calls it once at start; tests
// call it to start afresh).
void DebugLogInit(int enable, const char* path);
int DebugLogEnabled();

// One line to the debug log while it is on; 0 when off or on failure. The
// first write that opens the file empties it, later ones append.
int DebugLogWrite(const char* text);
int DebugLogPuts(const char* text);
int DebugLogPrintf(const char* format, ...) PRINTF_LIKE(1, 2);

// Tests watch the debug log through a tap: while the log is on, every line
// it is given reaches the tap first, on the writing thread, under the log's
// lock (the tap must not write to the logs). An empty function removes it.
void SetDebugLogTap(std::function<void(const std::string&)> tap);

// Writes the line to the debug log when it is on, then always asks the
// program to close (the close message to `window`, the main window).
void DebugLogFatal(plat::WindowHandle window, const char* format, ...) PRINTF_LIKE(2, 3);
