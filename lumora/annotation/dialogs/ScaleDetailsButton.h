// CScaleDetailsButton: the scale dialog's "Details" button, a face with its caption and a
// triangle pointing up while the lower part is shown and down while it is hidden.
#pragma once
#include <afxwin.h>

class CScaleDetailsButton : public CButton {
 public:
  // The dialog sets it whenever it shows or hides its lower part.
  void SetExpanded(int expanded) { m_bExpanded = expanded; }
  int IsExpanded() const { return m_bExpanded; }
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 private:
  int m_bExpanded = 0;
};
