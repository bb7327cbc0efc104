#include "SECTBMenuBtn.h"

#include <algorithm>

#include "SECBmpMenuPlugIn.h"
#include "controls/SECAuxData.h"
#include "controls/SECBtnDrawContext.h"
#include "controls/SECCustomToolBar.h"

const SECButtonClass SECTBMenuBtn::classSECTBMenuBtn = {&SECTBMenuBtn::CreateButton, &SECStdBtn::classSECStdBtn};

SECStdBtn* SECTBMenuBtn::CreateButton() { return new SECTBMenuBtn; }

SECTBMenuBtn::SECTBMenuBtn() { m_nType = SEC_BTNTYPE_FOCUS; }

void SECTBMenuBtn::Init(SECCustomToolBar* pToolBar, const UINT* pData) {
  m_pToolBar = pToolBar;
  if (const auto* info = reinterpret_cast<const SECTBMenuBtnInfo*>(pData)) {
    m_nIDMenu = info->nIDMenu;
    m_nSubMenu = info->nSubMenu;
    m_strLabel = info->lpszLabel ? info->lpszLabel : "";
    m_nExtra = info->nExtra;
    UpdateMnemonic();
  }
  AdjustSize();
}

void SECTBMenuBtn::UpdateMnemonic() { m_nMnemonic = SECBmpMenuItemInfo::MnemonicOf(m_strLabel); }

BOOL SECTBMenuBtn::BtnPressDown(CPoint) {
  if (m_nStyle & TBBS_DISABLED) return 0;
  m_nStyle |= TBBS_PRESSED;
  Invalidate();
  if (m_pToolBar && m_pToolBar->m_hWnd) m_pToolBar->UpdateWindow();
  DropMenu();
  return 0;  // the menu has been tracked: the bar tracks nothing more
}

void SECTBMenuBtn::DropMenu() {
  if (m_pToolBar) m_pToolBar->DropMenu(m_nIDMenu, m_nSubMenu, this);
}

HFONT SECTBMenuBtn::LabelFont() const {
  if (!m_pToolBar) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  HFONT font = m_pToolBar->GetMenuFont();
  return font ? font : m_pToolBar->GetFont();
}

void SECTBMenuBtn::AdjustSize() {
  if (!m_pToolBar) return;
  CWindowDC dc(nullptr);
  HGDIOBJ old = ::SelectObject(dc.m_hDC, LabelFont());
  CRect text(0, 0, 0, 0);
  dc.DrawText(m_strLabel, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
  ::SelectObject(dc.m_hDC, old);
  m_cx = text.Width() + 10;
  m_cy = text.Height() + 6;
  m_pToolBar->m_nMaxMenuBtnWidth = std::max(m_pToolBar->m_nMaxMenuBtnWidth, m_cx);
  // The work bitmap of a paint is as wide as the widest button.
  m_pToolBar->m_nMaxBtnWidth = std::max(m_pToolBar->m_nMaxBtnWidth, m_cx);
}

void SECTBMenuBtn::DrawFace(SECBtnDrawContext& ctx, BOOL bPlain, int& x, int& y, int& cx, int& cy, int) {
  CDC& work = ctx.m_workDC;
  const bool flat = m_pToolBar->IsCoolLook() != FALSE;
  const bool customising = m_pToolBar->m_pCustomiseFocus != nullptr || bPlain;
  work.FillSolidRect(x, y, cx, cy, secData.clrBtnFace);
  int tx = x + 4, ty = y + 3;
  if ((m_nStyle & (TBBS_PRESSED | TBBS_CHECKED)) && !customising) {
    work.Draw3dRect(x, y, cx, cy, flat ? secData.clrBtnShadow : secData.clrWindowFrame, secData.clrBtnHilite);
    if (!flat) work.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, secData.clrBtnShadow, secData.clrBtnFace);
    ++tx;
    ++ty;
    x += 1;
    y += 1;
    cx -= 2;
    cy -= 2;
  } else if (flat) {
    if ((m_nStyle & SEC_TBBS_HOT) && !customising) work.Draw3dRect(x, y, cx, cy, secData.clrBtnHilite, secData.clrBtnShadow);
    x += 2;
    y += 2;
    cx -= 4;
    cy -= 4;
  } else {
    work.Draw3dRect(x, y, cx, cy, secData.clrBtnHilite, secData.clrWindowFrame);
    work.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, secData.clrBtnFace, secData.clrBtnShadow);
    x += 1;
    y += 1;
    cx -= 2;
    cy -= 2;
  }
  HGDIOBJ old = ::SelectObject(work.m_hDC, LabelFont());
  const COLORREF oldText = work.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
  const COLORREF oldBk = work.SetBkColor(secData.clrBtnFace);
  CRect label(tx, ty, m_cx, m_cy);
  work.DrawText(m_strLabel, &label, DT_SINGLELINE | DT_NOCLIP);
  work.SetTextColor(oldText);
  work.SetBkColor(oldBk);
  ::SelectObject(work.m_hDC, old);
}
