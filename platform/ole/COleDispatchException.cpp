#include "COleDispatchException.h"

#include <cstdio>
#include <memory>

IMPLEMENT_DYNAMIC(COleDispatchException, CException)

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(0), m_strDescription(lpszDescription ? lpszDescription : ""), m_dwHelpContext(nHelpID) {}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) {
  if (pnHelpContext) *pnHelpContext = m_dwHelpContext;
  if (!lpszError || nMaxError == 0) return FALSE;
  std::snprintf(lpszError, nMaxError, "%s", static_cast<LPCTSTR>(m_strDescription));
  return TRUE;
}

void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID) {
  THROW(std::make_unique<COleDispatchException>(lpszDescription, nHelpID, wCode).release());
}
