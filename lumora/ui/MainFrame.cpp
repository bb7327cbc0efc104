#include "MainFrame.h"

#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFileDelete.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_errors(std::make_unique<CVexErrorControl>()), m_fileDelete(std::make_unique<CVexFileDelete>()) {
  m_fileDelete->SetErrorControl(m_errors.get());
}

CMainFrame::~CMainFrame() = default;

CMainFrame* CMainFrame::Get() { return dynamic_cast<CMainFrame*>(AfxGetMainWnd()); }

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext) m_pDocument = pContext->m_pCurrentDoc;
  m_fileDelete->SetDocument(dynamic_cast<CVexDoc*>(m_pDocument));
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

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::ReportError(SHORT type, SHORT detail) {
  if (m_bReportErrors) m_errors->ReportError(type, detail);
}

void CMainFrame::DeleteSelectedImages() { m_fileDelete->DeleteSelectedFiles(); }
