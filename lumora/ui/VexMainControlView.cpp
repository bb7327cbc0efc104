#include "VexMainControlView.h"


#include <algorithm>

#include <afxdlgs.h>

#include "MainFrame.h"
#include "UpdateFlags.h"
#include "VexProcessDialog.h"
#include "VexTimerRunDlg.h"
#include "control/VexDoc.h"
#include "control/VexErrorControl.h"

IMPLEMENT_DYNCREATE(CVexMainControlView, CFormView)

BEGIN_MESSAGE_MAP(CVexMainControlView, CFormView)
ON_BN_CLICKED(CVexMainControlView::kCaptureButton, OnExposure)
ON_BN_CLICKED(CVexMainControlView::kStepUp, OnExposureUp)
ON_BN_CLICKED(CVexMainControlView::kStepDown, OnExposureDown)
ON_COMMAND_RANGE(CVexMainControlView::kNormalRadio, CVexMainControlView::kMaxRadio, OnSensitivity)
ON_BN_CLICKED(CVexMainControlView::kProfileCheck, OnLineProfile)
ON_EN_CHANGE(CVexMainControlView::kSecondsEdit, OnSecondsChange)
ON_WM_HSCROLL()
ON_WM_CTLCOLOR()
ON_WM_TIMER()
END_MESSAGE_MAP()

// Denominators x of 1/x second by slider position; position 32 is the long exposure.
const int CVexMainControlView::kShutter[33] = {12000, 6000, 4000, 3000, 2500, 2000, 1500, 1200, 1000, 750, 600,
                                               500,   400,  300,  250,  200,  150,  120,  100,  75,   60,  50,
                                               40,    30,   25,   20,   15,   12,   6,    4,    3,    2,    1};

namespace {
enum : UINT { kCaptureBitmap = 202, kCaptureBusyBitmap = 160, kTimeLapseBitmap = 158 };
enum : UINT { kUpBitmap = 225, kUpBusyBitmap = 221, kDownBitmap = 226, kDownBusyBitmap = 223 };

// The focus meter's state: there is one panel.
int g_focusRange = 0;
SHORT g_focusPeak = 0;
int g_focusTicks = 0;

int FontHeight(CWnd& wnd, int points) {
  CClientDC dc(&wnd);
  return -::MulDiv(points, dc.GetDeviceCaps(LOGPIXELSY), 72);
}
}  // namespace

// ---- frame disabling around a piece of work

CVexMainControlView::FrameOff::FrameOff(CVexMainControlView& view, bool stopLive, bool waitCursor)
    : m_view(view), m_frame(view.Frame()), m_wait(waitCursor) {
  if (m_frame) m_frame->EnableFrame(0);
  if (m_wait) m_view.BeginWaitCursor();
  if (stopLive && m_frame && m_frame->IsLiveRunning()) {
    m_liveRan = true;
    m_frame->StopLive();
  }
}

void CVexMainControlView::FrameOff::End() {
  if (m_ended) return;
  m_ended = true;
  if (m_liveRan && m_frame) m_frame->StartLive();
  if (m_frame) m_frame->EnableFrame(1);
  if (m_wait) m_view.EndWaitCursor();
}

CVexMainControlView::CVexMainControlView() : CFormView(IDD) {}

CVexMainControlView::~CVexMainControlView() = default;

CVexDoc* CVexMainControlView::GetDocument() const { return dynamic_cast<CVexDoc*>(m_pDocument); }

CMainFrame* CVexMainControlView::Frame() const { return CMainFrame::Get(); }

void CVexMainControlView::DoDataExchange(CDataExchange* pDX) {
  CFormView::DoDataExchange(pDX);
  DDX_Control(pDX, kReadout, m_wndReadout);
  DDX_Control(pDX, kFocusBar, m_wndFocusBar);
  DDX_Control(pDX, kSlider, m_wndSlider);
  DDX_Control(pDX, kSecondsSpin, m_wndSpin);
  DDX_Control(pDX, kModeLabel, m_wndModeLabel);
  UINT seconds = m_nLongExposureTime;
  DDX_Text(pDX, kSecondsEdit, seconds);
  m_nLongExposureTime = seconds;  // kept even when the range check below refuses it
  DDV_MinMaxUInt(pDX, seconds, 1, 170);
}

void CVexMainControlView::OnSettingsChanged(LONG flag) {
  if (flag == static_cast<LONG>(kUpdReloadSettings)) ReloadSettings();
}

void CVexMainControlView::FocusCaptureButton() {
  if (CWnd* button = GetDlgItem(kCaptureButton)) button->SetFocus();
}

void CVexMainControlView::Broadcast(DWORD flags) {
  if (CMainFrame* frame = Frame()) frame->BroadcastUpdate(flags, 0);
}

// ---- initial update

void CVexMainControlView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  m_bInitialising = 1;
  LoadFromDocument();
  m_wndSlider.SetRange(0, kLongPosition);
  m_wndSlider.SetTicFreq(1);
  m_wndSlider.SetPageSize(1);
  m_wndFocusBar.SetRange(0, 1500);
  CreateSettingsSheet();
  if (m_nLongExposureMode == 1) {
    SetExposureValue(m_nLongExposureTime);
    m_wndSlider.SetPos(kLongPosition);
  } else {
    SetExposureValue(static_cast<UINT>(m_nExposureTime));
    m_wndSlider.SetPos(m_nExposureTime);
  }
  m_wndSpin.SetRange(1, 170);
  m_wndSpin.SetPos(static_cast<int>(m_nLongExposureTime));
  UpdateExposureReadout();
  m_fontSeconds.CreateFont(FontHeight(*this, 12), 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, VARIABLE_PITCH | FF_ROMAN,
                           nullptr);
  if (CWnd* edit = GetDlgItem(kSecondsEdit)) edit->SetFont(&m_fontSeconds);
  UpdateExposureReadout();
  SetSensitivity(m_nSensitivity);
  if (CButton* profile = static_cast<CButton*>(GetDlgItem(kProfileCheck)))
    profile->SetIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(150) : nullptr);
  ApplyExposure();
  UpdateData(FALSE);
  m_btnCapture.AttachButton(kCaptureButton, SECBitmapButton::Al_Top, kCaptureBitmap, this);
  m_btnUp.AttachButton(kStepUp, SECBitmapButton::Al_Center, kUpBitmap, this);
  m_btnDown.AttachButton(kStepDown, SECBitmapButton::Al_Center, kDownBitmap, this);
  m_fontCapture.CreateFont(FontHeight(*this, 8), 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, VARIABLE_PITCH | FF_SWISS,
                           "Arial Narrow");
  m_btnCapture.SetFont(&m_fontCapture);
  EnableTimeLapse(m_nEnableTimeLapse);
  SetTimer(kMeterTimer, 300, nullptr);
  OnLineProfile();
  m_wndToolTip.Create(this);
  CString tip;
  tip.LoadString(62470);
  m_wndToolTip.AddTool(GetDlgItem(kProfileCheck), tip);
  tip.LoadString(62471);
  m_wndToolTip.AddTool(&m_btnCapture, tip);
  m_wndToolTip.Activate(TRUE);
  m_bInitialising = 0;
}

void CVexMainControlView::CreateSettingsSheet() {
  CVexSettingsPages::Maker maker = CVexSettingsPages::SheetMaker();
  if (!maker) return;  // no sheet in this program: the placeholder stays empty
  m_pPages = maker();
  if (!m_pPages || !m_pPages->Create(this)) {
    m_pPages.reset();
    return;
  }
  CPropertySheet* sheet = m_pPages->GetSheet();
  sheet->ModifyStyle(0, WS_TABSTOP);
  sheet->ModifyStyleEx(0, WS_EX_CONTROLPARENT);
  ModifyStyleEx(0, WS_EX_CONTROLPARENT);
  CRect place;
  if (CWnd* placeholder = GetDlgItem(kSheetPlace)) {
    placeholder->GetWindowRect(&place);
    ScreenToClient(&place);
  }
  CRect sheetRect, tabRect;
  sheet->GetWindowRect(&sheetRect);
  CTabCtrl* tab = sheet->GetTabControl();
  if (tab) tab->GetWindowRect(&tabRect);
  const int dx = sheetRect.Width() - tabRect.Width(), dy = sheetRect.Height() - tabRect.Height();
  sheet->MoveWindow(&place);
  if (tab)
    tab->SetWindowPos(nullptr, 0, 0, place.Width() - dx, place.Height() - dy,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int active = sheet->GetActiveIndex();
  for (int i = 0; i < sheet->GetPageCount(); ++i) sheet->SetActivePage(i);
  sheet->SetActivePage(active);
  if (CFrameWnd* parent = GetParentFrame()) parent->RecalcLayout();
  ResizeParentToFit(FALSE);
  ResizeParentToFit(TRUE);
  for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
    if (child->GetStyle() & WS_TABSTOP) {
      child->SetFocus();
      break;
    }
  }
  m_bSheetCreated = 1;
}

// ---- exposure

void CVexMainControlView::ShowSeconds() {
  CString text;
  text.Format("%5ds", m_nLongExposureTime);
  m_wndReadout.SetText(text, 0, 6);
}

void CVexMainControlView::ClampSeconds() {
  if (m_nLongExposureTime == 0) m_nLongExposureTime = 1;
  if (m_nLongExposureTime > 170) m_nLongExposureTime = 170;
}

void CVexMainControlView::UpdateTotals() {
  if (m_pPages) m_pPages->UpdateTotals();
}

void CVexMainControlView::UpdateExposureReadout() {
  UpdateData(TRUE);
  const int position = m_wndSlider.GetPos();
  if (position == kLongPosition) {
    m_nLongExposureMode = 1;
    if (CWnd* edit = GetDlgItem(kSecondsEdit)) edit->EnableWindow(TRUE);
    UpdateData(TRUE);
    ClampSeconds();
    UpdateData(FALSE);
    ShowSeconds();
  } else {
    m_nExposureTime = std::clamp(position, 0, static_cast<int>(kLongPosition) - 1);
    m_nLongExposureMode = 0;
    if (CWnd* edit = GetDlgItem(kSecondsEdit)) edit->EnableWindow(FALSE);
    CString text;
    text.Format(" %5d", kShutter[m_nExposureTime]);
    m_wndReadout.SetText(text, 0, 6);
    m_wndReadout.UpdateWindow();
  }
  UpdateTotals();
  m_nLastSliderPos = position;
}

void CVexMainControlView::ApplyExposure() {
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  FrameOff off(*this, false);
  doc->SetLongExposureMode(static_cast<DWORD>(m_nLongExposureMode));
  if (m_nLongExposureMode == 1) {
    doc->SetLiveExposure(2, static_cast<SHORT>(m_nLongExposureTime));
    doc->SetLongExposureTime(m_nLongExposureTime);
  } else {
    doc->SetLiveExposure(1, static_cast<SHORT>(m_nExposureTime));
    doc->SetExposureTime(static_cast<DWORD>(m_nExposureTime));
  }
}

void CVexMainControlView::SetExposureValue(UINT value) {
  CVexDoc* doc = GetDocument();
  FrameOff off(*this, false);
  if (m_nLongExposureMode == 1) {
    m_nLongExposureTime = value;
    if (!doc) return;
    doc->SetLongExposureTime(value);
    doc->SetLiveExposure(2, static_cast<SHORT>(value));
  } else {
    m_nExposureTime = static_cast<int>(value);
    if (!doc) return;
    doc->SetExposureTime(value);
    doc->SetLiveExposure(1, static_cast<SHORT>(value));
  }
}

void CVexMainControlView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  if (!pScrollBar || pScrollBar->m_hWnd != m_wndSlider.m_hWnd) {
    CFormView::OnHScroll(nSBCode, nPos, pScrollBar);
    return;
  }
  UpdateExposureReadout();
  if (nSBCode == SB_PAGELEFT || nSBCode == SB_PAGERIGHT) {
    ::Sleep(150);
    return;
  }
  if (nSBCode != SB_THUMBPOSITION && nSBCode != SB_ENDSCROLL) return;
  CMainFrame* frame = Frame();
  if (frame) frame->EnableFrame(0);
  BeginWaitCursor();
  m_wndSlider.EnableWindow(FALSE);
  ApplyExposure();
  if (frame) frame->EnableFrame(1);
  m_wndSlider.EnableWindow(TRUE);
  m_wndSlider.SetFocus();
  EndWaitCursor();
}

void CVexMainControlView::OnSecondsChange() {
  if (m_nLongExposureMode != 1 || m_bSecondsWaiting) return;
  m_bSecondsWaiting = 1;
  // One application follows a burst of typing: keystrokes during the wait re-enter here
  // and return at once.
  LARGE_INTEGER frequency{}, start{}, now{};
  if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
    ::QueryPerformanceCounter(&start);
    const LONGLONG wait = frequency.QuadPart / 2;
    do {
      MSG msg;
      if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
      ::Sleep(0);
      ::QueryPerformanceCounter(&now);
    } while (now.QuadPart - start.QuadPart < wait);
  }
  m_bSecondsWaiting = 0;
  if (!AfxGetMainWnd() || !GetSafeHwnd()) return;
  CWnd* edit = GetDlgItem(kSecondsEdit);
  if (edit && edit->GetWindowTextLength() == 0) {
    CString text;
    text.Format("%d", m_nLongExposureTime);
    edit->SetWindowText(text);
  }
  UpdateData(TRUE);
  ClampSeconds();
  UpdateData(FALSE);
  ShowSeconds();
  UpdateTotals();
  ApplyExposure();
}

void CVexMainControlView::StepExposure(int delta, UINT busyBitmap, UINT idleBitmap, SECBitmapButton& button) {
  if (button.GetSafeHwnd()) button.SetBitmapResource(busyBitmap);
  m_wndSlider.SetPos(m_wndSlider.GetPos() + delta);
  UpdateData(FALSE);
  UpdateExposureReadout();
  ApplyExposure();
  if (button.GetSafeHwnd()) button.SetBitmapResource(idleBitmap);
}

void CVexMainControlView::OnExposureUp() { StepExposure(1, kUpBusyBitmap, kUpBitmap, m_btnUp); }

void CVexMainControlView::OnExposureDown() { StepExposure(-1, kDownBusyBitmap, kDownBitmap, m_btnDown); }

// ---- sensitivity

void CVexMainControlView::OnSensitivity(UINT nID) { SetSensitivity(static_cast<int>(nID) - kNormalRadio); }

void CVexMainControlView::SetSensitivity(int index) {
  const bool changed = index != m_nSensitivity;
  std::unique_ptr<FrameOff> off;
  if (changed) off = std::make_unique<FrameOff>(*this, false);
  if (index >= 0 && index <= 2) {
    m_nSensitivity = index;
    if (CVexDoc* doc = GetDocument()) doc->SetSensitivity(static_cast<DWORD>(index));
    for (int id = kNormalRadio; id <= kMaxRadio; ++id) CheckDlgButton(id, BST_UNCHECKED);
    CheckDlgButton(kNormalRadio + index, BST_CHECKED);
  }
  if (changed)
    if (CVexDoc* doc = GetDocument()) doc->SetGainLevel(static_cast<SHORT>(index));
}

// ---- focus meter

int CVexMainControlView::FocusRange() { return g_focusRange; }

int CVexMainControlView::IntegerSqrt(int value) {
  if (value == 0 || value == 1) return value;
  int result = 0;
  for (int bit = 1 << 15; bit; bit >>= 1) {
    const int trial = result | bit;
    if (static_cast<long long>(trial) * trial <= value) result = trial;
  }
  return result;
}

void CVexMainControlView::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kMeterTimer) {
    CFormView::OnTimer(nIDEvent);
    return;
  }
  UpdateFocusMeter();
}

void CVexMainControlView::UpdateFocusMeter() {
  CVexDoc* doc = GetDocument();
  if (!doc || !m_wndFocusBar.GetSafeHwnd()) return;
  CString text;
  if (doc->GetFocusTargetState() == 0 || IsDlgButtonChecked(kProfileCheck)) {
    text = "N/A";
    m_wndFocusBar.ClearPos();
    g_focusTicks = 0;
    g_focusPeak = 0;
  } else {
    int value = doc->GetFocusValue();
    text.Format("%03d", value);
    if (value < 0) value = 0;
    const int level = IntegerSqrt(value * 900);
    if (g_focusRange == 0 && level > 1500) {
      g_focusRange = 1;
      m_wndFocusBar.ClearPeak();
      m_wndFocusBar.SetBarColor(RGB(255, 255, 0));
      m_wndFocusBar.SetRange(1000, 4000);
    } else if (g_focusRange == 1 && level < 1000) {
      g_focusRange = 0;
      m_wndFocusBar.ClearPeak();
      m_wndFocusBar.SetBarColor(RGB(0, 255, 0));
      m_wndFocusBar.SetRange(0, 1500);
    }
    if (level > g_focusPeak) {
      g_focusPeak = static_cast<SHORT>(std::min(level, 4000));
      g_focusTicks = 0;
    }
    g_focusTicks = (g_focusTicks + 1) % 30;
    if (g_focusTicks == 0) m_wndFocusBar.ClearPeak();
    m_wndFocusBar.SetPos(std::min(level, 4000));
  }
  SetDlgItemText(kFocusText, text);
}

// ---- line profile and white balance

void CVexMainControlView::OnLineProfile() {
  CVexDoc* doc = GetDocument();
  FrameOff off(*this, false);
  if (m_bWBArea) {
    // Refused while the white-balance area is picked: the click is undone.
    CheckDlgButton(kProfileCheck, IsDlgButtonChecked(kProfileCheck) ? BST_UNCHECKED : BST_CHECKED);
    return;
  }
  if (!doc) return;
  const int on = IsDlgButtonChecked(kProfileCheck) ? 1 : 0;
  doc->SetImageProfileState(static_cast<DWORD>(on));
  doc->SetDisplayMode(doc->GetImageProfileState() ? 1 : 0);
  Broadcast(kUpdLiveDisplay);
  Broadcast(kUpdProfile);
  Broadcast(kUpdFlowControl);
}

void CVexMainControlView::ToggleWhiteBalanceArea() {
  CVexDoc* doc = GetDocument();
  FrameOff off(*this, false);
  m_bWBArea = m_bWBArea ? 0 : 1;
  if (!doc) return;
  doc->SetWBAreaSelection(m_bWBArea);
  if (m_bWBArea)
    doc->SetDisplayMode(m_nWBSampleRect == 1 ? 3 : 2);
  else
    doc->SetDisplayMode(doc->GetImageProfileState() ? 1 : 0);
  Broadcast(kUpdLiveDisplay);
  Broadcast(kUpdFlowControl);
}

void CVexMainControlView::RunWhiteBalance() {
  CMainFrame* frame = Frame();
  CVexDoc* doc = GetDocument();
  if (!doc) return;
  if (frame) frame->EnableFrame(0);
  if (m_pProcessDialog) m_pProcessDialog->TakeMouse();
  m_bLiveWasRunning = frame && frame->IsLiveRunning();
  if (m_bLiveWasRunning) frame->StopLive();
  if (!doc->IsWhiteBalanceRectSet()) {
    if (frame) frame->EnableFrame(1);
    CString text, caption;
    text.LoadString(62545);
    caption = AfxGetAppName() ? AfxGetAppName() : "";
    ::MessageBoxA(AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr, text, caption, MB_OK);
    return;
  }
  doc->ClearLastError();
  if (m_pProcessDialog) m_pProcessDialog->TakeMouse();
  doc->SetFocusValue(0, 0, 0);
  m_wndFocusBar.ClearAll();
  if (frame) frame->RunWhiteBalance();
  if (doc->GetLastErrorValue() == 1) {
    if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(GetDlgItem(kCaptureButton));
    if (frame) frame->EnableFrame(1);
    ReportLastError();
  }
}

void CVexMainControlView::EndWhiteBalanceArea() {
  CMainFrame* frame = Frame();
  CVexDoc* doc = GetDocument();
  if (doc) {
    doc->SetDisplayMode(doc->GetImageProfileState() ? 1 : 0);
    doc->SetWBAreaSelection(0);
  }
  m_bWBArea = 0;
  Broadcast(kUpdLiveDisplay);
  Broadcast(kUpdFlowControl);
  if (m_bLiveWasRunning && frame && !frame->IsLiveRunning()) frame->StartLive();
  m_bLiveWasRunning = 0;
  if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(GetDlgItem(kCaptureButton));
  if (frame) frame->EnableFrame(1);
}

// ---- time-lapse mode and the capture button

void CVexMainControlView::SetCaptureBitmap(UINT bitmap) {
  if (!m_btnCapture.GetSafeHwnd()) return;
  m_btnCapture.SetBitmapResource(bitmap);
  m_btnCapture.Invalidate();
  m_btnCapture.UpdateWindow();
}

void CVexMainControlView::EnableTimeLapse(int on) {
  m_nEnableTimeLapse = on;
  if (CVexDoc* doc = GetDocument()) doc->SetEnableTimeLapse(static_cast<DWORD>(on));
  CMainFrame* frame = Frame();
  if (on) {
    if (!m_bTriggerSuspended) {
      if (frame) frame->SuspendTrigger(1);
      m_bTriggerSuspended = 1;
    }
    SetCaptureBitmap(kTimeLapseBitmap);
    if (m_btnCapture.GetSafeHwnd()) m_btnCapture.SetWindowText("START");
  } else {
    if (m_bTriggerSuspended) {
      if (frame) frame->ResumeTrigger(1);
      m_bTriggerSuspended = 0;
    }
    SetCaptureBitmap(kCaptureBitmap);
    if (m_btnCapture.GetSafeHwnd()) m_btnCapture.SetWindowText("EXPOSURE");
  }
  UpdateStatusText();
}

int CVexMainControlView::EstimateCaptureSeconds() const {
  if (m_nLongExposureMode == 1)
    return static_cast<int>(m_nFineMode == 1 ? m_nLongExposureTime * 9 : m_nLongExposureTime);
  if (m_nFineMode != 1) return 0;
  const int position = std::clamp(m_nExposureTime, 0, static_cast<int>(kLongPosition));
  return static_cast<int>(9u / static_cast<unsigned>(kShutter[position]));
}

float CVexMainControlView::GetTotalImageBytes(int count) const {
  CVexDoc* doc = GetDocument();
  return doc ? static_cast<float>(doc->GetImageByteSize()) * static_cast<float>(count) : 0.0f;
}

void CVexMainControlView::ReportLastError() {
  CVexDoc* doc = GetDocument();
  if (doc && m_pErrorControl)
    m_pErrorControl->ReportError(static_cast<int>(doc->GetLastErrorType()), static_cast<int>(doc->GetLastErrorDetail()));
}

void CVexMainControlView::OnExposure() {
  CMainFrame* frame = Frame();
  if (!frame || !GetDocument()) return;
  if (m_bCaptureRunning || frame->IsBusy() || frame->IsClosing()) return;
  const int timeLapse = m_nEnableTimeLapse == 1;
  try {
    if (timeLapse)
      RunTimeLapse();
    else
      RunSingleCapture();
  } catch (CException* e) {
    // The capture road is left as its own failure path leaves it, then the message.
    RestoreAfterException(timeLapse);
    ShowException(e);
    e->Delete();
  }
}

void CVexMainControlView::RunSingleCapture() {
  CMainFrame* frame = Frame();
  CVexDoc* doc = GetDocument();
  frame->SetBusy(1);
  m_bCaptureRunning = 1;
  frame->EnableFrame(0);
  if (m_pProcessDialog) m_pProcessDialog->TakeMouse();
  m_bLiveWasRunning = frame->IsLiveRunning();
  if (m_bLiveWasRunning) frame->StopLive();
  SetCaptureBitmap(kCaptureBusyBitmap);
  doc->SetShootState(1);
  frame->CaptureStill(0);
  CWnd* button = GetDlgItem(kCaptureButton);
  if (doc->GetLastErrorValue() == 1) {
    SetCaptureBitmap(kCaptureBitmap);
    frame->EnableFrame(1);
    if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(button);
    ReportLastError();
    if (m_bLiveWasRunning) frame->StartLive();
    frame->SetBusy(0);
    m_bCaptureRunning = 0;
    return;
  }
  // A close asked for meanwhile ended the capture: nothing more is started for it.
  if (doc->IsShotDone() == 1 && doc->GetAutoPrint() == 1 && !frame->IsClosing()) frame->AutoPrint();
  if (m_bLiveWasRunning) frame->StartLive();
  frame->EnableFrame(1);
  SetCaptureBitmap(kCaptureBitmap);
  if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(button);
  SetCaptureBitmap(kCaptureBitmap);
  m_bCaptureRunning = 0;
  frame->SetBusy(0);
}

void CVexMainControlView::RunTimeLapse() {
  CMainFrame* frame = Frame();
  CVexDoc* doc = GetDocument();
  m_bCaptureRunning = 1;
  frame->SetBusy(1);
  frame->EnableFrame(0);
  m_bLiveWasRunning = frame->IsLiveRunning();
  const int interval = m_nIntervalHour * 3600 + m_nIntervalMin * 60 + m_nIntervalSec;
  if (interval < EstimateCaptureSeconds() + 5) {
    AfxMessageBox(62524, MB_OK);
  } else if (m_nTotalShots == 0) {
    AfxMessageBox(62499, MB_OK);
  } else {
    doc->SetDirectMode(1);
    CVexTimerRunDlg dialog;
    dialog.SetShotCount(static_cast<UINT>(m_nTotalShots));
    dialog.SetInterval(m_nIntervalHour, m_nIntervalMin, m_nIntervalSec);
    dialog.SetArmed(1);
    dialog.SetDocument(doc);
    dialog.SetErrorControl(m_pErrorControl);
    dialog.SetCaptureSeconds(EstimateCaptureSeconds());
    doc->MakeAutoSaveName();
    m_nRunSavedAutoSave = static_cast<int>(doc->GetAutoSave());
    m_nRunSavedAutoPrint = static_cast<int>(doc->GetAutoPrint());
    m_bRunSettingsForced = 1;
    doc->SetAutoSave(1);
    doc->SetAutoPrint(0);
    Broadcast(kUpdFlowControl);
    if (dialog.DoModal() == -1 && m_pErrorControl) m_pErrorControl->ReportError(500, 1);
    RestoreRunSettings();
  }
  if (m_bLiveWasRunning && !frame->IsLiveRunning()) frame->StartLive();
  frame->SetBusy(0);
  m_bCaptureRunning = 0;
  frame->EnableFrame(1);
}

void CVexMainControlView::RestoreRunSettings() {
  CVexDoc* doc = GetDocument();
  if (!m_bRunSettingsForced || !doc) return;
  m_bRunSettingsForced = 0;
  doc->SetAutoSave(static_cast<DWORD>(m_nRunSavedAutoSave));
  doc->SetAutoPrint(static_cast<DWORD>(m_nRunSavedAutoPrint));
  Broadcast(kUpdFlowControl);
  doc->SetDirectMode(0);
}

void CVexMainControlView::RestoreAfterException(int timeLapse) {
  CMainFrame* frame = Frame();
  if (timeLapse) {
    RestoreRunSettings();
    if (CVexDoc* doc = GetDocument()) doc->SetDirectMode(0);
    if (m_bLiveWasRunning && frame && !frame->IsLiveRunning()) frame->StartLive();
    if (frame) frame->SetBusy(0);
    m_bCaptureRunning = 0;
    if (frame) frame->EnableFrame(1);
    return;
  }
  SetCaptureBitmap(kCaptureBitmap);
  if (frame) frame->EnableFrame(1);
  if (m_pProcessDialog) m_pProcessDialog->ReleaseMouse(GetDlgItem(kCaptureButton));
  if (m_bLiveWasRunning && frame && !frame->IsLiveRunning()) frame->StartLive();
  if (frame) frame->SetBusy(0);
  m_bCaptureRunning = 0;
}

void CVexMainControlView::ShowException(CException* e) {
  CString text;
  if (auto* file = dynamic_cast<CFileException*>(e)) {
    switch (file->m_cause) {
      case CFileException::fileNotFound: text = "FileNotFound"; break;
      case CFileException::tooManyOpenFiles: text = "TooManyFIlesOpen"; break;
      case CFileException::accessDenied: text = "AccessDenied"; break;
      case CFileException::diskFull: text = "DiskFull"; break;
      default: text.Format("File Error:%d", file->m_cause); break;
    }
  } else if (dynamic_cast<CMemoryException*>(e)) {
    text = "MemoryException";
  } else {
    text = "OtherException";
  }
  AfxMessageBox(text, MB_OK);
}

// ---- status box and colours

void CVexMainControlView::UpdateStatusText() {
  const char* shading = m_nShadingOption == 1 ? "Shading\n" : "\n";
  const char* resize = "\n";
  if (m_nResizeSave == 1) {
    static const char* const kSizes[] = {"R:75%\n", "R:50%\n", "R:25%\n"};
    if (m_nResizeSaveSize >= 0 && m_nResizeSaveSize <= 2) resize = kSizes[m_nResizeSaveSize];
  }
  const char* print = m_nAutoPrint == 1 && m_nEnableTimeLapse == 0 ? "Print\n" : "\n";
  const char* enhance = m_nAutoEnhance == 1 ? "Enhance" : "\n";
  char text[30];
  std::snprintf(text, sizeof text, "%s%s%s%s", shading, resize, print, enhance);
  if (GetSafeHwnd()) SetDlgItemText(kStatusBox, text);
}

HBRUSH CVexMainControlView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
  if (nCtlColor != CTLCOLOR_EDIT && nCtlColor != CTLCOLOR_STATIC) return brush;
  pDC->SetBkMode(TRANSPARENT);
  const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
  if (id == kSecondsEdit) {
    pDC->SetTextColor(RGB(0, 255, 0));
    if (!m_brushSeconds.GetSafeHandle()) m_brushSeconds.CreateSolidBrush(RGB(0, 0, 0));
    return static_cast<HBRUSH>(m_brushSeconds.GetSafeHandle());
  }
  if (id == kStatusBox) pDC->SetTextColor(RGB(128, 0, 0));
  return brush;
}

BOOL CVexMainControlView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE && m_wndToolTip.GetSafeHwnd()) m_wndToolTip.RelayEvent(pMsg);
  return CFormView::PreTranslateMessage(pMsg);
}
