// The game itself on the sample project in a real window: under a virtual X
// screen of the window's size it starts, fades the title in and then shows
// the title picture, the menu's frame and the hand on the first entry, as
// the title's golden image does. Screenshots are taken until the picture
// is complete, so the test waits for the game rather than for a time.
// Skipped when the X server or the screenshot tool is not installed.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/png_image.h"
#include "x_session.h"

namespace {

namespace fs = std::filesystem;

struct Point {
  const char* what;
  int x, y;
};
// The sample's title, by position in the window's client area.
constexpr Point kPoints[] = {
    {"sky", 20, 20},         {"ground", 20, 460},      {"trees", 600, 300},
    {"menu frame, top", 300, 240}, {"menu frame, right", 417, 300}, {"menu frame, bottom", 300, 465},
    {"menu inside", 200, 300}, {"hand on the first entry", 204, 256}, {"no hand on the second", 204, 288},
};

bool Near(uint32_t a, uint32_t b) {
  for (int shift : {16, 8, 0})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) return false;
  return true;
}

uint32_t At(const testsupport::RgbImage& image, int x, int y) {
  return image.pixels[static_cast<size_t>(y) * image.width + x];
}

// Where the client area shows the title on the screen: its top-left corner
// in `left`, `top`. The window manager decides where the window goes.
bool FindTitle(const testsupport::RgbImage& shot, const testsupport::RgbImage& golden, int& left, int& top) {
  for (top = 0; top + golden.height <= shot.height; ++top)
    for (left = 0; left + golden.width <= shot.width; ++left) {
      bool all = true;
      for (const Point& p : kPoints)
        if (!(all = Near(At(shot, left + p.x, top + p.y), At(golden, p.x, p.y)))) break;
      if (all) return true;
    }
  return false;
}

}  // namespace

TEST(TitleSmoke, AfterTheFadeInTheTitleShowsItsMenuWithTheHandOnTheFirstEntry) {
  if (smoke::FindProgram("Xvfb").empty() || smoke::FindProgram("xwd").empty())
    GTEST_SKIP() << "Xvfb or xwd is not installed";
  testsupport::RgbImage golden;
  ASSERT_TRUE(testsupport::ReadPng(TITLE_GOLDEN, golden));
  fs::create_directories(SMOKE_OUT_DIR);
  const std::string folder = std::string(SMOKE_OUT_DIR) + "/title_game";
  fs::remove_all(folder);
  {
    smoke::Child writer;
    ASSERT_TRUE(writer.Start({MKPROJECT_FILE, folder}, {}));
    writer.CloseInput();
    ASSERT_TRUE(writer.WaitExit(60000));
    ASSERT_EQ(writer.ExitCode(), 0);
  }
  // Started once before: data\ is there.
  fs::copy(folder + "/default", folder + "/data", fs::copy_options::recursive);
  fs::create_directories(folder + "/run");

  smoke::XServer screen;
  ASSERT_TRUE(screen.Start(800, 600));
  smoke::Child game;
  game.SetWorkingDirectory(folder);
  ASSERT_TRUE(game.Start({GAME_FILE},
                         smoke::XEnvironment(screen.Display(),
                                             {"XDG_RUNTIME_DIR=" + folder + "/run", "TAVRIK_EDITOR_SOCKET="}),
                         folder + "/output.txt"));

  testsupport::RgbImage shot;
  bool shown = false;
  bool ended = false;
  int left = 0, top = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (!shown && !ended && std::chrono::steady_clock::now() < until) {
    shown = screen.Screenshot(folder + "/title.xwd", shot) && FindTitle(shot, golden, left, top);
    ended = !shown && game.WaitExit(200);
  }
  if (!shot.pixels.empty()) testsupport::WritePng(std::string(SMOKE_OUT_DIR) + "/title.png", shot);
  EXPECT_FALSE(ended) << "the game ended";
  EXPECT_TRUE(shown) << "no title after 90 s; the last screenshot is " << SMOKE_OUT_DIR << "/title.png";
  if (ended) return;
  // A close request ends it in order.
  game.Signal(SIGTERM);
  ASSERT_TRUE(game.WaitExit(30000));
  EXPECT_EQ(game.ExitCode(), 0);
}
