#include "support/test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text_encoding.h"
#include "records/record_layout.h"

namespace fs = std::filesystem;

// Sanitizer reports end the test program with a failure.
extern "C" const char* __asan_default_options() { return "halt_on_error=1:detect_leaks=1"; }
extern "C" const char* __ubsan_default_options() { return "halt_on_error=1:print_stacktrace=1"; }
extern "C" const char* __tsan_default_options() { return "halt_on_error=1:second_deadlock_stack=1"; }

namespace {
// Tests never open a window or a sound device. Every record class's shared
// layout is checked against its RegisterFields at every use.
struct HeadlessEnvironment {
  HeadlessEnvironment() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    bCheckRecordLayouts = true;
  }
} g_headless;

// Each test program has its own runtime folder, so that the game's lock file
// never meets a game or a test program of another run. Processes a test
// starts inherit it; only the program that made it removes it.
struct PrivateRuntimeDir {
  std::string path;
  PrivateRuntimeDir() {
    if (const char* inherited = std::getenv("TAVRIK_TEST_RUNTIME_DIR")) {
      setenv("XDG_RUNTIME_DIR", inherited, 1);
      return;
    }
    std::string pattern = (fs::temp_directory_path() / "rtrunXXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    path = pattern;
    setenv("XDG_RUNTIME_DIR", path.c_str(), 1);
    setenv("TAVRIK_TEST_RUNTIME_DIR", path.c_str(), 1);
  }
  ~PrivateRuntimeDir() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
} g_runtimeDir;
}  // namespace

namespace testsupport {

ScopedWorkDir::ScopedWorkDir() : ScopedWorkDir(std::string()) {}

ScopedWorkDir::ScopedWorkDir(const std::string& inside) {
  m_previous = fs::current_path().string();
  std::string pattern = (fs::temp_directory_path() / "rtXXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) throw std::runtime_error("mkdtemp failed");
  m_root = made;
  m_path = inside.empty() ? m_root : m_root + "/" + inside;
  fs::create_directories(m_path);
  fs::current_path(m_path);
}

ScopedWorkDir::~ScopedWorkDir() {
  std::error_code ec;
  fs::current_path(m_previous, ec);
  fs::remove_all(m_root, ec);
}

void ScopedWorkDir::WriteFile(const std::string& relative, const std::string& bytes) const {
  fs::path p = fs::path(m_path) / relative;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string ScopedWorkDir::ReadFile(const std::string& relative) const {
  std::ifstream in(fs::path(m_path) / relative, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool ScopedWorkDir::Exists(const std::string& relative) const {
  return fs::exists(fs::path(m_path) / relative);
}

ScriptedBoxes::ScriptedBoxes(std::vector<int> answers) : m_answers(std::move(answers)) {
  plat::SetBoxScript([this](const plat::BoxRequest& r) {
    shown.push_back(r);
    if (m_answers.empty()) return static_cast<int>(plat::BOX_OK);
    int a = m_answers.front();
    m_answers.erase(m_answers.begin());
    return a;
  });
}

ScriptedBoxes::~ScriptedBoxes() { plat::SetBoxScript(nullptr); }

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
  if (const char* previous = std::getenv(name)) {
    m_previous = previous;
    m_hadPrevious = true;
  }
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (m_hadPrevious)
    setenv(m_name.c_str(), m_previous.c_str(), 1);
  else
    unsetenv(m_name.c_str());
}

std::string Fixture(const std::string& relative) {
  return std::string(FIXTURES_DIR) + "/" + relative;
}

std::string Sjis(const std::string& utf8) { return plat::Utf8ToCp932(utf8); }

}  // namespace testsupport
