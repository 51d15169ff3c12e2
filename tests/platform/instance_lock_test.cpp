// The lock file that keeps one running copy per user: where it lies, who
// holds it, which PID in it counts as a running copy, and how that copy ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/instance_lock.h"
#include "support/lock_holder.h"
#include "support/test_support.h"

using testsupport::LockHolder;
using testsupport::ScopedEnv;
using testsupport::ScopedWorkDir;

namespace {

// "ゲーム", the program's mutex name.
const char kName[] = "\x83\x51\x81\x5B\x83\x80";
const char kNameUtf8[] = "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0";

// A process started here that is not this program; killed and reaped at the end.
struct OtherProgram {
  int pid = testsupport::SpawnProgram({"sleep", "30"});
  ~OtherProgram() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  bool Running() const { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }
};

// The PID of a process that has ended and been reaped.
int StalePid() {
  int pid = testsupport::SpawnProgram({"true"});
  waitpid(pid, nullptr, 0);
  return pid;
}

}  // namespace

TEST(InstanceLockPath, RuntimeFolderElseTmpWithTheUserId) {
  const std::string inTmp = std::string("/tmp/") + kNameUtf8 + "." + std::to_string(getuid()) + ".lock";
  struct Case {
    const char* runtimeDir;
    std::string expected;
  } cases[] = {
      {"/run/user/1000", std::string("/run/user/1000/") + kNameUtf8 + ".lock"},
      {nullptr, inTmp},
      {"", inTmp},
      {"relative/dir", inTmp},  // not a folder anyone can rely on
  };
  for (const Case& c : cases) {
    ScopedEnv env("XDG_RUNTIME_DIR", c.runtimeDir);
    EXPECT_EQ(plat::InstanceLockPath(kName), c.expected) << (c.runtimeDir ? c.runtimeDir : "(unset)");
  }
  ScopedEnv env("XDG_RUNTIME_DIR", "/run/x");
  EXPECT_EQ(plat::InstanceLockPath("a/b"), "/run/x/a_b.lock");
}

TEST(InstanceLock, OneHolderAtATimeWithItsPidInTheFile) {
  ScopedWorkDir dir;
  ScopedEnv env("XDG_RUNTIME_DIR", dir.Path().c_str());
  const std::string file = std::string(kNameUtf8) + ".lock";

  plat::InstanceLock first, second;
  ASSERT_EQ(first.Take(kName), plat::InstanceLock::kTaken);
  EXPECT_TRUE(first.Held());
  EXPECT_EQ(dir.ReadFile(file), std::to_string(getpid()) + "\n");
  struct stat st;
  ASSERT_EQ(stat((dir.Path() + "/" + file).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  EXPECT_EQ(second.Take(kName), plat::InstanceLock::kBusy);
  EXPECT_FALSE(second.Held());
  EXPECT_EQ(second.RunningCopy(), 0);  // never this process itself

  // A program started while the lock is held does not inherit it.
  OtherProgram child;
  ASSERT_GT(child.pid, 0);
  first.Release();
  EXPECT_EQ(dir.ReadFile(file), "");  // no PID stays behind
  EXPECT_EQ(second.Take(kName), plat::InstanceLock::kTaken);
  EXPECT_EQ(dir.ReadFile(file), std::to_string(getpid()) + "\n");
}

TEST(InstanceLock, RefusesALinkOrAFolderInPlaceOfTheFile) {
  ScopedWorkDir dir;
  ScopedEnv env("XDG_RUNTIME_DIR", dir.Path().c_str());
  const std::string path = dir.Path() + "/" + kNameUtf8 + ".lock";

  dir.WriteFile("target", "");
  std::filesystem::create_symlink(dir.Path() + "/target", path);
  plat::InstanceLock lock;
  EXPECT_EQ(lock.Take(kName), plat::InstanceLock::kFailed);
  EXPECT_EQ(dir.ReadFile("target"), "");

  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
  EXPECT_EQ(lock.Take(kName), plat::InstanceLock::kFailed);
  EXPECT_FALSE(lock.Held());
}

TEST(InstanceLock, APidCountsOnlyWhenItRunsThisProgram) {
  ScopedWorkDir dir;
  ScopedEnv env("XDG_RUNTIME_DIR", dir.Path().c_str());
  const std::string file = std::string(kNameUtf8) + ".lock";
  OtherProgram other;
  ASSERT_GT(other.pid, 0);

  plat::InstanceLock holder, asker;
  ASSERT_EQ(holder.Take(kName), plat::InstanceLock::kTaken);
  ASSERT_EQ(asker.Take(kName), plat::InstanceLock::kBusy);
  struct Case {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty (the holder has not written yet)", ""},
      {"not a number", "abc\n"},
      {"trailing text", "12x\n"},
      {"out of range", "99999999999\n"},
      {"beyond any process", "2147483647\n"},
      {"stale", std::to_string(StalePid()) + "\n"},
      {"another program", std::to_string(other.pid) + "\n"},
      {"this process", std::to_string(getpid()) + "\n"},
  };
  for (const Case& c : cases) {
    dir.WriteFile(file, c.text);
    EXPECT_EQ(asker.RunningCopy(), 0) << c.what;
  }
  EXPECT_TRUE(other.Running());

  EXPECT_TRUE(plat::RunsOurExecutable(getpid()));
  EXPECT_FALSE(plat::RunsOurExecutable(other.pid));
  EXPECT_FALSE(plat::RunsOurExecutable(0));
  EXPECT_FALSE(plat::RunsOurExecutable(-1));
}

TEST(InstanceLock, EndsTheRunningCopyInOrderAndTakesItsLock) {
  ScopedWorkDir dir;
  ScopedEnv env("XDG_RUNTIME_DIR", dir.Path().c_str());
  LockHolder copy(kName, LockHolder::OnTerm::kEndInOrder);
  ASSERT_TRUE(copy.Ready());

  plat::InstanceLock lock;
  ASSERT_EQ(lock.Take(kName), plat::InstanceLock::kBusy);
  ASSERT_EQ(lock.RunningCopy(), copy.Pid());
  EXPECT_EQ(lock.EndRunningCopy(copy.Pid()), plat::InstanceLock::kTaken);
  EXPECT_TRUE(lock.Held());
  int status = copy.WaitForEnd(5000);
  ASSERT_NE(status, -1);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(copy.EndedInOrder());
  EXPECT_EQ(dir.ReadFile(std::string(kNameUtf8) + ".lock"), std::to_string(getpid()) + "\n");
}

TEST(InstanceLock, KillsACopyThatDoesNotEndInTime) {
  ScopedWorkDir dir;
  ScopedEnv env("XDG_RUNTIME_DIR", dir.Path().c_str());
  LockHolder copy(kName, LockHolder::OnTerm::kIgnore);
  ASSERT_TRUE(copy.Ready());

  plat::InstanceLock lock;
  ASSERT_EQ(lock.Take(kName), plat::InstanceLock::kBusy);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(lock.EndRunningCopy(copy.Pid(), 300, 5000), plat::InstanceLock::kTaken);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  int status = copy.WaitForEnd(5000);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  EXPECT_FALSE(copy.EndedInOrder());
}
