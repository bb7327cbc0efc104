// SECDockBar: the class library's sizing dock bar. It holds bars in rows like the
// framework's dock bar; every bar of a row owns a share of the row's length, 6-pixel
// splitters between bars and between a row and the client area let the user size bars
// and rows, and a 2-pixel sunken edge lines the other side of each row. Bars whose
// windows changed size are kept in a repaint list and redrawn after the layout.
#pragma once
#include <memory>
#include <vector>

#include <afxext.h>

class SECControlBarInfo;

// What the dock bar remembers between the feedback requests of one drag, and the
// place it tells the dragged bar.
struct SECDockTrackState {
  int nLastRow = -1;
  CRect rectLast;
  CPoint ptLast;
  int nInsertValue = 0;   // given by the dock context
  int nInsertIndex = -1;  // where the bar would go, -1 for not known
};

// A place by row and column: flags 0x1 count rows from the end, 0x2 columns from the
// end, 0x4 make a new row.
struct SECDockPos {
  int nRow = 0;
  int nCol = 0;
  DWORD dwFlags = 0;
};
#define SEC_DOCKPOS_ROW_FROM_END 0x1L
#define SEC_DOCKPOS_COL_FROM_END 0x2L
#define SEC_DOCKPOS_NEW_ROW 0x4L

class SECDockBar : public CDockBar {
  DECLARE_DYNCREATE(SECDockBar)
 public:
  // The strip between two bars of a row (in-row) or between a row and the client area.
  class Splitter : public CObject {
   public:
    Splitter(BOOL bInRow, int nOrientation, const CRect& rect, int nIndex)
        : m_nOrientation(nOrientation), m_bInRow(bInRow), m_rect(rect), m_nRowIndex(nIndex) {}
    virtual void Draw(CDC* pDC);

    int m_nOrientation;  // 0 a horizontal strip, 1 a vertical one
    BOOL m_bInRow;
    CRect m_rect;
    int m_nRowIndex;  // the bar before an in-row splitter, the row start of a row splitter
    BOOL m_bAlive = TRUE;
    int m_nLowerLimit = 0;
    int m_nUpperLimit = 0;
    CRect m_rectDrag;
    CSize m_sizeDrag;
    BOOL m_bErasePending = FALSE;
    BOOL m_bDragEnded = FALSE;
  };
  // The sunken line on the far side of a row.
  class ClientEdge : public CObject {
   public:
    ClientEdge(int nOrientation, const CRect& rect) : m_nOrientation(nOrientation), m_rect(rect) {}
    virtual void Draw(CDC* pDC);

    int m_nOrientation;
    CRect m_rect;
    BOOL m_bAlive = TRUE;
  };

  explicit SECDockBar(BOOL bFloating = FALSE, BOOL bMDIChild = FALSE);
  ~SECDockBar() override;

  virtual int CountVisibleBars();
  // At most one visible bar of the row has a share above the minimum, and it is `pBar`.
  virtual BOOL IsOnlyStretchedBar(CControlBar* pBar);
  // The bar's row holds no other visible bar.
  virtual BOOL IsAloneInRow(CControlBar* pBar);
  virtual void DockControlBarAt(CControlBar* pBar, const SECDockPos& pos);
  virtual void DockControlBarAt(CControlBar* pBar, int nCol, int nRow);
  // The bars of `pBar`'s row: those before it (nearest first), it, those after it.
  virtual void GetRowBars(CPtrArray& arrBars, CControlBar* pBar);
  // Mode 1 expands the bar across its row; any other mode shares the row evenly.
  virtual void SetRowState(CControlBar* pBar, int nMode);
  virtual void OnBarShown(CControlBar* pBar);
  virtual void RedrawPendingBars();
  // Drags a splitter with the mouse; the distance moved, 0 when cancelled or refused.
  virtual int TrackSplitter(Splitter* pSplitter, CPoint point);
  virtual Splitter* AddSplitter(BOOL bInRow, int nOrientation, const CRect& rect, int nIndex);
  virtual void SetSplitterLimits(Splitter* pSplitter);
  virtual ClientEdge* AddClientEdge(int nOrientation, const CRect& rect);
  virtual void MarkRowForRepaint(CControlBar* pBar);
  virtual void NormalizeRow(int nRowStart, CControlBar* pActiveBar, int& nNormal, int& nFixed);
  virtual void UpdateMinShare();
  virtual float AddShare(float fAmount, CControlBar* pBar);
  virtual int InsertBarAtPoint(CControlBar* pBar, const CRect& rect, CPoint ptCenter);
  virtual int InsertBarAtPosition(CControlBar* pBar, const SECDockPos& pos);
  virtual int InsertBarAtPosition(CControlBar* pBar, int nCol, int nRow);
  virtual void InsertBarInNewFirstRow(CControlBar* pBar);
  virtual void InsertBarAtIndex(int nIndex, CControlBar* pBar);
  // The rectangle to show for `pBar` dragged over this dock bar at `point`.
  virtual CRect CalcTrackRect(CControlBar* pBar, const CRect& rectProposed, CPoint point, SECDockTrackState& state);
  virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // TRUE when the floating frame went with its last bar (this dock bar with it).
  virtual BOOL RemoveControlBar(CControlBar* pBar, int nIndex = -1, int nIgnored = 0);
  virtual void OnSplitterMoved(Splitter* pSplitter, int nDelta);

  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  void AddToRepaintList(CControlBar* pBar);
  void GetBarInfoEx(SECControlBarInfo* pInfo);
  void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  // Gives the bar `nPixels` more length (fewer when negative) in a row of `nRowLength`;
  // the part of the pixels the bar could not take.
  int ResizeBarBy(CControlBar* pBar, int nPixels, int nRowLength);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void DoPaint(CDC* pDC) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Row walks: the nearest live bar before or after `nPos` in its row, or -1.
  int PrevBarInRow(int nPos) const;
  int NextBarInRow(int nPos) const;
  int NextVisibleBarInRow(int nPos) const;
  // The index of the n-th row end (-1 when there are fewer).
  int RowStartIndex(int nRow) const;
  // The row start (first entry after a row end) and the row end index around `nPos`.
  int RowStart(int nPos) const;
  int RowEnd(int nPos) const;
  int RowThickness(int nRowStart);
  int RowCount() const;
  int InsertionIndexAt(CControlBar* pBar, const CRect& rect, CPoint ptCenter);
  BOOL IsHorzDock() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  BOOL IsLiveBar(int nPos) const { return GetDockedControlBar(nPos) != nullptr; }
  const std::vector<std::unique_ptr<Splitter>>& Splitters() const { return m_splitters; }
  const std::vector<std::unique_ptr<ClientEdge>>& Edges() const { return m_edges; }

  // The rows of any dock bar: `pBar` has no other visible bar in its row.
  static BOOL IsAloneInRowOf(const CDockBar& dock, const CControlBar* pBar);
  // A bar of fixed size (or no library bar) takes no share of its row.
  static BOOL IsFixedBar(const CControlBar* pBar);

  static constexpr int kSplitter = 6;
  static constexpr int kMinBarLength = 18;
  static constexpr int kSplitterMargin = 24;
  static constexpr int kRowKeep = 19;

  CPtrArray m_arrRepaintBars;  // bars to redraw after the next layout
  BOOL m_bMDIChild;
  AFX_SIZEPARENTPARAMS* m_pSizeParentRequest = nullptr;
  CControlBar* m_pLastPlacedBar = nullptr;  // docked or shown most recently
  BOOL m_bRepaintInProgress = FALSE;
  BOOL m_bRelayout = FALSE;
  float m_fMinShare = 0.05f;

 protected:
  // The layout mode that gives a bar its thickness, and the one that gives its length.
  DWORD ThicknessMode(const CControlBar* pBar) const;
  DWORD LengthMode(const CControlBar* pBar) const;
  int ClientLength() const;
  Splitter* SplitterAt(CPoint point) const;
  void FlagDelayedLayout();
  int LayOutRow(int nStart, int nEnd, int nAcross, int nLength, AFX_SIZEPARENTPARAMS& layout, int& nFirstChanged,
                int& nMaxAlong);
  void MoveBar(CControlBar* pBar, const CRect& rect, AFX_SIZEPARENTPARAMS& layout, int nPos, int& nFirstChanged);

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<std::unique_ptr<ClientEdge>> m_edges;
  std::vector<std::unique_ptr<Splitter>> m_splitters;
  static HCURSOR s_hcurVert;
  static HCURSOR s_hcurHorz;
};
