#include "VexFileInfoDialog.h"

#include <afx.h>

#include "control/VexAppIcon.h"
#include "controls/SECFileSystem.h"

CString CVexFileInfoDialog::FormatSize(unsigned long size) {
  CString text;
  if (size >= 1048576UL)
    text.Format("%2.2f MB", static_cast<double>(size) / 1024 / 1024);
  else
    text.Format("%2.2f KB", static_cast<double>(size) / 1024);
  return text;
}

BOOL CVexFileInfoDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetAppIcon(*this);
  m_ctlPath.SubclassDlgItem(1160, this);
  m_ctlPath.SetPathEllipsis(TRUE);
  m_ctlPath.SetWindowText(m_strPath);
  m_ctlSize.SubclassDlgItem(1161, this);
  m_ctlDate.SubclassDlgItem(1163, this);
  SECFileSystem fs;
  // A file whose status cannot be read shows no size and no date.
  LONG size = 0;
  m_ctlSize.SetWindowText(fs.GetFileSize(m_strPath, size) ? FormatSize(static_cast<unsigned long>(size)) : CString());
  time_t created = 0;
  m_ctlDate.SetWindowText(fs.GetFileCreateTime(m_strPath, created) ? CTime(created).Format("%A, %B %d, %Y") : CString());
  return TRUE;
}
