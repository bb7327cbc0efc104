// Live view of the real program, build/lumora, as a user sees it: on a private X server with
// the sdl back end and the simulated camera, the scene drifting so every frame differs.
// From outside the program, a strip of each picture pane is read off the screen as often as
// the server answers, and the program's processor time is read from /proc.
//
// Reports the frames the live pane showed a second against the board's own frame rate (the
// anchor: 1000 / its frame period) and the program's share of one core while it did (goal:
// every board frame shown at 20 % of a core or less). Rounds of 5 s after a settling
// second; the medians with min..max.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../tests/support/Xvfb.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The board's frame period from revision 217 on, in milliseconds.
constexpr double kBoardPeriodMs = 155.65 * 534 / 1000;
constexpr unsigned long kDesktop = 0x008080;
constexpr int kRounds = 3;
constexpr double kRoundSeconds = 5;

// The program's user and system time so far, in seconds.
double ProgramCpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = all.rfind(')');
  if (close == std::string::npos) return -1;
  std::vector<std::string> fields;
  size_t at = close + 2;
  while (at < all.size()) {
    const size_t space = all.find(' ', at);
    fields.push_back(all.substr(at, space - at));
    if (space == std::string::npos) break;
    at = space + 1;
  }
  // utime and stime are the 14th and 15th fields; the list starts at the 3rd.
  if (fields.size() < 13) return -1;
  return (std::stod(fields[11]) + std::stod(fields[12])) / double(sysconf(_SC_CLK_TCK));
}

class Screen {
 public:
  explicit Screen(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
    // A window that goes while it is looked at (the start makes and drops some) is no failure.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~Screen() {
    if (display_) XCloseDisplay(display_);
  }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  bool Open() const { return display_ != nullptr; }

  // Pixels of a rectangle of the root window, 0x00RRGGBB, row by row.
  std::vector<unsigned long> Read(int x, int y, int w, int h) {
    std::vector<unsigned long> out;
    XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!image) return out;
    out.reserve(size_t(w) * size_t(h));
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) out.push_back(XGetPixel(image, i, j) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
  }
  int Width() const { return DisplayWidth(display_, DefaultScreen(display_)); }
  int Height() const { return DisplayHeight(display_, DefaultScreen(display_)); }

  // The main window: the box of what is not desktop on the program's X window, once the
  // desktop lies around it; in root coordinates.
  std::optional<std::pair<int, int>> MainWindowOrigin() {
    const Window program = Named(DefaultRootWindow(display_), "Lumora");
    XWindowAttributes a{};
    if (!program || !XGetWindowAttributes(display_, program, &a) || a.map_state != IsViewable) return std::nullopt;
    int ox = 0, oy = 0;
    Window child = 0;
    XTranslateCoordinates(display_, program, DefaultRootWindow(display_), 0, 0, &ox, &oy, &child);
    const int w = a.width, h = a.height;
    const auto all = Read(ox, oy, w, h);
    if (all.size() != size_t(w) * size_t(h) || all.front() != kDesktop || all.back() != kDesktop) return std::nullopt;
    int left = w, top = h, right = 0, bottom = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (all[size_t(y) * w + x] != kDesktop)
          left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
    if (right - left < 600 || bottom - top < 400) return std::nullopt;
    return std::make_pair(ox + left, oy + top);
  }

 private:
  Window Named(Window w, const char* title) {
    char* name = nullptr;
    if (XFetchName(display_, w, &name) && name) {
      const bool match = std::string(name) == title;
      XFree(name);
      if (match) return w;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, w, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) found = Named(children[i], title);
    if (children) XFree(children);
    return found;
  }

  Display* display_;
};

pid_t StartProgram(const std::string& display, const std::string& scratch) {
  const std::string program = fs::path(BENCH_BINARY_DIR) / "lumora";
  if (access(program.c_str(), X_OK) != 0) return -1;
  fs::create_directories(scratch + "/drive_c");
  fs::create_directories(scratch + "/home");
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("HOME", (scratch + "/home").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch + "/home/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (scratch + "/home/.config").c_str(), 1);
    setenv("LUMORA_DISPLAY", "sdl", 1);
    setenv("LUMORA_DRIVE_C", (scratch + "/drive_c").c_str(), 1);
    setenv("LUMORA_PRINT_CUPS", "0", 1);
    setenv("LUMORA_OPENER", "none", 1);
    setenv("LUMORA_BOARD_MOTION", "40", 1);
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execl(program.c_str(), "lumora", static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void BM_ProgramLiveView(benchmark::State& state) {
  testenv::Xvfb xvfb;
  if (xvfb.Display().empty()) {
    state.SkipWithError("Xvfb did not start (scripts/install-deps installs it)");
    return;
  }
  Screen screen(xvfb.Display());
  const std::string scratch = fs::temp_directory_path() / ("lumora-bench-" + std::to_string(getpid()));
  const pid_t pid = screen.Open() ? StartProgram(xvfb.Display(), scratch) : -1;
  if (pid <= 0) {
    state.SkipWithError("build/lumora did not start");
    return;
  }
  std::optional<std::pair<int, int>> origin;
  const auto limit = Clock::now() + std::chrono::seconds(60);
  while (!(origin = screen.MainWindowOrigin()) && Clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  // A strip across the middle of each picture pane: the large one and the small one.
  const int panes[2][4] = {{7, 78 + 250, 640, 12}, {654, 78 + 122, 320, 12}};
  std::vector<unsigned long> last[2];
  auto look = [&](int* changes) {
    for (int k = 0; k < 2; ++k) {
      auto now = screen.Read(origin->first + panes[k][0], origin->second + panes[k][1], panes[k][2], panes[k][3]);
      if (!last[k].empty() && now != last[k]) ++changes[k];
      last[k] = std::move(now);
    }
  };
  auto watch = [&](double seconds, int* changes) {
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
      look(changes);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  };
  std::vector<double> fps, cpu;
  if (!origin) {
    state.SkipWithError("the main window did not show");
  } else {
    int ignored[2] = {};
    watch(3, ignored);  // the splash, power-up and first frames are past
    for (auto _ : state) {
      for (int round = 0; round < kRounds; ++round) {
        int changes[2] = {};
        const double cpuBefore = ProgramCpuSeconds(pid);
        const auto start = Clock::now();
        watch(kRoundSeconds, changes);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double used = ProgramCpuSeconds(pid) - cpuBefore;
        fps.push_back(std::max(changes[0], changes[1]) / seconds);
        cpu.push_back(100.0 * used / seconds);
      }
    }
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::error_code ec;
  fs::remove_all(scratch, ec);
  if (fps.empty()) return;
  const double board = 1000.0 / kBoardPeriodMs;
  const double shown = Median(fps);
  state.counters["fps_shown"] = shown;
  state.counters["fps_board"] = board;
  state.counters["x_board"] = shown / board;
  state.counters["cpu_percent"] = Median(cpu);
  std::printf("live view of build/lumora: %.1f fps shown (%.1f..%.1f) of the board's %.1f (x%.2f); "
              "%.1f %% of one core (%.1f..%.1f)\n",
              shown, *std::min_element(fps.begin(), fps.end()), *std::max_element(fps.begin(), fps.end()), board,
              shown / board, Median(cpu), *std::min_element(cpu.begin(), cpu.end()),
              *std::max_element(cpu.begin(), cpu.end()));
}

}  // namespace

BENCHMARK(BM_ProgramLiveView)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
