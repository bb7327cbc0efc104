#include "VexTimerRunDlg.h"

#include <afxcmn.h>

#include "MainFrame.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"

BEGIN_MESSAGE_MAP(CVexTimerRunDlg, CDialog)
ON_WM_TIMER()
ON_BN_CLICKED(CVexTimerRunDlg::kAbort, OnAbort)
END_MESSAGE_MAP()

CVexTimerRunDlg::CVexTimerRunDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

BOOL CVexTimerRunDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (CWinApp* app = AfxGetApp()) SetIcon(app->LoadIcon(128), TRUE);
  CString text;
  text.LoadString(62496);
  SetWindowText(text);
  m_bJustShot = 0;
  m_bStopRequested = 0;
  SetTimer(kTimer, 200, nullptr);
  CString format;
  format.LoadString(62497);
  text.Format(format, m_nHours, m_nMinutes, m_nSeconds, m_nTotalShots);
  SetDlgItemText(kCountText, text);
  if (auto* bar = static_cast<CProgressCtrl*>(GetDlgItem(kBar)))
    bar->SetRange(0, static_cast<short>(m_nTotalShots & 0xFFFF));
  m_start = CTime::GetCurrentTime();
  m_nextDue = m_start + CTimeSpan(0, 0, 0, 1);
  m_interval = CTimeSpan(0, m_nHours, m_nMinutes, m_nSeconds);
  return TRUE;
}

bool CVexTimerRunDlg::StopRequested() {
  CSingleLock lock(&m_lock, TRUE);
  return m_bStopRequested != 0;
}

void CVexTimerRunDlg::SetStatus(UINT id) {
  CString format, text;
  format.LoadString(id);
  if (id == 62524 || id == 62521)
    text = format;
  else
    text.Format(format, m_nShots, m_nTotalShots);
  SetDlgItemText(kStatusText, text);
  if (CWnd* status = GetDlgItem(kStatusText)) status->UpdateWindow();
}

void CVexTimerRunDlg::ShowTimeLeft() {
  const LONGLONG remaining = static_cast<LONGLONG>(m_nTotalShots) - m_nShots;
  const CTimeSpan left(m_interval.GetTimeSpan() * remaining + m_nCaptureSeconds);
  CString format, text;
  format.LoadString(62525);
  text.Format(format, static_cast<int>(left.GetDays() * 24 + left.GetHours()), left.GetMinutes(), left.GetSeconds());
  SetDlgItemText(kTimeLeft, text);
  if (CWnd* label = GetDlgItem(kTimeLeft)) label->UpdateWindow();
}

void CVexTimerRunDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTimer || !m_bArmed) {
    CDialog::OnTimer(nIDEvent);
    return;
  }
  CMainFrame* frame = CMainFrame::Get();
  if (!frame) return;
  const CTime now = CTime::GetCurrentTime();
  if (StopRequested()) return;
  if (now >= m_nextDue) {
    if (frame->IsCapturing()) {
      // The interval is shorter than a capture: the series ends through a failed shot.
      m_bArmed = 0;
      KillTimer(kTimer);
      SetStatus(62524);
    }
    if (StopRequested()) return;
    m_bArmed = 0;
    m_nextDue += m_interval;
    SetStatus(62522);
    m_bLiveWasRunning = frame->IsLiveRunning();
    {
      CSingleLock lock(&m_lock, TRUE);
      if (m_bLiveWasRunning) frame->StopLive();
    }
    if (StopRequested()) return;
    if (!frame->CaptureStill(1)) {
      FailShot();
      return;
    }
    {
      CSingleLock lock(&m_lock, TRUE);
      // An abort during the shot leaves live view stopped: the caller restarts it.
      if (m_bStopRequested) return;
      if (m_bLiveWasRunning) frame->StartLive();
    }
    if (StopRequested()) return;
    m_bArmed = 1;
    ++m_nShots;
    if (auto* bar = static_cast<CProgressCtrl*>(GetDlgItem(kBar))) bar->SetPos(static_cast<int>(m_nShots));
    if (m_nShots >= m_nTotalShots) Finish();
    if (m_pDoc && m_pDoc->GetLastErrorValue() == 1 && m_pErrorControl)
      m_pErrorControl->ReportError(static_cast<int>(m_pDoc->GetLastErrorType()),
                                   static_cast<int>(m_pDoc->GetLastErrorDetail()));
    m_bJustShot = 1;
    if (StopRequested()) return;
  } else if (m_bJustShot) {
    SetStatus(frame->IsCapturing() ? 62522 : 62523);
    m_bJustShot = 0;
  }
  ShowTimeLeft();
}

void CVexTimerRunDlg::StopRun() {
  SetCapture();
  m_bArmed = 0;
  KillTimer(kTimer);
}

void CVexTimerRunDlg::Finish() {
  StopRun();
  ::Sleep(100);
  EndDialog(0);
}

void CVexTimerRunDlg::FailShot() {
  StopRun();
  CMainFrame* frame = CMainFrame::Get();
  if (m_pDoc && m_pDoc->GetLastErrorValue() == 1 && frame)
    frame->ReportError(static_cast<SHORT>(m_pDoc->GetLastErrorType()), static_cast<SHORT>(m_pDoc->GetLastErrorDetail()));
  {
    CSingleLock lock(&m_lock, TRUE);
    if (m_bLiveWasRunning && frame) frame->StartLive();
  }
  ::Sleep(100);
  EndDialog(0);
}

void CVexTimerRunDlg::OnAbort() {
  SetStatus(62521);
  {
    CSingleLock lock(&m_lock, TRUE);
    m_bStopRequested = 1;
    ::Sleep(100);
  }
  StopRun();
  ::Sleep(100);
  EndDialog(kAborted);
}
