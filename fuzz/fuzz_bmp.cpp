// The BMP decoder on arbitrary bytes: it refuses or decodes, never reads out
// of bounds, and a decoded image is as large as it says. A decoded image
// also becomes a texture of the 3D device at both depths, keyed, in a size
// rounded up to powers of two and cut to the card's limit, as the drawing
// layer makes it.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/bmp_image.h"
#include "platform/d3d_device.h"

namespace {

constexpr int kMaxSide = 1024;

// Made once and kept to the end: nothing is torn down after the run.
plat::D3DDevice& Device() {
  static std::unique_ptr<plat::D3DObject> object;
  static plat::D3DDevice* device = nullptr;
  if (!device) {
    plat::D3DCaps caps;
    caps.maxTextureWidth = caps.maxTextureHeight = kMaxSide;
    caps.pow2 = true;
    plat::SetD3DCaps(caps);
    object = plat::D3DObject::Create();
    plat::D3DPresentParams p;
    p.backBufferWidth = 8;
    p.backBufferHeight = 8;
    p.backBufferFormat = plat::D3DFormat::X8R8G8B8;
    std::unique_ptr<plat::D3DDevice> made;
    if (!object || object->CreateDevice(plat::WindowHandle{}, plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, p, made))
      std::abort();
    device = made.release();
  }
  return *device;
}

int RoundUp(int v) {
  int p = 1;
  while (p < v && p < kMaxSide) p <<= 1;
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plat::BmpImage img;
  if (plat::DecodeBmp(data, size, img) != plat::BmpStatus::Ok) return 0;
  const size_t count = static_cast<size_t>(img.width) * static_cast<size_t>(img.height);
  if ((img.indexed ? img.indices.size() : img.pixels.size()) != count) std::abort();
  uint32_t sum = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) sum += img.Colour(x, y);

  const uint32_t key = 0xFF000000u | img.Colour(0, 0);
  for (plat::D3DFormat format : {plat::D3DFormat::A8R8G8B8, plat::D3DFormat::A1R5G5B5}) {
    std::shared_ptr<plat::D3DTexture> texture;
    if (plat::CreateTextureFromImage(Device(), img, RoundUp(img.width), RoundUp(img.height), 0, format,
                                     plat::D3DPool::Managed, key, texture) != plat::D3D_OK)
      std::abort();
    if (texture->Width() > kMaxSide || texture->Height() > kMaxSide) std::abort();
    plat::D3DLockedRect lock;
    if (texture->Level0()->LockRect(lock) != plat::D3D_OK) std::abort();
    // The key colour became transparent black.
    if (format == plat::D3DFormat::A8R8G8B8 && *reinterpret_cast<const uint32_t*>(lock.bits) != 0) std::abort();
    texture->Level0()->UnlockRect();
  }
  return static_cast<int>(sum & 0);
}
