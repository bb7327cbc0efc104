#include "MainFrame.h"

#include "control/VexDoc.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainFrame* CMainFrame::Get() { return dynamic_cast<CMainFrame*>(AfxGetMainWnd()); }

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext) m_pDocument = pContext->m_pCurrentDoc;
  return TRUE;
}

void CMainFrame::EnableFrame(BOOL bEnable) {
  if (m_hWnd) EnableWindow(bEnable);
}

void CMainFrame::BroadcastUpdate(DWORD flags, LPARAM) {
  m_lastUpdate = flags;
  ++m_nUpdates;
}

void CMainFrame::SwapDisplays() {
  if (auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument())) doc->m_bLiveWindowLeft = doc->m_bLiveWindowLeft ? 0 : 1;
}

void CMainFrame::OnDestroy() {
  // The mark a second copy of the program looks for goes with the window.
  RemovePropA(m_hWnd, "Lumora");
  CFrameWnd::OnDestroy();
}
