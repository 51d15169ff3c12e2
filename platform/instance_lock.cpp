#include "platform/instance_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>

#include "platform/text_encoding.h"

namespace plat {
namespace {

constexpr size_t kMaxPidText = 32;
constexpr auto kPollStep = std::chrono::milliseconds(10);

// The link target of a /proc entry; empty when it cannot be read.
std::string ReadLink(const std::string& path) {
  char buf[PATH_MAX];
  ssize_t n = readlink(path.c_str(), buf, sizeof(buf) - 1);
  if (n <= 0) return std::string();
  return std::string(buf, static_cast<size_t>(n));
}

// The path a replaced or deleted executable still shows under /proc.
std::string WithoutDeletedMark(std::string path) {
  const std::string mark = " (deleted)";
  if (path.size() > mark.size() && path.compare(path.size() - mark.size(), mark.size(), mark) == 0)
    path.resize(path.size() - mark.size());
  return path;
}

// Decimal PID text as written by Take; 0 for anything else.
int ParsePid(const char* text, size_t size) {
  long value = 0;
  size_t i = 0;
  while (i < size && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX) return 0;
    ++i;
  }
  if (i == 0) return 0;
  while (i < size && (text[i] == '\n' || text[i] == '\r' || text[i] == ' ')) ++i;
  return i == size ? static_cast<int>(value) : 0;
}

}  // namespace

std::string InstanceLockPath(const std::string& sjisName) {
  std::string name = Cp932ToUtf8(sjisName);
  for (char& c : name)
    if (c == '/') c = '_';
  const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
  if (runtimeDir && runtimeDir[0] == '/') return std::string(runtimeDir) + "/" + name + ".lock";
  return "/tmp/" + name + "." + std::to_string(getuid()) + ".lock";
}

bool RunsOurExecutable(int pid) {
  if (pid <= 0) return false;
  const std::string other = "/proc/" + std::to_string(pid) + "/exe";
  struct stat selfStat, otherStat;
  if (stat("/proc/self/exe", &selfStat) != 0) return false;
  if (stat(other.c_str(), &otherStat) == 0 && selfStat.st_dev == otherStat.st_dev &&
      selfStat.st_ino == otherStat.st_ino)
    return true;
  std::string selfPath = WithoutDeletedMark(ReadLink("/proc/self/exe"));
  std::string otherPath = WithoutDeletedMark(ReadLink(other));
  return !selfPath.empty() && selfPath == otherPath;
}

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Result InstanceLock::Take(const std::string& sjisName) {
  Release();
  m_strPath = InstanceLockPath(sjisName);
  // Never through a link, and only a file of our own: /tmp is shared.
  m_fd = open(m_strPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (m_fd < 0) return kFailed;
  struct stat st;
  if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
    close(m_fd);
    m_fd = -1;
    return kFailed;
  }
  return TryLock() ? kTaken : kBusy;
}

bool InstanceLock::TryLock() {
  if (m_fd < 0) return false;
  if (m_bHeld) return true;
  int r;
  do {
    r = flock(m_fd, LOCK_EX | LOCK_NB);
  } while (r != 0 && errno == EINTR);
  if (r != 0) return false;
  m_bHeld = true;
  std::string text = std::to_string(getpid()) + "\n";
  // A reader that comes between the two calls sees no PID: "no copy found".
  if (ftruncate(m_fd, 0) == 0) {
    ssize_t written = pwrite(m_fd, text.data(), text.size(), 0);
    (void)written;
  }
  return true;
}

bool InstanceLock::WaitForLock(uint32_t timeoutMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (TryLock()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(kPollStep);
  }
}

int InstanceLock::RunningCopy() const {
  if (m_fd < 0) return 0;
  char text[kMaxPidText];
  ssize_t n = pread(m_fd, text, sizeof(text), 0);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof(text)) return 0;
  int pid = ParsePid(text, static_cast<size_t>(n));
  if (pid <= 0 || pid == getpid()) return 0;
  return RunsOurExecutable(pid) ? pid : 0;
}

InstanceLock::Result InstanceLock::EndRunningCopy(int pid, uint32_t termWaitMs, uint32_t killWaitMs) {
  if (pid <= 0 || pid == getpid()) return kFailed;
  if (m_fd < 0) return kFailed;
  // ESRCH: it ended by itself meanwhile, and the lock follows.
  if (kill(pid, SIGTERM) != 0 && errno != ESRCH) return kFailed;
  if (WaitForLock(termWaitMs)) return kTaken;
  // Killed only while it is still our program: its PID may be free by now.
  if (RunsOurExecutable(pid)) kill(pid, SIGKILL);
  return WaitForLock(killWaitMs) ? kTaken : kBusy;
}

void InstanceLock::Release() {
  if (m_fd < 0) return;
  if (m_bHeld) {
    // Emptied while still locked, so no stale PID stays behind.
    int ignored = ftruncate(m_fd, 0);
    (void)ignored;
  }
  close(m_fd);  // drops the lock
  m_fd = -1;
  m_bHeld = false;
}

}  // namespace plat
