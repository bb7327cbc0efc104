// A whole still capture from the simulated board into the picture, on the virtual clock:
// the exposures and frame waits take no real time, so what is measured is the library's
// (and the board's) work. Reported per capture and, in processor time of the capturing
// thread, per frame read.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "Clock.h"
#include "Config.h"
#include "SettingsBlock.h"
#include "TrueImage.h"
#include "board/BoardTestApi.h"

namespace {

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// What a still capture reads of the program's block: its default camera settings.
tCameraSettings DocumentSettings() {
  tCameraSettings s{};
  s.Command_Repeat = 1, s.Camera_Ctrl = 128, s.AdTop = 130;
  s.ExpMode = 1, s.ExpParam = 1024, s.AutoExpThresh = 1;
  s.zoom = 1.0, s.InterPolationMethod = 2, s.Mode = 0x1800;
  s.PCIaddress = 0xFFFFFFFF, s.CameraVer = 0xA6F, s.BoardRevision = 1, s.BoardCount = 1;
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
      double cpuMs = 0;
      for (auto _ : state) {
        const double start = ThreadCpuMs();
        const LONG r = camera->OnShutter(&image, RECT{}, 0);
        cpuMs += ThreadCpuMs() - start;
        if (r <= 0) {
          state.SkipWithError("capture failed");
          break;
        }
        benchmark::DoNotOptimize(image.m_pBits);
      }
      if (state.iterations() > 0) state.counters["ms_per_frame"] = cpuMs / (double(frames) * double(state.iterations()));
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

BENCHMARK(BM_VexcamStillFullFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VexcamStillHalfFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VexcamStillInterpolated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VexcamStillNinePositions)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
