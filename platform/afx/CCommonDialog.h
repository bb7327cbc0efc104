// CCommonDialog: the base of the framework's wrappers of the standard choosers, which
// run the Win32 chooser on the owner of the parent window (plat::afx::ModalOwner).
#pragma once
#include "CDialog.h"

class CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)
 public:
  explicit CCommonDialog(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }
};
