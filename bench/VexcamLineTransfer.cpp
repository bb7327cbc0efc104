// How fast the library moves one field of sensor lines through ReadLine (stable status
// read, band wait, overlapped transfer and its event tests) against the sensor's line
// rate, and how fast a capture-sized picture is drawn in tiles.
#include <benchmark/benchmark.h>

#include <vector>

#include "afxwin.h"
#include "BoardDevice.h"
#include "CameraCtrl.h"
#include "Clock.h"
#include "Config.h"
#include "SettingsBlock.h"
#include "board/BoardTestApi.h"

namespace {

void BM_VexcamReadField(benchmark::State& state) {
  plat::config::Set("BOARD_SCENE", "pattern");
  plat::config::Set("BOARD_PORT_MICROS", "0");
  plat::board::Reset();
  plat::clock::UseVirtual(true, 1);
  tCameraSettings s{};
  s.PCIaddress = 0xFFFFFFFF;
  s.CameraVer = 0xA6F;
  s.zoom = 1.0;
  UseSettings(&s);
  {
    CCameraCtrl camera;
    camera.SearchPCIAndSetGETA();
    std::vector<BYTE> line(4096);
    constexpr int kLines = 517;
    for (auto _ : state) {
      WritePortD(s.PCIaddress, 24, 1 << 8);  // start a frame
      while (!(ReadStatus(s.PCIaddress, 0) & 2)) {
      }
      WritePortD(s.PCIaddress, 4, 1);  // take it into board memory
      for (int i = 0; i < kLines; ++i) camera.ReadLine(line.data(), i);
      benchmark::DoNotOptimize(line.data());
    }
    state.counters["lines_per_s"] = benchmark::Counter(double(kLines) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["sensor_lines_per_s"] = 46e6 / (4.0 * 1790);
  }
  UseSettings(nullptr);
  plat::clock::UseVirtual(false);
  for (auto k : {"BOARD_SCENE", "BOARD_PORT_MICROS"}) plat::config::Set(k, std::nullopt);
}
BENCHMARK(BM_VexcamReadField)->Unit(benchmark::kMillisecond);

// A 1280 x 1024 capture drawn at 1:1, 2:1 and 1:2 into a screen-sized target.
void BM_VexcamDrawPicture(benchmark::State& state) {
  double zoom = double(state.range(0)) / 2.0;
  CTrueImage image;
  image.SetFormat(1280, 1024, 3);
  image.CreateDIB();
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1280, -1024, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  CBitmap target;
  target.Attach(CreateDIBSection(dc.m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  dc.SelectObject(&target);
  for (auto _ : state) benchmark::DoNotOptimize(image.Draw(0, 0, 1280, 1024, &dc, 0, 0, zoom));
}
BENCHMARK(BM_VexcamDrawPicture)->Arg(2)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
