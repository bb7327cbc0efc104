// A whole still capture from the simulated board into the picture, on the virtual clock:
// the exposures and frame waits take no real time, so what is measured is the library's
// (and the board's) work. Reported per frame read and per capture.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "Clock.h"
#include "Config.h"
#include "SettingsBlock.h"
#include "TrueImage.h"
#include "board/BoardTestApi.h"

namespace {

// The block as the program's document builds it.
tCameraSettings DocumentSettings() {
  tCameraSettings s{};
  s.EdgeAppLevelStd = s.EdgeAppLevelHigh = 4;
  s.EdgeAppLevelBw = s.ContrastLevelBw = 8;
  s.Command_Repeat = 1;
  s.Camera_Ctrl = 128;
  for (int g = 0; g < 3; ++g)
    for (int i = 0; i < 4; ++i) s.WBGain[g][i] = 30 + 30 * g, s.BB_Lev[g][i] = 128;
  for (int i = 0; i < 4; ++i) s.Black_Level[i] = 128;
  s.AdTop = 130;
  s.ExpMode = 1;
  s.ExpParam = 1024;
  s.AutoExpThresh = 1;
  s.zoom = 1.0;
  s.InterPolationMethod = 2;
  s.Mode = 0x1800;
  s.PCIaddress = 0xFFFFFFFF;
  const LONG mosaic[4] = {2, 3, 0, 1};
  for (int i = 0; i < 4; ++i) s.Mosaic[i] = mosaic[i];
  s.CameraVer = 0xA6F;
  s.BoardRevision = 1;
  s.BoardCount = 1;
  return s;
}

// tranMode, purpose (0 raw: the single-frame readout where there is one), positions.
void Capture(benchmark::State& state, LONG tranMode, LONG purpose, int frames) {
  plat::clock::UseVirtual(true, 10);
  plat::config::Set("BOARD_SCENE", "chart");
  plat::board::Reset();
  tCameraSettings s = DocumentSettings();
  s.TranMode = tranMode;
  UseSettings(&s);
  Geometry() = CameraGeometry{};
  {
    auto camera = std::make_unique<CCameraCtrl>();
    if (!camera->CheckCameraPower()) {
      state.SkipWithError("no camera");
    } else {
      CTrueImage image;
      image.m_nReserved = purpose;
      double wallMs = 0;
      for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const LONG r = camera->OnShutter(&image, RECT{}, 0);
        wallMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (r <= 0) {
          state.SkipWithError("capture failed");
          break;
        }
        benchmark::DoNotOptimize(image.m_pBits);
      }
      if (state.iterations() > 0) state.counters["ms_per_frame"] = wallMs / (double(frames) * double(state.iterations()));
      state.counters["MP"] = double(image.m_nWidth) * image.m_nHeight / 1e6;
    }
  }
  UseSettings(nullptr);
  plat::config::Set("BOARD_SCENE", std::nullopt);
  plat::board::Reset();
  plat::clock::UseVirtual(false);
}

void BM_VexcamStillFullFrame(benchmark::State& state) { Capture(state, 2, 0, 1); }
void BM_VexcamStillHalfFrame(benchmark::State& state) { Capture(state, 1, 0, 1); }
void BM_VexcamStillInterpolated(benchmark::State& state) { Capture(state, 2, 10, 1); }
void BM_VexcamStillNinePositions(benchmark::State& state) { Capture(state, 5, 0, 9); }

}  // namespace

BENCHMARK(BM_VexcamStillFullFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VexcamStillHalfFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VexcamStillInterpolated)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VexcamStillNinePositions)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
