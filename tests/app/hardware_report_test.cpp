// The machine's description at the head of the report log, line by line on
// a fake machine, and the queries behind it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/drawing_facts.h"
#include "app/fake_machine.h"
#include "app/hardware_report.h"
#include "base/report_log.h"
#include "base/text_format.h"
#include "media/dd_layer.h"
#include "platform/d3d_device.h"
#include "platform/soft_display.h"
#include "support/test_support.h"

using testsupport::ScopedWorkDir;
using testsupport::Sjis;

namespace {

constexpr uint64_t kMiB = 1024 * 1024;
constexpr uint64_t kGiB = 1024 * kMiB;

// A machine with every fact: an x86 processor with all leaves, 8 GiB of
// memory less 512 KiB, swap, and 500 GiB free on the disk.
void Equip(FakeMachine& m) {
  m.os.distribution = "Debian GNU/Linux 12 (bookworm)";
  m.os.kernelName = "Linux";
  m.os.kernelRelease = "6.1.0-18-amd64";
  m.leaves[0] = {0xD, FakeMachine::Text4("Genu"), FakeMachine::Text4("ntel"), FakeMachine::Text4("ineI")};
  m.leaves[1] = {0, 0, 0, (1u << 23) | (1u << 25) | (1u << 26)};
  m.leaves[0x80000000u] = {0x80000008u, 0, 0, 0};
  m.leaves[0x80000001u] = {0, 0, 0, 1u << 31};
  m.SetBrand("Fake(R) Core(TM) CPU @ 3.00GHz");
  // Counter reads 16, 32, then 144 after the wait: 96 ticks of 1/1024 s
  // (0.09375 s) once one read's cost is taken off; so many cycles make 3000.5 MHz.
  m.tscStep = 281296875;
  m.memory.totalRam = 8 * kGiB - 512 * 1024;
  m.memory.availableRam = 3584 * kMiB + 400 * 1024;
  m.memory.totalSwap = 2 * kGiB;
  m.memory.freeSwap = 1536 * kMiB;
  m.diskFree = 500 * kGiB;
  m.display.videoDriver = "x11";
  m.display.refreshRate = 75;
}

// The report log's lines as written: each ends with CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

struct FakeDrawing : cDrawingFacts {
  int direct3D = 0, window = 1, bits = 32, directDraw = 1, totalMB = 256, freeMB = 256;
  uint32_t refresh = 75;
  FakeDrawing() { SetDrawingFacts(this); }
  ~FakeDrawing() override { SetDrawingFacts(nullptr); }
  int IsDirect3D() override { return direct3D; }
  int IsWindowMode() override { return window; }
  int ColorBits() override { return bits; }
  int HasDirectDraw() override { return directDraw; }
  void VideoMemory(int& total, int& free) override {
    total = totalMB;
    free = freeMB;
  }
  uint32_t MonitorFrequency() override { return refresh; }
  int TextureMemoryMB() override { return 256; }
  void TextureMaxSize(int& width, int& height) override { width = height = 4096; }
  void TextureMaxBlend(int& stages, int& textures) override { stages = textures = 8; }
};

}  // namespace

TEST(ReportSystemInfo, WritesTheMachinesLinesInOrder) {
  ScopedWorkDir dir;
  FakeMachine machine;
  Equip(machine);
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);

  EXPECT_EQ(ReportSystemInfo(), 1);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"),
            Lines({"OS : Debian GNU/Linux 12 (bookworm) Linux 6.1.0-18-amd64 PID 2 Build 0",
                   "CPU : GenuineIntel Fake(R) Core(TM) CPU @ 3.00GHz 3000",
                   "Mem Total : 8191.500MB",
                   "Mem Free : 3584MB",
                   "Vir Total : 10239.500MB",  // memory plus swap
                   "Vir Free : 5120MB",
                   "HD Free : 2048MB"}));       // 2 GiB or more shows as 0x7FFFFFFF bytes
  EXPECT_EQ(machine.diskPath, "");              // the working directory's disk
}

TEST(ReportSystemInfo, AMachineThatTellsLittle) {
  ScopedWorkDir dir;
  FakeMachine machine;  // no cpuid, no cycle counter, nothing known
  machine.hasCpuid = false;
  machine.os.kernelName = "Linux";
  machine.os.kernelRelease = "5.10";
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);

  EXPECT_EQ(ReportSystemInfo(), 1);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"),
            Lines({"OS :  Linux 5.10 PID 2 Build 0", "CPU :   0", "Mem Total : 0.000MB",
                   "Mem Free :   0MB", "Vir Total : 0.000MB", "Vir Free :   0MB", "HD Free :   0MB"}));
  EXPECT_LE(machine.perfReads, 2);  // no busy wait without a cycle counter
}

TEST(ReportSystemInfo, NothingWhenTheReportLogCannotBeWritten) {
  ScopedWorkDir dir;
  FakeMachine machine;
  std::filesystem::create_directory(dir.Path() + "/logs");
  ASSERT_EQ(ReportOpen("logs\\Report_Game.txt"), 1);
  std::filesystem::remove_all(dir.Path() + "/logs");
  EXPECT_EQ(ReportSystemInfo(), 0);
}

TEST(ReportDisplayInfo, ModeDepthAndTheVideoBudgetWhenThereIsOne) {
  ScopedWorkDir dir;
  FakeMachine machine;
  Equip(machine);
  // Each case's facts are installed while it runs.
  auto run = [&](const char* what, cDrawingFacts* facts, const std::string& expected) {
    SetDrawingFacts(facts);
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    EXPECT_EQ(ReportDisplayInfo(1), 1) << what;
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), expected) << what;
  };

  {
    FakeDrawing budget;
    run("a window with a budget of 256 MB", &budget,
        Lines({"Mode : Window", "Bpp : 32", "VRAM Total : 256.000MB", "VRAM Free : 256.000MB", "RR : 75"}));
  }
  {
    FakeDrawing noDisplay;
    noDisplay.window = 0;
    noDisplay.bits = 16;
    noDisplay.directDraw = 0;
    noDisplay.totalMB = 99;
    run("no video budget", &noDisplay, Lines({"Mode : Fullscreen", "Bpp : 16"}));
    int total = -1, free = -1;
    GetVideoMemory(&total, &free);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(free, 0);
  }
  {
    FakeDrawing unknownRate;
    unknownRate.bits = 8;
    unknownRate.totalMB = 64;
    unknownRate.freeMB = 12;
    unknownRate.refresh = 0;
    run("refresh rate unknown", &unknownRate,
        Lines({"Mode : Window", "Bpp : 8", "VRAM Total : 64.000MB", "VRAM Free : 12.000MB", "RR : 0"}));
  }
}

TEST(ReportDisplayInfo, TellsWhatTheSoftwareDisplayRuns) {
  ScopedWorkDir dir;
  FakeMachine machine;
  Equip(machine);
  plat::SetVideoMemoryBudget(uint64_t{64} << 20);
  plat::SetDesktopBpp(16);
  ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 16, 0, 1, 1, 60, 0, nullptr, nullptr, 0, 0));
  uint32_t total = 0, free = 0;
  GetVideoMemory(total, free);
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  EXPECT_EQ(ReportDisplayInfo(1), 1);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"),
            Lines({"Mode : Window", "Bpp : 16", "VRAM Total : 64.000MB",
                   FormatText("VRAM Free : %u.000MB", free), "RR : 60"}));
  EXPECT_LT(free, 64u) << "the display's own surfaces are taken from the budget";
  DDRelease();

  // Without a display: no video budget to tell.
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  ReportDisplayInfo(1);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt").find("VRAM"), std::string::npos);
  plat::SetVideoMemoryBudget(uint64_t{256} << 20);
  plat::SetDesktopBpp(32);
}

TEST(ReportDisplayInfo, TheEmulated3DDeviceTellsItsTexturesAndDriver) {
  ScopedWorkDir dir;
  FakeMachine machine;
  Equip(machine);
  FakeDrawing device;
  device.direct3D = 1;
  device.directDraw = 0;

  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  EXPECT_EQ(ReportDisplayInfo(1), 1);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"),
            Lines({"Mode : Window", "Bpp : 32", "TextureMem : 256MB", Sjis("---デバイス0"),
                   "Destination : x11", "TextureMaxSize : (4096,4096)", "TextureMaxBlend : (8,8)"}));

  // Without a known driver its line is left out; without the device, all.
  machine.display.videoDriver = "";
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  EXPECT_EQ(ReportDxDiag(1), 1);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"),
            Lines({"TextureMem : 256MB", Sjis("---デバイス0"), "TextureMaxSize : (4096,4096)",
                   "TextureMaxBlend : (8,8)"}));
  device.direct3D = 0;
  ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
  EXPECT_EQ(ReportDxDiag(1), 0);
  EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "");
}

TEST(GetDDIVersion, TheDriverLevelOfThe3DDevice) {
  EXPECT_EQ(GetDDIVersion(), plat::GetDDIVersion());
}

TEST(GetCpuName, ReadsOnlyTheLeavesTheProcessorHas) {
  struct Case {
    const char* what;
    uint32_t maxLeaf;
    uint32_t maxExtended;
    bool hasCpuid;
    const char* vendor;
    const char* brand;
    int mmx, sse, sse2, amd3dnow;
  } cases[] = {
      {"every leaf", 0xD, 0x80000008u, true, "GenuineIntel", "Fake(R) Core(TM) CPU @ 3.00GHz", 1, 1, 1, 1},
      {"leaf 0 only", 0, 0x80000008u, true, "GenuineIntel", "Fake(R) Core(TM) CPU @ 3.00GHz", 0, 0, 0, 1},
      {"no extended leaves (answers basic data)", 0xD, 0xD, true, "GenuineIntel", "", 1, 1, 1, 0},
      {"extended up to 0x80000001", 0xD, 0x80000001u, true, "GenuineIntel", "", 1, 1, 1, 1},
      {"no cpuid at all", 0xD, 0x80000008u, false, "", "", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    FakeMachine machine;
    Equip(machine);
    machine.leaves[0][0] = c.maxLeaf;
    machine.leaves[0x80000000u][0] = c.maxExtended;
    machine.hasCpuid = c.hasCpuid;
    CPUINFO info;
    GetCpuName(info);
    EXPECT_STREQ(info.szVendor, c.vendor) << c.what;
    EXPECT_STREQ(info.szBrand, c.brand) << c.what;
    EXPECT_EQ(info.bMMX, c.mmx) << c.what;
    EXPECT_EQ(info.bSSE, c.sse) << c.what;
    EXPECT_EQ(info.bSSE2, c.sse2) << c.what;
    EXPECT_EQ(info.b3DNow, c.amd3dnow) << c.what;
    EXPECT_EQ(info.b3DNowExt, 0) << c.what;
    EXPECT_DOUBLE_EQ(info.dClock, 3000500000.0) << c.what;
  }
}

TEST(MeasureCpuClock, CyclesOverTheWaitLessOneCounterRead) {
  FakeMachine machine;
  machine.tscStep = 281296875;
  EXPECT_DOUBLE_EQ(MeasureCpuClock(), 3000500000.0);
  // The wait ends at the first read 100 ms (102 ticks of 1024) after the second.
  EXPECT_EQ(machine.perfReads, 2 + 7);
}

TEST(MeasureCpuClock, TheWaitFitsTheCounterBetween5And100Ms) {
  struct Case {
    const char* what;
    uint64_t frequency, readCost;  // the counter's ticks a second, and per read
    uint64_t waitTicks;            // the least wait that reaches the precision
  } cases[] = {
      {"nanosecond counter, quick reads: 5 ms", 1000000000, 25, 5000000},
      {"nanosecond counter, 1 us reads: 2 x 1001 ticks x 10000", 1000000000, 1000, 20020000},
      {"nanosecond counter, slow reads: 100 ms", 1000000000, 100000, 100000000},
      {"a 1024 Hz counter: 100 ms", 1024, 16, 102},
  };
  for (const Case& c : cases) {
    FakeMachine machine;
    machine.perfFrequency = c.frequency;
    machine.perfStep = c.readCost;
    machine.tscStep = 1000000;
    const double clock = MeasureCpuClock();
    const uint64_t reads = (c.waitTicks + c.readCost - 1) / c.readCost;  // after the second read
    EXPECT_EQ(machine.perfReads, static_cast<int>(2 + reads)) << c.what;
    const double seconds = static_cast<double>((reads - 1) * c.readCost) / static_cast<double>(c.frequency);
    EXPECT_DOUBLE_EQ(clock, 1000000.0 / seconds) << c.what;
  }
}

TEST(GetDiskFree, BytesFreeCappedAtTheLargestInt32) {
  struct Case {
    bool ok;
    uint64_t bytes;
    int32_t expected;
  } cases[] = {
      {true, 0, 0},
      {true, kMiB, static_cast<int32_t>(kMiB)},
      {true, 0x7FFFFFFF, 0x7FFFFFFF},
      {true, 0x80000000u, 0x7FFFFFFF},
      {true, 1ull << 40, 0x7FFFFFFF},
      {false, 5, 0},
  };
  FakeMachine machine;
  for (const Case& c : cases) {
    machine.diskOk = c.ok;
    machine.diskFree = c.bytes;
    EXPECT_EQ(GetDiskFree(nullptr), c.expected) << c.bytes;
  }
  GetDiskFree("D:\\");
  EXPECT_EQ(machine.diskPath, "D:\\");
}

TEST(GetWindowsName, DistributionKernelAndItsNumbers) {
  struct Case {
    const char* release;
    const char* text;
    int major, minor;
  } cases[] = {
      {"6.1.0-18-amd64", "Debian Linux 6.1.0-18-amd64 PID 2 Build 0", 6, 1},
      {"5.15.90.1-microsoft-standard-WSL2", "Debian Linux 5.15.90.1-microsoft-standard-WSL2 PID 2 Build 90", 5, 15},
      {"4.19", "Debian Linux 4.19 PID 2 Build 0", 4, 19},
      {"", "Debian Linux PID 2 Build 0", 0, 0},
  };
  FakeMachine machine;
  machine.os.distribution = "Debian";
  machine.os.kernelName = "Linux";
  for (const Case& c : cases) {
    machine.os.kernelRelease = c.release;
    std::string text;
    int major = -1, minor = -1;
    GetWindowsName(&text, &major, &minor);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(major, c.major) << c.release;
    EXPECT_EQ(minor, c.minor) << c.release;
  }
  GetWindowsName(nullptr, nullptr, nullptr);  // every out-parameter may be left out
  // Every version rule takes its newer branch.
  EXPECT_TRUE(IsWindowsAtLeast(6, 0));
  EXPECT_TRUE(IsWindowsAtLeast(99, 99));
}

TEST(GetMemoryStatus, VirtualIsMemoryPlusSwap) {
  FakeMachine machine;
  Equip(machine);
  MEMORYSTATUS status;
  GetMemoryStatus(status);
  EXPECT_EQ(status.nTotalPhys, 8 * kGiB - 512 * 1024);
  EXPECT_EQ(status.nTotalPageFile, 2 * kGiB);
  EXPECT_EQ(status.nTotalVirtual, 10 * kGiB - 512 * 1024);
  EXPECT_EQ(status.nAvailVirtual, 5120 * kMiB + 400 * 1024);
  EXPECT_EQ(status.dwMemoryLoad, 56u);  // 4607.1 of 8191.5 MiB in use
}
