// Benchmarks measured against a yardstick in the same run: after the usual table, each
// benchmark's wall time as a ratio to the yardstick's (above 1: faster than the yardstick).
// With repetitions the medians are compared. Use as the program's main:
//   int main(int argc, char** argv) { return bench::RunAgainstYardstick(argc, argv, "PlainBilinear"); }
#pragma once
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

class YardstickReporter : public benchmark::ConsoleReporter {
 public:
  explicit YardstickReporter(std::string yardstick) : yardstick_(std::move(yardstick)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") median_[name] = Seconds(run);
      } else {
        if (!single_.count(name)) order_.push_back(name);
        single_[name] = Seconds(run);
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    const double stick = Time(yardstick_);
    if (stick <= 0) return;
    std::printf("\nAgainst the yardstick %s (%.2f ms), in the same run:\n", yardstick_.c_str(), stick * 1e3);
    for (const std::string& name : order_) {
      const double t = Time(name);
      if (t > 0) std::printf("  %-48s %10.2f ms   %6.2fx\n", name.c_str(), t * 1e3, stick / t);
    }
  }

 private:
  static double Seconds(const Run& run) {
    const double perIteration = run.GetAdjustedRealTime();
    return perIteration / benchmark::GetTimeUnitMultiplier(run.time_unit);
  }
  double Time(const std::string& name) const {
    auto m = median_.find(name);
    if (m != median_.end()) return m->second;
    auto s = single_.find(name);
    return s != single_.end() ? s->second : 0.0;
  }

  std::string yardstick_;
  std::vector<std::string> order_;
  std::map<std::string, double> single_, median_;
};

inline int RunAgainstYardstick(int argc, char** argv, const std::string& yardstick) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  YardstickReporter reporter(yardstick);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
