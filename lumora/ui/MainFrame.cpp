#include "MainFrame.h"

#include "control/VexBufferControl.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"
#include "control/VexFileDelete.h"
#include "pipeline/input/VexCCDInput.h"
#include "pipeline/output/VexFullScreenOutput.h"
#include "pipeline/output/VexDisplayOutput.h"
#include "pipeline/process/VexRGBProcess.h"
#include "pipeline/process/VexShadingProcess.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_errors(std::make_unique<CVexErrorControl>()), m_fileDelete(std::make_unique<CVexFileDelete>()) {
  m_fileDelete->SetErrorControl(m_errors.get());
}

CMainFrame::~CMainFrame() = default;

CMainFrame* CMainFrame::Get() {
  // Worker threads have no main window of their own: theirs is the application's.
  CWnd* main = AfxGetMainWnd();
  if (!main && AfxGetApp()) main = AfxGetApp()->m_pMainWnd;
  return dynamic_cast<CMainFrame*>(main);
}

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext) m_pDocument = pContext->m_pCurrentDoc;
  m_fileDelete->SetDocument(dynamic_cast<CVexDoc*>(m_pDocument));
  return TRUE;
}

void CMainFrame::EnableFrame(BOOL bEnable) {
  std::lock_guard<std::mutex> guard(m_enableLock);
  m_bCaptureAllowed = bEnable ? 1 : 0;
  if (m_hWnd) EnableWindow(bEnable);
}

int CMainFrame::IsCaptureAllowed() const {
  std::lock_guard<std::mutex> guard(m_enableLock);
  return m_bCaptureAllowed;
}

void CMainFrame::CaptureLiveFrame() {
  auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument());
  if (!doc || !m_live.buffers || !m_live.camera || !m_live.liveDisplay) return;
  doc->ClearLastError();
  doc->SetAbort(0);
  doc->SetCaptureMode(1);
  if (m_live.buffers->CreateThirdBitmap(doc->GetLiveWidth(), doc->GetLiveHeight(), static_cast<int>(doc->GetDir90())) ==
      CVexBufferControl::kNotCreated) {
    ReportError(1, 1);
    return;
  }
  BroadcastUpdate(0x4, 0);
  m_live.camera->CaptureScratchFrame();
  bool ok = m_live.camera->CaptureToCurrent() != 0;
  if (ok && doc->GetShadingLive() == 1 && m_live.shading) ok = m_live.shading->ProcessCurrent() != 0;
  if (ok && doc->GetRGBLive() == 1 && m_live.rgb) ok = m_live.rgb->ProcessCurrent() != 0;
  if (ok) ok = m_live.liveDisplay->ShowLiveFrame() != 0;
  if (!ok) ReportError(static_cast<SHORT>(doc->GetLastErrorType()), static_cast<SHORT>(doc->GetLastErrorDetail()));
}

void CMainFrame::ExitFullScreen() {
  auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument());
  if (doc && doc->IsFullScreen() == 1) {
    StopLive();
    doc->SetFullScreen(0);
    BroadcastUpdate(0x2, 0);
    if (doc->GetShadingLive() == 1) BroadcastUpdate(0x400, 0);
    StartLive();
  } else {
    if (doc) doc->SetViewState(0);
    if (m_bLiveBeforeFullScreen) StartLive();
  }
  if (m_pFullScreen && m_pFullScreen->m_hWnd) m_pFullScreen->ShowWindow(SW_HIDE);
  if (m_hWnd) SetFocus();
  ::ReleaseCapture();
  EnableFrame(TRUE);
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
