// The game executable driven by a script on the sample project, headless:
// through the title into the options, the volume raised, back to the title
// and out by its exit entry. The trace tells the scenes in order and the
// files written (the options on leaving them, the window's place at the
// end); the shot is a PNG of the title; Option.dat holds
// the new volume.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/png_image.h"
#include "support/test_support.h"
#include "tools/sample/sample_project.h"

extern char** environ;

using testsupport::ScopedEnv;

namespace {

// The game run to its end in `folder` (stderr in stderr.txt there); its exit
// code, or -1 when it was still running after `boundMs` (then it is killed).
int RunScriptedGame(const std::string& folder, int boundMs) {
  const std::string err = folder + "/stderr.txt";
  const pid_t pid = fork();
  if (pid == 0) {
    const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || dup2(fd, 2) < 0 || chdir(folder.c_str()) != 0) _exit(127);
    char* const argv[] = {const_cast<char*>(GAME_FILE), nullptr};
    execve(GAME_FILE, argv, environ);
    _exit(127);
  }
  if (pid < 0) return -1;
  for (int waited = 0; waited <= boundMs; waited += 10) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

// The lines of the trace that start with one of `kinds`.
std::vector<std::string> TraceLinesOf(const std::string& text, const std::vector<std::string>& kinds) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    for (const std::string& kind : kinds)
      if (line.rfind(kind, 0) == 0) lines.push_back(line);
  return lines;
}

// A tap: one poll down, one up.
const char kTitleToOptions[] =
    "expect 600 scene 0\n"
    "wait 120\n"
    "shot title\n"
    "wait 2\n"
    "expect 10 shot title.png\n"
    "hold 1 0x28\nwait 1\nhold 1 0x28\nwait 1\nhold 1 0x28\nwait 1\nhold 1 0x28\nwait 1\nhold 1 0x28\nwait 1\n"
    "hold 1 Z\nwait 1\n"
    "expect 300 scene 5\n"
    "wait 120\n"
    "hold 1 0x28\nwait 1\nhold 1 0x28\nwait 1\n"  // the volume
    "hold 1 Z\nwait 1\nhold 1 0x26\nwait 1\nhold 1 Z\nwait 1\n"
    "hold 1 X\nwait 1\n"
    "expect 300 file user_data\\Option.dat\n"
    "expect 300 scene 0\n"
    "wait 120\n"
    "hold 1 0x28\nwait 1\nhold 1 Z\n"  // the exit entry, under the options
    "wait 600\n";

}  // namespace

TEST(ScriptedRun, TheGameGoesThroughTheTitleAndOptionsAsScripted) {
  testsupport::ScopedWorkDir dir;
  const std::string folder = dir.Path() + "/game";
  std::string error;
  ASSERT_TRUE(WriteSampleProject(folder, error)) << error;
  dir.WriteFile("script.txt", kTitleToOptions);
  ScopedEnv video{"SDL_VIDEODRIVER", "dummy"};
  ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
  ScopedEnv script{"TAVRIK_SCRIPT", (dir.Path() + "/script.txt").c_str()};
  ScopedEnv trace{"TAVRIK_TRACE", (dir.Path() + "/trace.txt").c_str()};
  const int code = RunScriptedGame(folder, 120000);
  const std::string traced = dir.ReadFile("trace.txt");
  ASSERT_EQ(code, 0) << dir.ReadFile("game/stderr.txt") << "\ntrace:\n" << traced;
  EXPECT_EQ(TraceLinesOf(traced, {"scene", "file", "shot", "shown"}),
            (std::vector<std::string>{"scene 0", "shown title", "shot title.png", "scene 5",
                                      "file user_data\\Option.dat", "scene 0", "file user_data\\Window.dat"}))
      << traced;
  // Option.dat: version, field count, palette, music, volume (7 raised to 8).
  const std::string options = dir.ReadFile("game/user_data/Option.dat");
  ASSERT_GE(options.size(), 20u);
  EXPECT_EQ(static_cast<unsigned char>(options[16]), 8);
  testsupport::RgbImage shot;
  ASSERT_TRUE(testsupport::ReadPng(folder + "/title.png", shot));
  EXPECT_EQ(shot.width, 640);
  EXPECT_EQ(shot.height, 480);
}

TEST(ScriptedRun, AMissedStepEndsTheGameWithCode3) {
  testsupport::ScopedWorkDir dir;
  const std::string folder = dir.Path() + "/game";
  std::string error;
  ASSERT_TRUE(WriteSampleProject(folder, error)) << error;
  dir.WriteFile("script.txt", "expect 600 scene 0\nexpect 20 scene 4\n");
  ScopedEnv video{"SDL_VIDEODRIVER", "dummy"};
  ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
  ScopedEnv script{"TAVRIK_SCRIPT", (dir.Path() + "/script.txt").c_str()};
  ScopedEnv trace{"TAVRIK_TRACE", (dir.Path() + "/trace.txt").c_str()};
  EXPECT_EQ(RunScriptedGame(folder, 120000), 3);
  EXPECT_NE(dir.ReadFile("game/stderr.txt").find("script line 2 (expect scene 4)"), std::string::npos)
      << dir.ReadFile("game/stderr.txt");
  EXPECT_NE(dir.ReadFile("trace.txt").find("script miss line 2"), std::string::npos);
}
