// Benchmarks measured against a yardstick in the same run: after the usual table, each
// benchmark's wall time as a ratio to the yardstick's (above 1: faster than the yardstick).
// With repetitions the medians are compared. A case timed in anchored rounds
// (AnchoredRounds.h) shows its own rounds instead: the median of its warm rounds, its
// anchor's in the same rounds, and the ratio per round as median (min..max). Use as the
// program's main:
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
        if (run.counters.count("x_anchor")) {
          auto c = [&](const char* key) { return double(run.counters.at(key)); };
          rounds_[name] = {c("ms"), c("anchor_ms"), c("x_anchor"), c("x_min"), c("x_max"), double(run.iterations)};
        }
      }
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    if (!rounds_.empty()) {
      std::printf("\nEach case against its anchor in the same warm rounds (medians; the ratio anchor / case):\n");
      std::printf("  %-72s %10s %10s %8s   %-15s %s\n", "case", "ms", "anchor ms", "x", "min..max", "rounds");
      for (const std::string& name : order_) {
        auto r = rounds_.find(name);
        if (r == rounds_.end()) continue;
        const Rounds& v = r->second;
        char range[32];
        std::snprintf(range, sizeof range, "%.2f..%.2f", v.xMin, v.xMax);
        std::printf("  %-72s %10.2f %10.2f %7.2fx   %-15s %.0f\n", name.c_str(), v.ms, v.anchorMs, v.x, range, v.rounds);
      }
    }
    const double stick = Time(yardstick_);
    if (stick <= 0) return;
    bool header = false;
    for (const std::string& name : order_) {
      const double t = Time(name);
      if (t <= 0 || rounds_.count(name)) continue;
      if (!header) {
        std::printf("\nAgainst the yardstick %s (%.2f ms), in the same run:\n", yardstick_.c_str(), stick * 1e3);
        header = true;
      }
      std::printf("  %-48s %10.2f ms   %6.2fx\n", name.c_str(), t * 1e3, stick / t);
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

  struct Rounds {
    double ms, anchorMs, x, xMin, xMax, rounds;
  };
  std::string yardstick_;
  std::map<std::string, Rounds> rounds_;
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
