#include "afxwin.h"

#include "CMiniFrameWnd.h"

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
  ON_WM_NCHITTEST()
  ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM) {
  // A synchronised frame shows the activation of the frame it floats for.
  const BOOL synced = (GetStyle() & MFS_SYNCACTIVE) != 0;
  if (wParam & FS_SYNCACTIVE) return synced;
  if (synced && (wParam & (FS_ACTIVATE | FS_DEACTIVATE)))
    SendMessage(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0);
  return 0;
}

BOOL CMiniFrameWnd::Create(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                           CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, lpClassName, lpWindowName, dwStyle, rect, pParentWnd, nID);
}

BOOL CMiniFrameWnd::CreateEx(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                             const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_strCaption = lpWindowName ? lpWindowName : "";
  m_strTitle = m_strCaption;
  if (!lpClassName) lpClassName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
  return CWnd::CreateEx(dwExStyle, lpClassName, lpWindowName, dwStyle, rect.left, rect.top,
                        Extent(rect.left, rect.right), Extent(rect.top, rect.bottom), SafeHwndOf(pParentWnd),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  // The mini-frame bits stay in the style for the window's own code to read; they ask
  // for a sizing frame, and a caption is a tool window's small one.
  if (cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME)) cs.style |= WS_THICKFRAME;
  if (cs.style & WS_CAPTION) cs.dwExStyle |= WS_EX_TOOLWINDOW;
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;  // no sunken edge inside the small frame
  return TRUE;
}

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle) {
  ::AdjustWindowRectEx(lpClientRect, dwStyle, FALSE, dwExStyle | WS_EX_PALETTEWINDOW);
}

UINT CMiniFrameWnd::OnNcHitTest(CPoint point) {
  UINT hit = CFrameWnd::OnNcHitTest(point);
  const DWORD style = GetStyle();
  if ((style & MFS_BLOCKSYSMENU) && hit == HTSYSMENU) hit = HTCAPTION;
  if ((hit < HTSIZEFIRST || hit > HTSIZELAST) && hit != HTGROWBOX) return hit;
  if (style & MFS_MOVEFRAME) return HTCAPTION;
  if (style & MFS_4THICKFRAME) {
    CRect inner;
    GetWindowRect(&inner);
    inner.InflateRect(-::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME));
    switch (hit) {
      case HTTOPLEFT: return point.y < inner.top ? HTTOP : HTLEFT;
      case HTTOPRIGHT: return point.y < inner.top ? HTTOP : HTRIGHT;
      case HTBOTTOMLEFT: return point.y > inner.bottom ? HTBOTTOM : HTLEFT;
      case HTGROWBOX:
      case HTBOTTOMRIGHT: return point.y > inner.bottom ? HTBOTTOM : HTRIGHT;
      default: break;
    }
  }
  return hit;
}
