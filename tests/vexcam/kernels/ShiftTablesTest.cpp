#include "ShiftTables.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using vexcam::ShiftTables;

namespace {

std::vector<int> Codes(const ShiftTables& t, int f) { return std::vector<int>(t.code[f], t.code[f] + f * f); }
std::vector<int> Order(const ShiftTables& t, int f, int first, int n) {
  return std::vector<int>(t.order[f] + first, t.order[f] + first + n);
}

}  // namespace

TEST(ShiftTables, FullSetCodes) {
  ShiftTables t;
  t.Build(true);
  EXPECT_EQ(Codes(t, 1), (std::vector<int>{0}));
  EXPECT_EQ(Codes(t, 2), (std::vector<int>{0, 2, 14, 16}));
  EXPECT_EQ(Codes(t, 3), (std::vector<int>{0, 4, 5, 19, 25, 26, 30, 31, 32}));
  // Second row of 4 runs backwards: columns 3, 2, 1, 0 of the 7-wide code space.
  EXPECT_EQ(std::vector<int>(t.code[4] + 4, t.code[4] + 8), (std::vector<int>{10, 9, 8, 7}));
  EXPECT_EQ(Order(t, 6, 6, 6), (std::vector<int>{5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(Order(t, 6, 12, 3), (std::vector<int>{0, 1, 2}));
}

TEST(ShiftTables, SixBySixCodesAreDistinctAndLeaveTheFourByFourGridAlone) {
  ShiftTables t;
  t.Build(true);
  const std::vector<int> six = Codes(t, 6);
  const std::set<int> distinct(six.begin(), six.end());
  EXPECT_EQ(distinct.size(), 36u);
  std::set<int> shared;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (distinct.count(7 * r + c)) shared.insert(7 * r + c);
  EXPECT_EQ(shared, (std::set<int>{0, 2, 14}));  // the three corners the grids have in common
}

TEST(ShiftTables, ReducedSet) {
  ShiftTables t;
  t.Build(false);
  EXPECT_EQ(Codes(t, 2), (std::vector<int>{0, 2, 8, 10}));
  EXPECT_EQ(Order(t, 3, 0, 3), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(std::vector<int>(t.code[4] + 4, t.code[4] + 8), (std::vector<int>{7, 6, 5, 4}));
  EXPECT_EQ(Codes(t, 6), std::vector<int>(36, 0));
}

TEST(ShiftTables, LinearCodesOfOlderCameras) {
  ShiftTables t;
  t.Build(true);
  t.UseLinear();
  EXPECT_EQ(Order(t, 4, 4, 4), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(t.code[4][5], 11);
  EXPECT_EQ(t.code[6][35], 55);
  EXPECT_EQ(Codes(t, 2), (std::vector<int>{0, 2, 14, 16}));  // the small grids keep theirs
}
