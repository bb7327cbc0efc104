#include "CMenu.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace plat::afx {
std::unique_ptr<CMenu> MenuTraits::MakeTemporary(HMENU) { return std::make_unique<CMenu>(); }
void MenuTraits::Set(CMenu& m, HMENU h) { m.m_hMenu = h; }
void MenuTraits::Clear(CMenu& m) { m.m_hMenu = nullptr; }
}  // namespace plat::afx

using plat::afx::Thread;

CMenu::~CMenu() { DestroyMenu(); }

HMENU CMenu::GetSafeHmenu() const {
  const CMenu* self = plat::afx::Unassumed(this);
  return self ? self->m_hMenu : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu) { return Thread().menus.FromHandle(hMenu); }
void CMenu::DeleteTempMap() { Thread().menus.DeleteTemp(); }

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu) return FALSE;
  m_hMenu = hMenu;
  Thread().menus.SetPermanent(hMenu, this);
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  Thread().menus.Forget(h, this);
  m_hMenu = nullptr;
  return h;
}
