// CVexFileDeleteDialog: asks whether one picture is deleted. It ends with 0 delete,
// 1 delete this and all following, 2 skip, 3 stop.
#pragma once
#include <afxwin.h>

#include "ui/StaticFilespec.h"

class CVexFileDeleteDialog : public CDialog {
 public:
  enum { IDD = 205 };
  enum Answer { kDelete = 0, kDeleteAll = 1, kSkip = 2, kStop = 3 };
  CVexFileDeleteDialog() : CDialog(IDD, nullptr) {}

  void SetPath(const CString& path) { m_strPath = path; }

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override { EndDialog(kDelete); }
  void OnCancel() override { EndDialog(kStop); }
  afx_msg void OnDeleteAll() { EndDialog(kDeleteAll); }
  afx_msg void OnSkip() { EndDialog(kSkip); }
  DECLARE_MESSAGE_MAP()

 private:
  CStaticFilespec m_path{DT_NOPREFIX | DT_VCENTER};
  CStatic m_question;
  CString m_strPath;
};
