// CFrameWnd: a top-level window that holds a view (or splitters of views) and bars,
// routes commands to the active view and its document, and keeps its title.
#pragma once
#include <vector>

#include "AfxCreateContext.h"
#include "CWnd.h"

class CView;
class CDocument;

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  static const CRect rectDefault;

  CFrameWnd() = default;
  ~CFrameWnd() override = default;

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
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt) {}
  virtual void GetMessageString(UINT nID, CString& rMessage) const;
  void SetMessageText(LPCSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText)); }
  void SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }
  virtual CWnd* GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

  // While a modal window of the frame runs, every other window of the frame is disabled.
  void BeginModalState();
  void EndModalState();
  BOOL InModalState() const { return m_cModalStack != 0; }

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
  afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  // Tooltips of commands and controls: the part of their string after the prompt.
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

  CView* m_pViewActive = nullptr;
  BOOL m_bInRecalcLayout = FALSE;
  UINT m_nIDTracking = 0;
  UINT m_nIDLastMessage = 0;
  int m_cModalStack = 0;
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
