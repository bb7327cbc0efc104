// CColorDialog: the colour chooser. The custom colours are kept for the whole program.
#pragma once
#include "CCommonDialog.h"

class CColorDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CColorDialog)
 public:
  // A non-black start colour is shown as the chosen one (CC_RGBINIT).
  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
  int DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  static COLORREF* GetSavedCustomColors();

  CHOOSECOLOR m_cc;
};
