#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace plat {
namespace {

size_t SkipOneByte(const char*, size_t) { return 1; }

// The length of the UTF-8 sequence that starts at p (at least 1).
size_t SkipUtf8Sequence(const char* p, size_t left) {
  unsigned char c = static_cast<unsigned char>(*p);
  size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return len > left ? left : len;
}

enum Direction { CP932_TO_UTF8, UTF8_TO_CP932, CP932_TO_UTF32, DIRECTION_COUNT };

// One conversion handle per direction and thread, opened on first use:
// opening one loads the conversion tables, which costs far more than a
// conversion, and file names are converted part by part.
struct Handles {
  iconv_t cd[DIRECTION_COUNT] = {(iconv_t)-1, (iconv_t)-1, (iconv_t)-1};
  size_t opened = 0;
  ~Handles() {
    for (iconv_t h : cd)
      if (h != (iconv_t)-1) iconv_close(h);
  }
};
thread_local Handles t_handles;

iconv_t Handle(Direction d, const char* to, const char* from) {
  iconv_t& h = t_handles.cd[d];
  if (h == (iconv_t)-1) {
    h = iconv_open(to, from);
    if (h != (iconv_t)-1) ++t_handles.opened;
  }
  return h;
}

// Converts with iconv. Input that cannot be converted is skipped (`skip`
// tells how many bytes) and `bad` is written in its place.
template <class Out>
Out Convert(Direction direction, const char* to, const char* from, const std::string& in,
            const Out& bad, size_t (*skip)(const char*, size_t), bool* ok) {
  using Unit = typename Out::value_type;
  Out out;
  if (ok) *ok = true;
  iconv_t cd = Handle(direction, to, from);
  if (cd == (iconv_t)-1) {
    if (ok) *ok = false;
    return out;
  }
  iconv(cd, nullptr, nullptr, nullptr, nullptr);  // nothing left over from the last text
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  Unit buf[256];
  while (srcLeft > 0) {
    char* dst = reinterpret_cast<char*>(buf);
    size_t dstLeft = sizeof(buf);
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, (sizeof(buf) - dstLeft) / sizeof(Unit));
    if (r == (size_t)-1 && errno != E2BIG) {
      // EILSEQ, or EINVAL for a sequence cut off at the end.
      if (ok) *ok = false;
      out += bad;
      size_t n = skip(src, srcLeft);
      src += n;
      srcLeft -= n;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

}  // namespace

std::string Cp932ToUtf8(const std::string& sjis, bool* ok) {
  return Convert<std::string>(CP932_TO_UTF8, "UTF-8", "CP932", sjis, "\xEF\xBF\xBD", SkipOneByte, ok);
}

std::string Utf8ToCp932(const std::string& utf8, bool* ok) {
  return Convert<std::string>(UTF8_TO_CP932, "CP932", "UTF-8", utf8, "?", SkipUtf8Sequence, ok);
}

std::string Utf8ToCp932Dropping(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    size_t n = SkipUtf8Sequence(&utf8[i], utf8.size() - i);
    bool ok = false;
    std::string one = Utf8ToCp932(utf8.substr(i, n), &ok);
    if (ok) out += one;
    i += n;
  }
  return out;
}

std::u32string Cp932ToUtf32(const std::string& sjis, bool* ok) {
  return Convert<std::u32string>(CP932_TO_UTF32, "UTF-32LE", "CP932", sjis,
                                 std::u32string(1, U'\uFFFD'), SkipOneByte, ok);
}

size_t ConversionHandlesOpened() { return t_handles.opened; }

}  // namespace plat
