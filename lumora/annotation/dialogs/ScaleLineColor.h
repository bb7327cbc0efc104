// The scale dialog's colour buttons: CScaleLineColor shows the bar's colour as a swatch
// on a button face; CScaleBackColorButton shows the box colour while the box is filled
// and the plain button face otherwise.
#pragma once
#include "AnnColorButton.h"

class CScaleLineColor : public CAnnColorButton {};

class CScaleBackColorButton : public CScaleLineColor {
 public:
  CScaleBackColorButton() { CAnnColorButton::SetColor(GetSysColor(COLOR_BTNFACE)); }
  void SetInUse(int inUse) { m_bInUse = inUse; }
  int IsInUse() const { return m_bInUse; }
  // Takes `color` while in use; otherwise the swatch shows the button face.
  void SetColor(COLORREF color) { CAnnColorButton::SetColor(m_bInUse ? color : GetSysColor(COLOR_BTNFACE)); }

 private:
  int m_bInUse = 0;
};
