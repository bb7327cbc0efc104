#include "afxwin.h"
#include "CCommonDialog.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

HWND CCommonDialog::OwnerHwnd() const {
  CWnd* owner = CWnd::GetSafeOwner(m_pParentWnd);
  return owner ? owner->GetSafeHwnd() : nullptr;
}
