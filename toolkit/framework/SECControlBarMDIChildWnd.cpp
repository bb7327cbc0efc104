#include "SECControlBarMDIChildWnd.h"

#include "controls/SECAuxData.h"
#include "controls/SECDockContext.h"

IMPLEMENT_DYNCREATE(SECControlBarMDIChildWnd, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECControlBarMDIChildWnd, SECMDIChildWnd)
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECControlBarMDIChildWnd::SECControlBarMDIChildWnd() : m_wndDockBar(TRUE, TRUE) { m_wndDockBar.m_bAutoDelete = FALSE; }

BOOL SECControlBarMDIChildWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext*) {
  // Made among the main frame's children, then moved into this one.
  CWnd* parent = GetParentFrame();
  if (!parent) parent = this;
  if (!m_wndDockBar.Create(parent, 0x50001000, AFX_IDW_DOCKBAR_FLOAT)) return FALSE;
  m_wndDockBar.SetParent(this);
  return TRUE;
}

CControlBar* SECControlBarMDIChildWnd::GetHostedBar() {
  for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
    void* entry = m_wndDockBar.m_arrBars[i];
    if (entry && !CDockBar::IsPlaceHolder(entry)) return static_cast<CControlBar*>(entry);
  }
  return nullptr;
}

BOOL SECControlBarMDIChildWnd::HoldsSingleBar() {
  return m_wndDockBar.m_hWnd && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && GetHostedBar() != nullptr;
}

void SECControlBarMDIChildWnd::RecalcLayout(BOOL bNotify) {
  if (m_bInRecalcLayout) return;
  SECMDIChildWnd::RecalcLayout(bNotify);
  if (m_wndDockBar.m_hWnd) {
    CString title;
    m_wndDockBar.GetWindowText(title);
    SetWindowText(title);
  }
}

void SECControlBarMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  // The title is the bar's; the frames' own title rules leave it alone.
  CString title;
  GetWindowText(title);
  SECMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
  SetWindowText(title);
}

void SECControlBarMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  if (HoldsSingleBar()) {
    CControlBar* bar = GetHostedBar();
    if (bar->IsVisible()) {
      bar->CalcDynamicLayout(cx + 2 * secData.cxBorder2, LM_COMMIT | LM_MRUWIDTH);
      bar->CalcDynamicLayout(cy + 2 * secData.cyBorder2, LM_COMMIT | LM_LENGTHY | LM_MRUWIDTH);
    }
  }
  SECMDIChildWnd::OnSize(nType, cx, cy);
}

void SECControlBarMDIChildWnd::OnClose() {
  if (!HoldsSingleBar()) {
    SECMDIChildWnd::OnClose();
    return;
  }
  // The bar hides; the child stays for the bar to come back to.
  MDIRestore();
  CControlBar* bar = GetHostedBar();
  if (CFrameWnd* site = bar->m_pDockSite) site->ShowControlBar(bar, FALSE, FALSE);
}

void SECControlBarMDIChildWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  if (HoldsSingleBar()) {
    if (auto* context = dynamic_cast<SECDockContext*>(GetHostedBar()->m_pDockContext)) {
      CRect rect;
      GetWindowRect(&rect);
      context->m_ptMRUMDIChildPos = rect.TopLeft();
    }
  }
  SECMDIChildWnd::OnWindowPosChanged(lpwndpos);
}

void SECControlBarMDIChildWnd::OnShowWindow(BOOL bShow, UINT nStatus) {
  SECMDIChildWnd::OnShowWindow(bShow, nStatus);
  if (CMDIFrameWnd* frame = GetMDIFrame(); frame && frame->m_hWndMDIClient)
    ::PostMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}
