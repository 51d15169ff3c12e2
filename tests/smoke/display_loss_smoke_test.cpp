// The game on the sample under its own virtual X server, which is then
// killed: the game notes the loss in its report log and ends with exit code
// 1 within 5 s (no abort over its running threads), leaving every file under
// user_data\ whole or absent.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "smoke/x_session.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(DisplayLossSmoke, KillingTheXServerEndsTheGameWithCode1AndAReportLine) {
  if (smoke::FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed";
  smoke::XServer server;
  ASSERT_TRUE(server.Start(1024, 768));
  testsupport::ScopedWorkDir dir;
  const std::string project = dir.Path() + "/sample";
  {
    smoke::Child writer;
    ASSERT_TRUE(writer.Start({MKPROJECT_FILE, project}, {}));
    writer.CloseInput();
    ASSERT_TRUE(writer.WaitExit(120000));
    ASSERT_EQ(writer.ExitCode(), 0);
  }
  // data\ exists, so no box asks first.
  fs::copy(project + "/default", project + "/data", fs::copy_options::recursive);
  fs::create_directories(dir.Path() + "/run");
  smoke::Child game;
  game.SetWorkingDirectory(project);
  ASSERT_TRUE(game.Start({GAME_FILE},
                         smoke::XEnvironment(server.Display(), {"XDG_RUNTIME_DIR=" + dir.Path() + "/run",
                                                                "TAVRIK_EDITOR_SOCKET=",
                                                                "TAVRIK_TRACE=" + dir.Path() + "/trace.txt"}),
                         project + "/stderr.txt"));
  // Up once the title runs: start-up is over and the window shows frames.
  // (Killed earlier, the server can take down the GL library that is just
  // connecting the window's renderer, before any handler hears of it.)
  std::string trace;
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
       trace.find("scene 0\n") == std::string::npos && game.Running() && std::chrono::steady_clock::now() < end;
       game.WaitExit(0)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    trace = ReadAll(dir.Path() + "/trace.txt");
  }
  ASSERT_NE(trace.find("scene 0\n"), std::string::npos) << trace;
  ASSERT_TRUE(game.Running());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // frames run on the game thread

  server.Kill();
  const auto killed = std::chrono::steady_clock::now();
  const bool ended = game.WaitExit(5000);
  EXPECT_TRUE(ended) << "still running 5 s after the display went";
  if (!ended) game.Signal(SIGKILL), game.WaitExit(60000);
  EXPECT_LT(std::chrono::steady_clock::now() - killed, std::chrono::seconds(5));
  EXPECT_EQ(game.ExitCode(), 1) << ReadAll(project + "/stderr.txt");
  EXPECT_NE(ReadAll(project + "/Report_Game.txt").find("\r\nthe display was lost\r\n"), std::string::npos);
  for (const auto& entry : fs::recursive_directory_iterator(project + "/user_data")) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << "a half-written file remains: " << entry.path();
    EXPECT_GT(entry.file_size(), 0u) << entry.path();
    if (name == "Window.dat") EXPECT_EQ(entry.file_size(), 32u);
  }
}
