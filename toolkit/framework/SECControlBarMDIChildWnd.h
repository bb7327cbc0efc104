// SECControlBarMDIChildWnd: the MDI child that holds one bar floated inside the main
// window. Closing it hides the bar (the child stays for the bar's return); moving it is
// remembered in the bar's dock context.
#pragma once
#include "SECDockBar.h"
#include "SECMDIChildWnd.h"

class SECControlBarMDIChildWnd : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECControlBarMDIChildWnd)
 public:
  SECControlBarMDIChildWnd();

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
  // The first three handlers apply while the dock bar holds one bar, not several.
  BOOL HoldsSingleBar();
};
