#include "VexPropertyPage3.h"

#include <algorithm>

#include "VexMainControlView.h"

BEGIN_MESSAGE_MAP(CVexPropertyPage3, CPropertyPage)
ON_BN_CLICKED(CVexPropertyPage3::kWB, OnWB)
ON_BN_CLICKED(CVexPropertyPage3::kStart, OnStart)
ON_BN_CLICKED(CVexPropertyPage3::kFocusDocking, OnFocusDocking)
ON_BN_CLICKED(CVexPropertyPage3::kFocusOn, OnFocusOn)
ON_BN_CLICKED(CVexPropertyPage3::kColorBalance, OnColorBalance)
ON_CONTROL_RANGE(BN_CLICKED, CVexPropertyPage3::kDirection0, CVexPropertyPage3::kFlip, OnDirection)
ON_CONTROL_RANGE(BN_CLICKED, CVexPropertyPage3::kPoint, CVexPropertyPage3::kRectangle, OnSampleShape)
ON_CONTROL_RANGE(BN_CLICKED, CVexPropertyPage3::kStart, CVexPropertyPage3::kStartSpare, OnStartSpare)
ON_CONTROL_RANGE(EN_CHANGE, CVexPropertyPage3::kRed, CVexPropertyPage3::kBlue, OnColorChange)
END_MESSAGE_MAP()

namespace {
constexpr int kColorMin = -10, kColorMax = 10;
}  // namespace

void CVexPropertyPage3::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kRedLabel, m_wndRed);
  DDX_Control(pDX, kGreenLabel, m_wndGreen);
  DDX_Control(pDX, kBlueLabel, m_wndBlue);
  DDX_Control(pDX, kRedSpin, m_wndRedSpin);
  DDX_Control(pDX, kGreenSpin, m_wndGreenSpin);
  DDX_Control(pDX, kBlueSpin, m_wndBlueSpin);
  DDX_Text(pDX, kRed, m_nRed);
  DDX_Text(pDX, kGreen, m_nGreen);
  DDX_Text(pDX, kBlue, m_nBlue);
  DDV_MinMaxInt(pDX, m_nBlue, kColorMin, kColorMax);
}

BOOL CVexPropertyPage3::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  PublishPanel();
  m_wndRed.SetTextColor(0x000080).SetFontBold(TRUE);
  m_wndGreen.SetTextColor(0x008000).SetFontBold(TRUE);
  m_wndBlue.SetTextColor(0x800000).SetFontBold(TRUE);
  for (CSpinButtonCtrl* spin : {&m_wndRedSpin, &m_wndGreenSpin, &m_wndBlueSpin}) spin->SetRange(kColorMin, kColorMax);
  ShowValues();
  if (CButton* wb = static_cast<CButton*>(GetDlgItem(kWB)))
    wb->SetIcon(AfxGetApp() ? AfxGetApp()->LoadIcon(kWBIcon) : nullptr);
  return TRUE;
}

void CVexPropertyPage3::ShowValues() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  CheckDlgButton(kFlip, panel->GetFlip() ? BST_CHECKED : BST_UNCHECKED);
  const int direction = panel->GetDirection();
  for (int id = kDirection0; id <= kDirection3; ++id)
    CheckDlgButton(id, id == kDirection0 + direction ? BST_CHECKED : BST_UNCHECKED);
  const int rect = panel->GetWBSampleRect() ? 1 : 0;
  CheckDlgButton(kPoint, rect ? BST_UNCHECKED : BST_CHECKED);
  CheckDlgButton(kRectangle, rect ? BST_CHECKED : BST_UNCHECKED);
  if (CWnd* start = GetDlgItem(kStart)) start->EnableWindow(FALSE);
  CheckDlgButton(kFocusOn, panel->GetFocusTargetState() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kFocusDocking, panel->GetFocusTargetDocking() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kColorBalance, panel->GetRGBOption() ? BST_CHECKED : BST_UNCHECKED);
  m_nRed = panel->GetRGBRed();
  m_nGreen = panel->GetRGBGreen();
  m_nBlue = panel->GetRGBBlue();
  m_wndRedSpin.SetPos(m_nRed);
  m_wndGreenSpin.SetPos(m_nGreen);
  m_wndBlueSpin.SetPos(m_nBlue);
  const BOOL editable = panel->GetRGBOption() != 1;
  for (int id : {kRed, kGreen, kBlue})
    if (CWnd* edit = GetDlgItem(id)) edit->EnableWindow(editable);
}

void CVexPropertyPage3::Refresh() {
  ShowValues();
  CheckDlgButton(kWB, BST_UNCHECKED);
  UpdateData(FALSE);
  Invalidate();
  UpdateWindow();
}

void CVexPropertyPage3::OnDirection(UINT nID) {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  if (nID == kFlip) {
    panel->SetFlip(IsDlgButtonChecked(kFlip) ? 1 : 0);
    return;
  }
  for (int id = kDirection0; id <= kDirection3; ++id)
    if (IsDlgButtonChecked(id)) {
      panel->SetDirection(id - kDirection0);
      break;
    }
}

void CVexPropertyPage3::OnSampleShape(UINT nID) {
  if (CVexMainControlView* panel = Panel()) panel->SetWBSampleRect(nID == kRectangle ? 1 : 0);
}

void CVexPropertyPage3::OnWB() {
  if (CWnd* start = GetDlgItem(kStart)) start->EnableWindow(IsDlgButtonChecked(kWB) ? TRUE : FALSE);
  if (CVexMainControlView* panel = Panel()) panel->ToggleWhiteBalanceArea();
}

void CVexPropertyPage3::OnStart() {
  if (CVexMainControlView* panel = Panel()) {
    panel->RunWhiteBalance();
    panel->EndWhiteBalanceArea();
  }
  CheckDlgButton(kWB, BST_UNCHECKED);
  if (CWnd* start = GetDlgItem(kStart)) start->EnableWindow(FALSE);
}

// The range entry that also names "Start": the entry above takes its clicks.
void CVexPropertyPage3::OnStartSpare(UINT) {}

void CVexPropertyPage3::OnFocusOn() {
  if (CVexMainControlView* panel = Panel()) panel->SetFocusTargetState(IsDlgButtonChecked(kFocusOn) ? 1 : 0);
}

void CVexPropertyPage3::OnFocusDocking() {
  if (CVexMainControlView* panel = Panel()) panel->SetFocusTargetDocking(IsDlgButtonChecked(kFocusDocking) ? 1 : 0);
}

void CVexPropertyPage3::OnColorBalance() {
  if (Initialising()) return;
  UpdateData(TRUE);
  Panel()->SetRGBOption(IsDlgButtonChecked(kColorBalance) ? 1 : 0);
}

void CVexPropertyPage3::OnColorChange(UINT nID) {
  if (Initialising() || !AfxGetMainWnd()) return;
  int* value = nID == kRed ? &m_nRed : nID == kGreen ? &m_nGreen : &m_nBlue;
  CString text;
  GetDlgItemText(nID, text);
  // A lone minus sign waits for its digits.
  if (text == "-") return;
  RefillEmpty(nID, *value);
  // B's own range check may prompt; the value read is clamped all the same.
  UpdateData(TRUE);
  *value = std::clamp(*value, kColorMin, kColorMax);
  UpdateData(FALSE);
  CVexMainControlView* panel = Panel();
  const auto v = static_cast<SHORT>(*value);
  if (nID == kRed)
    panel->SetRGBRed(v);
  else if (nID == kGreen)
    panel->SetRGBGreen(v);
  else
    panel->SetRGBBlue(v);
}
