#pragma once
// The presenter shows the game's frames in its window. The drawing thread
// hands each finished frame over (a copy of its pixels, an 8-bit frame with
// the palette in force at that moment); a frame that arrives before the last
// one was shown replaces it. The main thread converts the newest frame to
// 32-bit colours and shows it at each pump of its messages, scaled nearest-neighbour
// into the window with its aspect kept (bars around it). Full screen is a
// window the size of the desktop.
#include <cstdint>
#include <functional>

#include "platform/bmp_image.h"
#include "platform/messages.h"

namespace plat {

struct FrameView {
  const uint8_t* bits = nullptr;  // pixel (0, 0)
  int pitch = 0;                  // bytes per row
  int width = 0, height = 0;
  int bpp = 32;                   // 8 (palette indices), 16 (RGB565) or 32 (XRGB8888)
  const PalEntry* palette = nullptr;  // 256 entries, for 8 bits
};

// Any thread: hands a frame over. While a script runs, a thread other than
// the main one waits (at most about 100 ms) until the frame has been shown.
void PresentFrame(const FrameView& frame);

// Any thread: the window the frames go to (none detaches), with vertical
// sync of the shown frames. Applied by the main thread's next pump.
void AttachPresenter(WindowHandle window, bool vsync);
// Any thread: full screen (a desktop-sized window) or back to the window.
void SetPresenterFullScreen(bool on);

// Any thread: minimises the window the frames go to without making it
// active (a lost full-screen 3D device does so), or shows it normally
// again. Applied by the main thread's next pump.
void MinimizePresenterWindow(bool minimize);
bool PresenterWindowMinimized();

// Main thread, from every pump of its messages: shows the frame handed over
// since the last call, if any; true when one was shown.
bool PresenterPump();

// Main thread: shows the frame shown last once more (its window was
// uncovered); false when none has been shown.
bool RepaintPresenter();

// Drawing thread: with vertical sync on a live window, waits (at most about
// 100 ms) until the frame handed over last has been shown; otherwise until
// the next tick of a 60 Hz clock. While a script runs it does not wait:
// PresentFrame has waited until its frame was shown.
void WaitForShownFrame();
// The next tick of a 60 Hz clock (plat::TimeGetTime, so a fake clock runs it).
void WaitForBlankTick();

// The cursor's display count, as the window system keeps it: +1 or -1 per
// call, shown while 0 or more. Returns the new count. Any thread; the main
// thread applies it.
int ShowCursor(bool show);

// Where a frame of frameW x frameH lands in a window of windowW x windowH:
// as large as fits with the aspect kept, centred.
struct PresentRect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const PresentRect&, const PresentRect&) = default;
};
PresentRect LetterboxRect(int windowW, int windowH, int frameW, int frameH);

// Called on the main thread with every frame it shows, unscaled, as
// 0x00RRGGBB colours, top row first. Tests and tools install it.
using FrameCapture = std::function<void(const uint32_t* pixels, int width, int height)>;
void SetFrameCapture(FrameCapture capture);

struct PresenterStats {
  uint64_t handed = 0;    // frames handed over
  uint64_t shown = 0;     // frames shown
  uint64_t replaced = 0;  // frames replaced before they were shown
};
PresenterStats GetPresenterStats();
// Drops the waiting frame and the counts (tests).
void ResetPresenter();

namespace detail {
// Main thread: the window goes away; the presenter lets go of it first.
void PresenterWindowClosing(WindowHandle window);
}

}  // namespace plat
