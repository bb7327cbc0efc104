// The exception a failed dispatch call raises out of CWnd::InvokeHelper and its kin.
#pragma once
#include "afx.h"

class COleDispatchException : public CException {
  DECLARE_DYNAMIC(COleDispatchException)

 public:
  COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) override;

  WORD m_wCode;
  HRESULT m_scError;
  CString m_strSource;
  CString m_strDescription;
  CString m_strHelpFile;
  DWORD m_dwHelpContext;
};

[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
