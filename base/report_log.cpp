#include "base/report_log.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "base/boxes.h"
#include "base/path_util.h"
#include "platform/close_request.h"
#include "platform/host_path.h"

namespace {

std::mutex g_logMutex;  // one line at a time, from any thread
std::string g_reportPath;
int g_debugEnabled = 0;
std::string g_debugPath;
bool g_debugCreated = false;
std::function<void(const std::string&)> g_debugTap;

// Writes text and a line end as a text-mode file would: each "\n" becomes CR LF.
bool WriteLine(FILE* f, const std::string& text) {
  std::string line;
  line.reserve(text.size() + 2);
  for (char c : (text + "\n")) {
    if (c == '\n') line += '\r';
    line += c;
  }
  return std::fwrite(line.data(), 1, line.size(), f) == line.size();
}

// Opens an existing file, appends one line and closes it again.
int AppendLine(const std::string& path, const std::string& text) {
  FILE* f = plat::OpenFile(path, "r+b");
  if (!f) return 0;
  std::fseek(f, 0, SEEK_END);
  bool ok = WriteLine(f, text);
  ok = std::fclose(f) == 0 && ok;
  return ok ? 1 : 0;
}

int ReportLineLocked(const std::string& text) {
  if (g_reportPath.empty()) return 0;
  return AppendLine(g_reportPath, text);
}

int DebugLineLocked(const std::string& text) {
  if (!g_debugEnabled) return 0;
  if (g_debugTap) g_debugTap(text);
  if (!g_debugCreated) {
    // Until a write has emptied the file, the next one still has to.
    FILE* f = plat::OpenFile(g_debugPath, "wb");
    if (!f) return 0;
    g_debugCreated = true;
    bool ok = WriteLine(f, text);
    ok = std::fclose(f) == 0 && ok;
    return ok ? 1 : 0;
  }
  return AppendLine(g_debugPath, text);
}

int ReportAndDebug(const std::string& text) {
  std::lock_guard<std::mutex> lock(g_logMutex);
  if (!ReportLineLocked(text)) return 0;
  DebugLineLocked(text);
  return 1;
}

}  // namespace

int ReportOpen(const char* path) {
  std::string absolute = path;
  if (!MakeAbsolutePath(absolute)) return 0;
  std::lock_guard<std::mutex> lock(g_logMutex);
  FILE* f = plat::OpenFile(absolute, "wb");
  if (!f) return 0;
  std::fclose(f);
  g_reportPath = absolute;
  return 1;
}

int ReportPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  std::lock_guard<std::mutex> lock(g_logMutex);
  return ReportLineLocked(text);
}

int ReportPrintfDebug(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return ReportAndDebug(text);
}

int ReportError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  // The line is on disk before the box waits for the player.
  int result = ReportAndDebug(text);
  ErrorBox(text.c_str());
  return result;
}

void DebugLogInit(int enable, const char* path) {
  std::lock_guard<std::mutex> lock(g_logMutex);
  g_debugEnabled = enable;
  g_debugPath = path ? path : "";
  g_debugCreated = false;
}

void SetDebugLogTap(std::function<void(const std::string&)> tap) {
  std::lock_guard<std::mutex> lock(g_logMutex);
  g_debugTap = std::move(tap);
}

int DebugLogEnabled() {
  std::lock_guard<std::mutex> lock(g_logMutex);
  return g_debugEnabled;
}

int DebugLogWrite(const char* text) {
  std::lock_guard<std::mutex> lock(g_logMutex);
  return DebugLineLocked(text);
}

int DebugLogPuts(const char* text) { return DebugLogWrite(text); }

int DebugLogPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  std::lock_guard<std::mutex> lock(g_logMutex);
  return DebugLineLocked(text);
}

void DebugLogFatal(plat::WindowHandle window, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  {
    std::lock_guard<std::mutex> lock(g_logMutex);
    DebugLineLocked(text);
  }
  PostCloseMessage(window);
}
