// CAnnColorButton: a push button that shows a colour swatch on its face.
#pragma once
#include <afxwin.h>

class CAnnColorButton : public CButton {
 public:
  void SetColor(COLORREF color) { m_color = color; }
  COLORREF GetColor() const { return m_color; }
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

  // A push button's face, raised or sunken, over the whole of `rect`.
  static void DrawFace(CDC& dc, const CRect& rect, bool sunken);

 private:
  COLORREF m_color = RGB(0, 0, 0);
};
