#include "RectApi.h"

namespace {

LONG Add(LONG a, LONG b) { return static_cast<LONG>(static_cast<DWORD>(a) + static_cast<DWORD>(b)); }
LONG Sub(LONG a, LONG b) { return static_cast<LONG>(static_cast<DWORD>(a) - static_cast<DWORD>(b)); }

}  // namespace

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom) {
  if (lprc == nullptr) return FALSE;
  *lprc = RECT{xLeft, yTop, xRight, yBottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc) { return SetRect(lprc, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc) {
  if (lprcDst == nullptr || lprcSrc == nullptr) return FALSE;
  *lprcDst = *lprcSrc;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc) {
  return lprc == nullptr || lprc->right <= lprc->left || lprc->bottom <= lprc->top;
}

BOOL PtInRect(const RECT* lprc, POINT pt) {
  if (lprc == nullptr) return FALSE;
  return pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top && pt.y < lprc->bottom;
}

BOOL EqualRect(const RECT* lprc1, const RECT* lprc2) {
  if (lprc1 == nullptr || lprc2 == nullptr) return FALSE;
  return lprc1->left == lprc2->left && lprc1->top == lprc2->top && lprc1->right == lprc2->right &&
         lprc1->bottom == lprc2->bottom;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) return FALSE;
  lprc->left = Add(lprc->left, dx);
  lprc->right = Add(lprc->right, dx);
  lprc->top = Add(lprc->top, dy);
  lprc->bottom = Add(lprc->bottom, dy);
  return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy) {
  if (lprc == nullptr) return FALSE;
  lprc->left = Sub(lprc->left, dx);
  lprc->right = Add(lprc->right, dx);
  lprc->top = Sub(lprc->top, dy);
  lprc->bottom = Add(lprc->bottom, dy);
  return TRUE;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
  if (IsRectEmpty(lprcSrc1) || IsRectEmpty(lprcSrc2) || lprcSrc1->left >= lprcSrc2->right ||
      lprcSrc2->left >= lprcSrc1->right || lprcSrc1->top >= lprcSrc2->bottom ||
      lprcSrc2->top >= lprcSrc1->bottom) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  RECT r;
  r.left = lprcSrc1->left > lprcSrc2->left ? lprcSrc1->left : lprcSrc2->left;
  r.right = lprcSrc1->right < lprcSrc2->right ? lprcSrc1->right : lprcSrc2->right;
  r.top = lprcSrc1->top > lprcSrc2->top ? lprcSrc1->top : lprcSrc2->top;
  r.bottom = lprcSrc1->bottom < lprcSrc2->bottom ? lprcSrc1->bottom : lprcSrc2->bottom;
  *lprcDst = r;
  return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
  bool empty1 = IsRectEmpty(lprcSrc1);
  bool empty2 = IsRectEmpty(lprcSrc2);
  if (empty1 && empty2) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  if (empty1) {
    *lprcDst = *lprcSrc2;
    return TRUE;
  }
  if (empty2) {
    *lprcDst = *lprcSrc1;
    return TRUE;
  }
  RECT r;
  r.left = lprcSrc1->left < lprcSrc2->left ? lprcSrc1->left : lprcSrc2->left;
  r.right = lprcSrc1->right > lprcSrc2->right ? lprcSrc1->right : lprcSrc2->right;
  r.top = lprcSrc1->top < lprcSrc2->top ? lprcSrc1->top : lprcSrc2->top;
  r.bottom = lprcSrc1->bottom > lprcSrc2->bottom ? lprcSrc1->bottom : lprcSrc2->bottom;
  *lprcDst = r;
  return TRUE;
}

BOOL SubtractRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2) {
  if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr) return FALSE;
  if (IsRectEmpty(lprcSrc1)) {
    SetRectEmpty(lprcDst);
    return FALSE;
  }
  RECT result = *lprcSrc1;
  RECT overlap;
  if (IntersectRect(&overlap, lprcSrc1, lprcSrc2)) {
    if (EqualRect(&overlap, lprcSrc1)) {
      SetRectEmpty(lprcDst);
      return FALSE;
    }
    // Only a cut across the whole width or height leaves a rectangle.
    if (overlap.top == result.top && overlap.bottom == result.bottom) {
      if (overlap.left == result.left) {
        result.left = overlap.right;
      } else if (overlap.right == result.right) {
        result.right = overlap.left;
      }
    } else if (overlap.left == result.left && overlap.right == result.right) {
      if (overlap.top == result.top) {
        result.top = overlap.bottom;
      } else if (overlap.bottom == result.bottom) {
        result.bottom = overlap.top;
      }
    }
  }
  *lprcDst = result;
  return TRUE;
}
