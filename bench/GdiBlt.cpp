// BitBlt and StretchBlt of a full camera picture (3840 x 3072, 24 bits) against a plain
// memcpy of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchDib.h"
#include "windows.h"

namespace {

constexpr int kW = 3840, kH = 3072;

void Memcpy(benchmark::State& state) {
  size_t bytes = size_t(WIDTHBYTES(kW * 24)) * kH;
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}
BENCHMARK(Memcpy)->Unit(benchmark::kMillisecond);

void BitBltSrcCopy(benchmark::State& state) {
  Dib src, dst;
  for (auto _ : state) BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCCOPY);
  state.SetBytesProcessed(int64_t(state.iterations()) * WIDTHBYTES(kW * 24) * kH);
}
BENCHMARK(BitBltSrcCopy)->Unit(benchmark::kMillisecond);

void BitBltSrcInvert(benchmark::State& state) {
  Dib src, dst;
  for (auto _ : state) BitBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, SRCINVERT);
  state.SetBytesProcessed(int64_t(state.iterations()) * WIDTHBYTES(kW * 24) * kH);
}
BENCHMARK(BitBltSrcInvert)->Unit(benchmark::kMillisecond);

// The display path: the picture shrunk to half (COLORONCOLOR) and shown at 1:1 with a zoom.
void StretchBltHalf(benchmark::State& state) {
  Dib src, dst(kW / 2, kH / 2);
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  for (auto _ : state) StretchBlt(dst.dc, 0, 0, kW / 2, kH / 2, src.dc, 0, 0, kW, kH, SRCCOPY);
}
BENCHMARK(StretchBltHalf)->Unit(benchmark::kMillisecond);

void StretchBltSameSize(benchmark::State& state) {
  Dib src, dst;
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  for (auto _ : state) StretchBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, kW, kH, SRCCOPY);
}
BENCHMARK(StretchBltSameSize)->Unit(benchmark::kMillisecond);

void StretchBltZoomIn(benchmark::State& state) {
  Dib src, dst;
  SetStretchBltMode(dst.dc, COLORONCOLOR);
  for (auto _ : state) StretchBlt(dst.dc, 0, 0, kW, kH, src.dc, 0, 0, kW / 2, kH / 2, SRCCOPY);
}
BENCHMARK(StretchBltZoomIn)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
