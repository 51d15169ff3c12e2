#pragma once
// WAV files written out by hand for the tests: a RIFF head, then chunks of
// {id, u32 size, bytes, a pad byte when the size is odd}, little-endian.
#include <cstdint>
#include <string>

namespace wavebytes {

inline std::string U16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
inline std::string U32(uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }

inline std::string Chunk(const std::string& id, const std::string& body) {
  std::string c = id + U32(static_cast<uint32_t>(body.size())) + body;
  if (body.size() % 2) c += '\0';
  return c;
}

// A "fmt " body of `size` bytes (16, 18 or more: cbSize then zero bytes).
inline std::string FmtBody(uint32_t tag, uint32_t channels, uint32_t rate, uint32_t bits, uint32_t align,
                           uint32_t size = 16) {
  std::string b = U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
  if (size >= 18) b += U16(size - 18);
  b.resize(size, '\0');
  return b;
}

inline std::string Pcm(uint32_t channels, uint32_t rate, uint32_t bits, uint32_t size = 16) {
  return Chunk("fmt ", FmtBody(1, channels, rate, bits, channels * (bits / 8), size));
}

// RIFF "WAVE" around the chunks; sizeExtra is added to the stated size.
inline std::string Riff(const std::string& chunks, int64_t sizeExtra = 0) {
  return "RIFF" + U32(static_cast<uint32_t>(4 + static_cast<int64_t>(chunks.size()) + sizeExtra)) + "WAVE" + chunks;
}

}  // namespace wavebytes
