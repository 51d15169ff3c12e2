// The OGG plug-in's memory decoder on arbitrary bytes: open, decode a bounded
// number of frames, start again from the top and decode a little more.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/vox/ogg_decoder.h"

// The system's libvorbisfile loses a few bytes of some malformed headers
// inside its open (see fuzz_ogg_lsan.supp); only that open is suppressed, so
// a leak of the plug-in's own still stops the fuzzer.
extern "C" const char* __lsan_default_suppressions() { return "leak:ov_open_callbacks\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plat::OggDecoder decoder;
  if (!decoder.Open(std::vector<uint8_t>(data, data + size))) return 0;
  const size_t channels = static_cast<size_t>(decoder.Channels());
  if (channels < 1 || channels > 2) __builtin_trap();
  std::vector<float> frames(channels * 1024);
  size_t total = 0;
  while (total < 65536) {
    const size_t got = decoder.Read(frames.data(), 1024);
    if (got == 0) break;
    if (got > 1024) __builtin_trap();
    total += got;
  }
  if (decoder.Rewind()) decoder.Read(frames.data(), 1024);
  return 0;
}
