#include "SECDockContext.h"

#include <algorithm>
#include <cstdlib>

#include "SECAuxData.h"
#include "SECControlBar.h"
#include "SECCustomToolBar.h"
#include "SECResourceIds.h"
#include "framework/SECFrameWnd.h"
#include "framework/SECMDIFrameWnd.h"

namespace {

bool Horz(DWORD style) { return (style & CBRS_ORIENT_HORZ) != 0; }
bool Vert(DWORD style) { return (style & CBRS_ORIENT_VERT) != 0; }

void ToMainWindow(WPARAM wParam) {
  if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd) main->SendMessage(WM_SETMESSAGESTRING, wParam);
}

// Moves `rect` so that `pt` lies inside: by the distance when the point lies before
// it, so that the far edge lies a border width past the point when it lies beyond.
void AdjustToPoint(CRect& rect, CPoint pt) {
  const int bx = secData.cxBorder2, by = secData.cyBorder2;
  if (pt.x < rect.left)
    rect.OffsetRect(pt.x - rect.left, 0);
  else if (pt.x > rect.right)
    rect.OffsetRect(pt.x + bx - rect.right, 0);
  if (pt.y < rect.top)
    rect.OffsetRect(0, pt.y - rect.top);
  else if (pt.y > rect.bottom)
    rect.OffsetRect(0, pt.y + by - rect.bottom);
}

// A dock bar's window rectangle, an empty one still a line along its edge.
CRect DockArea(CDockBar* dock) {
  CRect area;
  dock->GetWindowRect(&area);
  if (area.Width() == 0) ++area.right;
  if (area.Height() == 0) ++area.bottom;
  return area;
}

// The floating frame's borders, unless the bar floats in a small frame without caption.
bool WantsFrameBorders(CControlBar* bar) {
  if (!bar->IsFloating()) return true;
  CFrameWnd* frame = bar->GetParentFrame();
  return !(frame && frame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)) && !(frame->GetStyle() & WS_CAPTION));
}

}  // namespace

SECDockContext::SECDockContext(CControlBar* pBar)
    : CDockContext(pBar),
      m_sizeMinFloat(::GetSystemMetrics(SM_CXMENUSIZE) + 2 * (::GetSystemMetrics(SM_CXFRAME) + ::GetSystemMetrics(SM_CXBORDER)),
                     ::GetSystemMetrics(SM_CYSMCAPTION) + 2 * (::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYBORDER))),
      m_sizeMaxFloat(::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)) {
  m_rectInsertion.SetRectEmpty();
}

SECDockContext::~SECDockContext() {
  if (m_pDC) CancelLoop();
  // A bar leaves its dock bar with its dock context.
  if (CDockBar* dock = m_pBar->m_pDockBar) {
    if (auto* secDock = dynamic_cast<SECDockBar*>(dock))
      secDock->RemoveControlBar(m_pBar, -1, 0);
    else
      dock->CDockBar::RemoveControlBar(m_pBar, -1, 0);
    m_pBar->m_pDockBar = nullptr;
  }
}

BOOL SECDockContext::MovedFarEnough() const {
  return std::abs(m_ptLast.x - m_ptStart.x) + std::abs(m_ptLast.y - m_ptStart.y) > 4;
}

BOOL SECDockContext::IsFreelySizable() const {
  return dynamic_cast<SECControlBar*>(m_pBar) && !(m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC);
}

CPoint SECDockContext::FloatPosition(CPoint topLeft) const {
  if (!dynamic_cast<SECCustomToolBar*>(m_pBar)) topLeft.Offset(-secData.cxBorder2, -secData.cyBorder2);
  return topLeft;
}

// ---- the frame's operations: the library's frames have their own

void SECDockContext::DockThroughFrame(CDockBar* pDockBar, LPCRECT lpRect) {
  if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite))
    mdi->DockControlBar(m_pBar, pDockBar, lpRect);
  else if (auto* frame = dynamic_cast<SECFrameWnd*>(m_pDockSite))
    frame->DockControlBar(m_pBar, pDockBar, lpRect);
  else
    m_pDockSite->DockControlBar(m_pBar, pDockBar, lpRect);
}

void SECDockContext::ReDockThroughFrame(CDockBar* pDockBar, LPCRECT lpRect) {
  if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite))
    mdi->ReDockControlBar(m_pBar, pDockBar, lpRect);
  else if (auto* frame = dynamic_cast<SECFrameWnd*>(m_pDockSite))
    frame->ReDockControlBar(m_pBar, pDockBar, lpRect);
  else
    m_pDockSite->ReDockControlBar(m_pBar, pDockBar, lpRect);
}

void SECDockContext::FloatThroughFrame(CPoint point, DWORD dwStyle) {
  if (auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite))
    mdi->FloatBar(m_pBar, point, dwStyle);
  else if (auto* frame = dynamic_cast<SECFrameWnd*>(m_pDockSite))
    frame->FloatBar(m_pBar, point, dwStyle);
  else
    m_pDockSite->FloatControlBar(m_pBar, point, dwStyle);
}

void SECDockContext::KeepFloatingFrameOnScreen() {
  // A long row floated near the right or bottom edge would take its close box off the
  // screen with it.
  CFrameWnd* frame = m_pBar->IsFloating() ? m_pBar->GetParentFrame() : nullptr;
  if (!frame) return;
  CRect r, work;
  frame->GetWindowRect(&r);
  if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  const CPoint to(std::max(work.left, std::min(r.left, work.right - r.Width())),
                  std::max(work.top, std::min(r.top, work.bottom - r.Height())));
  if (to == r.TopLeft()) return;
  frame->SetWindowPos(nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_ptMRUFloatPos = to;
}

// ---- dragging

void SECDockContext::StartDrag(CPoint pt) {
  m_nInsertionIndex = -1;
  m_ptStart = pt;
  m_bDragging = TRUE;
  m_trackState = SECDockTrackState{};
  ToMainWindow(IDS_SEC_PREVENT_DOCKING);
  InitLoop();
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  const DWORD barStyle = m_pBar->m_dwStyle;
  if (barStyle & CBRS_SIZE_DYNAMIC) {
    m_rectDragHorz = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK));
    m_rectDragVert = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(0, LM_VERTDOCK));
    CSize floating = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectFrameDragHorz = m_rectFrameDragVert = CRect(rect.TopLeft(), floating);
  } else if (barStyle & CBRS_SIZE_FIXED) {
    m_rectFrameDragHorz = m_rectDragHorz = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
    m_rectFrameDragVert = m_rectDragVert = CRect(rect.TopLeft(), m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK));
  } else {
    // One shape turned round the pointer for the other orientation.
    const bool horz = Horz(barStyle);
    CSize other = m_pBar->CalcDynamicLayout(-1, horz ? LM_VERTDOCK : (LM_HORZ | LM_HORZDOCK));
    if (horz) {
      m_rectDragHorz = rect;
      m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), other);
    } else {
      m_rectDragVert = rect;
      m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), other);
    }
    m_rectFrameDragHorz = m_rectDragHorz;
    m_rectFrameDragVert = m_rectDragVert;
  }
  if (WantsFrameBorders(m_pBar)) {
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz, WS_THICKFRAME | WS_CAPTION);
    CMiniFrameWnd::CalcBorders(&m_rectFrameDragVert, WS_THICKFRAME | WS_CAPTION);
  }
  m_rectFrameDragHorz.InflateRect(-secData.cxBorder2, -secData.cyBorder2);
  m_rectFrameDragVert.InflateRect(-secData.cxBorder2, -secData.cyBorder2);
  AdjustToPoint(m_rectDragHorz, pt);
  AdjustToPoint(m_rectDragVert, pt);
  AdjustToPoint(m_rectFrameDragHorz, pt);
  AdjustToPoint(m_rectFrameDragVert, pt);
  m_dwOverDockStyle = CanDock();
  Move(pt);
  Track();
}

void SECDockContext::Move(CPoint pt) {
  CPoint offset = pt - m_ptLast;
  m_rectDragHorz.OffsetRect(offset);
  m_rectFrameDragHorz.OffsetRect(offset);
  m_rectDragVert.OffsetRect(offset);
  m_rectFrameDragVert.OffsetRect(offset);
  m_ptLast = pt;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect(FALSE);
}

DWORD SECDockContext::CanDock() {
  if (!m_pDockSite) return 0;
  bool horzStyle = Horz(m_dwStyle);
  if (m_bFlip) horzStyle = !horzStyle;
  DWORD dock = 0;
  bool found = false;
  if (horzStyle && Horz(m_dwDockStyle)) {
    dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    found = dock != 0;
  } else if (Vert(m_dwDockStyle)) {
    // Docking on a side needs the cursor over that side's dock bar.
    CDockBar* bar = nullptr;
    dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ, &bar);
    if (dock && !(bar && DockArea(bar).PtInRect(m_ptLast))) dock = 0;
    found = dock != 0;
  }
  if (m_bFlip || found) return dock;
  // In the other orientation both shapes must agree on the dock bar's side.
  if (Horz(m_dwDockStyle)) {
    DWORD other = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    dock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
    if (dock == other && dock) return dock;
  }
  if (Vert(m_dwDockStyle)) {
    DWORD other = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    dock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
    if (dock == other) return dock;
  }
  return 0;
}

void SECDockContext::DrawFocusRect(BOOL bRemoveRect) {
  if (!m_pDC) return;
  CSize size(1, 1);
  CRect rect;
  CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  CBrush* dither = CDC::GetHalftoneBrush();
  CBrush* brush = white;
  const bool docking = (Horz(m_dwOverDockStyle) || Vert(m_dwOverDockStyle)) &&
                       ((m_pBar->m_pDockBar && !m_pBar->IsFloating()) || MovedFarEnough());
  if (docking) {
    rect = Horz(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
    // A library dock bar shows where the bar would go.
    if (auto* dock = dynamic_cast<SECDockBar*>(GetDockBar(m_dwOverDockStyle))) {
      m_trackState.nInsertValue = m_nInsertionValue;
      rect = dock->CalcTrackRect(m_pBar, rect, m_ptLast, m_trackState);
      m_rectInsertion = rect;
      m_nInsertionIndex = m_trackState.nInsertIndex;
    }
    if (secData.bWin4) rect.InflateRect(-1, -1);
  } else {
    size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
    rect = (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip) ? m_rectFrameDragHorz : m_rectFrameDragVert;
    brush = dither;
    m_nInsertionIndex = -1;
  }
  if (bRemoveRect) size = CSize(0, 0);
  m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, brush, m_bDitherLast ? dither : white);
  m_rectLast = rect;
  m_sizeLast = size;
  m_bDitherLast = brush == dither;
}

BOOL SECDockContext::Track() {
  if (::GetCapture()) return FALSE;
  m_pBar->SetCapture();
  return plat::afx::RunTrackLoop(m_pBar->m_hWnd, {
      [this](CPoint pt) { m_bDragging ? Move(pt) : Stretch(pt); },
      [this] { m_bDragging ? EndDrag() : EndResize(); },
      [this](UINT nChar, BOOL bDown) {
        // Ctrl and Shift change what the drag would do, as the framework has it.
        if (!m_bDragging) return;
        if (nChar == VK_CONTROL) UpdateKeyState(&m_bForceFrame, bDown);
        if (nChar == VK_SHIFT) UpdateKeyState(&m_bFlip, bDown);
      },
      [this] { CancelLoop(); }});
}

void SECDockContext::UpdateKeyState(BOOL* pFlag, BOOL bNewValue) {
  if (*pFlag == bNewValue) return;
  *pFlag = bNewValue;
  m_bFlip = Horz(m_dwDockStyle) && Vert(m_dwDockStyle) && m_bFlip;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect(FALSE);
}

void SECDockContext::CancelLoop() {
  if (m_pDC) DrawFocusRect(TRUE);
  ::ReleaseCapture();
  ::LockWindowUpdate(nullptr);
  if (m_pDC) {
    ::ReleaseDC(::GetDesktopWindow(), m_pDC->m_hDC);
    m_pDC = nullptr;
  }
  ToMainWindow(AFX_IDS_IDLEMESSAGE);
}

void SECDockContext::EndDrag() {
  CancelLoop();
  const bool mayDock = (m_pBar->m_pDockBar && !m_pBar->IsFloating()) || MovedFarEnough();
  if (m_dwOverDockStyle && mayDock) {
    if (CDockBar* dock = GetDockBar(m_dwOverDockStyle)) {
      CRect rect = Vert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
      UINT id = static_cast<UINT>(dock->GetDlgCtrlID());
      if (id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM) {
        m_uMRUDockID = id;
        m_rectMRUDockPos = rect;
        dock->ScreenToClient(&m_rectMRUDockPos);
      }
      if (auto* secDock = dynamic_cast<SECDockBar*>(dock); secDock && m_pBar->IsFloating())
        secDock->m_pLastPlacedBar = m_pBar;
      DockThroughFrame(dock, &rect);
      m_pDockSite->RecalcLayout();
      m_bDragging = FALSE;
      return;
    }
  }
  if ((m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) || (Horz(m_dwStyle) && !m_bFlip) || (Vert(m_dwStyle) && m_bFlip)) {
    m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = FloatPosition(m_rectFrameDragHorz.TopLeft());
  } else {
    m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
  }
  if (m_pDockSite) {
    FloatThroughFrame(m_ptMRUFloatPos, m_dwMRUFloatStyle);
    KeepFloatingFrameOnScreen();
  }
  m_bDragging = FALSE;
}

// ---- resizing a floating bar

void SECDockContext::StartResize(int nHitTest, CPoint pt) {
  m_bDragging = FALSE;
  InitLoop();
  m_ptLast = pt;
  m_nHitTest = nHitTest;
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  m_rectDragHorz = m_rectDragVert = m_rectFrameDragHorz = CRect(rect.TopLeft(), size);
  if (WantsFrameBorders(m_pBar)) CMiniFrameWnd::CalcBorders(&m_rectFrameDragHorz, WS_THICKFRAME | WS_CAPTION);
  m_rectFrameDragHorz.InflateRect(-secData.cxBorder2, -secData.cyBorder2);
  // The frame's total border thickness across and down.
  m_rectFrameDragVert = CRect(0, 0,
                              m_rectFrameDragHorz.right - m_rectDragHorz.right + m_rectDragHorz.left - m_rectFrameDragHorz.left,
                              m_rectFrameDragHorz.bottom - m_rectDragHorz.bottom + m_rectDragHorz.top - m_rectFrameDragHorz.top);
  m_dwOverDockStyle = 0;
  Stretch(pt);
  Track();
}

void SECDockContext::Stretch(CPoint pt) {
  if (!IsFreelySizable()) {
    CDockContext::Stretch(pt);
    DrawFocusRect(FALSE);
    return;
  }
  const int hit = m_nHitTest;
  const bool rightEdge = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT;
  const bool leftEdge = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
  const bool topEdge = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
  const bool bottomEdge = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT;
  const int borderX = m_rectFrameDragVert.right, borderY = m_rectFrameDragVert.bottom;
  CPoint last = m_ptLast;
  if (rightEdge || leftEdge) {
    CRect request = m_rectDragHorz;
    (rightEdge ? request.right : request.left) += pt.x - m_ptLast.x;
    const int frameWidth = request.Width() + borderX;
    if (frameWidth >= m_sizeMinFloat.cx && frameWidth <= m_sizeMaxFloat.cx) {
      m_rectDragHorz = request;
      m_pBar->CalcDynamicLayout(request.Width(), LM_COMMIT | LM_HORZ);
      last.x = pt.x;
    }
  }
  if (topEdge || bottomEdge) {
    CRect request = m_rectDragHorz;
    (bottomEdge ? request.bottom : request.top) += pt.y - m_ptLast.y;
    const int frameHeight = request.Height() + borderY;
    if (frameHeight >= m_sizeMinFloat.cy && frameHeight <= m_sizeMaxFloat.cy) {
      m_rectDragHorz = request;
      m_pBar->CalcDynamicLayout(request.Height(), LM_COMMIT | LM_HORZ | LM_LENGTHY);
      last.y = pt.y;
    }
  }
  // The bar's size, placed at the edges being dragged.
  CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ);
  CRect& actual = m_rectDragVert;
  if (leftEdge)
    actual.left = actual.right - size.cx;
  else
    actual.right = actual.left + size.cx;
  if (topEdge)
    actual.top = actual.bottom - size.cy;
  else
    actual.bottom = actual.top + size.cy;
  CRect& frame = m_rectFrameDragHorz;
  if (leftEdge)
    frame.left = frame.right - (size.cx + borderX);
  else
    frame.right = frame.left + size.cx + borderX;
  if (topEdge)
    frame.top = frame.bottom - (size.cy + borderY);
  else
    frame.bottom = frame.top + size.cy + borderY;
  m_ptLast = last;
  DrawFocusRect(FALSE);
}

void SECDockContext::EndResize() {
  CancelLoop();
  m_pBar->CalcDynamicLayout(m_rectDragVert.Width(), LM_COMMIT | LM_HORZ);
  if (IsFreelySizable()) m_pBar->CalcDynamicLayout(m_rectDragVert.Height(), LM_COMMIT | LM_HORZ | LM_LENGTHY);
  if (m_pDockSite)
    FloatThroughFrame(FloatPosition(m_rectFrameDragHorz.TopLeft()),
                      CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

// ---- docking and floating by command

void SECDockContext::ToggleDocking() {
  if (!m_pDockSite) m_pDockSite = m_pBar->m_pDockSite;
  if (!m_pDockSite) return;
  auto* bar = dynamic_cast<SECControlBar*>(m_pBar);
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) return;
    if (bar) bar->m_fPctWidth = bar->m_fSavedPctWidth;
    CRect rect = m_rectMRUDockPos;
    CDockBar* dock = nullptr;
    if (m_uMRUDockID != 0) {
      dock = static_cast<CDockBar*>(m_pDockSite->GetControlBar(m_uMRUDockID));
      if (dock) dock->ClientToScreen(&rect);
    }
    if (m_pBar->m_dwStyle & CBRS_BORDER_TOP) rect.right += 1;
    ReDockThroughFrame(dock, &rect);
    m_pDockSite->RecalcLayout();
  } else {
    if (bar) bar->m_fSavedPctWidth = bar->m_fPctWidth;
    CPoint pt = m_ptMRUFloatPos;
    if (pt.x < 0 || pt.y < 0) {
      pt = m_rectMRUDockPos.TopLeft();
      if (CWnd* parent = m_pBar->GetParent()) parent->ClientToScreen(&pt);
    }
    FloatThroughFrame(pt, m_dwMRUFloatStyle);
    KeepFloatingFrameOnScreen();
  }
}

void SECDockContext::FloatInMainWindow() {
  auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite);
  if (!mdi) return;  // only the library's MDI frame floats bars inside itself
  auto* bar = dynamic_cast<SECControlBar*>(m_pBar);
  BOOL busy = mdi->m_bBarMoveInProgress;
  mdi->m_bBarMoveInProgress = TRUE;
  if (!bar || !bar->IsMDIChild()) {
    if (bar) bar->m_fSavedPctWidth = bar->m_fPctWidth;
    m_bWasFloating = m_pBar->IsFloating();
    mdi->FloatControlBarInMDIChild(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
  } else if (m_bWasFloating) {
    mdi->FloatBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
  } else if (m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY) {
    CRect rect = m_rectMRUDockPos;
    CDockBar* dock = nullptr;
    if (m_uMRUDockID != 0) {
      dock = static_cast<CDockBar*>(mdi->GetControlBar(m_uMRUDockID));
      if (dock) dock->ClientToScreen(&rect);
    }
    bar->m_fPctWidth = bar->m_fSavedPctWidth;
    mdi->ReDockControlBar(m_pBar, dock, &rect);
    mdi->RecalcLayout();
  }
  mdi->m_bBarMoveInProgress = busy;
}
