#include "afxwin.h"
#include "CMiniDockFrameWnd.h"

#include "CDockContext.h"

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CMiniDockFrameWnd::CMiniDockFrameWnd() : CMiniDockFrameWnd(std::make_unique<CDockBar>(TRUE)) {}

CMiniDockFrameWnd::CMiniDockFrameWnd(std::unique_ptr<CDockBar> pDockBar)
    : m_pOwnedDockBar(std::move(pDockBar)), m_wndDockBar(*m_pOwnedDockBar) {
  m_wndDockBar.m_bAutoDelete = FALSE;  // it goes with this frame
}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  // No layout until something is docked: an empty frame would flash.
  m_bInRecalcLayout = TRUE;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
  if (dwBarStyle & CBRS_SIZE_DYNAMIC) style &= ~MFS_MOVEFRAME;  // its border sizes the bar
  if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, rectDefault, pParent)) {
    return FALSE;  // the object is gone (PostNcDestroy)
  }
  m_bInRecalcLayout = FALSE;
  DWORD dockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  dockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
  if (CMenu* sys = GetSystemMenu(FALSE)) sys->DeleteMenu(SC_SIZE, MF_BYCOMMAND);
  // Made in the frame that docks (so that frame lists it), then moved in here.
  m_bInRecalcLayout = TRUE;
  BOOL made = m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dockStyle, AFX_IDW_DOCKBAR_FLOAT);
  if (made) m_wndDockBar.SetParent(this);
  m_bInRecalcLayout = FALSE;
  return made;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
  if (m_bInRecalcLayout) return;
  CMiniFrameWnd::RecalcLayout(bNotify);
  // The caption is the dock bar's title (its bar's, for a single bar).
  if (m_wndDockBar.m_hWnd) {
    CString title;
    m_wndDockBar.GetWindowText(title);
    CString current;
    GetWindowText(current);
    if (current != title) SetWindowText(title);
  }
}

CControlBar* CMiniDockFrameWnd::FirstBar() const {
  for (int i = 1; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i)) return bar;
  return nullptr;
}

void CMiniDockFrameWnd::OnClose() {
  // Closing hides the bars; the frame goes with its last visible bar.
  m_wndDockBar.ShowAll(FALSE);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCAPTION) {
    if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
      CControlBar* bar = FirstBar();
      if (bar && bar->m_pDockContext) {
        bar->m_pDockContext->StartDrag(point);
        return;
      }
    }
  } else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
    CControlBar* bar = FirstBar();
    if (bar && bar->m_pDockContext) {
      bar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
      return;
    }
  }
  CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
    CControlBar* bar = FirstBar();
    if (bar && bar->m_pDockContext) {
      bar->m_pDockContext->ToggleDocking();
      return;
    }
  }
  CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  // A floating bar's frame leaves the activation with the application's frame.
  CWnd* owner = GetParentFrame();
  if (owner && owner->IsWindowEnabled()) owner->SetActiveWindow();
  return MA_NOACTIVATE;
}
