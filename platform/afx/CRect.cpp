#include "CRect.h"

#include <utility>

namespace {

CRect MovedRect(const RECT* lpRect, int dx, int dy) {
  CRect rect(lpRect);
  rect.OffsetRect(dx, dy);
  return rect;
}

}  // namespace

void CSize::operator+=(SIZE size) {
  cx += size.cx;
  cy += size.cy;
}

void CSize::operator-=(SIZE size) {
  cx -= size.cx;
  cy -= size.cy;
}

CSize CSize::operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
CSize CSize::operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
CSize CSize::operator-() const { return CSize(-cx, -cy); }
CPoint CSize::operator+(POINT point) const { return CPoint(cx + point.x, cy + point.y); }
CPoint CSize::operator-(POINT point) const { return CPoint(cx - point.x, cy - point.y); }

CRect CSize::operator+(const RECT* lpRect) const { return MovedRect(lpRect, cx, cy); }

CRect CSize::operator-(const RECT* lpRect) const { return MovedRect(lpRect, -cx, -cy); }

void CPoint::Offset(int xOffset, int yOffset) {
  x += xOffset;
  y += yOffset;
}

CPoint CPoint::operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
CPoint CPoint::operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
CPoint CPoint::operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
CSize CPoint::operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
CPoint CPoint::operator-() const { return CPoint(-x, -y); }

CRect CPoint::operator+(const RECT* lpRect) const { return MovedRect(lpRect, x, y); }

CRect CPoint::operator-(const RECT* lpRect) const { return MovedRect(lpRect, -x, -y); }

CRect::CRect(const RECT* lpSrcRect) : tagRECT{0, 0, 0, 0} {
  if (lpSrcRect != nullptr) *static_cast<RECT*>(this) = *lpSrcRect;
}

void CRect::SwapLeftRight() { std::swap(left, right); }

void CRect::InflateRect(const RECT* lpRect) {
  if (lpRect != nullptr) InflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::InflateRect(int l, int t, int r, int b) {
  left -= l;
  top -= t;
  right += r;
  bottom += b;
}

void CRect::DeflateRect(const RECT* lpRect) {
  if (lpRect != nullptr) DeflateRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CRect::DeflateRect(int l, int t, int r, int b) {
  left += l;
  top += t;
  right -= r;
  bottom -= b;
}

void CRect::NormalizeRect() {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

CRect& CRect::operator=(const RECT& srcRect) {
  *static_cast<RECT*>(this) = srcRect;
  return *this;
}

CRect CRect::operator+(POINT point) const { return MovedRect(this, point.x, point.y); }

CRect CRect::operator-(POINT point) const { return MovedRect(this, -point.x, -point.y); }

CRect CRect::operator+(SIZE size) const { return MovedRect(this, size.cx, size.cy); }

CRect CRect::operator-(SIZE size) const { return MovedRect(this, -size.cx, -size.cy); }

CRect CRect::operator+(const RECT* lpRect) const {
  CRect rect(*this);
  rect.InflateRect(lpRect);
  return rect;
}

CRect CRect::operator-(const RECT* lpRect) const {
  CRect rect(*this);
  rect.DeflateRect(lpRect);
  return rect;
}

CRect CRect::operator&(const RECT& rect2) const {
  CRect rect;
  ::IntersectRect(&rect, this, &rect2);
  return rect;
}

CRect CRect::operator|(const RECT& rect2) const {
  CRect rect;
  ::UnionRect(&rect, this, &rect2);
  return rect;
}
