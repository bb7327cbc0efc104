#include "afxwin.h"

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    // A window object of its own for the update, whatever the child's object is.
    CWnd control(child);
    CCmdUI state;
    state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
    state.m_pOther = &control;
    // A reflected handler in the control itself wins, then one of this window.
    CWnd* permanent = FromHandlePermanent(child);
    if (permanent &&
        permanent->CWnd::OnCmdMsg(0, static_cast<int>(MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE)), &state, nullptr)) {
      control.m_hWnd = nullptr;
      continue;
    }
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) {
      control.m_hWnd = nullptr;
      continue;
    }
    BOOL disable = bDisableIfNoHndler;
    if (disable) {
      if (!(control.SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
        disable = FALSE;  // only buttons are disabled for want of a handler
      } else {
        UINT kind = static_cast<UINT>(control.GetStyle() & 0x0F);
        if (kind == BS_AUTOCHECKBOX || kind == BS_AUTO3STATE || kind == BS_GROUPBOX || kind == BS_AUTORADIOBUTTON)
          disable = FALSE;
      }
    }
    if (pTarget) state.DoUpdate(pTarget, disable);
    control.m_hWnd = nullptr;  // the window stays: the object only borrowed it
  }
}
