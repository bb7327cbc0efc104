#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "ChromaStep.h"
#include "PlanarRow.h"

using namespace vexcam;

namespace {

// Pixels that reach every clamp and both signs of every difference, then noise.
std::vector<BYTE> Pixels(LONG groups, uint32_t seed) {
  const BYTE edge[] = {0, 1, 3, 4, 7, 8, 15, 16, 17, 127, 128, 239, 248, 251, 254, 255};
  std::vector<BYTE> px(3 * size_t(groups));
  for (size_t i = 0; i < px.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    px[i] = i < 3 * 16 * 16 ? edge[(i % 3 == 1 ? i / 3 / 16 : i / 3) % 16] : BYTE(seed >> 24);
  }
  return px;
}

}  // namespace

// Eight pixels a step give what the pixel-by-pixel step gives, for runs of any length
// (the first and last pixels, and runs shorter than one step, go one by one).
TEST(ChromaStep, RunsMatchThePixelStep) {
  for (LONG revision : {216, 217})
    for (LONG groups : {0, 1, 2, 8, 9, 10, 17, 300, 16 * 16 + 5}) {
      const std::vector<BYTE> in = Pixels(groups, uint32_t(groups * 31 + revision));
      std::vector<BYTE> run = in, one = in;
      ChromaGroups(run.data(), groups, revision);
      for (LONG i = 0; i < groups; ++i) ChromaPixel(one.data() + 3 * i, revision);
      EXPECT_EQ(run, one) << groups << " pixels, revision " << revision;
    }
}

// The same step on a row held colour by colour.
TEST(ChromaStep, PlanarRowsMatchThePixelStep) {
  for (LONG revision : {216, 217})
    for (LONG width : {1, 7, 8, 9, 16 * 16 + 5}) {
      const std::vector<BYTE> in = Pixels(width, uint32_t(width + revision));
      PlanarRow row(width);
      for (LONG x = 0; x < width; ++x)
        row.Blue()[x] = in[3 * x], row.Green()[x] = in[3 * x + 1], row.Red()[x] = in[3 * x + 2];
      row.Chroma(revision);
      std::vector<BYTE> planar(3 * size_t(width)), one = in;
      row.Put(planar.data());
      for (LONG i = 0; i < width; ++i) ChromaPixel(one.data() + 3 * i, revision);
      EXPECT_EQ(planar, one) << width << " pixels, revision " << revision;
    }
}

// Put writes the row's 3 x width bytes and nothing after them.
TEST(ChromaStep, PutWritesTheRowOnly) {
  for (LONG width : {1, 8, 9, 24, 25}) {
    PlanarRow row(width);
    for (LONG x = 0; x < width; ++x) row.Blue()[x] = BYTE(3 * x), row.Green()[x] = BYTE(3 * x + 1), row.Red()[x] = BYTE(3 * x + 2);
    std::vector<BYTE> out(3 * size_t(width) + 8, 0xEE);
    row.Put(out.data());
    for (LONG i = 0; i < 3 * width; ++i) ASSERT_EQ(out[size_t(i)], BYTE(i)) << width;
    for (size_t i = 3 * size_t(width); i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << width;
  }
}
