// INI access as the document does it at start and exit: a few hundred keys read one
// by one, then every one written back.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "Config.h"
#include "windows.h"

namespace {

const char* kIni = "C:\\Lumora\\Bench.ini";

void Setup() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string root = std::filesystem::temp_directory_path().string() + "/lumora-bench-" + std::to_string(getpid());
  std::filesystem::create_directories(root + "/Lumora");
  plat::config::Set("DRIVE_C", root);
  std::ofstream out(root + "/Lumora/Bench.ini");
  for (const char* section : {"USER", "SYSTEM", "CAMERA"}) {
    out << "[" << section << "]\r\n";
    for (int i = 0; i < 100; ++i) out << "Key" << i << "=" << i * 7 << "\r\n";
  }
}

void ReadInt(benchmark::State& state) {
  Setup();
  int i = 0;
  for (auto _ : state) {
    std::string key = "Key" + std::to_string(i++ % 100);
    benchmark::DoNotOptimize(GetPrivateProfileIntA("CAMERA", key.c_str(), -1, kIni));
  }
}
BENCHMARK(ReadInt);

void ReadString(benchmark::State& state) {
  Setup();
  char buf[256];
  for (auto _ : state) benchmark::DoNotOptimize(GetPrivateProfileStringA("SYSTEM", "Key50", "", buf, sizeof buf, kIni));
}
BENCHMARK(ReadString);

void WriteString(benchmark::State& state) {
  Setup();
  int i = 0;
  for (auto _ : state) {
    std::string value = std::to_string(i++);
    WritePrivateProfileStringA("USER", "Key10", value.c_str(), kIni);
  }
}
BENCHMARK(WriteString);

}  // namespace

BENCHMARK_MAIN();
