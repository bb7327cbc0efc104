// SECBitmapButton: an owner-drawn push button that shows a bitmap resource beside,
// above or below its text, or alone in the middle. The bitmap's greys follow the system
// colours, and it can be swapped while the button shows.
#pragma once
#include "SECOwnerDrawButton.h"

class SECBitmapButton : public SECOwnerDrawButton {
  DECLARE_DYNAMIC(SECBitmapButton)
 public:
  // Image placements.
  enum { Al_Left = 0, Al_Right = 1, Al_Top = 2, Al_Bottom = 3, Al_Center = 4 };

  SECBitmapButton() = default;

  // Loads the bitmap, takes over dialog button `nID` and lays it out. FALSE when the
  // bitmap or the window fails.
  virtual BOOL AttachButton(int nID, int nPlacement, UINT nBitmapID, CWnd* pParent, DWORD dwFlags = 0);
  virtual BOOL Create(LPCSTR lpszText, DWORD dwStyle, int nPlacement, UINT nBitmapID, const RECT& rect,
                      CWnd* pParent, UINT nID, DWORD dwFlags = 0);
  // Shows another bitmap; FALSE (and the old bitmap kept) when it cannot be loaded.
  BOOL SetBitmapResource(UINT nBitmapID);
  UINT GetBitmapResource() const { return m_nBitmapID; }

  const CRect& GetImageRect() const { return m_rectImage; }
  const CRect& GetTextRect() const { return m_rectText; }

 protected:
  void DrawContent(CDC* pDC, const CRect& rect, UINT nState) override;
  // The image and text rectangles for the client size and placement.
  void Layout();

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()

  UINT m_nBitmapID = 0;
  CBitmap m_bitmap;
  int m_nMarginX = 5;
  int m_nMarginY = 5;
  CRect m_rectImage;
  CRect m_rectText;
  int m_nStyle = Al_Left;

 private:
  using SECOwnerDrawButton::AttachButton;
  using SECOwnerDrawButton::Create;
  CSize BitmapSize();
  CPoint m_ptImageOrigin;  // where the whole bitmap would start, before clipping
};
