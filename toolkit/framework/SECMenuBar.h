// SECMenuBar: the toolbar that stands in for a frame's window menu. It shows the popups
// of one menu as label buttons (SECTBMenuBtn), and runs the bar side of the menu-bar
// protocol: keyboard mode with a hot item, the item being tracked, mnemonics, moving to
// the next or previous item. Menus are opened by requests sent to the frame as bar
// notifications, which the frame's menu-bar plug-in (SECMenuBarFeature) carries out.
#pragma once
#include <map>

#include "controls/SECCustomToolBar.h"

// The bar's requests to its frame (WM_NOTIFY codes).
#define SEC_MBN_OPENMENU static_cast<UINT>(-2120)   // drop a popup (or the system menu)
#define SEC_MBN_NOMENU static_cast<UINT>(-2121)     // a request without a menu
#define SEC_MBN_KEYBOARDON static_cast<UINT>(-2122) // keyboard mode begins
#define SEC_MBN_KEYBOARDOFF static_cast<UINT>(-2123)

// A menu request: the source bar, the button's index, the button's menu value (the
// resource id of its menu, 0 for the system menu), the popup's position in that menu,
// and whether the record lives on the heap (a pending copy).
struct SECMenuBarDropRecord {
  NMHDR hdr{};
  HWND hwndBar = nullptr;
  int nIndex = -1;
  UINT nMenuValue = 0;
  int nMenuIndex = -1;
  BOOL bHeapOwned = FALSE;
};

class SECMenuBar : public SECCustomToolBar {
  DECLARE_DYNCREATE(SECMenuBar)
 public:
  // The control id a frame gives its menu bar.
  static constexpr UINT kMenuBarID = 0xE8FF;

  SECMenuBar();
  ~SECMenuBar() override;

  // Puts back the buttons of the menu the bar shows.
  virtual void ResetMenus();
  // Makes `hMenu` (not owned) the menu of id `nID`.
  void SetMenu(UINT nID, HMENU hMenu);
  // Shows the menu of id `nID` (20514, when no menu of that id is known, the main
  // window's default menu); FALSE for an id of no menu.
  virtual BOOL SwitchMenu(UINT nID);
  UINT GetMenuID() const { return m_nMenuID; }
  HMENU GetMenu() const;

  // Keyboard mode: one hot item, arrows and mnemonics.
  virtual void EnterKeyboardMode(int nItem);
  virtual void LeaveKeyboardMode();
  BOOL InKeyboardMode() const { return m_bKeyboardMode; }
  // The item keyboard entry starts on (the first item), -1 for none.
  virtual int GetKeyboardEntryItem() const;
  virtual int GetHotItem() const { return m_nHotItem; }
  virtual void SetHotItem(int nItem);
  // The item whose label has mnemonic `nChar` (any case), -1 for none.
  virtual int FindMnemonic(UINT nChar) const;
  // The next or previous item after `nItem`, wrapping round; -1 for none.
  virtual int GetNextItem(int nItem, BOOL bNext) const;
  // Whether button `nItem` is an item that opens a menu (not a child's caption boxes).
  BOOL IsMenuItem(int nItem) const;
  // The window whose system menu item `nItem` drops (a maximised child's icon); null
  // for the frame's own.
  virtual CWnd* GetSystemMenuWindow(int nItem) { return nullptr; }

  // Opens an item (index -1: the system menu); while an item is tracked, switches to it.
  virtual void OpenItem(int nItem);
  virtual void OpenAdjacentItem(BOOL bNext);
  virtual void OpenSystemMenu();
  // Down in keyboard mode: the hot item, or the system menu when none is hot.
  virtual void DropHotItem();
  // Hot tracking in keyboard mode (a point in client coordinates).
  virtual void HotTrack(CPoint point);

  // The tracking state the frame's plug-in keeps the bar in.
  virtual void SetTracking(BOOL bTracking, int nItem = -1);
  BOOL IsTracking() const { return m_bTracking; }
  int GetTrackedItem() const { return m_nTrackedItem; }
  // A mouse message (screen point) met while a popup of the bar is tracked: TRUE when
  // the bar took it (another item opens, or a click on the open item closes it).
  virtual BOOL TrackMouse(UINT message, CPoint screen);

  // Clicks on no button get default handling while set.
  void SetClickFilter(BOOL bFilter) { m_bClickFilter = bFilter; }
  BOOL GetClickFilter() const { return m_bClickFilter; }
  // Set when the frame's border space was given back whole (an all-zero rectangle): the
  // bar draws its borders again with its next paint, which clears the flag.
  void SetBorderFlag(BOOL bBorder) { m_bBorderFlag = bBorder; }
  BOOL GetBorderFlag() const { return m_bBorderFlag; }

  HFONT GetMenuFont() const override { return static_cast<HFONT>(m_menuFont.GetSafeHandle()); }
  void DropMenu(UINT nIDMenu, int nSubMenu, SECStdBtn* pBtn) override;
  void DoPaint(CDC* pDC) override;

 protected:
  // Sends a request or a mode change to the frame; FALSE without a frame.
  BOOL Notify(UINT nCode, int nIndex = -1, UINT nMenuValue = 0, int nMenuIndex = -1);
  void CreateMenuFont();
  void Relayout();
  void MarkButtons();

  afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  std::map<UINT, HMENU> m_menus;
  UINT m_nMenuID = 0;
  HMENU m_hMenuShown = nullptr;
  CFont m_menuFont;
  BOOL m_bKeyboardMode = FALSE;
  int m_nHotItem = -1;
  BOOL m_bTracking = FALSE;
  int m_nTrackedItem = -1;
  BOOL m_bClickFilter = FALSE;
  BOOL m_bBorderFlag = FALSE;
};
