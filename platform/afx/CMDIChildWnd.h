// CMDIChildWnd: a document frame inside a CMDIFrameWnd's client. It is made through
// WM_MDICREATE, shows its template's shared menu in the main frame while it is active,
// and translates its template's shared accelerators.
#pragma once
#include "CFrameWnd.h"

class CMDIFrameWnd;

class CMDIChildWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIChildWnd)
 public:
  CMDIChildWnd() = default;

  virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                      CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

  // The main frame: the parent of its MDI client.
  CMDIFrameWnd* GetMDIFrame() const;
  void MDIDestroy();
  void MDIActivate();
  void MDIMaximize();
  void MDIRestore();

  void ActivateFrame(int nCmdShow = -1) override;
  BOOL DestroyWindow() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  // Puts this frame's menu (the alternate one, else the shared one) or, when it goes
  // inactive, the main frame's default menu into the main frame.
  virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt);
  using CFrameWnd::OnUpdateFrameMenu;

  HMENU m_hMenuShared = nullptr;  // the template's, not owned

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
