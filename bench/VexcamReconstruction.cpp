// Colour reconstruction of a full 3840 x 3072 frame, method by method, in megapixels a
// second, next to a plain bilinear demosaic written here as the yardstick. Every method
// runs on one, two, four and all of the library's threads, with progress reports as in a
// capture; its CPU column is the processor time of all threads together. Every case runs
// in warm rounds, each beside a round of the yardstick (under the same load of the
// machine); the closing table gives the medians and the ratio per round, min..max.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <ctime>
#include <vector>

#include "ColourReconstruction.h"
#include "Levels.h"
#include "RowPool.h"
#include "AnchoredRounds.h"
#include "Yardstick.h"

namespace {

constexpr LONG kWidth = 3840, kHeight = 3072;

struct Frame {
  LONG rows = kHeight + 4, bytes = kWidth + 4;
  std::vector<BYTE> memory[4];
  std::vector<BYTE*> table[4];
  std::vector<BYTE> bits;
  LONG stride = (3 * kWidth + 3) & ~3;
  Frame() {
    uint32_t seed = 12345;
    for (int p = 0; p < 4; ++p) {
      memory[p].resize(size_t(rows) * size_t(bytes));
      // A smooth scene with some noise, so the edge-directed choices vary.
      for (LONG r = 0; r < rows; ++r)
        for (LONG x = 0; x < bytes; ++x) {
          seed = seed * 1664525u + 1013904223u;
          memory[p][size_t(r * bytes + x)] = BYTE(((x / 7 + r / 5 + 40 * p) & 0xFF) ^ ((seed >> 28) & 7));
        }
      for (LONG r = 0; r < rows; ++r) table[p].push_back(memory[p].data() + size_t(r) * size_t(bytes));
    }
    bits.resize(size_t(stride) * kHeight);
  }
  vexcam::PlaneSet View() const {
    vexcam::PlaneSet v;
    for (int p = 0; p < 4; ++p) v.row[p] = table[p].data();
    v.rows = rows, v.rowBytes = bytes;
    return v;
  }
};

Frame& SharedFrame() {
  static Frame frame;
  return frame;
}

// threads: 1, or 0 for all of the library's pool.
vexcam::ColourContext Context(vexcam::GreenStatsState* green, int threads = 1) {
  vexcam::ColourContext c;
  c.planes = SharedFrame().View();
  c.revision = 217;
  c.green = green;
  c.threads = threads;
  // A capture's kernels report progress (and could be cancelled) as they go.
  c.progress = [](int) { return 1; };
  return c;
}

void Rate(benchmark::State& state, LONG w, LONG h) {
  state.counters["Mpx/s"] = benchmark::Counter(double(w) * double(h) * double(state.iterations()) / 1e6,
                                               benchmark::Counter::kIsRate);
}

// The yardstick: a straightforward bilinear demosaic of the same mosaic (green on the
// diagonal, red on even rows), one pixel at a time with clamped neighbours. A function of
// its own, so that instruction counts (callgrind --toggle-collect) can take it alone.
__attribute__((noinline)) void PlainDemosaic(const std::vector<BYTE>& mosaic, BYTE* bits, LONG stride) {
  auto at = [&](LONG r, LONG x) {
    r = r < 0 ? 1 : (r >= kHeight ? kHeight - 2 : r);
    x = x < 0 ? 1 : (x >= kWidth ? kWidth - 2 : x);
    return int(mosaic[size_t(r * kWidth + x)]);
  };
  for (LONG r = 0; r < kHeight; ++r) {
    BYTE* out = bits + size_t(kHeight - 1 - r) * size_t(stride);
    for (LONG x = 0; x < kWidth; ++x) {
      int cross = (at(r - 1, x) + at(r + 1, x) + at(r, x - 1) + at(r, x + 1)) / 4;
      int diag = (at(r - 1, x - 1) + at(r - 1, x + 1) + at(r + 1, x - 1) + at(r + 1, x + 1)) / 4;
      int horiz = (at(r, x - 1) + at(r, x + 1)) / 2, vert = (at(r - 1, x) + at(r + 1, x)) / 2;
      int v = at(r, x), b, g, rd;
      bool evenRow = !(r & 1), evenCol = !(x & 1);
      if (evenRow && evenCol) g = v, rd = horiz, b = vert;
      else if (evenRow) rd = v, g = cross, b = diag;
      else if (evenCol) b = v, g = cross, rd = diag;
      else g = v, rd = vert, b = horiz;
      out[3 * x] = BYTE(b), out[3 * x + 1] = BYTE(g), out[3 * x + 2] = BYTE(rd);
    }
  }
}

// The frame's samples as one mosaic, the yardstick's input.
const std::vector<BYTE>& SharedMosaic() {
  static const std::vector<BYTE> mosaic = [] {
    Frame& f = SharedFrame();
    std::vector<BYTE> m(size_t(kWidth) * kHeight);
    for (LONG r = 0; r < kHeight; ++r)
      for (LONG x = 0; x < kWidth; ++x) {
        int p = (r & 1) ? ((x & 1) ? 3 : 1) : ((x & 1) ? 2 : 0);
        m[size_t(r * kWidth + x)] = f.table[p][size_t(r)][x];
      }
    return m;
  }();
  return mosaic;
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void Yardstick() {
  Frame& f = SharedFrame();
  PlainDemosaic(SharedMosaic(), f.bits.data(), f.stride);
  benchmark::DoNotOptimize(f.bits.data());
}

// `step` in warm rounds, each beside a round of the yardstick.
template <class Step>
void AgainstYardstick(benchmark::State& state, LONG w, LONG h, Step step) {
  bench::AnchoredRounds(state, step, Yardstick);
  Rate(state, w, h);
}

void PlainBilinear(benchmark::State& state) { AgainstYardstick(state, kWidth, kHeight, Yardstick); }

// The method on state.range(0) threads.
void Method(benchmark::State& state, int method) {
  Frame& f = SharedFrame();
  vexcam::GreenStatsState green;
  vexcam::ColourContext c = Context(&green, int(state.range(0)));
  double cpu = 0, wall = 0;
  AgainstYardstick(state, kWidth, kHeight, [&] {
    const double cpuStart = ProcessCpuSeconds();
    wall += bench::WallSeconds([&] { vexcam::Reconstruct(c, method, f.bits.data(), kWidth, kHeight, f.stride); });
    cpu += ProcessCpuSeconds() - cpuStart;
    benchmark::DoNotOptimize(f.bits.data());
  });
  // Processor time of all threads over wall time: how many threads the pass kept busy.
  if (wall > 0) state.counters["busy_threads"] = cpu / wall;
}

// One thread, two, four, and all of the library's pool (as many as the processors this
// run may use), for the scaling.
void ThreadCounts(benchmark::internal::Benchmark* b) {
  const int all = vexcam::PassThreads(0);
  for (int n : {1, 2, 4})
    if (n < all) b->Arg(n);
  b->Arg(all);
}

using KernelFn = LONG (*)(const vexcam::ColourContext&, BYTE*, LONG, LONG, LONG);

void Kernel(benchmark::State& state, KernelFn kernel, bool half) {
  Frame& f = SharedFrame();
  vexcam::GreenStatsState green;
  vexcam::ColourContext c = Context(&green);
  c.statisticsFlag = true;
  LONG w = half ? kWidth / 2 : kWidth, h = half ? kHeight / 2 : kHeight;
  AgainstYardstick(state, w, h, [&] { benchmark::DoNotOptimize(kernel(c, f.bits.data(), w, h, f.stride)); });
}

void Shift18(benchmark::State& state, int method) {
  Frame& f = SharedFrame();
  vexcam::ColourContext c = Context(nullptr);
  AgainstYardstick(state, kWidth, kHeight, [&] {
    benchmark::DoNotOptimize(vexcam::RGBFromShift18(c, method, f.bits.data(), kWidth, kHeight, f.stride));
  });
}

// The chroma step on the same interpolated picture each round: the yardstick's round
// writes the picture, so a fresh copy is put back before each step (the copy is timed
// with the step; it is a small part of it) and the step never runs on its own output.
void Chroma(benchmark::State& state, int threads) {
  Frame& f = SharedFrame();
  vexcam::ColourContext c = Context(nullptr);
  vexcam::Reconstruct(c, 11, f.bits.data(), kWidth, kHeight, f.stride);
  const std::vector<BYTE> interpolated = f.bits;
  AgainstYardstick(state, kWidth, kHeight, [&] {
    std::copy(interpolated.begin(), interpolated.end(), f.bits.begin());
    vexcam::ChromaEnhance(f.bits.data(), kHeight, f.stride, 217, threads);
    benchmark::DoNotOptimize(f.bits.data());
  });
}

void ApplyLevels(benchmark::State& state, bool edge) {
  Frame& f = SharedFrame();
  vexcam::Enhancement e;
  e.enabled = e.autoLevel = true;
  e.edgeApp = edge;
  e.cut = 5, e.wa = 64, e.wb = 32;
  AgainstYardstick(state, kWidth, kHeight, [&] {
    benchmark::DoNotOptimize(vexcam::ApplyLevels(f.View(), e, nullptr, f.bits.data(), kWidth, kHeight, f.stride));
  });
}

}  // namespace

// Every case runs a fixed number of warm rounds, so that slow ones are medians too.
constexpr int kRounds = 7;
#define ROUNDS Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRounds)

BENCHMARK(PlainBilinear)->ROUNDS;
BENCHMARK_CAPTURE(Method, cells_0, 0)->Apply(ThreadCounts)->ArgName("threads")->ROUNDS->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Method, bilinear_11, 11)->Apply(ThreadCounts)->ArgName("threads")->ROUNDS->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Method, bilinear_chroma_1, 1)->Apply(ThreadCounts)->ArgName("threads")->ROUNDS->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Method, adaptive_12, 12)->Apply(ThreadCounts)->ArgName("threads")->ROUNDS->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Method, adaptive_chroma_2, 2)->Apply(ThreadCounts)->ArgName("threads")->ROUNDS->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Method, mosaic_3, 3)->Apply(ThreadCounts)->ArgName("threads")->ROUNDS->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(Kernel, raw, vexcam::RGBFromPlanesRaw, false)->ROUNDS;
BENCHMARK_CAPTURE(Kernel, half_size, vexcam::RGBHalfSize, true)->ROUNDS;
BENCHMARK_CAPTURE(Kernel, shift_cells, vexcam::RGBFromShiftCells, false)->ROUNDS;
BENCHMARK_CAPTURE(Kernel, shift_half_size, vexcam::RGBHalfSizeShift, true)->ROUNDS;
BENCHMARK_CAPTURE(Shift18, copy_0, 0)->ROUNDS;
BENCHMARK_CAPTURE(Shift18, mean_11, 11)->ROUNDS;
BENCHMARK_CAPTURE(Shift18, colour_difference_12, 12)->ROUNDS;
BENCHMARK_CAPTURE(Chroma, one_thread, 1)->ROUNDS;
BENCHMARK_CAPTURE(Chroma, all_threads, 0)->ROUNDS;
BENCHMARK_CAPTURE(ApplyLevels, levels, false)->ROUNDS;
BENCHMARK_CAPTURE(ApplyLevels, levels_and_edges, true)->ROUNDS;

int main(int argc, char** argv) { return bench::RunAgainstYardstick(argc, argv, "PlainBilinear/iterations:7/manual_time"); }
