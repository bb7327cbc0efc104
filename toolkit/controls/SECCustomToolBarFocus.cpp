// The toolbar's keyboard-focus buttons (kinds 3 and 4): which one holds the focus, and
// what the mouse does while one does.
#include "SECCustomToolBar.h"

namespace {
constexpr UINT kNotifyKillFocus = 0xFFFFF7B5U;
constexpr UINT kNotifySetFocus = 0xFFFFF7B6U;
constexpr UINT kNotifyFocusMouse = 0xFFFFF7B7U;
constexpr UINT kNotifyFocusButton = 0xFFFFF7B8U;

bool IsFocusKind(const SECStdBtn* btn) {
  return !(btn->GetStyle() & TBBS_HIDDEN) &&
         (btn->m_nType == SEC_BTNTYPE_FOCUS || btn->m_nType == SEC_BTNTYPE_FOCUS_OTHER);
}
}  // namespace

int SECCustomToolBar::GetFirstFocusButton() const {
  for (int i = 0; i < GetButtonCount(); ++i)
    if (IsFocusKind(GetButton(i))) return i;
  return -1;
}

int SECCustomToolBar::GetLastFocusButton() const {
  for (int i = GetButtonCount() - 1; i >= 0; --i)
    if (IsFocusKind(GetButton(i))) return i;
  return -1;
}

int SECCustomToolBar::GetFirstKindThreeButton() const {
  for (int i = 0; i < GetButtonCount(); ++i) {
    const SECStdBtn* btn = GetButton(i);
    if (!(btn->GetStyle() & TBBS_HIDDEN) && btn->m_nType == SEC_BTNTYPE_FOCUS) return i;
  }
  return -1;
}

int SECCustomToolBar::GetNextFocusButton(BOOL bForward) const {
  if (m_nFocus == -1) return bForward ? GetFirstFocusButton() : GetLastFocusButton();
  for (int i = m_nFocus + (bForward ? 1 : -1); i >= 0 && i < GetButtonCount(); i += bForward ? 1 : -1)
    if (IsFocusKind(GetButton(i))) return i;
  return -1;
}

void SECCustomToolBar::SetKeyboardFocus(int nIndex) {
  if (nIndex < 0 || nIndex >= GetButtonCount()) return;
  if (m_nFocus != -1 && m_nFocus < GetButtonCount()) {
    SECStdBtn* old = GetButton(m_nFocus);
    old->SetStyle(old->GetStyle() & ~SEC_TBBS_HOT);
    InvalidateButton(m_nFocus);
  }
  SECStdBtn* btn = GetButton(nIndex);
  btn->SetStyle(btn->GetStyle() | SEC_TBBS_HOT);
  InvalidateButton(nIndex);
  m_nFocus = nIndex;
  m_bKeyboardFocus = TRUE;
  btn->SendNotify(kNotifySetFocus);
  if (CWnd* target = NotifyTarget()) target->SendMessage(WM_SETMESSAGESTRING, 0);
}

void SECCustomToolBar::SetKeyboardFocusAt(CPoint point) {
  const int index = HitTest(point);
  if (index != -1) SetKeyboardFocus(index);
}

void SECCustomToolBar::KillKeyboardFocus() {
  m_bKeyboardFocus = FALSE;
  if (m_nFocus != -1 && m_nFocus < GetButtonCount()) {
    SECStdBtn* btn = GetButton(m_nFocus);
    btn->SendNotify(kNotifyKillFocus);
    btn->SetStyle(btn->GetStyle() & ~SEC_TBBS_HOT);
    InvalidateButton(m_nFocus);
  }
  if (CWnd* target = NotifyTarget()) target->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void SECCustomToolBar::SetFocusButton(SECStdBtn* pBtn, int nValue1, int nValue2) {
  m_nFocus = pBtn ? pBtn->GetIndex() : -1;
  UpdateHotButton(FALSE);
  if (pBtn) pBtn->SendNotify(kNotifyFocusButton, nValue1, nValue2);
}

void SECCustomToolBar::ClearFocusButton() {
  if (m_nFocus != -1 && m_nFocus < GetButtonCount()) GetButton(m_nFocus)->BtnPressCancel();
  m_nFocus = -1;
  UpdateHotButton(FALSE);
}

void SECCustomToolBar::ActivateFocusButton(int nIndex) {
  if (m_bKeyboardFocus) KillKeyboardFocus();
  ClearFocusButton();
  if (nIndex < 0 || nIndex >= GetButtonCount()) return;
  SECStdBtn* btn = GetButton(nIndex);
  if (btn->m_nType != SEC_BTNTYPE_FOCUS && btn->m_nType != SEC_BTNTYPE_FOCUS_OTHER) return;
  btn->BtnPressDown(CPoint(btn->m_x, btn->m_y));
}

BOOL SECCustomToolBar::FilterFocusMouseMessage(const MSG* pMsg) {
  if (m_nFocus == -1 || m_nFocus >= GetButtonCount() || !pMsg) return FALSE;
  CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
  ScreenToClient(&point);
  const int index = HitTest(point);
  SECStdBtn* focus = GetButton(m_nFocus);
  if (pMsg->message == WM_MOUSEMOVE) {
    if (index == -1 || index == m_nFocus) return TRUE;
    const SECStdBtn* other = GetButton(index);
    if (other->m_nType == SEC_BTNTYPE_FOCUS || other->m_nType == SEC_BTNTYPE_FOCUS_OTHER)
      ActivateFocusButton(index);
    else
      focus->SendNotify(kNotifyFocusMouse);
    return TRUE;
  }
  if (pMsg->message == WM_LBUTTONDOWN && index == m_nFocus) {
    focus->SendNotify(kNotifyFocusMouse);
    return TRUE;
  }
  return FALSE;
}
