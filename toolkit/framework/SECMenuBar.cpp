#include "SECMenuBar.h"

#include <algorithm>

#include "SECMDIFrameWnd.h"
#include "SECTBMenuBtn.h"
#include "controls/SECResourceIds.h"

IMPLEMENT_DYNCREATE(SECMenuBar, SECCustomToolBar)

BEGIN_MESSAGE_MAP(SECMenuBar, SECCustomToolBar)
  ON_WM_SETTINGCHANGE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECMenuBar::SECMenuBar() { CreateMenuFont(); }

SECMenuBar::~SECMenuBar() = default;

void SECMenuBar::CreateMenuFont() {
  m_menuFont.DeleteObject();
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) m_menuFont.CreateFontIndirect(&ncm.lfMenuFont);
  if (m_menuFont.GetSafeHandle()) m_hFont = static_cast<HFONT>(m_menuFont.GetSafeHandle());
}

// ---- menus

void SECMenuBar::SetMenu(UINT nID, HMENU hMenu) { m_menus[nID] = hMenu; }

HMENU SECMenuBar::GetMenu() const { return ::IsMenu(m_hMenuShown) ? m_hMenuShown : nullptr; }

BOOL SECMenuBar::SwitchMenu(UINT nID) {
  HMENU menu = nullptr;
  if (auto it = m_menus.find(nID); it != m_menus.end()) menu = it->second;
  if (!menu && nID == IDR_SEC_DEFAULT_MENU)
    if (auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) menu = main->m_hMenuDefault;
  if (!menu || !::IsMenu(menu)) return FALSE;
  m_nMenuID = nID;
  m_hMenuShown = menu;
  ResetMenus();
  return TRUE;
}

void SECMenuBar::ResetMenus() {
  if (m_bKeyboardMode) LeaveKeyboardMode();
  RemoveAllButtons();
  m_nMaxBtnWidth = m_nMaxMenuBtnWidth = 0;
  m_nHotItem = -1;
  HMENU menu = GetMenu();
  const int count = menu ? ::GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    CString text;
    char buffer[256] = "";
    ::GetMenuStringA(menu, static_cast<UINT>(i), buffer, sizeof buffer, MF_BYPOSITION);
    text = buffer;
    SECTBMenuBtnInfo info{m_nMenuID, i, text, 0};
    auto* btn = new SECTBMenuBtn;
    btn->Init(this, reinterpret_cast<const UINT*>(&info));
    if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED))
      btn->SetStyle(btn->GetStyle() | TBBS_DISABLED);
    m_btns.Add(btn);
  }
  Relayout();
}

void SECMenuBar::Relayout() {
  m_bHorzDirty = m_bVertDirty = m_bFloatDirty = TRUE;
  if (!m_hWnd) return;
  if (CFrameWnd* frame = GetParentFrame()) {
    // While a bar moves into or out of an MDI child the frame is laid out at idle time.
    auto* mdi = dynamic_cast<SECMDIFrameWnd*>(frame);
    if (mdi && mdi->m_bBarMoveInProgress)
      mdi->DelayRecalcLayout();
    else
      frame->RecalcLayout();
  }
  Invalidate();
}

void SECMenuBar::OnSettingChange(UINT, LPCSTR) {
  CreateMenuFont();
  for (int i = 0; i < GetButtonCount(); ++i) GetButton(i)->AdjustSize();
  if (CFrameWnd* frame = GetDockingFrame()) frame->RecalcLayout();
  m_bHorzDirty = m_bVertDirty = m_bFloatDirty = TRUE;
  Invalidate();
  Default();
}

// ---- keyboard mode and the hot item

int SECMenuBar::GetKeyboardEntryItem() const { return GetNextItem(-1, TRUE); }

void SECMenuBar::EnterKeyboardMode(int nItem) {
  if (m_bKeyboardMode) return;
  m_bKeyboardMode = TRUE;
  Notify(SEC_MBN_KEYBOARDON);
  SetHotItem(nItem);
}

void SECMenuBar::LeaveKeyboardMode() {
  if (!m_bKeyboardMode) return;
  m_bKeyboardMode = FALSE;
  SetHotItem(-1);
  Notify(SEC_MBN_KEYBOARDOFF);
}

void SECMenuBar::SetHotItem(int nItem) {
  if (nItem < -1 || nItem >= GetButtonCount()) nItem = -1;
  m_nHotItem = nItem;
  MarkButtons();
}

// The hot item is shown hot, the tracked one pressed.
void SECMenuBar::MarkButtons() {
  for (int i = 0; i < GetButtonCount(); ++i) {
    SECStdBtn* btn = GetButton(i);
    UINT style = btn->GetStyle() & ~(SEC_TBBS_HOT | TBBS_PRESSED);
    if (m_bTracking && i == m_nTrackedItem) style |= TBBS_PRESSED;
    else if (i == m_nHotItem) style |= SEC_TBBS_HOT;
    if (style != btn->GetStyle()) {
      btn->SetStyle(style);
      if (m_hWnd) InvalidateButton(i);
    }
  }
  if (m_hWnd) UpdateWindow();
}

int SECMenuBar::FindMnemonic(UINT nChar) const {
  const UINT key = nChar < 0x80 ? static_cast<UINT>(std::tolower(static_cast<int>(nChar))) : nChar;
  if (!key) return -1;
  for (int i = 0; i < GetButtonCount(); ++i) {
    auto* btn = dynamic_cast<SECTBMenuBtn*>(GetButton(i));
    if (btn && btn->m_nMnemonic == key && !(btn->GetStyle() & TBBS_HIDDEN)) return i;
  }
  return -1;
}

int SECMenuBar::GetNextItem(int nItem, BOOL bNext) const {
  const int count = GetButtonCount();
  if (count == 0) return -1;
  int i = nItem;
  for (int step = 0; step < count; ++step) {
    i = i < 0 ? (bNext ? 0 : count - 1) : (i + (bNext ? 1 : -1) + count) % count;
    if (IsMenuItem(i)) return i;
  }
  return -1;
}

BOOL SECMenuBar::IsMenuItem(int nItem) const {
  if (nItem < 0 || nItem >= GetButtonCount()) return FALSE;
  const SECStdBtn* btn = GetButton(nItem);
  return dynamic_cast<const SECTBMenuBtn*>(btn) && !btn->IsSeparator() && !(btn->GetStyle() & TBBS_HIDDEN);
}

// ---- opening items

BOOL SECMenuBar::Notify(UINT nCode, int nIndex, UINT nMenuValue, int nMenuIndex) {
  CWnd* target = NotifyTarget();
  if (!target || !m_hWnd) return FALSE;
  SECMenuBarDropRecord record;
  record.hdr.hwndFrom = m_hWnd;
  record.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  record.hdr.code = nCode;
  record.hwndBar = m_hWnd;
  record.nIndex = nIndex;
  record.nMenuValue = nMenuValue;
  record.nMenuIndex = nMenuIndex;
  const HWND hWnd = m_hWnd;
  target->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&record));
  // A menu the request opened may have closed the frame, and this bar with it.
  return ::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this;
}

void SECMenuBar::OpenItem(int nItem) {
  if (nItem < -1 || nItem >= GetButtonCount()) return;
  // The keyboard's hooks give way to the popup's.
  if (m_bKeyboardMode) LeaveKeyboardMode();
  if (nItem == -1) {
    OpenSystemMenu();
    return;
  }
  auto* btn = dynamic_cast<SECTBMenuBtn*>(GetButton(nItem));
  if (!btn || (btn->GetStyle() & TBBS_DISABLED)) {
    Notify(SEC_MBN_NOMENU, nItem);
    return;
  }
  Notify(SEC_MBN_OPENMENU, nItem, btn->m_nIDMenu, btn->m_nSubMenu);
}

void SECMenuBar::OpenAdjacentItem(BOOL bNext) {
  const int from = m_bTracking ? m_nTrackedItem : m_nHotItem;
  OpenItem(GetNextItem(from, bNext));
}

void SECMenuBar::OpenSystemMenu() {
  if (m_bKeyboardMode) LeaveKeyboardMode();
  Notify(SEC_MBN_OPENMENU, -1, 0, -1);
}

void SECMenuBar::DropHotItem() {
  if (!m_bKeyboardMode) return;
  OpenItem(m_nHotItem);
}

void SECMenuBar::HotTrack(CPoint point) {
  if (!m_bKeyboardMode) return;
  const int hit = HitTest(point);
  if (IsMenuItem(hit) && hit != m_nHotItem) SetHotItem(hit);
}

void SECMenuBar::DropMenu(UINT, int, SECStdBtn* pBtn) {
  const int index = pBtn ? pBtn->GetIndex() : -1;
  const HWND hWnd = m_hWnd;
  if (index >= 0) OpenItem(index);
  if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != this) return;  // gone with its frame
  // The request has run (or waits behind the popup that is open): the press ends. The
  // button may be gone (another menu shown meanwhile): it is looked for, not used blindly.
  for (int i = 0; i < GetButtonCount(); ++i) {
    if (GetButton(i) != pBtn || (m_bTracking && m_nTrackedItem == i)) continue;
    pBtn->SetStyle(pBtn->GetStyle() & ~TBBS_PRESSED);
    InvalidateButton(i);
  }
}

void SECMenuBar::SetTracking(BOOL bTracking, int nItem) {
  m_bTracking = bTracking;
  m_nTrackedItem = bTracking ? nItem : -1;
  if (!bTracking && !m_bKeyboardMode) m_nHotItem = -1;
  MarkButtons();
}

BOOL SECMenuBar::TrackMouse(UINT message, CPoint screen) {
  if (!m_bTracking || !m_hWnd) return FALSE;
  CPoint client = screen;
  ScreenToClient(&client);
  const int hit = HitTest(client);
  if (!IsMenuItem(hit)) return FALSE;  // a child's caption boxes open nothing
  if (message == WM_MOUSEMOVE) {
    if (hit == m_nTrackedItem) return FALSE;
    OpenItem(hit);
    return TRUE;
  }
  if (message == WM_LBUTTONDOWN) {
    if (hit == m_nTrackedItem) {
      // A click on the open item closes it.
      if (CWnd* target = NotifyTarget()) target->PostMessage(WM_CANCELMODE);
    } else {
      OpenItem(hit);
    }
    return TRUE;
  }
  return FALSE;
}

void SECMenuBar::DoPaint(CDC* pDC) {
  if (m_bBorderFlag && m_hWnd) {
    m_bBorderFlag = FALSE;
    RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
  }
  SECCustomToolBar::DoPaint(pDC);
}

// ---- clicks

void SECMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_bClickFilter && HitTest(point) < 0) {
    Default();
    return;
  }
  SECCustomToolBar::OnLButtonDown(nFlags, point);
}

void SECMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (m_bClickFilter && HitTest(point) < 0) {
    Default();
    return;
  }
  SECCustomToolBar::OnLButtonDblClk(nFlags, point);
}

void SECMenuBar::OnDestroy() {
  if (m_bKeyboardMode) LeaveKeyboardMode();
  m_bTracking = FALSE;
  SECCustomToolBar::OnDestroy();
}
