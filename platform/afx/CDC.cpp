#include "CDC.h"

#include "CWnd.h"
#include "Faults.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace plat::afx {
std::unique_ptr<CDC> DcTraits::MakeTemporary(HDC) { return std::make_unique<CDC>(); }
void DcTraits::Set(CDC& dc, HDC h) { dc.m_hDC = dc.m_hAttribDC = h; }
void DcTraits::Clear(CDC& dc) { dc.m_hDC = dc.m_hAttribDC = nullptr; }
}  // namespace plat::afx

using plat::afx::Thread;

namespace {
// The point a "set" or "offset" call reports as the one before.
CPoint OldPoint(BOOL (*set)(HDC, int, int, LPPOINT), HDC hdc, int x, int y) {
  POINT old{};
  set(hdc, x, y, &old);
  return CPoint(old);
}
CPoint QueriedPoint(BOOL (*get)(HDC, LPPOINT), HDC hdc) {
  POINT p{};
  get(hdc, &p);
  return CPoint(p);
}
}  // namespace

CDC::~CDC() {
  if (m_hDC) DeleteDC();
}

HDC CDC::GetSafeHdc() const {
  const CDC* self = plat::afx::Unassumed(this);
  return self ? self->m_hDC : nullptr;
}

CDC* CDC::FromHandle(HDC hDC) { return Thread().dcs.FromHandle(hDC); }
void CDC::DeleteTempMap() { Thread().dcs.DeleteTemp(); }

BOOL CDC::Attach(HDC hDC) {
  if (!hDC || plat::faults::Check("CDC::Attach")) return FALSE;
  m_hDC = m_hAttribDC = hDC;
  Thread().dcs.SetPermanent(hDC, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  Thread().dcs.Forget(h, this);
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CPoint CDC::SetBrushOrg(int x, int y) { return OldPoint(&::SetBrushOrgEx, m_hDC, x, y); }

CPoint CDC::SetWindowOrg(int x, int y) { return OldPoint(&::SetWindowOrgEx, m_hDC, x, y); }

CPoint CDC::GetWindowOrg() const { return QueriedPoint(&::GetWindowOrgEx, m_hAttribDC); }

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) { return OldPoint(&::OffsetWindowOrgEx, m_hDC, nWidth, nHeight); }

CPoint CDC::SetViewportOrg(int x, int y) { return OldPoint(&::SetViewportOrgEx, m_hDC, x, y); }

CPoint CDC::GetViewportOrg() const { return QueriedPoint(&::GetViewportOrgEx, m_hAttribDC); }

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) { return OldPoint(&::OffsetViewportOrgEx, m_hDC, nWidth, nHeight); }

CPoint CDC::MoveTo(int x, int y) { return OldPoint(&::MoveToEx, m_hDC, x, y); }

CPoint CDC::GetCurrentPosition() const { return QueriedPoint(&::GetCurrentPositionEx, m_hAttribDC); }

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  SIZE size{};
  ::GetTextExtentPoint32A(m_hAttribDC, lpszString, nCount, &size);
  return CSize(size);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
  ::SetBkColor(m_hDC, clr);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
             clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
  FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
  FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
  FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

CBrush* CDC::GetHalftoneBrush() {
  // One brush per thread: a checkerboard of black and white pixels.
  struct Halftone {
    HBRUSH brush = nullptr;
    Halftone() {
      WORD pattern[8];
      for (int i = 0; i < 8; ++i) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
      HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
      if (bitmap) brush = ::CreatePatternBrush(bitmap);
      ::DeleteObject(bitmap);
    }
    ~Halftone() {
      if (brush) ::DeleteObject(brush);
    }
  };
  thread_local Halftone halftone;
  return CBrush::FromHandle(halftone.brush);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
  if (!pBrush) pBrush = GetHalftoneBrush();
  if (!pBrushLast) pBrushLast = pBrush;
  CRgn rgnOutside, rgnInside, rgnNew, rgnLast, rgnUpdate;
  // The frame now: the rectangle less its inside.
  CRect rect(lpRect);
  rgnOutside.CreateRectRgnIndirect(&rect);
  rect.InflateRect(-size.cx, -size.cy);
  rect.IntersectRect(&rect, lpRect);
  rgnInside.CreateRectRgnIndirect(&rect);
  rgnNew.CreateRectRgn(0, 0, 0, 0);
  rgnNew.CombineRgn(&rgnOutside, &rgnInside, RGN_XOR);
  CBrush* pBrushOld = nullptr;
  if (lpRectLast) {
    // The frame before, to be taken away where it differs.
    CRect last(lpRectLast);
    rgnLast.CreateRectRgnIndirect(&last);
    last.InflateRect(-sizeLast.cx, -sizeLast.cy);
    last.IntersectRect(&last, lpRectLast);
    CRgn rgnLastInside;
    rgnLastInside.CreateRectRgnIndirect(&last);
    rgnLast.CombineRgn(&rgnLast, &rgnLastInside, RGN_XOR);
    if (CGdiObject::SafeHandleOf(pBrush) == CGdiObject::SafeHandleOf(pBrushLast)) {
      rgnUpdate.CreateRectRgn(0, 0, 0, 0);
      rgnUpdate.CombineRgn(&rgnLast, &rgnNew, RGN_XOR);
    } else {
      SelectClipRgn(&rgnLast);
      GetClipBox(&last);
      pBrushOld = SelectObject(pBrushLast);
      PatBlt(last.left, last.top, last.Width(), last.Height(), PATINVERT);
      SelectObject(pBrushOld);
      pBrushOld = nullptr;
    }
  }
  CRgn* pUpdate = rgnUpdate.GetSafeHandle() ? &rgnUpdate : &rgnNew;
  SelectClipRgn(pUpdate);
  GetClipBox(&rect);
  pBrushOld = SelectObject(pBrush);
  PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATINVERT);
  if (pBrushOld) SelectObject(pBrushOld);
  SelectClipRgn(nullptr);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(CWnd::SafeHwndOf(pWnd)) {
  if (!Attach(::GetDC(m_hWnd))) AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(CWnd::SafeHwndOf(pWnd)) {
  if (!Attach(::BeginPaint(m_hWnd, &m_ps))) AfxThrowResourceException();
}

CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(CWnd::SafeHwndOf(pWnd)) {
  if (!Attach(::GetWindowDC(m_hWnd))) AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
