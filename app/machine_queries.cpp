// The machine queries of the hardware report.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "app/drawing_facts.h"
#include "app/hardware_report.h"
#include "base/checked_convert.h"
#include "base/text_format.h"
#include "platform/machine_facts.h"

namespace {

// The platform number that the "OS" line has always carried.
constexpr int kPlatformId = 2;

// Leading numbers of a kernel release ("6.1.0-18-amd64": 6, 1, 0); 0 where missing.
void ParseRelease(const std::string& release, int parts[3]) {
  const char* p = release.c_str();
  for (int i = 0; i < 3; ++i) {
    parts[i] = 0;
    if (*p < '0' || *p > '9') continue;
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    parts[i] = static_cast<int>(std::min<long>(v, INT_MAX));
    p = end;
    if (*p == '.') ++p;
  }
}

void CopyRegs(char* out, const uint32_t* regs, const int* order, int count) {
  for (int i = 0; i < count; ++i) std::memcpy(out + 4 * i, &regs[order[i]], 4);
}

constexpr uint32_t kBit(int n) { return 1u << n; }

}  // namespace

void GetWindowsName(std::string* text, int* major, int* minor) {
  plat::OsFacts os;
  plat::Machine().Os(os);
  int version[3];
  ParseRelease(os.kernelRelease, version);
  std::string kernel = os.kernelName;
  if (!os.kernelRelease.empty()) kernel += (kernel.empty() ? "" : " ") + os.kernelRelease;
  if (text)
    *text = FormatText("%s %s PID %d Build %d", os.distribution.c_str(), kernel.c_str(), kPlatformId,
                       version[2]);
  if (major) *major = version[0];
  if (minor) *minor = version[1];
}

bool IsWindowsAtLeast(int, int) { return true; }

void GetMemoryStatus(MEMORYSTATUS& status) {
  status = MEMORYSTATUS();
  plat::MemoryFacts m;
  if (!plat::Machine().Memory(m)) return;
  uint64_t avail = std::min(m.availableRam, m.totalRam);
  if (m.totalRam)
    status.dwMemoryLoad = static_cast<uint32_t>(
        ToIntChecked(100.0 * static_cast<double>(m.totalRam - avail) / static_cast<double>(m.totalRam)));
  status.nTotalPhys = m.totalRam;
  status.nAvailPhys = m.availableRam;
  status.nTotalPageFile = m.totalSwap;
  status.nAvailPageFile = m.freeSwap;
  status.nTotalVirtual = m.totalRam + m.totalSwap;
  status.nAvailVirtual = m.availableRam + m.freeSwap;
}

void GetCpuName(CPUINFO& info) {
  std::memset(&info, 0, sizeof(info));
  plat::MachineFacts& machine = plat::Machine();
  uint32_t r[4];
  if (machine.Cpuid(0, r)) {
    const uint32_t maxLeaf = r[0];
    const int vendorOrder[3] = {1, 3, 2};  // EBX, EDX, ECX
    CopyRegs(info.szVendor, r, vendorOrder, 3);
    if (maxLeaf >= 1 && machine.Cpuid(1, r)) {
      info.bMMX = (r[3] & kBit(23)) ? 1 : 0;
      info.bSSE = (r[3] & kBit(25)) ? 1 : 0;
      info.bSSE2 = (r[3] & kBit(26)) ? 1 : 0;
    }
    // Processors without extended leaves answer this one with other data.
    const uint32_t maxExtended = machine.Cpuid(0x80000000u, r) ? r[0] : 0;
    const bool extended = (maxExtended & 0xFFFF0000u) == 0x80000000u;
    if (extended && maxExtended >= 0x80000001u && machine.Cpuid(0x80000001u, r)) {
      info.b3DNow = (r[3] & kBit(31)) ? 1 : 0;
      info.b3DNowExt = (r[3] & kBit(30)) ? 1 : 0;
    }
    if (extended && maxExtended >= 0x80000004u) {
      const int order[4] = {0, 1, 2, 3};
      for (uint32_t leaf = 0; leaf < 3; ++leaf) {
        if (!machine.Cpuid(0x80000002u + leaf, r)) break;
        CopyRegs(info.szBrand + 16 * leaf, r, order, 4);
      }
    }
  }
  info.dClock = MeasureCpuClock();
}

double MeasureCpuClock() {
  plat::MachineFacts& machine = plat::Machine();
  const uint64_t frequency = machine.PerformanceFrequency();
  const uint64_t t1 = machine.PerformanceCounter();
  const uint64_t t2 = machine.PerformanceCounter();
  const uint64_t c1 = machine.TimeStampCounter();
  if (c1 == 0 || frequency == 0) return 0.0;
  // Long enough that a read's cost and a tick of the counter, at each end,
  // weigh under a ten-thousandth (a fine counter: a few ms, which keeps it
  // off the start's time), and never under 5 ms against a stray interrupt
  // between a pair of reads; a coarse counter waits up to 100 ms.
  const uint64_t floor = frequency / 200, cap = frequency / 10;
  const uint64_t uncertainty = 2 * ((t2 - t1) + 1);
  const uint64_t wait = std::clamp(uncertainty > cap / 10000 ? cap : uncertainty * 10000, floor, cap);
  uint64_t t3;
  do {
    t3 = machine.PerformanceCounter();
  } while (t3 - t2 < wait);
  const uint64_t c2 = machine.TimeStampCounter();
  // One counter read's cost (t2 - t1) taken off the elapsed time.
  const double seconds = (static_cast<double>(t3 - t2) - static_cast<double>(t2 - t1)) /
                         static_cast<double>(frequency);
  if (!(seconds > 0.0)) return 0.0;
  return static_cast<double>(c2 - c1) / seconds;
}

int32_t GetDiskFree(const char* rootPath) {
  uint64_t bytes = 0;
  if (!plat::Machine().DiskFree(rootPath ? rootPath : "", bytes)) return 0;
  return bytes > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(bytes);
}

void GetVideoMemory(int* totalMB, int* freeMB) {
  int total = 0, free = 0;
  cDrawingFacts& drawing = DrawingFacts();
  if (drawing.HasDirectDraw()) drawing.VideoMemory(total, free);
  if (totalMB) *totalMB = total;
  if (freeMB) *freeMB = free;
}

int GetDDIVersion() { return DrawingFacts().DDIVersion(); }
