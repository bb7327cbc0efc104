// SECMDIMenuBar: the menu bar of an MDI main frame (SECMDIFrameWnd). It shows the menu of
// the active document's template by id, asking the frame for menus it was not given, and
// while the active MDI child is maximised it carries that child's controls the way the
// window menu would: the child's icon first (SECCapMenuBtn, which drops the child's
// system menu) and its minimise, restore and close boxes at the far end (SECBtnCaption).
#pragma once
#include "SECMenuBar.h"

class SECBtnCaption;
class SECCapMenuBtn;
class SECMDIFrameWnd;

class SECMDIMenuBar : public SECMenuBar {
  DECLARE_DYNCREATE(SECMDIMenuBar)
 public:
  SECMDIMenuBar();
  ~SECMDIMenuBar() override;

  // Shows the menu of id `nID`: the bar's own, else the frame's (GetMenuForId); 20514,
  // when neither knows it, shows the main frame's default menu.
  BOOL SwitchMenu(UINT nID) override;
  // The menu's buttons again, with the maximised child's controls when there is one.
  void ResetMenus() override;
  // Puts the maximised active child's icon and boxes on the bar, or takes them off, and
  // follows its icon and boxes; TRUE when the bar changed.
  virtual BOOL UpdateChildButtons();
  // Keyboard entry starts on the first menu, not on the child's icon.
  int GetKeyboardEntryItem() const override;
  // The child whose icon button is item `nItem`, or null.
  CWnd* GetSystemMenuWindow(int nItem) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  // The maximised child whose controls the bar shows, or null.
  HWND GetMaxChild() const { return m_hWndMaxChild; }
  SECCapMenuBtn* GetIconButton() const;
  SECBtnCaption* GetCaptionButton() const;

 protected:
  SECMDIFrameWnd* MDIFrame() const;
  void RemoveChildButtons();
  void AddChildButtons();

  HWND m_hWndMaxChild = nullptr;
  HICON m_hIconShown = nullptr;
  UINT m_nCaptionFlagsShown = 0;
};
