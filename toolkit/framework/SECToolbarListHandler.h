// SECToolbarListHandler: what the toolbar list dialog and the toolbar list page share.
// It fills the check list of a frame's toolbars (one entry per bar, by control id, the
// id as item data, checked while the bar shows), keeps it in step with the toolbar
// manager's bar notifications, and shows, hides, renames, resets, deletes and makes
// toolbars for the window that holds its controls.
#pragma once
#include <afxwin.h>

class SECToolBarManager;
class SECCustomToolBar;

// The registered message a toolbar page sends its sibling pages after a frame-wide
// toolbar style changed: wParam 2 cool look, 1 large buttons.
UINT SECToolbarStyleChangingMessage();

class SECToolbarListHandler {
 public:
  // Ids of bars as the list treats them.
  // New toolbars float by the frame's bar of this id (in a docking frame, its top dock
  // bar, under the bars docked on top).
  static constexpr UINT kStandardToolBarID = 0xE81B;
  static constexpr UINT kFirstUserBarID = 0xE820;
  static constexpr UINT kMenuBarID = 0xE8FF;
  static BOOL IsUserToolBar(UINT nID) { return nID >= kFirstUserBarID && nID != kMenuBarID; }

  SECToolbarListHandler() = default;
  SECToolbarListHandler(const SECToolbarListHandler&) = delete;
  SECToolbarListHandler& operator=(const SECToolbarListHandler&) = delete;

  // Takes the controls of `pWnd` (from its WM_INITDIALOG on) and fills the list.
  void Attach(SECToolBarManager* pManager, CWnd* pWnd);
  SECToolBarManager* GetManager() const { return m_pManager; }
  CCheckListBox& GetList() { return m_list; }

  // The handlers of the list windows' messages.
  void ShowSelection();
  void ShowOrHide();
  void Rename();
  LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam);
  // Resets a built-in toolbar to its default buttons, the menu bar to its menus, and
  // deletes a user toolbar.
  void ResetOrDelete();
  // Asks for a name and floats a new user toolbar by bar 0xE81B; TRUE when one was made.
  BOOL NewToolBar();

 private:
  CFrameWnd* Frame() const;
  // The frame's toolbar of an entry's id, or none.
  SECCustomToolBar* BarOf(UINT nID) const;
  // The selected entry's bar, or none.
  SECCustomToolBar* SelectedBar(int* pIndex = nullptr) const;
  int FindEntry(UINT nID) const;
  // Inserts a bar's entry before the first with a larger id.
  int InsertEntry(CControlBar* pBar, BOOL bChecked);

  SECToolBarManager* m_pManager = nullptr;
  CCheckListBox m_list;
  CWnd* m_pWnd = nullptr;
};
