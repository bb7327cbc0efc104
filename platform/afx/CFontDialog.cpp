#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)

CFontDialog::CFontDialog(LPLOGFONT lplfInitial, DWORD dwFlags, CDC* pdcPrinter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cf{}, m_lf{} {
  m_cf.lStructSize = sizeof m_cf;
  m_cf.Flags = dwFlags;
  m_cf.lpLogFont = &m_lf;
  if (lplfInitial) {
    m_cf.lpLogFont = lplfInitial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    m_lf = *lplfInitial;
  }
  if (pdcPrinter) {
    m_cf.hDC = pdcPrinter->GetSafeHdc();
    m_cf.Flags |= CF_PRINTERFONTS;
  }
}

int CFontDialog::DoModal() {
  plat::afx::ModalOwner owner(m_pParentWnd);
  m_cf.hwndOwner = owner.Hwnd();
  if (!::ChooseFontA(&m_cf)) return IDCANCEL;
  m_lf = *m_cf.lpLogFont;
  return IDOK;
}
