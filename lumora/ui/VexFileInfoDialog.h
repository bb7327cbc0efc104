// CVexFileInfoDialog: the "File Information" box of the thumbnail strip's Property
// command: a picture's path, its size and its creation date.
#pragma once
#include <afxwin.h>

#include "StaticFilespec.h"

class CVexFileInfoDialog : public CDialog {
 public:
  enum { IDD = 233 };
  explicit CVexFileInfoDialog(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

  void SetPath(const CString& path) { m_strPath = path; }
  // The size as the dialog shows it: "%2.2f MB" from 1 048 576 bytes on, else "%2.2f KB".
  static CString FormatSize(unsigned long size);

 protected:
  BOOL OnInitDialog() override;

 private:
  CStatic m_ctlSize;
  CStatic m_ctlDate;
  CString m_strPath;
  CStaticFilespec m_ctlPath{DT_NOPREFIX | DT_VCENTER, FALSE};
};
