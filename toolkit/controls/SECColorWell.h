// SECColorWell: a grid of colour cells with one current cell, chosen by keyboard or
// mouse; optionally a custom cell under the grid, filled through the colour dialog that
// its "Other..." button opens. A choice is reported to the parent as WM_USER + 101
// (control id, colour). SECCustomColorButton is that button.
#pragma once
#include <afxwin.h>

#include <memory>

class SECColorWell;

// What a grid is built from. The custom cell's place is under the last column.
struct SECColorWellLayout {
  int nRows = 4;
  int nColumns = 5;
  int nCellWidth = 16;
  int nCellHeight = 16;
  int nMarginX = 6;
  int nMarginY = 6;
  BOOL bCustom = TRUE;
  const COLORREF* pColors = nullptr;  // rows x columns colours; the default colours when null
};

class SECCustomColorButton : public CButton {
  DECLARE_DYNAMIC(SECCustomColorButton)
 protected:
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()
};

class SECColorWell : public CWnd {
  DECLARE_DYNAMIC(SECColorWell)
 public:
  // Sent to the parent (or a popup's owner) with the control id and the chosen colour.
  static constexpr UINT WM_COLORCHOSEN = WM_USER + 101;
  // Asks a popup's owner to run its colour dialog.
  static constexpr UINT WM_RUNCOLORDIALOG = WM_USER + 102;
  static constexpr UINT ID_CUSTOMCOLOR = 59953;
  // Window style bit: a raised 3-D border around the grid.
  static constexpr DWORD CWS_RAISEDBORDER = 0x0001;
  // Why a cell is selected.
  enum { SelectKey = 0, SelectHover = 1, SelectChoice = 2 };

  using Layout = SECColorWellLayout;

  SECColorWell();
  ~SECColorWell() override;

  // The twenty static colours of the default palette, in palette order.
  static const COLORREF* GetDefaultColors();
  static constexpr int kDefaultColorCount = 20;
  // The window size a grid of `layout` needs.
  static CSize CalcSize(const Layout& layout);

  virtual BOOL Create(DWORD dwStyle, CPoint topLeft, CWnd* pParent, UINT nID, const Layout& layout = Layout());

  void SetColor(COLORREF color);
  COLORREF GetColor() const;
  COLORREF GetCellColor(int nColumn, int nRow) const;
  int GetPaletteIndex(int nColumn, int nRow) const;
  CRect GetGridRect() const;
  CRect GetCellRect(int nColumn, int nRow) const;
  BOOL HitTest(CPoint point, int& nColumn, int& nRow) const;
  void InvalidateCell(int nColumn, int nRow);
  DWORD GetDialogFlags() const { return m_dwDialogFlags; }
  COLORREF* GetCustomColors() const { return m_pCustomColors; }
  void SetDialogFlags(DWORD dwFlags) { m_dwDialogFlags = dwFlags; }
  void SetCustomColors(COLORREF* pColors) { m_pCustomColors = pColors; }
  void EnableHoverTracking(BOOL bEnable = TRUE) { m_bHoverTracking = bEnable; }

  int GetCurrentColumn() const { return m_nCurColumn; }
  int GetCurrentRow() const { return m_nCurRow; }
  BOOL IsCustomShown() const { return m_bCustomShown; }
  BOOL IsCustomCell(int nColumn, int nRow) const {
    return m_bCustomSupport && nColumn == m_nCustomColumn && nRow == m_nCustomRow;
  }
  SECCustomColorButton* GetCustomButton() const { return m_pCustomButton.get(); }

 protected:
  virtual void DrawCell(CDC* pDC, CDC* pScreenDC, const CRect& rectGrid, int nColumn, int nRow);
  virtual void DrawSelectedCell(CDC* pDC, CDC* pScreenDC, const CRect& rectGrid, int nColumn, int nRow);
  virtual void OnColorChosen();
  virtual void SelectCell(int nColumn, int nRow, int nReason);
  // The window that hears of a choice: the parent here, the owner in a popup.
  virtual HWND GetNotifyWindow() const;
  virtual BOOL HasFocusFrame() const { return TRUE; }

  void DrawGrid(CDC* pDC, CDC* pScreenDC);
  void MakeCurrent(int nColumn, int nRow);
  // Reports the current colour to the notify window.
  void ReportColor();
  void RunColorDialog();
  void DrawFocusFrame(BOOL bFocused);

  afx_msg void OnPaint();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCustomColor();
  afx_msg void OnSysColorChange();
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

  // The colours shared by every grid.
  static void ReadColors();
  static COLORREF s_clrHilite, s_clrShadow, s_clrFace, s_clrDarkShadow, s_clrLight, s_clrBackground, s_clrFrame;

  CPalette m_palette;
  int m_nRows = 0;
  int m_nColumns = 0;
  int m_nCustomColumn = 0;
  int m_nCustomRow = 0;
  int m_nCellHeight = 0;
  int m_nCellWidth = 0;
  int m_nMarginX = 0;
  int m_nMarginY = 0;
  int m_nCurRow = 0;
  int m_nCurColumn = 0;
  int m_nCustomIndex = 0;
  BOOL m_bFocused = FALSE;
  BOOL m_bHoverTracking = FALSE;
  BOOL m_bCustomSupport = FALSE;
  BOOL m_bCustomShown = FALSE;
  BOOL m_bRealizeOnScreen = FALSE;
  DWORD m_dwDialogFlags = 0;
  COLORREF* m_pCustomColors = nullptr;
  CBrush m_brushButton;
  std::unique_ptr<SECCustomColorButton> m_pCustomButton;

 private:
  // Moves the current cell for an arrow key.
  void MoveByKey(UINT nChar);
  BOOL CustomAvailable() const { return m_bCustomSupport && m_bCustomShown; }
};
