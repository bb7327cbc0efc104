// SECBmpMenuPlugIn: bitmap menus. Plugged into a frame, it turns the string items of every
// popup the frame shows into owner-drawn items and draws each with its command's toolbar
// image (from the shared SECBmpMgr), a check mark or nothing, then its text and shortcut.
// It keeps one record per converted item and puts the string items back when it goes.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "SECWndPlugIn.h"

class SECBmpMgr;

// What a converted item was: its command, its text as the menu had it, its mnemonic.
class SECBmpMenuItemInfo : public CObject {
  DECLARE_DYNAMIC(SECBmpMenuItemInfo)
 public:
  SECBmpMenuItemInfo(UINT nID, LPCSTR lpszText);
  UINT m_nID;
  CString m_strText;
  // The character after the first "&" (a whole UTF-8 character, ASCII letters lower
  // case), 0 when there is none or the "&" ends the text.
  UINT m_nMnemonic;

  static UINT MnemonicOf(LPCSTR lpszText);
};

class SECBmpMenuPlugIn : public SECWndPlugIn {
  DECLARE_DYNAMIC(SECBmpMenuPlugIn)
 public:
  // The menu and the records of its converted items (owned).
  class SECBmpMenuInfo {
   public:
    explicit SECBmpMenuInfo(HMENU hMenu) : m_hMenu(hMenu) {}
    HMENU m_hMenu;
    std::vector<std::unique_ptr<SECBmpMenuItemInfo>> m_items;
    // The record among this menu's, or null.
    SECBmpMenuItemInfo* Find(ULONG_PTR data) const;
    SECBmpMenuItemInfo* FindID(UINT nID) const;
  };

  explicit SECBmpMenuPlugIn(BOOL bUseOwnDot = FALSE);
  ~SECBmpMenuPlugIn() override;

  // Takes a reference on `pMgr`, lets the old one go and switches the new one to its
  // small images (the menus always show those).
  void SetBitmapManager(SECBmpMgr* pMgr);
  SECBmpMgr* GetBitmapManager() const { return m_pBmpMgr; }
  void UnPlug() override;

  virtual BOOL IsPluggedIn() const { return m_bPluggedIn; }
  virtual void DropStaleMenus();
  virtual BOOL CreateMenuFont();
  virtual BOOL CreateBoldMenuFont();
  // A monochrome copy of image `nImage` of the strip in `pImageDC` (white where the
  // image has the button face or the highlight colour), selected into `maskDC`.
  virtual BOOL CreateMonoMask(CDC* pImageDC, int nImage, CDC& maskDC, CBitmap& mask);
  virtual void DrawCheckedImage(CDC* pDC, int x, int y, CDC& maskDC);
  virtual void DrawDisabledImage(CDC* pDC, int x, int y, CDC& maskDC);
  // The image box of one item; `hbm`/`nImage` null for an item without an image.
  virtual void DrawItemImage(CDC* pDC, const CRect& rcItem, HBITMAP hbm, int nImage, UINT nState);

  // Converts the popup's string items; a frame may call it before it shows a menu.
  afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);

  // The converted menus and the items of others (read by tests and the menu bar).
  const std::map<HMENU, std::unique_ptr<SECBmpMenuInfo>>& GetMenuMap() const { return m_menuMap; }
  BOOL IsForeignID(UINT nID) const { return m_foreignIds.count(nID) != 0; }
  BOOL UsesOwnDot() const { return m_bUseOwnDot; }

  // The dot the library shows for radio items (16 x 15, made once a process).
  static HBITMAP LibraryMenuDot();

 protected:
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpmis);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpdis);
  afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()

  // The record behind a menu item's data, when it is one of this plug-in's.
  SECBmpMenuItemInfo* RecordOf(HMENU hMenu, ULONG_PTR data) const;
  void LoadColors();
  HBITMAP CheckBitmap();
  // Every converted item of every live menu back to a string item with its text.
  void RestoreStringItems();

  std::map<HMENU, std::unique_ptr<SECBmpMenuInfo>> m_menuMap;
  std::set<UINT> m_foreignIds;
  BOOL m_bUseOwnDot;
  SECBmpMgr* m_pBmpMgr = nullptr;  // one reference held
  CFont m_menuFont;
  CFont m_boldMenuFont;
  HBRUSH m_hCheckedBrush = nullptr;
  CBitmap m_checkBitmap;  // the library's check mark, loaded on first use

  COLORREF m_clrBtnFace = 0, m_clrBtnHilite = 0, m_clr3DHilite = 0, m_clrBtnShadow = 0, m_clrHighlight = 0,
           m_clrMenu = 0, m_clrGrayText = 0, m_clrHighlightText = 0, m_clrMenuText = 0;
};
