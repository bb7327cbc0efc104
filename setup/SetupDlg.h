// CSetupDlg: the launcher's only window. Its initialisation does the whole work: it finds
// the sub-installer for the running Windows and the system language below the current
// folder and starts it in place of this process. The dialog shows only when that fails,
// saying why in English or Japanese, with an error-code line.
#pragma once
#include <afxwin.h>

#include "resource.h"

class CSetupDlg : public CDialog {
 public:
  enum { IDD = IDD_SETUP_DIALOG };
  explicit CSetupDlg(CWnd* pParent = nullptr);

  // The running system: 0 Windows 98 or Me, 1 NT 4.0, 2 Windows 2000, 3 Windows XP,
  // 4 a platform outside the 9x and NT families, -1 any other version of those
  // families or a failed query (which also writes the error-code line).
  int GetOSClass();

 protected:
  CStatic m_ErrorCode;      // the error-code line (1005)
  CStatic m_Message;        // the message (1003)
  HICON m_hIcon;
  LCID m_LangID = 0;        // the system's default locale
  CString m_strErrorCode;   // written by GetOSClass when the version cannot be read

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  DECLARE_MESSAGE_MAP()
};
