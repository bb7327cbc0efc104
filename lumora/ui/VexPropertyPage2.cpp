#include "VexPropertyPage2.h"

#include "VexDriveInfoDlg.h"
#include "VexMainControlView.h"
#include "control/VexCreateFileName.h"
#include "control/VexErrorControl.h"
#include "controls/SECFileSystem.h"

BEGIN_MESSAGE_MAP(CVexPropertyPage2, CPropertyPage)
ON_BN_CLICKED(CVexPropertyPage2::kDefault, OnDefault)
ON_BN_CLICKED(CVexPropertyPage2::kApply, UpdateExample)
ON_BN_CLICKED(CVexPropertyPage2::kDriveInfo, OnDriveInfo)
ON_CONTROL_RANGE(EN_CHANGE, CVexPropertyPage2::kFolder, CVexPropertyPage2::kBody, OnEditChange)
END_MESSAGE_MAP()

namespace {
CString ItemText(CWnd& page, int id) {
  CString text;
  page.GetDlgItemText(id, text);
  return text;
}
}  // namespace

BOOL CVexPropertyPage2::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  PublishPanel();
  m_editFolder.Initialize(kFolder, this);
  m_editFolder.SetBrowseFlags(2);
  m_editPrefix.SubclassDlgItem(kPrefix, this);
  m_editBody.SubclassDlgItem(kBody, this);
  ShowTexts();
  m_wndExample.SubclassDlgItem(kExample, this);
  m_wndExample.SetPathEllipsis(TRUE);
  UpdateExample();
  m_wndToolTip.Create(this);
  CString tip;
  tip.LoadString(kFolderTip);
  m_wndToolTip.AddTool(&m_editFolder, tip);
  m_wndToolTip.Activate(TRUE);
  UpdateData(FALSE);
  Invalidate();
  return TRUE;
}

void CVexPropertyPage2::ShowTexts() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  // Copies: typing handlers may store into the mirror while the edits are filled.
  const CString folder = panel->GetSaveFolder(), prefix = panel->GetSavePrefix(), body = panel->GetSaveBody();
  SetDlgItemText(kFolder, folder);
  SetDlgItemText(kPrefix, prefix);
  SetDlgItemText(kBody, body);
}

void CVexPropertyPage2::Refresh() {
  ShowTexts();
  UpdateExample();
  Invalidate();
  UpdateWindow();
}

void CVexPropertyPage2::OnEditChange(UINT nID) {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  const CString folder = ItemText(*this, kFolder), prefix = ItemText(*this, kPrefix), body = ItemText(*this, kBody);
  if (folder.GetLength() + body.GetLength() + prefix.GetLength() > kMaxTyped) return;
  switch (nID) {
    case kFolder: panel->SetSaveFolder(folder); break;
    case kBody: panel->SetSaveBody(body); break;
    case kPrefix: panel->SetSavePrefix(prefix); break;
    default: break;
  }
}

void CVexPropertyPage2::UpdateExample() {
  CVexMainControlView* panel = Panel();
  if (!panel) return;
  CString folder = ItemText(*this, kFolder);
  const CString prefix = ItemText(*this, kPrefix), body = ItemText(*this, kBody);
  // An empty folder names no place to save: refused like a name that is too long.
  if (folder.IsEmpty()) {
    AfxMessageBox(kTooLong, MB_OK);
    return;
  }
  if (folder[folder.GetLength() - 1] != '\\') folder += "\\";
  const char* extension = ".jpg";
  switch (panel->GetFileFormat()) {
    case 3: extension = ".bmp"; break;
    case 4: extension = ".tif"; break;
    default: break;
  }
  CString name = folder + prefix + body + extension;
  CVexCreateFileName().Expand(name, 1, "VEX");
  // The longest name a save derives from this one.
  SECFileSystem fs;
  const CString longest = fs.GetPath(name) + fs.GetBaseFileName(name) + "js" + ".jpg";
  if (longest.GetLength() >= 256) {
    AfxMessageBox(kTooLong, MB_OK);
    return;
  }
  m_wndExample.SetWindowText(name);
  panel->SetSaveFolder(folder);
  panel->SetSaveBody(body);
  panel->SetSavePrefix(prefix);
  panel->ApplySaveFolder();
}

void CVexPropertyPage2::OnDefault() {
  SetDlgItemText(kFolder, "C:\\Image");
  SetDlgItemText(kPrefix, "img_");
  SetDlgItemText(kBody, "$###");
  UpdateExample();
}

void CVexPropertyPage2::OnDriveInfo() {
  CVexDriveInfoDlg dialog;
  if (dialog.DoModal() != -1) return;
  CVexMainControlView* panel = Panel();
  if (panel && panel->GetErrorControl()) panel->GetErrorControl()->ReportError(801, 1);
}

BOOL CVexPropertyPage2::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_MOUSEMOVE && m_wndToolTip.GetSafeHwnd()) m_wndToolTip.RelayEvent(pMsg);
  return CPropertyPage::PreTranslateMessage(pMsg);
}
