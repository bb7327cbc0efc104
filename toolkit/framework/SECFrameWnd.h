// SECFrameWnd: the class library's frame window. Over the framework frame it docks,
// floats and re-docks bars on the library's sizing dock bars, saves and loads their
// arrangement (SECDockState), freezes while its toolbar manager customises, lets a menu
// plug-in and a command plug-in see messages and commands first, and can paint its own
// caption with a colour gradient.
#pragma once
#include <afxext.h>

#include "SECFrameBase.h"

class SECControlBarManager;
class SECDockBar;
class SECDockState;
class SECWndPlugIn;

class SECFrameWnd : public SECFrameBase<CFrameWnd> {
  DECLARE_DYNCREATE(SECFrameWnd)
 public:
  SECFrameWnd();
  ~SECFrameWnd() override;

  virtual SECDockBar* CreateDockBar();
  virtual void FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  virtual void DockControlBarEx(CControlBar* pBar, UINT nDockBarID = 0, int nCol = 0, int nRow = 0,
                                float fPctWidth = 1.0f, int nLength = 150);
  virtual void CreateAppTitleFont(CFont& font);
  virtual void CreateDocTitleFont(CFont& font);
  virtual void DrawCustomCaption();
  virtual HMENU GetMenuBarMenu(UINT nIDResource);
  virtual void UpdateDockedFrameMenu(BOOL bActivate, CWnd* pWnd, HMENU hMenuAlt) {}
  virtual HMENU GetCurrentMenu();
  virtual SECWndPlugIn* CreateCommandPlugIn(LPCSTR lpszFirst, LPCSTR lpszSecond, CRuntimeClass* pClass, UINT nLast);

  // Makes the library's dock bars on the sides dwDockStyle names; bars float in
  // SECMiniDockFrameWnd frames.
  void EnableDocking(DWORD dwDockStyle);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);

  // The custom caption: the old setting, or 0 and no change where it is not possible.
  BOOL EnableCustomCaption(BOOL bEnable, BOOL bRepaint = TRUE);
  // The caption's rectangle in window coordinates.
  CRect GetCaptionRect() const;
  // Before the window is made: a menu bar (a SECMenuBar) in place of the window menu,
  // and bitmap menus. The bar's window is made by the caller after the frame's.
  void EnableMenuBar(CControlBar* pMenuBar);
  void EnableBitmapMenus(BOOL bEnable = TRUE);
  // The plug-in set-up of WM_CREATE, which the MDI frame shares: a menu-bar plug-in in
  // menu-bar mode, else a bitmap-menu one when asked, taking the toolbar manager's images.
  static void SetUpMenuPlugIn(CWnd* pHost, CControlBar* pMenuBar, BOOL bBitmapMenus, SECControlBarManager* pManager,
                              SECWndPlugIn*& pPlugIn);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

  static UINT GetMenuMessage();  // "WM_SECGETMENU"

  BOOL m_bCustomCaptionPossible;
  BOOL m_bClosing = FALSE;
  SECWndPlugIn* m_pCommandPlugIn = nullptr;  // owned
  CControlBar* m_pMenuBar = nullptr;
  HMENU m_hMenuBarMenu = nullptr;
  UINT m_nIDResource = 0;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcButtonDown(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSysColorChange();
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg LRESULT OnSecGetMenu(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
