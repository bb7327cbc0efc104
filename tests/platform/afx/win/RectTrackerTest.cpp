// The rectangle tracker: a middle hit follows the mouse, Escape and a right click cancel
// and restore, no movement or a miss reports no change; the handle size and mask.
#include <gtest/gtest.h>

#include "CRectTracker.h"
#include "afxwin.h"
#include "user/Driver.h"
#include "user/Input.h"

namespace {

namespace in = plat::user::input;
namespace drv = plat::user::driver;

// Counts the rectangle's changes as the tracker makes them.
struct CountingTracker : CRectTracker {
  using CRectTracker::CRectTracker;
  int changes = 0;
  void OnChangedRect(const CRect&) override { ++changes; }
};

class RectTracker : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPED | WS_VISIBLE, 50, 50, 300, 200, nullptr, nullptr));
    drv::WaitIdle();
  }
  void TearDown() override {
    host.DestroyWindow();
    drv::WaitIdle();
  }
  CPoint Screen(CPoint client) const {
    host.ClientToScreen(&client);
    return client;
  }
  CWnd host;
};

TEST_F(RectTracker, AMiddleHitFollowsTheMouse) {
  CountingTracker tracker(CRect(20, 20, 60, 40), CRectTracker::hatchedBorder);
  const CPoint start = Screen(CPoint(30, 30));
  in::MouseMove(start.x, start.y);
  in::MouseMove(start.x + 7, start.y + 3);
  in::MouseMove(start.x + 9, start.y + 5);
  in::MouseButton(0, false);
  EXPECT_TRUE(tracker.Track(&host, CPoint(30, 30), FALSE, CWnd::GetDesktopWindow()));
  EXPECT_EQ(tracker.m_rect, CRect(29, 25, 69, 45));
  EXPECT_GE(tracker.changes, 2);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(RectTracker, CancelledOrUnmovedTracksReportNoChange) {
  const CRect rect(20, 20, 60, 40);
  const CPoint start = Screen(CPoint(30, 30));
  struct Case {
    const char* name;
    UINT key;  // Escape, or 0 for a right click, or 1 for no movement
  } cases[] = {{"escape", VK_ESCAPE}, {"right click", 0}, {"no movement", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRectTracker tracker(&rect, CRectTracker::hatchedBorder);
    if (c.key != 1) in::MouseMove(start.x + 10, start.y + 10);
    if (c.key == VK_ESCAPE) in::Key(VK_ESCAPE, true);
    else if (c.key == 0) in::MouseButton(1, true);
    else in::MouseButton(0, false);
    EXPECT_FALSE(tracker.Track(&host, CPoint(30, 30)));
    EXPECT_EQ(tracker.m_rect, rect);
    EXPECT_EQ(::GetCapture(), nullptr);
    if (c.key == VK_ESCAPE) in::Key(VK_ESCAPE, false);
    else if (c.key == 0) in::MouseButton(1, false);
    drv::WaitIdle();
  }
  // A point outside the rectangle starts nothing.
  CRectTracker tracker(&rect, CRectTracker::hatchedBorder);
  EXPECT_FALSE(tracker.Track(&host, CPoint(5, 5)));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(RectTracker, HandleSizeAndMaskFollowTheRectangle) {
  const struct {
    CRect rect;
    UINT style;
    int size;
    UINT mask;
  } cases[] = {
      {CRect(0, 0, 100, 100), CRectTracker::hatchedBorder, 7, 0xFF},
      {CRect(0, 0, 10, 100), CRectTracker::hatchedBorder, 5, 0xAF},  // too narrow for side handles
      {CRect(0, 0, 10, 6), CRectTracker::resizeOutside, 7, 0x0F},
  };
  for (const auto& c : cases) {
    CRectTracker tracker(&c.rect, c.style);
    EXPECT_EQ(tracker.GetHandleSize(), c.size) << c.rect.Width();
    EXPECT_EQ(tracker.GetHandleMask(), c.mask) << c.rect.Width();
  }
}

}  // namespace
