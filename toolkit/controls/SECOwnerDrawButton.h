// SECOwnerDrawButton: a push button that draws itself off-screen: its 3-D frame (a
// flatter one from Windows 4 on), its content (supplied by a subclass), the embossed
// disabled look and the focus. The frame colours are shared by every such button.
#pragma once
#include <afxwin.h>

class SECOwnerDrawButton : public CButton {
  DECLARE_DYNAMIC(SECOwnerDrawButton)
 public:
  SECOwnerDrawButton();

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  // Takes over dialog button `nID`; it draws itself from then on.
  virtual BOOL AttachButton(UINT nID, CWnd* pParent, DWORD dwFlags = 0);
  virtual BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID, DWORD dwFlags = 0);
  // Called when a click completes (space released, or the mouse released inside).
  virtual void OnInput() {}
  // Changes the style; the button stays owner-drawn.
  virtual void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);

  // Bit 0 of the flags: with the focus, the button reports itself as the default one.
  static constexpr DWORD kDefaultWithFocus = 0x1;

 protected:
  virtual void PrepareDraw(CDC* pDC, const CRect& rect, UINT nState) {}
  // Draws the frame into `rect` and leaves the content rectangle in it.
  virtual void DrawFrame(CDC* pDC, CRect& rect, UINT nState);
  virtual void FinishDraw(CDC* pDC, const CRect& rect, UINT nState) {}
  virtual void DrawDisabled(CDC* pDC, const CRect& rect, UINT nState);
  virtual void DrawFocus(CDC* pDC, const CRect& rect, UINT nState);
  virtual void DrawContent(CDC* pDC, const CRect& rect, UINT nState) = 0;

  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  // The colours shared by all owner-draw buttons.
  static void ReadColors();
  static COLORREF s_clrShadow;
  static COLORREF s_clrHilite;
  static COLORREF s_clrFace;
  static COLORREF s_clrFrame;
  static COLORREF s_clrDarkEdge;

  BOOL m_bNewLook;
  DWORD m_dwButtonFlags = 0;

 private:
  // The content rectangle of an item rectangle: inside the frame, shifted when pressed.
  CRect ContentRect(CRect rect, BOOL bPressed) const;
};
