// Speed of the imaging control's file work and heavy pixel operations on a normal
// 3840 x 3072 picture. The Turbo* cases run libjpeg-turbo directly on the same
// picture with the same settings, as the yardstick for the control's JPEG path.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BenchSupport.h"
#include "Config.h"
#include "imaging/Dib.h"
#include "imaging/FileFields.h"
#include "imaging/Filters.h"
#include "imaging/Geometry.h"
#include "imaging/ImageFile.h"
#include "imaging/ImageHolder.h"
#include "imaging/ImagingCore.h"
#include "imaging/JpegCodec.h"

using namespace plat::imaging;

namespace {

constexpr int kW = 3840, kH = 3072;
constexpr int kFactor = 2;  // the best quality the program offers

// A photograph-like picture: smooth shading with fine detail on top.
const Dib& Picture() {
  static Dib d = [] {
    Dib p = Dib::Create(kW, kH, 24);
    uint32_t seed = 12345;
    for (int y = 0; y < kH; ++y) {
      uint8_t* r = p.Row(y);
      for (int x = 0; x < kW; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int n = int(seed >> 28) - 8;
        r[3 * x] = uint8_t(std::clamp(x * 255 / kW + n, 0, 255));
        r[3 * x + 1] = uint8_t(std::clamp(y * 255 / kH + n, 0, 255));
        r[3 * x + 2] = uint8_t(std::clamp(((x ^ y) & 0xFF) / 2 + 64 + n, 0, 255));
      }
    }
    return p;
  }();
  return d;
}

using bench::UseScratchDrive;

std::vector<uint8_t> TurboEncode(const Dib& d, int quality) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buf, &size);
  c.image_width = JDIMENSION(d.Width());
  c.image_height = JDIMENSION(d.Height());
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  JSAMPROW row[1];
  while (c.next_scanline < c.image_height) {
    row[0] = const_cast<uint8_t*>(d.Row(int(c.next_scanline)));
    jpeg_write_scanlines(&c, row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> out(buf, buf + size);
  free(buf);
  return out;
}

// Decodes into a fresh block, as a loader that hands the picture on must.
std::unique_ptr<uint8_t[]> TurboDecode(const std::vector<uint8_t>& bytes) {
  jpeg_decompress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_decompress(&c);
  jpeg_mem_src(&c, bytes.data(), bytes.size());
  jpeg_read_header(&c, TRUE);
  c.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&c);
  const size_t stride = size_t(c.output_width) * 3;
  std::unique_ptr<uint8_t[]> pixels(new uint8_t[stride * c.output_height]);
  while (c.output_scanline < c.output_height) {
    JSAMPROW row[1] = {pixels.get() + stride * c.output_scanline};
    jpeg_read_scanlines(&c, row, 1);
  }
  jpeg_finish_decompress(&c);
  jpeg_destroy_decompress(&c);
  return pixels;
}

void SetPixelsProcessed(benchmark::State& state) {
  state.SetItemsProcessed(int64_t(state.iterations()) * kW * kH);
}

void BM_TurboEncode(benchmark::State& state) {
  const Dib& d = Picture();
  for (auto _ : state) benchmark::DoNotOptimize(TurboEncode(d, jpeg::QualityFromFactor(kFactor)));
  SetPixelsProcessed(state);
}
BENCHMARK(BM_TurboEncode)->Unit(benchmark::kMillisecond);

void BM_CoreSaveToMemory(benchmark::State& state) {
  ImagingCore core;
  ImageHolder maker;
  maker.Adopt(Picture().Clone());
  core.SetBitmap(LONG(maker.Handle()));
  std::vector<uint8_t> block(size_t(kW) * kH * 3);
  for (auto _ : state) {
    LONG size = 0;
    benchmark::DoNotOptimize(core.SaveToMemory(block.data(), block.size(), kFormatJpeg, 24, kFactor, &size));
  }
  SetPixelsProcessed(state);
}
BENCHMARK(BM_CoreSaveToMemory)->Unit(benchmark::kMillisecond);

void BM_CoreSaveFile(benchmark::State& state) {
  UseScratchDrive();
  ImagingCore core;
  ImageHolder maker;
  maker.Adopt(Picture().Clone());
  core.SetBitmap(LONG(maker.Handle()));
  for (auto _ : state) benchmark::DoNotOptimize(core.SaveFile("C:\\bench.jpg", kFormatJpeg, 24, kFactor, 0));
  SetPixelsProcessed(state);
}
BENCHMARK(BM_CoreSaveFile)->Unit(benchmark::kMillisecond);

void BM_TurboDecode(benchmark::State& state) {
  const std::vector<uint8_t> bytes = TurboEncode(Picture(), jpeg::QualityFromFactor(kFactor));
  for (auto _ : state) benchmark::DoNotOptimize(TurboDecode(bytes));
  SetPixelsProcessed(state);
}
BENCHMARK(BM_TurboDecode)->Unit(benchmark::kMillisecond);

void BM_CoreLoadFile(benchmark::State& state) {
  UseScratchDrive();
  {
    ImagingCore writer;
    ImageHolder maker;
    maker.Adopt(Picture().Clone());
    writer.SetBitmap(LONG(maker.Handle()));
    writer.SaveFile("C:\\load.jpg", kFormatJpeg, 24, kFactor, 0);
  }
  ImagingCore core;
  for (auto _ : state) benchmark::DoNotOptimize(core.LoadFile("C:\\load.jpg", 0, 0, -1));
  SetPixelsProcessed(state);
}
BENCHMARK(BM_CoreLoadFile)->Unit(benchmark::kMillisecond);

void BM_ResizeSmooth(benchmark::State& state) {
  const Dib& d = Picture();
  const int w = int(state.range(0)), h = w * kH / kW;
  for (auto _ : state) {
    Dib out;
    benchmark::DoNotOptimize(Resize(d, w, h, ResizeFilter::Smooth, &out));
  }
  SetPixelsProcessed(state);
}
BENCHMARK(BM_ResizeSmooth)->Arg(2880)->Arg(1920)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_RotateQuarter(benchmark::State& state) {
  const Dib& d = Picture();
  for (auto _ : state) {
    Dib out;
    benchmark::DoNotOptimize(RotateQuarters(d, int(state.range(0)), &out));
  }
  SetPixelsProcessed(state);
}
BENCHMARK(BM_RotateQuarter)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_RotateAnyAngle(benchmark::State& state) {
  const Dib& d = Picture();
  for (auto _ : state) {
    Dib out;
    benchmark::DoNotOptimize(Rotate(d, 1500, true, 0, &out));
  }
  SetPixelsProcessed(state);
}
BENCHMARK(BM_RotateAnyAngle)->Unit(benchmark::kMillisecond);

// The noise filters (283 median, 282 mean) and sharpening, as run on a long exposure.
void BM_Filter(benchmark::State& state) {
  const Dib& d = Picture();
  for (auto _ : state) {
    Dib out;
    switch (state.range(0)) {
      case 0: benchmark::DoNotOptimize(MedianFilter(d, 3, &out)); break;
      case 1: benchmark::DoNotOptimize(AverageFilter(d, 3, &out)); break;
      default: benchmark::DoNotOptimize(Sharpen(d, 500, &out)); break;
    }
  }
  SetPixelsProcessed(state);
}
BENCHMARK(BM_Filter)->ArgName("median_mean_sharpen")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
