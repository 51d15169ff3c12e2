#pragma once
// Ogg Vorbis decoded from a file held whole in memory. Part of the OGG
// plug-in (libvox.so), and of its fuzz target and benchmark; the program
// itself never links it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat {

class OggDecoder {
 public:
  // Files larger than this are refused unread.
  static constexpr uint64_t kMaxFileBytes = 256ull * 1024 * 1024;

  OggDecoder();
  ~OggDecoder();
  OggDecoder(const OggDecoder&) = delete;
  OggDecoder& operator=(const OggDecoder&) = delete;

  // Takes the bytes and opens them. False, holding nothing, when libvorbisfile
  // cannot open them, or the first section is not of 1 or 2 channels at
  // 100..200000 frames a second.
  bool Open(std::vector<uint8_t> bytes);
  // Reads the file at a host path whole (at most kMaxFileBytes) and opens it.
  bool OpenFile(const std::string& hostPath);
  void Close();
  bool IsOpen() const;

  int32_t Rate() const;      // frames a second; 0 when closed
  int32_t Channels() const;  // 1 or 2; 0 when closed

  // Decodes up to `frames` interleaved float frames (Channels() values each)
  // into `out`; returns the frames written, 0 at the end of the file or on
  // damage past which nothing decodes. A later section with another channel
  // count is fitted to the first one's.
  size_t Read(float* out, size_t frames);
  // Back to the first frame; false when the file cannot seek there.
  bool Rewind();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace plat
