// Menus, accelerators and icons of frames, and the command-update pass over a popup.
#include "afxwin.h"

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) { return Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName)); }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  char text[256] = "";
  int n = ::GetMenuStringA(m_hMenu, nIDItem, text, sizeof text, nFlags);
  rString = text;
  return n;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, CWnd::SafeHwndOf(pWnd), lpRect);
}

void CMenu::EnableItemByPosition(UINT nIndex, BOOL bEnable) {
  ::EnableMenuItem(m_hMenu, nIndex, MF_BYPOSITION | (bEnable ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CMenu::CheckItemByPosition(UINT nIndex, BOOL bCheck) {
  ::CheckMenuItem(m_hMenu, nIndex, MF_BYPOSITION | (bCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CMenu::SetItemTextByPosition(UINT nIndex, LPCSTR lpszText) {
  UINT id = ::GetMenuItemID(m_hMenu, static_cast<int>(nIndex));
  UINT state = ::GetMenuState(m_hMenu, nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
  ::ModifyMenuA(m_hMenu, nIndex, MF_BYPOSITION | MF_STRING | state, id, lpszText);
}

namespace plat::afx {
HMENU LoadFrameMenu(HINSTANCE hInst, UINT nIDResource) { return ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource)); }
HACCEL LoadFrameAccelerators(HINSTANCE hInst, UINT nIDResource) {
  return ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
}
HICON LoadFrameIcon(HINSTANCE hInst, UINT nIDResource) { return ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource)); }
BOOL TranslateFrameAccelerator(HWND hWnd, HACCEL hAccel, MSG* pMsg) {
  return ::TranslateAcceleratorA(hWnd, hAccel, pMsg) != 0;
}

void UpdateMenuCmdUI(CFrameWnd* pTarget, CMenu* pMenu, BOOL bAutoMenuEnable) {
  CCmdUI state;
  state.m_pMenu = pMenu;
  state.m_nIndexMax = pMenu->GetMenuItemCount();
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID == 0) continue;  // separator
    if (state.m_nID == static_cast<UINT>(-1)) {
      // A popup: it follows its first item's command, but is never disabled by it.
      state.m_pSubMenu = pMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
      if (!state.m_pSubMenu) continue;
      state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
      if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
      state.DoUpdate(pTarget, FALSE);
    } else {
      state.m_pSubMenu = nullptr;
      // System commands (0xF000 on) are left to the system.
      state.DoUpdate(pTarget, bAutoMenuEnable && state.m_nID < 0xF000);
    }
    // A handler may have added or removed items: keep walking from the right place.
    UINT count = pMenu->GetMenuItemCount();
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      while (state.m_nIndex < count && pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
        ++state.m_nIndex;
    }
    state.m_nIndexMax = count;
  }
}
}  // namespace plat::afx
