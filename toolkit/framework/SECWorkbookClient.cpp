#include "SECWorkbookClient.h"

#include "SECWorkbook.h"

IMPLEMENT_DYNCREATE(SECWorkbookClient, CWnd)

BEGIN_MESSAGE_MAP(SECWorkbookClient, CWnd)
  ON_MESSAGE(WM_MDISETMENU, OnMDISetMenu)
  ON_MESSAGE(WM_SECWORKBOOK_NOSHEETMENU, OnMDISetMenu)
END_MESSAGE_MAP()

void SECWorkbookClient::SetMargins(int nLeft, int nTop, int nRight, int nBottom) {
  m_nLeftMargin = nLeft;
  m_nTopMargin = nTop;
  m_nRightMargin = nRight;
  m_nBottomMargin = nBottom;
  if (!m_hWnd) return;
  if (auto* frame = dynamic_cast<CFrameWnd*>(GetParent())) frame->RecalcLayout();
}

void SECWorkbookClient::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  lpClientRect->left += m_nLeftMargin;
  lpClientRect->top += m_nTopMargin;
  lpClientRect->right -= m_nRightMargin;
  lpClientRect->bottom -= m_nBottomMargin;
  CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

LRESULT SECWorkbookClient::OnMDISetMenu(WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  // (-1, -1): a sheet without a menu of its own was activated in menu-bar mode; the MDI
  // menu stays as it is.
  if (wParam != static_cast<WPARAM>(-1) && lParam != static_cast<LPARAM>(-1))
    result = DefWindowProc(WM_MDISETMENU, wParam, lParam);
  if (CWnd* workbook = GetParent()) workbook->SendMessage(WM_SECWORKBOOK_ACTIVETAB);
  return result;
}
