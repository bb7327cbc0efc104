// CBkClrButton: the text dialog's preview. The button shows its own caption in the
// chosen font and text colour on the chosen background.
#pragma once
#include <afxwin.h>

class CBkClrButton : public CButton {
 public:
  void SetTextColor(COLORREF color) { m_textColor = color; }
  void SetBkColor(COLORREF color) { m_bkColor = color; }
  COLORREF GetTextColor() const { return m_textColor; }
  COLORREF GetBkColor() const { return m_bkColor; }
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  COLORREF m_textColor = RGB(0, 0, 0);
  COLORREF m_bkColor = GetSysColor(COLOR_BTNFACE);
};
