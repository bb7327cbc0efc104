// SECWellButton: an owner-drawn button that shows one colour. A click opens a colour grid
// under it; the grid's "Other..." runs the colour dialog. Every change is reported to the
// parent as WM_USER + 101 (control id, colour).
#pragma once
#include "SECOwnerDrawButton.h"

class SECWellButton : public SECOwnerDrawButton {
  DECLARE_DYNAMIC(SECWellButton)
 public:
  SECWellButton();

  void SetColor(COLORREF color);
  COLORREF GetColor() const;

 protected:
  void DrawContent(CDC* pDC, const CRect& rect, UINT nState) override;
  // A click: the colour grid opens under the button.
  void OnInput() override;
  // Flags OR-ed into the colour dialog's.
  virtual DWORD GetDialogFlags() const { return 0; }

  afx_msg LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRunColorDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CPalette m_palette;  // entry 0 is the colour
};
