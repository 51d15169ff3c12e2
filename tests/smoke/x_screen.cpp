#include "x_screen.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace smoketest {

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  const std::string dirs = path ? path : "/usr/bin:/bin";
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

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& folder,
            const std::string& outFile) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(126);
  const int out = outFile.empty() ? open("/dev/null", O_WRONLY) : open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out >= 0) {
    dup2(out, 1);
    dup2(out, 2);
  }
  std::vector<char*> argv, envp;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  execve(argv[0], argv.data(), envp.data());
  _exit(127);
}

bool WaitExit(pid_t pid, int timeoutMs, int* status) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    int st = 0;
    if (waitpid(pid, &st, WNOHANG) == pid) {
      if (status) *status = st;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (!WaitExit(pid, 5000)) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

namespace {

// An X window dump (big-endian header of 25 words, the window name, the
// colour map, then rows of bytes_per_line) as colours.
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
  auto channel = [](uint32_t p, uint32_t mask) { return mask ? (p & mask) >> __builtin_ctz(mask) : 0u; };
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const auto* q = reinterpret_cast<const uint8_t*>(d.data()) + start + size_t{y} * bytesPerLine + x * bytes;
      uint32_t p = 0;
      for (size_t k = 0; k < bytes; ++k) p |= uint32_t{q[byteOrder == 0 ? k : bytes - 1 - k]} << (8 * k);
      out.pixels[size_t{y} * width + x] = channel(p, rMask) << 16 | channel(p, gMask) << 8 | channel(p, bMask);
    }
  return true;
}

}  // namespace

bool XScreen::Available() {
  m_xvfb = FindProgram("Xvfb");
  m_xwd = FindProgram("xwd");
  return !m_xvfb.empty() && !m_xwd.empty();
}

bool XScreen::Start(int w, int h) {
  for (int n = 60 + getpid() % 200, tries = 0; tries < 20; ++n, ++tries) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    if (access(socket.c_str(), F_OK) == 0 || access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) == 0)
      continue;
    m_display = ":" + std::to_string(n);
    const std::string screen = std::to_string(w) + "x" + std::to_string(h) + "x24";
    m_server = Spawn({m_xvfb, m_display, "-screen", "0", screen, "-nolisten", "tcp"}, {});
    for (int waited = 0; waited < 5000; waited += 50) {
      if (access(socket.c_str(), F_OK) == 0) return true;
      if (WaitExit(m_server, 50)) break;
    }
    Stop(m_server);
    m_server = -1;
  }
  return false;
}

bool XScreen::Shoot(const std::string& xwdFile, testsupport::RgbImage& shot) {
  const pid_t xwd = Spawn({m_xwd, "-root", "-silent", "-display", m_display, "-out", xwdFile}, {});
  int status = 0;
  return WaitExit(xwd, 20000, &status) && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ReadXwd(xwdFile, shot);
}

}  // namespace smoketest
