#pragma once
// What the hardware report reads of the drawing layer: its mode and depth,
// its back end, the display's video memory and refresh rate, the DDI version
// that the Direct3D start-up checks, and the 3D device's caps.
//
// cDrawingFacts answers from the drawing layer's state; tests hand their own
// answers to SetDrawingFacts. Read on the main thread (start-up and
// ReportDisplayInfo).
#include <cstdint>

class cDrawingFacts {
 public:
  virtual ~cDrawingFacts() = default;

  virtual int IsDirect3D();     // 1 when the 3D device draws
  virtual int IsWindowMode();   // 1 in a window, 0 in full screen
  virtual int ColorBits();      // 8, 16 or 32; 0 before the layer starts
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

// The drawing layer's answers, or those a test set.
cDrawingFacts& DrawingFacts();
// Tests set their object here; null gives the drawing layer's back. The
// object must live until it is replaced.
void SetDrawingFacts(cDrawingFacts* facts);
