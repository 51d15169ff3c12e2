// The test card in a real window: under a virtual X server the tool shows
// it in a window and full screen, a screenshot of the whole screen is taken
// and points of the card are checked where they must land. Skipped when the
// X server or the screenshot tool is not installed. The screenshots are
// kept as PNG files in the build folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/png_image.h"
#include "tools/testcard/card.h"

namespace {

namespace fs = std::filesystem;

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

// A child process with its own environment; stdout optionally to a pipe.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, int* stdoutPipe = nullptr) {
  int fds[2] = {-1, -1};
  if (stdoutPipe && pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    if (stdoutPipe) {
      dup2(fds[1], 1);
      close(fds[0]);
      close(fds[1]);
    }
    const int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) dup2(devnull, 2);
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  if (stdoutPipe) {
    close(fds[1]);
    *stdoutPipe = fds[0];
  }
  return pid;
}

bool WaitExit(pid_t pid, int timeoutMs, int* status = nullptr) {
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

// Reads lines from the pipe until one is "ready" or the time is up.
bool WaitReady(int fd, int timeoutMs) {
  fcntl(fd, F_SETFL, O_NONBLOCK);
  std::string got;
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    char buf[256];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) got.append(buf, static_cast<size_t>(n));
    if (got.find("ready\n") != std::string::npos) return true;
    if (n == 0) return false;  // the tool ended
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

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
  auto channel = [](uint32_t p, uint32_t mask) {
    if (!mask) return 0u;
    return (p & mask) >> __builtin_ctz(mask);
  };
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const auto* q = reinterpret_cast<const uint8_t*>(d.data()) + start + size_t{y} * bytesPerLine + x * bytes;
      uint32_t p = 0;
      for (size_t k = 0; k < bytes; ++k)
        p |= uint32_t{q[byteOrder == 0 ? k : bytes - 1 - k]} << (8 * k);
      out.pixels[size_t{y} * width + x] = channel(p, rMask) << 16 | channel(p, gMask) << 8 | channel(p, bMask);
    }
  return true;
}

class TestCardSmoke : public ::testing::Test {
 protected:
  void SetUp() override {
    m_xvfb = FindProgram("Xvfb");
    m_xwd = FindProgram("xwd");
    if (m_xvfb.empty() || m_xwd.empty()) GTEST_SKIP() << "Xvfb or xwd is not installed";
    fs::create_directories(SMOKE_OUT_DIR);
  }
  void TearDown() override { Stop(m_server); }

  // A virtual screen of w x h at 24 bits on a free display number.
  bool StartServer(int w, int h) {
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

  // Shows the card and takes a screenshot while it is up.
  bool Shoot(const std::vector<std::string>& toolArgs, const std::string& name, testsupport::RgbImage& shot) {
    std::vector<std::string> args = {TESTCARD_PATH};
    args.insert(args.end(), toolArgs.begin(), toolArgs.end());
    args.insert(args.end(), {"--seconds", "4"});
    int out = -1;
    // System libraries of the window system keep memory to the end: no leak report.
    const pid_t tool = Spawn(args, {"DISPLAY=" + m_display, "SDL_VIDEODRIVER=x11", "ASAN_OPTIONS=detect_leaks=0",
                                    "HOME=" + std::string(std::getenv("HOME") ? std::getenv("HOME") : "/tmp")},
                             &out);
    const bool ready = WaitReady(out, 30000);
    const std::string file = std::string(SMOKE_OUT_DIR) + "/" + name + ".xwd";
    bool shotOk = false;
    if (ready) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      const pid_t xwd = Spawn({m_xwd, "-root", "-silent", "-display", m_display, "-out", file}, {});
      int status = 0;
      shotOk = WaitExit(xwd, 20000, &status) && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ReadXwd(file, shot);
    }
    int status = 0;
    const bool ended = WaitExit(tool, 30000, &status);
    if (!ended) Stop(tool);
    close(out);
    EXPECT_TRUE(ready) << name << ": the tool did not show the card";
    EXPECT_TRUE(ended && WIFEXITED(status) && WEXITSTATUS(status) == 0) << name << ": the tool did not end well";
    if (shotOk) testsupport::WritePng(std::string(SMOKE_OUT_DIR) + "/" + name + ".png", shot);
    return ready && shotOk;
  }

  // Card point (x, y) is at screen (left + x * scale, top + y * scale).
  void ExpectPoints(const testsupport::RgbImage& shot, double left, double top, double scale, const char* what) {
    for (int i = 0; i < kTestCardPointCount; ++i) {
      const TestCardPoint& p = kTestCardPoints[i];
      const int sx = static_cast<int>(left + (p.x + 0.5) * scale), sy = static_cast<int>(top + (p.y + 0.5) * scale);
      ASSERT_TRUE(sx >= 0 && sy >= 0 && sx < shot.width && sy < shot.height) << what;
      const uint32_t got = shot.pixels[static_cast<size_t>(sy) * shot.width + sx];
      const uint32_t want = TestCardColour(p.palette);
      for (int shift : {16, 8, 0})
        EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 8)
            << what << ": point " << i << " at (" << sx << ", " << sy << ")";
    }
  }

  std::string m_xvfb, m_xwd, m_display;
  pid_t m_server = -1;
};

}  // namespace

TEST_F(TestCardSmoke, InAWindowTheCardShowsUnscaledAtTheWindowsPlace) {
  ASSERT_TRUE(StartServer(1024, 768));
  for (const char* bpp : {"32", "16"}) {
    testsupport::RgbImage shot;
    if (!Shoot({"--bpp", bpp}, std::string("window_") + bpp, shot)) continue;
    ExpectPoints(shot, 40, 30, 1.0, bpp);
    EXPECT_EQ(shot.pixels[static_cast<size_t>(700) * shot.width + 900], 0u) << "outside the window";
  }
}

TEST_F(TestCardSmoke, FullScreenFillsTheDesktopWithTheAspectKept) {
  ASSERT_TRUE(StartServer(1280, 720));
  testsupport::RgbImage shot;
  if (!Shoot({"--bpp", "8", "--fullscreen"}, "fullscreen_8", shot)) return;
  // 640 x 480 at 1.5 is 960 x 720, with bars of 160 at the sides.
  ExpectPoints(shot, 160, 0, 1.5, "full screen");
  EXPECT_EQ(shot.pixels[static_cast<size_t>(360) * shot.width + 80], 0u) << "left bar";
  EXPECT_EQ(shot.pixels[static_cast<size_t>(360) * shot.width + 1200], 0u) << "right bar";
}
