// BMP decoding: every depth, compression, header and row order the editor
// and paint programs write, and refusal of files that do not add up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/bmp_image.h"
#include "support/test_support.h"
#include "platform/bmp_bytes.h"

using namespace bmpbytes;
using plat::BmpStatus;

namespace {

constexpr uint32_t kRle8 = 1, kRle4 = 2, kBitFields = 3;

plat::BmpImage Decode(const std::string& bytes, BmpStatus expect = BmpStatus::Ok) {
  plat::BmpImage img;
  EXPECT_EQ(plat::DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), img), expect)
      << plat::BmpStatusText(expect);
  return img;
}

std::vector<uint32_t> Colours(const plat::BmpImage& img) {
  std::vector<uint32_t> out;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) out.push_back(img.Colour(x, y));
  return out;
}

std::vector<uint8_t> Indices(std::initializer_list<int> list) { return std::vector<uint8_t>(list.begin(), list.end()); }

const std::vector<uint32_t> kGreys16 = {0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555,
                                        0x666666, 0x777777, 0x888888, 0x999999, 0xAAAAAA, 0xBBBBBB,
                                        0xCCCCCC, 0xDDDDDD, 0xEEEEEE, 0xFFFFFF};

// The good files, shared with the fuzz seeds.
struct Sample {
  const char* name;
  std::string bytes;
};

std::vector<Sample> GoodSamples() {
  return {
      {"8bit_bottom_up", File(Info(3, 2, 8, 0, 4), Table({0x000000, 0xFF0000, 0x00FF00, 0x0000FF}),
                              Bytes({1, 2, 3, 0, 0, 1, 2, 0}))},
      {"8bit_top_down", File(Info(3, -2, 8, 0, 4), Table({0x000000, 0xFF0000, 0x00FF00, 0x0000FF}),
                             Bytes({0, 1, 2, 0, 1, 2, 3, 0}))},
      {"1bit", File(Info(10, 2, 1), Table({0x000000, 0xFFFFFF}),
                    Bytes({0xB0, 0x40, 0, 0, 0xFF, 0xC0, 0, 0}))},
      {"4bit", File(Info(3, 1, 4, 0, 16), Table(kGreys16), Bytes({0x12, 0x30, 0, 0}))},
      {"24bit", File(Info(2, 2, 24), "",
                     Bytes({3, 2, 1, 6, 5, 4, 0, 0, 0x0C, 0x0B, 0x0A, 0xFF, 0xFF, 0xFF, 0, 0}))},
      {"16bit_555", File(Info(3, 1, 16), "", Bytes({0xFF, 0x7F, 0x1F, 0x00, 0x21, 0x04, 0, 0}))},
      {"16bit_565_fields", File(Info(3, 1, 16, kBitFields) + Masks(0xF800, 0x07E0, 0x001F), "",
                                Bytes({0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0}))},
      {"32bit", File(Info(1, 1, 32), "", Bytes({0x33, 0x22, 0x11, 0xFF}))},
      {"32bit_v4_fields", File(V4(1, 1, 32, kBitFields, 0xFF000000, 0x00FF0000, 0x0000FF00, 0xFF), "",
                               Bytes({0x44, 0x33, 0x22, 0x11}))},
      {"32bit_v5_10bit", File(V4(1, 1, 32, kBitFields, 0x3FF00000, 0x000FFC00, 0x000003FF, 0, true), "",
                              Bytes({0xFF, 0x03, 0x00, 0x20}))},  // red 0x200, green 0, blue 0x3FF
      {"24bit_v5", File(V4(1, 1, 24, 0, 0, 0, 0, 0, true), "", Bytes({0x30, 0x20, 0x10, 0}))},
      {"1bit_core", File(Core(2, 1, 1), Table({0x102030, 0x405060}, true), Bytes({0x40, 0, 0, 0}))},
      {"rle8", File(Info(4, 3, 8, kRle8, 16), Table(kGreys16),
                    Bytes({3, 5, 0, 0, 0, 3, 7, 8, 9, 0, 0, 2, 0, 1, 1, 4, 0, 1}))},
      {"rle8_clipped", File(Info(2, 2, 8, kRle8, 16), Table(kGreys16),
                            Bytes({10, 3, 0, 0, 0, 3, 1, 2, 3, 0, 0, 0, 0, 0, 5, 9, 0, 1}))},
      {"rle8_early_end", File(Info(3, 2, 8, kRle8, 16), Table(kGreys16), Bytes({2, 6}))},
      {"rle8_cut_absolute", File(Info(4, 1, 8, kRle8, 16), Table(kGreys16), Bytes({0, 5, 1, 2}))},
      {"rle4", File(Info(5, 2, 4, kRle4, 16), Table(kGreys16),
                    Bytes({5, 0x12, 0, 0, 0, 3, 0x45, 0x60, 1, 0x70, 0, 1}))},
      {"24bit_short_last_pad", File(Info(1, 1, 24), "", Bytes({0x30, 0x20, 0x10}))},
  };
}

std::string Find(const char* name) {
  for (const Sample& s : GoodSamples())
    if (std::string(s.name) == name) return s.bytes;
  ADD_FAILURE() << "no sample " << name;
  return {};
}

struct Broken {
  const char* what;
  std::string bytes;
  BmpStatus status;
};

std::vector<Broken> BrokenSamples() {
  const std::string table16 = Table(kGreys16);
  const std::string masksOverlap = Masks(0xF800, 0x0FE0, 0x001F);
  const std::string masksHole = Masks(0xF0F0, 0x0F00, 0x000F);
  const std::string masksWide = Masks(0x1F000, 0x07E0, 0x001F);
  std::string shortHeader = File(Info(1, 1, 24), "", Bytes({0, 0, 0, 0})).substr(0, 30);
  std::string badMagic = File(Info(1, 1, 24), "", Bytes({0, 0, 0, 0}));
  badMagic[0] = 'X';
  return {
      {"not BM", badMagic, BmpStatus::BadHeader},
      {"header cut", shortHeader, BmpStatus::BadHeader},
      {"OS/2 2.x header", File(Info(1, 1, 24, 0, 0, 1, 64) + std::string(24, '\0'), "", Bytes({0, 0, 0, 0})),
       BmpStatus::BadHeader},
      {"two planes", File(Info(1, 1, 24, 0, 0, 2), "", Bytes({0, 0, 0, 0})), BmpStatus::BadHeader},
      {"pixels inside the header", File(Info(1, 1, 24), "", Bytes({0, 0, 0, 0}), 20), BmpStatus::BadHeader},
      {"2 bits", File(Info(1, 1, 2), "", Bytes({0, 0, 0, 0})), BmpStatus::BadDepth},
      {"0 bits", File(Info(1, 1, 0), "", Bytes({0, 0, 0, 0})), BmpStatus::BadDepth},
      {"RLE8 at 24 bits", File(Info(1, 1, 24, kRle8), "", Bytes({0, 1})), BmpStatus::BadCompression},
      {"RLE4 at 8 bits", File(Info(1, 1, 8, kRle4, 16), table16, Bytes({0, 1})), BmpStatus::BadCompression},
      {"RLE8 top-down", File(Info(1, -1, 8, kRle8, 16), table16, Bytes({0, 1})), BmpStatus::BadCompression},
      {"bit fields at 8 bits", File(Info(1, 1, 8, kBitFields, 16), table16, Bytes({0, 0, 0, 0})),
       BmpStatus::BadCompression},
      {"JPEG inside", File(Info(1, 1, 24, 4), "", Bytes({0, 0, 0, 0})), BmpStatus::BadCompression},
      {"masks overlap", File(Info(1, 1, 16, kBitFields) + masksOverlap, "", Bytes({0, 0, 0, 0})),
       BmpStatus::BadMasks},
      {"mask with a hole", File(Info(1, 1, 16, kBitFields) + masksHole, "", Bytes({0, 0, 0, 0})),
       BmpStatus::BadMasks},
      {"mask past 16 bits", File(Info(1, 1, 16, kBitFields) + masksWide, "", Bytes({0, 0, 0, 0})),
       BmpStatus::BadMasks},
      {"17 colours at 4 bits", File(Info(1, 1, 4, 0, 17), table16 + Table({0}), Bytes({0, 0, 0, 0})),
       BmpStatus::BadColourTable},
      {"table past the pixels", File(Info(1, 1, 8, 0, 16), table16, Bytes({0, 0, 0, 0}), 14 + 40 + 8),
       BmpStatus::BadColourTable},
      {"table past the end", File(Info(1, 1, 8, 0, 16), Table({0, 0}), ""), BmpStatus::BadColourTable},
      {"pixels past the end", File(Info(2, 2, 24), "", Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
       BmpStatus::Truncated},
      {"pixels start past the end", File(Info(1, 1, 24), "", Bytes({0, 0, 0}), 4000), BmpStatus::Truncated},
      {"RLE starts past the end", File(Info(1, 1, 8, kRle8, 16), table16, Bytes({0, 1}), 4000),
       BmpStatus::Truncated},
      {"width 0", File(Info(0, 1, 24), "", Bytes({0, 0, 0, 0})), BmpStatus::BadSize},
      {"height 0", File(Info(1, 0, 24), "", Bytes({0, 0, 0, 0})), BmpStatus::BadSize},
      {"negative width", File(Info(-3, 1, 24), "", Bytes({0, 0, 0, 0})), BmpStatus::BadSize},
      {"width 16385", File(Info(16385, 1, 24), "", ""), BmpStatus::BadSize},
      {"height INT32_MIN", File(Info(1, INT32_MIN, 24), "", ""), BmpStatus::BadSize},
      {"8193 x 8193 pixels", File(Info(8193, 8193, 8, 0, 2), Table({0, 0}), ""), BmpStatus::TooLarge},
      // 2^26 pixels exactly is allowed; this one then lacks its data.
      {"8192 x 8192 pixels", File(Info(8192, 8192, 8, 0, 2), Table({0, 0}), ""), BmpStatus::Truncated},
  };
}

}  // namespace

TEST(BmpImage, IndexedImagesKeepTheirIndicesTopRowFirstInEitherRowOrder) {
  for (const char* name : {"8bit_bottom_up", "8bit_top_down"}) {
    plat::BmpImage img = Decode(Find(name));
    EXPECT_TRUE(img.indexed) << name;
    EXPECT_EQ(img.bitCount, 8);
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.indices, Indices({0, 1, 2, 1, 2, 3})) << name;
    ASSERT_EQ(img.palette.size(), 4u);
    EXPECT_EQ(img.palette[1], (plat::PalEntry{0xFF, 0, 0, 0}));
    EXPECT_EQ(Colours(img), (std::vector<uint32_t>{0, 0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00, 0x0000FF}));
  }
}

TEST(BmpImage, PackedIndicesOfOneAndFourBits) {
  plat::BmpImage one = Decode(Find("1bit"));
  EXPECT_EQ(one.indices, Indices({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 1}));
  plat::BmpImage four = Decode(Find("4bit"));
  EXPECT_EQ(four.indices, Indices({1, 2, 3}));
  EXPECT_EQ(four.Colour(2, 0), 0x333333u);
  plat::BmpImage core = Decode(Find("1bit_core"));
  EXPECT_EQ(core.indices, Indices({0, 1}));
  EXPECT_EQ(Colours(core), (std::vector<uint32_t>{0x102030, 0x405060}));
}

TEST(BmpImage, TrueColourChannelsWidenByRepeatingTheirBits) {
  struct Case {
    const char* sample;
    std::vector<uint32_t> colours;
  };
  const Case cases[] = {
      {"24bit", {0x0A0B0C, 0xFFFFFF, 0x010203, 0x040506}},
      // 5-bit 31 -> 255, 1 -> 8; the top bit of 555 is ignored.
      {"16bit_555", {0xFFFFFF, 0x0000FF, 0x080808}},
      // 6-bit green 1 -> 4.
      {"16bit_565_fields", {0xFF0000, 0x00FF00, 0x000400}},
      {"32bit", {0x112233}},
      {"32bit_v4_fields", {0x112233}},
      // 10-bit channels keep their top 8 bits: 0x200 -> 0x80, 0x3FF -> 0xFF.
      {"32bit_v5_10bit", {0x8000FF}},
      {"24bit_v5", {0x102030}},
      // The last row may stop where its pixels do, without the padding.
      {"24bit_short_last_pad", {0x102030}},
  };
  for (const Case& c : cases) {
    plat::BmpImage img = Decode(Find(c.sample));
    EXPECT_FALSE(img.indexed) << c.sample;
    EXPECT_EQ(Colours(img), c.colours) << c.sample;
  }
}

TEST(BmpImage, RunLengthStreamsWithRunsAbsoluteRunsDeltasAndLineEnds) {
  // 03 05: three 5s at the bottom row; 00 00: next row; 00 03 07 08 09 00:
  // absolute 7 8 9 (padded); 00 02 00 01: one row up; 01 04: a 4; 00 01: end.
  EXPECT_EQ(Decode(Find("rle8")).indices, Indices({0, 0, 0, 4, 7, 8, 9, 0, 5, 5, 5, 0}));
  // RLE4: five nibbles 1 2 1 2 1; next row; absolute 4 5 6; one 7.
  EXPECT_EQ(Decode(Find("rle4")).indices, Indices({4, 5, 6, 7, 0, 1, 2, 1, 2, 1}));
}

TEST(BmpImage, RunsThatLeaveTheImageAreCutAndEarlyEndsLeaveIndexZero) {
  // A run of ten on a row of two, an absolute run of three, rows past the top.
  EXPECT_EQ(Decode(Find("rle8_clipped")).indices, Indices({1, 2, 3, 3}));
  EXPECT_EQ(Decode(Find("rle8_early_end")).indices, Indices({0, 0, 0, 6, 6, 0}));
  // An absolute run that claims more bytes than the file holds.
  EXPECT_EQ(Decode(Find("rle8_cut_absolute")).indices, Indices({1, 2, 0, 0}));
}

TEST(BmpImage, FilesThatDoNotAddUpAreRefusedWhole) {
  for (const Broken& c : BrokenSamples()) {
    plat::BmpImage img;
    EXPECT_EQ(plat::DecodeBmp(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), img), c.status)
        << c.what;
    EXPECT_EQ(img.width, 0) << c.what;
    EXPECT_TRUE(img.indices.empty() && img.pixels.empty()) << c.what;
  }
}

TEST(BmpImage, LoadReadsAFileByItsSystemPathAndReportsAMissingOne) {
  testsupport::ScopedWorkDir dir;
  dir.WriteFile("bmp/Chara.bmp", Find("24bit"));
  plat::BmpImage img;
  EXPECT_EQ(plat::LoadBmp("bmp\\CHARA.BMP", img), BmpStatus::Ok);
  EXPECT_EQ(img.width, 2);
  EXPECT_EQ(plat::LoadBmp("bmp\\none.bmp", img), BmpStatus::Unreadable);
  EXPECT_EQ(img.width, 0);
}

// With WRITE_BMP_SEEDS=<folder> the good samples are written there as the
// seeds of the BMP fuzz target.
TEST(BmpImage, SeedsForTheFuzzTarget) {
  const char* dir = std::getenv("WRITE_BMP_SEEDS");
  if (!dir) GTEST_SKIP() << "WRITE_BMP_SEEDS not set";
  std::filesystem::create_directories(dir);
  for (const Sample& s : GoodSamples())
    std::ofstream(std::string(dir) + "/" + s.name + ".bmp", std::ios::binary) << s.bytes;
  int n = 0;
  for (const Broken& b : BrokenSamples())
    std::ofstream(std::string(dir) + "/broken_" + std::to_string(n++) + ".bmp", std::ios::binary) << b.bytes;
}
