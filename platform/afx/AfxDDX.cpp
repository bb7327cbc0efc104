#include "AfxDDX.h"

#include "CWnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWnd = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!hWnd) AfxThrowNotSupportedException();  // a missing control is a programming error
  m_hWndLastControl = hWnd;
  m_bEditLastControl = FALSE;
  return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWnd = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWnd;
}

void CDataExchange::Fail() {
  if (!m_bSaveAndValidate) AfxThrowUserException();  // loading cannot fail
  if (m_hWndLastControl) {
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  AfxThrowUserException();
}
