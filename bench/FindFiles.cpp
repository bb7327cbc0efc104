// The automatic file name's counter search: one FindFirstFileA per candidate number
// in a folder that already holds many pictures.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Config.h"
#include "windows.h"

namespace {

void Setup(int files) {
  static int made = 0;
  if (made == files) return;
  std::string root = std::filesystem::temp_directory_path().string() + "/lumora-bench-find-" + std::to_string(getpid());
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root + "/Image");
  plat::config::Set("DRIVE_C", root);
  for (int i = 1; i <= files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/Image/Img_%04d.jpg", i);
    std::ofstream(root + name) << "x";
  }
  made = files;
}

void CounterSearch(benchmark::State& state) {
  Setup(static_cast<int>(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    char pattern[64];
    std::snprintf(pattern, sizeof pattern, "C:\\Image\\Img_%04d*", 1 + n++ % 1000);
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(pattern, &data);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
  }
}
BENCHMARK(CounterSearch)->Arg(100)->Arg(1000);

void OpenMixedCase(benchmark::State& state) {
  Setup(1000);
  for (auto _ : state) {
    HANDLE h = CreateFileA("c:\\IMAGE\\img_0500.JPG", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    CloseHandle(h);
  }
}
BENCHMARK(OpenMixedCase);

}  // namespace

BENCHMARK_MAIN();
