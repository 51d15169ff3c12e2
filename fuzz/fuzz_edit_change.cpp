// The edit control's limit rule on arbitrary texts, selections and limits: it
// must end, never read or write out of bounds, and always hand back a
// selection that lies within the text.
//
// Input: flags (bit 0 double-byte counting, bit 1 Backspace held, bit 2
// initialising), capacity, characters per line and lines (signed bytes),
// selection start and end (signed 16-bit, little-endian), the length of the
// previous text, the previous text, the current text.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/edit_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 9) return 0;
  EditLimits limits;
  limits.bDbcs = data[0] & 1;
  const bool backspace = (data[0] & 2) != 0;
  const bool initialising = (data[0] & 4) != 0;
  limits.nCapacity = static_cast<int8_t>(data[1]);
  limits.nLineChars = static_cast<int8_t>(data[2]);
  limits.nLines = static_cast<int8_t>(data[3]);
  int16_t start, end;
  std::memcpy(&start, data + 4, 2);
  std::memcpy(&end, data + 6, 2);
  size_t previousLength = data[8];
  const char* text = reinterpret_cast<const char*>(data + 9);
  size_t left = size - 9;
  if (previousLength > left) previousLength = left;
  std::string previous(text, previousLength);
  std::string current(text + previousLength, left - previousLength);

  EditState out = LimitEditChange(previous, current, start, end, limits, backspace, initialising);
  const int length = static_cast<int>(out.text.size());
  if (out.nSelStart < 0 || out.nSelStart > length || out.nSelEnd < 0 || out.nSelEnd > length) __builtin_trap();
  return 0;
}
