// CMenu: the object behind a menu handle.
#pragma once
#include "AfxState.h"
#include "CObject.h"

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)
 public:
  HMENU m_hMenu = nullptr;

  CMenu() = default;
  ~CMenu() override;

  static CMenu* FromHandle(HMENU hMenu);
  static void DeleteTempMap();
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
  HMENU GetSafeHmenu() const;
  operator HMENU() const { return GetSafeHmenu(); }
  BOOL DestroyMenu();

  // What the command-update machinery does to one item.
  void EnableItemByPosition(UINT nIndex, BOOL bEnable);
  void CheckItemByPosition(UINT nIndex, BOOL bCheck);
  void SetItemTextByPosition(UINT nIndex, LPCSTR lpszText);
};
