#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

COLORREF* CColorDialog::GetSavedCustomColors() {
  static COLORREF custom[16] = {};
  return custom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd), m_cc{} {
  m_cc.lStructSize = sizeof m_cc;
  m_cc.rgbResult = clrInit;
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.Flags = dwFlags;
  if (clrInit != 0) m_cc.Flags |= CC_RGBINIT;
}

int CColorDialog::DoModal() {
  plat::afx::ModalOwner owner(m_pParentWnd);
  m_cc.hwndOwner = owner.Hwnd();
  return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}
