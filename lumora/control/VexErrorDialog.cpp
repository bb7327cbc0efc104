#include "VexErrorDialog.h"

void CVexErrorDialog::SetContent(int type, int detail, const CString& message) {
  CString format;
  if (!format.LoadString(62527)) format = "%03d:%03d";
  m_strCode.Format(format, type, detail);
  m_strMessage = message;
}

BOOL CVexErrorDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCE(128))) SetIcon(icon, TRUE);
  SetDlgItemText(IDC_CODE, m_strCode);
  SetDlgItemText(IDC_MESSAGE, m_strMessage);
  return TRUE;
}
