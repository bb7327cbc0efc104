#include "SECPopupColorWell.h"

IMPLEMENT_DYNAMIC(SECPopupColorWell, SECColorWell)

BEGIN_MESSAGE_MAP(SECPopupColorWell, SECColorWell)
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_COMMAND(SECColorWell::ID_CUSTOMCOLOR, OnCustomColor)
  ON_WM_LBUTTONDOWN()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

SECPopupColorWell* SECPopupColorWell::Open(CWnd* pOwner, CPoint ptScreen, COLORREF color, const Layout& layout) {
  // The window takes the object over once it is fully made (PostNcDestroy deletes it).
  std::unique_ptr<SECPopupColorWell> made(new SECPopupColorWell);
  made->m_hOwner = pOwner ? pOwner->m_hWnd : nullptr;
  if (!made->Create(WS_POPUP | CWS_RAISEDBORDER, ptScreen, pOwner, 0, layout)) return nullptr;
  SECPopupColorWell* popup = made.release();
  popup->m_bOwnedByWindow = TRUE;
  popup->SetColor(color);
  popup->ShowWindow(SW_SHOW);
  popup->SetCapture();
  popup->SetFocus();
  return popup;
}

void SECPopupColorWell::Close() {
  if (m_bClosing) return;  // the button's loss of focus while the popup goes
  m_bClosing = TRUE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  DestroyWindow();
}

void SECPopupColorWell::SelectCell(int nColumn, int nRow, int nReason) {
  if (nReason != SelectChoice) {
    SECColorWell::SelectCell(nColumn, nRow, nReason);
    return;
  }
  MakeCurrent(nColumn, nRow);
  const HWND self = m_hWnd;
  ReportColor();
  // The owner may have closed the popup while it handled the choice.
  if (::IsWindow(self)) Close();
}

void SECPopupColorWell::HandOff() {
  if (!m_hOwner) return;
  ::PostMessageA(m_hOwner, WM_RUNCOLORDIALOG, 0, 0);
  Close();
}

void SECPopupColorWell::OnCustomColor() { HandOff(); }

void SECPopupColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_TAB:
      if (m_pCustomButton && m_pCustomButton->m_hWnd) m_pCustomButton->SetFocus();
      return;
    case VK_RETURN:
      SelectCell(m_nCurColumn, m_nCurRow, SelectChoice);
      return;
    case VK_ESCAPE:
      Close();
      return;
    default:
      SECColorWell::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void SECPopupColorWell::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE) SelectCell(m_nCurColumn, m_nCurRow, SelectChoice);
  else SECColorWell::OnKeyUp(nChar, nRepCnt, nFlags);
}

void SECPopupColorWell::OnLButtonDown(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  CPoint screen = point;
  ClientToScreen(&screen);
  if (client.PtInRect(point)) {
    if (m_bCustomSupport && m_pCustomButton && m_pCustomButton->m_hWnd) {
      CRect button;
      m_pCustomButton->GetWindowRect(&button);
      if (button.PtInRect(screen)) {
        HandOff();
        return;
      }
    }
    SECColorWell::OnLButtonDown(nFlags, point);
    return;
  }
  if (m_hOwner) {
    CRect owner;
    ::GetWindowRect(m_hOwner, &owner);
    if (owner.PtInRect(screen)) return;
  }
  // The click that closes the popup still reaches the window under it. What it needs is
  // taken before the popup (and with it this object) goes.
  const HWND self = m_hWnd;
  HWND target = ::WindowFromPoint(screen);
  if (target == self) target = nullptr;
  Close();
  if (target && ::IsWindow(target)) {
    ::ScreenToClient(target, &screen);
    ::SendMessageA(target, WM_LBUTTONDOWN, nFlags, MAKELPARAM(screen.x, screen.y));
  }
}

void SECPopupColorWell::OnKillFocus(CWnd* pNewWnd) {
  SECColorWell::OnKillFocus(pNewWnd);
  if (m_pCustomButton && pNewWnd == m_pCustomButton.get()) return;
  Close();
}
