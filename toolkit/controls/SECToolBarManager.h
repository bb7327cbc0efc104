// SECToolBarManager: one per frame; it ties the frame's customisable toolbars together:
// customise mode and its selection, the windows that listen to bar changes
// ("WM_BARNOTIFY"), the bitmap manager and draw context the bars share, default button
// lists, user toolbars made on demand and the frame-wide toolbar settings.
#pragma once
#include <map>
#include <memory>
#include <vector>

#include "SECBtnDrawContext.h"
#include "SECCustomToolBar.h"
#include "framework/SECControlBarManager.h"

class SECBmpMgr;

class SECToolBarManager : public SECControlBarManager {
  DECLARE_DYNAMIC(SECToolBarManager)
 public:
  // Listener codes, sent as "WM_BARNOTIFY" (wParam the bar's id, lParam the code).
  enum { BarShown = 0, BarHidden = 1, BarCreated = 2, BarDestroyed = 3, BarSelection = 4 };
  static constexpr UINT kFirstUserBarID = 0xE820;
  static constexpr UINT kLastUserBarID = 0xE8FF;

  explicit SECToolBarManager(CFrameWnd* pFrameWnd);
  ~SECToolBarManager() override;

  SECControlBarInfoEx* CreateControlBarInfoEx(SECControlBarInfo* pInfo) override;
  CControlBar* DynCreateControlBar(SECControlBarInfo* pInfo) override;

  // Frame-wide settings.
  void EnableToolTips(BOOL bEnable);
  BOOL ToolTipsEnabled() const { return m_bToolTips; }
  void EnableFlyBy(BOOL bEnable) { m_bFlyBy = bEnable; }
  void EnableCoolLook(BOOL bEnable, DWORD dwBits = CBRS_EX_COOL | CBRS_EX_GRIPPER);
  BOOL CoolLookEnabled() const { return m_bCoolLook; }
  void EnableLargeButtons(BOOL bEnable);
  BOOL LargeButtonsEnabled() const { return m_bLargeButtons; }
  // Switches the images to the current size and lays every toolbar out again.
  virtual void Update();

  // Customise mode: the frame's other children are disabled meanwhile.
  void EnterConfigMode();
  void ExitConfigMode();
  BOOL IsConfigMode() const { return m_bConfigMode; }
  void SetConfigFocus(CWnd* pWnd);
  CWnd* GetConfigFocus() const { return m_pConfigFocus; }
  // A drop on this dialog's area changes nothing.
  void SetConfigDialog(CWnd* pWnd) { m_hConfigDialog = pWnd ? pWnd->m_hWnd : nullptr; }
  HWND GetConfigDialog() const { return m_hConfigDialog; }

  void AddListener(CWnd* pWnd);
  void RemoveListener(CWnd* pWnd);
  void NotifyListeners(UINT nBarID, int nCode);
  static UINT BarNotifyMessage();

  // A new floating-ready toolbar titled `lpszTitle` or "ToolBar<n>"; null when every user
  // id is taken or the toolbar cannot be made.
  virtual SECCustomToolBar* CreateUserToolBar(LPCSTR lpszTitle = nullptr);
  void SetDefaultButtons(UINT nBarID, const UINT* pButtons, int nCount);
  BOOL GetDefaultButtons(UINT nBarID, const UINT*& pButtons, int& nCount) const;
  // Applies a state change to every button of `nID` on every toolbar of the frame.
  void BroadcastButtonState(UINT nID, int nCode, const SECBtnStateChange& change);
  // The frame's customisable toolbars.
  std::vector<SECCustomToolBar*> GetToolBars() const;

  void SetButtonClasses(const SECCustomToolBar::ButtonClassEntry* pTable) { m_pButtonClasses = pTable; }
  const SECCustomToolBar::ButtonClassEntry* GetButtonClasses() const { return m_pButtonClasses; }
  SECCustomToolBar* GetSelectedBar() const { return m_pSelectedBar; }
  void SetSelectedBar(SECCustomToolBar* pBar) { m_pSelectedBar = pBar; }

  // The pressed button's screen rectangle while its command is posted.
  struct PressedRect {
    BOOL bSet = FALSE;
    CRect rect;
  };
  void SetPressedRect(BOOL bSet, const CRect& rect) { m_pressed = {bSet, bSet ? rect : CRect()}; }
  const PressedRect& GetPressedRect() const { return m_pressed; }

  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  SECBtnDrawContext* GetDrawContext() { return m_pDrawContext.get(); }
  void SetNewToolBarOwner(CWnd* pOwner) { m_pOwner = pOwner; }
  void SetToolBarClass(CRuntimeClass* pClass) { m_pToolBarClass = pClass; }

 protected:
  struct DefaultButtons {
    std::vector<UINT> ids;
  };

  std::vector<HWND> m_disabled;                      // windows disabled for customise mode
  std::map<UINT, DefaultButtons> m_defaultButtons;   // by bar id
  std::vector<HWND> m_listeners;
  HWND m_hConfigDialog = nullptr;
  BOOL m_bConfigMode = FALSE;
  CWnd* m_pConfigFocus = nullptr;
  BOOL m_bToolTips = TRUE;
  BOOL m_bFlyBy = TRUE;
  BOOL m_bCoolLook = FALSE;
  BOOL m_bLargeButtons = FALSE;
  const SECCustomToolBar::ButtonClassEntry* m_pButtonClasses = nullptr;
  const SECCustomToolBar::ButtonClassEntry* m_pDefaultClasses = nullptr;
  SECCustomToolBar* m_pSelectedBar = nullptr;
  PressedRect m_pressed;
  SECBmpMgr* m_pBmpMgr = nullptr;                    // one reference held
  std::unique_ptr<SECBtnDrawContext> m_pDrawContext; // made on first use if it cannot be made now
  CWnd* m_pOwner = nullptr;
  CRuntimeClass* m_pToolBarClass = nullptr;

 private:
  HWND m_hFrameWnd;  // to tell whether the frame still exists
};
