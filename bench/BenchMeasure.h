// What the program's benchmarks share: processor time of the calling thread, the anchor
// (a memcpy of a picture of the same size, timed in the same run), and one measured case
// that reports its time, its ratio to the anchor, the pictures the image store copied per
// operation and the megapixels a second.
#pragma once
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "imaging/ImageStore.h"

namespace bench {

inline double ThreadCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// Processor time of one memcpy of `bytes`, the plain reference every case is set against.
inline double AnchorNs(size_t bytes) {
  std::vector<unsigned char> from(bytes, 7), to(bytes);
  const int rounds = bytes > (8u << 20) ? 8 : 64;
  std::memcpy(to.data(), from.data(), bytes);
  const double start = ThreadCpuNs();
  for (int i = 0; i < rounds; ++i) {
    from[size_t(i) % bytes] = static_cast<unsigned char>(i);
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
  }
  return (ThreadCpuNs() - start) / rounds;
}

// Runs `step` per iteration (1 is success) and reports its processor time against the
// anchor; `prepare`, untimed, puts back what a step changed.
template <class Step, class Prepare>
void Measure(benchmark::State& state, size_t pixels, Step step, Prepare prepare) {
  auto& store = plat::imaging::ImageStore::Instance();
  const double anchor = AnchorNs(pixels * 3);
  const uint64_t copiesBefore = store.Copies();
  uint64_t preparedCopies = 0;
  double ns = 0;
  for (auto _ : state) {
    const uint64_t before = store.Copies();
    prepare();
    preparedCopies += store.Copies() - before;
    const double start = ThreadCpuNs();
    const int result = step();
    ns += ThreadCpuNs() - start;
    if (result != 1) {
      state.SkipWithError("the step failed");
      break;
    }
  }
  const double n = double(state.iterations());
  if (n == 0) return;
  state.counters["ms_cpu"] = ns / n / 1e6;
  state.counters["x_anchor"] = ns / n / anchor;
  state.counters["copies"] = double(store.Copies() - copiesBefore - preparedCopies) / n;
  state.counters["MP_per_s"] = double(pixels) / (ns / n / 1e9) / 1e6;
}

template <class Step>
void Measure(benchmark::State& state, size_t pixels, Step step) {
  Measure(state, pixels, step, [] {});
}

}  // namespace bench
