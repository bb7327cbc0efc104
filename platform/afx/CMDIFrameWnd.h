// CMDIFrameWnd: the main frame of a multiple-document program. Its client area is an
// "MDIClient" window that holds the document frames (CMDIChildWnd); commands and keys
// go to the active child first, and the menu is the active child's template's.
#pragma once
#include "CFrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CMDIFrameWnd)
 public:
  CMDIFrameWnd() = default;

  // Makes the MDI client; its window list goes into `pWindowMenu` (may be null).
  virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
  // The popup of a menu bar that holds the window commands, or null.
  virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

  void MDIActivate(CWnd* pWndActivate);
  CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
  void MDIIconArrange();
  void MDIMaximize(CWnd* pWnd);
  void MDINext();
  void MDIPrev();
  void MDIRestore(CWnd* pWnd);
  // Answers the old frame menu.
  CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
  void MDITile();
  void MDITile(int nType);
  void MDICascade();
  void MDICascade(int nType);

  CFrameWnd* GetActiveFrame() override;
  // "Frame - Document": the frame's own title comes first.
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  // Sets the menu when the thread is next idle.
  void DelayUpdateFrameMenu(HMENU hMenuAlt);

  HWND m_hWndMDIClient = nullptr;

 protected:
  afx_msg BOOL OnMDIWindowCmd(UINT nID);
  afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);
  afx_msg void OnWindowNew();
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
