// Live view in the main window: the program starts through its document template with the
// live pane on the left (640 x 512), the frame's live thread runs the live flow and this
// thread, the program's own, handles the messages and shows each frame on the screen.
//
// BM_MainWindowLive/0 runs on the virtual clock (the board's waits cost nothing): the
// processor time per frame shown, of the whole program and of this thread's painting
// alone, and the frames per second the processor allows (goal: 30 or more), against the
// anchor, one memcpy of the frame in the same run.
//
// BM_MainWindowLive/1 runs on the real clock: the frames shown against the frames the
// board made in that time (board periods per frame shown; goal: none missed beyond what
// the capture itself takes, the same figure as the live path alone).
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <thread>

#include "BenchMeasure.h"
#include "BenchSupport.h"
#include "Clock.h"
#include "board/BoardTestApi.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "display/Screen.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "ui/MainFrame.h"

namespace {

using Clock = std::chrono::steady_clock;

double ProcessCpuNs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// The board's frame period from revision 217 on, in milliseconds.
constexpr double kBoardPeriodMs = 155.65 * 534 / 1000;

bool Overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void BM_MainWindowLive(benchmark::State& state) {
  const bool realClock = state.range(0) == 1;
  bench::UseScratchDrive();
  CreateDirectoryA("C:\\Bench", nullptr);
  WritePrivateProfileStringA("USER", "LiveWindowLeft", "1", "C:\\Bench\\live.ini");
  plat::clock::UseVirtual(!realClock, 10);
  plat::board::Reset();
  TheSettingSources() = VexSettingSources{};
  auto& screen = plat::display::Screen::Get();
  const double anchor = bench::AnchorNs(640 * 512 * 3);

  auto app = std::make_unique<CVexApp>();
  char line[] = "/i C:\\Bench\\live.ini";
  app->SetStartupInfo(nullptr, line, SW_SHOW);
  CMainFrame* frame = app->InitInstance() ? dynamic_cast<CMainFrame*>(app->m_pMainWnd) : nullptr;
  int painted = 0;
  // This thread is the program's: each frame the live pane shows reaches the screen as
  // one update of the pane's area.
  RECT pane{};
  auto pump = [&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
      const RECT dirty = screen.Dirty();
      if (dirty.right > dirty.left) {
        if (Overlaps(dirty, pane)) ++painted;
        screen.Present();
      }
    }
  };
  auto pumpFor = [&](auto done, int seconds) {
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    while (!done() && Clock::now() < end) {
      pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  };
  if (!frame || !pumpFor([&] { return frame->IsWindowEnabled() && frame->IsLiveRunning() == 1; }, 60)) {
    state.SkipWithError("no live view in the main window");
  } else {
    frame->LeftDisplay()->GetWindowRect(&pane);
    pumpFor([] { return false; }, 1);  // settled: the first frames and the splash are past
    for (auto _ : state) {
      const int before = painted;
      const double uiBefore = bench::ThreadCpuNs();
      const double allBefore = ProcessCpuNs();
      const auto start = Clock::now();
      pumpFor([&] { return painted - before >= 60; }, realClock ? 4 : 20);
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      const double ui = bench::ThreadCpuNs() - uiBefore;
      const double all = ProcessCpuNs() - allBefore;
      const int frames = painted - before;
      if (frames == 0) {
        state.SkipWithError("no frame reached the screen");
        break;
      }
      state.counters["frames_shown"] = frames;
      state.counters["ms_cpu_per_frame"] = all / frames / 1e6;
      state.counters["ms_cpu_paint_per_frame"] = ui / frames / 1e6;
      state.counters["x_anchor"] = all / frames / anchor;
      if (realClock) {
        state.counters["fps_shown"] = frames * 1000.0 / ms;
        state.counters["board_frames"] = ms / kBoardPeriodMs;
        state.counters["board_periods_per_frame"] = ms / kBoardPeriodMs / frames;
      } else {
        state.counters["fps_cpu"] = 1e9 * frames / all;
      }
    }
  }
  if (frame) frame->SendMessage(WM_CLOSE);
  if (app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd)) app->m_pMainWnd->DestroyWindow();
  app.reset();
  plat::clock::UseVirtual(false);
}

}  // namespace

BENCHMARK(BM_MainWindowLive)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
