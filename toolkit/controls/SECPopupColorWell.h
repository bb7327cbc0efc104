// SECPopupColorWell: the colour grid as a transient popup of an owner window. It holds
// the mouse capture, reports a choice to its owner and closes on Escape, on a click
// outside itself and its owner, and when the focus leaves it. Its window owns the object:
// it deletes itself when the window goes.
#pragma once
#include "SECColorWell.h"

class SECPopupColorWell : public SECColorWell {
  DECLARE_DYNAMIC(SECPopupColorWell)
 public:
  // Opens a popup at `ptScreen` with `color` current; null when it cannot be created.
  static SECPopupColorWell* Open(CWnd* pOwner, CPoint ptScreen, COLORREF color, const Layout& layout = Layout());

  CWnd* GetOwnerWnd() const { return m_hOwner ? CWnd::FromHandle(m_hOwner) : nullptr; }
  // Releases the capture and destroys the popup; `this` is gone afterwards.
  void Close();

 protected:
  SECPopupColorWell() = default;
  void SelectCell(int nColumn, int nRow, int nReason) override;
  HWND GetNotifyWindow() const override { return m_hOwner; }
  void PostNcDestroy() override {
    if (m_bOwnedByWindow) delete this;
  }
  // Hands the custom colour to the owner's own colour dialog.
  void HandOff();

  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnCustomColor();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()

  // The owner, kept by handle: it may go while the popup is open.
  HWND m_hOwner = nullptr;

 private:
  BOOL m_bClosing = FALSE;
  BOOL m_bOwnedByWindow = FALSE;
};
