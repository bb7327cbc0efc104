#include <gtest/gtest.h>

#include "afx.h"

namespace {

TEST(Rect, MeasuresAndTestsPoints) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.Size(), CSize(100, 50));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  // The right and bottom edges are outside.
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_TRUE(r.PtInRect(CPoint(109, 69)));
  EXPECT_FALSE(r.PtInRect(CPoint(110, 30)));
  EXPECT_FALSE(r.PtInRect(CPoint(30, 70)));
  EXPECT_FALSE(r.IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_TRUE(CRect(5, 9, 8, 2).IsRectEmpty());
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_FALSE(CRect(0, 0, 0, 1).IsRectNull());
}

TEST(Rect, TopLeftIsAnAlias) {
  CRect r(1, 2, 3, 4);
  r.TopLeft() = CPoint(-1, -2);
  r.BottomRight() += CSize(10, 10);
  EXPECT_EQ(r, CRect(-1, -2, 13, 14));
}

TEST(Rect, MovesAndResizes) {
  CRect r(0, 0, 10, 10);
  r.OffsetRect(5, 6);
  EXPECT_EQ(r, CRect(5, 6, 15, 16));
  r.InflateRect(1, 2);
  EXPECT_EQ(r, CRect(4, 4, 16, 18));
  r.DeflateRect(1, 2);
  EXPECT_EQ(r, CRect(5, 6, 15, 16));
  r.InflateRect(1, 2, 3, 4);
  EXPECT_EQ(r, CRect(4, 4, 18, 20));
  r.DeflateRect(CRect(1, 2, 3, 4));
  EXPECT_EQ(r, CRect(5, 6, 15, 16));
  r += CPoint(1, 1);
  r -= CSize(2, 2);
  EXPECT_EQ(r, CRect(4, 5, 14, 15));
  EXPECT_EQ(r + CPoint(1, 0), CRect(5, 5, 15, 15));
  EXPECT_EQ(r - CSize(0, 5), CRect(4, 0, 14, 10));
  CRect flipped(10, 10, 0, 0);
  flipped.NormalizeRect();
  EXPECT_EQ(flipped, CRect(0, 0, 10, 10));
}

struct CombineCase {
  RECT a, b;
  RECT intersection;
  BOOL intersects;
  RECT unionRect;
  RECT difference;
  BOOL differenceNonEmpty;
};

TEST(Rect, CombinesLikeTheWindowsHelpers) {
  const CombineCase cases[] = {
      // overlapping corner: the difference keeps a, no whole strip is cut
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, TRUE, {0, 0, 15, 15}, {0, 0, 10, 10}, TRUE},
      // disjoint: empty intersection
      {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 0, 0}, FALSE, {0, 0, 30, 30}, {0, 0, 10, 10}, TRUE},
      // touching edges do not overlap
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, FALSE, {0, 0, 20, 10}, {0, 0, 10, 10}, TRUE},
      // b covers the right strip of a fully: the difference is the left part
      {{0, 0, 10, 10}, {6, -5, 20, 20}, {6, 0, 10, 10}, TRUE, {0, -5, 20, 20}, {0, 0, 6, 10}, TRUE},
      // b covers the top strip
      {{0, 0, 10, 10}, {-1, -1, 11, 4}, {0, 0, 10, 4}, TRUE, {-1, -1, 11, 10}, {0, 4, 10, 10}, TRUE},
      // b covers all of a
      {{2, 2, 4, 4}, {0, 0, 10, 10}, {2, 2, 4, 4}, TRUE, {0, 0, 10, 10}, {0, 0, 0, 0}, FALSE},
      // an empty rectangle takes no part in a union
      {{3, 3, 3, 8}, {1, 1, 2, 2}, {0, 0, 0, 0}, FALSE, {1, 1, 2, 2}, {0, 0, 0, 0}, FALSE},
  };
  for (const CombineCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a.left << "," << c.a.top << "," << c.a.right << "," << c.a.bottom);
    CRect out(99, 99, 99, 99);
    EXPECT_EQ(out.IntersectRect(&c.a, &c.b), c.intersects);
    EXPECT_EQ(out, c.intersection);
    EXPECT_EQ(CRect(c.a) & c.b, c.intersection);
    out.UnionRect(&c.a, &c.b);
    EXPECT_EQ(out, c.unionRect);
    EXPECT_EQ(CRect(c.a) | c.b, c.unionRect);
    EXPECT_EQ(::SubtractRect(&out, &c.a, &c.b), c.differenceNonEmpty);
    EXPECT_EQ(out, c.difference);
  }
}

TEST(Rect, WindowsHelpersRefuseNullAndWrap) {
  RECT r;
  EXPECT_FALSE(SetRect(nullptr, 1, 2, 3, 4));
  EXPECT_TRUE(IsRectEmpty(nullptr));
  EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
  EXPECT_FALSE(EqualRect(&r, nullptr));
  EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
  SetRect(&r, 0x7FFFFFF0, 0, 0x7FFFFFFF, 1);
  EXPECT_TRUE(OffsetRect(&r, 0x20, 0));  // wraps as the original does, no overflow trap
  EXPECT_LT(r.left, 0);
}

TEST(Rect, PointsAndSizes) {
  CPoint p(3, 4);
  EXPECT_EQ(p + CSize(1, 1), CPoint(4, 5));
  EXPECT_EQ(p - CPoint(1, 2), CSize(2, 2));
  EXPECT_EQ(-p, CPoint(-3, -4));
  p.Offset(-3, -4);
  EXPECT_EQ(p, CPoint(0, 0));
  // Packed mouse coordinates are signed 16-bit halves.
  EXPECT_EQ(CPoint(static_cast<DWORD>(MAKELONG(-2, 7))), CPoint(-2, 7));
  CSize s(2, 3);
  s += CSize(1, 1);
  EXPECT_EQ(s, CSize(3, 4));
  EXPECT_EQ(-s, CSize(-3, -4));
  EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
  CRect r(1, 2, 3, 4);
  LPCRECT asRect = r;
  EXPECT_EQ(asRect->right, 3);
  EXPECT_TRUE(::EqualRect(r, asRect));
}

}  // namespace
