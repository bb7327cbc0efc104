// The imaging control's codecs and the HALFTONE stretch, each measured in the same run
// as its anchor: the library or the plain code that does the same work directly, in the
// same warm rounds. The reported time is the control's; "x_anchor" is anchor time /
// control time per round, median and min..max (1.0 = as fast as the anchor, goal >= 0.9).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <tiffio.h>

#include "AnchoredRounds.h"
#include "BenchSupport.h"
#include "Config.h"
#include "imaging/Dib.h"
#include "imaging/ImageHolder.h"
#include "imaging/ImagingCore.h"
#include "Yardstick.h"
#include "windows.h"

using namespace plat::imaging;

namespace {

constexpr int kW = 3840, kH = 3072;

const Dib& Picture() {
  static Dib d = [] {
    Dib p = Dib::Create(kW, kH, 24);
    for (int y = 0; y < kH; ++y)
      for (int i = 0; i < 3 * kW; ++i) p.Row(y)[i] = uint8_t((i * 7 + y * 3) ^ (i >> 5));
    return p;
  }();
  return d;
}

const std::string& ScratchDir() { return bench::UseScratchDrive(); }

// A control holding the picture.
struct Holding {
  ImagingCore core;
  ImageHolder holder;
  Holding() {
    holder.Adopt(Picture().Clone());
    core.SetBitmap(LONG(holder.Handle()));
  }
};

// The same flush and rename a safe save does, after the bytes were written to `fd`.
void FlushAndRename(int fd, const std::string& temp, const std::string& path) {
  fsync(fd);
  close(fd);
  std::rename(temp.c_str(), path.c_str());
}

void BM_TiffLoad(benchmark::State& state) {
  const std::string dir = ScratchDir();
  {
    Holding h;
    h.core.SaveFile("C:\\load.tif", 3, 24, 0, 0);
  }
  const std::string native = dir + "/load.tif";
  ImagingCore core;
  bench::AnchoredRounds(
      state, [&] { benchmark::DoNotOptimize(core.LoadFile("C:\\load.tif", 0, 0, -1)); },
      [&] {
        // libtiff reading the same file into a fresh block.
        TIFF* tif = TIFFOpen(native.c_str(), "r");
        const tmsize_t strip = TIFFStripSize(tif);
        const size_t total = size_t(kW) * kH * 3;
        std::unique_ptr<uint8_t[]> block(new uint8_t[total]);
        size_t at = 0;
        for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif) && at < total; ++s) {
          const tmsize_t got = TIFFReadEncodedStrip(tif, s, block.get() + at, std::min<tmsize_t>(strip, total - at));
          at += size_t(std::max<tmsize_t>(got, 0));
        }
        TIFFClose(tif);
        benchmark::DoNotOptimize(block.get());
      });
}
BENCHMARK(BM_TiffLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BmpSave(benchmark::State& state) {
  const std::string dir = ScratchDir();
  Holding h;
  const Dib& d = Picture();
  bench::AnchoredRounds(
      state, [&] { benchmark::DoNotOptimize(h.core.SaveFile("C:\\save.bmp", 6, 24, 0, 0)); },
      [&] {
        // A plain header and the rows, with the same flush and rename.
        uint8_t head[54] = {'B', 'M'};
        const uint32_t image = uint32_t(d.ByteSize()), total = 54 + image, info = 40, offBits = 54;
        std::memcpy(head + 2, &total, 4);
        std::memcpy(head + 10, &offBits, 4);
        std::memcpy(head + 14, &info, 4);
        const int32_t w = kW, ht = kH;
        const uint16_t planes = 1, bits = 24;
        std::memcpy(head + 18, &w, 4);
        std::memcpy(head + 22, &ht, 4);
        std::memcpy(head + 26, &planes, 2);
        std::memcpy(head + 28, &bits, 2);
        std::memcpy(head + 34, &image, 4);
        const std::string temp = dir + "/anchor.bmp.tmp";
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(write(fd, head, sizeof head));
        benchmark::DoNotOptimize(write(fd, d.Bits0(), d.ByteSize()));
        FlushAndRename(fd, temp, dir + "/anchor.bmp");
      });
}
BENCHMARK(BM_BmpSave)->UseManualTime()->Unit(benchmark::kMillisecond);

// libtiff scanline writes of the picture's rows into a file, with the flush and rename
// of a safe save: the anchor of both TIFF saves.
void LibtiffSave(const std::string& dir) {
  const Dib& d = Picture();
  const std::string temp = dir + "/anchor.tif.tmp";
  const int fd = open(temp.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
  TIFF* tif = TIFFFdOpen(fd, temp.c_str(), "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(kW));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(kH));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(65536 / (kW * 3) + 1));
  for (int y = 0; y < kH; ++y) TIFFWriteScanline(tif, const_cast<uint8_t*>(d.Row(y)), uint32_t(y), 0);
  TIFFFlush(tif);
  fsync(fd);
  TIFFClose(tif);  // closes fd
  std::rename(temp.c_str(), (dir + "/anchor.tif").c_str());
}

void BM_TiffSave(benchmark::State& state) {
  const std::string dir = ScratchDir();
  Holding h;
  bench::AnchoredRounds(
      state, [&] { benchmark::DoNotOptimize(h.core.SaveFile("C:\\save.tif", 3, 24, 0, 0)); },
      [&] { LibtiffSave(dir); });
}
BENCHMARK(BM_TiffSave)->UseManualTime()->Unit(benchmark::kMillisecond);

// The control's TIFF into a block of memory, as the file output saves to memory first.
void BM_TiffSaveToMemory(benchmark::State& state) {
  const std::string dir = ScratchDir();
  Holding h;
  std::vector<uint8_t> block(size_t(kW) * kH * 3 + (1 << 20));
  bench::AnchoredRounds(
      state,
      [&] {
        LONG size = 0;
        benchmark::DoNotOptimize(h.core.SaveToMemory(block.data(), block.size(), 3, 24, 0, &size));
      },
      [&] { LibtiffSave(dir); });
}
BENCHMARK(BM_TiffSaveToMemory)->UseManualTime()->Unit(benchmark::kMillisecond);

using bench::DibDc;

// The camera picture shown on a 1280 x 1024 display with HALFTONE, judged against its
// goal of 15 ms; the COLORONCOLOR blit of the same picture is shown beside it.
void BM_HalftoneShrink(benchmark::State& state) {
  DibDc src(kW, kH, 24), dst(1280, 1024, 24);
  auto blit = [&](int mode) {
    SetStretchBltMode(dst.dc, mode);
    StretchBlt(dst.dc, 0, 0, 1280, 1024, src.dc, 0, 0, kW, kH, SRCCOPY);
  };
  blit(HALFTONE);
  std::vector<double> halftone, plain;
  for (auto _ : state) {
    plain.push_back(bench::WallSeconds([&] { blit(COLORONCOLOR); }));
    halftone.push_back(bench::WallSeconds([&] { blit(HALFTONE); }));
    state.SetIterationTime(halftone.back());
  }
  bench::ReportAgainstGoal(state, halftone, 0.015);
  state.counters["coloroncolor_ms"] = bench::MedianOf(plain) * 1e3;
}
BENCHMARK(BM_HalftoneShrink)->UseManualTime()->Unit(benchmark::kMillisecond);

// A 24-bit frame onto the 32-bit screen format; the anchor copies the same bytes.
void BM_Blit24To32(benchmark::State& state) {
  DibDc src(1280, 1024, 24), dst(1280, 1024, 32);
  std::unique_ptr<uint8_t[]> copy(new uint8_t[size_t(1280) * 1024 * 4]);
  bench::AnchoredRounds(
      state, [&] { BitBlt(dst.dc, 0, 0, 1280, 1024, src.dc, 0, 0, SRCCOPY); },
      [&] {
        std::memcpy(copy.get(), dst.bits, size_t(1280) * 1024 * 4);
        benchmark::ClobberMemory();
      });
}
BENCHMARK(BM_Blit24To32)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return bench::RunAgainstYardstick(argc, argv, ""); }
