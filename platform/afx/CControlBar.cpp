#include "afxwin.h"
#include "CControlBar.h"

#include "CControlBarInfo.h"
#include "CDockBar.h"
#include "CDockContext.h"
#include "CWinApp.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEACTIVATE()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace plat::afx {
BOOL IsWin4() { return (::GetVersion() & 0xFF) >= 4; }
int BarBorderX() { return IsWin4() ? 2 : 1; }
int BarBorderY() { return IsWin4() ? 2 : 1; }
}  // namespace plat::afx

namespace {

// The fly-by state of the thread: the bar whose prompt shows and the tool last hit.
struct FlyBy {
  CControlBar* pLastStatus = nullptr;
  INT_PTR nLastStatus = -1;
};
thread_local FlyBy t_flyBy;

bool LeftButtonDown() { return ::GetKeyState(VK_LBUTTON) < 0; }

}  // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
  DestroyWindow();  // a bar that still has its window loses it before its members
  if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
  std::unique_ptr<CDockContext> context(m_pDockContext);
  m_pDockContext = nullptr;
  if (t_flyBy.pLastStatus == this) t_flyBy = FlyBy{};
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs) {
  CREATESTRUCT probe = cs;
  probe.lpszClass = nullptr;
  if (!CWnd::PreCreateWindow(probe)) return FALSE;  // registers the framework's classes
  if (!cs.lpszClass) cs.lpszClass = _afxWndControlBar;
  cs.style |= WS_CLIPSIBLINGS;
  // On Windows 4 a bar along an edge shows the 3-D line of that edge only.
  if (plat::afx::IsWin4() && !(m_dwStyle & CBRS_BORDER_3D)) {
    DWORD border = 0;
    switch (m_dwStyle & (CBRS_BORDER_ANY | CBRS_ALIGN_ANY)) {
      case CBRS_LEFT:
      case CBRS_RIGHT: border = CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM; break;
      case CBRS_TOP: border = CBRS_BORDER_TOP; break;
      case CBRS_BOTTOM: border = CBRS_BORDER_BOTTOM; break;
      default: break;
    }
    if (border) m_dwStyle = (m_dwStyle & ~CBRS_BORDER_ANY) | border | CBRS_BORDER_3D;
  }
  return TRUE;
}

void CControlBar::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  m_cxLeftBorder = cxLeft;
  m_cyTopBorder = cyTop;
  m_cxRightBorder = cxRight;
  m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
  if (m_dwStyle == dwStyle) return;
  DWORD old = m_dwStyle;
  m_dwStyle = dwStyle;
  OnBarStyleChange(old, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if (m_hWnd && ((dwOldStyle ^ dwNewStyle) & CBRS_TOOLTIPS)) EnableToolTips((dwNewStyle & CBRS_TOOLTIPS) != 0);
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle;
  if (!m_pDockContext) m_pDockContext = new CDockContext(this);  // owned: deleted with the bar
  if (!m_hWndOwner) m_hWndOwner = ::GetParent(m_hWnd);
}

CFrameWnd* CControlBar::GetDockingFrame() const {
  CFrameWnd* frame = GetParentFrame();
  return frame ? frame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const { return !IsDockBar() && m_pDockBar && m_pDockBar->m_bFloating; }

BOOL CControlBar::IsVisible() const {
  if (m_nStateFlags & delayHide) return FALSE;
  return (m_nStateFlags & delayShow) || (m_hWnd && (GetStyle() & WS_VISIBLE));
}

void CControlBar::DelayShow(BOOL bShow) {
  m_nStateFlags &= ~(delayHide | delayShow);
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  if (bShow && !visible)
    m_nStateFlags |= delayShow;
  else if (!bShow && visible)
    m_nStateFlags |= delayHide;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
  DWORD dwStyle = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
  BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
  UINT swp = 0;
  if ((m_nStateFlags & delayHide) && visible)
    swp = SWP_HIDEWINDOW;
  else if ((m_nStateFlags & delayShow) && !visible)
    swp = SWP_SHOWWINDOW;
  if (!swp) {
    m_nStateFlags &= ~(delayShow | delayHide);  // already as it should be
    return dwStyle;
  }
  dwStyle ^= WS_VISIBLE;  // lay out as the bar will be
  // A layout that only measures leaves the show or hide waiting for the real one.
  const UINT flags = swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (lpLayout && lpLayout->hDWP) {
    m_nStateFlags &= ~(delayShow | delayHide);
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0, flags);
  } else if (!lpLayout) {
    m_nStateFlags &= ~(delayShow | delayHide);
    SetWindowPos(nullptr, 0, 0, 0, 0, flags);
  }
  return dwStyle;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // A stretched bar asks for all the length there is; the thickness is its subclass's.
  return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
    return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZDOCK);
  return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZ);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  const int bx = plat::afx::BarBorderX(), by = plat::afx::BarBorderY();
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += bx;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top += by;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= bx;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= by;
  // The margins run along the bar: across it for a vertical one.
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  const DWORD style = m_dwStyle;
  if (!(style & CBRS_BORDER_ANY)) return;
  const int bx = plat::afx::BarBorderX(), by = plat::afx::BarBorderY();
  const COLORREF dark = ::GetSysColor(plat::afx::IsWin4() ? COLOR_BTNSHADOW : COLOR_WINDOWFRAME);
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const bool threeD = (style & CBRS_BORDER_3D) != 0;
  // Side lines run between the top and bottom borders.
  int top = rect.top + ((style & CBRS_BORDER_TOP) ? by : 0);
  int bottom = rect.bottom - ((style & CBRS_BORDER_BOTTOM) ? by : 0);
  // The dark line is the outer one; with the 3-D border the right and bottom dark lines
  // lie one pixel in, the light line outside them.
  int darkRight = rect.right - (threeD ? 2 : 1), darkBottom = rect.bottom - (threeD ? 2 : 1);
  if (style & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left, top, 1, bottom - top, dark);
  if (style & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, dark);
  if (style & CBRS_BORDER_RIGHT) pDC->FillSolidRect(darkRight, top, 1, bottom - top, dark);
  if (style & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(rect.left, darkBottom, rect.Width(), 1, dark);
  if (threeD) {
    if (style & CBRS_BORDER_LEFT) pDC->FillSolidRect(rect.left + 1, top, 1, bottom - top, light);
    if (style & CBRS_BORDER_TOP) pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
    if (style & CBRS_BORDER_RIGHT) pDC->FillSolidRect(rect.right - 1, top, 1, bottom - top, light);
    if (style & CBRS_BORDER_BOTTOM) pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, light);
  }
  if (style & CBRS_BORDER_LEFT) rect.left += bx;
  if (style & CBRS_BORDER_TOP) rect.top += by;
  if (style & CBRS_BORDER_RIGHT) rect.right -= bx;
  if (style & CBRS_BORDER_BOTTOM) rect.bottom -= by;
}

void CControlBar::DoPaint(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
}

void CControlBar::OnPaint() {
  CPaintDC dc(this);
  DoPaint(&dc);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips(TRUE);
  // A bar made inside a frame belongs to it: the frame lists it and docks it.
  CWnd* parent = GetParent();
  if (parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    m_pDockSite = static_cast<CFrameWnd*>(parent);
    m_pDockSite->AddControlBar(this);
  }
  return 0;
}

void CControlBar::OnDestroy() {
  if (t_flyBy.pLastStatus == this) SetStatusText(-1);
  // A bar without a window never stays in a dock bar's rows.
  if (CDockBar* dock = m_pDockBar) {
    int n = dock->FindBar(this);
    if (n > 0) {
      dock->m_arrBars.RemoveAt(n);
      if (n < dock->m_arrBars.GetSize() && !dock->m_arrBars[n - 1] && !dock->m_arrBars[n]) dock->m_arrBars.RemoveAt(n);
      if (dock->m_hWnd) {
        CFrameWnd* frame = dock->GetDockingFrame();
        if (dock->m_bFloating && dock->GetDockedCount() == 0 && frame && frame->m_hWnd)
          frame->ShowWindow(SW_HIDE);  // an emptied floating frame waits hidden for its owner
        else if (frame && frame->m_hWnd)
          frame->DelayRecalcLayout();
      }
    }
    m_pDockBar = nullptr;
  }
  if (m_pDockSite) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
  }
  CWnd::OnDestroy();
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
      // What the bar does not handle itself goes to its owner (the frame).
      LRESULT result = 0;
      if (OnWndMsg(message, wParam, lParam, &result)) return result;
      CWnd* owner = GetOwner();
      return owner && owner->m_hWnd ? owner->SendMessage(message, wParam, lParam) : 0;
    }
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  DWORD style = RecalcDelayShow(layout);
  if (!(style & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY)) return 0;
  CRect rect(layout->rect);
  CSize avail = rect.Size();
  DWORD mode = layout->bStretch ? LM_STRETCH : 0;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
    mode |= LM_HORZ | LM_MRUWIDTH;
  else if (style & CBRS_ORIENT_HORZ)
    mode |= LM_HORZ | LM_HORZDOCK;
  else
    mode |= LM_VERTDOCK;
  CSize size = CalcDynamicLayout(-1, mode);
  size.cx = std::min(size.cx, avail.cx);
  size.cy = std::min(size.cy, avail.cy);
  if (style & CBRS_ORIENT_HORZ) {
    layout->sizeTotal.cy += size.cy;
    layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
    if (style & CBRS_ALIGN_TOP) {
      layout->rect.top += size.cy;
    } else if (style & CBRS_ALIGN_BOTTOM) {
      rect.top = rect.bottom - size.cy;
      layout->rect.bottom -= size.cy;
    }
  } else if (style & CBRS_ORIENT_VERT) {
    layout->sizeTotal.cx += size.cx;
    layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
    if (style & CBRS_ALIGN_LEFT) {
      layout->rect.left += size.cx;
    } else if (style & CBRS_ALIGN_RIGHT) {
      rect.left = rect.right - size.cx;
      layout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (layout->hDWP) AfxRepositionWindow(layout, m_hWnd, &rect);  // a query only measures
  return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
  RecalcDelayShow(nullptr);  // a delayed show or hide that no layout has taken yet happens now
  // Items are brought up to date only while the bar (and its dock bar) shows.
  if ((GetStyle() & WS_VISIBLE) && (!m_pDockBar || (m_pDockBar->GetStyle() & WS_VISIBLE))) {
    CWnd* owner = GetOwner();
    CFrameWnd* target = owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(owner)
                                                                            : GetParentFrame();
    if (target) OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
  }
  return 0;
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
  // A click the bar's own items did not take drags a docked or floating bar.
  if (m_pDockBar && m_pDockContext) {
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
  } else {
    CWnd::OnLButtonDown(nFlags, point);
  }
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_pDockBar && m_pDockContext)
    m_pDockContext->ToggleDocking();
  else
    CWnd::OnLButtonDblClk(nFlags, point);
}

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  // A click on a floating bar activates the application's frame, not the small frame.
  int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
  if (IsFloating()) {
    if (CWnd* top = m_pDockSite ? m_pDockSite->GetTopLevelParent() : nullptr)
      if (top->IsWindowEnabled()) top->SetActiveWindow();
    return MA_NOACTIVATE;
  }
  return result;
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  CWnd::OnWindowPosChanging(lpWndPos);
  if (lpWndPos->flags & SWP_NOSIZE) return;
  // The right and bottom borders move with the size: both the old and the new lines
  // are painted again.
  CRect rect;
  GetWindowRect(&rect);
  CSize old = rect.Size();
  const int cx = lpWndPos->cx, cy = lpWndPos->cy;
  const int bx = plat::afx::BarBorderX(), by = plat::afx::BarBorderY();
  if (cx != old.cx && (m_dwStyle & CBRS_BORDER_RIGHT)) {
    CRect r(cx - bx, 0, cx, cy);
    InvalidateRect(&r);
    r.SetRect(old.cx - bx, 0, old.cx, cy);
    InvalidateRect(&r);
  }
  if (cy != old.cy && (m_dwStyle & CBRS_BORDER_BOTTOM)) {
    CRect r(0, cy - by, cx, cy);
    InvalidateRect(&r);
    r.SetRect(0, old.cy - by, cx, old.cy);
    InvalidateRect(&r);
  }
}

// ---- fly-by help

BOOL CControlBar::SetStatusText(INT_PTR nHit) {
  CWnd* owner = GetOwner();
  if (nHit == -1) {
    t_flyBy.pLastStatus = nullptr;
    if (m_nStateFlags & statusSet) {
      if (owner && owner->m_hWnd) owner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
      m_nStateFlags &= ~statusSet;
      return TRUE;
    }
    KillTimer(timerWait);
    return FALSE;
  }
  if (!(m_nStateFlags & statusSet) || t_flyBy.nLastStatus != nHit) {
    t_flyBy.pLastStatus = this;
    if (owner && owner->m_hWnd) owner->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
    m_nStateFlags |= statusSet;
    ResetTimer(timerCheck, 200);
    return TRUE;
  }
  return FALSE;
}

void CControlBar::ResetTimer(UINT_PTR nEvent, UINT nTime) {
  KillTimer(timerWait);
  KillTimer(timerCheck);
  SetTimer(nEvent, nTime);
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  const UINT message = pMsg->message;
  const bool mouse = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
                     (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
  if (((m_dwStyle & CBRS_FLYBY) || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) && mouse) {
    CPoint point = pMsg->pt;
    ScreenToClient(&point);
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    INT_PTR hit = OnToolHitTest(point, &ti);
    if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(ti.lpszText)) free(ti.lpszText);
    const bool notButton = message == WM_LBUTTONDOWN && (ti.uFlags & TTF_NOTBUTTON);
    if (message != WM_LBUTTONDOWN && LeftButtonDown()) hit = t_flyBy.nLastStatus;
    if (hit < 0 || notButton) {
      if (!LeftButtonDown() || notButton) {
        SetStatusText(-1);
        KillTimer(timerCheck);
      }
    } else if (message == WM_LBUTTONUP) {
      SetStatusText(-1);
      ResetTimer(timerCheck, 200);
    } else if ((m_nStateFlags & statusSet) || LeftButtonDown()) {
      SetStatusText(hit);
    } else if (hit != t_flyBy.nLastStatus) {
      ResetTimer(timerWait, 300);  // the prompt shows once the mouse rests
    }
    t_flyBy.nLastStatus = hit;
  }
  return FALSE;
}

void CControlBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != timerWait && nIDEvent != timerCheck) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  if (LeftButtonDown()) return;
  CPoint point;
  ::GetCursorPos(&point);
  ScreenToClient(&point);
  INT_PTR hit = OnToolHitTest(point, nullptr);
  if (hit >= 0) {
    // No prompt for an inactive or disabled application, or while another window of it
    // holds the mouse.
    CWnd* top = GetTopLevelParent();
    if (!top || !top->IsWindowEnabled()) hit = -1;
    HWND capture = ::GetCapture();
    if (capture && capture != m_hWnd && top && CWnd::FromHandle(capture)->GetTopLevelParent() == top) hit = -1;
  } else {
    t_flyBy.nLastStatus = -1;
  }
  if (hit >= 0) {
    CPoint screen = point;
    ClientToScreen(&screen);
    HWND under = ::WindowFromPoint(screen);
    if (!under || (under != m_hWnd && !::IsChild(m_hWnd, under))) {
      hit = -1;
      t_flyBy.nLastStatus = -1;
    }
  }
  if (hit < 0) {
    if (t_flyBy.nLastStatus == -1) KillTimer(timerCheck);
    SetStatusText(-1);
  }
  if (nIDEvent == timerWait) {
    KillTimer(timerWait);
    if (hit >= 0) SetStatusText(hit);
  }
}

// ---- saved state

void CControlBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
  pInfo->m_pBar = this;
  pInfo->m_bVisible = IsVisible();
  pInfo->m_nMRUWidth = m_nMRUWidth;
  if (m_pDockBar) {
    CRect rect;
    GetWindowRect(&rect);
    m_pDockBar->ScreenToClient(&rect);
    pInfo->m_pointPos = rect.TopLeft();
    if (m_pDockContext) {
      pInfo->m_bDocking = TRUE;
      pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
      pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
      pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
      pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*) {
  UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER;
  if (!m_pDockBar) flags |= SWP_NOMOVE;  // only a docked bar has a place to take
  m_nMRUWidth = pInfo->m_nMRUWidth;
  CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
  if (pInfo->m_bDocking && m_pDockContext) {
    m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
    m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
    m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
  }
  SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0,
               flags | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

CControlBarInfo::CControlBarInfo() : m_pointPos(-1, -1) {}
