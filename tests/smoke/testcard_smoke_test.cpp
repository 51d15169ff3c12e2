// The test card in a real window: under a virtual X server the tool shows
// it in a window and full screen, a screenshot of the whole screen is taken
// while it is up (it stays until its input closes) and points of the card are
// checked where they must land. Skipped when the X server or the screenshot
// tool is not installed. The screenshots are kept as PNG files in the build
// folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "smoke/x_session.h"
#include "support/png_image.h"
#include "tools/testcard/card.h"

namespace {

namespace fs = std::filesystem;

class TestCardSmoke : public ::testing::Test {
 protected:
  void SetUp() override {
    if (smoke::FindProgram("Xvfb").empty() || smoke::FindProgram("xwd").empty())
      GTEST_SKIP() << "Xvfb or xwd is not installed";
    fs::create_directories(SMOKE_OUT_DIR);
  }

  bool StartServer(int w, int h) { return m_server.Start(w, h); }

  // Shows the card and takes a screenshot while it is up; then tells the
  // tool to go by closing its input.
  bool Shoot(const std::vector<std::string>& toolArgs, const std::string& name, testsupport::RgbImage& shot) {
    std::vector<std::string> args = {TESTCARD_PATH};
    args.insert(args.end(), toolArgs.begin(), toolArgs.end());
    smoke::Child tool;
    const bool started = tool.Start(args, smoke::XEnvironment(m_server.Display()));
    const bool ready = started && !tool.WaitLine("ready", 120000).empty();
    const std::string file = std::string(SMOKE_OUT_DIR) + "/" + name + ".xwd";
    const bool shotOk = ready && m_server.Screenshot(file, shot);
    tool.CloseInput();
    const bool ended = tool.WaitExit(120000);
    EXPECT_TRUE(ready) << name << ": the tool did not show the card";
    EXPECT_TRUE(ended && tool.ExitCode() == 0) << name << ": the tool did not end well";
    if (shotOk) testsupport::WritePng(std::string(SMOKE_OUT_DIR) + "/" + name + ".png", shot);
    return ready && shotOk;
  }

  // Card point (x, y) is at screen (left + x * scale, top + y * scale).
  void ExpectPoints(const testsupport::RgbImage& shot, double left, double top, double scale, const char* what) {
    for (int i = 0; i < kTestCardPointCount; ++i) {
      const TestCardPoint& p = kTestCardPoints[i];
      const int sx = static_cast<int>(left + (p.x + 0.5) * scale), sy = static_cast<int>(top + (p.y + 0.5) * scale);
      ASSERT_TRUE(sx >= 0 && sy >= 0 && sx < shot.width && sy < shot.height) << what;
      const uint32_t got = shot.pixels[static_cast<size_t>(sy) * shot.width + sx];
      const uint32_t want = TestCardColour(p.palette);
      for (int shift : {16, 8, 0})
        EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 8)
            << what << ": point " << i << " at (" << sx << ", " << sy << ")";
    }
  }

  smoke::XServer m_server;
};

}  // namespace

TEST_F(TestCardSmoke, InAWindowTheCardShowsUnscaledAtTheWindowsPlace) {
  ASSERT_TRUE(StartServer(1024, 768));
  for (const char* bpp : {"32", "16"}) {
    testsupport::RgbImage shot;
    if (!Shoot({"--bpp", bpp}, std::string("window_") + bpp, shot)) continue;
    ExpectPoints(shot, 40, 30, 1.0, bpp);
    EXPECT_EQ(shot.pixels[static_cast<size_t>(700) * shot.width + 900], 0u) << "outside the window";
  }
}

TEST_F(TestCardSmoke, FullScreenFillsTheDesktopWithTheAspectKept) {
  ASSERT_TRUE(StartServer(1280, 720));
  testsupport::RgbImage shot;
  if (!Shoot({"--bpp", "8", "--fullscreen"}, "fullscreen_8", shot)) return;
  // 640 x 480 at 1.5 is 960 x 720, with bars of 160 at the sides.
  ExpectPoints(shot, 160, 0, 1.5, "full screen");
  EXPECT_EQ(shot.pixels[static_cast<size_t>(360) * shot.width + 80], 0u) << "left bar";
  EXPECT_EQ(shot.pixels[static_cast<size_t>(360) * shot.width + 1200], 0u) << "right bar";
}
