#pragma once
// What the hardware report reads of the drawing layer: its mode and depth,
// its back end, the display's video memory and refresh rate, the DDI version
// that the Direct3D start-up checks, and the emulated 3D device's caps.
//
// The drawing layer answers by deriving from cDrawingFacts and handing its
// object to SetDrawingFacts once it is up. Until it does, cDrawingFacts
// itself answers as a stand-in: a DirectDraw display in a window at 32 bits
// with a video budget of 256 MB, the refresh rate of the desktop, and a DDI
// version of 8, below the 9 that Direct3D needs, so there is no 3D device.
// Read on the main thread (start-up and ReportDisplayInfo).
#include <cstdint>

class cDrawingFacts {
 public:
  virtual ~cDrawingFacts() = default;

  virtual int IsDirect3D();     // 1 when the emulated 3D device draws
  virtual int IsWindowMode();   // 1 in a window, 0 in full screen
  virtual int ColorBits();      // 8, 16 or 32
  virtual int HasDirectDraw();  // 1 while the software display exists
  // The display's video memory in whole MiB (only read while it exists).
  virtual void VideoMemory(int& totalMB, int& freeMB);
  virtual uint32_t MonitorFrequency();  // Hz; 0 when unknown
  // The leading number of the display driver's DDI version; 9 or more lets
  // the Direct3D back end start.
  virtual int DDIVersion();

  // The 3D device, read only while IsDirect3D is 1.
  virtual int TextureMemoryMB();                              // texture memory available
  virtual void TextureMaxSize(int& width, int& height);       // largest texture, dots
  virtual void TextureMaxBlend(int& stages, int& textures);   // blend stages, textures at once
};

// The drawing layer's answers, or the stand-in while none was set.
cDrawingFacts& DrawingFacts();
// The drawing layer (and tests) set their object here; null restores the
// stand-in. The object must live until it is replaced.
void SetDrawingFacts(cDrawingFacts* facts);
