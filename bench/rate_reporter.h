#pragma once
// The console report, and each run's items per second kept by its name so
// that main can print the ratios to the reference after the report.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      auto it = r.counters.find("items_per_second");
      if (it != r.counters.end()) rates[r.benchmark_name()] = it->second.value;
    }
  }
  std::map<std::string, double> rates;
};
