// Window.dat: its bytes written by hand from the layout (version word, the
// count of five values, the five int32 values, no strings), and what a load
// makes of positions off the screen, sizes out of range and damaged files.
// Without a window system the screen is 640 x 480, so the full-screen area
// is 640 x 460 (the caption's 20 dots less).
#include "records/window_data.h"

#include <filesystem>
#include <string>

#include "record_test_env.h"

namespace {

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Window.dat with the given version word and values (five make a whole record).
std::string WindowFile(uint32_t version, std::initializer_list<int32_t> values, uint32_t strings = 0) {
  std::string s;
  Put32(s, version);
  Put32(s, static_cast<uint32_t>(values.size()));
  for (int32_t v : values) Put32(s, static_cast<uint32_t>(v));
  Put32(s, strings);
  return s;
}

class WindowDataFile : public RecordTest {};

}  // namespace

TEST_F(WindowDataFile, SavesTheFiveValuesInTheirOrder) {
  std::filesystem::create_directory(m_dir.Path() + "/user_data");
  cWindowData data;
  data.Set(120, 80, 800, 600, 1);
  ASSERT_EQ(data.SaveToFile("user_data\\Window.dat"), 1);
  const std::string expected = WindowFile(734, {120, 80, 800, 600, 1});
  EXPECT_EQ(expected.size(), 32u);
  EXPECT_EQ(m_dir.ReadFile("user_data/Window.dat"), expected);
}

TEST_F(WindowDataFile, ALoadKeepsThePositionOnTheScreen) {
  struct Case {
    int32_t x, y, width, height, maximized;
    int32_t expectX, expectY;
  } cases[] = {
      {120, 80, 800, 600, 1, 120, 80},
      {-50, -1, 640, 480, 0, 0, 0},              // off the top left
      {640, 460, 640, 480, 0, 640, 460},         // the full-screen edge itself
      {5000, 99999, 640, 480, 0, 640, 460},      // off the bottom right
      {-2147483647 - 1, 2147483647, 1, 1, 0, 0, 460},
  };
  for (const Case& c : cases) {
    m_dir.WriteFile("user_data/Window.dat", WindowFile(734, {c.x, c.y, c.width, c.height, c.maximized}));
    cWindowData data;
    ASSERT_EQ(data.LoadFromFile("user_data\\Window.dat"), 1);
    EXPECT_EQ(data.nX, c.expectX) << c.x;
    EXPECT_EQ(data.nY, c.expectY) << c.y;
    EXPECT_EQ(data.nWidth, c.width) << "the size is kept as stored";
    EXPECT_EQ(data.nHeight, c.height);
    EXPECT_EQ(data.bMaximized, c.maximized);
  }
}

TEST_F(WindowDataFile, TheStoredSizeIsUsedWithinOneAndTheScreen) {
  struct Case {
    int32_t width, height, expectW, expectH;
  } cases[] = {
      {800, 400, 640, 400}, {0, -5, 1, 1}, {640, 480, 640, 480}, {1, 1, 1, 1}, {100000, 2147483647, 640, 480},
  };
  for (const Case& c : cases) {
    cWindowData data;
    data.Set(0, 0, c.width, c.height, 0);
    int w = 0, h = 0;
    data.ClientSizeWithinScreen(w, h);
    EXPECT_EQ(w, c.expectW) << c.width;
    EXPECT_EQ(h, c.expectH) << c.height;
  }
}

TEST_F(WindowDataFile, AShortOrDamagedFileLeavesTheDefaults) {
  const std::string whole = WindowFile(734, {120, 80, 800, 600, 1});
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"cut inside the values", whole.substr(0, 20)},
      {"cut before the string count", whole.substr(0, 28)},
      {"only the version word", whole.substr(0, 4)},
      {"shorter than the version word", whole.substr(0, 3)},
      {"empty", ""},
      {"six values", WindowFile(734, {1, 2, 3, 4, 5, 6})},
      {"four values", WindowFile(734, {1, 2, 3, 4})},
      {"a string follows", WindowFile(734, {1, 2, 3, 4, 5}, 1) + std::string("\x02\x00\x00\x00x\x00", 6)},
  };
  for (const Case& c : cases) {
    m_dir.WriteFile("user_data/Window.dat", c.bytes);
    cWindowData data;
    EXPECT_EQ(data.LoadFromFile("user_data\\Window.dat"), 1) << c.what;
    EXPECT_EQ(data.nX, 0) << c.what;
    EXPECT_EQ(data.nY, 0) << c.what;
    EXPECT_EQ(data.nWidth, 640) << c.what;
    EXPECT_EQ(data.nHeight, 480) << c.what;
    EXPECT_EQ(data.bMaximized, 0) << c.what;
  }
  EXPECT_EQ(plat::CloseRequestCount(), 0u) << "a damaged file is no fault of the program";
  cWindowData missing;
  EXPECT_EQ(missing.LoadFromFile("user_data\\none.dat"), 0);
}

TEST_F(WindowDataFile, EveryVersionHasTheSameLayout) {
  for (uint32_t version : {100u, 500u, 733u, 734u, 900u}) {
    m_dir.WriteFile("user_data/Window.dat", WindowFile(version, {7, 8, 300, 200, 0}));
    cWindowData data;
    ASSERT_EQ(data.LoadFromFile("user_data\\Window.dat"), 1);
    EXPECT_EQ(data.nX, 7) << version;
    EXPECT_EQ(data.nWidth, 300) << version;
  }
}
