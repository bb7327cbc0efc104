// CDockBar: the bar along one edge of a frame (or inside a floating frame) that holds
// docked control bars in rows. Its array lists the bars: a null entry starts the array
// and ends each row; a placeholder entry (a tag, never a bar) holds the control id of a
// bar that left, so that the bar finds its place again.
#pragma once
#include "AfxCollections.h"
#include "CControlBar.h"

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)
 public:
  explicit CDockBar(BOOL bFloating = FALSE);
  ~CDockBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  BOOL IsDockBar() const override { return TRUE; }

  int GetDockedCount() const;
  int GetDockedVisibleCount() const;
  // The bar at `nPos`, or null for a row end or a placeholder.
  CControlBar* GetDockedControlBar(int nPos) const;
  // The index of `pBar` (or of a placeholder when given one), -1 when absent.
  int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
  void ShowAll(BOOL bShow);

  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Takes the bar out, leaving a placeholder with nAddPlaceHolder 1, removing any old
  // placeholder of the bar with 0, keeping them with -1. TRUE when the floating frame
  // went with its last bar.
  BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
  void RemovePlaceHolder(CControlBar* pBar);
  // Where a bar dropped at `rect` (client coordinates) goes: into the row that holds
  // the middle point, after the last bar left of it, or a new row.
  int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override {}
  void DoPaint(CDC* pDC) override;
  void GetBarInfo(CControlBarInfo* pInfo) override;

  // A placeholder entry for a control id (below 0x10000), and the id behind one. The
  // entry points into a tag table that no window lives in, so no bar is ever taken for
  // a placeholder whatever its address.
  static void* PlaceHolder(UINT nID);
  static BOOL IsPlaceHolder(const void* pEntry);
  static UINT PlaceHolderID(const void* pEntry);
  // A dock bar takes its rows from a saved id list (id, 0 row end, id | 0x10000 for a
  // placeholder): ids of no bar of the frame, and bars already in another dock bar, are
  // skipped.
  void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;
  // A restore of a whole frame: a bar that a dock bar took by id stays there when a
  // later record names it too.
  static void BeginRestore();
  static void EndRestore();

  BOOL m_bFloating;
  CPtrArray m_arrBars;
  BOOL m_bLayoutQuery = FALSE;
  CRect m_rectLayout;

 protected:
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg void OnNcDestroy();
  // The dock bar's border lines lie outside its client area, where the bars go.
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  DECLARE_MESSAGE_MAP()
};
