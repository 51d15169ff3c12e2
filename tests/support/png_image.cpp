#include "support/png_image.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace testsupport {
namespace {

const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void Put32(std::string& out, uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

uint32_t Get32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void Chunk(std::string& out, const char type[4], const std::string& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  std::string body(type, 4);
  body += data;
  out += body;
  Put32(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

bool WritePng(const std::string& path, const RgbImage& image) {
  std::string raw;
  raw.reserve(static_cast<size_t>(image.height) * (1 + 3 * static_cast<size_t>(image.width)));
  for (int y = 0; y < image.height; ++y) {
    raw += '\0';
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
      raw += static_cast<char>(p >> 16);
      raw += static_cast<char>(p >> 8);
      raw += static_cast<char>(p);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                static_cast<uLong>(raw.size()), 9) != Z_OK)
    return false;
  packed.resize(packedSize);
  std::string header;
  Put32(header, static_cast<uint32_t>(image.width));
  Put32(header, static_cast<uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter method, no interlace
  std::string file(reinterpret_cast<const char*>(kSignature), 8);
  Chunk(file, "IHDR", header);
  Chunk(file, "IDAT", packed);
  Chunk(file, "IEND", "");
  std::ofstream out(path, std::ios::binary);
  out << file;
  return static_cast<bool>(out);
}

bool ReadPng(const std::string& path, RgbImage& image) {
  std::ifstream in(path, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* d = reinterpret_cast<const uint8_t*>(file.data());
  if (file.size() < 8 || std::memcmp(d, kSignature, 8) != 0) return false;
  size_t pos = 8;
  int channels = 0;
  std::string packed;
  image = RgbImage{};
  while (pos + 12 <= file.size()) {
    const uint32_t len = Get32(d + pos);
    if (len > file.size() - pos - 12) return false;
    const std::string type(file, pos + 4, 4);
    const uint8_t* body = d + pos + 8;
    if (type == "IHDR" && len >= 13) {
      image.width = static_cast<int>(Get32(body));
      image.height = static_cast<int>(Get32(body + 4));
      if (body[8] != 8 || (body[9] != 2 && body[9] != 6) || body[12] != 0) return false;
      channels = body[9] == 2 ? 3 : 4;
    } else if (type == "IDAT") {
      packed.append(reinterpret_cast<const char*>(body), len);
    }
    pos += 12 + len;
  }
  if (!channels || image.width <= 0 || image.height <= 0 || image.width > 8192 || image.height > 8192) return false;
  const size_t stride = static_cast<size_t>(image.width) * channels;
  uLongf rawSize = static_cast<uLongf>((stride + 1) * image.height);
  std::vector<uint8_t> raw(rawSize);
  if (uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(packed.data()), static_cast<uLong>(packed.size())) !=
          Z_OK ||
      rawSize != raw.size())
    return false;
  std::vector<uint8_t> prev(stride, 0), row(stride);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* line = raw.data() + y * (stride + 1);
    const int filter = line[0];
    for (size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<size_t>(channels) ? row[i - channels] : 0;
      const int b = prev[i];
      const int c = i >= static_cast<size_t>(channels) ? prev[i - channels] : 0;
      int v = line[1 + i];
      switch (filter) {
        case 0: break;
        case 1: v += a; break;
        case 2: v += b; break;
        case 3: v += (a + b) / 2; break;
        case 4: v += Paeth(a, b, c); break;
        default: return false;
      }
      row[i] = static_cast<uint8_t>(v);
    }
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = row.data() + static_cast<size_t>(x) * channels;
      image.pixels[static_cast<size_t>(y) * image.width + x] = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
    prev.swap(row);
  }
  return true;
}

::testing::AssertionResult MatchesGolden(const std::string& name, const RgbImage& actual) {
  namespace fs = std::filesystem;
  const std::string golden = std::string(GOLDEN_DIR) + "/" + name + ".png";
  const char* update = std::getenv("UPDATE_GOLDEN");
  if (update && std::strcmp(update, "1") == 0) {
    if (!WritePng(golden, actual)) return ::testing::AssertionFailure() << "cannot write " << golden;
    return ::testing::AssertionSuccess() << "wrote " << golden;
  }
  RgbImage expected;
  if (!ReadPng(golden, expected))
    return ::testing::AssertionFailure() << "no golden image " << golden << " (make it with UPDATE_GOLDEN=1)";
  const fs::path outDir = fs::path(GOLDEN_OUT_DIR);
  if (expected.width != actual.width || expected.height != actual.height) {
    fs::create_directories(outDir);
    WritePng((outDir / (name + "_actual.png")).string(), actual);
    return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height << ", golden "
                                         << expected.width << "x" << expected.height;
  }
  RgbImage diff = actual;
  size_t differ = 0;
  int firstX = -1, firstY = -1;
  for (size_t i = 0; i < actual.pixels.size(); ++i) {
    if (actual.pixels[i] != expected.pixels[i]) {
      if (!differ++) firstX = static_cast<int>(i % actual.width), firstY = static_cast<int>(i / actual.width);
      diff.pixels[i] = 0xFF0000;
    } else {
      diff.pixels[i] = (actual.pixels[i] >> 2) & 0x3F3F3F;
    }
  }
  if (!differ) return ::testing::AssertionSuccess();
  fs::create_directories(outDir);
  const std::string actualPath = (outDir / (name + "_actual.png")).string();
  const std::string diffPath = (outDir / (name + "_diff.png")).string();
  WritePng(actualPath, actual);
  WritePng(diffPath, diff);
  return ::testing::AssertionFailure() << name << ": " << differ << " pixels differ, first at (" << firstX << ", "
                                       << firstY << "); see " << actualPath << " and " << diffPath;
}

}  // namespace testsupport
