// SECCustomToolCmdUI: the command-UI state of one toolbar button: enabling and
// checking go to the button's style.
#pragma once
#include <afxwin.h>

class SECCustomToolBar;

class SECCustomToolCmdUI : public CCmdUI {
 public:
  SECCustomToolCmdUI(SECCustomToolBar* pBar, int nIndex, UINT nID);

  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCSTR lpszText) override {}
};
