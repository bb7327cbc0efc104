// CFontDialog: the font chooser. Given a LOGFONT, it starts on it and writes the chosen
// font back into it; m_lf holds a copy either way.
#pragma once
#include "CCommonDialog.h"

class CDC;

class CFontDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFontDialog)
 public:
  explicit CFontDialog(LPLOGFONT lplfInitial = nullptr, DWORD dwFlags = CF_EFFECTS | CF_SCREENFONTS,
                       CDC* pdcPrinter = nullptr, CWnd* pParentWnd = nullptr);
  int DoModal() override;
  void GetCurrentFont(LPLOGFONT lplf) const { *lplf = *m_cf.lpLogFont; }
  int GetSize() const { return m_cf.iPointSize; }  // tenths of a point
  COLORREF GetColor() const { return m_cf.rgbColors; }

  CHOOSEFONT m_cf;
  LOGFONT m_lf;
};
