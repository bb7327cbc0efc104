// A whole still capture from the simulated board into the picture, on the virtual clock:
// the exposures and frame waits take no real time, so what is measured is the library's
// (and the board's) work, per capture. The nine-position capture also times, in the same
// run, the parts it is made of: its nine field reads alone and one reconstruction of its
// planes; it should cost little more than their sum.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "CameraCtrl.h"
#include "CameraGeometry.h"
#include "Clock.h"
#include "Config.h"
#include "SettingsBlock.h"
#include "TrueImage.h"
#include "board/BoardTestApi.h"

namespace {

template <class F>
double WallMs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

// The nine field reads of a 3 x 3 capture as the capture makes them, after a capture has
// set the window and the stores up: the frame started, then position by position.
double NineFieldReadsMs(CCameraCtrl& camera) {
  camera.m_ShiftFactor = 3;
  camera.m_ShiftRunning = true;
  camera.StartFrame();
  bool read = true;
  const double ms = WallMs([&] {
    for (LONG i = 0; i < 9 && read; ++i) {
      camera.m_BatchFirst = i, camera.m_BatchLast = i + 1;
      read = camera.ReadSubFrame(0, Geometry().FrameWidth, Geometry().FrameHeight, i, i + 1 < 9 ? i + 1 : 0) != 0;
    }
  });
  camera.m_ShiftRunning = false;
  return read ? ms : -1;
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

// tranMode, purpose (0 raw: the single-frame readout where there is one); `parts`
// times the field reads and the reconstruction of a nine-position capture too.
void Capture(benchmark::State& state, LONG tranMode, LONG purpose, bool parts) {
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
      std::vector<double> captures;
      for (auto _ : state) {
        LONG result = 0;
        captures.push_back(WallMs([&] { result = camera->OnShutter(&image, RECT{}, 0); }));
        if (result <= 0) {
          state.SkipWithError("capture failed");
          break;
        }
        benchmark::DoNotOptimize(image.m_pBits);
      }
      state.counters["MP"] = double(image.m_nWidth) * image.m_nHeight / 1e6;
      const double captureMs = Median(captures);
      state.counters["capture_ms"] = captureMs;
      if (parts && state.iterations() > 0 && image.m_pBits) {
        std::vector<double> reads, rebuilds;
        for (int k = 0; k < 5; ++k) {
          reads.push_back(NineFieldReadsMs(*camera));
          rebuilds.push_back(WallMs([&] {
            camera->ReconstructPlanes(image.m_pBits, image.m_nWidth, image.m_nHeight, image.m_nStride);
          }));
        }
        const double readMs = Median(reads), rebuildMs = Median(rebuilds);
        if (*std::min_element(reads.begin(), reads.end()) < 0) state.SkipWithError("a field read failed");
        state.counters["reads_ms"] = readMs;
        state.counters["reconstruction_ms"] = rebuildMs;
        // The reconstruction's share of a capture, and the capture against its two parts.
        state.counters["reconstruction_share"] = rebuildMs / captureMs;
        state.counters["x_reads_plus_reconstruction"] = captureMs / (readMs + rebuildMs);
      }
    }
  }
  UseSettings(nullptr);
  plat::config::Set("BOARD_SCENE", std::nullopt);
  plat::board::Reset();
  plat::clock::UseVirtual(false);
}

void BM_VexcamStillFullFrame(benchmark::State& state) { Capture(state, 2, 0, false); }
void BM_VexcamStillHalfFrame(benchmark::State& state) { Capture(state, 1, 0, false); }
void BM_VexcamStillInterpolated(benchmark::State& state) { Capture(state, 2, 10, false); }
void BM_VexcamStillNinePositions(benchmark::State& state) { Capture(state, 5, 0, true); }

}  // namespace

BENCHMARK(BM_VexcamStillFullFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VexcamStillHalfFrame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VexcamStillInterpolated)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_VexcamStillNinePositions)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
