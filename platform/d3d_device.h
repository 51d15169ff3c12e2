#pragma once
// The emulated 3D device: textures and plain surfaces of four formats in
// three pools, vertex and 16-bit index buffers, render targets, clears,
// and textured, blended triangles drawn by a deterministic software
// rasteriser, presented through the presenter (platform/presenter.h). It
// holds exactly what the drawing layer's 3D back end uses, and draws the
// same pixels on every machine.
//
// Rasterising: vertex positions are snapped to 1/256 pixel; a pixel is
// drawn when its centre (x, y) lies inside the triangle by integer edge
// functions, an edge through the centre counting only for a top or left
// edge, so a quad's two triangles and neighbouring quads cover each pixel
// once. Texture coordinates and colours are interpolated in double at the
// pixel centre from the triangle's planes, taken at its second vertex for
// an even triangle of a strip and at its first for an odd one (so that both
// triangles of a quad compute the same values); the texel is
// floor(u * width), floor(v * height), wrapped. An axis-aligned quad of a
// strip takes a fast path that gives the same pixels.
//
// Per pixel: stage 0 makes a colour and an alpha from its arguments
// (texture, diffuse, texture factor; at stage 0 "current" is the diffuse):
//   SELECTARG1 a1, SELECTARG2 a2, MODULATE (a1 * a2 + 127) / 255,
//   ADD min(a1 + a2, 255), SUBTRACT max(a1 - a2, 0),
//   BLENDFACTORALPHA (a1 * A + a2 * (255 - A) + 127) / 255 with A the alpha
//   of the texture factor; DISABLE as the colour operation gives the diffuse
//   colour, as the alpha operation the diffuse alpha; any other operation
//   works as MODULATE.
// Then, with blending on, each of the four channels of the target becomes
//   (s * a + d * (255 - a) + 127) / 255, a the source alpha
// (source alpha and inverse source alpha are the only factors). 5- and
// 6-bit channels widen by replicating their top bits and narrow by
// truncation; an A1R5G5B5 alpha of 128 or more stores as 1; X8R8G8B8 reads
// and writes alpha 255.
//
// Threads: one thread draws (the game thread); the main thread resets the
// device and switches dialog mode while the drawing thread waits for it.
// Losses come from any thread (focus changes on the main thread).
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bmp_image.h"
#include "platform/d3d_types.h"
#include "platform/rect.h"

namespace plat {

namespace detail {
struct D3DState;
struct D3DPixels;
}  // namespace detail

class D3DDevice;

// A surface: a texture's level, the device's back buffer, or a plain
// system-memory surface.
class D3DSurface {
 public:
  ~D3DSurface();
  D3DSurface(const D3DSurface&) = delete;
  D3DSurface& operator=(const D3DSurface&) = delete;

  int Width() const;
  int Height() const;
  D3DSurfaceDesc GetDesc() const;

  // The whole surface (bits of pixel (0, 0)); with an area the caller
  // writes only inside it. Refused while locked, and for the default pool
  // while the device is lost.
  int32_t LockRect(D3DLockedRect& out, const Rect* area = nullptr);
  int32_t UnlockRect();

  // Inside platform/: the pixels.
  detail::D3DPixels& Pixels() const { return *m_pixels; }

 private:
  friend class D3DDevice;
  friend class D3DTexture;
  D3DSurface(std::shared_ptr<detail::D3DState> state, int w, int h, D3DFormat format, D3DPool pool,
             uint32_t usage, bool backBuffer);
  std::shared_ptr<detail::D3DState> m_state;
  std::unique_ptr<detail::D3DPixels> m_pixels;
  D3DPool m_pool;
  uint32_t m_usage;
  bool m_backBuffer;
  bool m_locked = false;
};

// A texture of one level.
class D3DTexture {
 public:
  int32_t GetSurfaceLevel(int level, std::shared_ptr<D3DSurface>& out) const;
  int32_t GetLevelDesc(int level, D3DSurfaceDesc& out) const;
  int Width() const { return m_level0->Width(); }
  int Height() const { return m_level0->Height(); }
  const std::shared_ptr<D3DSurface>& Level0() const { return m_level0; }

 private:
  friend class D3DDevice;
  explicit D3DTexture(std::shared_ptr<D3DSurface> level0) : m_level0(std::move(level0)) {}
  std::shared_ptr<D3DSurface> m_level0;
};

// Vertex and index buffers: plain bytes (indices are 16-bit).
class D3DBuffer {
 public:
  // A pointer to `size` bytes from `offset` (size 0: to the end); refused
  // outside the buffer or while locked.
  int32_t Lock(uint32_t offset, uint32_t size, void** out);
  int32_t Unlock();
  uint32_t Size() const { return static_cast<uint32_t>(m_bytes.size()); }
  const uint8_t* Data() const { return m_bytes.data(); }

 private:
  friend class D3DDevice;
  explicit D3DBuffer(uint32_t size) : m_bytes(size, 0) {}
  std::vector<uint8_t> m_bytes;
  bool m_locked = false;
};
class D3DVertexBuffer : public D3DBuffer {
  friend class D3DDevice;
  using D3DBuffer::D3DBuffer;
};
class D3DIndexBuffer : public D3DBuffer {
  friend class D3DDevice;
  using D3DBuffer::D3DBuffer;
};

class D3DDevice {
 public:
  ~D3DDevice();
  D3DDevice(const D3DDevice&) = delete;
  D3DDevice& operator=(const D3DDevice&) = delete;

  // Lets go of the game window (the presenter shows no more of its frames);
  // before the device goes, while the presenter still runs.
  void Release();

  // D3D_OK, D3DERR_DEVICELOST while lost, D3DERR_DEVICENOTRESET once the
  // device may be reset.
  int32_t TestCooperativeLevel();
  // Only once the device may be reset (or is running), and only when no
  // default-pool resource lives outside the device; the render states
  // return to their defaults, the back buffer is new and black.
  int32_t Reset(D3DPresentParams& params);
  // Hands the back buffer to the presenter (it keeps its pixels); with the
  // default interval then waits for the shown frame. D3DERR_DEVICELOST while lost.
  int32_t Present();
  int32_t BeginScene();
  int32_t EndScene();

  // Clears the rectangle (null: the whole render target), cut to the
  // render target, with an ARGB colour.
  int32_t Clear(const Rect* rect, uint32_t argb);
  // Index 0 only; the surface must be a render target.
  int32_t SetRenderTarget(int index, const std::shared_ptr<D3DSurface>& surface);
  int32_t GetBackBuffer(std::shared_ptr<D3DSurface>& out);

  int32_t SetRenderState(uint32_t state, uint32_t value);
  int32_t SetTextureStageState(int stage, uint32_t type, uint32_t value);
  int32_t SetSamplerState(int sampler, uint32_t type, uint32_t value);
  int32_t SetTexture(int stage, const std::shared_ptr<D3DTexture>& texture);
  int32_t SetStreamSource(int stream, const std::shared_ptr<D3DVertexBuffer>& buffer, uint32_t offset,
                          uint32_t stride);
  int32_t SetFVF(uint32_t fvf);
  int32_t SetIndices(std::shared_ptr<D3DIndexBuffer> buffer);
  // Triangle lists and strips from the stream source (stride 28, FVF 0x144).
  int32_t DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount);
  int32_t DrawIndexedPrimitive(uint32_t type, int baseVertex, uint32_t minIndex, uint32_t numVertices,
                               uint32_t startIndex, uint32_t primitiveCount);

  // Render targets must be in the default pool; sides within the caps.
  int32_t CreateTexture(int width, int height, int levels, uint32_t usage, D3DFormat format, D3DPool pool,
                        std::shared_ptr<D3DTexture>& out);
  int32_t CreateOffscreenPlainSurface(int width, int height, D3DFormat format, D3DPool pool,
                                      std::shared_ptr<D3DSurface>& out);
  int32_t CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPool pool,
                             std::shared_ptr<D3DVertexBuffer>& out);
  int32_t CreateIndexBuffer(uint32_t length, uint32_t usage, D3DPool pool, std::shared_ptr<D3DIndexBuffer>& out);
  // Render target to a system-memory surface of its size and format, and back;
  // with a rectangle (cut to the surface) only its pixels are copied.
  int32_t GetRenderTargetData(D3DSurface& renderTarget, D3DSurface& systemSurface, const Rect* rect = nullptr);
  int32_t UpdateSurface(D3DSurface& systemSurface, D3DSurface& target, const Rect* rect = nullptr);

  // Full screen: lets the window system's own windows show over the display.
  int32_t SetDialogBoxMode(bool on);
  // Video memory left in bytes.
  uint64_t GetAvailableTextureMem() const;
  D3DDrawCounts DrawCounts() const;
  const D3DPresentParams& PresentParams() const;

 private:
  friend class D3DObject;
  D3DDevice();
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// The 3D object: the adapter's mode and caps, and the device.
class D3DObject {
 public:
  // Null when the 3D device cannot be had (a test hook).
  static std::unique_ptr<D3DObject> Create();
  int32_t GetAdapterDisplayMode(D3DDisplayMode& out) const;
  int32_t GetDeviceCaps(D3DCaps& out) const;
  // `behaviour` holds one of the vertex-processing bits. The parameters are
  // filled in (a window's back-buffer size). One device lives at a time.
  int32_t CreateDevice(WindowHandle focus, uint32_t behaviour, D3DPresentParams& params,
                       std::unique_ptr<D3DDevice>& out);
};

// A texture of the effects library's kind: the sides are cut to the caps'
// limits first. levels is 1.
int32_t CreateFittedTexture(D3DDevice& device, int width, int height, uint32_t usage, D3DFormat format,
                            D3DPool pool, std::shared_ptr<D3DTexture>& out);
// A texture of width x height (cut to the caps' limits) holding a decoded
// image at its top left, unfiltered; pixels of the colour key (an opaque
// ARGB colour; 0 = none) and the padding become transparent black.
int32_t CreateTextureFromImage(D3DDevice& device, const BmpImage& image, int width, int height, uint32_t usage,
                               D3DFormat format, D3DPool pool, uint32_t colorKey,
                               std::shared_ptr<D3DTexture>& out);

// The display's refresh rate in Hz (60 when the window system does not
// tell), and whether it runs at `hz` (it is read, never changed).
int GetDisplayRefreshRate();
bool DisplayRunsAt(int hz);

// The driver level of the 3D device (9).
int GetDDIVersion();

// --- test hooks ---

// Calls that can be made to fail.
enum class D3DCall {
  Create, CreateDevice, CreateTexture, CreateOffscreenPlainSurface, CreateVertexBuffer, CreateIndexBuffer,
  LockBuffer, BeginScene, SetRenderTarget, LockRect, GetRenderTargetData, UpdateSurface, SetDialogBoxMode,
  Present, Reset, Count
};
// The n-th next call (0 = the next) of `call` fails with `result`.
void FailD3DCall(D3DCall call, int32_t result, int skip = 0);
// Forgets failures, caps, memory, refusals, driver level, refresh rate and
// the fast-path and vector switches (back to the defaults).
void ResetD3DHooks();
void SetD3DCaps(const D3DCaps& caps);
// Video memory of devices made after the call (256 MB by default).
void SetD3DVideoMemory(uint64_t bytes);
// Device creation with hardware vertex processing fails.
void RefuseD3DHardwareVertexProcessing(bool refuse);
void SetDDIVersion(int version);
// 0 asks the window system again.
void SetDisplayRefreshRate(int hz);
// Off: axis-aligned quads go through the triangle path too.
void SetD3DFastPath(bool on);
// Off: the rasteriser keeps to the vectors every x86-64 processor has, as
// it does on one without the wider ones (the pixels are the same).
void SetD3DWideVectors(bool on);
// The live device is lost (as a full-screen one is when the program loses
// the focus), and then may be reset (as when it comes back).
void LoseD3DDevice();
void AllowD3DDeviceReset();
// Default-pool surfaces and textures of the live device that are alive
// (the back buffer not counted).
int CountD3DDefaultResources();

namespace detail {
// The main window lost or gained the focus: a full-screen device is lost,
// and may be reset once the focus comes back.
void OnD3DFocusLost();
void OnD3DFocusGained();
}  // namespace detail

}  // namespace plat
