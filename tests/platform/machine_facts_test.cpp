// The host's answers about itself, and the distribution name of os-release.
#include <gtest/gtest.h>
#include <sys/utsname.h>

#include "platform/machine_facts.h"
#include "support/test_support.h"

TEST(OsReleaseName, PrettyNameElseNameWithoutQuoting) {
  struct Case {
    const char* text;
    const char* name;
  } cases[] = {
      {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
       "Debian GNU/Linux 12 (bookworm)"},
      {"NAME=Arch\n", "Arch"},
      {"NAME='Single quoted'\r\nID=x\r\n", "Single quoted"},
      {"PRETTY_NAME=\"A \\\"quoted\\\" \\\\ name\"", "A \"quoted\" \\ name"},
      {"PRETTY_NAME=\"\"\nNAME=Fallback\n", "Fallback"},
      {"XNAME=wrong\nID=none\n", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::OsReleaseName(c.text), c.name) << c.text;
}

TEST(HostMachine, AnswersFromTheRunningSystem) {
  plat::MachineFacts& host = plat::HostMachine();
  EXPECT_EQ(&plat::Machine(), &host);

  plat::OsFacts os;
  ASSERT_TRUE(host.Os(os));
  struct utsname u;
  ASSERT_EQ(uname(&u), 0);
  EXPECT_EQ(os.kernelName, u.sysname);
  EXPECT_EQ(os.kernelRelease, u.release);

  plat::MemoryFacts memory;
  ASSERT_TRUE(host.Memory(memory));
  EXPECT_GT(memory.totalRam, 0u);
  EXPECT_LE(memory.availableRam, memory.totalRam);
  EXPECT_LE(memory.freeSwap, memory.totalSwap);

  uint64_t bytes = 0;
  EXPECT_TRUE(host.DiskFree("", bytes));
  EXPECT_FALSE(host.DiskFree("no\\such\\folder", bytes));
  EXPECT_EQ(bytes, 0u);

  EXPECT_EQ(host.PerformanceFrequency(), 1000000000u);
  uint64_t before = host.PerformanceCounter();
  EXPECT_GE(host.PerformanceCounter(), before);

#if defined(__x86_64__)
  uint32_t regs[4];
  ASSERT_TRUE(host.Cpuid(0, regs));
  EXPECT_GE(regs[0], 1u);  // every x86-64 processor has leaf 1
  EXPECT_NE(host.TimeStampCounter(), 0u);
#endif

  // The display is known only once the window system runs.
  plat::DisplayFacts display;
  EXPECT_FALSE(host.Display(display));
  EXPECT_EQ(display.videoDriver, "");
  EXPECT_EQ(display.refreshRate, 0);
}
