// CVexDriveInfoDlg: the Save page's drive information: a list of the drives (without
// CD-ROM drives) and the used space, free space and capacity of the one chosen.
#pragma once
#include <afxwin.h>

class CVexDriveInfoDlg : public CDialog {
 public:
  enum { IDD = 234, kDriveList = 1169, kUsed = 1170, kFree = 1171, kCapacity = 1172 };

  explicit CVexDriveInfoDlg(CWnd* pParent = nullptr);

  // A byte count as the dialog shows it: "%8.2f MB" up to 1 GiB, else "%8.2f GB".
  static CString FormatBytes(ULONGLONG bytes);

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnSelchangeDrive();
  DECLARE_MESSAGE_MAP()

 private:
  void ShowValues();

  CComboBox m_wndDrives;
  CString m_strUsed, m_strFree, m_strCapacity;
  CString m_strRoot;
};
