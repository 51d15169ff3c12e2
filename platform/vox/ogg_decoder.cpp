#include "platform/vox/ogg_decoder.h"

#include <sys/stat.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace plat {
namespace {

// The file as libvorbisfile reads it: a cursor over our own bytes.
struct MemorySource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
};

size_t MemRead(void* ptr, size_t size, size_t count, void* source) {
  auto* m = static_cast<MemorySource*>(source);
  if (size == 0 || count == 0) return 0;
  const size_t left = m->size - m->pos;
  const size_t items = std::min(count, left / size);
  if (items == 0) return 0;
  std::memcpy(ptr, m->data + m->pos, items * size);
  m->pos += items * size;
  return items;
}

int MemSeek(void* source, ogg_int64_t offset, int whence) {
  auto* m = static_cast<MemorySource*>(source);
  ogg_int64_t base = 0;
  if (whence == SEEK_CUR) base = static_cast<ogg_int64_t>(m->pos);
  else if (whence == SEEK_END) base = static_cast<ogg_int64_t>(m->size);
  else if (whence != SEEK_SET) return -1;
  // Both operands lie within the file or come from the stream's own fields;
  // keep the sum from overflowing all the same.
  if (offset > 0 && base > INT64_MAX - offset) return -1;
  const ogg_int64_t to = base + offset;
  if (to < 0 || static_cast<uint64_t>(to) > m->size) return -1;
  m->pos = static_cast<size_t>(to);
  return 0;
}

long MemTell(void* source) { return static_cast<long>(static_cast<MemorySource*>(source)->pos); }

constexpr int32_t kMinRate = 100;
constexpr int32_t kMaxRate = 200000;
// Holes in a row after which a damaged file counts as ended.
constexpr int kMaxHoles = 64;
constexpr int kChunkFrames = 4096;

}  // namespace

struct OggDecoder::Impl {
  std::vector<uint8_t> bytes;
  MemorySource source;
  OggVorbis_File file;
  int32_t rate = 0;
  int32_t channels = 0;
  bool ended = false;
};

OggDecoder::OggDecoder() = default;

OggDecoder::~OggDecoder() { Close(); }

bool OggDecoder::Open(std::vector<uint8_t> bytes) {
  Close();
  auto impl = std::make_unique<Impl>();
  impl->bytes = std::move(bytes);
  impl->source.data = impl->bytes.data();
  impl->source.size = impl->bytes.size();
  ov_callbacks callbacks = {MemRead, MemSeek, nullptr, MemTell};
  // A failed open clears the file itself.
  if (ov_open_callbacks(&impl->source, &impl->file, nullptr, 0, callbacks) != 0) return false;
  const vorbis_info* info = ov_info(&impl->file, -1);
  if (!info || info->channels < 1 || info->channels > 2 || info->rate < kMinRate || info->rate > kMaxRate) {
    ov_clear(&impl->file);
    return false;
  }
  impl->rate = static_cast<int32_t>(info->rate);
  impl->channels = info->channels;
  m_impl = std::move(impl);
  return true;
}

bool OggDecoder::OpenFile(const std::string& hostPath) {
  Close();
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode) || static_cast<uint64_t>(st.st_size) > kMaxFileBytes) {
    std::fclose(f);
    return false;
  }
  // The size is a hint only: the file may change while it is read.
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  bool ok = true;
  for (;;) {
    const size_t got = std::fread(chunk, 1, sizeof(chunk), f);
    if (got > 0) {
      if (bytes.size() + got > kMaxFileBytes) {
        ok = false;
        break;
      }
      bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (got < sizeof(chunk)) {
      ok = !std::ferror(f);
      break;
    }
  }
  std::fclose(f);
  return ok && Open(std::move(bytes));
}

void OggDecoder::Close() {
  if (!m_impl) return;
  ov_clear(&m_impl->file);
  m_impl.reset();
}

bool OggDecoder::IsOpen() const { return m_impl != nullptr; }

int32_t OggDecoder::Rate() const { return m_impl ? m_impl->rate : 0; }

int32_t OggDecoder::Channels() const { return m_impl ? m_impl->channels : 0; }

size_t OggDecoder::Read(float* out, size_t frames) {
  if (!m_impl || m_impl->ended) return 0;
  const size_t ch = static_cast<size_t>(m_impl->channels);
  size_t done = 0;
  int holes = 0;
  while (done < frames) {
    float** pcm = nullptr;
    int link = 0;
    const int want = static_cast<int>(std::min<size_t>(frames - done, kChunkFrames));
    const long got = ov_read_float(&m_impl->file, &pcm, want, &link);
    if (got == OV_HOLE && ++holes <= kMaxHoles) continue;
    if (got <= 0 || got > want) {
      m_impl->ended = true;
      break;
    }
    holes = 0;
    const vorbis_info* info = ov_info(&m_impl->file, link);
    const int have = info && info->channels > 0 ? info->channels : 1;
    float* dst = out + done * ch;
    for (size_t c = 0; c < ch; ++c) {
      const float* src = pcm[std::min<int>(static_cast<int>(c), have - 1)];
      for (long i = 0; i < got; ++i) dst[static_cast<size_t>(i) * ch + c] = src[i];
    }
    done += static_cast<size_t>(got);
  }
  return done;
}

bool OggDecoder::Rewind() {
  if (!m_impl) return false;
  if (ov_pcm_seek(&m_impl->file, 0) != 0) return false;
  m_impl->ended = false;
  return true;
}

}  // namespace plat
