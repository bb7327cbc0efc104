// A case timed round by round beside its anchor: one untimed warm round of each first
// (so set-up and cold caches count for neither), then every round runs the anchor and
// the case under the same load of the machine. The counters give the medians of the
// rounds and the ratio anchor / case per round as median and min..max; the closing
// table of Yardstick.h prints them.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

template <class F>
double WallSeconds(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double MedianOf(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Counters of rounds already timed: `ours` and `anchor` in seconds, round by round.
inline void ReportRounds(benchmark::State& state, const std::vector<double>& ours, const std::vector<double>& anchor) {
  std::vector<double> ratio;
  for (size_t i = 0; i < ours.size() && i < anchor.size(); ++i)
    if (ours[i] > 0) ratio.push_back(anchor[i] / ours[i]);
  if (ratio.empty()) return;
  state.counters["ms"] = MedianOf(ours) * 1e3;
  state.counters["anchor_ms"] = MedianOf(anchor) * 1e3;
  state.counters["x_anchor"] = MedianOf(ratio);
  state.counters["x_min"] = *std::min_element(ratio.begin(), ratio.end());
  state.counters["x_max"] = *std::max_element(ratio.begin(), ratio.end());
}

// Runs `ours` as the measured step of every round (its wall time is the iteration time,
// so the benchmark is registered with UseManualTime) and `anchor` beside it.
template <class Ours, class Anchor>
void AnchoredRounds(benchmark::State& state, Ours ours, Anchor anchor) {
  anchor();
  ours();
  std::vector<double> oursTimes, anchorTimes;
  for (auto _ : state) {
    anchorTimes.push_back(WallSeconds(anchor));
    const double t = WallSeconds(ours);
    oursTimes.push_back(t);
    state.SetIterationTime(t);
  }
  ReportRounds(state, oursTimes, anchorTimes);
}

// A fixed anchor: a goal time in seconds, which a case meets at a ratio of 1 or more.
inline void ReportAgainstGoal(benchmark::State& state, const std::vector<double>& ours, double goalSeconds) {
  ReportRounds(state, ours, std::vector<double>(ours.size(), goalSeconds));
}

}  // namespace bench
