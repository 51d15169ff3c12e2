// The text and path helpers on arbitrary bytes, in a scratch working
// directory of their own. None may read or write out of bounds, loop forever
// or crash, and they keep their promises: text that decodes converts to
// Shift-JIS and back to the same text; StripDirectory keeps an end of the
// path; an absolute path is absolute, and made relative again it is
// relative; every path names some host path.
#include <cstdint>
#include <string>

#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/path_util.h"
#include "fuzz/fuzz_support.h"
#include "platform/host_path.h"
#include "platform/text_encoding.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool EndsWith(const std::string& s, const std::string& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder scratch;
  const std::string path(reinterpret_cast<const char*>(data), size);
  std::string out;

  bool decoded = false;
  const std::string utf8 = plat::Cp932ToUtf8(path, &decoded);
  if (decoded) {
    // Characters with two codes come back as one of them: compare the text.
    bool encoded = false;
    const std::string sjis = plat::Utf8ToCp932(utf8, &encoded);
    Check(encoded && plat::Cp932ToUtf8(sjis) == utf8);
  }
  plat::Utf8ToCp932(path);
  plat::Cp932ToUtf32(path);

  std::string s = path;
  StripDirectory(s);
  Check(s.size() <= path.size() && EndsWith(path, s));

  ReplaceExtension(out, path, "stg4");
  ReplaceExtension(out, path, nullptr);
  GetExtension(out, path);
  MakeNumberedName(out, path, 1, 2);
  s = path;
  StripExtension(s);
  Check(s.size() <= path.size());

  s = path;
  if (MakeAbsolutePath(s)) {
    Check(!IsRelativePath(s));
    if (MakeRelativePath(s)) Check(IsRelativePath(s));
  }
  CountChars(path.c_str());
  plat::SplitPath(path);
  Check(!plat::HostPath(path).empty());

  if (size >= 8) {
    int value, width;
    __builtin_memcpy(&value, data, 4);
    __builtin_memcpy(&width, data + 4, 4);
    IntToText(out, value, width, data[0] & 1, data[0] & 2);
    RandomRange(value, width);
    CountDigits(value);
  }
  return 0;
}
