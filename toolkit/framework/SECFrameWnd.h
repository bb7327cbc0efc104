// SECFrameWnd: the class library's frame window. Over the framework frame it docks,
// floats and re-docks bars on the library's sizing dock bars, saves and loads their
// arrangement (SECDockState), freezes while its toolbar manager customises, lets a menu
// plug-in and a command plug-in see messages and commands first, and can paint its own
// caption with a colour gradient.
#pragma once
#include <afxext.h>

class SECControlBarManager;
class SECDockBar;
class SECDockState;
class SECWndPlugIn;

class SECFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(SECFrameWnd)
 public:
  SECFrameWnd();
  ~SECFrameWnd() override;

  virtual SECDockBar* CreateDockBar();
  virtual void FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  virtual void DockControlBarEx(CControlBar* pBar, UINT nDockBarID = 0, int nCol = 0, int nRow = 0,
                                float fPctWidth = 1.0f, int nLength = 150);
  virtual void LoadBarState(LPCSTR lpszProfileName);
  virtual void SaveBarState(LPCSTR lpszProfileName);
  virtual void SetDockState(SECDockState& state);
  virtual void GetDockState(SECDockState& state);
  virtual SECControlBarManager* GetManager() const;
  virtual void SetManager(SECControlBarManager* pManager);
  virtual void CreateAppTitleFont(CFont& font);
  virtual void CreateDocTitleFont(CFont& font);
  virtual void DrawCustomCaption();
  virtual HMENU GetMenuBarMenu(UINT nIDResource);
  virtual void UpdateDockedFrameMenu(BOOL bActivate, CWnd* pWnd, HMENU hMenuAlt) {}
  virtual void OnIdleLayout(UINT nWhy, CWnd* pWho);
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
  BOOL IsCustomCaptionEnabled() const { return m_bCustomCaption; }
  // 0 left, 1 centred, any other value right-aligned.
  void SetTitleAlignment(int nAlignment) { m_nTitleAlignment = nAlignment; }
  int GetTitleAlignment() const { return m_nTitleAlignment; }
  // The caption's rectangle in window coordinates.
  CRect GetCaptionRect() const;
  // The toolbar manager customises: the frame takes no clicks or closing meanwhile.
  BOOL InCustomiseMode() const;
  // Before the window is made: a menu bar (a SECMenuBar) in place of the window menu,
  // and bitmap menus. The bar's window is made by the caller after the frame's.
  void EnableMenuBar(CControlBar* pMenuBar);
  void EnableBitmapMenus(BOOL bEnable = TRUE);
  SECWndPlugIn* GetMenuPlugIn() const { return m_pMenuPlugIn; }
  // The plug-in set-up of WM_CREATE, which the MDI frame shares: a menu-bar plug-in in
  // menu-bar mode, else a bitmap-menu one when asked, taking the toolbar manager's images.
  static void SetUpMenuPlugIn(CWnd* pHost, CControlBar* pMenuBar, BOOL bBitmapMenus, SECControlBarManager* pManager,
                              SECWndPlugIn*& pPlugIn);

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  void OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) override;

  static UINT GetMenuMessage();  // "WM_SECGETMENU"

  BOOL m_bCustomCaptionPossible;
  BOOL m_bClosing = FALSE;
  SECWndPlugIn* m_pCommandPlugIn = nullptr;  // owned
  CRect m_rectLastClient;
  int m_nTitleAlignment = 0;
  BOOL m_bCustomCaption = FALSE;
  BOOL m_bCaptionActive = FALSE;
  SECControlBarManager* m_pControlBarManager = nullptr;  // not owned
  SECWndPlugIn* m_pMenuPlugIn = nullptr;                 // owned
  BOOL m_bBitmapMenus = FALSE;
  CControlBar* m_pMenuBar = nullptr;
  HMENU m_hMenuBarMenu = nullptr;
  UINT m_nIDResource = 0;
  CPtrList m_listBarInfo;  // bars made from saved records (owned), deleted with the frame

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg LRESULT OnNcButtonDown(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSysColorChange();
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg LRESULT OnSecGetMenu(WPARAM wParam, LPARAM lParam);
  afx_msg void OnEmptyCommand() {}
  afx_msg void OnUpdateEmptyCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
  afx_msg void OnAbsorbedCommand(UINT) {}
  afx_msg void OnUpdateAbsorbed(CCmdUI*) {}
  DECLARE_MESSAGE_MAP()
};

namespace sec_frame {
// The dock-bar map of the library's frames: id and bar style, top, bottom, left, right.
struct DockBarEntry {
  UINT id;
  DWORD style;
};
inline constexpr DockBarEntry kDockBarMap[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};
// The dock bar for a bar that names none: the side its alignment names, else the first
// side its docking style allows.
CDockBar* DockBarFor(CFrameWnd& frame, CControlBar* pBar);
// The steps both library frames share.
void DockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void ReDockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect);
void FloatBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle);
}  // namespace sec_frame
