// The palette schemes of the 8-bit software display on a hand-made project
// palette and blend tables, and the colour animation of both back ends.
#include "media/palette_scheme.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dd_test_env.h"
#include "media/dd_effects.h"
#include "platform/bmp_bytes.h"
#include "records/system.h"

using testsupport::Sjis;

namespace {

// The project palette: entry i is (i, 7i mod 256, 255 - i).
PALETTEENTRY FileEntry(int i) {
  return PALETTEENTRY{static_cast<uint8_t>(i), static_cast<uint8_t>((7 * i) & 0xFF), static_cast<uint8_t>(255 - i), 0};
}

std::string PaletteImage() {
  std::vector<uint32_t> table(256);
  for (int i = 0; i < 256; ++i) {
    const PALETTEENTRY e = FileEntry(i);
    table[static_cast<size_t>(i)] = static_cast<uint32_t>(e.peRed) << 16 | e.peGreen << 8 | e.peBlue;
  }
  using namespace bmpbytes;
  return File(Info(4, 1, 8, 0, 256), Table(table), std::string(4, '\0'));
}

// Scheme n's blend table: every byte n, so the table read shows its file.
std::string BlendFile(int n) { return std::string(65536, static_cast<char>(n)); }

bool SameColour(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

class PaletteScheme : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    m_dir.WriteFile("bmp/plt/Palette.bmp", PaletteImage());
    for (int n : {0, 5, 11, 12, 22, 23}) m_dir.WriteFile("bmp/hbt/hbt" + Two(n) + ".dat", BlendFile(n));
  }
  static std::string Two(int n) { return std::string(1, static_cast<char>('0' + n / 10)) + char('0' + n % 10); }
  // What the display's palette shows.
  std::vector<plat::PalEntry> Shown() {
    std::vector<plat::PalEntry> out(256);
    DDPalette->GetEntries(0, 256, out.data());
    return out;
  }
};

}  // namespace

TEST_F(PaletteScheme, TurnsOrRepeatsTheTwelveBlocksAndShowsEntries0To254) {
  // Each case: the scheme asked for, the table file read, and the file entry
  // that entry 16 + k of the palette shows (k = 0..191).
  struct Case {
    int scheme, file;
    int (*source)(int k);
  } cases[] = {
      {0, 0, [](int k) { return 16 + k; }},                   // as loaded
      {11, 11, [](int k) { return 16 + (k + 176) % 192; }},   // turned by eleven blocks
      {12, 12, [](int k) { return 16 + k % 16; }},            // every block shows 16..31
      {22, 22, [](int k) { return 176 + k % 16; }},           // 176..191
      {23, 23, [](int k) { return 192 + k % 16; }},           // 192..207
      {-1, 0, [](int k) { return 16 + k; }},                  // out of range: the nearer end
      {24, 23, [](int k) { return 192 + k % 16; }},
      {1000, 23, [](int k) { return 192 + k % 16; }},
  };
  ASSERT_TRUE(Start(8));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scheme);
    // The display shows something else first: what the scheme sets must show.
    plat::PalEntry grey[256];
    std::fill(std::begin(grey), std::end(grey), plat::PalEntry{9, 9, 9, 0});
    DDPalette->SetEntries(0, 256, grey);
    std::fill(std::begin(BlendTable), std::end(BlendTable), 0xEE);

    EXPECT_EQ(SetPaletteScheme(c.scheme), 1);
    EXPECT_EQ(BlendTable[0], c.file);
    EXPECT_EQ(BlendTable[65535], c.file);
    const std::vector<plat::PalEntry> shown = Shown();
    for (int i = 0; i < 256; ++i) {
      const int from = i >= 16 && i <= 207 ? c.source(i - 16) : i;
      ASSERT_TRUE(SameColour(CurPalette[i], FileEntry(from))) << i;
      ASSERT_TRUE(SameColour(BasePalette[i], FileEntry(from))) << i;
      ASSERT_EQ(shown[static_cast<size_t>(i)].red, FileEntry(from).peRed) << i;
      ASSERT_EQ(shown[static_cast<size_t>(i)].blue, FileEntry(from).peBlue) << i;
    }
  }
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(PaletteScheme, EntryTwoHundredAndFiftyFiveKeepsTheProjectsColour) {
  ASSERT_TRUE(Start(8));
  ASSERT_EQ(SetPaletteScheme(12), 1);
  CurPalette[255] = PALETTEENTRY{1, 2, 3, 0};  // a later change of the working palette
  ASSERT_EQ(SetPaletteScheme(22), 1);
  EXPECT_EQ(Shown()[255], (plat::PalEntry{FileEntry(255).peRed, FileEntry(255).peGreen, FileEntry(255).peBlue,
                                          PC_EXPLICIT}));
}

TEST_F(PaletteScheme, AMissingTableShowsItsBoxAndFails) {
  ASSERT_TRUE(Start(8));
  ASSERT_EQ(SetPaletteScheme(0), 1);
  const std::vector<plat::PalEntry> before = Shown();
  std::fill(std::begin(BlendTable), std::end(BlendTable), 0xEE);

  EXPECT_EQ(SetPaletteScheme(7), 0);
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, Sjis("bmp\\hbt\\hbt07.dat の読み込みに失敗！"));
  EXPECT_EQ(m_boxes.shown[0].caption, Sjis("エラー"));
  EXPECT_EQ(BlendTable[0], 0xEE);
  EXPECT_EQ(Shown(), before);

  // Without the project's palette image the scheme fails after its table.
  m_dir.WriteFile("bmp/plt/Palette.bmp", "");
  EXPECT_EQ(SetPaletteScheme(5), 0);
  EXPECT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_TRUE(DebugHas(Sjis("DDLoadPaletteFromFile失敗")));
}

TEST_F(PaletteScheme, OtherDepthsReadNothing) {
  for (int bpp : {16, 32}) {
    ASSERT_TRUE(Start(bpp));
    std::fill(std::begin(BlendTable), std::end(BlendTable), 0xEE);
    EXPECT_EQ(SetPaletteScheme(5), 1) << bpp;
    EXPECT_EQ(SetPaletteScheme(9), 1) << bpp << ": no table needed";
    EXPECT_EQ(BlendTable[0], 0xEE) << bpp;
    DDRelease();
  }
  EXPECT_TRUE(m_boxes.shown.empty());
}

namespace {

class ColourAnimation : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    m_speed = SystemData.m_nColourAnimSpeed;
    m_cycle = SystemData.m_bPaletteCycle;
    ResetColorAnimation();
  }
  void TearDown() override {
    SystemData.m_nColourAnimSpeed = m_speed;
    SystemData.m_bPaletteCycle = m_cycle;
    ResetColorAnimation();
    DrawingTest::TearDown();
  }
  // Runs the animation under the 3D device, noting colour k after each call.
  std::vector<uint32_t> Run3D(int calls, int k) {
    DTCONDATA device;
    lpDTCon = &device;
    std::vector<uint32_t> seen;
    for (int i = 0; i < calls; ++i) {
      AnimateColors();
      seen.push_back(AnimColorTable[k].dwColor);
    }
    lpDTCon = nullptr;
    return seen;
  }
  int32_t m_speed = 0, m_cycle = 0;
};

uint32_t Argb(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

}  // namespace

TEST_F(ColourAnimation, UnderThe3DDeviceColourOneRisesAndFallsAtTheSpeed) {
  SystemData.m_nColourAnimSpeed = 10;
  // The table shows each intensity before its step; a turn keeps the value.
  std::vector<uint32_t> expected;
  for (uint32_t v = 0; v <= 250; v += 10) expected.push_back(Argb(v, v, v));
  for (uint32_t v = 250; v >= 10; v -= 10) expected.push_back(Argb(v, v, v));
  expected.push_back(Argb(10, 10, 10));
  expected.push_back(Argb(20, 20, 20));
  EXPECT_EQ(Run3D(static_cast<int>(expected.size()), 1), expected);
  EXPECT_EQ(AnimColorTable[1].dwColorOp, 7u);
  EXPECT_EQ(AnimColorTable[0].dwColor, 0u) << "colour 0 is no overlay";
}

TEST_F(ColourAnimation, EveryColourAndItsOperationAtOneIntensity) {
  SystemData.m_nColourAnimSpeed = 40;
  Run3D(3, 1);  // the table now shows intensity 80
  struct Row {
    int k;
    uint32_t colour, op;
  } rows[] = {
      {1, Argb(80, 80, 80), 7}, {2, Argb(80, 80, 80), 10}, {3, Argb(80, 0, 0), 7},  {4, Argb(0, 80, 0), 7},
      {5, Argb(0, 0, 80), 7},   {6, Argb(80, 80, 0), 7},   {7, Argb(80, 0, 20), 7}, {8, Argb(20, 0, 80), 7},
      {9, Argb(80, 0, 0), 7},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(AnimColorTable[r.k].dwColor, r.colour) << r.k;
    EXPECT_EQ(AnimColorTable[r.k].dwColorOp, r.op) << r.k;
  }
}

TEST_F(ColourAnimation, ColourNineTurnsItsHueAfterEachFullFall) {
  SystemData.m_nColourAnimSpeed = 10;
  // The first rise starts at 0 and takes 51 calls with its fall, the later
  // ones start at 10 and take 50; each next call shows the next hue at 10.
  const std::vector<uint32_t> seen = Run3D(202, 9);
  EXPECT_EQ(seen[1], Argb(10, 0, 0));
  EXPECT_EQ(seen[50], Argb(10, 0, 0)) << "the call whose step ends the fall";
  EXPECT_EQ(seen[51], Argb(0, 10, 0));
  EXPECT_EQ(seen[100], Argb(0, 10, 0));
  EXPECT_EQ(seen[101], Argb(0, 0, 10));
  EXPECT_EQ(seen[151], Argb(10, 10, 0));
  EXPECT_EQ(seen[201], Argb(10, 0, 0)) << "after yellow, red again";
}

TEST_F(ColourAnimation, TheSpeedIsTakenWithin0To255) {
  SystemData.m_nColourAnimSpeed = -5;  // nothing moves
  EXPECT_EQ(Run3D(3, 1), (std::vector<uint32_t>(3, Argb(0, 0, 0))));
  ResetColorAnimation();
  SystemData.m_nColourAnimSpeed = 0x7FFFFFFF;  // as 255: every step would pass a bound, so none is taken
  EXPECT_EQ(Run3D(4, 1), (std::vector<uint32_t>(4, Argb(0, 0, 0))));
}

TEST_F(ColourAnimation, At8BitsTheBandTurnsOnEverySixthCall) {
  ASSERT_TRUE(Start(8));
  SystemData.m_bPaletteCycle = 1;
  for (int i = 0; i < 256; ++i) CurPalette[i] = PALETTEENTRY{static_cast<uint8_t>(i), 0, 0, 0};
  plat::PalEntry zero[256] = {};
  DDPalette->SetEntries(0, 256, zero);

  for (int call = 1; call <= 5; ++call) AnimateColors();
  EXPECT_EQ(CurPalette[208].peRed, 208) << "five calls change nothing";
  AnimateColors();
  plat::PalEntry shown[256];
  DDPalette->GetEntries(0, 256, shown);
  for (int i = 0; i < 8; ++i) {
    for (int k = 0; k < 4; ++k) {
      const int entry = 208 + 4 * i + k;
      const int from = 208 + 4 * i + (k + 1) % 4;
      EXPECT_EQ(CurPalette[entry].peRed, from) << entry;
      EXPECT_EQ(shown[entry].red, from) << entry;
    }
  }
  EXPECT_EQ(shown[207].red, 0) << "only the band is set";
  EXPECT_EQ(shown[240].red, 0);
  for (int call = 1; call <= 6; ++call) AnimateColors();
  EXPECT_EQ(CurPalette[208].peRed, 210);

  SystemData.m_bPaletteCycle = 0;
  for (int call = 1; call <= 12; ++call) AnimateColors();
  EXPECT_EQ(CurPalette[208].peRed, 210) << "the switch is off";
}

TEST_F(ColourAnimation, NoCycleAtOtherDepths) {
  ASSERT_TRUE(Start(16));
  SystemData.m_bPaletteCycle = 1;
  for (int i = 0; i < 256; ++i) CurPalette[i] = PALETTEENTRY{static_cast<uint8_t>(i), 0, 0, 0};
  for (int call = 1; call <= 12; ++call) AnimateColors();
  EXPECT_EQ(CurPalette[208].peRed, 208);
}

TEST(PingPong, BouncesInsideTheBoundsAndReportsTheEndOfAFall) {
  struct Case {
    int value, direction, step, min, max;
    int result, valueAfter, directionAfter;
  } cases[] = {
      {0, 0, 10, 0, 255, 0, 10, 0},     // rising
      {250, 0, 10, 0, 255, 0, 250, 1},  // would reach max: turns, keeps the value
      {245, 0, 10, 0, 255, 0, 245, 1},  // exactly max turns too
      {20, 1, 10, 0, 255, 0, 10, 1},    // falling
      {10, 1, 10, 0, 255, 1, 10, 0},    // would reach min: turns, end of a fall
      {5, 1, 10, 0, 255, 1, 5, 0},
      {7, 0, 0, 0, 255, 0, 7, 0},       // step 0 never moves
      {7, 1, 0, 0, 255, 0, 7, 1},
  };
  for (const Case& c : cases) {
    int value = c.value, direction = c.direction;
    EXPECT_EQ(PingPong(value, direction, c.step, c.min, c.max), c.result) << c.value << " " << c.direction;
    EXPECT_EQ(value, c.valueAfter) << c.value << " " << c.direction;
    EXPECT_EQ(direction, c.directionAfter) << c.value << " " << c.direction;
  }
}
