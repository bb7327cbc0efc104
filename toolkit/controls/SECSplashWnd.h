// SECSplashWnd: a bitmap shown centred on the screen while the program starts. It closes
// after its time, or on a click or key, and deletes itself once its window is gone.
#pragma once
#include <afxwin.h>

#include "SECDib.h"

class SECSplashWnd : public CWnd {
  DECLARE_DYNAMIC(SECSplashWnd)
 public:
  // With `bNoTimer` the owner closes the splash: no close timer and no close on input.
  SECSplashWnd(UINT nBitmapID, UINT nTimeout, BOOL bNoTimer = FALSE, BOOL bTopMost = FALSE);

  // `pParent` is the owner; without one the main window, else a hidden owner window.
  virtual BOOL Create(CWnd* pParent, DWORD dwStyle = WS_POPUP | WS_VISIBLE, DWORD dwExStyle = 0);
  virtual void SetCaption(CString strCaption);
  virtual void Close();
  virtual void RestartTimer();
  virtual void SetTimeout(UINT nTimeout);
  virtual void DisableOwner(BOOL bDisable);
  virtual void SetTopMost(BOOL bTopMost);
  virtual void SetCloseOnInput(BOOL bClose) { m_bCloseOnInput = bClose; }
  // Drawn over the picture after every paint.
  virtual void OnDrawText(CDC* pDC, CRect& rect) {}

  BOOL PreTranslateMessage(MSG* pMsg) override;

  static constexpr UINT kTimerId = 1245;

 protected:
  void PostNcDestroy() override;
  HWND OwnerHwnd() const;
  BOOL RealizeOwnPalette(BOOL bBackground);

  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  afx_msg BOOL OnQueryNewPalette();
  afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
  DECLARE_MESSAGE_MAP()

  HWND m_hWndHiddenParent = nullptr;
  CWnd* m_pOwner = nullptr;  // the parent or main window; none with the hidden owner
  BOOL m_bCloseOnInput = TRUE;
  BOOL m_bOwnerDisabled = FALSE;
  UINT_PTR m_nTimerID = 0;
  BOOL m_bTopMost;
  int m_nHeight = 0;
  int m_nWidth = 0;
  BOOL m_bNoTimer;
  UINT m_nTimeout;
  UINT m_nBitmapID;
  BOOL m_bCaption = FALSE;
  CString m_strCaption;
  SECDib m_dib;
  CPalette* m_pPalette = nullptr;  // the DIB's palette, realised for the window

 private:
  BOOL m_bCreated = FALSE;  // the window was made, so the object goes with it
};
