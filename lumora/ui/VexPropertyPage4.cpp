#include "VexPropertyPage4.h"

#include <algorithm>
#include <cstdlib>

#include "VexMainControlView.h"

BEGIN_MESSAGE_MAP(CVexPropertyPage4, CPropertyPage)
ON_BN_CLICKED(CVexPropertyPage4::kEnableTimer, OnEnableTimer)
ON_CONTROL(EN_CHANGE, CVexPropertyPage4::kInterval, OnIntervalChange)
ON_EN_CHANGE(CVexPropertyPage4::kShots, OnShotsChange)
ON_WM_PAINT()
ON_CONTROL(EN_KILLFOCUS, CVexPropertyPage4::kInterval, OnIntervalChange)
END_MESSAGE_MAP()

namespace {
// The date/time control holds the interval's hours as the year 2000 + hours.
constexpr int kBaseYear = 2000;
}  // namespace

void CVexPropertyPage4::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kEnableTimer, m_btnEnable);
  DDX_Control(pDX, kShotsSpin, m_wndShotsSpin);
  DDX_Text(pDX, kShots, m_nShots);
  DDX_Text(pDX, kTotalTime, m_strTotalTime);
  DDX_Text(pDX, kTotalSize, m_strTotalSize);
}

BOOL CVexPropertyPage4::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  {
    CClientDC dc(this);
    m_font.CreateFont(-::MulDiv(12, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0,
                      VARIABLE_PITCH, nullptr);
  }
  PublishPanel();
  ShowInterval();
  m_wndInterval.SetFormat("yy  :  mm  :  ss");
  m_wndShotsSpin.SetRange32(0, kMaxShots);
  if (CVexMainControlView* panel = Panel()) {
    m_nShots = panel->GetTotalShots();
    m_wndShotsSpin.SetPos32(m_nShots);
  }
  m_wndInterval.CreateOverDlgItem(kInterval, this, SEC_DTS_UPDOWN, WS_CHILD | WS_TABSTOP, WS_EX_CLIENTEDGE);
  m_wndInterval.SetFieldIndex(kIntervalField);
  if (CWnd* interval = GetDlgItem(kInterval)) interval->SetFont(&m_font);
  if (CVexMainControlView* panel = Panel())
    CheckDlgButton(kEnableTimer, panel->GetEnableTimeLapse() ? BST_CHECKED : BST_UNCHECKED);
  UpdateTotals();
  UpdateData(FALSE);
  Invalidate();
  return TRUE;
}

void CVexPropertyPage4::ShowInterval() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  m_wndInterval.SetDateTime(
      COleDateTime(kBaseYear + panel->GetIntervalHour(), 1, 1, 0, panel->GetIntervalMin(), panel->GetIntervalSec()));
}

void CVexPropertyPage4::Refresh() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  ShowInterval();
  m_nShots = panel->GetTotalShots();
  m_wndShotsSpin.SetRange32(0, kMaxShots);
  m_wndShotsSpin.SetPos32(m_nShots);
  CheckDlgButton(kEnableTimer, panel->GetEnableTimeLapse() ? BST_CHECKED : BST_UNCHECKED);
  UpdateTotals();
  UpdateData(FALSE);
  Invalidate();
  UpdateWindow();
}

void CVexPropertyPage4::UpdateTotals() {
  CVexMainControlView* panel = Panel();
  if (!panel || !m_wndInterval.GetSafeHwnd()) return;
  const COleDateTime& interval = m_wndInterval.GetDateTime();
  const long long seconds =
      (interval.GetYear() % 100) * 3600LL + interval.GetMinute() * 60LL + interval.GetSecond();
  panel->SetTotalShots(m_nShots);
  long long total = m_nShots * seconds;
  if (m_nShots > 0) total += panel->EstimateCaptureSeconds();
  // Hours run past a day.
  m_strTotalTime.Format("%2d : %2d : %2d", static_cast<int>(total / 3600), static_cast<int>(total / 60 % 60),
                        static_cast<int>(total % 60));
  m_strTotalSize.Format("%5.1f MB", panel->GetTotalImageBytes(m_nShots) / 1024.0 / 1024.0);
}

void CVexPropertyPage4::OnEnableTimer() {
  if (CVexMainControlView* panel = Panel()) panel->EnableTimeLapse(IsDlgButtonChecked(kEnableTimer) ? 1 : 0);
}

void CVexPropertyPage4::OnIntervalChange() {
  if (Initialising()) return;
  const COleDateTime& interval = m_wndInterval.GetDateTime();
  Panel()->SetInterval(interval.GetYear() % 100, interval.GetMinute(), interval.GetSecond());
  ShotsChanged();
}

void CVexPropertyPage4::OnShotsChange() {
  if (Initialising()) return;
  ShotsChanged();
}

BOOL CVexPropertyPage4::ReadShots(int& shots) const {
  CString text;
  GetDlgItemText(kShots, text);
  text.TrimLeft();
  text.TrimRight();
  if (text.IsEmpty()) return FALSE;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (!end || *end) return FALSE;
  shots = static_cast<int>(std::clamp(value, 0L, static_cast<long>(kMaxShots)));
  return TRUE;
}

void CVexPropertyPage4::ShotsChanged() {
  // An emptied count is refilled with the current one.
  if (RefillEmpty(kShots, m_nShots)) return;
  ReadShots(m_nShots);
  m_nShots = std::clamp(m_nShots, 0, static_cast<int>(kMaxShots));
  UpdateTotals();
  UpdateData(FALSE);
}

void CVexPropertyPage4::OnPaint() {
  CPaintDC dc(this);
  // Read quietly: a half-typed count must not raise a prompt in the middle of painting.
  ReadShots(m_nShots);
  UpdateTotals();
  UpdateData(FALSE);
}
