// CAboutDlg: the program's version box.
#pragma once
#include <afxwin.h>

class CAboutDlg : public CDialog {
 public:
  enum { IDD = 100 };
  CAboutDlg() : CDialog(IDD) {}

  CString m_strVersion;
  CString m_strCopyright;
  CString m_strNotice;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
