// The workbook's tab strip worked out alone: tab widths, the tab outline and its raised
// form, label rectangles, hit testing of the cut corners and the shortening of labels.
#include <gtest/gtest.h>

#include <string>

#include <afxwin.h>

#include "framework/SECWorkbookTabs.h"

namespace {

using namespace sec_workbook;

TEST(WorkbookTabs, TabWidthSharesTheClientWidthUpToTheCap) {
  const struct {
    int client, sheets, expected;
  } cases[] = {
      {600, 1, 90},   // one sheet: at most the cap, whatever the width
      {2000, 1, 90},
      {40, 1, 45},    // (40 + 5) / 1
      {595, 10, 60},  // ten sheets in 600 pixels (with the 5 added)
      {600, 10, 60},
      {100, 3, 35},
      {0, 4, 1},
      {600, 0, 90},   // no sheet: the cap, so the last width can be kept
  };
  for (const auto& c : cases) EXPECT_EQ(TabWidth(c.client, c.sheets, 90), c.expected) << c.client << "/" << c.sheets;
}

TEST(WorkbookTabs, ATabHangsBelowTheClientWithBothLowerCornersCut) {
  const CRect client(10, 20, 610, 300);
  TabMetrics m;
  m.width = 60;
  POINT p[kTabPoints];
  TabPolygon(client, 0, FALSE, m, p);
  const POINT flat[kTabPoints] = {{10, 304}, {10, 325}, {12, 327}, {68, 327}, {70, 325}, {70, 304}, {10, 304}};
  for (int i = 0; i < kTabPoints; ++i) {
    EXPECT_EQ(p[i].x, flat[i].x) << i;
    EXPECT_EQ(p[i].y, flat[i].y) << i;
  }
  // The third tab: two widths further right.
  TabPolygon(client, 2, FALSE, m, p);
  EXPECT_EQ(p[0].x, 130);
  EXPECT_EQ(p[5].x, 190);
  // Raised: 2 to the left, 4 wider and 2 deeper.
  TabPolygon(client, 2, TRUE, m, p);
  const POINT raised[kTabPoints] = {{128, 304}, {128, 325}, {130, 329}, {190, 329}, {192, 325}, {192, 304}, {128, 304}};
  for (int i = 0; i < kTabPoints; ++i) {
    EXPECT_EQ(p[i].x, raised[i].x) << i;
    EXPECT_EQ(p[i].y, raised[i].y) << i;
  }
}

TEST(WorkbookTabs, LabelRectLeavesRoomForTheIcon) {
  POINT p[kTabPoints];
  TabMetrics m;
  m.width = 90;
  TabPolygon(CRect(0, 0, 400, 200), 1, FALSE, m, p);
  EXPECT_EQ(LabelRect(p, kIconSize), CRect(92 + 16 + 3, 204, 180 - 2, 227));
  EXPECT_EQ(LabelRect(p, 0), CRect(92 + 3, 204, 178, 227));
}

TEST(WorkbookTabs, StripAndTabAreasCoverTheRaisedTab) {
  const CRect client(5, 0, 505, 300);
  TabMetrics m;
  m.width = 50;
  EXPECT_EQ(StripRect(client, m), CRect(5, 304, 505, 331));
  EXPECT_EQ(TabArea(client, 3, m), CRect(153, 304, 207, 331));
  EXPECT_EQ(TabArea(client, 3, m, 640), CRect(153, 304, 640, 331));
  // The raised form of the tab lies inside its area.
  POINT p[kTabPoints];
  TabPolygon(client, 3, TRUE, m, p);
  const CRect area = TabArea(client, 3, m);
  for (const POINT& pt : p) {
    EXPECT_GE(pt.x, area.left);
    EXPECT_LE(pt.x, area.right);
    EXPECT_LE(pt.y, area.bottom);
  }
}

TEST(WorkbookTabs, PointsInTheCutCornersAreOutsideTheTab) {
  POINT p[kTabPoints];
  TabMetrics m;
  m.width = 60;
  m.bevel = 6;  // large corners, to see them
  TabPolygon(CRect(0, 0, 600, 100), 0, FALSE, m, p);
  // p0 (0,104) p1 (0,121) p2 (6,127) p3 (54,127) p4 (60,121) p5 (60,104)
  const struct {
    CPoint pt;
    BOOL inside;
  } cases[] = {
      {{30, 110}, TRUE}, {{1, 105}, TRUE},  {{58, 120}, TRUE},  {{30, 126}, TRUE},
      {{1, 126}, FALSE}, {{59, 126}, FALSE}, {{30, 103}, FALSE}, {{61, 110}, FALSE},
      {{-1, 110}, FALSE}, {{30, 128}, FALSE},
  };
  for (const auto& c : cases) EXPECT_EQ(PtInTab(p, c.pt), c.inside) << c.pt.x << "," << c.pt.y;
}

class WorkbookLabelTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    dc.SelectStockObject(DEFAULT_GUI_FONT);
  }
  int Width(const char* text) { return dc.GetTextExtent(CString(text)).cx; }
  std::string Fit(const char* label, int width) { return std::string(static_cast<LPCSTR>(FitLabel(dc, CString(label), width))); }
  CDC dc;
};

TEST_F(WorkbookLabelTest, ThreeCharactersAreNeverShortened) {
  for (int width : {0, 1, 5, 1000}) {
    EXPECT_EQ(Fit("abc", width), "abc") << width;
    EXPECT_EQ(Fit("日本語", width), "日本語") << width;
    EXPECT_EQ(Fit("", width), "") << width;
  }
}

TEST_F(WorkbookLabelTest, ALongLabelLosesItsEndToAnEllipsis) {
  const char* label = "Quarterly figures";
  EXPECT_EQ(Fit(label, Width(label)), label);  // exactly fits: whole
  // Room for "Quarterly f..." (and a pixel short of "Quarterly fi..."): that is shown.
  EXPECT_EQ(Fit(label, Width("Quarterly f...")), "Quarterly f...");
  EXPECT_EQ(Fit(label, Width("Quarterly fi...") - 1), "Quarterly f...");
  // However narrow, "..." is what is left.
  EXPECT_EQ(Fit(label, 0), "...");
  EXPECT_EQ(Fit("abcd", 0), "...");
  // The first shortening already drops a character and ends in "...".
  EXPECT_EQ(Fit("abcdefgh", Width("abcdefgh") - 1), "abcd...");
}

TEST_F(WorkbookLabelTest, MultibyteLabelsAreCutBetweenCharacters) {
  const char* label = "測定結果の一覧表";  // eight characters of three bytes
  const std::string shown = Fit(label, Width("測定結...") );
  EXPECT_EQ(shown, "測定結...");
  for (int width = 0; width < Width(label); width += 7) {
    const std::string s = Fit(label, width);
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s.substr(s.size() - 3), "...");
    EXPECT_EQ((s.size() - 3) % 3, 0u) << s;  // whole characters before the dots
  }
}

}  // namespace
