// CFrameWnd: a top-level window that holds a view (or splitters of views) and bars,
// routes commands to the active view and its document, and keeps its title.
#pragma once
#include <vector>

#include "AfxCollections.h"
#include "AfxCreateContext.h"
#include "CWnd.h"

class CView;
class CDocument;
class CControlBar;
class CDockBar;
class CMiniDockFrameWnd;

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  static const CRect rectDefault;

  CFrameWnd();
  ~CFrameWnd() override;

  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr,
              DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
  // Creates the frame with the menu, accelerators, icon and title of resource nIDResource.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

  CView* GetActiveView() const { return m_pViewActive; }
  void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  virtual CFrameWnd* GetActiveFrame() { return this; }

  virtual void RecalcLayout(BOOL bNotify = TRUE);
  // Lays out again when the thread next goes idle, once for many changes.
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  virtual void ActivateFrame(int nCmdShow = -1);
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void UpdateFrameTitleForDocument(LPCSTR lpszDocName);
  // A document frame's own caption: the document's name, ":n" when it has several frames.
  void SetDocumentCaption(LPCSTR lpszDocName);
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt) {}
  // Print preview begins (TRUE) or ends (FALSE) in this frame; the preview view has taken
  // or given back the client area already.
  virtual void OnSetPreviewMode(BOOL bPreview, struct CPrintPreviewState* pState) {}
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  // A menu item is being tracked (its prompt shows): neither idle nor help mode.
  BOOL IsTracking() const {
    return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_HELPMODEMESSAGE && m_nIDTracking != AFX_IDS_IDLEMESSAGE;
  }
  // Space for tools around the client area: borderGet answers the room there is,
  // borderRequest whether a border fits, borderSet takes it (null: none) and lays out.
  enum BorderCmd { borderGet = 1, borderRequest = 2, borderSet = 3 };
  virtual BOOL NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder);
  void SetMessageText(LPCSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText)); }
  void SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }
  virtual CWnd* GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  // While a modal window of the frame runs, every other window of the frame is disabled.
  void BeginModalState();
  void EndModalState();
  BOOL InModalState() const { return m_cModalStack != 0; }

  // ---- docking (CFrameWndDocking.cpp)
  // Makes the dock bars of the sides in dwDockStyle (CBRS_ALIGN_ bits); bars float in
  // m_pFloatingFrameClass frames.
  void EnableDocking(DWORD dwDockStyle);
  // Docks the bar on the dock bar of that id, or of the bar's alignment for 0; at
  // `lpRect` (screen) or in a new last row.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Docks the bar again where it was last docked (its placeholder), else like docking.
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = 0x2000L /* CBRS_ALIGN_TOP */);
  CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  // Tells every window the frame owns (its floating bars and palettes) WM_FLOATSTATUS
  // with `dwFlags` (FS_ bits); with FS_ACTIVATE or FS_DEACTIVATE the frame's own caption
  // follows first, so frame and palettes look active together.
  void NotifyFloatingWindows(DWORD dwFlags);
  CControlBar* GetControlBar(UINT nID);
  // The alignment of the first visible dock bar that `rect` (screen) touches and the
  // style allows; 0 for none.
  DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  // Destroys the dock bars and floating frames (the frame is going).
  void DestroyDockBars();
  // Every frame window of the calling thread, oldest first (idle updates reach them all).
  static const std::vector<CFrameWnd*>& ThreadFrames();

  CPtrList m_listControlBars;  // the bars created in this frame, dock bars included
  CRuntimeClass* m_pFloatingFrameClass = nullptr;
  int m_nShowDelay = -1;       // SW_ command applied at the next idle time, -1 none

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void PostNcDestroy() override;

  enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
  BOOL m_bAutoMenuEnable = TRUE;  // menu items without a handler are disabled
  CString m_strTitle;
  HACCEL m_hAccelTable = nullptr;
  HMENU m_hMenuDefault = nullptr;
  UINT m_nIDHelp = 0;
  UINT m_nIdleFlags = 0;
  int m_nWindow = -1;
  CRect m_rectBorder;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  // A disabled top-level frame keeps its other windows (palettes, floating bars) disabled
  // with it, so that a modal window is truly modal; enabled again while active, it shows
  // its caption active, which it could not while disabled.
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // Help for a command (lParam its context; 0: the tracked item's, else the frame's).
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
  // Tooltips of commands and controls: the part of their string after the prompt.
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  // The View menu's bar items (the toolbar, the status bar): a command shows or hides
  // the bar of its id; the item is checked while the bar is visible. Frames that want
  // them map ID_VIEW_TOOLBAR and ID_VIEW_STATUS_BAR here.
  afx_msg BOOL OnBarCheck(UINT nID);
  afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

  CView* m_pViewActive = nullptr;
  BOOL m_bInRecalcLayout = FALSE;
  UINT m_nIDTracking = 0;
  UINT m_nIDLastMessage = 0;
  int m_cModalStack = 0;
  bool m_bModalDisable = false;  // the modal state begun when the frame was disabled
  std::vector<HWND> m_disabledForModal;

  DECLARE_MESSAGE_MAP()
};

namespace plat::afx {
// What LoadFrame takes from the resources; null when the resource is missing.
HMENU LoadFrameMenu(HINSTANCE hInst, UINT nIDResource);
HACCEL LoadFrameAccelerators(HINSTANCE hInst, UINT nIDResource);
HICON LoadFrameIcon(HINSTANCE hInst, UINT nIDResource);
BOOL TranslateFrameAccelerator(HWND hWnd, HACCEL hAccel, MSG* pMsg);
void UpdateMenuCmdUI(CFrameWnd* pTarget, CMenu* pMenu, BOOL bAutoMenuEnable);
}  // namespace plat::afx
