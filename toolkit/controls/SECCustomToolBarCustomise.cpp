// The toolbar's side of customising: the customise focus, the selected button and what
// the manager's listeners hear.
#include "SECCustomToolBar.h"
#include "SECToolBarManager.h"

void SECCustomToolBar::NotifyManager(int nCode) {
  if (m_pManager && m_hWnd) m_pManager->NotifyListeners(static_cast<UINT>(GetDlgCtrlID()), nCode);
}

void SECCustomToolBar::SetConfigFocus(CWnd* pWnd) {
  ClearSelection(FALSE);
  m_pCustomiseFocus = pWnd;
  if (m_hWnd) Invalidate();
}

int SECCustomToolBar::GetSelection() const {
  if (!m_pManager || m_pManager->GetSelectedBar() != this) return -1;
  return m_nPressed >= 0 && m_nPressed < GetButtonCount() ? m_nPressed : -1;
}

void SECCustomToolBar::SelectButton(int nIndex, BOOL bRedraw) {
  if (!m_pManager || nIndex < 0 || nIndex >= GetButtonCount()) return;
  if (SECCustomToolBar* held = m_pManager->GetSelectedBar()) held->ClearSelection(TRUE);
  m_pManager->SetSelectedBar(this);
  m_nPressed = nIndex;
  SECStdBtn* btn = GetButton(nIndex);
  btn->SetStyle(btn->GetStyle() | SEC_TBBS_CUSTSELECTED);
  if (bRedraw) InvalidateButton(nIndex);
  NotifyManager(SECToolBarManager::BarSelection);
}

void SECCustomToolBar::ClearSelection(BOOL bRedraw) {
  if (!m_pManager || m_pManager->GetSelectedBar() != this) return;
  if (m_nPressed >= 0 && m_nPressed < GetButtonCount()) {
    SECStdBtn* btn = GetButton(m_nPressed);
    btn->SetStyle(btn->GetStyle() & ~SEC_TBBS_CUSTSELECTED);
    if (bRedraw) InvalidateButton(m_nPressed);
  }
  m_nPressed = -1;
  m_pManager->SetSelectedBar(nullptr);
  NotifyManager(SECToolBarManager::BarSelection);
}
