// The game executable started by the editor for a test play, headless, in
// the small project of tests/support/start_project.h: the editor's socket
// hears the start and the end, SIGTERM ends it in order, and a project that
// cannot start says so on stderr and tells the editor.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "support/editor_listener.h"
#include "support/start_project.h"
#include "support/test_support.h"

extern char** environ;

using testsupport::Notice;
using testsupport::ScopedEnv;

namespace {

// The game running in a folder, its stderr in stderr.txt there.
class GameProcess {
 public:
  explicit GameProcess(const std::string& folder) {
    const std::string err = folder + "/stderr.txt";
    m_pid = fork();
    if (m_pid == 0) {
      const int fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd < 0 || dup2(fd, 2) < 0 || chdir(folder.c_str()) != 0) _exit(127);
      char* const argv[] = {const_cast<char*>(GAME_FILE), nullptr};
      execve(GAME_FILE, argv, environ);
      _exit(127);
    }
  }
  ~GameProcess() {
    if (m_pid > 0 && !m_bReaped) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  bool Started() const { return m_pid > 0; }
  void Signal(int sig) { kill(m_pid, sig); }
  // Its exit code once it ended within timeoutMs; -1 otherwise.
  int WaitForExit(int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 10) {
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_bReaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

 private:
  pid_t m_pid = -1;
  bool m_bReaped = false;
};

bool WaitForFileText(const testsupport::ScopedWorkDir& dir, const std::string& file, const std::string& text,
                     int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    if (dir.Exists(file) && dir.ReadFile(file).find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// The editor's side: its socket, a lock folder of the run's own, no display.
struct EditorRun {
  testsupport::ScopedWorkDir dir;
  testsupport::EditorListener editor{dir.Path() + "/editor.sock"};
  ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.Path().c_str()};
  ScopedEnv video{"SDL_VIDEODRIVER", "dummy"};
  ScopedEnv audio{"SDL_AUDIODRIVER", "dummy"};
};

}  // namespace

TEST(GameProcess, StartedByTheEditorItTellsItsStartAndItsEndAndEndsInOrderOnSigterm) {
  EditorRun run;
  ASSERT_TRUE(run.editor.Ok());
  ASSERT_TRUE(testsupport::WriteStartProject());  // default\ only: the first start asks
  GameProcess game(run.dir.Path());
  ASSERT_TRUE(game.Started());
  ASSERT_TRUE(WaitForFileText(run.dir, "Report_Game.txt", "\r\nBpp : 32\r\n", 60000))
      << run.dir.ReadFile("Report_Game.txt");
  EXPECT_EQ(run.editor.TakeAll(), std::vector<std::string>{Notice(1, 1)});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // some frames

  game.Signal(SIGTERM);
  EXPECT_EQ(game.WaitForExit(60000), 0);
  EXPECT_EQ(run.editor.TakeAll(), std::vector<std::string>{Notice(0, 1)});
  EXPECT_TRUE(run.dir.Exists("data/System.dat"));  // the question's default Yes made data\.
  EXPECT_EQ(run.dir.ReadFile("user_data/Window.dat").size(), 32u);
  const std::string report = run.dir.ReadFile("Report_Game.txt");
  EXPECT_EQ(report.rfind("App : ver 734\r\nOS : ", 0), 0u) << report;
  EXPECT_NE(report.find("\r\nMode : Window\r\nBpp : 32\r\n"), std::string::npos) << report;
  EXPECT_EQ(run.dir.ReadFile("stderr.txt"),
            "[デフォルトデータ作成の確認] データが存在しません！デフォルトデータを作成しますか？\n\n");
}

TEST(GameProcess, WithoutSystemDatItShowsItsBoxOnStderrAndTellsTheEditorItFailed) {
  EditorRun run;
  ASSERT_TRUE(run.editor.Ok());
  ASSERT_TRUE(testsupport::WriteStartProjectWithData());
  ASSERT_EQ(std::remove("data/System.dat"), 0);
  GameProcess game(run.dir.Path());
  ASSERT_TRUE(game.Started());
  EXPECT_EQ(game.WaitForExit(60000), 0);
  EXPECT_EQ(run.editor.TakeAll(), (std::vector<std::string>{Notice(1, 1), Notice(0, 0)}));
  EXPECT_EQ(run.dir.ReadFile("stderr.txt"), "[エラー] data\\System.dat の読み込みに失敗…\n");
  EXPECT_FALSE(run.dir.Exists("user_data/Window.dat"));
}
