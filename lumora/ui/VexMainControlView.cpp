#include "VexMainControlView.h"

#include "MainFrame.h"
#include "VexProcessDialog.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"

IMPLEMENT_DYNCREATE(CVexMainControlView, CFormView)

BEGIN_MESSAGE_MAP(CVexMainControlView, CFormView)
ON_BN_CLICKED(CVexMainControlView::kCaptureButton, OnExposure)
END_MESSAGE_MAP()

CVexMainControlView::CVexMainControlView() : CFormView(IDD) {}

CVexDoc* CVexMainControlView::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

void CVexMainControlView::OnSettingsChanged(LONG flag) {
  // The reload of every setting belongs to the panel's settings mirror.
  (void)flag;
}

void CVexMainControlView::FocusCaptureButton() {
  if (CWnd* button = GetDlgItem(kCaptureButton)) button->SetFocus();
}

void CVexMainControlView::ReportLastError() {
  CVexDoc* doc = GetDocument();
  if (doc && m_pErrorControl)
    m_pErrorControl->ReportError(static_cast<int>(doc->GetLastErrorType()), static_cast<int>(doc->GetLastErrorDetail()));
}

void CVexMainControlView::OnExposure() {
  CMainFrame* frame = CMainFrame::Get();
  CVexDoc* doc = GetDocument();
  if (!frame || !doc) return;
  if (m_bCaptureRunning || frame->IsBusy()) return;
  frame->SetBusy(1);
  m_bCaptureRunning = 1;
  frame->EnableFrame(0);
  if (m_pProcessDialog) m_pProcessDialog->TakeMouse();
  m_bLiveWasRunning = frame->IsLiveRunning();
  if (m_bLiveWasRunning) frame->StopLive();
  doc->SetShootState(1);
  frame->CaptureStill(0);
  CWnd* button = GetDlgItem(kCaptureButton);
  if (doc->GetLastErrorValue() == 1) {
    frame->EnableFrame(1);
    if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(button);
    ReportLastError();
    if (m_bLiveWasRunning) frame->StartLive();
  } else {
    if (m_bLiveWasRunning) frame->StartLive();
    frame->EnableFrame(1);
    if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(button);
  }
  m_bCaptureRunning = 0;
  frame->SetBusy(0);
}
