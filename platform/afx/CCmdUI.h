// CCmdUI: one user-interface item (menu item, bar button, control) whose state an
// update handler sets before the user sees it.
#pragma once
#include "CCmdTarget.h"

class CMenu;
class CWnd;

class CCmdUI {
 public:
  UINT m_nID = 0;
  UINT m_nIndex = 0;           // menu item or pane index
  CMenu* m_pMenu = nullptr;    // the menu of the item, when it is a menu item
  CMenu* m_pSubMenu = nullptr; // the popup the item opens, when it opens one
  CWnd* m_pOther = nullptr;    // the window of the item otherwise
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
  UINT m_nIndexMax = 0;        // menu items: count of items, to walk the menu
  CMenu* m_pParentMenu = nullptr;

  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL bOn = TRUE);
  virtual void SetCheck(int nCheck = 1);  // 0 off, 1 on, 2 indeterminate
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCSTR lpszText);
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks `pTarget` (and its routing) for the item's state; with bDisableIfNoHndler an
  // item that no handler would carry out is disabled.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};

// The framework's shared menu dot: the check bitmap SetRadio gives a menu item, a
// monochrome dot of the check-mark size made on first use. A library may put its own in
// the slot; the bitmap in it must live as long as menus can show it.
HBITMAP AfxGetMenuDotBitmap();
// Puts `hbm` in the slot and returns the bitmap that was there (null when none was made).
HBITMAP AfxSetMenuDotBitmap(HBITMAP hbm);
