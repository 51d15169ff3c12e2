#pragma once
// What the real-window tests share: programs started with pipes on their
// standard input and output (a program is told to go by closing its input,
// and says it is ready by a line), a virtual X server that says its display
// once it takes connections, screenshots, and keys and pointer moves sent
// through the server's test extension. Every wait is on a line or an exit;
// the time given is only a bound for a program that never answers.
#include <sys/types.h>

#include <string>
#include <vector>

#include "support/png_image.h"

namespace smoke {

// The program's full path found on PATH; empty when not installed.
std::string FindProgram(const std::string& name);

class Child {
 public:
  Child() = default;
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Starts args[0] with exactly `env`; stdin and stdout are pipes of ours,
  // stderr goes to `stderrFile` (or nowhere). `extraFd`, when not negative,
  // is the child's end of one more pipe, passed on as the same number.
  bool Start(const std::vector<std::string>& args, const std::vector<std::string>& env,
             const std::string& stderrFile = "", int* extraRead = nullptr, int extraFd = -1);
  // The working directory of the next Start (the caller's by default).
  void SetWorkingDirectory(const std::string& dir) { m_cwd = dir; }
  // Reads the output until a line starting with `prefix` comes; the whole
  // line, or empty when the output ends first or after `boundMs`.
  std::string WaitLine(const std::string& prefix, int boundMs);
  // Waits for the end; false when still running after `boundMs`.
  bool WaitExit(int boundMs);
  int ExitCode() const;  // the exit status, or 128 + signal
  // Closes its input (the request to go), then SIGTERM, then SIGKILL after
  // the bound; waits for it.
  void Stop(int boundMs = 10000);
  void CloseInput();
  void Signal(int sig);
  pid_t Pid() const { return m_pid; }
  bool Running() const { return m_pid > 0 && !m_ended; }

 private:
  pid_t m_pid = -1;
  int m_in = -1, m_out = -1;
  bool m_ended = false;
  int m_status = 0;
  std::string m_buffered;
  std::string m_cwd;
};

// A virtual screen of w x h at 24 bits on a display number the server picks.
class XServer {
 public:
  ~XServer() { Stop(); }
  bool Start(int width, int height);
  void Stop();
  void Kill();  // ends the server at once, as a lost connection
  const std::string& Display() const { return m_display; }
  Child& Process() { return m_server; }

  // The whole screen through xwd; false when it cannot be taken.
  bool Screenshot(const std::string& xwdFile, testsupport::RgbImage& shot);

  // Moves the pointer and presses and releases a key (an X keysym) there.
  bool PressKeyAt(int x, int y, unsigned long keysym);

 private:
  Child m_server;
  std::string m_display;
};

constexpr unsigned long kKeyReturn = 0xFF0D;

// Where `pattern` lies whole in `image` (each channel within `tolerance`),
// searched in the area given (the whole image by default); false if nowhere.
bool FindImage(const testsupport::RgbImage& image, const testsupport::RgbImage& pattern, int& atX, int& atY,
               int tolerance = 0, int left = 0, int top = 0, int right = -1, int bottom = -1);

// An X window dump as colours.
bool ReadXwd(const std::string& path, testsupport::RgbImage& out);

// The environment a program under the server gets: the display, the X11
// driver, no leak report (the window system's libraries keep memory to the
// end), HOME, and the extra entries given.
std::vector<std::string> XEnvironment(const std::string& display, const std::vector<std::string>& extra = {});

}  // namespace smoke
