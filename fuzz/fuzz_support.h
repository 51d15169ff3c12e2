#pragma once
// What the fuzz targets share: a scratch folder of their own (in memory when
// the system has /dev/shm) as the working directory, boxes answered at once, record layouts checked at every use, and
// a reader that cuts the input into the pieces a target needs. A target that
// includes this also sends the fuzzer's crash files to the folder it was
// started in (not the scratch folder) unless -artifact_prefix is given.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/host_path.h"
#include "platform/message_box.h"
#include "records/record_layout.h"

namespace fuzz {

// Once per process: a fresh folder under the temporary folder for the
// targets' files (removed again at exit), every box answered with its first
// button, and record layouts checked as in the tests.
// The path is never freed: the exit handler that removes the folder runs
// after the static destructors of objects built before it was registered.
inline const std::string& ScratchFolder() {
  static const std::string* const folder = [] {
    // In memory where the system offers it: a disk folder costs a write-back
    // of every file the target truncates and rewrites, many times the work
    // of the reader under test.
    std::error_code ec;
    const std::filesystem::path base = ::access("/dev/shm", W_OK | X_OK) == 0 &&
                                               std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    auto* pattern = new std::string((base / "fuzzXXXXXX").string());
    if (!mkdtemp(pattern->data())) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchFolder(), ec);
    });
    plat::SetBoxScript([](const plat::BoxRequest& r) {
      return r.buttons == plat::BoxButtons::YesNo || r.buttons == plat::BoxButtons::YesNoCancel
                 ? static_cast<int>(plat::BOX_YES)
                 : static_cast<int>(plat::BOX_OK);
    });
    bCheckRecordLayouts = true;
    return pattern;
  }();
  return *folder;
}

// The scratch folder is the working directory while one input runs; the
// fuzzer's own folder again afterwards (it reads its corpus by relative names).
class InScratchFolder {
 public:
  InScratchFolder() {
    static const int home = ::open(".", O_RDONLY | O_DIRECTORY);
    m_home = home;
    if (::chdir(ScratchFolder().c_str()) != 0) std::abort();
  }
  ~InScratchFolder() {
    if (m_home < 0 || ::fchdir(m_home) != 0) std::abort();
  }
  InScratchFolder(const InScratchFolder&) = delete;
  InScratchFolder& operator=(const InScratchFolder&) = delete;

 private:
  int m_home = -1;
};

// Takes the input from the front; past its end every piece is empty or 0.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}
  uint8_t Byte() {
    if (!m_left) return 0;
    --m_left;
    return *m_data++;
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
  std::string Take(size_t n) {
    if (n > m_left) n = m_left;
    std::string s(reinterpret_cast<const char*>(m_data), n);
    m_data += n;
    m_left -= n;
    return s;
  }
  std::string Rest() { return Take(m_left); }
  size_t Left() const { return m_left; }

 private:
  const uint8_t* m_data;
  size_t m_left;
};

// The four bytes of a version word.
inline std::string VersionWord(uint32_t v) {
  const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
  return std::string(b, 4);
}

// Writes a file (Shift-JIS path); traps on failure. A plain write: the
// inputs need no flush to disk, which would slow every run down.
inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(plat::HostPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) __builtin_trap();
}

inline std::string ReadFile(const std::string& path) {
  std::string bytes;
  if (!plat::ReadWholeFile(path, bytes)) __builtin_trap();
  return bytes;
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static std::vector<char*> args(*argv, *argv + *argc);
  static std::string prefix =
      "-artifact_prefix=" + std::filesystem::current_path().string() + "/";
  for (char* arg : args)
    if (std::string(arg).rfind("-artifact_prefix=", 0) == 0) return 0;
  args.push_back(prefix.data());
  *argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  *argv = args.data();
  return 0;
}
