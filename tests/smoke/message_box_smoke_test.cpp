// Message boxes in a real window under a virtual X server: the game's first
// start on the sample asks whether to create data\ in a box whose Japanese
// text is drawn as the text layer draws it, with Yes and No, and Enter takes
// the default; an error box of two lines shown before any window; a box
// shown from another thread while the main thread pumps, over the main
// window. The boxes are found on screenshots by the text layer's own drawing
// of their strings; keys go through the server's test extension. The
// screenshots are kept as PNG files in the build folder.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "platform/dialog_box.h"
#include "platform/message_box.h"
#include "platform/message_numbers.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "platform/window.h"
#include "smoke/x_session.h"
#include "support/png_image.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFace = 0xD4D0C8;  // the dialogs' face colour

// The string as the text layer draws it in the dialog face, black on the
// face colour; cropped to its inked pixels when asked (a button's focus
// frame may cross the rest of its cell).
testsupport::RgbImage Drawn(const std::string& sjis, bool cropToInk = false) {
  testsupport::RgbImage img;
  plat::text::MeasureText(plat::text::kDialogFace, plat::text::kDialogEmPixels, sjis, &img.width, &img.height);
  img.pixels.assign(static_cast<size_t>(img.width) * img.height, kFace);
  plat::text::DrawTextPixels32(img.pixels.data(), img.width, img.height, img.width, 0, 0, plat::text::kDialogFace,
                               plat::text::kDialogEmPixels, sjis, 0x000000);
  if (!cropToInk) return img;
  int left = img.width, top = img.height, right = -1, bottom = -1;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.pixels[static_cast<size_t>(y) * img.width + x] != kFace) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  testsupport::RgbImage out;
  if (right < 0) return out;
  out.width = right - left + 1;
  out.height = bottom - top + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) out.pixels.push_back(img.pixels[static_cast<size_t>(y) * img.width + x]);
  return out;
}

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

Box ParseBox(const std::string& line) {
  Box b;
  std::istringstream in(line.substr(line.find(' ') + 1));
  in >> b.left >> b.top >> b.right >> b.bottom;
  return b;
}

class MessageBoxSmoke : public ::testing::Test {
 protected:
  void SetUp() override {
    if (smoke::FindProgram("Xvfb").empty() || smoke::FindProgram("xwd").empty())
      GTEST_SKIP() << "Xvfb or xwd is not installed";
    fs::create_directories(SMOKE_OUT_DIR);
    ASSERT_TRUE(m_server.Start(1024, 768));
  }

  bool Shoot(const std::string& name, testsupport::RgbImage& shot) {
    const bool ok = m_server.Screenshot(std::string(SMOKE_OUT_DIR) + "/" + name + ".xwd", shot);
    if (ok) testsupport::WritePng(std::string(SMOKE_OUT_DIR) + "/" + name + ".png", shot);
    return ok;
  }

  // Takes screenshots until `text` is on the screen within the area (the
  // box draws itself after it is mapped); its place, or false after the bound.
  bool WaitForText(const std::string& name, const std::string& text, testsupport::RgbImage& shot, int& x, int& y,
                   Box area = {0, 0, -1, -1}) {
    const testsupport::RgbImage pattern = Drawn(text);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < end) {
      if (Shoot(name, shot) && smoke::FindImage(shot, pattern, x, y, 0, area.left, area.top, area.right, area.bottom))
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  // Runs this program's child test in `mode` under the server.
  bool StartChild(smoke::Child& child, const std::string& mode) {
    return child.Start({"/proc/self/exe", "--gtest_filter=MessageBoxChild.*"},
                       smoke::XEnvironment(m_server.Display(), {"MESSAGE_BOX_CHILD=" + mode}));
  }

  smoke::XServer m_server;
};

}  // namespace

TEST_F(MessageBoxSmoke, TheFirstStartsQuestionIsDrawnInJapaneseAndEnterTakesItsDefaultYes) {
  testsupport::ScopedWorkDir dir;
  const std::string project = dir.Path() + "/sample";
  {
    smoke::Child writer;
    ASSERT_TRUE(writer.Start({MKPROJECT_FILE, project}, {}));
    writer.CloseInput();
    ASSERT_TRUE(writer.WaitExit(120000));
    ASSERT_EQ(writer.ExitCode(), 0);
  }
  fs::create_directories(dir.Path() + "/run");
  smoke::Child game;
  game.SetWorkingDirectory(project);
  ASSERT_TRUE(game.Start({GAME_FILE},
                         smoke::XEnvironment(m_server.Display(), {"XDG_RUNTIME_DIR=" + dir.Path() + "/run",
                                                                  "TAVRIK_EDITOR_SOCKET="}),
                         project + "/stderr.txt"));
  testsupport::RgbImage shot;
  int x = 0, y = 0;
  const std::string question = Sjis("データが存在しません！デフォルトデータを作成しますか？");
  ASSERT_TRUE(WaitForText("first_start_question", question, shot, x, y)) << "the question's text is not drawn";
  // Yes and No below the text, Yes the default.
  int yesX = 0, yesY = 0, noX = 0, noY = 0;
  const Box below{x - 200, y + 10, x + 600, y + 120};
  EXPECT_TRUE(smoke::FindImage(shot, Drawn("Yes", true), yesX, yesY, 0, below.left, below.top, below.right,
                               below.bottom));
  EXPECT_TRUE(smoke::FindImage(shot, Drawn("No", true), noX, noY, 0, below.left, below.top, below.right,
                               below.bottom));
  EXPECT_EQ(yesY, noY);
  EXPECT_LT(yesX, noX);
  EXPECT_FALSE(fs::exists(project + "/data")) << "nothing happens before the answer";

  ASSERT_TRUE(m_server.PressKeyAt(x + 10, y + 5, smoke::kKeyReturn));
  // Yes made data\ and start-up goes on to the display.
  std::string report;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  while (report.find("\r\nBpp : ") == std::string::npos && std::chrono::steady_clock::now() < end && game.Running()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(project + "/Report_Game.txt", std::ios::binary);
    report.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    game.WaitExit(0);
  }
  EXPECT_NE(report.find("\r\nBpp : "), std::string::npos) << report;
  EXPECT_TRUE(fs::exists(project + "/data/System.dat"));
  game.Signal(SIGTERM);
  ASSERT_TRUE(game.WaitExit(60000));
  EXPECT_EQ(game.ExitCode(), 0);
  std::ifstream err(project + "/stderr.txt");
  const std::string stderrText((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
  EXPECT_EQ(stderrText.find("データが存在しません"), std::string::npos) << "the box went to stderr: " << stderrText;
}

TEST_F(MessageBoxSmoke, AnErrorBoxOfTwoLinesBeforeAnyWindowShowsBothLines) {
  smoke::Child child;
  ASSERT_TRUE(StartChild(child, "error"));
  const std::string shown = child.WaitLine("shown ", 120000);
  ASSERT_FALSE(shown.empty());
  const Box box = ParseBox(shown);
  testsupport::RgbImage shot;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  ASSERT_TRUE(WaitForText("error_box", Sjis("ファイルが読み込めません！"), shot, x1, y1, box));
  EXPECT_TRUE(smoke::FindImage(shot, Drawn("bmp\\Title.bmp"), x2, y2, 0, box.left, box.top, box.right, box.bottom));
  EXPECT_EQ(x1, x2) << "both lines start at the text's left";
  EXPECT_GT(y2, y1) << "the second line is below the first";
  int okX = 0, okY = 0;
  EXPECT_TRUE(smoke::FindImage(shot, Drawn("OK", true), okX, okY, 0, box.left, y2, box.right, box.bottom));
  ASSERT_TRUE(m_server.PressKeyAt(x1 + 5, y1 + 5, smoke::kKeyReturn));
  EXPECT_EQ(child.WaitLine("answer ", 120000), "answer 1");
  ASSERT_TRUE(child.WaitExit(120000));
  EXPECT_EQ(child.ExitCode(), 0);
}

TEST_F(MessageBoxSmoke, ABoxFromAnotherThreadShowsOverTheMainWindowWhileTheMainThreadPumps) {
  smoke::Child child;
  ASSERT_TRUE(StartChild(child, "thread"));
  const Box window = ParseBox(child.WaitLine("window ", 120000));
  const std::string shown = child.WaitLine("shown ", 120000);
  ASSERT_FALSE(shown.empty());
  const Box box = ParseBox(shown);
  EXPECT_NEAR((box.left + box.right) / 2, (window.left + window.right) / 2, 2) << "centred over the main window";
  EXPECT_NEAR((box.top + box.bottom) / 2, (window.top + window.bottom) / 2, 2);
  testsupport::RgbImage shot;
  int x = 0, y = 0;
  ASSERT_TRUE(WaitForText("thread_box", Sjis("ゲームスレッドからの質問です。"), shot, x, y, box));
  ASSERT_TRUE(m_server.PressKeyAt(x + 5, y + 5, smoke::kKeyReturn));
  EXPECT_EQ(child.WaitLine("answer ", 120000), "answer 7") << "Enter takes the default No";
  ASSERT_TRUE(child.WaitExit(120000));
  EXPECT_EQ(child.ExitCode(), 0);
}

// The boxes' program, started by the tests above with MESSAGE_BOX_CHILD set.
// It prints where each box shows and what it answered.
TEST(MessageBoxChild, ShowsTheBoxesOfItsMode) {
  const char* mode = std::getenv("MESSAGE_BOX_CHILD");
  if (!mode) GTEST_SKIP() << "run by the message box smoke tests only";
  setenv("SDL_VIDEODRIVER", "x11", 1);
  plat::SetBoxScript(nullptr);
  plat::SetDialogShowHook([](const plat::DialogShown& shown) {
    plat::Rect r;
    plat::GetWindowRect(shown.dialog, r);
    std::printf("shown %d %d %d %d\n", r.left, r.top, r.right, r.bottom);
    std::fflush(stdout);
  });
  plat::BoxRequest request;
  if (std::string(mode) == "error") {
    // Before the window system is up, as a start-up failure's box.
    request.caption = Sjis("エラー");
    request.text = Sjis("ファイルが読み込めません！") + "\nbmp\\Title.bmp";
    request.error = true;
    std::printf("answer %d\n", plat::ShowBox(request));
    std::fflush(stdout);
    return;
  }
  ASSERT_TRUE(plat::StartWindowSystem());
  plat::WindowLayout layout;
  layout.x = 120;
  layout.y = 90;
  plat::WindowHandle window = plat::CreateAppWindow(layout, [](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) {
    return intptr_t{0};
  });
  ASSERT_TRUE(plat::IsWindow(window));
  plat::ShowAppWindow(window);
  plat::Rect r;
  plat::GetWindowRect(window, r);
  std::printf("window %d %d %d %d\n", r.left, r.top, r.right, r.bottom);
  std::fflush(stdout);
  request.caption = Sjis("確認");
  request.text = Sjis("ゲームスレッドからの質問です。");
  request.buttons = plat::BoxButtons::YesNo;
  request.defaultButton = 1;
  const uint32_t mainThread = plat::CurrentThreadId();
  std::atomic<int> answer{0};
  std::thread game([&] {
    answer = plat::ShowBox(request);
    plat::PostToThread(mainThread, WM_USER, 0, 0);  // wakes the pump
  });
  while (!answer) {
    plat::Message msg;
    if (plat::Peek(msg))
      plat::Dispatch(msg);
    else
      plat::WaitForMessage(100);
  }
  game.join();
  std::printf("answer %d\n", answer.load());
  std::fflush(stdout);
  plat::DestroyAppWindow(window);
  plat::StopWindowSystem();
}
