// The reconstruction kernels give the same bytes on any number of threads, and the row
// passes on a mosaic of the planes the same bytes as the kernels worked row by row on the
// picture, finished or cancelled.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ColourReconstruction.h"
#include "EdgeDirected.h"
#include "HandPlanes.h"

using namespace vexcam;
using vexcam::test::HandPlanes;
using vexcam::test::Picture;

namespace {

// A scene the edge-directed rules take every branch on: flat patches where the greens
// are smoothed, edges in both directions, and noise of 4 to 32 steps, so that the
// thresholds of the rules (8, 16, 32) are met exactly here and there.
HandPlanes Scene(LONG w, LONG h, uint32_t seed) {
  HandPlanes planes(w, h);
  for (int p = 0; p < 4; ++p)
    for (LONG r = 0; r < planes.rows; ++r)
      for (LONG x = 0; x < planes.bytes; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int base = (x / 5) % 3 == 0 ? 60 : ((r / 7) % 2 ? 190 : 120);
        const int noise = int(seed >> 24) % (4 << ((r / 4 + x / 6) % 4));
        planes.At(p, r, x) = BYTE(base + 25 * (p == 1) - 20 * (p == 2) + noise);
      }
  return planes;
}

// A picture whose bytes are not all alike: what a kernel leaves must show.
Picture Before(LONG w, LONG h) {
  Picture pic(w, h);
  for (size_t i = 0; i < pic.bits.size(); ++i) pic.bits[i] = BYTE(i * 7 + 3);
  return pic;
}

ColourContext Context(const HandPlanes& planes, DWORD mode, int threads) {
  ColourContext c = vexcam::test::StandardContext(planes, mode);
  c.threads = threads;
  c.progress = [](int) { return 1; };  // a pass with reports, as in a capture
  return c;
}

struct Size {
  LONG w, h;
};
const Size kSizes[] = {{36, 30}, {37, 29}, {3, 41}, {40, 3}, {9, 64}};
const DWORD kOrientations[] = {0, 0x4, 0x8, 0xC, 0x10, 0x14, 0x18, 0x1C};

std::string Name(int method, Size s, DWORD mode) {
  return "method " + std::to_string(method) + ", " + std::to_string(s.w) + " x " + std::to_string(s.h) + ", Mode " +
         std::to_string(mode);
}

}  // namespace

TEST(ReconstructionThreads, EveryMethodGivesTheSameBytesOnAnyNumberOfThreads) {
  for (Size s : kSizes)
    for (DWORD mode : kOrientations) {
      HandPlanes planes = Scene(s.w, s.h, s.w * 131 + s.h);
      for (int method : {0, 1, 2, 3, 10, 11, 12, 13}) {
        std::vector<BYTE> single;
        for (int threads : {1, 2, 3, 8}) {
          GreenStatsState green;
          ColourContext c = Context(planes, mode, threads);
          c.green = &green;
          Picture pic = Before(s.w, s.h);
          ASSERT_EQ(Reconstruct(c, method, pic.bits.data(), s.w, s.h, pic.stride), 1) << Name(method, s, mode);
          if (threads == 1)
            single = pic.bits;
          else
            ASSERT_EQ(pic.bits, single) << Name(method, s, mode) << " on " << threads << " threads";
        }
      }
    }
}

// The passes over the mosaic build whole rows from the planes; the kernels row by row
// scatter first and interpolate in place. Both give the same picture, the chroma step of
// either board generation included.
TEST(ReconstructionThreads, RowPassesMatchTheKernelsWorkedInPlace) {
  for (Size s : kSizes)
    for (DWORD mode : kOrientations)
      for (LONG revision : {216, 217}) {
        HandPlanes planes = Scene(s.w, s.h, s.h * 977 + s.w + revision);
        ColourContext c = Context(planes, mode, 3);
        c.revision = revision;
        BayerMosaic m;
        ASSERT_TRUE(MakeMosaic(c, s.w, s.h, 3, &m)) << "the row passes are the ones compared";
        struct Case {
          int method;
          LONG (*inPlace)(const ColourContext&, BYTE*, LONG, LONG, LONG);
          bool chroma;
        } cases[] = {{11, InterpolateBilinearInPlace, false},
                     {1, InterpolateBilinearInPlace, true},
                     {12, InterpolateAdaptiveInPlace, false},
                     {2, InterpolateAdaptiveInPlace, true}};
        for (const Case& k : cases) {
          Picture fast = Before(s.w, s.h), slow = Before(s.w, s.h);
          ASSERT_EQ(Reconstruct(c, k.method, fast.bits.data(), s.w, s.h, fast.stride), 1);
          ASSERT_EQ(k.inPlace(c, slow.bits.data(), s.w, s.h, slow.stride), 1);
          if (k.chroma) ChromaEnhance(slow.bits.data(), s.h, slow.stride, revision, 1);
          ASSERT_EQ(fast.bits, slow.bits) << Name(k.method, s, mode) << ", revision " << revision;
        }
      }
}

// A cancel at the third report leaves the rows the kernel row by row leaves: the rows
// before it interpolated (without the chroma step), the rows after it as the scatter
// left them, on any number of threads.
TEST(ReconstructionThreads, ACancelLeavesTheRowsOfTheKernelWorkedInPlace) {
  const Size s{33, 70};
  for (DWORD mode : {0u, 0x10u, 0x1Cu}) {
    HandPlanes planes = Scene(s.w, s.h, 4242 + mode);
    for (int method : {1, 2, 11, 12}) {
      Picture slow = Before(s.w, s.h);
      {
        ColourContext c = Context(planes, mode, 1);
        int reports = 0;
        c.progress = [&](int) { return ++reports < 3 ? 1 : 0; };
        auto inPlace = method == 1 || method == 11 ? InterpolateBilinearInPlace : InterpolateAdaptiveInPlace;
        ASSERT_EQ(inPlace(c, slow.bits.data(), s.w, s.h, slow.stride), 0);
        ASSERT_EQ(reports, 3);
      }
      for (int threads : {1, 2, 8}) {
        ColourContext c = Context(planes, mode, threads);
        std::vector<int> seen;
        c.progress = [&](int percent) { return seen.push_back(percent), seen.size() < 3 ? 1 : 0; };
        Picture fast = Before(s.w, s.h);
        EXPECT_EQ(Reconstruct(c, method, fast.bits.data(), s.w, s.h, fast.stride), 0);
        EXPECT_EQ(seen, (std::vector<int>{12, 14, 27})) << "after rows 8, 9 and 18 of 70 (step 10)";
        EXPECT_EQ(fast.bits, slow.bits) << "method " << method << ", Mode " << mode << ", " << threads << " threads";
      }
    }
  }
}

// The greens of the edge-directed kernel in bands: a band that starts from a poor guess
// (no warm-up at all, or a short one) is worked again until it meets the finished rows,
// so the greens are those of a single band.
TEST(ReconstructionThreads, EdgeDirectedGreensInBandsMeetTheSingleBand) {
  const LONG w = 45, h = 90;
  for (DWORD mode : {0u, 0x4u, 0x10u}) {
    HandPlanes planes = Scene(w, h, 99 + mode);
    ColourContext c = Context(planes, mode, 1);
    BayerMosaic m;
    ASSERT_TRUE(MakeMosaic(c, w, h, 3, &m));
    std::vector<BYTE> one(size_t(w * h));
    EdgeDirectedGreens(m, w, h, 1, 0, one.data());
    // The fixture smooths: the finished greens are not the measured ones, so a band whose
    // guess takes the rows above as measured starts from the wrong rows.
    LONG smoothed = 0;
    for (LONG r = 1; r < h; ++r)
      for (LONG x = 0; x < w; ++x)
        if ((m.code[r & 1][x & 1] == kGreen1 || m.code[r & 1][x & 1] == kGreen2) && one[size_t(r * w + x)] != m.Green(r)[x])
          ++smoothed;
    EXPECT_GT(smoothed, w * h / 20);
    for (int bands : {2, 3, 7, 90})
      for (LONG warmUp : {0, 1, 2, 16}) {
        std::vector<BYTE> banded(size_t(w * h), 0xEE);
        EdgeDirectedGreens(m, w, h, bands, warmUp, banded.data());
        EXPECT_EQ(banded, one) << bands << " bands, warm-up " << warmUp << ", Mode " << mode;
      }
  }
}

// Planes that are no full mosaic of the picture (smaller than it, or two planes on one
// position of the cell) take the kernels row by row.
TEST(ReconstructionThreads, PlanesThatAreNoMosaicTakeTheKernelsInPlace) {
  const LONG w = 12, h = 10;
  HandPlanes small = Scene(w - 4, h - 4, 5);
  HandPlanes whole = Scene(w, h, 6);
  ColourContext tooSmall = Context(small, 0, 2);
  ColourContext doubled = Context(whole, 0, 2);
  doubled.phases.cp[3] = doubled.phases.cp[2], doubled.phases.rp[3] = doubled.phases.rp[2];
  BayerMosaic m;
  EXPECT_FALSE(MakeMosaic(tooSmall, w, h, 2, &m));
  EXPECT_FALSE(MakeMosaic(doubled, w, h, 2, &m));
  for (const ColourContext* c : {&tooSmall, &doubled}) {
    Picture fast = Before(w, h), slow = Before(w, h);
    ASSERT_EQ(InterpolateAdaptive(*c, fast.bits.data(), w, h, fast.stride), 1);
    ASSERT_EQ(InterpolateAdaptiveInPlace(*c, slow.bits.data(), w, h, slow.stride), 1);
    EXPECT_EQ(fast.bits, slow.bits);
  }
}
