// A standard MIDI file of any bytes: the check either refuses it or gives an
// image that streams whole through small buffers: every fill moves on, its
// records lie inside what it recorded, and each buffer ends with a callback.
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/midi.h"

namespace {

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cMidi player;
  player.m_strName = "bgm\\fuzz.mid";
  player.m_lpImage = player.Check(data, size);
  if (!player.m_lpImage) return 0;
  const std::vector<uint8_t>& image = *player.m_lpImage;
  if (image.size() < kMidiImageHead + 4) __builtin_trap();  // at least the end

  for (uint32_t length : {24u, 60u, 256u}) {
    std::vector<uint8_t> buffer(length);
    plat::MidiHeader header;
    header.lpData = buffer.data();
    header.nLength = length;
    size_t pos = kMidiImageHead;
    while (pos < image.size()) {
      uint32_t consumed = player.FillBuffer(static_cast<uint32_t>(pos), &header);
      if (consumed == 0 || header.nRecorded > length) __builtin_trap();
      pos += consumed;
      uint32_t offset = 0, last = 0;
      while (offset < header.nRecorded) {
        if (header.nRecorded - offset < 12) __builtin_trap();
        uint32_t word = Le32(buffer.data() + offset + 8);
        uint32_t size = 12 + ((word & MEVT_F_LONG) ? ((MidiEventParms(word) + 3) & ~3u) : 0);
        if (header.nRecorded - offset < size) __builtin_trap();
        last = offset;
        offset += size;
      }
      if (header.nRecorded && !(Le32(buffer.data() + last + 8) & MEVT_F_CALLBACK)) __builtin_trap();
    }
    if (pos != image.size()) __builtin_trap();
  }
  return 0;
}
