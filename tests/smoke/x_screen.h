#pragma once
// A virtual X screen for the smoke tests of programs in real windows:
// Xvfb on a free display number, child programs with their own environment
// and working folder, and screenshots of the whole screen by xwd.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/png_image.h"

namespace smoketest {

// The full path of a program on PATH; empty when there is none.
std::string FindProgram(const std::string& name);

// Starts args[0] with exactly `env`, in `folder` when it is not empty,
// stdout and stderr to `outFile` (or /dev/null when empty). -1 on failure.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
            const std::string& folder = "", const std::string& outFile = "");
// True when the child ended within the time; its status then in *status.
bool WaitExit(pid_t pid, int timeoutMs, int* status = nullptr);
// SIGTERM, then SIGKILL when it has not ended after 5 s.
void Stop(pid_t pid);

class XScreen {
 public:
  ~XScreen() { Stop(m_server); }
  // False when Xvfb or xwd is not installed (the test then skips).
  bool Available();
  // A w x h screen at 24 bits; false when no server came up.
  bool Start(int w, int h);
  const std::string& Display() const { return m_display; }
  // The whole screen, also kept as `xwdFile`; false when xwd failed.
  bool Shoot(const std::string& xwdFile, testsupport::RgbImage& shot);

 private:
  std::string m_xvfb, m_xwd, m_display;
  pid_t m_server = -1;
};

}  // namespace smoketest
