#include "SECNewToolBar.h"

#include "controls/SECResourceIds.h"

BEGIN_MESSAGE_MAP(SECNewToolBar, CDialog)
  ON_EN_CHANGE(IDC_SEC_NEW_TOOLBAR_NAME, OnNameChange)
END_MESSAGE_MAP()

SECNewToolBar::SECNewToolBar(CWnd* pParent) : CDialog(IDD_SEC_NEWTOOLBAR, pParent) {}

BOOL SECNewToolBar::CutName(CString& name) {
  if (name.GetLength() <= kMaxNameLength) return FALSE;
  int length = kMaxNameLength;
  // Never keep half a character: back up over the continuation bytes of the one cut.
  while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
  name = name.Left(length);
  return TRUE;
}

void SECNewToolBar::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_SEC_NEW_TOOLBAR_NAME, m_strToolBarName);
}

BOOL SECNewToolBar::OnInitDialog() {
  CDialog::OnInitDialog();
  OnNameChange();
  return TRUE;
}

void SECNewToolBar::OnNameChange() {
  CWnd* edit = GetDlgItem(IDC_SEC_NEW_TOOLBAR_NAME);
  if (!edit) return;
  CString name;
  edit->GetWindowText(name);
  if (CutName(name)) {
    edit->SetWindowText(name);
    edit->SendMessage(EM_SETSEL, name.GetLength(), name.GetLength());
  }
  if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(!name.IsEmpty());
}
