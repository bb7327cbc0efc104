#include "SECMenuBarFeature.h"

#include "SECFrameWnd.h"
#include "SECMDIFrameWnd.h"

namespace {

// Process-wide: one menu bar has the keyboard or a popup at a time on the UI thread.
SECMenuBarMessages* s_pActive = nullptr;
HWND s_hwndTrackedBar = nullptr;
std::unique_ptr<SECMenuBarDropRecord> s_pPending;
BOOL s_bSysMenuTest = FALSE;
CPoint s_ptLastMouse(-32768, -32768);
HHOOK s_hMsgHook = nullptr;
HHOOK s_hKeyHook = nullptr;
HHOOK s_hMouseHook = nullptr;

const UINT g_menuProd = SECMenuBarMessages::GetMenuProdMessage();

constexpr WPARAM kVkOemMinus = 0xBD;  // the "-" key of the main keyboard

// The character a key stands for in menus (letters lower case), 0 for keys that are none.
UINT KeyChar(WPARAM vk) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<UINT>(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return static_cast<UINT>(vk);
  if (vk == VK_SPACE) return ' ';
  if (vk == kVkOemMinus || vk == VK_SUBTRACT) return '-';
  return 0;
}

bool IsClick(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_NCLBUTTONDOWN ||
         message == WM_NCLBUTTONDBLCLK;
}

LRESULT CALLBACK MessageFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  SECMenuBarMessages* active = s_pActive;
  if (code != MSGF_MENU || !active || !msg) return ::CallNextHookEx(s_hMsgHook, code, wParam, lParam);
  if (s_bSysMenuTest && IsClick(msg->message) && active->OnSysMenuAreaClick(msg)) return 1;
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT)) {
    active->MoveToAdjacentMenu(msg->wParam == VK_RIGHT);
  } else if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_MENU) {
    active->OnAltDown();
  } else if ((msg->message == WM_MOUSEMOVE && CPoint(msg->pt) != s_ptLastMouse) || msg->message == WM_LBUTTONDOWN) {
    if (msg->message == WM_MOUSEMOVE) s_ptLastMouse = msg->pt;
    // Over the tracked bar, the bar may take it (another item opens).
    CRect bar;
    if (s_hwndTrackedBar && ::GetWindowRect(s_hwndTrackedBar, &bar) && bar.PtInRect(msg->pt))
      if (auto* menuBar = dynamic_cast<SECMenuBar*>(CWnd::FromHandlePermanent(s_hwndTrackedBar)))
        if (menuBar->TrackMouse(msg->message, msg->pt)) return 1;
  }
  return ::CallNextHookEx(s_hMsgHook, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  SECMenuBarMessages* active = s_pActive;
  // A tracked popup has its own keys.
  if (code != HC_ACTION || !active || s_hwndTrackedBar) return ::CallNextHookEx(s_hKeyHook, code, wParam, lParam);
  const bool up = (lParam & 0x80000000) != 0;
  if (wParam == VK_MENU) return ::CallNextHookEx(s_hKeyHook, code, wParam, lParam);
  if (up) return 1;
  switch (wParam) {
    case VK_ESCAPE: active->CancelMenuBar(); return 1;
    case VK_LEFT:
    case VK_RIGHT:
      if (SECMenuBar* bar = active->m_pMenuBar; bar && ::IsWindow(bar->m_hWnd))
        bar->SetHotItem(bar->GetNextItem(bar->GetHotItem(), wParam == VK_RIGHT));
      return 1;
    case VK_DOWN: active->DropDown(); return 1;
    default: break;
  }
  if (const UINT ch = KeyChar(wParam)) {
    CWnd* host = active->GetHostWnd();
    MSG synth{host ? host->m_hWnd : nullptr, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(ch), 0, {}};
    active->PreTranslateMessage(&synth);
  }
  return 1;
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  SECMenuBarMessages* active = s_pActive;
  const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
  if (code != HC_ACTION || !active || s_hwndTrackedBar || !info)
    return ::CallNextHookEx(s_hMouseHook, code, wParam, lParam);
  if ((wParam == WM_MOUSEMOVE || wParam == WM_NCMOUSEMOVE) && CPoint(info->pt) != s_ptLastMouse) {
    s_ptLastMouse = info->pt;
    active->OnHookMouseMove(info->pt);
  } else if (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN || wParam == WM_MBUTTONDOWN ||
             wParam == WM_NCLBUTTONDOWN || wParam == WM_NCRBUTTONDOWN || wParam == WM_NCMBUTTONDOWN) {
    active->CancelMenuBar();
  }
  return ::CallNextHookEx(s_hMouseHook, code, wParam, lParam);
}

void Unhook(HHOOK& hook) {
  if (hook) ::UnhookWindowsHookEx(hook);
  hook = nullptr;
}

}  // namespace

// ---- the protocol

UINT SECMenuBarMessages::GetMenuProdMessage() {
  static const UINT message = ::RegisterWindowMessageA("WM_SEC_MENUPROD");
  return message;
}

SECMenuBarMessages* SECMenuBarMessages::GetActive() { return s_pActive; }
HWND SECMenuBarMessages::GetTrackedBar() { return s_hwndTrackedBar; }
BOOL SECMenuBarMessages::HasPendingRequest() { return s_pPending != nullptr; }
BOOL SECMenuBarMessages::IsSysMenuTestArmed() { return s_bSysMenuTest; }
BOOL SECMenuBarMessages::HooksInstalled() { return s_hMsgHook || s_hKeyHook || s_hMouseHook; }

SECMenuBarMessages::~SECMenuBarMessages() {
  *m_pAlive = false;
  if (s_pActive == this) {
    // Gone while the bar had the keyboard or a popup: nothing of it may stay behind.
    s_pActive = nullptr;
    s_hwndTrackedBar = nullptr;
    s_pPending.reset();
    s_bSysMenuTest = FALSE;
    Unhook(s_hMsgHook);
    Unhook(s_hKeyHook);
    Unhook(s_hMouseHook);
  }
}

BOOL SECMenuBarMessages::BarReady() const {
  return m_pMenuBar && ::IsWindow(m_pMenuBar->m_hWnd) && CWnd::FromHandlePermanent(m_pMenuBar->m_hWnd) == m_pMenuBar;
}

void SECMenuBarMessages::MoveToAdjacentMenu(BOOL bNext) {
  m_nDirection = bNext ? 1 : 0;
  m_bMenuSelectSeen = FALSE;
  if (CWnd* host = GetHostWnd()) host->PostMessage(GetMenuProdMessage());
}

void SECMenuBarMessages::CancelMenuBar() {
  if (!BarReady()) return;
  if (m_pMenuBar->InKeyboardMode()) m_pMenuBar->LeaveKeyboardMode();
  if (s_hwndTrackedBar == m_pMenuBar->m_hWnd)
    if (CWnd* host = GetHostWnd()) host->SendMessage(WM_CANCELMODE);
}

void SECMenuBarMessages::SwitchMenu(UINT nIDMenu) {
  if (!BarReady()) return;
  m_pMenuBar->SwitchMenu(nIDMenu);
  auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pMenuBar->GetParentFrame());
  if (mdi && mdi->m_bBarMoveInProgress) {
    // A bar is moving: the layout waits for idle time.
    mdi->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
  } else if (CFrameWnd* frame = m_pMenuBar->GetParentFrame()) {
    frame->RecalcLayout();
  }
  m_pMenuBar->Invalidate();
}

void SECMenuBarMessages::DropDown() {
  if (BarReady()) m_pMenuBar->DropHotItem();
}

void SECMenuBarMessages::OnHookMouseMove(CPoint screen) {
  if (!BarReady()) return;
  m_pMenuBar->ScreenToClient(&screen);
  m_pMenuBar->HotTrack(screen);
}

void SECMenuBarMessages::OnAltDown() { m_bAltSeen = TRUE; }

CRect SECMenuBarMessages::SystemMenuBox() {
  CWnd* host = GetHostWnd();
  CRect box(0, 0, 0, 0);
  if (!host || !host->m_hWnd) return box;
  host->GetWindowRect(&box);
  if (host->GetStyle() & WS_THICKFRAME) box.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
  box.right = box.left + ::GetSystemMetrics(SM_CXSIZE) - 1;
  box.bottom = box.top + ::GetSystemMetrics(SM_CYSIZE);
  return box;
}

BOOL SECMenuBarMessages::OnSysMenuAreaClick(const MSG* pMsg) {
  if (!pMsg || !IsClick(pMsg->message)) return FALSE;
  CWnd* host = GetHostWnd();
  if (!host || !SystemMenuBox().PtInRect(pMsg->pt)) return FALSE;
  host->PostMessage(WM_CANCELMODE);
  if (pMsg->message == WM_LBUTTONDBLCLK || pMsg->message == WM_NCLBUTTONDBLCLK) {
    // A double click on the box runs the menu's default command (closing, as a rule).
    HMENU sys = ::GetSystemMenu(host->m_hWnd, FALSE);
    const UINT command = sys ? ::GetMenuDefaultItem(sys, FALSE, 0) : static_cast<UINT>(-1);
    if (command != static_cast<UINT>(-1)) host->PostMessage(WM_SYSCOMMAND, command);
  }
  return TRUE;
}

void SECMenuBarMessages::SetMenuHook(BOOL bOn) {
  if (bOn && !s_hMsgHook)
    s_hMsgHook = ::SetWindowsHookExA(WH_MSGFILTER, MessageFilterHook, nullptr, ::GetCurrentThreadId());
  else if (!bOn)
    Unhook(s_hMsgHook);
}

void SECMenuBarMessages::SetKeyboardHooks(BOOL bOn) {
  if (bOn) {
    if (!s_hKeyHook) s_hKeyHook = ::SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, nullptr, ::GetCurrentThreadId());
    if (!s_hMouseHook) s_hMouseHook = ::SetWindowsHookExA(WH_MOUSE, MouseHook, nullptr, ::GetCurrentThreadId());
  } else {
    Unhook(s_hKeyHook);
    Unhook(s_hMouseHook);
  }
}

void SECMenuBarMessages::TrackButtonMenu(SECMenuBar* pBar, HMENU hMenu, const SECMenuBarDropRecord& record) {
  CWnd* host = GetHostWnd();
  if (!pBar || !host || record.nIndex < 0 || record.nIndex >= pBar->GetButtonCount()) return;
  CRect r = pBar->GetButton(record.nIndex)->GetRect();
  pBar->ClientToScreen(&r);
  TPMPARAMS params{sizeof(TPMPARAMS), r};
  auto alive = m_pAlive;
  SetMenuHook(TRUE);
  ::TrackPopupMenuEx(hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, r.left, r.bottom, host->m_hWnd, &params);
  if (*alive) SetMenuHook(FALSE);
}

void SECMenuBarMessages::TrackSystemMenu(CWnd* pWnd, HMENU hMenu, const SECMenuBarDropRecord& record) {
  CWnd* host = GetHostWnd();
  if (!pWnd || !pWnd->m_hWnd || !host || !host->m_hWnd) return;
  const HWND hwnd = pWnd->m_hWnd;
  // The host's own menu drops from its system-menu box, whose clicks are watched; another
  // window's (a maximised child's) from the bar item that stands for it. The host runs
  // the menu either way, so that cancelling and the arrows reach it.
  const bool own = hwnd == host->m_hWnd;
  CRect at = own ? SystemMenuBox() : CRect(0, 0, 0, 0);
  if (!own && BarReady() && record.nIndex >= 0 && record.nIndex < m_pMenuBar->GetButtonCount()) {
    at = m_pMenuBar->GetButton(record.nIndex)->GetRect();
    m_pMenuBar->ClientToScreen(&at);
  }
  auto alive = m_pAlive;
  SetMenuHook(TRUE);
  s_bSysMenuTest = own;
  const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
      hMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, at.left, at.bottom, host->m_hWnd, nullptr));
  if (!*alive) return;
  s_bSysMenuTest = FALSE;
  SetMenuHook(FALSE);
  if (command && ::IsWindow(hwnd)) ::PostMessageA(hwnd, WM_SYSCOMMAND, command, 0);
}

BOOL SECMenuBarMessages::HandleMenuKey(UINT nChar) {
  if (!BarReady()) return FALSE;
  const UINT ch = nChar < 0x80 ? static_cast<UINT>(std::tolower(static_cast<int>(nChar))) : nChar;
  if (ch == ' ' || ch == '-') {
    m_pMenuBar->LeaveKeyboardMode();
    m_bOpenNext = TRUE;
    m_pMenuBar->OpenSystemMenu();
    return TRUE;
  }
  const int item = m_pMenuBar->FindMnemonic(ch);
  if (item < 0) return FALSE;  // the frame's accelerators may still want the key
  m_pMenuBar->OpenItem(item);
  return TRUE;
}

BOOL SECMenuBarMessages::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg || !BarReady()) return FALSE;
  switch (pMsg->message) {
    case WM_SYSKEYUP:
      if (pMsg->wParam != VK_MENU) return FALSE;
      if (!m_bAltSeen) {
        if (m_pMenuBar->InKeyboardMode())
          m_pMenuBar->LeaveKeyboardMode();
        else
          m_pMenuBar->EnterKeyboardMode(m_pMenuBar->GetKeyboardEntryItem());
      }
      m_bAltSeen = FALSE;
      return TRUE;
    case WM_SYSCOMMAND:
      if ((pMsg->wParam & 0xFFF0) != SC_KEYMENU || !pMsg->lParam) return FALSE;
      return HandleMenuKey(static_cast<UINT>(pMsg->lParam));
    case WM_SYSKEYDOWN:
      if (!(HIWORD(pMsg->lParam) & KF_ALTDOWN) || pMsg->wParam == VK_MENU) return FALSE;
      // Alt was part of a chord: its release must not enter keyboard mode.
      m_bAltSeen = TRUE;
      if (const UINT ch = KeyChar(pMsg->wParam)) return HandleMenuKey(ch);
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL SECMenuBarMessages::OnMenuSelect() {
  if (m_pMenuBar) m_bMenuSelectSeen = TRUE;
  return FALSE;
}

void SECMenuBarMessages::OnMenuProd() {
  if (m_bMenuSelectSeen || !BarReady()) return;
  m_bOpenNext = TRUE;
  m_pMenuBar->OpenAdjacentItem(m_nDirection == 1);
}

void SECMenuBarMessages::OnInitMenuPopup() {
  if (!m_bOpenNext) return;
  m_bOpenNext = FALSE;
  if (CWnd* host = GetHostWnd()) host->PostMessage(WM_KEYDOWN, VK_DOWN, 0);
}

BOOL SECMenuBarMessages::OnSysCommand(UINT nID) {
  if (nID != (SC_MOUSEMENU | HTSYSMENU) || !BarReady()) return FALSE;
  m_pMenuBar->OpenSystemMenu();
  return TRUE;
}

BOOL SECMenuBarMessages::OnNcActivate(BOOL bActive) {
  if (!bActive) CancelMenuBar();
  return FALSE;
}

void SECMenuBarMessages::OnBarNotify(const SECMenuBarDropRecord* pRecord) {
  if (!pRecord) return;
  switch (pRecord->hdr.code) {
    case SEC_MBN_KEYBOARDON:
      s_pActive = this;
      SetKeyboardHooks(TRUE);
      return;
    case SEC_MBN_KEYBOARDOFF:
      SetKeyboardHooks(FALSE);
      if (s_pActive == this && !s_hwndTrackedBar) s_pActive = nullptr;
      return;
    case SEC_MBN_OPENMENU:
    case SEC_MBN_NOMENU:
      break;
    default:
      return;
  }
  auto alive = m_pAlive;
  SECMenuBarDropRecord record = *pRecord;
  for (;;) {
    CWnd* host = GetHostWnd();
    if (!host || !BarReady()) return;
    HMENU menu = nullptr;
    CWnd* system = nullptr;  // the window whose system menu it is
    if (record.hdr.code == SEC_MBN_OPENMENU) {
      if (record.nMenuValue && record.nIndex >= 0) {
        menu = reinterpret_cast<HMENU>(host->SendMessage(SECFrameWnd::GetMenuMessage(), record.nMenuValue,
                                                         static_cast<LPARAM>(record.nMenuIndex)));
        if (!*alive) return;
      } else if (!record.nMenuValue) {
        // Index -1 is the host's own system menu; a bar item may drop another window's
        // (a maximised MDI child's icon).
        system = record.nIndex == -1 ? host : m_pMenuBar->GetSystemMenuWindow(record.nIndex);
        menu = system ? ::GetSystemMenu(system->m_hWnd, FALSE) : nullptr;
        if (menu && ::GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED) == static_cast<UINT>(-1))
          ::SetMenuDefaultItem(menu, SC_CLOSE, FALSE);
      }
    }
    if (!menu || !::IsMenu(menu)) {
      // No menu: whatever is open closes, and nothing else happens.
      if (s_hwndTrackedBar) host->SendMessage(WM_CANCELMODE);
      return;
    }
    if (s_hwndTrackedBar) {
      // One popup at a time: this one runs when the open one has closed.
      s_pPending = std::make_unique<SECMenuBarDropRecord>(record);
      s_pPending->bHeapOwned = TRUE;
      host->SendMessage(WM_CANCELMODE);
      return;
    }
    s_pActive = this;
    s_hwndTrackedBar = m_pMenuBar->m_hWnd;
    m_pMenuBar->SetTracking(TRUE, record.nIndex);
    if (system)
      TrackSystemMenu(system, menu, record);
    else
      TrackButtonMenu(m_pMenuBar, menu, record);
    if (!*alive) return;  // the frame went while its menu was open
    s_hwndTrackedBar = nullptr;
    if (s_pPending) {
      record = *s_pPending;
      s_pPending.reset();
      continue;
    }
    if (BarReady()) m_pMenuBar->SetTracking(FALSE);
    // An Alt chord that opened the popup is over once Alt is up.
    if (::GetKeyState(VK_MENU) >= 0) m_bAltSeen = FALSE;
    if (s_pActive == this && !(BarReady() && m_pMenuBar->InKeyboardMode())) s_pActive = nullptr;
    return;
  }
}

// ---- the plug-in that carries it

IMPLEMENT_DYNCREATE(SECMenuBarFeature, SECBmpMenuPlugIn)

BEGIN_MESSAGE_MAP(SECMenuBarFeature, SECBmpMenuPlugIn)
  AFX_WM_VOID(WM_MENUSELECT, OnMenuSelectMsg(LOWORD(m_.wParam), HIWORD(m_.wParam), (HMENU)m_.lParam))
  ON_REGISTERED_MESSAGE(g_menuProd, OnMenuProdMsg)
  AFX_WM_VOID(WM_INITMENUPOPUP, OnInitMenuPopupMsg(CMenu::FromHandle((HMENU)m_.wParam), (UINT)LOWORD(m_.lParam),
                                                   (BOOL)HIWORD(m_.lParam)))
  AFX_WM_VOID(WM_SYSCOMMAND, OnSysCommandMsg(AFX_WP_, m_.lParam))
  AFX_WM_RESULT(WM_NCACTIVATE, OnNcActivateMsg((BOOL)m_.wParam))
END_MESSAGE_MAP()

SECMenuBarFeature::SECMenuBarFeature() : SECBmpMenuPlugIn(TRUE) {}

SECMenuBarFeature::~SECMenuBarFeature() = default;

CWnd* SECMenuBarFeature::GetHostWnd() { return m_hWnd ? CWnd::FromHandle(m_hWnd) : nullptr; }

BOOL SECMenuBarFeature::PreTranslateMessage(MSG* pMsg) {
  if (!m_bPluggedIn) return FALSE;
  return SECMenuBarMessages::PreTranslateMessage(pMsg);
}

BOOL SECMenuBarFeature::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
  if (!hdr || !BarReady() || hdr->hwndFrom != m_pMenuBar->m_hWnd) return FALSE;
  if (hdr->code != SEC_MBN_OPENMENU && hdr->code != SEC_MBN_NOMENU && hdr->code != SEC_MBN_KEYBOARDON &&
      hdr->code != SEC_MBN_KEYBOARDOFF)
    return FALSE;
  auto alive = m_pAlive;
  OnBarNotify(reinterpret_cast<const SECMenuBarDropRecord*>(hdr));
  if (!*alive) return TRUE;
  m_bHandled = TRUE;
  if (pResult) *pResult = 0;
  return TRUE;
}

void SECMenuBarFeature::OnMenuSelectMsg(UINT, UINT, HMENU) {
  if (SECMenuBarMessages::OnMenuSelect()) m_bHandled = TRUE;
}

LRESULT SECMenuBarFeature::OnMenuProdMsg(WPARAM, LPARAM) {
  m_bHandled = TRUE;
  auto alive = m_pAlive;
  OnMenuProd();
  return 0;
}

void SECMenuBarFeature::OnInitMenuPopupMsg(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  SECMenuBarMessages::OnInitMenuPopup();
  SECBmpMenuPlugIn::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void SECMenuBarFeature::OnSysCommandMsg(UINT nID, LPARAM) {
  auto alive = m_pAlive;
  const BOOL handled = SECMenuBarMessages::OnSysCommand(nID);
  if (*alive && handled) m_bHandled = TRUE;
}

BOOL SECMenuBarFeature::OnNcActivateMsg(BOOL bActive) {
  if (SECMenuBarMessages::OnNcActivate(bActive)) {
    m_bHandled = TRUE;
    return TRUE;
  }
  return FALSE;
}
