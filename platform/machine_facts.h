#pragma once
// Facts about the machine for the report log: operating system, processor,
// memory, disk and display. The host answers from os-release, uname, cpuid,
// sysinfo, statvfs and SDL; tests put a fake machine in its place. Every
// query may fail; nothing here is read by game logic.
#include <cstdint>
#include <string>

namespace plat {

struct OsFacts {
  std::string distribution;   // os-release PRETTY_NAME (else NAME), Shift-JIS; may be empty
  std::string kernelName;     // uname: "Linux"
  std::string kernelRelease;  // uname: "6.1.0-18-amd64"
};

struct MemoryFacts {  // bytes
  uint64_t totalRam = 0;
  uint64_t availableRam = 0;
  uint64_t totalSwap = 0;
  uint64_t freeSwap = 0;
};

struct DisplayFacts {
  std::string videoDriver;  // the window system's driver ("x11", "dummy"); empty before it starts
  int width = 0;            // desktop mode of the first display; 0 when unknown
  int height = 0;
  int bitsPerPixel = 0;
  int refreshRate = 0;      // Hz; 0 when unknown
};

class MachineFacts {
 public:
  virtual ~MachineFacts() = default;
  virtual bool Os(OsFacts& out) = 0;
  // The processor's identification leaf `leaf` (sub-leaf 0) as EAX, EBX,
  // ECX, EDX. False when the processor has no such instruction; a leaf above
  // the maximum the processor reports answers whatever it answers.
  virtual bool Cpuid(uint32_t leaf, uint32_t regs[4]) = 0;
  // The processor's cycle counter; 0 when there is none.
  virtual uint64_t TimeStampCounter() = 0;
  // A monotonic real-time counter and its ticks per second (never the fake
  // clock: it times the hardware).
  virtual uint64_t PerformanceCounter() = 0;
  virtual uint64_t PerformanceFrequency() = 0;
  virtual bool Memory(MemoryFacts& out) = 0;
  // Bytes free to this user on the file system of a Shift-JIS path (empty:
  // the working directory).
  virtual bool DiskFree(const std::string& sjisPath, uint64_t& bytes) = 0;
  // Main thread only; after the window system started, else the driver is
  // empty and the numbers 0.
  virtual bool Display(DisplayFacts& out) = 0;
};

// The distribution's name in os-release text: PRETTY_NAME, else NAME, with
// its shell quoting removed (UTF-8; empty when neither is there).
std::string OsReleaseName(const std::string& text);

// The machine the program runs on.
MachineFacts& HostMachine();

// The machine the report reads: the host, or the fake that a test set
// (null restores the host).
MachineFacts& Machine();
void SetMachine(MachineFacts* fake);

}  // namespace plat
