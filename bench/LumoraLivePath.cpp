// Live view at 640 x 512 from the simulated board to the headless screen: camera input,
// focus, shading, RGB, profile and the live pane's Output with its paint, in the order
// the live flow runs them.
//
// BM_LivePathCpu runs on the virtual clock (the board's waits cost nothing) with a
// noiseless, still scene, so the board renders it once: it reports the processor time
// of each stage and of the whole frame, the frames per second the processor allows
// (goal: 30 or more), whole pictures copied per frame, and the frame's time over the
// anchor, one memcpy of the frame in the same run.
//
// BM_LivePathRealClock runs live view as the program does, the flow on a worker thread
// while this thread handles the pane's messages, on the real clock: it reports frames
// shown against the frames the board made in that time (goal: none missed) and the
// processor time of the whole process meanwhile, in percent of one core (goal: 20 or less).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BenchMeasure.h"
#include "BenchPipeline.h"
#include "binding/CLead.h"
#include "control/VexFlowControl.h"
#include "display/Screen.h"
#include "imaging/ImageStore.h"
#include "pipeline/output/VexDisplayOutput.h"

namespace {

using bench::AnchorNs;
using bench::ThreadCpuNs;

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// The live pipeline as the main frame composes it, the live pane shown on the screen,
// the scene still and noiseless so the board renders it once.
struct LivePath : bench::BenchPipeline {
  explicit LivePath(bool virtualClock)
      : BenchPipeline(virtualClock, {{"BOARD_SCENE", "chart"}, {"BOARD_NOISE", "0"}}, WS_POPUP | WS_VISIBLE,
                      CSize(640, 512)) {
    if (!ready) return;
    ready = false;
    flow = new CVexFlowControl;
    flow->Create(nullptr, "", WS_CHILD, CRect(0, 0, 50, 50), &frame, CVexFlowControl::kWindowId);
    doc->AddView(flow);
    pane = new CVexDisplayOutput;
    const CRect rect(0, 0, 640, 512);
    if (!pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &frame, 1) || !pane->CreateImagingControl(&rect))
      return;
    pane->SetBufferControl(buffers);
    doc->AddView(pane);
    flow->SetBufferControl(buffers);
    flow->SetInput(0, camera);
    flow->SetProcess(102, profile);
    flow->SetProcess(104, rgb);
    flow->SetProcess(105, shading);
    flow->SetLiveProcess(200, focus);
    flow->SetOutput(300, pane);
    // Every live stage on, the shooting area with its focus box drawn on each frame.
    doc->SetLiveWindowLeft(1);
    doc->SetFocusTargetState(1);
    doc->SetFocusPosition(LONG(320), LONG(256));
    doc->SetShadingOption(1);
    doc->SetShadingLive(1);
    doc->SetShadingLevel(80);
    doc->SetRGBLive(1);
    doc->SetRGBGreen(3);
    doc->SetImageProfileState(1);
    doc->SetProfileDisplay(1);
    doc->SetDisplayMode(0);
    shading->OnSettingsChanged(0x400);
    rgb->OnSettingsChanged(0x200);
    focus->OnSettingsChanged(0x40);
    profile->OnSettingsChanged(0x20);
    ready = flow->BuildFlows() == 1 && doc->SetCaptureMode(1) == 1 && flow->PrepareBuffer(0, 1) == 1 &&
            pane->SetDisplayMode(2) == 1 && pane->OnSettingsChanged(0x800) == 1;
    Pump();
  }

  CVexFlowControl* flow = nullptr;
  CVexDisplayOutput* pane = nullptr;
};

void BM_LivePathCpu(benchmark::State& state) {
  LivePath path(true);
  if (!path.ready) return state.SkipWithError("no live path");
  auto& store = plat::imaging::ImageStore::Instance();
  const double anchor = AnchorNs(640 * 512 * 3);
  // The stages in the live flow's order; the pane's Output paints on this thread, its own.
  const std::vector<std::pair<const char*, std::function<int()>>> stages = {
      {"camera", [&] { return path.camera->Input(0); }},   {"focus", [&] { return path.focus->Process(0, 0); }},
      {"shading", [&] { return path.shading->Process(0, 0); }}, {"rgb", [&] { return path.rgb->Process(0, 0); }},
      {"profile", [&] { return path.profile->Process(0, 0); }}, {"output", [&] { return path.pane->Output(0); }}};
  std::vector<double> ns(stages.size(), 0);
  double paintNs = 0;
  const uint64_t copiesBefore = store.Copies();
  for (auto _ : state) {
    for (size_t i = 0; i < stages.size(); ++i) {
      const double start = ThreadCpuNs();
      const int result = stages[i].second();
      ns[i] += ThreadCpuNs() - start;
      if (result != 1) return state.SkipWithError(stages[i].first);
    }
    // The paint alone, as the pane's thread does it for each frame shown.
    HWND control = path.pane->GetImagingControl()->m_hWnd;
    const double start = ThreadCpuNs();
    ::InvalidateRect(control, nullptr, FALSE);
    ::UpdateWindow(control);
    paintNs += ThreadCpuNs() - start;
    Pump();
  }
  const double n = double(state.iterations());
  double total = 0;
  for (size_t i = 0; i < stages.size(); ++i) {
    state.counters[std::string("ms_") + stages[i].first] = ns[i] / n / 1e6;
    total += ns[i] / n;
  }
  state.counters["ms_paint"] = paintNs / n / 1e6;  // included in ms_output
  state.counters["ms_frame"] = total / 1e6;
  state.counters["fps_cpu"] = 1e9 / total;
  state.counters["copies"] = double(store.Copies() - copiesBefore) / n;
  state.counters["x_anchor"] = total / anchor;
}

double ProcessCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

void BM_LivePathRealClock(benchmark::State& state) {
  LivePath path(false);
  if (!path.ready) return state.SkipWithError("no live path");
  auto& screen = plat::display::Screen::Get();
  for (auto _ : state) {
    std::atomic<bool> stop{false}, done{false};
    std::atomic<int> frames{0}, failures{0};
    int painted = 0;
    // This thread is the pane's: each frame it shows reaches the screen as one update.
    auto pump = [&] {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        const RECT dirty = screen.Dirty();
        if (dirty.right > dirty.left) {
          ++painted;
          screen.Present();
        }
      }
    };
    screen.Present();
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuNs();
    std::thread live([&] {
      while (!stop) {
        if (path.flow->RunLiveFlow() == 1)
          ++frames;
        else if (!stop)
          ++failures;
      }
      done = true;
    });
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(3000)) {
      pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stop = true;
    const auto end = std::chrono::steady_clock::now();
    const double cpuNs = ProcessCpuNs() - cpuStart;
    path.doc->SetAbort(1);
    while (!done) pump();
    live.join();
    pump();
    path.doc->SetAbort(0);
    const double elapsedMs = std::chrono::duration<double, std::milli>(end - start).count();
    const double periodMs = 155.65 * 534 / 1000;  // the board's frame period from revision 217 on
    state.counters["frames_captured"] = frames.load();
    state.counters["frames_painted"] = painted;
    state.counters["painted_per_captured"] = frames.load() ? double(painted) / frames.load() : 0;
    state.counters["ms_per_frame"] = frames.load() ? elapsedMs / frames.load() : 0;
    state.counters["board_periods_per_frame"] = frames.load() ? elapsedMs / frames.load() / periodMs : 0;
    state.counters["failures"] = failures.load();
    // The anchor: the board's own pace. Goal: every board frame shown, at 20 % of one
    // processor or less.
    state.counters["fps"] = frames.load() * 1000.0 / elapsedMs;
    state.counters["board_fps"] = 1000.0 / periodMs;
    state.counters["cpu_pct_of_core"] = cpuNs / 1e6 / elapsedMs * 100;
  }
}

}  // namespace

BENCHMARK(BM_LivePathCpu)->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK(BM_LivePathRealClock)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
