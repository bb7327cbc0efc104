#include "afxwin.h"
#include "CCmdUI.h"

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

void CCmdUI::SetRadio(BOOL bOn) {
  // Menus show a radio item with the check mark here.
  SetCheck(bOn ? 1 : 0);
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
