// SECWorkbook: an MDI frame that shows its MDI children as tabs in a strip below the MDI
// client, like the sheets of a spreadsheet book. It keeps the sheets in tab order, draws
// the strip, activates a sheet whose tab is clicked and shows the whole label of a tab
// whose label does not fit as a tooltip. The strip is off until ShowTabs turns it on;
// until then the workbook behaves as a plain SECMDIFrameWnd.
#pragma once
#include <afxext.h>

#include "SECMDIFrameWnd.h"
#include "SECWorkbookTabs.h"

class SECWorksheet;
class SECWorkbookClient;

// Sent by the workbook's MDI client when the MDI menu or the activation changed.
#define WM_SECWORKBOOK_ACTIVETAB (WM_USER + 0x044D)
// Sent by a sheet without a menu of its own, activated in menu-bar mode, to the MDI client.
#define WM_SECWORKBOOK_NOSHEETMENU (WM_USER + 0x044E)

class SECWorkbook : public SECMDIFrameWnd {
  DECLARE_DYNCREATE(SECWorkbook)
 public:
  SECWorkbook();
  ~SECWorkbook() override;

  virtual void GetClientMarginRect(LPRECT lpRect);
  // A clicked tab activates its sheet only when this allows it.
  virtual BOOL OnTabActivating(SECWorksheet* pSheet);
  virtual void AddSheet(SECWorksheet* pSheet);
  virtual BOOL RemoveSheet(SECWorksheet* pSheet);
  virtual BOOL LabelFits(SECWorksheet* pSheet);
  virtual void GetTabPolygon(SECWorksheet* pSheet, LPPOINT lpPoints, int& nPoints);
  // The title of the sheet's active document, else the sheet's window text.
  virtual const CString& GetSheetLabel(SECWorksheet* pSheet);
  virtual void GetLabelRect(const POINT* lpPoints, int nIconWidth, LPRECT lpRect);
  virtual void DrawTab(CDC* pDC, SECWorksheet* pSheet);
  virtual void DrawTabAreaFrame(CDC* pDC);
  virtual void DrawTabLabel(CDC* pDC, SECWorksheet* pSheet);
  virtual HICON GetSheetIcon(SECWorksheet* pSheet);
  // The sheet owns the icon from then on; the one it had is destroyed.
  virtual void SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw = TRUE);

  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
  BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  CMDIChildWnd* CreateControlBarMDIChild(DWORD dwStyle, CControlBar* pBar) override;

  // Turns the strip on or off; on, the MDI client leaves room for it around itself.
  void ShowTabs(BOOL bShow = TRUE);
  BOOL AreTabsShown() const { return m_bTabsShown; }
  // With it set, a paint that finds the client area changed repaints the whole workbook.
  void SetRepaintOnClientChange(BOOL bRepaint) { m_bRepaintOnClientChange = bRepaint; }
  SECWorkbookClient* GetWorkbookClient() const { return m_pWorkbookClient; }
  int GetSheetCount() const { return static_cast<int>(m_arrSheets.GetSize()); }
  SECWorksheet* GetSheet(int nIndex) const;
  int GetTabWidth() const { return m_tabs.width; }
  // Invalidates a sheet's tab, or everything right of its left edge.
  void InvalidateTab(SECWorksheet* pSheet, BOOL bToRightEdge = FALSE);

  CObArray m_arrSheets;
  BOOL m_bTabsShown = FALSE;
  BOOL m_bIconsShown = TRUE;
  CFont m_fontTab;
  SECWorkbookClient* m_pWorkbookClient = nullptr;  // owned
  CPen m_penHighlight, m_penBlack, m_penShadow, m_penFace;
  sec_workbook::TabMetrics m_tabs;
  int m_nMaxTabWidth = 90;
  CRect m_rectLastLayout;
  BOOL m_bRepaintOnClientChange = FALSE;
  int m_nLastActiveTab = 0;
  CToolTipCtrl* m_pToolTip = nullptr;  // owned

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnActiveTab(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The MDI client's window rectangle in workbook client coordinates.
  CRect ClientRect() const;
  int VisiblePosition(SECWorksheet* pSheet) const;
  BOOL TabContains(SECWorksheet* pSheet, CPoint point);
  CString m_strLabel;  // the label GetSheetLabel answers with
};
