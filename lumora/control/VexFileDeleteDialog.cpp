#include "VexFileDeleteDialog.h"

#include "VexAppIcon.h"

BEGIN_MESSAGE_MAP(CVexFileDeleteDialog, CDialog)
ON_BN_CLICKED(1001, OnDeleteAll)
ON_BN_CLICKED(1002, OnSkip)
END_MESSAGE_MAP()

void CVexFileDeleteDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, 1101, m_path);
  DDX_Control(pDX, 1102, m_question);
}

BOOL CVexFileDeleteDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  m_path.SetPathEllipsis(TRUE);
  CString question;
  question.LoadString(62464);
  m_question.SetWindowText(question);
  m_path.SetWindowText(m_strPath);
  return TRUE;
}
