#pragma once
// One running copy of the program per user: a lock file named after the
// program's mutex name, locked with flock and holding the owner's PID. The
// file lies in $XDG_RUNTIME_DIR ("<name>.lock"), or in /tmp named with the
// user id ("<name>.<uid>.lock") when that variable names no absolute folder.
// The lock lasts while the descriptor is open; it is closed on exec, so
// programs started by the game never inherit it, and the system drops it
// when the process ends however it ends.
#include <cstdint>
#include <string>

namespace plat {

// The lock file for a Shift-JIS name, as a host path (UTF-8).
std::string InstanceLockPath(const std::string& sjisName);

class InstanceLock {
 public:
  enum Result {
    kTaken,   // the lock is ours
    kBusy,    // another process holds it
    kFailed,  // no lock file (Take), or the copy may not be signalled (EndRunningCopy)
  };

  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Main thread, at start: opens (creating) the lock file for the name and
  // tries to lock it without waiting. Taken, it holds this process's PID.
  Result Take(const std::string& sjisName);

  // After kBusy: the PID in the file when that process runs this same
  // executable; 0 when the file holds no PID, or a PID that is ours, stale,
  // another program's or unreadable.
  int RunningCopy() const;

  // After kBusy: ends the running copy `pid` (from RunningCopy). SIGTERM asks
  // it to close in order; the lock is awaited up to termWaitMs; then SIGKILL
  // and up to killWaitMs more. kTaken once the lock became ours, kBusy when
  // it is still held after both waits, kFailed when the process may not be
  // signalled. The waits are real time (another process is awaited).
  Result EndRunningCopy(int pid, uint32_t termWaitMs = 3000, uint32_t killWaitMs = 500);

  // Unlocks (emptying the PID first) and closes the file; nothing when not open.
  void Release();

  bool Held() const { return m_bHeld; }
  const std::string& Path() const { return m_strPath; }

 private:
  bool TryLock();
  bool WaitForLock(uint32_t timeoutMs);

  int m_fd = -1;
  bool m_bHeld = false;
  std::string m_strPath;
};

// True when the process `pid` runs the same executable as this process (the
// same file, or the same path of a file that was replaced since it started).
bool RunsOurExecutable(int pid);

}  // namespace plat
