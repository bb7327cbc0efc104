#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Pictures.h"
#include "imaging/Filters.h"

using namespace plat::imaging;
using namespace imagingtest;

TEST(Filters, NeutralSizesAndValuesCopyThePicture) {
  const Dib in = Noise(17, 11);
  Dib a, m, s;
  ASSERT_EQ(AverageFilter(in, 1, &a), status::kOk);
  ASSERT_EQ(MedianFilter(in, 1, &m), status::kOk);
  ASSERT_EQ(Sharpen(in, 0, &s), status::kOk);
  EXPECT_TRUE(a.SamePixels(in));
  EXPECT_TRUE(m.SamePixels(in));
  EXPECT_TRUE(s.SamePixels(in));
}

TEST(Filters, FlatPicturesStayFlat) {
  const Dib in = Flat(12, 9, 24, 40, 140, 240);
  for (int v : {-1000, -300, 500, 1000}) {
    Dib out;
    ASSERT_EQ(Sharpen(in, v, &out), status::kOk);
    EXPECT_TRUE(out.SamePixels(in)) << v;
  }
  for (int size : {3, 5, 15}) {
    Dib a, m;
    ASSERT_EQ(AverageFilter(in, size, &a), status::kOk);
    ASSERT_EQ(MedianFilter(in, size, &m), status::kOk);
    EXPECT_TRUE(a.SamePixels(in)) << size;
    EXPECT_TRUE(m.SamePixels(in)) << size;
  }
}

TEST(Filters, MedianRemovesAnIsolatedSpeckAndAverageSpreadsIt) {
  Dib in = Flat(7, 7, 8, 10);
  in.Row(3)[3] = 255;
  Dib m, a;
  ASSERT_EQ(MedianFilter(in, 3, &m), status::kOk);
  ASSERT_EQ(AverageFilter(in, 3, &a), status::kOk);
  EXPECT_TRUE(m.SamePixels(Flat(7, 7, 8, 10)));
  EXPECT_EQ(a.Row(3)[3], (255 + 8 * 10 + 4) / 9);
  EXPECT_EQ(a.Row(2)[2], (255 + 8 * 10 + 4) / 9);
  EXPECT_EQ(a.Row(1)[1], 10);
}

TEST(Filters, MedianMatchesASortedNeighbourhoodWithRepeatedEdges) {
  const Dib in = Noise(9, 6, 24, 7);
  for (int size : {3, 5}) {
    Dib out;
    ASSERT_EQ(MedianFilter(in, size, &out), status::kOk);
    const int r = size / 2;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 9; ++x)
        for (int c = 0; c < 3; ++c) {
          std::vector<int> v;
          for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
              v.push_back(in.Row(std::clamp(y + dy, 0, 5))[std::clamp(x + dx, 0, 8) * 3 + c]);
          std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
          ASSERT_EQ(out.Row(y)[x * 3 + c], v[v.size() / 2]) << size << " " << x << "," << y;
        }
  }
}

TEST(Filters, SharpenRaisesAnEdgeAndNegativeValuesSoftenIt) {
  Dib in = Flat(6, 3, 8, 100);
  for (int y = 0; y < 3; ++y)
    for (int x = 3; x < 6; ++x) in.Row(y)[x] = 160;
  Dib sharp, soft;
  ASSERT_EQ(Sharpen(in, 1000, &sharp), status::kOk);
  ASSERT_EQ(Sharpen(in, -1000, &soft), status::kOk);
  EXPECT_LT(sharp.Row(1)[2], 100);
  EXPECT_GT(sharp.Row(1)[3], 160);
  EXPECT_EQ(soft.Row(1)[2], 120);  // the 3 x 3 mean
  EXPECT_EQ(soft.Row(1)[3], 140);
}

TEST(Filters, RefuseBadSizesAndValues) {
  const Dib in = Noise(4, 4);
  Dib out;
  for (int size : {0, 2, 17, -3}) {
    EXPECT_EQ(MedianFilter(in, size, &out), status::kInvalidArgument) << size;
    EXPECT_EQ(AverageFilter(in, size, &out), status::kInvalidArgument) << size;
  }
  EXPECT_EQ(Sharpen(in, 1001, &out), status::kInvalidArgument);
}
