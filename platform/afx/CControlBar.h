// CControlBar: a child window of a frame that takes its room from the frame's client
// area (WM_SIZEPARENT), can be docked along an edge or float in a small frame, shows
// delayed, updates its items at idle time and shows fly-by help and tooltips.
#pragma once
#include "CWnd.h"

// Bar styles: the bar's own style word (m_dwStyle), not the window style.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_HIDE_INPLACE 0x0008L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Toolbar button styles: the style in the low word, the state in the high word.
#define TBBS_BUTTON 0x00000000L
#define TBBS_SEPARATOR 0x00000001L
#define TBBS_CHECKBOX 0x00000002L
#define TBBS_GROUP 0x00000004L
#define TBBS_CHECKGROUP (TBBS_GROUP | TBBS_CHECKBOX)
#define TBBS_CHECKED 0x00010000L
#define TBBS_PRESSED 0x00020000L
#define TBBS_DISABLED 0x00040000L
#define TBBS_HIDDEN 0x00080000L
#define TBBS_INDETERMINATE 0x00100000L
#define TBBS_WRAPPED 0x00200000L

// A tool of a bar that is no button: a click on it clears the fly-by help.
#define TTF_NOTBUTTON 0x80000000L

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01    // stretch to fill the length
#define LM_HORZ 0x02       // horizontal, else vertical
#define LM_MRUWIDTH 0x04   // the most recently used (floating) width
#define LM_HORZDOCK 0x08   // docked along a top or bottom edge
#define LM_VERTDOCK 0x10   // docked along a left or right edge
#define LM_LENGTHY 0x20    // the length is a height, else a width
#define LM_COMMIT 0x40     // remember the result

class CDockBar;
class CDockContext;
class CFrameWnd;
struct CControlBarInfo;

namespace plat::afx {
// The framework's bar border widths: 2 pixels on Windows 4 and later, else 1.
int BarBorderX();
int BarBorderY();
BOOL IsWin4();
}  // namespace plat::afx

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)
 public:
  CControlBar();
  ~CControlBar() override;

  void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
  CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
  void SetBarStyle(DWORD dwStyle);
  DWORD GetBarStyle() const { return m_dwStyle; }
  virtual void EnableDocking(DWORD dwDockStyle);
  // The frame that docks this bar: the floating frame for a floating bar.
  CFrameWnd* GetDockingFrame() const;
  BOOL IsFloating() const;
  virtual BOOL IsDockBar() const { return FALSE; }
  // Visible, counting a show or hide that waits for the next layout.
  BOOL IsVisible() const;
  virtual void DelayShow(BOOL bShow);

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void DoPaint(CDC* pDC);
  virtual void DrawBorders(CDC* pDC, CRect& rect);
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
  virtual void GetBarInfo(CControlBarInfo* pInfo);
  virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  // The client rectangle less the borders the bar keeps free.
  void CalcInsideRect(CRect& rect, BOOL bHorz) const;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostNcDestroy() override;

  // Applies a waiting show or hide (in the layout's batch when there is one) and
  // answers the style the bar has for the layout.
  DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
  // Fly-by help: the prompt of the tool's command in the owner's status bar (-1 clears).
  BOOL SetStatusText(INT_PTR nHit);
  void ResetTimer(UINT_PTR nEvent, UINT nTime);

  enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
  enum Timers : UINT_PTR { timerWait = 0xE000, timerCheck = 0xE001 };

  int m_cxLeftBorder = 6;
  int m_cxRightBorder = 6;
  int m_cyTopBorder = 1;
  int m_cyBottomBorder = 1;
  int m_cxDefaultGap = 2;
  UINT m_nMRUWidth = 32767;
  BOOL m_bAutoDelete = FALSE;
  UINT m_nStateFlags = 0;
  DWORD m_dwStyle = 0;
  DWORD m_dwDockStyle = 0;
  CFrameWnd* m_pDockSite = nullptr;
  CDockBar* m_pDockBar = nullptr;
  CDockContext* m_pDockContext = nullptr;  // owned

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
