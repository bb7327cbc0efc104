// Dialog data exchange: CDataExchange carries one exchange between a window's
// controls and its members; the DDX_ and DDV_ functions do one control each.
#pragma once
#include "afx.h"

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

  // The control of `nIDC` (noted for a later Fail); throws when the window has none.
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC);
  // Gives the last prepared control the focus (selecting an edit's text) and stops the exchange.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl = nullptr;
  BOOL m_bEditLastControl = FALSE;
};
