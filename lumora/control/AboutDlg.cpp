#include "AboutDlg.h"

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, 1131, m_strVersion);
  DDX_Text(pDX, 1132, m_strCopyright);
  DDX_Text(pDX, 1133, m_strNotice);
}
