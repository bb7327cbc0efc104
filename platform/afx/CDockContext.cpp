#include "afxwin.h"
#include "CDockContext.h"

#include "CDockBar.h"
#include "CMiniDockFrameWnd.h"
#include "CWinApp.h"

namespace {

bool Horz(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0; }
bool Vert(DWORD style) { return (style & CBRS_ORIENT_VERT) != 0; }

// Moves `rect` the least so that `pt` lies inside it.
void AdjustRectangle(CRect& rect, CPoint pt) {
  int dx = pt.x < rect.left ? pt.x - rect.left : pt.x > rect.right ? pt.x - rect.right : 0;
  int dy = pt.y < rect.top ? pt.y - rect.top : pt.y > rect.bottom ? pt.y - rect.bottom : 0;
  rect.OffsetRect(dx, dy);
}

}  // namespace

namespace plat::afx {
BOOL RunTrackLoop(HWND capture, const TrackHandlers& h) {
  while (::GetCapture() == capture) {
    MSG msg;
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // the application still ends
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        h.move(msg.pt);
        continue;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        h.end();
        return TRUE;
      case WM_RBUTTONDOWN:
      case WM_NCRBUTTONDOWN:
        h.cancel();
        return FALSE;
      case WM_KEYDOWN:
      case WM_KEYUP:
        h.key(static_cast<UINT>(msg.wParam), msg.message == WM_KEYDOWN);
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
          h.cancel();
          return FALSE;
        }
        continue;
      default:
        ::DispatchMessageA(&msg);
    }
  }
  h.cancel();
  return FALSE;
}
}  // namespace plat::afx

CDockContext::CDockContext(CControlBar* pBar) : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite) {
  m_rectMRUDockPos.SetRectEmpty();
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC)
    m_dwMRUFloatStyle = pBar->m_dwStyle & (CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
  else if (Horz(pBar->m_dwStyle))
    m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (pBar->m_dwStyle & CBRS_FLOAT_MULTI);
  else
    m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (pBar->m_dwStyle & CBRS_FLOAT_MULTI);
  m_ptMRUFloatPos.x = CW_USEDEFAULT;  // no floating place yet
}

CDockContext::~CDockContext() {
  if (m_pDC) CancelLoop();
}

void CDockContext::InitLoop() {
  // Pending paints first, so the outline is drawn over what the windows will show.
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
  if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
  m_dwDockStyle = m_pBar->m_dwDockStyle;
  m_dwStyle = m_pBar->m_dwStyle & CBRS_ALIGN_ANY;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  m_bForceFrame = m_bFlip = m_bDitherLast = FALSE;
  // The outline goes on the desktop, over every window, which stays still meanwhile.
  CWnd* desktop = CWnd::GetDesktopWindow();
  HWND hDesktop = CWnd::SafeHwndOf(desktop);
  HDC hdc = ::LockWindowUpdate(hDesktop) ? ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE)
                                         : ::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE);
  m_pDC = hdc ? CDC::FromHandle(hdc) : nullptr;
}

void CDockContext::CancelLoop() {
  if (m_pDC) DrawFocusRect(TRUE);
  ::ReleaseCapture();
  ::LockWindowUpdate(nullptr);
  if (m_pDC) {
    ::ReleaseDC(::GetDesktopWindow(), m_pDC->m_hDC);
    m_pDC = nullptr;
  }
}

void CDockContext::StartDrag(CPoint pt) {
  m_bDragging = TRUE;
  InitLoop();
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    CSize horz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
    CSize vert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
    CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(rect.TopLeft(), horz);
    m_rectDragVert = CRect(rect.TopLeft(), vert);
    m_rectFrameDragHorz = CRect(rect.TopLeft(), floating);
    m_rectFrameDragVert = CRect(rect.TopLeft(), floating);
  } else if (m_pBar->m_dwStyle & CBRS_SIZE_FIXED) {
    CSize horz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    CSize vert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectFrameDragHorz = m_rectDragHorz = CRect(rect.TopLeft(), horz);
    m_rectFrameDragVert = m_rectDragVert = CRect(rect.TopLeft(), vert);
  } else {
    // A bar of one shape: turned round the pointer for the other orientation.
    BOOL horz = Horz(m_dwStyle);
    CSize size = m_pBar->CalcDynamicLayout(-1, horz ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK));
    if (horz) {
      m_rectDragHorz = rect;
      m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), size);
    } else {
      m_rectDragVert = rect;
      m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), size);
    }
    m_rectFrameDragHorz = m_rectDragHorz;
    m_rectFrameDragVert = m_rectDragVert;
  }
  CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz);
  CMiniFrameWnd::CalcBorders(&m_rectFrameDragVert);
  m_rectFrameDragHorz.InflateRect(-plat::afx::BarBorderX(), -plat::afx::BarBorderY());
  m_rectFrameDragVert.InflateRect(-plat::afx::BarBorderX(), -plat::afx::BarBorderY());
  AdjustRectangle(m_rectDragHorz, pt);
  AdjustRectangle(m_rectDragVert, pt);
  AdjustRectangle(m_rectFrameDragHorz, pt);
  AdjustRectangle(m_rectFrameDragVert, pt);
  m_dwOverDockStyle = CanDock();
  Move(pt);
  Track();
}

void CDockContext::Move(CPoint pt) {
  CPoint offset = pt - m_ptLast;
  m_rectDragHorz.OffsetRect(offset);
  m_rectFrameDragHorz.OffsetRect(offset);
  m_rectDragVert.OffsetRect(offset);
  m_rectFrameDragVert.OffsetRect(offset);
  m_ptLast = pt;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown) {
  if (nChar == VK_CONTROL) UpdateState(&m_bForceFrame, bDown);
  if (nChar == VK_SHIFT) UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue) {
  if (*pFlag == bNewValue) return;
  *pFlag = bNewValue;
  // Shift turns the bar round only when it may dock both ways.
  m_bFlip = Horz(m_dwDockStyle) && Vert(m_dwDockStyle) && m_bFlip;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

DWORD CDockContext::CanDock() {
  if (!m_pDockSite) return 0;
  bool horzStyle = Horz(m_dwStyle);
  if (m_bFlip) horzStyle = !horzStyle;
  DWORD dock = 0;
  if (horzStyle && Horz(m_dwDockStyle))
    dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
  else if (Vert(m_dwDockStyle))
    dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
  if (!m_bFlip) {
    // In the other orientation the bar docks only where both of its shapes agree.
    if (dock == 0 && Horz(m_dwDockStyle)) {
      DWORD other = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
      dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
      dock = dock == other ? dock : 0;
    }
    if (dock == 0 && Vert(m_dwDockStyle)) {
      DWORD other = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
      dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
      dock = dock == other ? dock : 0;
    }
  }
  return dock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle) {
  if (!m_pDockSite) return nullptr;
  CDockBar* dock = nullptr;
  if (Horz(dwOverDockStyle))
    m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &dock);
  if (!dock && Vert(dwOverDockStyle))
    m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &dock);
  return dock;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (!m_pDC) return;
  CSize size(1, 1);
  CRect rect;
  CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  CBrush* dither = CDC::GetHalftoneBrush();
  CBrush* brush = white;
  if (Horz(m_dwOverDockStyle)) {
    rect = m_rectDragHorz;
  } else if (Vert(m_dwOverDockStyle)) {
    rect = m_rectDragVert;
  } else {
    // Floating: the frame's thick outline.
    size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
    rect = (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip) ? m_rectFrameDragHorz : m_rectFrameDragVert;
    brush = dither;
  }
  if (bRemoveRect) size = CSize(0, 0);
  if (plat::afx::IsWin4() && (Horz(m_dwOverDockStyle) || Vert(m_dwOverDockStyle))) rect.InflateRect(-1, -1);
  m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, brush, m_bDitherLast ? dither : white);
  m_rectLast = rect;
  m_sizeLast = size;
  m_bDitherLast = brush == dither;
}

BOOL CDockContext::Track() {
  if (::GetCapture()) return FALSE;
  m_pBar->SetCapture();
  return plat::afx::RunTrackLoop(m_pBar->m_hWnd, {
      [this](CPoint pt) { m_bDragging ? Move(pt) : Stretch(pt); },
      [this] { m_bDragging ? EndDrag() : EndResize(); },
      [this](UINT nChar, BOOL bDown) {
        if (m_bDragging) OnKey(static_cast<int>(nChar), bDown);
      },
      [this] { CancelLoop(); }});
}

void CDockContext::EndDrag() {
  CancelLoop();
  if (m_dwOverDockStyle != 0) {
    CDockBar* dock = GetDockBar(m_dwOverDockStyle);
    if (dock) {
      CRect rect = Horz(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
      // Remember where it docked, for docking it there again.
      UINT id = static_cast<UINT>(dock->GetDlgCtrlID());
      if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
        m_uMRUDockID = id;
        m_rectMRUDockPos = rect;
        dock->ScreenToClient(&m_rectMRUDockPos);
      }
      m_pDockSite->DockControlBar(m_pBar, dock, &rect);
      m_pDockSite->RecalcLayout();
      m_bDragging = FALSE;
      return;
    }
  }
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip)) {
    m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
  } else {
    m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
  }
  if (m_pDockSite) m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
  m_bDragging = FALSE;
}

void CDockContext::StartResize(int nHitTest, CPoint pt) {
  m_bDragging = FALSE;
  InitLoop();
  m_ptLast = pt;
  m_nHitTest = nHitTest;
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  m_rectDragHorz = CRect(rect.TopLeft(), size);
  m_rectDragVert = m_rectDragHorz;
  m_rectFrameDragHorz = m_rectDragHorz;
  CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz);
  m_rectFrameDragHorz.InflateRect(-plat::afx::BarBorderX(), -plat::afx::BarBorderY());
  // The thickness of the frame round the bar, to rebuild the frame from the bar.
  m_rectFrameDragVert = CRect(0, 0, m_rectFrameDragHorz.right - m_rectDragHorz.right + m_rectDragHorz.left -
                                        m_rectFrameDragHorz.left,
                              m_rectFrameDragHorz.bottom - m_rectDragHorz.bottom + m_rectDragHorz.top -
                                  m_rectFrameDragHorz.top);
  m_dwOverDockStyle = 0;
  Stretch(pt);
  Track();
}

void CDockContext::Stretch(CPoint pt) {
  // The requested rectangle follows the mouse; the bar says what it makes of the
  // length, and the outline shows that, anchored at the edge that does not move.
  CPoint offset = pt - m_ptLast;
  const bool left = m_nHitTest == HTLEFT, top = m_nHitTest == HTTOP;
  int length = 0;
  DWORD mode = LM_HORZ;
  if (m_nHitTest == HTLEFT || m_nHitTest == HTRIGHT) {
    (left ? m_rectDragHorz.left : m_rectDragHorz.right) += offset.x;
    length = m_rectDragHorz.Width();
  } else {
    mode |= LM_LENGTHY;
    (top ? m_rectDragHorz.top : m_rectDragHorz.bottom) += offset.y;
    length = m_rectDragHorz.Height();
  }
  CSize size = m_pBar->CalcDynamicLayout(std::max(length, 0), mode | LM_COMMIT);
  const int borderX = m_rectFrameDragVert.right, borderY = m_rectFrameDragVert.bottom;
  CRect& frame = m_rectFrameDragHorz;
  if (left)
    frame.left = frame.right - (size.cx + borderX);
  else
    frame.right = frame.left + size.cx + borderX;
  if (top)
    frame.top = frame.bottom - (size.cy + borderY);
  else
    frame.bottom = frame.top + size.cy + borderY;
  CRect& actual = m_rectDragVert;
  if (left)
    actual.left = actual.right - size.cx;
  else
    actual.right = actual.left + size.cx;
  if (top)
    actual.top = actual.bottom - size.cy;
  else
    actual.bottom = actual.top + size.cy;
  m_ptLast = pt;
  DrawFocusRect();
}

void CDockContext::EndResize() {
  CancelLoop();
  m_pBar->CalcDynamicLayout(m_rectDragVert.Width(), LM_HORZ | LM_COMMIT);
  if (m_pDockSite)
    m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(),
                                 CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) | CBRS_SIZE_DYNAMIC);
}

void CDockContext::ToggleDocking() {
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;  // it may not dock
    // Back to where it was docked last.
    CRect rect = m_rectMRUDockPos;
    CDockBar* dock = nullptr;
    if (m_uMRUDockID != 0 && m_pDockSite) {
      dock = static_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
      if (dock) dock->ClientToScreen(&rect);
    }
    if (m_pDockSite) {
      m_pDockSite->ReDockControlBar(m_pBar, dock, &rect);
      m_pDockSite->RecalcLayout();
    }
  } else if (m_pDockSite) {
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0) {
      pt = m_rectMRUDockPos.TopLeft();
      if (CWnd* parent = m_pBar->GetParent()) parent->ClientToScreen(&pt);
    }
    m_pDockSite->FloatControlBar(m_pBar, pt, m_dwMRUFloatStyle);
  }
}
