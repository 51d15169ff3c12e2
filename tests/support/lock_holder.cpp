#include "support/lock_holder.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/instance_lock.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr char kRoleVar[] = "TAVRIK_TEST_LOCK_HOLDER";
constexpr char kNameVar[] = "TAVRIK_TEST_LOCK_NAME";
constexpr char kPidVar[] = "TAVRIK_TEST_LOCK_FILE_PID";
constexpr char kDirVar[] = "TAVRIK_TEST_LOCK_DIR";
// The runtime folder the test had when it started the child. The child takes
// it from here, not from XDG_RUNTIME_DIR: the test support's own start-up
// hook may run first in the child and point that at the program's folder.
constexpr char kRuntimeVar[] = "TAVRIK_TEST_LOCK_RUNTIME_DIR";

void Touch(const std::string& path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd >= 0) close(fd);
}

// The child's whole life; it never returns into the test program.
[[noreturn]] void PlayLockHolder(const std::string& role) {
  const char* name = std::getenv(kNameVar);
  const char* dir = std::getenv(kDirVar);
  const char* filePid = std::getenv(kPidVar);
  if (!name || !dir) _exit(2);
  if (const char* runtime = std::getenv(kRuntimeVar))
    setenv("XDG_RUNTIME_DIR", runtime, 1);
  else
    unsetenv("XDG_RUNTIME_DIR");
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  if (role == "ignore")
    signal(SIGTERM, SIG_IGN);
  else
    sigprocmask(SIG_BLOCK, &term, nullptr);

  plat::InstanceLock lock;
  if (lock.Take(name) != plat::InstanceLock::kTaken) _exit(3);
  if (filePid && *filePid) {
    int fd = open(lock.Path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) _exit(4);
    std::string text = std::string(filePid) + "\n";
    if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) _exit(4);
    close(fd);
  }
  Touch(std::string(dir) + "/ready");
  if (role == "ignore")
    for (;;) pause();
  int signo = 0;
  sigwait(&term, &signo);
  lock.Release();
  Touch(std::string(dir) + "/ended");
  _exit(0);
}

// Runs before main in every test program: the child plays its role here.
const bool g_playedHolder = [] {
  if (const char* role = std::getenv(kRoleVar)) PlayLockHolder(role);
  return false;
}();

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

bool WaitForFile(const std::string& path, int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    if (fs::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return fs::exists(path);
}

}  // namespace

namespace testsupport {

LockHolder::LockHolder(const std::string& sjisName, OnTerm onTerm, int filePid) {
  std::string pattern = (fs::temp_directory_path() / "rtholdXXXXXX").string();
  if (!mkdtemp(pattern.data())) return;
  m_dir = pattern;
  std::vector<std::string> extra = {
      std::string(kRoleVar) + "=" + (onTerm == OnTerm::kIgnore ? "ignore" : "term"),
      std::string(kNameVar) + "=" + sjisName,
      std::string(kPidVar) + "=" + (filePid ? std::to_string(filePid) : ""),
      std::string(kDirVar) + "=" + m_dir,
  };
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"))
    extra.push_back(std::string(kRuntimeVar) + "=" + runtime);
  std::vector<std::string> env = EnvironmentWith(extra);
  // Should the role not start, the program runs no test either.
  std::vector<std::string> args = {"lock_holder", "--gtest_filter=-*"};
  std::vector<char*> argv = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  pid_t pid;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), envp.data()) != 0) return;
  m_pid = pid;
  m_ready = WaitForFile(m_dir + "/ready", 10000);
}

LockHolder::~LockHolder() {
  if (m_pid > 0 && !m_reaped) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, &m_status, 0);
  }
  std::error_code ec;
  if (!m_dir.empty()) fs::remove_all(m_dir, ec);
}

bool LockHolder::Running() {
  if (m_pid <= 0 || m_reaped) return false;
  if (waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
    m_reaped = true;
    return false;
  }
  return true;
}

int LockHolder::WaitForEnd(int timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Running()) {
    if (std::chrono::steady_clock::now() >= end) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return m_reaped ? m_status : -1;
}

bool LockHolder::EndedInOrder() const { return !m_dir.empty() && fs::exists(m_dir + "/ended"); }

int SpawnProgram(const std::vector<std::string>& argvIn) {
  std::vector<std::string> args = argvIn;
  std::vector<char*> argv = Pointers(args);
  pid_t pid;
  if (posix_spawnp(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

}  // namespace testsupport
