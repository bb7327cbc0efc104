#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "LevelCurves.h"

namespace {

using vexcam::LevelTable;

void Identity(LevelTable tables[4]) {
  for (int p = 0; p < 4; ++p)
    for (int i = 0; i < 256; ++i) tables[p][i] = BYTE(i);
}

constexpr LONG kSites[4] = {0, 1, 2, 3};

}  // namespace

TEST(SmoothCurve, KeepsStraightLinesAndAveragesTheLinesThroughEachPoint) {
  double line[256];
  for (int i = 0; i < 256; ++i) line[i] = 2.0 * i + 3;
  vexcam::SmoothCurve(line, 8);
  for (int i = 0; i < 256; ++i) ASSERT_NEAR(line[i], 2.0 * i + 3, 1e-9) << i;

  // An impulse at 16: point 0 sees only the line (0, 16) and keeps its value; point 1
  // averages the line (1, 17), which gives 0, and the line (0, 16), which gives 1.
  double impulse[256] = {};
  impulse[16] = 16;
  vexcam::SmoothCurve(impulse, 8);
  EXPECT_DOUBLE_EQ(impulse[0], 0.0);
  EXPECT_DOUBLE_EQ(impulse[1], 0.5);
}

// Reference levels 200, 100, 50, 25, 12 at the five exposure steps; colour 1 lies 10
// above the reference everywhere, colour 2 20 below.
TEST(LevelTables, PiecewiseLinearFromTheOffsets) {
  double offsets[4][6] = {{200, 100, 50, 25, 12, 7}, {10, 10, 10, 10, 10, 10}, {-20, -20, -20, -20, -20, -20}, {}};
  LevelTable tables[4];
  Identity(tables);
  for (int i = 0; i < 256; ++i) tables[0][i] = 0;  // the reference table is rebuilt as identity
  vexcam::BuildLevelTables(offsets, kSites, kSites, tables);

  struct Case {
    int table, index, value;
  } cases[] = {
      {0, 0, 0},     {0, 77, 77},   {0, 255, 255},
      {1, 0, 0},     {1, 6, 11},    {1, 12, 22},    // lowest segment rises from 0 to the offset
      {1, 40, 50},   {1, 150, 160}, {1, 199, 209},  // inner segments carry the offset
      {1, 200, 210}, {1, 255, 255},                 // the top segment fades it out
      {2, 6, 0},     {2, 12, 0},    {2, 100, 81},   {2, 228, 219}, {2, 255, 255},  // near(-20) is -19
      {3, 12, 12},   {3, 128, 128},                 // zero offsets: identity
  };
  for (const Case& c : cases) EXPECT_EQ(tables[c.table][c.index], c.value) << c.table << "[" << c.index << "]";
  for (auto& position : offsets) EXPECT_EQ(position[5], 0.0);
}

TEST(LevelTables, SiteMapAndTableOrderChooseTheTables) {
  double offsets[4][6] = {{}, {}, {200, 100, 50, 25, 12, 0}, {30, 30, 30, 30, 30, 0}};
  const LONG sites[4] = {2, 0, 1, 3}, gains[4] = {1, 2, 3, 0};
  LevelTable tables[4];
  Identity(tables);
  for (int i = 0; i < 256; ++i) tables[1][i] = 0;
  vexcam::BuildLevelTables(offsets, sites, gains, tables);
  EXPECT_EQ(tables[1][100], 100);  // reference colour 0 drives gain channel 1: identity
  EXPECT_EQ(tables[0][100], 130);  // colour 3 sits at position 3 and drives channel 0
  EXPECT_EQ(tables[2][100], 100);  // colours 1 and 2 (positions 0 and 1) have no offset
}

// Levels no measurement gives: the tables are filled inside their 256 entries (the
// sanitizer build watches every index) and nothing is divided by zero.
TEST(LevelTables, OutOfRangeLevelsStayInsideTheTables) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double reference[6];
    double other;
  } cases[] = {
      {{1e9, 1e9, 1e9, 1e9, 1e9, 0}, 1e9},
      {{-500, -400, -300, -200, -100, 0}, -1e9},
      {{255, 255, 255, 255, 255, 0}, 40},
      {{10, 50, 100, 200, 255, 0}, 5},  // falling instead of rising with exposure
      {{nan, nan, 0, 0, 0, 0}, nan},
  };
  for (const Case& c : cases) {
    double offsets[4][6] = {};
    for (int s = 0; s < 6; ++s) offsets[0][s] = c.reference[s], offsets[1][s] = offsets[2][s] = c.other;
    LevelTable tables[4];
    Identity(tables);
    for (int i = 0; i < 256; ++i) tables[0][i] = 0;
    vexcam::BuildLevelTables(offsets, kSites, kSites, tables);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(tables[0][i], i) << c.reference[0];
    EXPECT_EQ(tables[3][128], 128) << c.reference[0];
  }
}

TEST(GammaCurve, BrightensTheShadowsAndKeepsTheOrder) {
  const double offsets[4][6] = {{230, 120, 60, 30, 15, 0}};
  const LONG exposures[6] = {1000, 500, 250, 125, 62, 31};
  for (BYTE mode : {1, 2, 3, 9}) {
    LevelTable tables[4];
    Identity(tables);
    vexcam::BendLevelTables(offsets, exposures, 0, mode, tables);
    for (int p = 0; p < 4; ++p) {
      EXPECT_GT(tables[p][40], 40) << int(mode);
      for (int i = 1; i < 256; ++i) ASSERT_GE(tables[p][i], tables[p][i - 1]) << int(mode) << " " << i;
    }
  }
}

TEST(GammaCurve, LeftAloneWithoutAUsableMeasurement) {
  struct Case {
    double reference0;
    LONG exposures[6];
  } cases[] = {
      {230, {500, 250, 125, 62, 500, 0}},      // first and fifth exposures equal
      {0, {1000, 500, 250, 125, 62, 31}},      // no reference level to scale by
      {230, {1000, 500, -250, 125, 62, 31}},   // a negative exposure
      {230, {0, 500, 250, 125, 62, 31}},       // a zero scale
  };
  for (const Case& c : cases) {
    const double offsets[4][6] = {{c.reference0, 120, 60, 30, 15, 0}};
    LevelTable tables[4];
    Identity(tables);
    vexcam::BendLevelTables(offsets, c.exposures, 0, 1, tables);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(tables[2][i], i) << c.reference0 << " " << c.exposures[0];
  }
}
