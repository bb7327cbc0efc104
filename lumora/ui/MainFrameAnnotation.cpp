// The main frame's services of the annotation tool palette, its defaults dialogs, and the
// scale tool with calibration.
#include <new>

#include "MainFrame.h"
#include "annotation/dialogs/VexAnnoContrl.h"
#include "annotation/dialogs/VexAnnoLineSet.h"
#include "annotation/dialogs/VexAnnoRectSet.h"
#include "annotation/dialogs/VexAnnoTextSet.h"
#include "annotation/dialogs/VexScaleDialog.h"
#include "control/VexDoc.h"
#include "pipeline/output/VexDisplayOutput.h"

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
