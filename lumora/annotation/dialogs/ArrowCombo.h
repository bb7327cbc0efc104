// CArrowCombo: the arrow style list of the line dialog. Each item's data (1-4) is its
// picture: a plain line, a head at the right end, at the left end, or at both.
#pragma once
#include <afxwin.h>

class CArrowCombo : public CComboBox {
 public:
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
};
