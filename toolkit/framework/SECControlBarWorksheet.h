// SECControlBarWorksheet: the sheet a workbook makes for a bar floated inside it. It
// holds the bar as SECControlBarMDIChildWnd does (closing hides the bar, moving is
// remembered in the bar's dock context) and shows it as a tab with the bar's icon.
#pragma once
#include "SECDockBar.h"
#include "SECWorksheet.h"

class SECControlBarWorksheet : public SECWorksheet {
  DECLARE_DYNCREATE(SECControlBarWorksheet)
 public:
  SECControlBarWorksheet();

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;

  // The bar it holds, or null.
  CControlBar* GetHostedBar();

  SECDockBar m_wndDockBar;

 protected:
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnClose();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL HoldsSingleBar();
};
