// CPoint, CSize and CRect: the framework's value classes over POINT, SIZE and RECT.
// They add no data, so a CRect can be passed wherever a RECT* is taken.
#pragma once
#include "RectApi.h"
#include "WinTypes.h"

class CRect;

class CSize : public tagSIZE {
 public:
  CSize() : tagSIZE{0, 0} {}
  CSize(int initCX, int initCY) : tagSIZE{initCX, initCY} {}
  CSize(SIZE initSize) : tagSIZE(initSize) {}
  CSize(POINT initPt) : tagSIZE{initPt.x, initPt.y} {}
  CSize(DWORD dwSize) : tagSIZE{(short)LOWORD(dwSize), (short)HIWORD(dwSize)} {}

  BOOL operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
  BOOL operator!=(SIZE size) const { return !(*this == size); }
  void operator+=(SIZE size);
  void operator-=(SIZE size);
  CSize operator+(SIZE size) const;
  CSize operator-(SIZE size) const;
  CSize operator-() const;
  class CPoint operator+(POINT point) const;
  class CPoint operator-(POINT point) const;
  CRect operator+(const RECT* lpRect) const;
  CRect operator-(const RECT* lpRect) const;
};

class CPoint : public tagPOINT {
 public:
  CPoint() : tagPOINT{0, 0} {}
  CPoint(int initX, int initY) : tagPOINT{initX, initY} {}
  CPoint(POINT initPt) : tagPOINT(initPt) {}
  CPoint(SIZE initSize) : tagPOINT{initSize.cx, initSize.cy} {}
  // The packed form of mouse messages: signed x in the low word, y in the high word.
  CPoint(DWORD dwPoint) : tagPOINT{(short)LOWORD(dwPoint), (short)HIWORD(dwPoint)} {}

  void Offset(int xOffset, int yOffset);
  void Offset(POINT point) { Offset(point.x, point.y); }
  void Offset(SIZE size) { Offset(size.cx, size.cy); }

  BOOL operator==(POINT point) const { return x == point.x && y == point.y; }
  BOOL operator!=(POINT point) const { return !(*this == point); }
  void operator+=(SIZE size) { Offset(size); }
  void operator-=(SIZE size) { Offset(-size.cx, -size.cy); }
  void operator+=(POINT point) { Offset(point); }
  void operator-=(POINT point) { Offset(-point.x, -point.y); }
  CPoint operator+(SIZE size) const;
  CPoint operator-(SIZE size) const;
  CPoint operator+(POINT point) const;
  CSize operator-(POINT point) const;
  CPoint operator-() const;
  CRect operator+(const RECT* lpRect) const;
  CRect operator-(const RECT* lpRect) const;
};

class CRect : public tagRECT {
 public:
  CRect() : tagRECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : tagRECT{l, t, r, b} {}
  CRect(const RECT& srcRect) : tagRECT(srcRect) {}
  CRect(const RECT* lpSrcRect);
  CRect(POINT point, SIZE size) : tagRECT{point.x, point.y, point.x + size.cx, point.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : tagRECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  void SwapLeftRight();

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
  BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

  void SetRect(int x1, int y1, int x2, int y2) { ::SetRect(this, x1, y1, x2, y2); }
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { ::SetRectEmpty(this); }
  void CopyRect(const RECT* lpSrcRect) { ::CopyRect(this, lpSrcRect); }
  BOOL EqualRect(const RECT* lpRect) const { return ::EqualRect(this, lpRect); }

  void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
  void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
  void InflateRect(const RECT* lpRect);
  void InflateRect(int l, int t, int r, int b);
  void DeflateRect(int x, int y) { InflateRect(-x, -y); }
  void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
  void DeflateRect(const RECT* lpRect);
  void DeflateRect(int l, int t, int r, int b);
  void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
  void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
  void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
  void NormalizeRect();

  BOOL IntersectRect(const RECT* lpRect1, const RECT* lpRect2) { return ::IntersectRect(this, lpRect1, lpRect2); }
  BOOL UnionRect(const RECT* lpRect1, const RECT* lpRect2) { return ::UnionRect(this, lpRect1, lpRect2); }
  BOOL SubtractRect(const RECT* lpRectSrc1, const RECT* lpRectSrc2) {
    return ::SubtractRect(this, lpRectSrc1, lpRectSrc2);
  }

  CRect& operator=(const RECT& srcRect);
  BOOL operator==(const RECT& rect) const { return ::EqualRect(this, &rect); }
  BOOL operator!=(const RECT& rect) const { return !::EqualRect(this, &rect); }
  void operator+=(POINT point) { OffsetRect(point); }
  void operator+=(SIZE size) { OffsetRect(size); }
  void operator+=(const RECT* lpRect) { InflateRect(lpRect); }
  void operator-=(POINT point) { OffsetRect(-point.x, -point.y); }
  void operator-=(SIZE size) { OffsetRect(-size.cx, -size.cy); }
  void operator-=(const RECT* lpRect) { DeflateRect(lpRect); }
  void operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); }
  void operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); }

  CRect operator+(POINT point) const;
  CRect operator-(POINT point) const;
  CRect operator+(SIZE size) const;
  CRect operator-(SIZE size) const;
  CRect operator+(const RECT* lpRect) const;
  CRect operator-(const RECT* lpRect) const;
  CRect operator&(const RECT& rect2) const;
  CRect operator|(const RECT& rect2) const;
};
