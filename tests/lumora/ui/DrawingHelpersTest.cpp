// The small drawing helpers of the windows: rounding half away from zero, and the
// off-screen context that reaches its target in one copy (or not at all on a printer).
#include <gtest/gtest.h>

#include <afxwin.h>

#include "ui/MathUtl.h"
#include "ui/MemDC.h"

namespace {

TEST(MathUtl, RoundsHalvesAwayFromZero) {
  const struct {
    double x;
    int rounded;
  } cases[] = {{2.5, 3}, {-2.5, -3}, {1.5, 2}, {-1.5, -2}, {-0.7, -1}, {0.49, 0}, {252.5, 253}, {-0.49, 0}};
  for (const auto& c : cases) EXPECT_EQ(CMathUtl::Round(c.x), c.rounded) << c.x;
}

// A 100 x 80 white bitmap in a memory DC, standing for a window being painted.
class MemDCTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(target.CreateCompatibleDC(nullptr));
    CClientDC screen(nullptr);
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 100, 80));
    old = target.SelectObject(&bitmap);
    target.FillSolidRect(0, 0, 100, 80, RGB(255, 255, 255));
  }
  void TearDown() override { target.SelectObject(old); }
  CDC target;
  CBitmap bitmap;
  CBitmap* old = nullptr;
};

TEST_F(MemDCTest, DrawsOffScreenAndCopiesTheClippedAreaOnceAtTheEnd) {
  // Only the invalid part is painted: the clip box decides what the copy covers.
  target.IntersectClipRect(20, 10, 60, 50);
  CRect whole(0, 0, 100, 80);
  {
    CMemDC memory(&target, &whole);
    EXPECT_TRUE(memory.IsMemDC());
    EXPECT_EQ(memory.GetRect(), CRect(20, 10, 60, 50));
    // The target's own coordinates reach the same places.
    memory.FillSolidRect(25, 15, 10, 10, RGB(200, 0, 0));
    EXPECT_EQ(target.GetPixel(30, 20), RGB(255, 255, 255)) << "nothing reaches the target before the end";
  }
  target.SelectClipRgn(nullptr);
  EXPECT_EQ(target.GetPixel(30, 20), RGB(200, 0, 0));
  EXPECT_EQ(target.GetPixel(5, 5), RGB(255, 255, 255)) << "outside the clip box nothing is copied";
}

TEST_F(MemDCTest, OnAPrinterItDrawsStraightIntoThePrintersContext) {
  target.m_bPrinting = TRUE;
  CRect whole(0, 0, 100, 80);
  {
    CMemDC memory(&target, &whole);
    EXPECT_FALSE(memory.IsMemDC());
    EXPECT_EQ(memory.m_hDC, target.m_hDC);
    EXPECT_EQ(memory.GetRect(), whole);
    memory.FillSolidRect(10, 10, 5, 5, RGB(0, 0, 200));
    EXPECT_EQ(target.GetPixel(12, 12), RGB(0, 0, 200));
  }
  target.m_bPrinting = FALSE;
  EXPECT_NE(target.m_hDC, nullptr) << "the printer's context is only borrowed";
  EXPECT_EQ(target.GetPixel(12, 12), RGB(0, 0, 200));
}

}  // namespace
