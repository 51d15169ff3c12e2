// The text and path helpers on arbitrary bytes: none may read or write out of
// bounds, loop forever or crash, whatever the path holds.
#include <cstdint>
#include <string>

#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/path_util.h"
#include "platform/host_path.h"
#include "platform/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path(reinterpret_cast<const char*>(data), size);
  std::string out;

  std::string s = path;
  StripDirectory(s);
  ReplaceExtension(out, path, "stg4");
  ReplaceExtension(out, path, nullptr);
  GetExtension(out, path);
  MakeNumberedName(out, path, 1, 2);
  s = path;
  StripExtension(s);
  s = path;
  MakeAbsolutePath(s);
  MakeRelativePath(s);
  CountChars(path.c_str());
  plat::SplitPath(path);
  plat::HostPath(path);
  plat::Cp932ToUtf8(path);
  plat::Utf8ToCp932(path);
  plat::Cp932ToUtf32(path);

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
