// CSplitterWnd: a window that lays its panes out in rows and columns separated by
// bars the user can drag. Static splitters get their panes once, from CreateView.
#pragma once
#include <vector>

#include "CWnd.h"

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
 public:
  CSplitterWnd();
  ~CSplitterWnd() override = default;

  BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                    UINT nID = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  CWnd* GetPane(int row, int col) const;
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
  virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);
  virtual void RecalcLayout();

  // Sizes of the layout, in pixels: the border around all panes and the gap between two.
  int m_cxBorder, m_cyBorder;
  int m_cxSplitterGap, m_cySplitterGap;

 protected:
  struct CRowColInfo {
    int nMinSize = 0;
    int nIdealSize = 0;
    int nCurSize = 0;
  };
  enum HitTestValue { noHit = 0, vSplitterBar1 = 101, hSplitterBar1 = 201 };

  static void GetInfo(const std::vector<CRowColInfo>& infos, int i, int& cur, int& min);
  static void SetInfo(std::vector<CRowColInfo>& infos, int i, int ideal, int min);
  virtual void GetInsideRect(CRect& rect) const;
  virtual int HitTest(CPoint pt) const;
  virtual void StartTracking(int ht);
  virtual void StopTracking(BOOL bAccept);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
  afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
  afx_msg void OnCancelMode();
  afx_msg void OnPaint();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

  int m_nRows = 0, m_nCols = 0;
  std::vector<CRowColInfo> m_rowInfo, m_colInfo;
  BOOL m_bTracking = FALSE;
  int m_htTrack = noHit;
  CPoint m_ptTrackOffset;

  DECLARE_MESSAGE_MAP()
};
