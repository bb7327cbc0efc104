// The single-frame readout kernels on a full 1280 x 1024 sensor frame (640 cells of 512
// lines) in megapixels of picture a second, by picture size, pixel rule and orientation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "ReadoutKernels.h"

namespace {

constexpr LONG kCells = 640, kLines = 512;

struct Frame {
  std::vector<BYTE> lines = std::vector<BYTE>(size_t(kCells) * 4 * kLines);
  BYTE lut[256];
  const BYTE* lanes[4] = {lut, lut, lut, lut};
  Frame() {
    uint32_t seed = 7;
    for (BYTE& b : lines) {
      seed = seed * 1664525u + 1013904223u;
      b = BYTE(seed >> 24);
    }
    for (int v = 0; v < 256; ++v) lut[v] = BYTE(v);
  }
};

void Run(benchmark::State& state, vexcam::ReadoutKind kind, DWORD orientation) {
  static Frame frame;
  const LONG width = kind.full ? 2 * kCells : kCells, height = kind.full ? 2 * kLines : kLines;
  std::vector<BYTE> bits(size_t((3 * width + 3) & ~3) * size_t(height));
  const vexcam::PictureTarget picture{bits.data(), width, height, orientation};
  for (auto _ : state) {
    for (LONG k = 0; k < kLines; ++k)
      vexcam::WriteLine(kind, frame.lanes, frame.lines.data() + size_t(k) * kCells * 4, kCells, k, picture);
    benchmark::DoNotOptimize(bits.data());
  }
  state.counters["MP/s"] =
      benchmark::Counter(double(width) * height * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

using vexcam::PixelRule;
BENCHMARK_CAPTURE(Run, HalfPlain, vexcam::ReadoutKind{false, PixelRule::Plain}, 0);
BENCHMARK_CAPTURE(Run, HalfChroma, vexcam::ReadoutKind{false, PixelRule::Chroma}, 0);
BENCHMARK_CAPTURE(Run, HalfGreyMirroredFlipped, vexcam::ReadoutKind{false, PixelRule::Grey}, 0xC);
BENCHMARK_CAPTURE(Run, HalfNegative, vexcam::ReadoutKind{false, PixelRule::Negative}, 0);
BENCHMARK_CAPTURE(Run, FullColour, vexcam::ReadoutKind{true, PixelRule::Plain}, 0);
BENCHMARK_CAPTURE(Run, FullChroma, vexcam::ReadoutKind{true, PixelRule::Plain, false, true}, 0);
BENCHMARK_CAPTURE(Run, FullGreyInverted, vexcam::ReadoutKind{true, PixelRule::Grey, true}, 0x8);

}  // namespace

BENCHMARK_MAIN();
