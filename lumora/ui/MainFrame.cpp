#include "MainFrame.h"

#include <new>

#include "annotation/dialogs/VexAnnoContrl.h"
#include "annotation/dialogs/VexAnnoLineSet.h"
#include "annotation/dialogs/VexAnnoRectSet.h"
#include "annotation/dialogs/VexAnnoTextSet.h"
#include "annotation/dialogs/VexScaleDialog.h"
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

namespace {
constexpr UINT kAnnotationMenu = 32846;
constexpr UINT kAnnotationButton = 32829;
constexpr UINT kScaleMenu = 32845;
constexpr UINT kScaleButton = 32830;
// Frees a palette or scale dialog after the close that destroyed its window has been handled.
constexpr UINT kFreeClosedTools = WM_APP + 0x31;
}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_DESTROY()
ON_COMMAND(kAnnotationMenu, OnAnnotationTool)
ON_COMMAND(kAnnotationButton, OnAnnotationTool)
ON_COMMAND(kScaleMenu, OnScaleTool)
ON_COMMAND(kScaleButton, OnScaleTool)
ON_MESSAGE(kFreeClosedTools, OnFreeClosedTools)
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

void CMainFrame::BroadcastUpdate(DWORD flags, LPARAM arg) {
  m_lastUpdate = flags;
  ++m_nUpdates;
  if ((flags & kScaleDialogFlag) && m_pScaleDialog) m_pScaleDialog->OnSettingsChanged(kScaleDialogFlag, static_cast<int>(arg));
}

void CMainFrame::SwapDisplays() {
  if (m_bCalibrating) return;
  if (auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument())) doc->m_bLiveWindowLeft = doc->m_bLiveWindowLeft ? 0 : 1;
  SwapStillDisplay();
}

void CMainFrame::OnDestroy() {
  if (m_pAnnoContrl && m_pAnnoContrl->GetSafeHwnd()) m_pAnnoContrl->DestroyWindow();
  if (m_pScaleDialog && m_pScaleDialog->GetSafeHwnd()) m_pScaleDialog->DestroyWindow();
  // The mark a second copy of the program looks for goes with the window.
  RemovePropA(m_hWnd, "Lumora");
  CFrameWnd::OnDestroy();
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (RouteToStillDisplay(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::ReportError(SHORT type, SHORT detail) {
  if (m_bReportErrors) m_errors->ReportError(type, detail);
}

void CMainFrame::DeleteSelectedImages() { m_fileDelete->DeleteSelectedFiles(); }

void CMainFrame::OnAnnotationTool() {
  m_pClosedAnnoContrl.reset();
  if (m_pAnnoContrl) return;
  if (m_pScaleDialog) {
    CString text;
    text.LoadString(62577);
    MessageBox(text, "Lumora Caution", MB_ICONWARNING);
    return;
  }
  try {
    m_pAnnoContrl = std::make_unique<CVexAnnoContrl>();
  } catch (const std::bad_alloc&) {
    ReportError(411, 1);
    return;
  }
  m_pAnnoContrl->SetOwnerView(m_pStillDisplay);
  if (m_pStillDisplay) m_pStillDisplay->SetAnnotationMode(1);
  // A palette whose window cannot be made is not kept: the command can be tried again.
  if (!m_pAnnoContrl->Create(CVexAnnoContrl::IDD)) {
    m_pAnnoContrl.reset();
    if (m_pStillDisplay) m_pStillDisplay->SetAnnotationMode(0);
    ReportError(411, 1);
    return;
  }
  m_pAnnoContrl->ShowWindow(SW_SHOW);
  ActivateImagePane();
}

int CMainFrame::GetSelectedAnnotationTool() {
  if (!m_pAnnoContrl || !m_pAnnoContrl->GetSafeHwnd()) return 0;
  m_pAnnoContrl->UpdateData(TRUE);
  const int tool = m_pAnnoContrl->m_nSelectedTool;
  m_pAnnoContrl->UpdateData(FALSE);
  return tool;
}

void CMainFrame::ActivateImagePane() {
  CView* pane = m_pStillDisplay;
  if (!pane || !pane->GetSafeHwnd()) return;
  if (GetActiveView() == pane)
    pane->SetFocus();
  else
    SetActiveView(pane);
}

void CMainFrame::AbandonUnfinishedAnnotation() {
  if (m_pStillDisplay) m_pStillDisplay->AbandonUnfinishedAnnotation();
}

void CMainFrame::OpenAnnotationSetDialog(int tool) {
  auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument());
  if (!doc) return;
  int result = IDCANCEL;
  if (tool == 1) {
    AnnTextAttr a;
    doc->GetAnnTextAttr(a);
    CVexAnnoTextSet dlg(0);
    dlg.SetValues(a.font, a.fontSize, a.textColor, a.backColor, a.backFilled, CString());
    result = dlg.DoModal();
    if (result == IDOK) {
      CString text;
      dlg.GetValues(a.font, a.fontSize, a.textColor, a.backColor, a.backFilled, text);
      doc->SetAnnTextAttr(a.font, a.textColor, a.backColor, a.fontSize, a.backFilled);
    }
  } else if (tool == 2 || tool == 6 || tool == 7) {
    using Get = void (CVexDoc::*)(AnnLineAttr&) const;
    using Set = void (CVexDoc::*)(const AnnLineAttr&);
    const Get get = tool == 2 ? &CVexDoc::GetAnnLineAttr : tool == 6 ? &CVexDoc::GetAnnPolyLineAttr : &CVexDoc::GetAnnFreeLineAttr;
    const Set set = tool == 2 ? &CVexDoc::SetAnnLineAttr : tool == 6 ? &CVexDoc::SetAnnPolyLineAttr : &CVexDoc::SetAnnFreeLineAttr;
    AnnLineAttr a;
    (doc->*get)(a);
    CVexAnnoLineSet dlg(tool == 2 ? 0 : tool == 6 ? 1 : 2);
    dlg.SetValues(a.penWidth, a.styleCode, a.lineType, a.penColor);
    result = dlg.DoModal();
    if (result == IDOK) {
      dlg.GetValues(a.penWidth, a.styleCode, a.lineType, a.penColor);
      (doc->*set)(a);
    }
  } else if (tool >= 3 && tool <= 5) {
    using Get = void (CVexDoc::*)(AnnShapeAttr&) const;
    using Set = void (CVexDoc::*)(const AnnShapeAttr&);
    const Get get = tool == 3 ? &CVexDoc::GetAnnRectAttr : tool == 4 ? &CVexDoc::GetAnnEllipseAttr : &CVexDoc::GetAnnPolygonAttr;
    const Set set = tool == 3 ? &CVexDoc::SetAnnRectAttr : tool == 4 ? &CVexDoc::SetAnnEllipseAttr : &CVexDoc::SetAnnPolygonAttr;
    AnnShapeAttr a;
    (doc->*get)(a);
    // As the shapes hand them over: the fill colour first, the pen colour second.
    CVexAnnoRectSet dlg(tool - 3);
    dlg.SetValues(a.penWidth, a.lineType, a.fillColor, a.penColor, a.square, a.filled);
    result = dlg.DoModal();
    if (result == IDOK) {
      dlg.GetValues(a.penWidth, a.lineType, a.fillColor, a.penColor, a.square, a.filled);
      (doc->*set)(a);
    }
  } else {
    return;
  }
  if (result == -1) ReportError(412, 1);
}

void CMainFrame::CloseAnnotationTool() {
  if (!m_pAnnoContrl) return;
  if (m_pAnnoContrl->GetSafeHwnd()) m_pAnnoContrl->DestroyWindow();
  // The close usually comes from the palette's own handler, which is still running.
  m_pClosedAnnoContrl = std::move(m_pAnnoContrl);
  if (GetSafeHwnd()) PostMessage(kFreeClosedTools);
  if (m_pStillDisplay) m_pStillDisplay->SetAnnotationMode(0);
  ActivateImagePane();
}

LRESULT CMainFrame::OnFreeClosedTools(WPARAM, LPARAM) {
  m_pClosedAnnoContrl.reset();
  m_pClosedScaleDialog.reset();
  return 0;
}

// ---- scale tool and calibration

void CMainFrame::OnScaleTool() {
  m_pClosedScaleDialog.reset();
  if (m_pScaleDialog) return;
  if (m_pAnnoContrl) {
    CString text;
    text.LoadString(62576);
    MessageBox(text, "Lumora Caution", MB_ICONWARNING);
    return;
  }
  auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument());
  const bool live = IsLiveRunning() != 0;
  if (live) StopLive();
  try {
    m_pScaleDialog = std::make_unique<CVexScaleDialog>(doc);
  } catch (const std::bad_alloc&) {
    ReportError(901, 1);
  }
  if (m_pScaleDialog) {
    if (m_pStillDisplay) {
      m_pStillDisplay->SetScaleEditMode(1);
      if (doc) SetStillScaleCache(*doc);
    }
    if (m_pScaleDialog->Create(CVexScaleDialog::IDD)) {
      m_pScaleDialog->ShowWindow(SW_SHOW);
      m_pScaleDialog->UpdateWindow();
      // The resize size in force, so the dialog shows what a resized picture measures.
      const DWORD size = doc ? doc->GetResizeSaveSize() : 0;
      BroadcastUpdate(kScaleDialogFlag, size <= 2 ? static_cast<LPARAM>(size) : -1);
    } else {
      // A dialog whose window cannot be made is not kept: the command can be tried again.
      m_pScaleDialog.reset();
      if (m_pStillDisplay) m_pStillDisplay->SetScaleEditMode(0);
      ReportError(901, 1);
    }
  }
  if (live) StartLive();
}

void CMainFrame::CloseScaleTool() {
  if (!m_pScaleDialog) return;
  if (m_pScaleDialog->GetSafeHwnd()) m_pScaleDialog->DestroyWindow();
  // The close comes from the dialog's own OK or Cancel, which is still running.
  m_pClosedScaleDialog = std::move(m_pScaleDialog);
  if (GetSafeHwnd()) PostMessage(kFreeClosedTools);
  if (!m_pStillDisplay) return;
  m_pStillDisplay->SetScaleEditMode(0);
  auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument());
  if (doc && doc->m_bScaleOnCaptured == 1) m_pStillDisplay->SetScaleEditMode(1);
}

void CMainFrame::RefreshScaleOverlays() {
  CVexDisplayOutput* live = m_live.liveDisplay;
  if (live) live->UpdateScaleOverlay(1);
  if (m_pStillDisplay) m_pStillDisplay->UpdateScaleOverlay(0);
  auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument());
  if (!doc || (doc->m_bScaleOnLive == 0 && doc->m_bScaleOnCaptured == 0)) return;
  const int swapped = m_bDimensionsSwapped;
  m_bDimensionsSwapped = 0;
  PlaceScaleOverlays(*doc, swapped);
}

void CMainFrame::SetStillScaleCache(const CVexDoc& doc) {
  m_pStillDisplay->SetScaleCache(doc.GetShootExposureMode() == 5 ? 1 : 0, doc.GetShootBufferSize(),
                                 static_cast<int>(doc.GetDir90()));
}

void CMainFrame::PlaceScaleOverlays(const CVexDoc& doc, int swapped) {
  if (doc.m_bScaleOnLive == 1 && m_live.liveDisplay) m_live.liveDisplay->PlaceScaleOverlay(1, 0);
  if (doc.m_bScaleOnCaptured == 1 && m_pStillDisplay) {
    SetStillScaleCache(doc);
    m_pStillDisplay->PlaceScaleOverlay(0, swapped);
    m_pStillDisplay->SetScaleEditMode(1);
  }
}

void CMainFrame::BeginCalibration() {
  m_bCalibrating = 1;
  if (m_pStillDisplay) m_pStillDisplay->BeginCalibration();
  if (m_live.liveDisplay) m_live.liveDisplay->UpdateScaleOverlay(1);
  if (m_pStillDisplay) m_pStillDisplay->UpdateScaleOverlay(0);
}

void CMainFrame::EndCalibration() {
  if (m_pStillDisplay) {
    m_pStillDisplay->ApplyCalibration();
    if (m_pScaleDialog) m_pScaleDialog->SetMeasuredPixels(m_pStillDisplay->GetCalibrationLength());
  }
  if (auto* doc = dynamic_cast<CVexDoc*>(GetActiveDocument())) PlaceScaleOverlays(*doc, m_bDimensionsSwapped);
  m_bCalibrating = 0;
}
