// How fast the simulated board hands over a full frame, line by line through the
// driver's overlapped ReadFile, against the line rate the library expects of the sensor
// (frame period / lines per frame). The simulator must never be what slows live view.
#include <benchmark/benchmark.h>

#include <vector>

#include "Config.h"
#include "KernelObject.h"
#include "board/BoardDevice.h"
#include "board/BoardTestApi.h"

namespace {

void FullFrame(benchmark::State& state, const char* scene, const char* noise) {
  plat::config::Set("BOARD_SCENE", scene);
  plat::config::Set("BOARD_NOISE", noise);
  plat::config::Set("BOARD_PORT_MICROS", "0");
  plat::board::Reset();
  DWORD error = 0;
  auto device = plat::OpenDevice("KQPCI1", 0xC0000000, 0x40000000, &error);
  std::vector<uint8_t> line(2584);
  DWORD rearm[2] = {((0xE000 + 4) << 2) | 3, 1}, got = 0;
  // The shortest exposure (register 16 = 0), so each re-arm takes a fully exposed frame
  // and unchanged settings reuse the rendered one.
  DWORD shortest[2] = {(0xE000 << 2) | 3, 0x1000};
  device->IoControl(plat::board::kIoctlPortWrite, shortest, 8, nullptr, 0, &got, nullptr);
  constexpr int kLines = 517;  // the dropped line and 516 of the window
  for (auto _ : state) {
    device->IoControl(plat::board::kIoctlPortWrite, rearm, 8, nullptr, 0, &got, nullptr);
    for (int i = 0; i < kLines; ++i) {
      OVERLAPPED o{};
      DWORD done = 0;
      device->Read(line.data(), 2584, &done, &o);
    }
    benchmark::DoNotOptimize(line.data());
  }
  // 534 lines in 4 x 1790 x 534 / 46 microseconds: about 6400 lines a second.
  const double sensorLinesPerSecond = 46e6 / (4.0 * 1790);
  state.counters["lines_per_s"] = benchmark::Counter(double(kLines) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["sensor_lines_per_s"] = sensorLinesPerSecond;
  for (auto k : {"BOARD_SCENE", "BOARD_NOISE", "BOARD_PORT_MICROS"}) plat::config::Set(k, std::nullopt);
}

// Pattern scene: pure line delivery (the frame is rendered once and kept).
void BM_BoardFramePattern(benchmark::State& state) { FullFrame(state, "pattern", "0"); }
// Test chart with noise: every frame is rendered anew, as in live view.
void BM_BoardFrameChartNoisy(benchmark::State& state) { FullFrame(state, "chart", "1.5"); }
// Test chart without noise: settings unchanged, so the rendered frame is reused.
void BM_BoardFrameChartCached(benchmark::State& state) { FullFrame(state, "chart", "0"); }

BENCHMARK(BM_BoardFramePattern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoardFrameChartNoisy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoardFrameChartCached)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
