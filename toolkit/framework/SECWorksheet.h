// SECWorksheet: an MDI child shown as a tab of its SECWorkbook. It registers with the
// workbook when loaded and leaves it when destroyed. Under an MDI frame that is not a
// workbook it is a plain SECMDIChildWnd.
#pragma once
#include <afxext.h>

#include "SECMDIChildWnd.h"

class SECWorkbook;

class SECWorksheet : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECWorksheet)
 public:
  SECWorksheet() = default;
  ~SECWorksheet() override;

  // The workbook the sheet belongs to; none under another frame.
  SECWorkbook* GetWorkbook() const;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;

  HICON m_hIcon = nullptr;  // owned
  int m_nTabIndex = 0;
  BOOL m_bRaised = FALSE;

 protected:
  afx_msg void OnDestroy();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
