#include "SECWellButton.h"

#include <afxdlgs.h>

#include "SECPopupColorWell.h"

IMPLEMENT_DYNAMIC(SECWellButton, SECOwnerDrawButton)

BEGIN_MESSAGE_MAP(SECWellButton, SECOwnerDrawButton)
  ON_MESSAGE(SECColorWell::WM_COLORCHOSEN, OnColorChosen)
  ON_MESSAGE(SECColorWell::WM_RUNCOLORDIALOG, OnRunColorDialog)
END_MESSAGE_MAP()

SECWellButton::SECWellButton() {
  LOGPALETTE log{0x300, 1, {{0, 0, 0, 0}}};
  m_palette.CreatePalette(&log);
}

void SECWellButton::SetColor(COLORREF color) {
  PALETTEENTRY e{GetRValue(color), GetGValue(color), GetBValue(color), 0};
  m_palette.SetPaletteEntries(0, 1, &e);
  if (m_hWnd) Invalidate(TRUE);
}

COLORREF SECWellButton::GetColor() const {
  PALETTEENTRY e{};
  m_palette.GetPaletteEntries(0, 1, &e);
  return RGB(e.peRed, e.peGreen, e.peBlue);
}

void SECWellButton::DrawContent(CDC* pDC, const CRect& rect, UINT nState) {
  // The colour in a black-framed swatch, a few pixels inside the frame.
  CRect swatch = rect;
  swatch.DeflateRect(3, 3);
  if (swatch.IsRectEmpty()) return;
  pDC->Draw3dRect(&swatch, RGB(0, 0, 0), RGB(0, 0, 0));
  swatch.DeflateRect(1, 1);
  pDC->FillSolidRect(&swatch, (nState & ODS_DISABLED) ? s_clrFace : GetColor());
}

void SECWellButton::OnInput() {
  CRect window;
  GetWindowRect(&window);
  SECPopupColorWell::Open(this, CPoint(window.left, window.bottom), GetColor());
}

LRESULT SECWellButton::OnColorChosen(WPARAM, LPARAM lParam) {
  SetColor(static_cast<COLORREF>(lParam));
  UpdateWindow();
  if (CWnd* pParent = GetParent())
    pParent->SendMessage(SECColorWell::WM_COLORCHOSEN, static_cast<WPARAM>(GetDlgCtrlID()), lParam);
  return 0;
}

LRESULT SECWellButton::OnRunColorDialog(WPARAM, LPARAM) {
  CColorDialog dlg(0, 0, nullptr);
  dlg.m_cc.rgbResult = GetColor();
  dlg.m_cc.Flags |= GetDialogFlags() | CC_RGBINIT;  // opens on the button's colour
  if (dlg.DoModal() == IDOK) OnColorChosen(0, static_cast<LPARAM>(dlg.GetColor()));
  return 0;
}
