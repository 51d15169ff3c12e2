#pragma once
// Another running copy for the single-instance tests: this test program
// started again as a child process that takes the instance lock of a name
// and holds it. It runs the same executable as the test, so the test sees it
// as a copy of itself.
#include <string>
#include <vector>

namespace testsupport {

class LockHolder {
 public:
  enum class OnTerm {
    kEndInOrder,  // SIGTERM: releases the lock, notes it, exits 0
    kIgnore,      // ignores SIGTERM; only SIGKILL ends it
  };

  // Starts the child for a Shift-JIS lock name and waits (up to 10 s) until
  // it holds the lock. filePid, when not 0, is written into the lock file in
  // place of the child's own PID. Ready() tells whether all went well.
  LockHolder(const std::string& sjisName, OnTerm onTerm, int filePid = 0);
  // Kills and reaps the child if it still runs.
  ~LockHolder();
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool Ready() const { return m_ready; }
  int Pid() const { return m_pid; }
  bool Running();
  // Waits up to timeoutMs for the child to end; its wait status, or -1.
  int WaitForEnd(int timeoutMs);
  // The child took SIGTERM, released the lock and ended by itself.
  bool EndedInOrder() const;

 private:
  int m_pid = -1;
  bool m_reaped = false;
  int m_status = 0;
  bool m_ready = false;
  std::string m_dir;
};

// Starts a program of the system (by name, searched in PATH) with its
// arguments; its PID, or -1. Used for a running process that is not ours.
int SpawnProgram(const std::vector<std::string>& argv);

}  // namespace testsupport
