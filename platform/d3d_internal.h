#pragma once
// Inside platform/ only: the pixels of the 3D device's surfaces, the state
// shared by a device and what it made, and the rasteriser.
#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include <mutex>
#include <vector>

#include "platform/d3d_device.h"

namespace plat::detail {

// The storage of surface pixels. A new surface reads as zeros; large ones
// take their own fresh pages, which count in the process's memory only once
// drawn on, so a texture or work surface made bigger than what is drawn
// into it costs no more than what is drawn.
template <class T>
struct ZeroPageAllocator {
  using value_type = T;
  static constexpr size_t kOwnPages = 256 * 1024;

  ZeroPageAllocator() = default;
  template <class U>
  ZeroPageAllocator(const ZeroPageAllocator<U>&) {}

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes >= kOwnPages) {
      void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (p == MAP_FAILED) throw std::bad_alloc();
      return static_cast<T*>(p);
    }
    void* p = std::calloc(n ? n : 1, sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) >= kOwnPages)
      munmap(p, n * sizeof(T));
    else
      std::free(p);
  }
  // Elements made without a value keep the zeros they were given, untouched.
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  friend bool operator==(const ZeroPageAllocator&, const ZeroPageAllocator&) { return true; }
};

// A number never handed out twice in a run (never 0).
uint64_t NextD3DSerial();

// The bounding rectangle of two (an empty one adds nothing), and whether
// `inner` lies inside `outer` (an empty one always does).
Rect UniteRects(const Rect& a, const Rect& b);
bool RectInside(const Rect& inner, const Rect& outer);

struct D3DPixels {
  D3DFormat format = D3DFormat::Unknown;
  int width = 0, height = 0;
  int bytesPerPixel = 0;
  int pitch = 0;
  std::vector<uint8_t, ZeroPageAllocator<uint8_t>> bytes;
  // Nothing was written since it was made: every byte still reads 0. Any
  // way to write (Row, a lock, a copy) clears it.
  bool zero = true;

  // Which copies of a render target a system surface still holds, so that
  // reading it back again copies only what was drawn since. A render
  // target's copy lives in the system surface `copyId` taken at its
  // `syncSerial` == copySerial; it matches the target inside `known` except
  // where `changed` says the target was written since. For a system
  // surface, `changed` is what its own locks may have written since it took
  // a copy.
  uint64_t id = NextD3DSerial();
  uint64_t syncSerial = 0;
  uint64_t copyId = 0, copySerial = 0;
  Rect known;
  Rect changed;

  Rect Bounds() const { return Rect{0, 0, width, height}; }
  // The pixels of `r` (null: all) may have been written.
  void MarkChanged(const Rect* r) { changed = UniteRects(changed, r ? *r : Bounds()); }

  uint8_t* Row(int y) {
    zero = false;
    return bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch);
  }
  const uint8_t* Row(int y) const { return bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(pitch); }
};

// Loss of the device: running, lost, or lost and ready to be reset.
enum class D3DLoss : int { Running = 0, Lost = 1, NotReset = 2 };

// Shared by a device and every resource it made; resources keep it alive
// after the device is gone.
struct D3DState {
  std::mutex mutex;  // the budget
  uint64_t budget = 0;
  uint64_t used = 0;
  std::atomic<int> defaultResources{0};  // default-pool surfaces alive (not the back buffer)
  std::atomic<int> loss{static_cast<int>(D3DLoss::Running)};
  bool fullScreen = false;

  D3DLoss Loss() const { return static_cast<D3DLoss>(loss.load()); }
  bool Lost() const { return Loss() != D3DLoss::Running; }
};

// --- the test hooks, as the device reads them ---

// True (with the result to return) when a hook makes this call fail.
bool D3DCallFails(D3DCall call, int32_t& result);
D3DCaps CurrentD3DCaps();
uint64_t D3DVideoMemory();
bool D3DHardwareRefused();
bool D3DFastPath();
bool D3DWideVectors();
int D3DRefreshOverride();  // 0: none

// --- pixels in each format, as ARGB 8888 ---

inline uint32_t Widen5(uint32_t v) { return v << 3 | v >> 2; }
inline uint32_t Widen6(uint32_t v) { return v << 2 | v >> 4; }

inline uint32_t ReadPixel(D3DFormat f, const uint8_t* row, int x) {
  switch (f) {
    case D3DFormat::A8R8G8B8: {
      uint32_t p;
      std::memcpy(&p, row + 4 * x, 4);
      return p;
    }
    case D3DFormat::X8R8G8B8: {
      uint32_t p;
      std::memcpy(&p, row + 4 * x, 4);
      return p | 0xFF000000u;
    }
    case D3DFormat::R5G6B5: {
      uint16_t p;
      std::memcpy(&p, row + 2 * x, 2);
      return 0xFF000000u | Widen5(p >> 11) << 16 | Widen6((p >> 5) & 63) << 8 | Widen5(p & 31);
    }
    case D3DFormat::A1R5G5B5: {
      uint16_t p;
      std::memcpy(&p, row + 2 * x, 2);
      return (p & 0x8000 ? 0xFF000000u : 0) | Widen5((p >> 10) & 31) << 16 | Widen5((p >> 5) & 31) << 8 |
             Widen5(p & 31);
    }
    default: return 0;
  }
}

inline void WritePixel(D3DFormat f, uint8_t* row, int x, uint32_t argb) {
  switch (f) {
    case D3DFormat::A8R8G8B8: std::memcpy(row + 4 * x, &argb, 4); break;
    case D3DFormat::X8R8G8B8: {
      const uint32_t p = argb | 0xFF000000u;
      std::memcpy(row + 4 * x, &p, 4);
      break;
    }
    case D3DFormat::R5G6B5: {
      const uint16_t p = static_cast<uint16_t>((argb >> 19 & 31) << 11 | (argb >> 10 & 63) << 5 | (argb >> 3 & 31));
      std::memcpy(row + 2 * x, &p, 2);
      break;
    }
    case D3DFormat::A1R5G5B5: {
      const uint16_t p = static_cast<uint16_t>((argb >> 31) << 15 | (argb >> 19 & 31) << 10 | (argb >> 11 & 31) << 5 |
                                               (argb >> 3 & 31));
      std::memcpy(row + 2 * x, &p, 2);
      break;
    }
    default: break;
  }
}

// --- the rasteriser ---

// What stage 0 and the blend do with every pixel of a draw.
struct D3DPixelState {
  uint32_t colorOp = D3DTOP_MODULATE, colorArg1 = D3DTA_TEXTURE, colorArg2 = D3DTA_CURRENT;
  uint32_t alphaOp = D3DTOP_SELECTARG1, alphaArg1 = D3DTA_TEXTURE, alphaArg2 = D3DTA_CURRENT;
  uint32_t textureFactor = 0xFFFFFFFF;
  bool blend = false;
  uint32_t cullMode = D3DCULL_NONE;
  const D3DPixels* texture = nullptr;  // level 0 of the bound texture, or none
};

// One vertex as the vertex buffer holds it.
struct D3DVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};
static_assert(sizeof(D3DVertex) == 28);

// Draws triangles of a list or strip (vertices already gathered in order)
// into the target.
void RasterizePrimitives(D3DPixels& target, const D3DPixelState& state, uint32_t type, const D3DVertex* vertices,
                         uint32_t primitiveCount, bool fastPath, D3DDrawCounts& counts);

}  // namespace plat::detail
