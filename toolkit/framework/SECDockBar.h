// SECDockBar: the class library's dock bar. Here it docks like the framework's and adds
// what the bars and their dock context ask of it: its floating and MDI-child flags,
// whether a bar is alone in its row or the one expanded across it, expanding a row,
// insertion feedback while a bar is dragged over it, and its own removal. The sizing
// rows with their shares and splitters grow on this class.
#pragma once
#include <afxext.h>

// What the dock bar remembers between the feedback requests of one drag, and the
// place it tells the dragged bar.
struct SECDockTrackState {
  int nLastRow = -1;
  CRect rectLast;
  CPoint ptLast;
  int nInsertValue = 0;   // given by the dock context
  int nInsertIndex = -1;  // where the bar would go, -1 for not known
};

class SECDockBar : public CDockBar {
  DECLARE_DYNCREATE(SECDockBar)
 public:
  explicit SECDockBar(BOOL bFloating = FALSE, BOOL bMDIChild = FALSE);

  virtual int CountVisibleBars();
  // At most one visible bar of the row has a share above the minimum, and it is `pBar`.
  virtual BOOL IsOnlyStretchedBar(CControlBar* pBar);
  // The bar's row holds no other visible bar.
  virtual BOOL IsAloneInRow(CControlBar* pBar);
  // Mode 1 expands the bar across its row; any other mode shares the row evenly.
  virtual void SetRowState(CControlBar* pBar, int nMode);
  // The rectangle to show for `pBar` dragged over this dock bar at `point`.
  virtual CRect CalcTrackRect(CControlBar* pBar, const CRect& rectProposed, CPoint point, SECDockTrackState& state);
  virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  virtual BOOL RemoveControlBar(CControlBar* pBar, int nIndex = -1, int nIgnored = 0);
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);

  // The rows of any dock bar: `pBar` has no other visible bar in its row.
  static BOOL IsAloneInRowOf(const CDockBar& dock, const CControlBar* pBar);

  BOOL m_bMDIChild;
  CPtrArray m_arrRepaintBars;               // bars to redraw after the next layout
  CControlBar* m_pLastPlacedBar = nullptr;  // docked or shown most recently
  float m_fMinShare = 0.05f;
};
