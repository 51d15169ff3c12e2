#include "media/wave_file.h"

#include <cstring>
#include <string>

#include "platform/host_path.h"

namespace {

// A little-endian view of the image; every read is checked by its caller
// against the end it walks to.
struct Bytes {
  const uint8_t* p;
  size_t size;
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(p[at] | (p[at + 1] << 8)); }
  uint32_t U32(size_t at) const {
    return static_cast<uint32_t>(p[at]) | (static_cast<uint32_t>(p[at + 1]) << 8) |
           (static_cast<uint32_t>(p[at + 2]) << 16) | (static_cast<uint32_t>(p[at + 3]) << 24);
  }
  bool Is(size_t at, const char* id) const { return std::memcmp(p + at, id, 4) == 0; }
};

struct Chunk {
  size_t data = 0;  // offset of its first data byte
  uint32_t size = 0;
};

// Looks for chunk `id` from *pos on, up to end. Found: *pos moves past it
// (and its pad byte). Not found, or a chunk on the way runs past end: false.
bool FindChunk(const Bytes& b, size_t end, size_t* pos, const char* id, Chunk* out) {
  size_t at = *pos;
  while (end >= 8 && at <= end - 8) {
    const uint32_t size = b.U32(at + 4);
    const size_t data = at + 8;
    if (size > end - data) return false;
    const size_t next = data + size + (size & 1);
    if (b.Is(at, id)) {
      out->data = data;
      out->size = size;
      *pos = next;
      return true;
    }
    at = next;
  }
  return false;
}

}  // namespace

bool DS_ParseWave(const void* bytes, size_t size, WAVEDATA* out) {
  if (!bytes || !out || size < 12) return false;
  const Bytes b{static_cast<const uint8_t*>(bytes), size};
  if (!b.Is(0, "RIFF") || !b.Is(8, "WAVE")) return false;
  const uint64_t riffEnd = 8 + static_cast<uint64_t>(b.U32(4));
  const size_t end = riffEnd < size ? static_cast<size_t>(riffEnd) : size;
  size_t pos = 12;

  Chunk fmt;
  if (!FindChunk(b, end, &pos, "fmt ", &fmt) || fmt.size < 16) return false;
  WAVEFORMATDATA wfx;
  wfx.wFormatTag = b.U16(fmt.data);
  wfx.nChannels = b.U16(fmt.data + 2);
  wfx.nSamplesPerSec = b.U32(fmt.data + 4);
  wfx.nAvgBytesPerSec = b.U32(fmt.data + 8);
  wfx.nBlockAlign = b.U16(fmt.data + 12);
  wfx.wBitsPerSample = b.U16(fmt.data + 14);
  if (fmt.size >= 18) wfx.cbSize = b.U16(fmt.data + 16);
  if (wfx.wFormatTag != 1) return false;
  if (wfx.nChannels == 0 || wfx.nSamplesPerSec == 0 || wfx.nBlockAlign == 0) return false;
  if (wfx.nBlockAlign != wfx.nChannels * (wfx.wBitsPerSample / 8)) return false;

  Chunk data;
  if (!FindChunk(b, end, &pos, "data", &data)) return false;
  out->wfx = wfx;
  out->vData.assign(b.p + data.data, b.p + data.data + data.size);
  return true;
}

bool DS_ReadWave(const char* file, WAVEDATA* out) {
  if (!file || !out) return false;
  std::string bytes;
  if (!plat::ReadWholeFile(file, bytes)) return false;
  return DS_ParseWave(bytes.data(), bytes.size(), out);
}

void DS_FreeWave(WAVEDATA* wave) {
  if (!wave) return;
  std::vector<uint8_t>().swap(wave->vData);
}
