#include "base/timers.h"

#include "platform/clock.h"

std::atomic<int> bDirect3DBackEnd{0};

namespace {

uint32_t s_stopwatchStart = 0;
uint32_t s_stopwatchElapsed = 0;

bool s_countStarted = false;
uint32_t s_countWindowStart = 0;
uint32_t s_countCalls = 0;
uint32_t s_countPublished = 0;

// The limiter keeps the time since its last frame, added up from its own
// readings, instead of an absolute due time, so that no comparison of two
// clock values is needed. UINT32_MAX: nothing to wait for.
bool s_limitStarted = false;
uint32_t s_limitLastRead = 0;
uint32_t s_limitSinceFrame = 0;

bool s_paceStarted = false;
uint32_t s_paceSecondStart = 0;
unsigned s_paceFrames = 0;
unsigned s_paceFps = 0;

unsigned s_everyNth = 0;

}  // namespace

uint32_t StopwatchStart() {
  s_stopwatchStart = plat::TimeGetTime();
  return s_stopwatchStart;
}

uint32_t StopwatchElapsed(int update) {
  if (update) s_stopwatchElapsed = plat::TimeGetTime() - s_stopwatchStart;
  return s_stopwatchElapsed;
}

uint32_t CountPerSecond(int update) {
  if (!s_countStarted) {
    s_countStarted = true;
    s_countWindowStart = plat::TimeGetTime();
  }
  if (update) {
    uint32_t now = plat::TimeGetTime();
    if (now - s_countWindowStart > 999) {
      s_countWindowStart = now;
      s_countPublished = s_countCalls;
      s_countCalls = 0;
      return s_countPublished;
    }
    ++s_countCalls;
  }
  return s_countPublished;
}

bool LimitRate(unsigned fps) {
  uint32_t now = plat::TimeGetTime();
  if (!s_limitStarted) {
    s_limitStarted = true;
    s_limitLastRead = now;
    s_limitSinceFrame = UINT32_MAX;
  }
  uint32_t elapsed = now - s_limitLastRead;
  s_limitLastRead = now;
  s_limitSinceFrame = elapsed > UINT32_MAX - s_limitSinceFrame ? UINT32_MAX : s_limitSinceFrame + elapsed;
  if (fps == 0) {
    s_limitSinceFrame = UINT32_MAX;
    return true;
  }
  if (s_limitSinceFrame < 1000 / fps) return false;
  s_limitSinceFrame = 0;
  return true;
}

bool PaceFrame(unsigned fps, int, DDSURFACEDATA*) {
  if (!bDirect3DBackEnd.load(std::memory_order_relaxed)) return true;
  uint32_t now = plat::TimeGetTime();
  // Frames counted at another rate say nothing about this one.
  if (!s_paceStarted || fps != s_paceFps) {
    s_paceStarted = true;
    s_paceFps = fps;
    s_paceSecondStart = now;
    s_paceFrames = 0;
  }
  if (fps == 0) return true;
  // The second may start a little after now (see below): the difference is signed.
  int32_t sinceStart = static_cast<int32_t>(now - s_paceSecondStart);
  if (sinceStart < -1000) {  // a clock reading from before the second: start afresh
    s_paceSecondStart = now;
    s_paceFrames = 0;
    sinceStart = 0;
  }
  double due = 1000.0 / fps * s_paceFrames;
  if (due > static_cast<double>(sinceStart)) return false;
  if (++s_paceFrames >= fps) {
    // The next second begins 1000 ms after this one, not with its last frame
    // (that would run that frame and the next one back to back, about one
    // frame per second too many). A loop that fell behind starts afresh.
    s_paceFrames = 0;
    s_paceSecondStart = sinceStart < 1000 ? s_paceSecondStart + 1000 : now;
  }
  return true;
}

bool EveryNth(int mode, unsigned n) {
  if (mode == 0) {
    s_everyNth = 0;
    return false;
  }
  if (mode == 2) return s_everyNth == 0;
  if (++s_everyNth >= n) {
    s_everyNth = 0;
    return true;
  }
  return false;
}

void ResetTimers() {
  s_stopwatchStart = s_stopwatchElapsed = 0;
  s_countStarted = false;
  s_countWindowStart = s_countCalls = s_countPublished = 0;
  s_limitStarted = false;
  s_limitLastRead = s_limitSinceFrame = 0;
  s_paceStarted = false;
  s_paceSecondStart = 0;
  s_paceFrames = 0;
  s_paceFps = 0;
  s_everyNth = 0;
}
