#include "SECControlBarWorksheet.h"

#include "controls/SECAuxData.h"
#include "controls/SECDockContext.h"

IMPLEMENT_DYNCREATE(SECControlBarWorksheet, SECWorksheet)

BEGIN_MESSAGE_MAP(SECControlBarWorksheet, SECWorksheet)
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECControlBarWorksheet::SECControlBarWorksheet() : m_wndDockBar(TRUE, TRUE) { m_wndDockBar.m_bAutoDelete = FALSE; }

BOOL SECControlBarWorksheet::PreCreateWindow(CREATESTRUCT& cs) {
  if (!SECWorksheet::PreCreateWindow(cs)) return FALSE;
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  return TRUE;
}

BOOL SECControlBarWorksheet::OnCreateClient(LPCREATESTRUCT, CCreateContext*) {
  // Made among the main frame's children, then moved into this one; nothing is laid out
  // until it is in place.
  CWnd* parent = GetParentFrame();
  if (!parent) parent = this;
  const BOOL wasInLayout = m_bInRecalcLayout;
  m_bInRecalcLayout = TRUE;
  const BOOL made = m_wndDockBar.Create(parent, 0x50001000, AFX_IDW_DOCKBAR_FLOAT);
  if (made) m_wndDockBar.SetParent(this);
  m_bInRecalcLayout = wasInLayout;
  return made;
}

CControlBar* SECControlBarWorksheet::GetHostedBar() {
  for (INT_PTR i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
    void* entry = m_wndDockBar.m_arrBars[i];
    if (entry && !CDockBar::IsPlaceHolder(entry)) return static_cast<CControlBar*>(entry);
  }
  return nullptr;
}

BOOL SECControlBarWorksheet::HoldsSingleBar() {
  return m_wndDockBar.m_hWnd && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && GetHostedBar() != nullptr;
}

void SECControlBarWorksheet::RecalcLayout(BOOL bNotify) {
  if (m_bInRecalcLayout) return;
  SECWorksheet::RecalcLayout(bNotify);
  if (m_wndDockBar.m_hWnd) {
    CString title;
    m_wndDockBar.GetWindowText(title);
    SetWindowText(title);
  }
}

void SECControlBarWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle) {
  // The title is the bar's; the frames' own title rules leave it alone.
  CString title;
  GetWindowText(title);
  SECWorksheet::OnUpdateFrameTitle(bAddToTitle);
  SetWindowText(title);
}

void SECControlBarWorksheet::OnSize(UINT nType, int cx, int cy) {
  if (HoldsSingleBar()) {
    CControlBar* bar = GetHostedBar();
    if (bar->IsVisible()) {
      bar->CalcDynamicLayout(cx + 2 * secData.cxBorder2, LM_COMMIT | LM_MRUWIDTH);
      bar->CalcDynamicLayout(cy + 2 * secData.cyBorder2, LM_COMMIT | LM_LENGTHY | LM_MRUWIDTH);
    }
  }
  SECWorksheet::OnSize(nType, cx, cy);
}

void SECControlBarWorksheet::OnClose() {
  if (!HoldsSingleBar()) {
    SECWorksheet::OnClose();
    return;
  }
  // The bar hides; the sheet stays for the bar to come back to.
  MDIRestore();
  CControlBar* bar = GetHostedBar();
  if (CFrameWnd* site = bar->m_pDockSite) site->ShowControlBar(bar, FALSE, FALSE);
}

void SECControlBarWorksheet::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  if (HoldsSingleBar()) {
    if (auto* context = dynamic_cast<SECDockContext*>(GetHostedBar()->m_pDockContext)) {
      CRect rect;
      GetWindowRect(&rect);
      context->m_ptMRUMDIChildPos = rect.TopLeft();
    }
  }
  SECWorksheet::OnWindowPosChanged(lpwndpos);
}

void SECControlBarWorksheet::OnShowWindow(BOOL bShow, UINT nStatus) {
  SECWorksheet::OnShowWindow(bShow, nStatus);
  if (CMDIFrameWnd* frame = GetMDIFrame(); frame && frame->m_hWndMDIClient)
    ::PostMessageA(frame->m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
}
