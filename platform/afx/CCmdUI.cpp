#include "afxwin.h"
#include "CCmdUI.h"

#include <algorithm>
#include <vector>

#include "CMenu.h"
#include "CWnd.h"

void CCmdUI::Enable(BOOL bOn) {
  if (m_pMenu) {
    if (m_pSubMenu) return;  // popups are never disabled by their commands
    m_pMenu->EnableItemByPosition(m_nIndex, bOn);
  } else if (m_pOther) {
    // Keep the focus out of a control that is being disabled.
    if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
      if (CWnd* parent = m_pOther->GetParent()) parent->SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    }
    m_pOther->EnableWindow(bOn);
  }
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->CheckItemByPosition(m_nIndex, nCheck != 0);
  } else if (m_pOther) {
    if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON) m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
  }
}

namespace {
HBITMAP g_menuDot = nullptr;  // process-wide; never deleted (menus may still show it)

HBITMAP MakeMenuDot() {
  const LONG dims = ::GetMenuCheckMarkDimensions();
  const int cx = LOWORD(dims), cy = HIWORD(dims);
  if (cx <= 0 || cy <= 0) return nullptr;
  // Rows padded to words; 1 is white, 0 the dot (drawn in the text colour).
  const int stride = (cx + 15) / 16 * 2;
  std::vector<BYTE> bits(static_cast<size_t>(stride * cy), 0xFF);
  const double r = std::min(cx, cy) / 5.0, mx = (cx - 1) / 2.0, my = (cy - 1) / 2.0;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x)
      if ((x - mx) * (x - mx) + (y - my) * (y - my) <= r * r)
        bits[static_cast<size_t>(y * stride + x / 8)] &= static_cast<BYTE>(~(0x80 >> (x % 8)));
  return ::CreateBitmap(cx, cy, 1, 1, bits.data());
}
}  // namespace

HBITMAP AfxGetMenuDotBitmap() {
  if (!g_menuDot) g_menuDot = MakeMenuDot();
  return g_menuDot;
}

HBITMAP AfxSetMenuDotBitmap(HBITMAP hbm) {
  HBITMAP old = g_menuDot;
  g_menuDot = hbm;
  return old;
}

void CCmdUI::SetRadio(BOOL bOn) {
  SetCheck(bOn ? 1 : 0);
  // A menu item shows the shared dot in place of the check mark; a popup's item is
  // left alone, as SetCheck leaves it.
  if (!m_pMenu || m_pSubMenu) return;
  if (HBITMAP dot = AfxGetMenuDotBitmap())
    ::SetMenuItemBitmaps(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION, nullptr, dot);
}

void CCmdUI::SetText(LPCSTR lpszText) {
  if (m_pMenu) {
    if (m_pSubMenu) return;
    m_pMenu->SetItemTextByPosition(m_nIndex, lpszText);
  } else if (m_pOther) {
    CString current;
    m_pOther->GetWindowText(current);
    if (current != lpszText) m_pOther->SetWindowText(lpszText);  // avoids flicker
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and ignorable items
  m_bEnableChanged = FALSE;
  BOOL result = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info{nullptr, nullptr};
    if (!pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info)) Enable(FALSE);
  }
  return result;
}
