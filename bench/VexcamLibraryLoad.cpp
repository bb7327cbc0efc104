// Loading the camera library, as a program does: a fresh process opens libvexcam.so
// (which starts the camera object and calibrates its waits against the simulated board)
// and ends. Every round runs a process that starts, loads the platform library (which
// the program links itself, with the system libraries under it) and ends (the anchor),
// and one that loads the camera library after it; the load's processor time is the
// difference of the two children's. The table gives its median and min..max against the goal of 0.1 s.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "AnchoredRounds.h"
#include "Yardstick.h"

extern char** environ;

namespace {

constexpr const char* kLoadOption = "--load-only=";

std::filesystem::path Self() { return std::filesystem::read_symlink("/proc/self/exe"); }

// The libraries beside the benchmarks' folder, where the build puts them.
std::string Library(const char* name = "libvexcam.so") { return (Self().parent_path().parent_path() / name).string(); }

// The child's drive C: a folder of its own, so loading leaves nothing in the user's; it
// goes when the benchmarks end.
struct TemporaryFolder {
  std::string path = (std::filesystem::temp_directory_path() / "vexcam-load-XXXXXX").string();
  TemporaryFolder() {
    if (!mkdtemp(path.data())) path = std::filesystem::temp_directory_path().string();
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    if (path != std::filesystem::temp_directory_path().string()) std::filesystem::remove_all(path, ignored);
  }
};
const std::string& DriveC() {
  static const TemporaryFolder folder;
  return folder.path;
}

// Runs this program as a child that loads `library` (nothing when empty); the child's
// processor time in milliseconds, or a negative value when it failed.
double RunChild(const std::string& library) {
  const std::string self = Self().string(), option = kLoadOption + library;
  std::vector<char*> argv{const_cast<char*>(self.c_str()), const_cast<char*>(option.c_str()), nullptr};
  std::vector<std::string> env{"LUMORA_DRIVE_C=" + DriveC()};
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "LUMORA_DRIVE_C=", 15) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  auto ms = [](timeval t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

constexpr double kGoalSeconds = 0.1;

// The iteration time is the loading child's wall time.
void BM_LoadVexcam(benchmark::State& state) {
  const std::string library = Library();
  std::vector<double> loadCpu, childCpu, anchorCpu;
  for (auto _ : state) {
    const double anchor = RunChild(std::string());
    const auto start = std::chrono::steady_clock::now();
    const double child = RunChild(library);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (child < 0 || anchor < 0) {
      state.SkipWithError("the child failed");
      return;
    }
    childCpu.push_back(child), anchorCpu.push_back(anchor);
    loadCpu.push_back(std::max(0.0, child - anchor) / 1e3);
  }
  bench::ReportAgainstGoal(state, loadCpu, kGoalSeconds);
  state.counters["child_cpu_ms"] = bench::MedianOf(childCpu);
  state.counters["start_only_cpu_ms"] = bench::MedianOf(anchorCpu);
}

}  // namespace

BENCHMARK(BM_LoadVexcam)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

int main(int argc, char** argv) {
  if (argc == 2 && std::strncmp(argv[1], kLoadOption, std::strlen(kLoadOption)) == 0) {
    const char* library = argv[1] + std::strlen(kLoadOption);
    if (!dlopen(Library("libvexplatform.so").c_str(), RTLD_NOW)) return 1;
    if (*library && !dlopen(library, RTLD_NOW)) return 1;
    return 0;
  }
  return bench::RunAgainstYardstick(argc, argv, "");
}
