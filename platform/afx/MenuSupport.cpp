// Menus, accelerators and icons of frames. The USER core has no menus yet: frames
// get none, and menu items keep the state their resource gave them.
#include "CFrameWnd.h"
#include "CMenu.h"

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  Detach();
  return TRUE;
}

void CMenu::EnableItemByPosition(UINT, BOOL) {}
void CMenu::CheckItemByPosition(UINT, BOOL) {}
void CMenu::SetItemTextByPosition(UINT, LPCSTR) {}

namespace plat::afx {
HMENU LoadFrameMenu(HINSTANCE, UINT) { return nullptr; }
HACCEL LoadFrameAccelerators(HINSTANCE, UINT) { return nullptr; }
HICON LoadFrameIcon(HINSTANCE, UINT) { return nullptr; }
BOOL TranslateFrameAccelerator(HWND, HACCEL, MSG*) { return FALSE; }
void UpdateMenuCmdUI(CFrameWnd*, CMenu*, BOOL) {}
}  // namespace plat::afx
