#pragma once
// The software display: surfaces in memory of 8 bits (palette indices),
// 16 bits (RGB565) or 32 bits (XRGB8888), in "video" memory (a 256 MB budget
// that can be lost) or system memory (never lost); plain, colour-keyed and
// stretching copies, fills, locks, palettes, and a primary surface that is
// the game window's picture. A copy or a flip to the primary hands the frame
// to the presenter (platform/presenter.h).
//
// The drawing layer calls everything here from the thread that draws (the
// game thread, or the main thread at start-up and shutdown); one thread at a
// time. Results are 0 (DD_OK) or one of the error codes below.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bmp_image.h"
#include "platform/messages.h"
#include "platform/rect.h"

namespace plat {

// Result codes, with the values the drawing layer compares against.
constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_GENERIC = static_cast<int32_t>(0x80004005);
constexpr int32_t DDERR_INVALIDPARAMS = static_cast<int32_t>(0x80070057);
constexpr int32_t DDERR_OUTOFMEMORY = static_cast<int32_t>(0x8007000E);
constexpr int32_t DDERR_INVALIDRECT = static_cast<int32_t>(0x88760096);
constexpr int32_t DDERR_OUTOFVIDEOMEMORY = static_cast<int32_t>(0x8876017C);
constexpr int32_t DDERR_SURFACEBUSY = static_cast<int32_t>(0x887601AE);
constexpr int32_t DDERR_SURFACELOST = static_cast<int32_t>(0x887601C2);
constexpr int32_t DDERR_NOTFLIPPABLE = static_cast<int32_t>(0x887601F4);
constexpr int32_t DDERR_NOTLOCKED = static_cast<int32_t>(0x88760248);

// The largest width or height of a surface.
constexpr int kMaxSurfaceSide = 16384;

struct LockedPixels {
  uint8_t* bits = nullptr;  // pixel (0, 0)
  int pitch = 0;            // bytes from one row to the next
  int width = 0, height = 0, bpp = 0;
};

// Channel masks of a surface's pixels (0 for all three at 8 bits).
struct PixelFormat {
  int bpp = 0;
  uint32_t redMask = 0, greenMask = 0, blueMask = 0;
};

// The steps of bringing a display up, for the failure hook of the tests; the
// numbers are the step codes the drawing layer reports.
enum class DisplayStep {
  Create = 1, Cooperate = 2, DisplayMode = 3, Surface = 4, Attached = 5,
  Palette = 6, SetPalette = 7, Clipper = 10, ClipperWindow = 11, SetClipper = 12,
};

namespace detail {
struct DisplayState;
struct Storage;
}

class DDPalette {
 public:
  ~DDPalette();
  // Entries first .. first + count - 1; the range must lie in 0..255.
  int32_t SetEntries(int first, int count, const PalEntry* entries);
  int32_t GetEntries(int first, int count, PalEntry* out) const;

 private:
  friend class DDObject;
  friend class DDSurface;
  explicit DDPalette(std::shared_ptr<detail::DisplayState> state);
  std::shared_ptr<detail::DisplayState> m_state;
  PalEntry m_entries[256];
};

class DDClipper {
 public:
  ~DDClipper();
  int32_t SetWindow(WindowHandle window);

 private:
  friend class DDObject;
  explicit DDClipper(std::shared_ptr<detail::DisplayState> state);
  std::shared_ptr<detail::DisplayState> m_state;
  WindowHandle m_window;
};

class DDSurface {
 public:
  ~DDSurface();
  DDSurface(const DDSurface&) = delete;
  DDSurface& operator=(const DDSurface&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int Bpp() const { return m_bpp; }
  bool InVideoMemory() const { return m_video; }

  // DDERR_SURFACELOST while the contents are gone, else DD_OK.
  int32_t IsLost();
  // Takes the memory back; the contents stay what the loss left.
  int32_t Restore();

  // The whole surface. Copies to or from a locked surface are refused.
  int32_t Lock(LockedPixels& out);
  int32_t Unlock();

  // The source colour key of keyed copies from this surface: a pixel equal to
  // it is left out (at 32 bits only the low 24 bits are compared).
  int32_t SetColorKey(uint32_t key);

  // Copies srcRect of src to (x, y). The rectangles must lie inside both
  // surfaces (DDERR_INVALIDRECT otherwise, nothing drawn).
  int32_t BltFast(int x, int y, DDSurface& src, const Rect& srcRect, bool keyed);
  // Copies srcRect of src into dstRect, scaled nearest-neighbour: target
  // column k takes source column left + trunc(k * srcWidth / dstWidth).
  int32_t Blt(const Rect& dstRect, DDSurface& src, const Rect& srcRect, bool keyed);
  // Fills dstRect (inside the surface) with a pixel value.
  int32_t Fill(const Rect& dstRect, uint32_t value);

  // Primary with back buffers: the front takes the first back buffer's
  // pixels, each back buffer the next one's, the last the old front's; then
  // the new front is handed to the presenter and the flip waits as
  // WaitForVerticalBlank does.
  int32_t Flip();
  int32_t GetAttachedBackBuffer(std::shared_ptr<DDSurface>& out);

  int32_t SetPalette(std::shared_ptr<DDPalette> palette);
  int32_t SetClipper(std::shared_ptr<DDClipper> clipper);
  int32_t GetPixelFormat(PixelFormat& out) const;

 private:
  friend class DDObject;
  friend struct detail::DisplayState;
  DDSurface(std::shared_ptr<detail::DisplayState> state, int w, int h, int bpp, bool video);
  int32_t Check();
  void MarkLost();
  void HandOver();
  uint8_t* Row(int y) const;

  std::shared_ptr<detail::DisplayState> m_state;
  std::shared_ptr<detail::Storage> m_store;
  int m_width, m_height, m_bpp, m_pitch;
  bool m_video;
  bool m_primary = false;
  bool m_locked = false;
  bool m_hasKey = false;
  uint32_t m_key = 0;
  std::vector<std::shared_ptr<DDSurface>> m_chain;  // primary: its back buffers in order
  std::shared_ptr<DDPalette> m_palette;
  std::shared_ptr<DDClipper> m_clipper;
  bool m_lost = false;
};

// The display object: owns the mode, the video-memory budget and the link to
// the game window. One is alive at a time.
class DDObject {
 public:
  static int32_t Create(std::unique_ptr<DDObject>& out);
  ~DDObject();

  // Full screen takes the whole desktop with the game window (left while
  // dialog mode is on); in a window the primary is the client area.
  int32_t SetCooperativeLevel(WindowHandle window, bool fullScreen);
  // Full screen only: the depth of the surfaces made after it (8, 16, 32);
  // refreshRate 0 = any.
  int32_t SetDisplayMode(int width, int height, int bpp, int refreshRate);
  int32_t RestoreDisplayMode();

  // The primary: in a window the client area at the desktop's depth and no
  // back buffers; full screen the mode's size with 1 or 2 back buffers.
  int32_t CreatePrimary(int backBuffers, std::shared_ptr<DDSurface>& out);
  // An off-screen surface at the display's depth.
  int32_t CreateSurface(int width, int height, bool systemMemory, std::shared_ptr<DDSurface>& out);
  int32_t CreatePalette(const PalEntry entries[256], std::shared_ptr<DDPalette>& out);
  int32_t CreateClipper(std::shared_ptr<DDClipper>& out);

  // With vertical sync on a live window, waits until the presenter has shown
  // the last frame handed over; otherwise for the next tick of a 60 Hz clock.
  int32_t WaitForVerticalBlank();
  // Lets the window system's own windows show over a full-screen display
  // (the game window leaves full screen), and takes the display back.
  int32_t FlipToGDISurface();
  int32_t ResumeFullScreen();
  int GetMonitorFrequency() const;
  // Video memory in bytes.
  void GetVideoMemory(uint64_t& total, uint64_t& free) const;
  // Vertical sync of the frame hand-over (set by the drawing layer at start).
  void SetVSync(bool on);

  // Ends the object; returns how many of its surfaces, palettes and clippers
  // are still held by someone (0 when everything was released first).
  int Release();

 private:
  DDObject();
  std::shared_ptr<detail::DisplayState> m_state;
};

// The desktop's depth in bits per pixel as the window system reported it at
// its start (24 counts as 32, 15 as 16; 32 before it started), unless a test
// set its own.
int GetDesktopBpp();

// Test hooks.
// The n-th next call (0 = the next) of a step fails; DisplayStep::Create
// counts DDObject::Create calls. ClearDisplayFailures forgets all.
void FailDisplayStep(DisplayStep step, int skip = 0);
void ClearDisplayFailures();
// The video-memory budget in bytes (256 MB by default; applies to displays
// created after the call).
void SetVideoMemoryBudget(uint64_t bytes);
// Loses every video-memory surface of the live display, as a full-screen
// display does when the program loses the focus.
void LoseVideoSurfaces();
// A test's desktop depth; 0 gives the window system's back.
void SetDesktopBpp(int bpp);

namespace detail {
// The main window lost the focus: a full-screen display loses its surfaces
// (applied by the drawing thread at its next use of the display).
void OnFocusLost();
// The window system's desktop depth (bits per pixel of its desktop mode),
// noted at its start on the main thread.
void SetSystemDesktopBpp(int bpp);
}

}  // namespace plat
