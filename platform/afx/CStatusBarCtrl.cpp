#include "CStatusBarCtrl.h"

IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

CString CStatusBarCtrl::GetText(int nPane, int* pType) const {
  // The message takes no buffer length: the length comes first, and the buffer fits it.
  int length = GetTextLength(nPane, pType);
  CString text;
  LPSTR buffer = text.GetBuffer(length + 1);
  buffer[0] = '\0';
  SendMessage(SB_GETTEXT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(buffer));
  text.ReleaseBuffer();
  return text;
}

int CStatusBarCtrl::GetTextLength(int nPane, int* pType) const {
  LRESULT info = SendMessage(SB_GETTEXTLENGTH, static_cast<WPARAM>(nPane));
  if (pType) *pType = HIWORD(info);
  return LOWORD(info);
}

BOOL CStatusBarCtrl::GetBorders(int& nHorz, int& nVert, int& nSpacing) const {
  int borders[3] = {};
  BOOL ok = GetBorders(borders);
  nHorz = borders[0];
  nVert = borders[1];
  nSpacing = borders[2];
  return ok;
}

BOOL CStatusBarCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
  DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  if (pResult) *pResult = TRUE;
  return TRUE;
}
