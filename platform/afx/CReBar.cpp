#include "afxwin.h"
#include "CReBar.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CReBar::CReBar() { SetBorders(0, 0, 0, 0); }

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  ::InitCommonControls();
  m_dwStyle = dwStyle & CBRS_ALL;
  CRect rect;
  rect.SetRectEmpty();
  // The window is the rebar control itself, its procedure below this object's.
  return CWnd::CreateEx(0, REBARCLASSNAMEA, nullptr, (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NODIVIDER |
                                                         CCS_NOPARENTALIGN | CCS_NORESIZE,
                        rect, pParentWnd, nID);
}

BOOL CReBar::AddBar(CWnd* pBar, LPCSTR pszText, DWORD dwStyle) {
  if (!pBar || !pBar->m_hWnd) return FALSE;
  REBARBANDINFO info{};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE;
  info.fStyle = dwStyle;
  info.hwndChild = pBar->m_hWnd;
  CSize size;
  if (auto* bar = dynamic_cast<CControlBar*>(pBar)) {
    size = bar->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  } else {
    CRect r;
    pBar->GetWindowRect(&r);
    size = r.Size();
  }
  info.cxMinChild = static_cast<UINT>(size.cx);
  info.cyMinChild = static_cast<UINT>(size.cy);
  CString text = pszText ? pszText : "";
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = text.GetBuffer(0);
  }
  BOOL done = static_cast<BOOL>(DefWindowProc(RB_INSERTBAND, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info)));
  if (pszText) text.ReleaseBuffer();
  if (CFrameWnd* frame = GetParentFrame()) frame->RecalcLayout();
  return done;
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  const int count = GetBandCount();
  // A band shows what its bar shows.
  for (int i = 0; i < count; ++i) {
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILD | RBBIM_STYLE;
    if (!DefWindowProc(RB_GETBANDINFO, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info))) continue;
    auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(info.hwndChild));
    BOOL visible = bar ? bar->IsVisible() : (::GetWindowLongA(info.hwndChild, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != !(info.fStyle & RBBS_HIDDEN)) DefWindowProc(RB_SHOWBAND, static_cast<WPARAM>(i), visible);
  }
  CRect bound;
  bound.SetRectEmpty();
  for (int i = 0; i < count; ++i) {
    REBARBANDINFO info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    DefWindowProc(RB_GETBANDINFO, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    if (info.fStyle & RBBS_HIDDEN) continue;
    CRect r;
    DefWindowProc(RB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    bound.UnionRect(&bound, &r);
  }
  if (!bound.IsRectEmpty()) {
    CRect inside;
    inside.SetRectEmpty();
    CalcInsideRect(inside, bHorz);
    bound.right -= inside.Width();
    bound.bottom -= inside.Height();
  }
  return CSize(bHorz && bStretch ? 32767 : bound.Width(), !bHorz && bStretch ? 32767 : bound.Height());
}

void CReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL CReBar::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

void CReBar::OnPaint() { Default(); }
