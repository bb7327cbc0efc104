// SECMDIFrameWnd: the class library's MDI main frame. Like SECFrameWnd it docks, floats
// and re-docks bars on the library's dock bars and keeps their arrangement; on top it
// floats bars inside itself as MDI children (SECControlBarMDIChildWnd), lets a frame
// hosted in a bar stand in for the active MDI child, shows the active template's menu
// on a menu bar, and cycles through default dock positions.
#pragma once
#include <afxwin.h>

#include <utility>
#include <vector>

#include "SECDockBar.h"
#include "SECFrameWnd.h"
#include "SECMsgFilter.h"

class SECControlBarManager;
class SECDockState;
class SECWndPlugIn;
class SECMDIChildWnd;

class SECMDIFrameWnd : public SECFrameBase<CMDIFrameWnd> {
  DECLARE_DYNCREATE(SECMDIFrameWnd)
 public:
  SECMDIFrameWnd();
  ~SECMDIFrameWnd() override;

  // Width share and length of a docking.
  using SizePair = std::pair<float, int>;

  virtual CFrameWnd* CreateDockingChild();
  virtual void DockControlBarEx(CControlBar* pBar, const SECDockPos& pos, UINT nDockBarID, const SizePair& size);
  virtual void DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nFirst, int nSecond, float fPctWidth = 1.0f,
                                int nLength = 150);
  virtual void FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // Floats the bar inside the main window; a point with a negative coordinate asks for
  // the next place of the cascade.
  virtual void FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  virtual CMDIChildWnd* CreateControlBarMDIChild(DWORD dwStyle, CControlBar* pBar);
  virtual void ActivateDockedFrame(CFrameWnd* pFrame);
  virtual void DeactivateDockedFrame(BOOL bActivateMDIChild = TRUE);
  virtual void CreateAppTitleFont(CFont& font);
  virtual void CreateDocTitleFont(CFont& font);
  virtual void DrawCustomCaption();
  // Bit 0 switches the caption handling (moving documents between their places) on.
  virtual void EnableCaptionButtons(DWORD dwFlags);
  virtual HMENU GetCurrentMenu();
  virtual void SelectMenuBarMenu(UINT nID);
  virtual void AdjustMenuBarForChild();
  virtual void RefreshWindowMenu();
  virtual CControlBar* GetMenuBar() const { return m_pMenuBar; }
  virtual SECWndPlugIn* CreateCommandPlugIn(LPCSTR lpszFirst, LPCSTR lpszSecond, CRuntimeClass* pClass, UINT nLast);
  // The frame that lives inside a bar, or null.
  virtual CFrameWnd* GetHostedFrame(CControlBar* pBar);
  virtual void SetHostedFrameFloating(CFrameWnd* pFrame, BOOL bFloating);
  virtual void FitHostedFrame(CFrameWnd* pFrame);
  virtual void OnActivateTail(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  virtual HMENU GetMenuForId(UINT nID);
  virtual int GetNextDockPosition(UINT& nDockBarID, SECDockPos& pos, SizePair& size);

  // Makes the library's dock bars on the sides dwDockStyle names.
  void EnableDocking(DWORD dwDockStyle);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Floats without the early move, always showing the new floating frame.
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // The docked frame active in place of an MDI child; null once its window is gone.
  CFrameWnd* GetActiveDockedFrame();
  // Before the window is made, as on SECFrameWnd: a menu bar (a SECMenuBar, best a
  // SECMDIMenuBar) in place of the window menu, and bitmap menus. The bar's window is
  // made by the caller after the frame's.
  void EnableMenuBar(CControlBar* pMenuBar) { m_pMenuBar = pMenuBar; }
  void EnableBitmapMenus(BOOL bEnable = TRUE) { m_bBitmapMenus = bEnable; }
  // The custom caption, as SECFrameWnd's: the old setting, or 0 and no change where it is
  // not possible.
  BOOL EnableCustomCaption(BOOL bEnable, BOOL bRepaint = TRUE);
  CRect GetCaptionRect() const;
  // The root of the caption filters (id -1).
  SECMsgFilter* GetMsgFilter() const { return m_pMsgFilter; }

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  CFrameWnd* GetActiveFrame() override;
  BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(HMENU hMenuAlt) override;

  CRuntimeClass* m_pDockingChildClass = nullptr;
  CRuntimeClass* m_pControlBarChildClass = nullptr;
  int m_nNextFloatX = 30, m_nNextFloatY = 30;
  BOOL m_bActivationGuard = FALSE;
  SECMsgFilter* m_pMsgFilter;  // owned
  SECMsgFilter::DescriptorTable m_descriptors;
  SECMsgFilter::Descriptor* m_pCaptionDescriptor = nullptr;  // 256, off in menu-bar mode
  BOOL m_bBarMoveInProgress = FALSE;
  CControlBar* m_pMenuBar = nullptr;
  HMENU m_hMenuBarMenu = nullptr;
  CMap<UINT, UINT, HMENU, HMENU> m_mapTemplateMenus{10};  // owned menus
  UINT m_nDefaultMenuId = 0;
  UINT m_nIDResource = 0;
  SECWndPlugIn* m_pCommandPlugIn = nullptr;  // owned
  BOOL m_bCustomCaptionPossible;
  std::vector<UINT> m_arrDockCycle;
  int m_nDockCycleIndex = 0;
  UINT m_nMenuBarId = 0;  // the menu the menu bar shows

 protected:
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExtendContextMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSecGetMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSysCommandEx(WPARAM wParam, LPARAM lParam);
  afx_msg void OnNcPaint();
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFilteredMouse(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()

 private:
  void ReturnHostedFrame(CControlBar* pBar);
  // The steps of FloatControlBarInMDIChild between the bar's two notices.
  void FloatInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle);
  HWND m_hWndActiveDockedFrame = nullptr;
  CFrameWnd* m_pActiveDockedFrame = nullptr;
};
