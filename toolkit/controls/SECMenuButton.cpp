#include "SECMenuButton.h"

IMPLEMENT_DYNAMIC(SECMenuButton, SECBitmapButton)

BEGIN_MESSAGE_MAP(SECMenuButton, SECBitmapButton)
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL SECMenuButton::AttachMenu(UINT nIDMenu, int nSubMenu) {
  CMenu menu;
  if (!menu.LoadMenu(nIDMenu) || !menu.GetSubMenu(nSubMenu)) return FALSE;
  m_menu.DestroyMenu();
  m_menu.Attach(menu.Detach());
  m_nSubMenu = nSubMenu;
  return TRUE;
}

void SECMenuButton::OnLButtonUp(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  const bool click = client.PtInRect(point) && (GetState() & BST_PUSHED) && ::GetCapture() == m_hWnd;
  // The hook runs after the default processing, not before it as in the base.
  CButton::OnLButtonUp(nFlags, point);
  if (click) OnInput();
}

void SECMenuButton::OnInput() {
  CMenu* pPopup = m_menu.m_hMenu ? m_menu.GetSubMenu(m_nSubMenu) : nullptr;
  CWnd* pParent = GetParent();
  if (!pPopup || !pParent) return;
  CRect window;
  GetWindowRect(&window);
  const UINT nCmd =
      static_cast<UINT>(pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, window.left, window.bottom, this));
  if (nCmd) pParent->SendMessage(WM_COMMAND, nCmd, 0);
}
