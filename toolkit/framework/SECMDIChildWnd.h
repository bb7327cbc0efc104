// SECMDIChildWnd: the class library's MDI child. It takes the activation from a docked
// frame of its SECMDIFrameWnd, shows its caption as active only while no docked frame
// is, and tells the frame's menu bar which menu to show.
#pragma once
#include <afxwin.h>

#include <vector>

class SECMDIFrameWnd;

class SECMDIChildWnd : public CMDIChildWnd {
  DECLARE_DYNCREATE(SECMDIChildWnd)
 public:
  SECMDIChildWnd() = default;

  // Repeats the frame-menu update with the alternate menu it last had.
  virtual void RefreshFrameMenu(CWnd* pWnd);
  virtual void EnableCaptionButtons(DWORD dwFlags);

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) override;
  using CMDIChildWnd::OnUpdateFrameMenu;
  // The library's MDI frame this child lives in, or null.
  SECMDIFrameWnd* GetSECMDIFrame() const;

  UINT m_nMenuBarId = 0;
  BOOL m_bUsesMenuBar = FALSE;
  HMENU m_hLastAltMenu = nullptr;
  // What EnableCaptionButtons last gave the caption-button filters, one value per
  // descriptor in table order (257, 256, 258, 259, 262).
  std::vector<BOOL> m_captionFilterValues;

 protected:
  void ActivateAsChild(BOOL bMouse);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnChildActivate();
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
