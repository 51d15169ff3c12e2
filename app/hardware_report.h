#pragma once
// The description of the machine at the head of the report log, so that a
// player's "Report_Game.txt" tells what the game ran on, and the machine
// queries behind it. The facts come from plat::Machine() and, for the
// display, from DrawingFacts().
#include <cstdint>
#include <string>

// The processor as GetCpuName finds it; fields stay empty or 0 when the
// processor does not tell.
struct CPUINFO {
  char szBrand[256];   // brand text, identification leaves 0x80000002..4
  char szVendor[256];  // vendor text, leaf 0 (EBX, EDX, ECX)
  int32_t bMMX;        // leaf 1 EDX bit 23
  int32_t bSSE;        // bit 25
  int32_t bSSE2;       // bit 26
  int32_t b3DNow;      // leaf 0x80000001 EDX bit 31
  int32_t b3DNowExt;   // bit 30
  double dClock;       // Hz, MeasureCpuClock
};

// Memory in bytes. Virtual memory is memory plus swap.
struct MEMORYSTATUS {
  uint32_t dwMemoryLoad;  // percent of memory in use, 0..100
  uint64_t nTotalPhys;
  uint64_t nAvailPhys;
  uint64_t nTotalPageFile;  // swap
  uint64_t nAvailPageFile;
  uint64_t nTotalVirtual;
  uint64_t nAvailVirtual;
};

// WinMain, right after the report log is created: the OS, CPU, memory and
// disk lines. 0 when the report log cannot be written.
int ReportSystemInfo();

// Start-up, once the drawing layer runs (detail 1): mode, depth, video
// memory and refresh rate, and under Direct3D the 3D device's lines.
int ReportDisplayInfo(int detail);

// The 3D device's part of the display lines; 0 (nothing written) when the
// drawing layer does not run Direct3D.
int ReportDxDiag(int detail);

// "<distribution> <kernel> PID 2 Build <kernel patch level>"; the kernel's
// major and minor numbers. Any out-parameter may be null.
void GetWindowsName(std::string* text, int* major, int* minor);

// Every version rule of the program takes the newer branch here.
bool IsWindowsAtLeast(int major, int minor);

void GetMemoryStatus(MEMORYSTATUS& status);

// Fills the record, the clock included (which takes MeasureCpuClock's time).
void GetCpuName(CPUINFO& info);

// Cycles per second, counted over a busy wait long enough for the counter's
// resolution (5 ms on a nanosecond counter, at most 100 ms); 0 without a
// cycle counter.
double MeasureCpuClock();

// Bytes free to this user on the file system of a Shift-JIS path (null: the
// working directory), as an int32: 0x7FFFFFFF when more, 0 when unknown.
int32_t GetDiskFree(const char* rootPath);

// The display's video memory in whole MiB; both 0 without a software display.
void GetVideoMemory(int* totalMB, int* freeMB);

// The display driver's DDI version (see DrawingFacts).
int GetDDIVersion();
