// CAboutDlg: the launcher's about box, opened from the failure dialog's system menu.
#pragma once
#include <afxwin.h>

#include "resource.h"

class CAboutDlg : public CDialog {
 public:
  enum { IDD = IDD_ABOUTBOX };
  CAboutDlg();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  DECLARE_MESSAGE_MAP()
};
