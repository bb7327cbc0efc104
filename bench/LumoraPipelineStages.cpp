// The pipeline stages' own work per picture: a 640 x 512 live frame through the camera
// input (on the virtual clock, so the board's waits cost nothing) and through each live
// stage; shading and RGB on a 3840 x 3072 shot; one focus measure. Times are processor
// time of the calling thread. Each case also copies a picture of the same size with
// memcpy in the same run, the anchor: "x_anchor" is the stage's time over the anchor's,
// "copies" the whole pictures the image store copied per operation.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchMeasure.h"
#include "BenchPipeline.h"
#include "TrueImage.h"

namespace {

// The stages on the virtual clock, looking at the test chart.
struct Pipeline : bench::BenchPipeline {
  Pipeline() : BenchPipeline(true, {{"BOARD_SCENE", "chart"}}, WS_POPUP, CSize(400, 300)) {}
  // Live view at 640 x 512 with every live correction on.
  bool Live() {
    doc->SetCaptureMode(1);
    doc->SetShadingOption(1);
    doc->SetShadingLevel(80);
    doc->SetRGBGreen(3);
    doc->SetFocusPosition(LONG(320), LONG(256));
    shading->OnSettingsChanged(0x400);
    rgb->OnSettingsChanged(0x200);
    focus->OnSettingsChanged(0x40);
    profile->OnSettingsChanged(0x20);
    return buffers->CreateBuffer(0, 640, 512, 0) == 0 && camera->Input(0) == 1;
  }
  // A 3840 x 3072 Fine shot with shading over the whole frame.
  bool Shot() {
    doc->SetShootResolution(0, 1, 2);
    doc->SetCaptureMode(0);
    doc->SetFineMode(1);
    doc->SetShadingPoint(320, 256);
    doc->SetShadingOption(1);
    doc->SetShadingLevel(80);
    shading->OnSettingsChanged(0x400);
    rgb->OnSettingsChanged(0x200);
    return buffers->CreateBuffer(2, 3840, 3072, 0) == 2;
  }
};

// Built on first use and taken down by main, while the stand-in is still whole.
std::unique_ptr<Pipeline> g_pipeline;
Pipeline& ThePipeline() {
  if (!g_pipeline) g_pipeline = std::make_unique<Pipeline>();
  return *g_pipeline;
}

using bench::Measure;

void BM_LiveCameraInput(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.ready || !p.Live()) return state.SkipWithError("no camera");
  Measure(state, 640 * 512, [&] { return p.camera->Input(0); });
}

void BM_LiveFocus(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.ready || !p.Live()) return state.SkipWithError("no camera");
  Measure(state, 640 * 512, [&] { return p.focus->Process(0, 0); });
}

void BM_LiveShading(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.ready || !p.Live()) return state.SkipWithError("no camera");
  Measure(state, 640 * 512, [&] { return p.shading->Process(0, 0); });
}

void BM_LiveRGB(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.ready || !p.Live()) return state.SkipWithError("no camera");
  Measure(state, 640 * 512, [&] { return p.rgb->Process(0, 0); });
}

void BM_LiveProfile(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.ready || !p.Live()) return state.SkipWithError("no camera");
  Measure(state, 640 * 512, [&] { return p.profile->Process(0, 0); });
}

void BM_ShotShading(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.Shot()) return state.SkipWithError("no picture");
  Measure(state, 3840 * 3072, [&] { return p.shading->Process(2, 2); });
}

void BM_ShotRGB(benchmark::State& state) {
  Pipeline& p = ThePipeline();
  if (!p.Shot()) return state.SkipWithError("no picture");
  Measure(state, 3840 * 3072, [&] { return p.rgb->Process(2, 2); });
}

// The measure alone on one 80 x 80 window of a live-like picture.
void BM_FocusMeasureWindow(benchmark::State& state) {
  CTrueImage image;
  image.SetFormat(80, 80, 3);
  image.m_nWidth = image.m_nHeight = 80;
  image.m_nStride = RowStride(80, 3);
  if (!image.CreateDIB()) return state.SkipWithError("no pixels");
  uint32_t seed = 99;
  for (int i = 0; i < 80 * image.m_nStride; ++i) image.m_pBits[i] = BYTE((seed = seed * 1664525u + 1013904223u) >> 24);
  Measure(state, 80 * 80, [&] {
    benchmark::DoNotOptimize(image.MeasureFocusRed(1) + image.MeasureFocusGreen(1) + image.MeasureFocusBlue(1));
    return 1;
  });
}

}  // namespace

BENCHMARK(BM_LiveCameraInput)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveFocus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveShading)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveProfile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShotShading)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShotRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FocusMeasureWindow)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  return bench::RunBenchmarks(argc, argv, [] { g_pipeline.reset(); });
}
