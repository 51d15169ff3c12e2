#pragma once
// The local date and time of the machine, for the time stamp of a saved
// story slot. Game logic never reads it.
#include <cstdint>

namespace plat {

// Eight u16 in this order, 16 bytes as stored in the save files.
struct SYSTEMTIME {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;      // 1..12
  uint16_t wDayOfWeek = 0;  // 0 Sunday .. 6 Saturday
  uint16_t wDay = 0;        // 1..31
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
  friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};

// Now, in the local time zone (or the fake time while one is set).
SYSTEMTIME LocalTime();

// A fixed local time for tests: while an object lives, LocalTime returns it.
class FakeLocalTime {
 public:
  explicit FakeLocalTime(const SYSTEMTIME& now);
  ~FakeLocalTime();
  FakeLocalTime(const FakeLocalTime&) = delete;
  FakeLocalTime& operator=(const FakeLocalTime&) = delete;
  void Set(const SYSTEMTIME& now);
};

}  // namespace plat
