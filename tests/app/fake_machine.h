#pragma once
// A machine for the hardware report tests, installed while it lives. Its
// counters move by fixed steps on each read, so the clock measurement is exact.
#include <array>
#include <cstring>
#include <map>
#include <string>

#include "platform/machine_facts.h"

struct FakeMachine : plat::MachineFacts {
  plat::OsFacts os;
  bool hasCpuid = true;
  std::map<uint32_t, std::array<uint32_t, 4>> leaves;  // EAX, EBX, ECX, EDX
  uint64_t tscStep = 0;  // 0: no cycle counter
  uint64_t tsc = 0;
  uint64_t perfStep = 16;
  uint64_t perf = 0;
  uint64_t perfFrequency = 1024;
  int perfReads = 0;
  plat::MemoryFacts memory;
  bool diskOk = true;
  uint64_t diskFree = 0;
  std::string diskPath;
  plat::DisplayFacts display;

  FakeMachine() { plat::SetMachine(this); }
  ~FakeMachine() override { plat::SetMachine(nullptr); }

  bool Os(plat::OsFacts& out) override {
    out = os;
    return true;
  }
  bool Cpuid(uint32_t leaf, uint32_t regs[4]) override {
    auto it = leaves.find(leaf);
    for (int i = 0; i < 4; ++i) regs[i] = hasCpuid && it != leaves.end() ? it->second[i] : 0;
    return hasCpuid;
  }
  uint64_t TimeStampCounter() override { return tsc += tscStep; }
  uint64_t PerformanceCounter() override {
    ++perfReads;
    return perf += perfStep;
  }
  uint64_t PerformanceFrequency() override { return perfFrequency; }
  bool Memory(plat::MemoryFacts& out) override {
    out = memory;
    return true;
  }
  bool DiskFree(const std::string& sjisPath, uint64_t& bytes) override {
    diskPath = sjisPath;
    bytes = diskOk ? diskFree : 0;
    return diskOk;
  }
  bool Display(plat::DisplayFacts& out) override {
    out = display;
    return !display.videoDriver.empty();
  }

  // Four text bytes as the register that holds them.
  static uint32_t Text4(const char* s) {
    uint32_t v = 0;
    std::memcpy(&v, s, 4);
    return v;
  }
  // The brand text (at most 48 bytes) into leaves 0x80000002..4.
  void SetBrand(const std::string& brand) {
    char bytes[48] = {};
    std::memcpy(bytes, brand.data(), brand.size() < 48 ? brand.size() : 48);
    for (uint32_t i = 0; i < 3; ++i)
      for (int r = 0; r < 4; ++r) leaves[0x80000002u + i][r] = Text4(bytes + 16 * i + 4 * r);
  }
};
