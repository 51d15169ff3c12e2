#include "smoke/x_session.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace smoke {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point end) {
  return static_cast<int>(std::max<int64_t>(
      0, std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count()));
}

}  // namespace

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string full = dir + "/" + name;
    if (!dir.empty() && access(full.c_str(), X_OK) == 0) return full;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return {};
}

// --- Child ---------------------------------------------------------------------

Child::~Child() { Stop(); }

bool Child::Start(const std::vector<std::string>& args, const std::vector<std::string>& env,
                  const std::string& stderrFile, int* extraRead, int extraFd) {
  int in[2], out[2], extra[2] = {-1, -1};
  if (pipe(in) != 0) return false;
  if (pipe(out) != 0) return false;
  if (extraRead && pipe(extra) != 0) return false;
  std::vector<char*> argv, envp;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    const int err = stderrFile.empty() ? open("/dev/null", O_WRONLY)
                                       : open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0) dup2(err, 2);
    if (extraRead) dup2(extra[1], extraFd);
    for (int fd = 3; fd < 1024; ++fd)
      if (fd != extraFd) close(fd);
    if (!m_cwd.empty() && chdir(m_cwd.c_str()) != 0) _exit(126);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  if (extraRead) {
    close(extra[1]);
    *extraRead = extra[0];
  }
  if (pid < 0) {
    close(in[1]);
    close(out[0]);
    return false;
  }
  // Our ends must not leak into later children, or their input never closes.
  fcntl(in[1], F_SETFD, FD_CLOEXEC);
  fcntl(out[0], F_SETFD, FD_CLOEXEC);
  m_pid = pid;
  m_in = in[1];
  m_out = out[0];
  m_ended = false;
  m_buffered.clear();
  return true;
}

std::string Child::WaitLine(const std::string& prefix, int boundMs) {
  const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
  for (;;) {
    size_t lineStart = 0, nl;
    while ((nl = m_buffered.find('\n', lineStart)) != std::string::npos) {
      std::string line = m_buffered.substr(lineStart, nl - lineStart);
      lineStart = nl + 1;
      if (line.rfind(prefix, 0) == 0) {
        m_buffered.erase(0, lineStart);
        return line;
      }
    }
    m_buffered.erase(0, lineStart);
    if (m_out < 0) return {};
    pollfd p{m_out, POLLIN, 0};
    const int left = MsLeft(end);
    if (left == 0 || poll(&p, 1, left) <= 0) return {};
    char buf[512];
    const ssize_t n = read(m_out, buf, sizeof buf);
    if (n <= 0) {
      close(m_out);
      m_out = -1;
      continue;  // the lines already read may hold it
    }
    m_buffered.append(buf, static_cast<size_t>(n));
  }
}

bool Child::WaitExit(int boundMs) {
  if (m_pid <= 0) return true;
  if (m_ended) return true;
  const auto end = Clock::now() + std::chrono::milliseconds(boundMs);
  for (;;) {
    int st = 0;
    if (waitpid(m_pid, &st, WNOHANG) == m_pid) {
      m_status = st;
      m_ended = true;
      return true;
    }
    if (MsLeft(end) == 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int Child::ExitCode() const {
  if (WIFEXITED(m_status)) return WEXITSTATUS(m_status);
  if (WIFSIGNALED(m_status)) return 128 + WTERMSIG(m_status);
  return -1;
}

void Child::CloseInput() {
  if (m_in >= 0) close(m_in);
  m_in = -1;
}

void Child::Signal(int sig) {
  if (Running()) kill(m_pid, sig);
}

void Child::Stop(int boundMs) {
  if (m_pid > 0 && !m_ended) {
    CloseInput();
    if (!WaitExit(200)) {
      kill(m_pid, SIGTERM);
      if (!WaitExit(boundMs)) {
        kill(m_pid, SIGKILL);
        WaitExit(60000);
      }
    }
  }
  CloseInput();
  if (m_out >= 0) close(m_out);
  m_out = -1;
}

// --- XServer -------------------------------------------------------------------

bool XServer::Start(int width, int height) {
  const std::string xvfb = FindProgram("Xvfb");
  if (xvfb.empty()) return false;
  constexpr int kDisplayFd = 9;
  int ready = -1;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  if (!m_server.Start({xvfb, "-displayfd", std::to_string(kDisplayFd), "-screen", "0", screen, "-nolisten", "tcp"},
                      {}, "", &ready, kDisplayFd))
    return false;
  // The server writes its display number once it takes connections.
  std::string number;
  const auto end = Clock::now() + std::chrono::seconds(120);
  while (number.find('\n') == std::string::npos) {
    pollfd p{ready, POLLIN, 0};
    if (poll(&p, 1, MsLeft(end)) <= 0) break;
    char buf[32];
    const ssize_t n = read(ready, buf, sizeof buf);
    if (n <= 0) break;
    number.append(buf, static_cast<size_t>(n));
  }
  close(ready);
  if (number.find('\n') == std::string::npos) {
    m_server.Stop();
    return false;
  }
  m_display = ":" + number.substr(0, number.find('\n'));
  return true;
}

void XServer::Stop() { m_server.Stop(); }

void XServer::Kill() {
  m_server.Signal(SIGKILL);
  m_server.WaitExit(60000);
}

bool XServer::Screenshot(const std::string& xwdFile, testsupport::RgbImage& shot) {
  const std::string xwd = FindProgram("xwd");
  if (xwd.empty()) return false;
  Child dump;
  if (!dump.Start({xwd, "-root", "-silent", "-display", m_display, "-out", xwdFile}, {})) return false;
  dump.CloseInput();
  return dump.WaitExit(60000) && dump.ExitCode() == 0 && ReadXwd(xwdFile, shot);
}

bool XServer::PressKeyAt(int x, int y, unsigned long keysym) {
  // Through the X libraries at run time: the tests need no headers of theirs.
  void* x11 = dlopen("libX11.so.6", RTLD_NOW);
  void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
  bool ok = false;
  if (x11 && xtst) {
    using Open = void* (*)(const char*);
    using CloseFn = int (*)(void*);
    using ToCode = unsigned char (*)(void*, unsigned long);
    using Motion = int (*)(void*, int, int, int, unsigned long);
    using KeyFn = int (*)(void*, unsigned, int, unsigned long);
    using SyncFn = int (*)(void*, int);
    auto open = reinterpret_cast<Open>(dlsym(x11, "XOpenDisplay"));
    auto closeDisplay = reinterpret_cast<CloseFn>(dlsym(x11, "XCloseDisplay"));
    auto toCode = reinterpret_cast<ToCode>(dlsym(x11, "XKeysymToKeycode"));
    auto sync = reinterpret_cast<SyncFn>(dlsym(x11, "XSync"));
    auto motion = reinterpret_cast<Motion>(dlsym(xtst, "XTestFakeMotionEvent"));
    auto key = reinterpret_cast<KeyFn>(dlsym(xtst, "XTestFakeKeyEvent"));
    if (open && closeDisplay && toCode && sync && motion && key) {
      if (void* display = open(m_display.c_str())) {
        const unsigned code = toCode(display, keysym);
        ok = code != 0 && motion(display, -1, x, y, 0) && key(display, code, 1, 0) && key(display, code, 0, 0);
        sync(display, 0);
        closeDisplay(display);
      }
    }
  }
  if (xtst) dlclose(xtst);
  if (x11) dlclose(x11);
  return ok;
}

// --- Images --------------------------------------------------------------------

bool FindImage(const testsupport::RgbImage& image, const testsupport::RgbImage& pattern, int& atX, int& atY,
               int tolerance, int left, int top, int right, int bottom) {
  if (right < 0) right = image.width;
  if (bottom < 0) bottom = image.height;
  auto near = [tolerance](uint32_t a, uint32_t b) {
    for (int shift : {16, 8, 0}) {
      const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
      if (d > tolerance || d < -tolerance) return false;
    }
    return true;
  };
  for (int y = std::max(0, top); y + pattern.height <= std::min(bottom, image.height); ++y)
    for (int x = std::max(0, left); x + pattern.width <= std::min(right, image.width); ++x) {
      bool all = true;
      for (int py = 0; py < pattern.height && all; ++py)
        for (int px = 0; px < pattern.width; ++px)
          if (!near(image.pixels[static_cast<size_t>(y + py) * image.width + x + px],
                    pattern.pixels[static_cast<size_t>(py) * pattern.width + px])) {
            all = false;
            break;
          }
      if (all) {
        atX = x;
        atY = y;
        return true;
      }
    }
  return false;
}

// Big-endian header of 25 words, the window name, the colour map, then rows
// of bytes_per_line.
bool ReadXwd(const std::string& path, testsupport::RgbImage& out) {
  std::ifstream in(path, std::ios::binary);
  const std::string d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < 100) return false;
  auto word = [&](int i) {
    const auto* p = reinterpret_cast<const uint8_t*>(d.data()) + 4 * i;
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  };
  const uint32_t headerSize = word(0), width = word(4), height = word(5), byteOrder = word(7);
  const uint32_t bitsPerPixel = word(11), bytesPerLine = word(12), colours = word(19);
  const uint32_t rMask = word(14), gMask = word(15), bMask = word(16);
  const size_t bytes = bitsPerPixel / 8;
  const size_t start = headerSize + size_t{colours} * 12;
  if ((bytes != 3 && bytes != 4) || start + size_t{height} * bytesPerLine > d.size()) return false;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.pixels.resize(size_t{width} * height);
  auto channel = [](uint32_t p, uint32_t mask) {
    if (!mask) return 0u;
    return (p & mask) >> __builtin_ctz(mask);
  };
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const auto* q = reinterpret_cast<const uint8_t*>(d.data()) + start + size_t{y} * bytesPerLine + x * bytes;
      uint32_t p = 0;
      for (size_t k = 0; k < bytes; ++k) p |= uint32_t{q[byteOrder == 0 ? k : bytes - 1 - k]} << (8 * k);
      out.pixels[size_t{y} * width + x] = channel(p, rMask) << 16 | channel(p, gMask) << 8 | channel(p, bMask);
    }
  return true;
}

std::vector<std::string> XEnvironment(const std::string& display, const std::vector<std::string>& extra) {
  std::vector<std::string> env = {"DISPLAY=" + display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                                  "ASAN_OPTIONS=detect_leaks=0",
                                  "HOME=" + std::string(std::getenv("HOME") ? std::getenv("HOME") : "/tmp")};
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

}  // namespace smoke
