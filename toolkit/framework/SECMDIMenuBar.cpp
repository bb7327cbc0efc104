#include "SECMDIMenuBar.h"

#include "SECBtnCaption.h"
#include "SECMDIFrameWnd.h"
#include "controls/SECResourceIds.h"

IMPLEMENT_DYNCREATE(SECMDIMenuBar, SECMenuBar)

namespace {

// The icon a window shows in its caption, as the window menu would draw it.
HICON SmallIconOf(HWND hwnd) {
  auto icon = reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(::SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(hwnd, GCL_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(hwnd, GCL_HICON));
  if (!icon) icon = ::LoadIconA(nullptr, IDI_APPLICATION);
  return icon;
}

// Minimise and restore answer only for a child that has a box for them.
UINT CaptionFlagsFor(HWND hwnd) {
  UINT flags = SECBtnCaption::kInitialFlags;
  if (!(::GetWindowLongA(hwnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) flags &= ~SECBtnCaption::kMinRestoreEnabled;
  return flags;
}

}  // namespace

SECMDIMenuBar::SECMDIMenuBar() = default;

SECMDIMenuBar::~SECMDIMenuBar() = default;

SECMDIFrameWnd* SECMDIMenuBar::MDIFrame() const {
  if (auto* frame = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite)) return frame;
  return m_hWnd ? dynamic_cast<SECMDIFrameWnd*>(GetParentFrame()) : nullptr;
}

// ---- menus

BOOL SECMDIMenuBar::SwitchMenu(UINT nID) {
  SECMDIFrameWnd* frame = MDIFrame();
  auto it = m_menus.find(nID);
  if ((it == m_menus.end() || !::IsMenu(it->second)) && frame)
    if (HMENU menu = frame->GetMenuForId(nID)) SetMenu(nID, menu);
  it = m_menus.find(nID);
  if ((it == m_menus.end() || !::IsMenu(it->second)) && nID == IDR_SEC_DEFAULT_MENU) {
    // A bar's MDI child has no menu of its own: the main frame's default menu stands in,
    // under its own id, so that the frame serves its popups.
    auto* main = dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
    if (!main) main = frame;
    if (main && main->m_nDefaultMenuId && main->m_nDefaultMenuId != IDR_SEC_DEFAULT_MENU) {
      if (HMENU menu = main->GetMenuForId(main->m_nDefaultMenuId)) {
        SetMenu(main->m_nDefaultMenuId, menu);
        return SECMenuBar::SwitchMenu(main->m_nDefaultMenuId);
      }
    }
  }
  return SECMenuBar::SwitchMenu(nID);
}

void SECMDIMenuBar::ResetMenus() {
  // The menu's buttons are made anew; the child's controls follow them.
  m_hWndMaxChild = nullptr;
  m_hIconShown = nullptr;
  m_nCaptionFlagsShown = 0;
  SECMenuBar::ResetMenus();
  UpdateChildButtons();
}

int SECMDIMenuBar::GetKeyboardEntryItem() const {
  for (int i = 0; i < GetButtonCount(); ++i)
    if (IsMenuItem(i) && !dynamic_cast<const SECCapMenuBtn*>(GetButton(i))) return i;
  return SECMenuBar::GetKeyboardEntryItem();
}

CWnd* SECMDIMenuBar::GetSystemMenuWindow(int nItem) {
  if (nItem < 0 || nItem >= GetButtonCount() || !dynamic_cast<SECCapMenuBtn*>(GetButton(nItem))) return nullptr;
  return m_hWndMaxChild && ::IsWindow(m_hWndMaxChild) ? CWnd::FromHandle(m_hWndMaxChild) : nullptr;
}

// ---- the maximised child's controls

SECCapMenuBtn* SECMDIMenuBar::GetIconButton() const {
  for (int i = 0; i < GetButtonCount(); ++i)
    if (auto* btn = dynamic_cast<SECCapMenuBtn*>(GetButton(i))) return btn;
  return nullptr;
}

SECBtnCaption* SECMDIMenuBar::GetCaptionButton() const {
  for (int i = 0; i < GetButtonCount(); ++i)
    if (auto* btn = dynamic_cast<SECBtnCaption*>(GetButton(i))) return btn;
  return nullptr;
}

BOOL SECMDIMenuBar::UpdateChildButtons() {
  HWND child = nullptr;
  if (SECMDIFrameWnd* frame = MDIFrame(); frame && frame->m_hWndMDIClient && ::IsWindow(frame->m_hWndMDIClient)) {
    BOOL maximised = FALSE;
    auto active = reinterpret_cast<HWND>(
        ::SendMessageA(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
    // A hidden child (one on its way out) shows no controls, whether the frame shows yet or not.
    if (active && maximised && (::GetWindowLongA(active, GWL_STYLE) & WS_VISIBLE) && ::IsZoomed(active)) child = active;
  }
  const HICON icon = child ? SmallIconOf(child) : nullptr;
  const UINT flags = child ? CaptionFlagsFor(child) : 0;
  if (child == m_hWndMaxChild && icon == m_hIconShown && flags == m_nCaptionFlagsShown &&
      (GetIconButton() != nullptr) == (child != nullptr))
    return FALSE;
  // The hot and the tracked item keep their buttons across the change.
  SECStdBtn* hot = m_nHotItem >= 0 && m_nHotItem < GetButtonCount() ? GetButton(m_nHotItem) : nullptr;
  RemoveChildButtons();
  m_hWndMaxChild = child;
  m_hIconShown = icon;
  m_nCaptionFlagsShown = flags;
  if (child) AddChildButtons();
  m_nHotItem = -1;
  for (int i = 0; i < GetButtonCount(); ++i)
    if (GetButton(i) == hot) m_nHotItem = i;
  if (m_bTracking && m_nTrackedItem >= GetButtonCount()) m_nTrackedItem = -1;
  // Clicks in the gap of a bar that stands for the child's caption line stay there.
  SetClickFilter(child != nullptr);
  Relayout();
  return TRUE;
}

void SECMDIMenuBar::RemoveChildButtons() {
  for (int i = GetButtonCount() - 1; i >= 0; --i) {
    SECStdBtn* btn = GetButton(i);
    if (!dynamic_cast<SECCapMenuBtn*>(btn) && !dynamic_cast<SECBtnCaption*>(btn)) continue;
    if (m_nPressed == i) m_nPressed = -1;
    m_btns.RemoveAt(i);
    delete btn;
  }
  m_nHot = m_nFocus = -1;
}

void SECMDIMenuBar::AddChildButtons() {
  auto* icon = new SECCapMenuBtn;
  icon->Init(this, nullptr);
  icon->m_hIcon = m_hIconShown;
  icon->SetStyle(icon->GetStyle() | SEC_TBBS_VCENTER);
  m_btns.InsertAt(0, icon);
  auto* caption = new SECBtnCaption;
  caption->Init(this, nullptr);
  caption->m_nCaptionFlags = m_nCaptionFlagsShown;
  caption->SetStyle(caption->GetStyle() | SEC_TBBS_VCENTER);
  m_btns.Add(caption);
}

void SECMDIMenuBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  SECMenuBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
  // At idle time the controls catch up with a child that went or changed meanwhile.
  if (!m_bTracking) UpdateChildButtons();
}
