#include "SECCustomToolCmdUI.h"

#include "SECCustomToolBar.h"

SECCustomToolCmdUI::SECCustomToolCmdUI(SECCustomToolBar* pBar, int nIndex, UINT nID) {
  m_pOther = pBar;
  m_nIndex = static_cast<UINT>(nIndex);
  m_nID = nID;
}

void SECCustomToolCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  auto* bar = static_cast<SECCustomToolBar*>(m_pOther);
  const int index = static_cast<int>(m_nIndex);
  UINT style = bar->GetButtonStyle(index) & ~TBBS_DISABLED;
  if (!bOn) style |= TBBS_DISABLED;
  bar->SetButtonStyle(index, style);
}

void SECCustomToolCmdUI::SetCheck(int nCheck) {
  auto* bar = static_cast<SECCustomToolBar*>(m_pOther);
  const int index = static_cast<int>(m_nIndex);
  UINT style = bar->GetButtonStyle(index) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
  style |= TBBS_CHECKBOX;
  if (nCheck == 1)
    style |= TBBS_CHECKED;
  else if (nCheck == 2)
    style |= TBBS_INDETERMINATE;
  bar->SetButtonStyle(index, style);
}
