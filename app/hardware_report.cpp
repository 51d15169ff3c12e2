#include "app/hardware_report.h"

#include "app/drawing_facts.h"
#include "base/checked_convert.h"
#include "base/report_log.h"
#include "platform/machine_facts.h"

namespace {

// "---デバイス%d"
const char kDeviceHeading[] = "---\x83\x66\x83\x6F\x83\x43\x83\x58%d";

double MiB(uint64_t bytes) { return static_cast<double>(bytes) / 1048576.0; }

}  // namespace

int ReportSystemInfo() {
  std::string os;
  GetWindowsName(&os, nullptr, nullptr);
  if (!ReportPrintf("OS : %s", os.c_str())) return 0;

  CPUINFO cpu;
  GetCpuName(cpu);
  ReportPrintf("CPU : %s %s %d", cpu.szVendor, cpu.szBrand, ToIntChecked(cpu.dClock * 0.000001));

  MEMORYSTATUS memory;
  GetMemoryStatus(memory);
  ReportPrintf("Mem Total : %.3fMB", MiB(memory.nTotalPhys));
  ReportPrintf("Mem Free : %3.fMB", MiB(memory.nAvailPhys));
  ReportPrintf("Vir Total : %.3fMB", MiB(memory.nTotalVirtual));
  ReportPrintf("Vir Free : %3.fMB", MiB(memory.nAvailVirtual));

  ReportPrintf("HD Free : %3.fMB", MiB(static_cast<uint64_t>(GetDiskFree(nullptr))));
  return 1;
}

int ReportDisplayInfo(int detail) {
  cDrawingFacts& drawing = DrawingFacts();
  if (!ReportPrintf("Mode : %s", drawing.IsWindowMode() ? "Window" : "Fullscreen")) return 0;
  ReportPrintf("Bpp : %d", drawing.ColorBits());
  if (drawing.HasDirectDraw()) {
    int totalMB = 0, freeMB = 0;
    GetVideoMemory(&totalMB, &freeMB);
    ReportPrintf("VRAM Total : %.3fMB", static_cast<double>(totalMB));
    ReportPrintf("VRAM Free : %.3fMB", static_cast<double>(freeMB));
    ReportPrintf("RR : %u", drawing.MonitorFrequency());
  }
  if (drawing.IsDirect3D()) ReportDxDiag(detail);
  return 1;
}

// What the emulated 3D device can tell of itself: its texture memory, the
// driver it presents through, and its texture limits. There is no system
// diagnostic service to ask for more.
int ReportDxDiag(int) {
  cDrawingFacts& drawing = DrawingFacts();
  if (!drawing.IsDirect3D()) return 0;
  ReportPrintf("TextureMem : %dMB", drawing.TextureMemoryMB());
  ReportPrintf(kDeviceHeading, 0);
  plat::DisplayFacts display;
  plat::Machine().Display(display);
  if (!display.videoDriver.empty()) ReportPrintf("Destination : %s", display.videoDriver.c_str());
  int width = 0, height = 0, stages = 0, textures = 0;
  drawing.TextureMaxSize(width, height);
  drawing.TextureMaxBlend(stages, textures);
  ReportPrintf("TextureMaxSize : (%d,%d)", width, height);
  ReportPrintf("TextureMaxBlend : (%d,%d)", stages, textures);
  return 1;
}
