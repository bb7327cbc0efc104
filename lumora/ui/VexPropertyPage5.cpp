#include "VexPropertyPage5.h"

#include <algorithm>

#include "VexMainControlView.h"

BEGIN_MESSAGE_MAP(CVexPropertyPage5, CPropertyPage)
ON_BN_CLICKED(CVexPropertyPage5::kAutoPrint, OnAutoPrint)
ON_BN_CLICKED(CVexPropertyPage5::kEnhancement, OnEnhancement)
ON_BN_CLICKED(CVexPropertyPage5::kReduce, OnReduce)
ON_CBN_SELCHANGE(CVexPropertyPage5::kReduceSize, OnSelchangeReduceSize)
ON_BN_CLICKED(CVexPropertyPage5::kNoiseReduction, OnNoiseReduction)
ON_BN_CLICKED(CVexPropertyPage5::kShading, OnShading)
ON_EN_CHANGE(CVexPropertyPage5::kShadingLevel, OnShadingLevelChange)
ON_BN_CLICKED(CVexPropertyPage5::kShadingLive, OnShadingLive)
ON_BN_CLICKED(CVexPropertyPage5::kEnhanceLive, OnEnhanceLive)
ON_CONTROL_RANGE(BN_CLICKED, CVexPropertyPage5::kColor, CVexPropertyPage5::kNegative, OnColorMode)
ON_CONTROL_RANGE(EN_CHANGE, CVexPropertyPage5::kContrast, CVexPropertyPage5::kSharpness, OnOffsetChange)
END_MESSAGE_MAP()

void CVexPropertyPage5::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kContrastSpin, m_wndContrastSpin);
  DDX_Control(pDX, kLevelSpin, m_wndLevelSpin);
  DDX_Control(pDX, kSharpnessSpin, m_wndSharpnessSpin);
  DDX_Control(pDX, kShadingSpin, m_wndShadingSpin);
  DDX_Control(pDX, kReduceSize, m_wndReduceSize);
  DDX_Control(pDX, kNoiseNote, m_wndNoiseNote);
  DDX_Text(pDX, kContrast, m_nContrast);
  DDX_Text(pDX, kLevel, m_nLevel);
  DDX_Text(pDX, kSharpness, m_nSharpness);
  DDX_Text(pDX, kShadingLevel, m_nShadingLevel);
}

BOOL CVexPropertyPage5::OnInitDialog() {
  PublishPanel();
  CPropertyPage::OnInitDialog();
  m_wndReduceSize.ResetContent();
  for (const char* size : {"75%", "50%", "25%"}) m_wndReduceSize.AddString(size);
  m_wndNoiseNote.SetTextColor(0x0000FF);
  ShowValues();
  if (CVexMainControlView* panel = Panel()) panel->UpdateStatusText();
  return TRUE;
}

void CVexPropertyPage5::ShowValues() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  CheckDlgButton(kAutoPrint, panel->GetAutoPrint() ? BST_CHECKED : BST_UNCHECKED);
  for (int id = kColor; id <= kNegative; ++id)
    CheckDlgButton(id, id - kColor == panel->GetColorMode() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kEnhancement, panel->GetAutoEnhance() ? BST_CHECKED : BST_UNCHECKED);
  for (CSpinButtonCtrl* spin : {&m_wndContrastSpin, &m_wndLevelSpin, &m_wndSharpnessSpin}) spin->SetRange(0, kOffsetMax);
  m_nContrast = panel->GetContrastOffset();
  m_nSharpness = panel->GetSharpnessOffset();
  m_nLevel = panel->GetLevelOffset();
  m_wndContrastSpin.SetPos(m_nContrast);
  m_wndSharpnessSpin.SetPos(m_nSharpness);
  m_wndLevelSpin.SetPos(m_nLevel);
  const BOOL offsetsEditable = panel->GetAutoEnhance() != 1;
  for (int id : {kContrast, kLevel, kSharpness})
    if (CWnd* edit = GetDlgItem(id)) edit->EnableWindow(offsetsEditable);
  CheckDlgButton(kNoiseReduction, panel->GetAutoNoiseReduction() ? BST_CHECKED : BST_UNCHECKED);
  m_wndReduceSize.SetCurSel(panel->GetResizeSaveSize());
  CheckDlgButton(kReduce, panel->GetResizeSave() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kEnhanceLive, panel->GetAutoEnhanceLive() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kShadingLive, panel->GetShadingLive() ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kShading, panel->GetShadingOption() ? BST_CHECKED : BST_UNCHECKED);
  m_wndShadingSpin.SetRange(0, kShadingMax);
  m_nShadingLevel = panel->GetShadingLevel();
  m_wndShadingSpin.SetPos(m_nShadingLevel);
  if (CWnd* level = GetDlgItem(kShadingLevel)) level->EnableWindow(panel->GetShadingOption() != 1);
}

void CVexPropertyPage5::Refresh() {
  ShowValues();
  UpdateData(FALSE);
  Invalidate();
  UpdateWindow();
}

void CVexPropertyPage5::OnAutoPrint() {
  if (CVexMainControlView* panel = Panel()) panel->SetAutoPrint(IsDlgButtonChecked(kAutoPrint) ? 1 : 0);
}

void CVexPropertyPage5::OnEnhancement() {
  if (CVexMainControlView* panel = Panel()) panel->SetAutoEnhance(IsDlgButtonChecked(kEnhancement) ? 1 : 0);
}

void CVexPropertyPage5::OnReduce() {
  if (CVexMainControlView* panel = Panel()) panel->SetResizeSave(IsDlgButtonChecked(kReduce) ? 1 : 0);
}

void CVexPropertyPage5::OnSelchangeReduceSize() {
  if (CVexMainControlView* panel = Panel()) panel->SetResizeSaveSize(m_wndReduceSize.GetCurSel());
}

void CVexPropertyPage5::OnNoiseReduction() {
  if (CVexMainControlView* panel = Panel()) panel->SetAutoNoiseReduction(IsDlgButtonChecked(kNoiseReduction) ? 1 : 0);
}

void CVexPropertyPage5::OnColorMode(UINT nID) {
  if (CVexMainControlView* panel = Panel()) panel->SetColorMode(static_cast<int>(nID) - kColor);
}

void CVexPropertyPage5::OnShading() {
  if (Initialising()) return;
  UpdateData(TRUE);
  Panel()->SetShadingOption(IsDlgButtonChecked(kShading) ? 1 : 0);
}

void CVexPropertyPage5::OnShadingLive() {
  if (Initialising()) return;
  UpdateData(TRUE);
  Panel()->SetShadingLive(IsDlgButtonChecked(kShadingLive) ? 1 : 0);
}

void CVexPropertyPage5::OnEnhanceLive() {
  if (Initialising()) return;
  Panel()->SetAutoEnhanceLive(IsDlgButtonChecked(kEnhanceLive) ? 1 : 0);
}

void CVexPropertyPage5::OnShadingLevelChange() {
  if (Initialising() || !AfxGetMainWnd()) return;
  RefillEmpty(kShadingLevel, m_nShadingLevel);
  UpdateData(TRUE);
  // Kept to the spin's range, as typed values beyond it would reach the shading tables.
  m_nShadingLevel = std::clamp(m_nShadingLevel, 0, static_cast<int>(kShadingMax));
  UpdateData(FALSE);
  Panel()->SetShadingLevel(m_nShadingLevel);
}

void CVexPropertyPage5::OnOffsetChange(UINT nID) {
  if (Initialising() || !AfxGetMainWnd()) return;
  int* value = nID == kContrast ? &m_nContrast : nID == kLevel ? &m_nLevel : &m_nSharpness;
  RefillEmpty(static_cast<int>(nID), *value);
  UpdateData(TRUE);
  // Kept to the spin's range both ways.
  *value = std::clamp(*value, 0, static_cast<int>(kOffsetMax));
  UpdateData(FALSE);
  CVexMainControlView* panel = Panel();
  if (nID == kContrast)
    panel->SetContrastOffset(*value);
  else if (nID == kLevel)
    panel->SetLevelOffset(*value);
  else
    panel->SetSharpnessOffset(*value);
}
