#include "platform/machine_facts.h"

#include <SDL.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define HAVE_X86_CPUID 1
#endif

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/host_path.h"
#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace plat {
namespace {

constexpr size_t kMaxFactsFile = 64 * 1024;

// A small text file of the system, read up to kMaxFactsFile bytes.
bool ReadFactsFile(const char* path, std::string& out) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  out.resize(kMaxFactsFile);
  size_t n = std::fread(out.data(), 1, out.size(), f);
  std::fclose(f);
  out.resize(n);
  return true;
}

// A shell-style value of os-release: "quoted" (with \ escapes), 'quoted' or bare.
std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && v.front() == '\'' && v.back() == '\'') return v.substr(1, v.size() - 2);
  if (v.size() < 2 || v.front() != '"' || v.back() != '"') return v;
  std::string out;
  for (size_t i = 1; i + 1 < v.size(); ++i) {
    if (v[i] == '\\' && i + 2 < v.size()) ++i;
    out += v[i];
  }
  return out;
}

// The value of KEY= in os-release text; empty when missing.
std::string OsReleaseValue(const std::string& text, const std::string& key) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, key.size() + 1, key + "=") == 0) return Unquote(line.substr(key.size() + 1));
    pos = end + 1;
  }
  return std::string();
}

// MemAvailable of /proc/meminfo in bytes (it counts the cache the kernel
// gives back); false on kernels without it.
bool MemAvailable(uint64_t& bytes) {
  std::string text;
  if (!ReadFactsFile("/proc/meminfo", text)) return false;
  size_t pos = text.find("MemAvailable:");
  if (pos == std::string::npos) return false;
  unsigned long long kib = 0;
  if (std::sscanf(text.c_str() + pos, "MemAvailable: %llu kB", &kib) != 1) return false;
  bytes = static_cast<uint64_t>(kib) * 1024u;
  return true;
}

uint64_t Times(uint64_t a, uint64_t b) {
  uint64_t r;
  return __builtin_mul_overflow(a, b, &r) ? UINT64_MAX : r;
}

class Host final : public MachineFacts {
 public:
  bool Os(OsFacts& out) override {
    out = OsFacts();
    std::string text;
    if (ReadFactsFile("/etc/os-release", text) || ReadFactsFile("/usr/lib/os-release", text)) {
      out.distribution = Utf8ToCp932(OsReleaseName(text));
    }
    struct utsname u;
    if (uname(&u) != 0) return !out.distribution.empty();
    out.kernelName = u.sysname;
    out.kernelRelease = u.release;
    return true;
  }

  bool Cpuid(uint32_t leaf, uint32_t regs[4]) override {
#ifdef HAVE_X86_CPUID
    unsigned a, b, c, d;
    __cpuid_count(leaf, 0, a, b, c, d);
    regs[0] = a;
    regs[1] = b;
    regs[2] = c;
    regs[3] = d;
    return true;
#else
    regs[0] = regs[1] = regs[2] = regs[3] = 0;
    return false;
#endif
  }

  uint64_t TimeStampCounter() override {
#ifdef HAVE_X86_CPUID
    return __rdtsc();
#else
    return 0;
#endif
  }

  uint64_t PerformanceCounter() override {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
  }

  uint64_t PerformanceFrequency() override { return 1000000000u; }

  bool Memory(MemoryFacts& out) override {
    out = MemoryFacts();
    struct sysinfo si;
    if (sysinfo(&si) != 0) return false;
    uint64_t unit = si.mem_unit ? si.mem_unit : 1;
    out.totalRam = Times(si.totalram, unit);
    if (!MemAvailable(out.availableRam)) out.availableRam = Times(si.freeram + si.bufferram, unit);
    out.totalSwap = Times(si.totalswap, unit);
    out.freeSwap = Times(si.freeswap, unit);
    return true;
  }

  bool DiskFree(const std::string& sjisPath, uint64_t& bytes) override {
    bytes = 0;
    std::string path = sjisPath.empty() ? std::string(".") : HostPath(sjisPath);
    struct statvfs st;
    if (statvfs(path.c_str(), &st) != 0) return false;
    bytes = Times(st.f_bavail, st.f_frsize ? st.f_frsize : st.f_bsize);
    return true;
  }

  bool Display(DisplayFacts& out) override {
    out = DisplayFacts();
    if (!IsMainThread() || !SDL_WasInit(SDL_INIT_VIDEO)) return false;
    if (const char* driver = SDL_GetCurrentVideoDriver()) out.videoDriver = driver;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return true;
    out.width = mode.w;
    out.height = mode.h;
    out.bitsPerPixel = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    out.refreshRate = mode.refresh_rate;
    return true;
  }
};

Host g_host;
std::atomic<MachineFacts*> g_fakeMachine{nullptr};

}  // namespace

std::string OsReleaseName(const std::string& text) {
  std::string name = OsReleaseValue(text, "PRETTY_NAME");
  return name.empty() ? OsReleaseValue(text, "NAME") : name;
}

MachineFacts& HostMachine() { return g_host; }

MachineFacts& Machine() {
  MachineFacts* fake = g_fakeMachine.load();
  return fake ? *fake : g_host;
}

void SetMachine(MachineFacts* fake) { g_fakeMachine.store(fake); }

}  // namespace plat
