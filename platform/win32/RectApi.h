// The rectangle and point helpers of the Win32 API. Rectangles are half-open: the
// right and bottom edges are outside. Arithmetic wraps at 32 bits as on the original
// platform instead of overflowing.
#pragma once
#include "WinTypes.h"

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom);
BOOL SetRectEmpty(LPRECT lprc);
BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc);
BOOL IsRectEmpty(const RECT* lprc);
BOOL PtInRect(const RECT* lprc, POINT pt);
BOOL EqualRect(const RECT* lprc1, const RECT* lprc2);
BOOL OffsetRect(LPRECT lprc, int dx, int dy);
BOOL InflateRect(LPRECT lprc, int dx, int dy);
// FALSE, and an empty destination, when the two do not overlap.
BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
// Src1 less Src2, where that leaves a rectangle; otherwise Src1 unchanged.
BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2);
