// The sample's images, sounds, music and translucency tables, read with
// small readers of their own formats: 8-bit BMPs sharing one palette and as
// large as the scenes cut them, 22050 Hz 8-bit mono WAVs, a standard MIDI
// file that walks as the runtime's reader walks it, one Ogg Vorbis stream,
// and one blend table per palette scheme.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <set>

#include "tests/tools/sample_fixture.h"
#include "tools/sample/sample_palette.h"

namespace fs = std::filesystem;

namespace {

uint32_t LE(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(at + i < b.size() ? b[at + i] : 0);
  return v;
}

uint32_t BE(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<uint8_t>(at + i < b.size() ? b[at + i] : 0);
  return v;
}

// An uncompressed 8-bit bottom-up BMP.
struct BMP {
  std::string why;  // empty when the file is one
  int w = 0, h = 0;
  std::string table;  // 256 × (blue, green, red, 0)
  std::string bytes;
  int At(int x, int y) const {
    const size_t stride = (static_cast<size_t>(w) + 3) & ~size_t{3};
    return static_cast<uint8_t>(bytes[14 + 40 + 1024 + static_cast<size_t>(h - 1 - y) * stride + x]);
  }
};

BMP ReadBmp(const std::string& b) {
  BMP bmp;
  bmp.bytes = b;
  if (b.size() < 14 + 40 + 1024 || b.compare(0, 2, "BM") != 0) return bmp.why = "no BMP header", bmp;
  if (LE(b, 2, 4) != b.size()) return bmp.why = "file size field", bmp;
  if (LE(b, 10, 4) != 14 + 40 + 1024) return bmp.why = "pixel offset", bmp;
  if (LE(b, 14, 4) != 40 || LE(b, 26, 2) != 1 || LE(b, 28, 2) != 8 || LE(b, 30, 4) != 0)
    return bmp.why = "not an uncompressed 8-bit info header", bmp;
  const uint32_t used = LE(b, 46, 4);
  if (used != 0 && used != 256) return bmp.why = "colours used", bmp;
  bmp.w = static_cast<int32_t>(LE(b, 18, 4));
  bmp.h = static_cast<int32_t>(LE(b, 22, 4));
  if (bmp.w <= 0 || bmp.h <= 0) return bmp.why = "size", bmp;
  const size_t stride = (static_cast<size_t>(bmp.w) + 3) & ~size_t{3};
  if (14 + 40 + 1024 + stride * bmp.h != b.size()) return bmp.why = "pixel rows do not fill the file", bmp;
  bmp.table = b.substr(54, 1024);
  return bmp;
}

// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection,
// computed with the checksum field zero.
uint32_t OggCrc(const std::string& page) {
  uint32_t crc = 0;
  for (size_t i = 0; i < page.size(); ++i) {
    const uint8_t byte = (i >= 22 && i < 26) ? 0 : static_cast<uint8_t>(page[i]);
    crc ^= static_cast<uint32_t>(byte) << 24;
    for (int k = 0; k < 8; ++k) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

class SampleMedia : public SampleProject {};

}  // namespace

TEST_F(SampleMedia, SystemImagesAre8BitSharingThePaletteAndAsLargeAsTheScenesCutThem) {
  const BMP palette = ReadBmp(Read("bmp/plt/Palette.bmp"));
  ASSERT_EQ(palette.why, "");
  // The smallest size each image can have for the cells the scenes and
  // objects cut from it.
  struct Case {
    const char* file;
    int w, h;
  } cases[] = {
      {"bmp/plt/Palette.bmp", 16, 24},     // the 16 × 16 swatch at rows 8..23
      {"bmp/Block.bmp", 32, 480},          // block n at ((n / 15) × 32, (n % 15) × 32)
      {"bmp/Character1.bmp", 640, 480},    // 15 rows of 20 cells of 32
      {"bmp/Shot.bmp", 128, 480},          // 8 × 30 cells of 16 into the shot caches
      {"bmp/Item.bmp", 64, 480},           // two 32-dot frames per item, 15 per column
      {"bmp/Item_Mini.bmp", 16, 240},      // 16 × 16, 15 per column
      {"bmp/Mark.bmp", 32, 480},           // marks and overlay icons, 15 per column
      {"bmp/Window.bmp", 640, 480},        // box backgrounds up to the screen
      {"bmp/StatusWindow.bmp", 640, 20},   // the status bar
      {"bmp/Title.bmp", 640, 480},
      {"bmp/Accessory.bmp", 128, 218},     // cursors, walker, gauges; character gauges from row 208
      {"bmp/Symbol.bmp", 26 * 32, 32},     // 'a'..'z' in the largest font's cells
      {"bmp/Word.bmp", 320, 192},          // banners, area digits at y 128, timer digits at y 160
      {"bmp/WorldMapChip.bmp", 160, 64},   // chips 0..9, five per row
      {"bmp/WorldEvent.bmp", 64, 32},      // an entrance before and after its clear
  };
  for (const Case& c : cases) {
    const BMP bmp = ReadBmp(Read(c.file));
    ASSERT_EQ(bmp.why, "") << c.file;
    EXPECT_GE(bmp.w, c.w) << c.file;
    EXPECT_GE(bmp.h, c.h) << c.file;
    EXPECT_TRUE(bmp.table == palette.table) << c.file << " has its own palette";
  }
  // Accessory.bmp is taller than 208, so the character gauges use 2-dot rows from 208.
  EXPECT_GT(ReadBmp(Read("bmp/Accessory.bmp")).h, 208);
}

TEST_F(SampleMedia, PaletteImageHoldsTheKeyAndASwatchOf256DistinctColours) {
  const BMP bmp = ReadBmp(Read("bmp/plt/Palette.bmp"));
  ASSERT_EQ(bmp.why, "");
  EXPECT_EQ(bmp.At(0, 0), 0) << "the transparent colour is entry 0";
  std::set<uint32_t> colours;
  for (int n = 0; n < 256; ++n) {
    EXPECT_EQ(bmp.At(n % 16, 8 + n / 16), n) << "swatch pixel of entry " << n;
    colours.insert(LE(bmp.table, 4 * n, 3));
  }
  // A colour two entries shared would turn keyed pixels opaque or the reverse
  // at 16 and 32 bits, where pixels are matched by colour.
  EXPECT_EQ(colours.size(), 256u);
}

TEST_F(SampleMedia, ImagesTheDatabaseNamesHoldTheCellsItCuts) {
  struct Case {
    const char* file;
    int w, h;
  } cases[] = {
      {"bmp/chara_sp/Extra.bmp", 512, 32},  // cells of 32, 16 per row
      {"bmp/sword/SwordL.bmp", 96, 16},     // three 32 × 16 frames
      {"bmp/sword/SwordR.bmp", 96, 16},
      {"bmp/effect/Hit.bmp", 128, 32},      // four 32 × 32 cells in the top row
      {"bmp/picture/Sign.bmp", 1, 1},
      {"bmp/picture/Map.bmp", 1, 1},
  };
  for (const Case& c : cases) {
    const BMP bmp = ReadBmp(Read(c.file));
    ASSERT_EQ(bmp.why, "") << c.file;
    EXPECT_GE(bmp.w, c.w) << c.file;
    EXPECT_GE(bmp.h, c.h) << c.file;
  }
}

TEST_F(SampleMedia, SoundsAre22050Hz8BitMonoPcm) {
  int count = 0;
  for (const auto& e : fs::directory_iterator("wave")) {
    const std::string name = e.path().filename().string();
    const std::string b = Read("wave/" + name);
    ++count;
    ASSERT_GE(b.size(), 44u) << name;
    EXPECT_EQ(b.substr(0, 4), "RIFF") << name;
    EXPECT_EQ(LE(b, 4, 4), b.size() - 8) << name;
    EXPECT_EQ(b.substr(8, 4), "WAVE") << name;
    // Chunks one after another (each padded to an even size).
    uint32_t rate = 0, channels = 0, bits = 0, tag = 0, data = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
      const std::string id = b.substr(at, 4);
      const uint32_t size = LE(b, at + 4, 4);
      ASSERT_LE(at + 8 + size, b.size()) << name << " chunk " << id;
      if (id == "fmt ") {
        ASSERT_GE(size, 16u) << name;
        tag = LE(b, at + 8, 2), channels = LE(b, at + 10, 2), rate = LE(b, at + 12, 4), bits = LE(b, at + 22, 2);
        EXPECT_EQ(LE(b, at + 16, 4), rate * channels * bits / 8) << name << " bytes per second";
      }
      if (id == "data") data = size;
      at += 8 + size + (size & 1);
    }
    EXPECT_EQ(tag, 1u) << name;
    EXPECT_EQ(channels, 1u) << name;
    EXPECT_EQ(rate, 22050u) << name;
    EXPECT_EQ(bits, 8u) << name;
    EXPECT_GT(data, 0u) << name;
  }
  EXPECT_EQ(count, 17 + 3);
}

TEST_F(SampleMedia, MidiFileWalksTrackByTrackToEachEndOfTrack) {
  const std::string b = Read("bgm/Title.mid");
  ASSERT_EQ(b.substr(0, 4), "MThd");
  ASSERT_EQ(BE(b, 4, 4), 6u);
  EXPECT_LE(BE(b, 8, 2), 1u) << "format 0 or 1";
  const uint32_t tracks = BE(b, 10, 2);
  EXPECT_EQ(tracks, 3u);
  EXPECT_GT(BE(b, 12, 2), 0u) << "ticks per quarter note";

  // As the runtime reads it: the next chunk follows each end of track at once.
  size_t at = 14;
  int notes = 0, tempos = 0;
  for (uint32_t t = 0; t < tracks; ++t) {
    ASSERT_EQ(b.substr(at, 4), "MTrk") << "track " << t;
    const size_t end = at + 8 + BE(b, at + 4, 4);
    at += 8;
    uint8_t running = 0;
    for (;;) {
      ASSERT_LT(at, end) << "track " << t << " runs past its chunk";
      for (int k = 0; static_cast<uint8_t>(b[at++]) & 0x80; ++k) ASSERT_LT(k, 3) << "delta of more than 4 bytes";
      uint8_t status = static_cast<uint8_t>(b[at]);
      if (status & 0x80) {
        running = status;
        ++at;
      } else {
        ASSERT_NE(running, 0) << "data byte without a status";
        status = running;
      }
      auto varlen = [&] {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) {
          const uint8_t c = static_cast<uint8_t>(b[at++]);
          v = (v << 7) | (c & 0x7F);
          if (!(c & 0x80)) break;
        }
        return v;
      };
      if (status == 0xFF) {
        const uint8_t type = static_cast<uint8_t>(b[at++]);
        const uint32_t len = varlen();
        if (type == 0x51) ++tempos;
        at += len;
        if (type == 0x2F) {
          EXPECT_EQ(len, 0u);
          break;
        }
      } else if (status == 0xF0 || status == 0xF7) {
        at += varlen();
      } else if (status >= 0xC0 && status <= 0xDF) {
        at += 1;
      } else {
        if ((status & 0xF0) == 0x90 && b[at + 1] != 0) ++notes;
        at += 2;
      }
    }
    EXPECT_EQ(at, end) << "track " << t << " ends with its chunk";
  }
  EXPECT_EQ(at, b.size());
  EXPECT_GT(notes, 50);
  EXPECT_EQ(tempos, 1);
}

TEST_F(SampleMedia, OggFileIsOneMonoVorbisStreamWithAFixedSerial) {
  const std::string b = Read("bgm/Stage.ogg");
  size_t at = 0;
  uint32_t serial = 0, expectSequence = 0;
  int pages = 0;
  uint8_t lastFlags = 0;
  while (at < b.size()) {
    ASSERT_EQ(b.substr(at, 4), "OggS") << "page at " << at;
    ASSERT_EQ(b[at + 4], 0) << "stream structure version";
    const uint8_t flags = static_cast<uint8_t>(b[at + 5]);
    const int segments = static_cast<uint8_t>(b[at + 26]);
    size_t body = 0;
    for (int s = 0; s < segments; ++s) body += static_cast<uint8_t>(b[at + 27 + s]);
    const size_t length = 27 + segments + body;
    ASSERT_LE(at + length, b.size());
    const std::string page = b.substr(at, length);
    if (pages == 0) {
      EXPECT_EQ(flags & 0x02, 0x02) << "first page begins the stream";
      serial = LE(b, at + 14, 4);
      const std::string id = page.substr(27 + segments);
      ASSERT_EQ(id.substr(0, 7), std::string("\x01vorbis", 7));
      EXPECT_EQ(static_cast<uint8_t>(id[11]), 1) << "channels";
      EXPECT_EQ(LE(id, 12, 4), 22050u) << "sample rate";
    }
    EXPECT_EQ(LE(b, at + 14, 4), serial) << "one logical stream";
    EXPECT_EQ(LE(b, at + 18, 4), expectSequence++);
    EXPECT_EQ(LE(b, at + 22, 4), OggCrc(page)) << "page " << pages;
    lastFlags = flags;
    at += length;
    ++pages;
  }
  EXPECT_EQ(serial, 0x53414D50u);
  EXPECT_EQ(lastFlags & 0x04, 0x04) << "last page ends the stream";
  EXPECT_GT(pages, 3);
}

TEST(SamplePalette, SchemesRotateOrRepeatTheTwelveBlocks) {
  const SamplePalette& base = SampleBasePalette();
  // Entry e of scheme n shows base entry f.
  struct Case {
    int scheme, entry, from;
  } cases[] = {
      {0, 16, 16},   {0, 207, 207}, {1, 16, 32},    {1, 191, 207}, {1, 192, 16},  {11, 16, 192},
      {11, 207, 191}, {12, 16, 16},  {12, 207, 31}, {12, 50, 18},  {22, 16, 176}, {22, 200, 184},
      {23, 16, 192}, {23, 207, 207},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SchemePalette(c.scheme)[c.entry], base[c.from]) << "scheme " << c.scheme << " entry " << c.entry;
  // Outside the blocks every scheme keeps the palette (the cycling bands,
  // the key, the frame and text colours).
  for (int scheme = 0; scheme < SAMPLE_SCHEME_COUNT; ++scheme) {
    const SamplePalette p = SchemePalette(scheme);
    for (int e : {0, 1, 15, 208, 239, 240, 241, 255}) EXPECT_EQ(p[e], base[e]) << scheme << " " << e;
  }
}

TEST_F(SampleMedia, EachSchemeHasABlendTableMixedInItsOwnPalette) {
  for (int scheme = 0; scheme < SAMPLE_SCHEME_COUNT; ++scheme) {
    char name[32];
    std::snprintf(name, sizeof name, "bmp/hbt/hbt%02d.dat", scheme);
    const std::string t = Read(name);
    ASSERT_EQ(t.size(), 65536u) << name;
    auto mix = [&t](int a, int b) { return static_cast<uint8_t>(t[a * 256 + b]); };
    for (int a = 0; a < 256; ++a) {
      ASSERT_EQ(mix(a, a), a) << name;
      for (int b = 0; b < 256; ++b) {
        ASSERT_EQ(mix(a, b), mix(b, a)) << name << " " << a << " " << b;
        const int m = mix(a, b);
        // Never the key, never a cycling entry.
        if (a != b) {
          ASSERT_TRUE((m >= 1 && m <= 207) || (m >= 240 && m <= 254)) << name << " " << a << " " << b;
        }
      }
    }
    // Two shades of the grey ramp mix to the shade between them, wherever
    // the scheme shows that ramp; in the repeating schemes the first copy of
    // the shown ramp answers.
    const int grey = scheme <= 11 ? 16 + (192 - 16 * scheme) % 192 : 16;
    EXPECT_EQ(mix(grey + 6, grey + 8), grey + 7) << name;
  }
}
