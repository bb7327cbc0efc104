#include "VexPropertyPage1.h"

#include "VexMainControlView.h"

BEGIN_MESSAGE_MAP(CVexPropertyPage1, CPropertyPage)
ON_BN_CLICKED(CVexPropertyPage1::kQuick, OnQuick)
ON_BN_CLICKED(CVexPropertyPage1::kFine, OnFine)
ON_WM_CTLCOLOR()
ON_CBN_SELCHANGE(CVexPropertyPage1::kFineList, OnSelchangeFine)
ON_CBN_SELCHANGE(CVexPropertyPage1::kQuickList, OnSelchangeQuick)
ON_BN_CLICKED(CVexPropertyPage1::kAutoSave, OnAutoSave)
ON_CBN_SELCHANGE(CVexPropertyPage1::kFormatList, OnSelchangeFormat)
END_MESSAGE_MAP()

namespace {
const char* const kFineRows[] = {"9: [ 3840x3072 ]", "8: [ 3600x2880 ]", "7: [ 3200x2560 ]", "6: [ 2560x2048 ]",
                                 "5: [ 2250x1800 ]", "4: [ 1600x1200 ]", "3: [ 1280x1024 ]", "2: [  1024x768 ]",
                                 "1: [   800x600 ]", "0: [   640x480 ]"};
const char* const kQuickRows[] = {"3: [ 1280x1024 ]", "2: [  1024x768 ]", "1: [   800x600 ]", "0: [   640x480 ]"};
const char* const kFormats[] = {"Jpeg(Fine)", "Jpeg(Normal)", "Jpeg(Basic)", "Bitmap", "Tiff"};
}  // namespace

void CVexPropertyPage1::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, kFineList, m_wndFine);
  DDX_Control(pDX, kQuickList, m_wndQuick);
  DDX_Control(pDX, kFormatList, m_wndFormat);
}

BOOL CVexPropertyPage1::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  PublishPanel();
  m_wndFine.ResetContent();
  m_wndQuick.ResetContent();
  m_wndFormat.ResetContent();
  for (const char* row : kFormats) m_wndFormat.AddString(row);
  for (const char* row : kFineRows) m_wndFine.AddString(row);
  for (const char* row : kQuickRows) m_wndQuick.AddString(row);
  ShowValues();
  return TRUE;
}

void CVexPropertyPage1::ShowValues() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  m_wndFormat.SetCurSel(panel->GetFileFormat());
  CheckDlgButton(kAutoSave, panel->GetAutoSave() ? BST_CHECKED : BST_UNCHECKED);
  m_wndFine.SetCurSel(panel->GetFinePhotoMode());
  m_wndQuick.SetCurSel(panel->GetQuickPhotoMode() - 10);
  SelectStoredMode();
}

void CVexPropertyPage1::SelectStoredMode() {
  const int fine = Panel()->GetFineMode();
  SelectMode(fine == 1 ? 0 : 1);
  SelectMode(fine);
}

void CVexPropertyPage1::SelectMode(int fine) {
  CheckDlgButton(kFine, fine == 1 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(kQuick, fine == 1 ? BST_UNCHECKED : BST_CHECKED);
  m_wndFine.EnableWindow(fine == 1);
  m_wndQuick.EnableWindow(fine != 1);
  if (CVexMainControlView* panel = Panel()) panel->SetFineMode(fine);
}

void CVexPropertyPage1::Refresh() {
  UpdateData(TRUE);
  ShowValues();
  UpdateData(FALSE);
  Invalidate();
  UpdateWindow();
}

void CVexPropertyPage1::OnQuick() {
  m_wndFine.EnableWindow(FALSE);
  m_wndQuick.EnableWindow(TRUE);
  if (CVexMainControlView* panel = Panel()) panel->SetFineMode(0);
}

void CVexPropertyPage1::OnFine() {
  m_wndFine.EnableWindow(TRUE);
  m_wndQuick.EnableWindow(FALSE);
  if (CVexMainControlView* panel = Panel()) panel->SetFineMode(1);
}

HBRUSH CVexPropertyPage1::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CVexPropertyPage1::OnSelchangeFine() {
  if (CVexMainControlView* panel = Panel()) panel->SetFinePhotoMode(m_wndFine.GetCurSel());
}

void CVexPropertyPage1::OnSelchangeQuick() {
  if (CVexMainControlView* panel = Panel()) panel->SetQuickPhotoMode(m_wndQuick.GetCurSel());
}

void CVexPropertyPage1::OnAutoSave() {
  if (CVexMainControlView* panel = Panel()) panel->SetAutoSave(IsDlgButtonChecked(kAutoSave) ? 1 : 0);
}

void CVexPropertyPage1::OnSelchangeFormat() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  panel->SetFileFormat(m_wndFormat.GetCurSel());
  panel->FocusCaptureButton();
}
