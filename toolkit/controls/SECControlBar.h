// SECControlBar: the class library's dockable bar. Over the framework's control bar it
// remembers a size per docking state and a share of its dock row, draws a gripper with
// close and expand buttons, flat (cool) borders or an inner border, keeps its children
// in proportion, offers a right-click menu, docks through its own dock context, and
// saves and restores itself in a bar record.
#pragma once
#include <optional>
#include <utility>
#include <vector>

#include <afxext.h>

#include "SECGripperInfo.h"

class SECDockContext;
class SECControlBarInfo;
class SECToolBarManager;

// Extended bar styles (SECControlBar::m_dwExStyle).
#define CBRS_EX_STDCONTEXTMENU 0x0001L  // right-click menu
#define CBRS_EX_CHILDPROPORTIONS 0x0002L  // children keep their proportions on resizing
#define CBRS_EX_THIN4FRAME 0x0004L      // floating frame sized by a 4-way thin frame
#define CBRS_EX_SHADOWBORDER 0x0008L    // classic border in shadow and highlight
#define CBRS_EX_BORDERSPACE 0x0010L     // inner client border from the border rectangle
#define CBRS_EX_ALLOW_MDI_FLOAT 0x0020L  // may float inside an MDI main window
#define CBRS_EX_FILLCLIENT 0x0040L      // the first child fills the client area
#define CBRS_EX_STRETCH 0x0080L         // a toolbar takes its frame's whole width or height
#define CBRS_EX_COOL 0x0100L            // flat 1-pixel borders, hot tracking
#define CBRS_EX_GRIPPER 0x0200L
#define CBRS_EX_GRIPPER_CLOSE 0x0400L
#define CBRS_EX_GRIPPER_EXPAND 0x0800L
#define CBRS_EX_TRANSPARENT 0x1000L     // toolbar buttons drawn over the bar's background

// Tool ids of the gripper buttons.
#define SEC_TOOLID_CLOSE 1024
#define SEC_TOOLID_EXPAND 2048

// Private message from a bar to its docking frame: extend the bar's right-click menu
// (wParam the bar, lParam the menu).
#define WM_SEC_EXTENDCONTEXTMENU 0x38FF

class SECControlBar : public CControlBar {
  DECLARE_DYNCREATE(SECControlBar)
 public:
  SECControlBar();
  ~SECControlBar() override;

  // The sizes every bar starts with (a library-wide setting).
  static CSize s_sizeDefault;

  virtual BOOL Create(CWnd* pParentWnd, LPCSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                      CCreateContext* pContext = nullptr);
  virtual BOOL CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = nullptr);
  virtual void GetInsideRect(CRect& rect);
  virtual CDockContext* CreateDockContext();
  virtual void SetExBarStyle(DWORD dwExStyle, BOOL bRedraw = TRUE);
  virtual void ModifyExBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  DWORD GetExBarStyle() const { return m_dwExStyle; }
  void DrawBorders(CDC* pDC, CRect& rect) override;
  virtual void GetBarInfoEx(SECControlBarInfo* pInfo);
  virtual void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  virtual void CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bVertDock);
  virtual void OnGetBarInfoEx(SECControlBarInfo* pInfo) {}
  virtual void OnSetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {}
  virtual void OnExtendContextMenu(CMenu* pMenu) {}
  virtual BOOL CanPressCloseButton() { return TRUE; }
  virtual BOOL CanPressExpandButton() { return TRUE; }
  virtual int AdjustForGripper(CRect& rect, BOOL bHorz);
  virtual void DrawGripper(CDC* pDC, CRect& rect);
  virtual void DrawCloseButton(CDC* pDC);
  virtual void DrawCloseButtonPushed(CDC* pDC);
  virtual void DrawCloseButtonNormal(CDC* pDC);
  virtual void DrawExpandButton(CDC* pDC);
  virtual void DrawExpandButtonPushed(CDC* pDC);
  virtual void DrawExpandButtonNormal(CDC* pDC);
  virtual void UpdateExpandButtonState();

  void EnableDocking(DWORD dwDockStyle) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override {}
  void DoPaint(CDC* pDC) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

  // Rebuilds the list of children and their rectangles for proportional resizing.
  void RecordChildRects();
  // The bar sits in (or is) a library dock bar inside an MDI child.
  BOOL IsMDIChild() const;
  // Docked, on a top or bottom edge.
  BOOL IsDockedHorizontally() const;
  SECDockContext* GetSECDockContext() const;

  CSize m_szHorz;
  CSize m_szReserved;
  CSize m_szVert;
  CSize m_szFloat;
  DWORD m_dwSavedDockStyle = 0;
  float m_fPctWidth = 1.0f;
  float m_fSavedPctWidth = 1.0f;
  DWORD m_dwExStyle = 0;
  CRect m_rcBorderSpace;
  SECToolBarManager* m_pManager = nullptr;  // set only by a toolbar manager
  SECGripperInfo m_GripperInfo;
  CRect m_rcClose;
  BOOL m_bClosePressed = FALSE;
  CRect m_rcExpand;
  BOOL m_bExpandPressed = FALSE;
  BOOL m_bExpandEnabled = TRUE;
  BOOL m_bExpandable = TRUE;
  BOOL m_bExpandHorz = FALSE;
  // The client rectangle (handle 0) and every child's rectangle, when recorded.
  std::optional<std::vector<std::pair<HWND, CRect>>> m_childRects;
  HWND m_hWndRedraw = nullptr;

  // The library's frames switch redrawing off while they lay bars out.
  static BOOL s_bRedrawOn;

 protected:
  // The usable area of a client of cx by cy: less the gripper or the inner border.
  CRect UsableRect(int cx, int cy) const;
  // The gripper's rectangle inside the client area (docked bars only).
  CRect GripperRect() const;
  // Lays the close and expand buttons out in the gripper and answers what is left.
  CRect LayOutGripperButtons(CRect gripper);
  void RedrawGripperButton(BOOL bClose, BOOL bPushed);
  // Pressed gripper buttons stand up again, drawn normal.
  void ReleaseGripperButtons();

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnDestroy();
  afx_msg void OnHide();
  afx_msg void OnAllowDocking();
  afx_msg void OnFloatInMainWindow();
  DECLARE_MESSAGE_MAP()
};
