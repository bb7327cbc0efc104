// SECMenuBarMessages: the keyboard and mouse protocol of a menu bar: Alt and mnemonics,
// arrows between popups, hot tracking, the system menu, and popups dropped under bar
// buttons at the bar's request (one at a time; a request met while one is open runs when
// it closes). SECMenuBarFeature: the bitmap-menu plug-in that carries it for a frame.
#pragma once
#include <memory>

#include "SECBmpMenuPlugIn.h"
#include "SECMenuBar.h"

class SECMenuBarMessages {
 public:
  SECMenuBarMessages() = default;
  SECMenuBarMessages(const SECMenuBarMessages&) = delete;
  SECMenuBarMessages& operator=(const SECMenuBarMessages&) = delete;
  // Leaves no hook, slot or pending request behind (the host may go mid-tracking).
  virtual ~SECMenuBarMessages();

  virtual void MoveToAdjacentMenu(BOOL bNext);
  virtual void CancelMenuBar();
  virtual void SwitchMenu(UINT nIDMenu);
  virtual void DropDown();
  virtual void OnHookMouseMove(CPoint screen);
  virtual void OnAltDown();
  virtual BOOL OnSysMenuAreaClick(const MSG* pMsg);
  virtual CWnd* GetHostWnd() = 0;
  virtual void TrackButtonMenu(SECMenuBar* pBar, HMENU hMenu, const SECMenuBarDropRecord& record);
  virtual void TrackSystemMenu(CWnd* pWnd, HMENU hMenu, const SECMenuBarDropRecord& record);
  virtual void SetMenuHook(BOOL bOn);
  virtual void SetKeyboardHooks(BOOL bOn);
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL OnMenuSelect();
  virtual void OnMenuProd();
  virtual void OnBarNotify(const SECMenuBarDropRecord* pRecord);
  virtual void OnInitMenuPopup();
  virtual BOOL OnSysCommand(UINT nID);
  virtual BOOL OnNcActivate(BOOL bActive);

  // "WM_SEC_MENUPROD", registered at start-up.
  static UINT GetMenuProdMessage();
  // The process-wide slots, for tests: the active object, the bar whose popup is
  // tracked, whether a request waits, whether the system-menu click test is armed.
  static SECMenuBarMessages* GetActive();
  static HWND GetTrackedBar();
  static BOOL HasPendingRequest();
  static BOOL IsSysMenuTestArmed();
  static BOOL HooksInstalled();

  SECMenuBar* m_pMenuBar = nullptr;
  BOOL m_bOpenNext = FALSE;
  BOOL m_bAltSeen = FALSE;
  BOOL m_bMenuSelectSeen = FALSE;
  int m_nDirection = 0;  // of the pending move: 0 previous, 1 next

 protected:
  // The window of the host's system-menu box, in screen coordinates.
  CRect SystemMenuBox();
  // Handles a key as the menu bar would (a mnemonic, or space for the system menu);
  // TRUE when it opened something.
  BOOL HandleMenuKey(UINT nChar);
  BOOL BarReady() const;

  // Goes false when the object does: code that ran a popup checks it before touching
  // the object again.
  std::shared_ptr<bool> m_pAlive = std::make_shared<bool>(true);
};

class SECMenuBarFeature : public SECBmpMenuPlugIn, public SECMenuBarMessages {
  DECLARE_DYNCREATE(SECMenuBarFeature)
 public:
  SECMenuBarFeature();
  ~SECMenuBarFeature() override;

  void SetMenuBar(SECMenuBar* pBar) { m_pMenuBar = pBar; }
  CWnd* GetHostWnd() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  afx_msg void OnMenuSelectMsg(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  afx_msg LRESULT OnMenuProdMsg(WPARAM wParam, LPARAM lParam);
  afx_msg void OnInitMenuPopupMsg(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  afx_msg void OnSysCommandMsg(UINT nID, LPARAM lParam);
  afx_msg BOOL OnNcActivateMsg(BOOL bActive);
  DECLARE_MESSAGE_MAP()
};
