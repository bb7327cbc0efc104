// From start to the first live frame: the program's application object starts through its
// document template (frame, panes, every pipeline object, the camera's power check) and
// live view runs until its first frame enables the window, on the real clock with the
// simulated camera.
//
// The anchor, in the same round, is what the start asks of the camera, called on the
// library directly in the same order with the same fixed waits: the power check after
// switching the camera off (its power-up wait), the three exposure sends that the start
// makes (each followed by its settle waits of 100 ms), the abort flag's wait as live view
// starts (with live view's capture mode), and two frames (the scratch frame and the first live frame). Goal: the start
// takes no more than 0.3 s beyond it. Reported per round, as medians with min..max: the
// start, the anchor and their difference; besides, the camera library's load (a process
// that loads it against one that does not) and the first frame alone (StartLive to the
// next frame on the live pane after a stop).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AnchoredRounds.h"
#include "BenchSupport.h"
#include "TrueImage.h"
#include "VexcamApi.h"
#include "Yardstick.h"
#include "board/BoardTestApi.h"
#include "control/VexApp.h"
#include "control/VexDoc.h"
#include "display/Screen.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "ui/MainFrame.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

template <class Done>
bool PumpUntil(Done done, int seconds = 30) {
  const auto end = Clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (Clock::now() > end) return false;
    Pump();
    Sleep(0);
  }
  return true;
}

constexpr DWORD kSettleMs = 100;   // after each exposure and gain send
constexpr int kExposureSends = 3;    // the power check's, the first update's, live view's
constexpr double kGoalMs = 300;

// One frame as the camera input takes it: size, power check, shutter.
void Frame(tCameraSettings* s) {
  CTrueImage image;
  RECT none{};
  KQ_GetMallocSize(&image, none, s);
  image.CreateDIB();
  KQ_CheckCameraPower(s);
  KQ_OnShutter(&image, none, 0, s);
}

// What the start asks of the camera, straight on the library: the camera's power-up,
// the exposure sends with their settle waits, the abort wait and two frames.
double CameraSequenceMs() {
  TheSettingSources() = VexSettingSources{};
  TheSettingSources().resetRequested = 1;
  CVexDoc doc;
  doc.m_bAutoDelete = FALSE;
  tCameraSettings* s = doc.GetCameraSettings();
  KQ_PowerOff(s);
  doc.SetPCIAddress(DWORD(-1));
  const auto t0 = Clock::now();
  KQ_CheckCameraPower(s);
  for (int i = 0; i < kExposureSends; ++i) {
    KQ_SetExposure(s);
    Sleep(kSettleMs);
    KQ_SetCDSGain(nullptr, s);
    Sleep(kSettleMs);
  }
  doc.SetCaptureMode(1);  // live view's mode, after the abort flag's wait
  Frame(s);
  Frame(s);
  return Ms(t0, Clock::now());
}

// Wall time of a process that loads the camera library and ends, less one that only
// starts and ends: the library loader's benchmark program serves as both. Negative when
// it is not built.
double LibraryLoadMs() {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  const std::string loader = (self.parent_path() / "bench_VexcamLibraryLoad").string();
  const std::string library = (self.parent_path().parent_path() / "libvexcam.so").string();
  if (!std::filesystem::exists(loader) || !std::filesystem::exists(library)) return -1;
  auto run = [&](const std::string& option) {
    std::vector<char*> argv{const_cast<char*>(loader.c_str()), const_cast<char*>(option.c_str()), nullptr};
    const auto t0 = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, loader.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1.0;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
    return Ms(t0, Clock::now());
  };
  double with = 0, without = 0;
  for (int i = 0; i < 3; ++i) {
    const double a = run("--load-only="), b = run("--load-only=" + library);
    if (a < 0 || b < 0) return -1;
    without += a;
    with += b;
  }
  return (with - without) / 3;
}

void BM_StartToFirstLiveFrame(benchmark::State& state) {
  bench::UseScratchDrive();
  CreateDirectoryA("C:\\Bench", nullptr);
  std::vector<double> starts, anchors, firsts;
  for (auto _ : state) {
    plat::board::Reset();
    anchors.push_back(CameraSequenceMs() / 1e3);
    plat::board::Reset();
    TheSettingSources() = VexSettingSources{};
    auto app = std::make_unique<CVexApp>();
    char line[] = "/i C:\\Bench\\start.ini";
    app->SetStartupInfo(nullptr, line, SW_SHOW);
    const auto t0 = Clock::now();
    if (!app->InitInstance()) {
      state.SkipWithError("the program did not start");
      return;
    }
    auto* frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    if (!frame || !PumpUntil([&] { return frame->IsWindowEnabled() != 0; })) {
      state.SkipWithError("no first live frame");
      return;
    }
    const double start = Ms(t0, Clock::now()) / 1e3;
    starts.push_back(start);
    state.SetIterationTime(start);
    // The first frame alone: live view stopped and started again (once the splash is
    // gone); its first frame is the first change of the live pane on the screen (the
    // sensor's noise changes every frame).
    const auto settle = Clock::now() + std::chrono::milliseconds(2500);
    PumpUntil([&] { return Clock::now() > settle; });
    frame->StopLive();
    Pump();
    auto& screen = plat::display::Screen::Get();
    RECT pane{};
    auto* doc = dynamic_cast<CVexDoc*>(frame->GetActiveDocument());
    if (CVexDisplayOutput* live = !doc ? nullptr : doc->IsLiveWindowLeft() == 1 ? frame->LeftDisplay() : frame->RightDisplay())
      live->GetWindowRect(&pane);
    const std::vector<plat::display::Pixel> before = screen.Copy(pane, nullptr);
    auto paneShown = [&] { return screen.Copy(pane, nullptr) != before; };
    const auto t1 = Clock::now();
    frame->StartLive();
    bool shown = paneShown();
    for (const auto end = Clock::now() + std::chrono::seconds(30); !shown && Clock::now() < end;) {
      MSG msg;
      while (!shown && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        shown = paneShown();
      }
      if (!shown) Sleep(0);
    }
    if (!shown) {
      state.SkipWithError("live view did not come back");
      return;
    }
    firsts.push_back(Ms(t1, Clock::now()));
    frame->DestroyWindow();
    app.reset();
  }
  // The table row: the start beyond the anchor against the goal of 0.3 s. The camera's
  // frame phase moves either side by up to a frame, so a start may come out below its
  // anchor: the ratio counts such a round as 1 ms beyond.
  std::vector<double> beyond, floored;
  for (size_t i = 0; i < starts.size(); ++i) {
    beyond.push_back(starts[i] - anchors[i]);
    floored.push_back(std::max(1e-3, beyond.back()));
  }
  bench::ReportAgainstGoal(state, floored, kGoalMs / 1e3);
  state.counters["beyond_ms"] = bench::MedianOf(beyond) * 1e3;
  state.counters["beyond_min_ms"] = *std::min_element(beyond.begin(), beyond.end()) * 1e3;
  state.counters["beyond_max_ms"] = *std::max_element(beyond.begin(), beyond.end()) * 1e3;
  state.counters["start_ms"] = bench::MedianOf(starts) * 1e3;
  state.counters["camera_sequence_ms"] = bench::MedianOf(anchors) * 1e3;
  state.counters["first_frame_ms"] = bench::MedianOf(firsts);
  state.counters["library_load_ms"] = LibraryLoadMs();
}
BENCHMARK(BM_StartToFirstLiveFrame)->Iterations(5)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

int main(int argc, char** argv) { return bench::RunAgainstYardstick(argc, argv, ""); }
