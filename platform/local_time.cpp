#include "platform/local_time.h"

#include <sys/time.h>
#include <time.h>

#include <mutex>

namespace plat {
namespace {

std::mutex g_fakeMutex;
bool g_fakeTime = false;
SYSTEMTIME g_fakeLocalNow;

}  // namespace

SYSTEMTIME LocalTime() {
  {
    std::lock_guard<std::mutex> lock(g_fakeMutex);
    if (g_fakeTime) return g_fakeLocalNow;
  }
  timeval tv{};
  ::gettimeofday(&tv, nullptr);
  time_t seconds = tv.tv_sec;
  tm parts{};
  ::localtime_r(&seconds, &parts);
  SYSTEMTIME t;
  t.wYear = static_cast<uint16_t>(parts.tm_year + 1900);
  t.wMonth = static_cast<uint16_t>(parts.tm_mon + 1);
  t.wDayOfWeek = static_cast<uint16_t>(parts.tm_wday);
  t.wDay = static_cast<uint16_t>(parts.tm_mday);
  t.wHour = static_cast<uint16_t>(parts.tm_hour);
  t.wMinute = static_cast<uint16_t>(parts.tm_min);
  // A leap second reads as the last ordinary one.
  t.wSecond = static_cast<uint16_t>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
  t.wMilliseconds = static_cast<uint16_t>(tv.tv_usec / 1000);
  return t;
}

FakeLocalTime::FakeLocalTime(const SYSTEMTIME& now) { Set(now); }

FakeLocalTime::~FakeLocalTime() {
  std::lock_guard<std::mutex> lock(g_fakeMutex);
  g_fakeTime = false;
}

void FakeLocalTime::Set(const SYSTEMTIME& now) {
  std::lock_guard<std::mutex> lock(g_fakeMutex);
  g_fakeLocalNow = now;
  g_fakeTime = true;
}

}  // namespace plat
