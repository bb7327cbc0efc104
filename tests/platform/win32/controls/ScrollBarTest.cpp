#include "ControlFixture.h"

namespace controls_test {
namespace {

class ScrollBars : public ControlTest {};

TEST_F(ScrollBars, InfoKeepsThePositionInsideRangeAndPage) {
  HWND w = Make("Static", WS_VSCROLL | WS_HSCROLL, 80, "", {10, 10, 200, 200});
  struct Case {
    int min, max;
    UINT page;
    int pos, expected;
  } cases[] = {
      {0, 100, 10, 50, 50}, {0, 100, 10, 95, 91}, {0, 100, 0, 150, 100}, {-20, 20, 0, -30, -20}, {0, 9, 20, 5, 0},
  };
  for (const auto& c : cases) {
    SCROLLINFO si{sizeof si, SIF_ALL, c.min, c.max, c.page, c.pos, 0};
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), c.expected) << c.pos;
    EXPECT_EQ(GetScrollPos(w, SB_VERT), c.expected);
  }
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 3, FALSE), 0);
  SetScrollRange(w, SB_HORZ, 5, 60, FALSE);
  int lo = 0, hi = 0;
  EXPECT_TRUE(GetScrollRange(w, SB_HORZ, &lo, &hi));
  EXPECT_EQ(lo, 5);
  EXPECT_EQ(hi, 60);
  EXPECT_EQ(GetScrollPos(w, SB_HORZ), 5);
  SCROLLINFO bad{sizeof bad, SIF_ALL, 0, 0, 0, 0, 0};
  EXPECT_FALSE(GetScrollInfo(nullptr, SB_VERT, &bad));
}

TEST_F(ScrollBars, ControlReportsArrowsPagesAndThumbDrags) {
  HWND sb = Make("ScrollBar", SBS_HORZ, 81, "", {10, 10, 210, 26});
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 100, 20, 0, 0};
  SetScrollInfo(sb, SB_CTL, &si, TRUE);
  Click(sb, 3, 8);  // the left arrow
  Click(sb, 196, 8);  // the right arrow
  Click(sb, 150, 8);  // the track right of the thumb
  EXPECT_EQ(Events(), (std::vector<std::string>{"hscroll 0 0", "hscroll 8 0", "hscroll 1 0", "hscroll 8 0",
                                                "hscroll 3 0", "hscroll 8 0"}));
  // The owner moves the bar; a drag of the thumb tracks, then reports where it ended.
  Events().clear();
  Drag(sb, {20, 8}, {190, 8});
  ASSERT_GE(Events().size(), 3u);
  EXPECT_EQ(Events().front().rfind("hscroll 5 ", 0), 0u);
  EXPECT_EQ(Events()[Events().size() - 2], "hscroll 4 81");
  EXPECT_EQ(Events().back(), "hscroll 8 0");
  EXPECT_EQ(GetScrollPos(sb, SB_CTL), 0);  // the owner has not moved it
}

}  // namespace
}  // namespace controls_test
