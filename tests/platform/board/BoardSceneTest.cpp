// The simulated camera's picture of the world: the built-in chart and the noise it is
// seen with come out bit for bit the same however they are built, and the scene holds
// off building its picture until a frame is first rendered.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "board/Picture.h"
#include "board/PictureScene.h"
#include "board/SensorGeometry.h"

namespace {

using plat::board::Exposure;
using plat::board::GeometryFor;
using plat::board::MakeTestChart;
using plat::board::Picture;
using plat::board::PictureScene;

// FNV-1a over raw bytes: a change of any bit of any value shows.
uint64_t Fnv(const void* data, size_t bytes, uint64_t h = 1469598103934665603ull) {
  const auto* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

template <class Plane>
uint64_t PlaneSum(const Plane& plane, uint64_t h) {
  for (size_t i = 0; i < plane.size(); ++i) {
    const float v = plane[i];
    h = Fnv(&v, sizeof v, h);
  }
  return h;
}

uint64_t PictureSum(const Picture& p) {
  uint64_t h = Fnv(&p.width, sizeof p.width);
  h = Fnv(&p.height, sizeof p.height, h);
  return PlaneSum(p.blue, PlaneSum(p.green, PlaneSum(p.red, h)));
}

// The sums were taken from the chart as it was first drawn, a plane of floats per colour.
struct ChartCase {
  int width, height;
  uint64_t sum;
};

TEST(BoardScene, ChartIsTheOneDrawnBefore) {
  const ChartCase cases[] = {
      {1280, 1024, 0x7d1b7d4209e9a682ull},  // model 0xA
      {1024, 768, 0x7f8395b387ad8b5dull},   // model 8
      {640, 480, 0xaa6d8220e2a84e48ull},    // model 5
      {7, 3, 0x22193b4b0a62fe8cull},        // smaller than the chart's margins
  };
  for (const ChartCase& c : cases) {
    const Picture p = MakeTestChart(c.width, c.height);
    ASSERT_EQ(p.width, c.width);
    ASSERT_EQ(p.height, c.height);
    EXPECT_EQ(PictureSum(p), c.sum) << std::hex << PictureSum(p) << " for " << std::dec << c.width << "x" << c.height;
  }
}

// A frame rendered from the chart with noise: the picture, the table of noise and its
// walk all enter the words.
TEST(BoardScene, NoisyFrameIsTheOneRenderedBefore) {
  const plat::board::SensorGeometry g = GeometryFor(0xA, 217);
  const PictureScene scene(MakeTestChart(g.FrameWidth(), g.FrameHeight()), 2.0);
  Exposure e;
  e.lines = 450;  // half-line units: as bright as 900 whole lines were
  e.gain = {1.0, 1.1, 0.9, 1.0};
  e.dark = {8, 8, 8, 8};
  e.noiseSeed = 7;
  e.shiftX = 30, e.shiftY = 90;
  std::vector<uint32_t> cells(size_t(g.activePairs) * g.cellsPerLine);
  scene.Render(g, e, cells, 0, g.activePairs);
  const uint64_t sum = Fnv(cells.data(), cells.size() * sizeof cells[0]);
  EXPECT_EQ(sum, 0x6fcbedf9676cbd64ull) << std::hex << sum;
}

// A scene of the test chart drawn when first needed, counting its drawings.
PictureScene CountedChartScene(const plat::board::SensorGeometry& g, std::atomic<int>& drawn, double noise) {
  return PictureScene(
      [&drawn, w = g.FrameWidth(), h = g.FrameHeight()] {
        ++drawn;
        return MakeTestChart(w, h);
      },
      noise);
}

// The board asks a new scene for its dark word and whether frames differ long before a
// frame is read: neither draws the picture. The first frames, from two threads at once,
// draw it once, and it is the one given.
TEST(BoardScene, PictureIsDrawnOnceWhenTheFirstFrameIsRendered) {
  const plat::board::SensorGeometry g = GeometryFor(5, 210);
  std::atomic<int> drawn = 0;
  const PictureScene scene = CountedChartScene(g, drawn, 0.0);
  const PictureScene drawnBefore(MakeTestChart(g.FrameWidth(), g.FrameHeight()), 0.0);
  Exposure e;
  e.lines = 600;
  e.gain = {1, 1, 1, 1};
  EXPECT_EQ(scene.DarkWord(e), drawnBefore.DarkWord(e));
  EXPECT_FALSE(scene.VariesPerFrame(e));
  EXPECT_EQ(drawn, 0);

  const size_t cellsOfFrame = size_t(g.activePairs) * g.cellsPerLine;
  std::vector<uint32_t> top(cellsOfFrame), bottom(cellsOfFrame), expected(cellsOfFrame);
  std::thread other([&] { scene.Render(g, e, top, 0, g.activePairs / 2); });
  scene.Render(g, e, bottom, g.activePairs / 2, g.activePairs);
  other.join();
  EXPECT_EQ(drawn, 1);
  std::copy(bottom.begin() + std::ptrdiff_t(cellsOfFrame / 2), bottom.end(), top.begin() + std::ptrdiff_t(cellsOfFrame / 2));
  drawnBefore.Render(g, e, expected, 0, g.activePairs);
  EXPECT_EQ(top, expected);
}

// Switched on, the camera has its scene draw the picture while it warms up; the first
// frame then finds it drawn.
TEST(BoardScene, SceneSwitchedOnDrawsItsPictureAhead) {
  const plat::board::SensorGeometry g = GeometryFor(5, 210);
  std::atomic<int> drawn = 0;
  const PictureScene scene = CountedChartScene(g, drawn, 1.0);
  scene.GetReady();
  scene.GetReady();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (drawn == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  EXPECT_EQ(drawn, 1);
  std::vector<uint32_t> cells(size_t(g.activePairs) * g.cellsPerLine);
  Exposure e;
  e.lines = 600;
  e.gain = {1, 1, 1, 1};
  scene.Render(g, e, cells, 0, g.activePairs);
  EXPECT_EQ(drawn, 1);
  EXPECT_NE(cells[size_t(g.activePairs / 2) * g.cellsPerLine], scene.DarkWord(e));
}

}  // namespace
