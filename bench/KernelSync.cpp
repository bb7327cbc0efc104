// Costs of the kernel services the program uses on every frame or UI update: a
// critical section taken and left, a wait on an event that is already signalled, and
// the time-stamp reads of the performance counter.
#include <benchmark/benchmark.h>

#include "windows.h"

static void CriticalSectionUncontended(benchmark::State& state) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  for (auto _ : state) {
    EnterCriticalSection(&cs);
    LeaveCriticalSection(&cs);
  }
  DeleteCriticalSection(&cs);
}
BENCHMARK(CriticalSectionUncontended);

static void CriticalSectionShared(benchmark::State& state) {
  static CRITICAL_SECTION cs;  // all zero: the same as freshly initialised
  for (auto _ : state) {
    EnterCriticalSection(&cs);
    LeaveCriticalSection(&cs);
  }
}
BENCHMARK(CriticalSectionShared)->Threads(2)->Threads(4);

static void WaitOnSignalledEvent(benchmark::State& state) {
  HANDLE e = CreateEventA(nullptr, TRUE, TRUE, nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(WaitForSingleObject(e, 0));
  CloseHandle(e);
}
BENCHMARK(WaitOnSignalledEvent);

static void PerformanceCounter(benchmark::State& state) {
  LARGE_INTEGER count;
  for (auto _ : state) {
    QueryPerformanceCounter(&count);
    benchmark::DoNotOptimize(count.QuadPart);
  }
}
BENCHMARK(PerformanceCounter);

BENCHMARK_MAIN();
