// SECMDIChildWnd: the class library's MDI child. It takes the activation from a docked
// frame of its SECMDIFrameWnd, shows its caption as active only while no docked frame
// is, tells the frame's menu bar which menu to show, and carries caption filters that
// move its document between an MDI child, a docked and a floating frame.
#pragma once
#include <afxwin.h>

#include "SECMsgFilter.h"

class SECMDIFrameWnd;

class SECMDIChildWnd : public CMDIChildWnd {
  DECLARE_DYNCREATE(SECMDIChildWnd)
 public:
  SECMDIChildWnd();
  ~SECMDIChildWnd() override;

  // Repeats the frame-menu update with the alternate menu it last had.
  virtual void RefreshFrameMenu(CWnd* pWnd);
  // Bit 0 switches the caption handling on; bit 1 leaves out the place button, bit 2 the
  // caption's right double click, bit 3 its context menu.
  virtual void EnableCaptionButtons(DWORD dwFlags);

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) override;
  using CMDIChildWnd::OnUpdateFrameMenu;
  // The library's MDI frame this child lives in, or null.
  SECMDIFrameWnd* GetSECMDIFrame() const;
  // The root of the caption filters (id -1).
  SECMsgFilter* GetMsgFilter() const { return m_pMsgFilter; }

  UINT m_nMenuBarId = 0;
  BOOL m_bUsesMenuBar = FALSE;
  HMENU m_hLastAltMenu = nullptr;
  SECMsgFilter* m_pMsgFilter;  // owned
  SECMsgFilter::DescriptorTable m_descriptors;

 protected:
  void ActivateAsChild(BOOL bMouse);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnChildActivate();
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnDestroy();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnNcPaint();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFilteredMouse(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSysCommandEx(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
