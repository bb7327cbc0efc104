#include "SECBtnCaption.h"

#include <algorithm>

#include "controls/SECAuxData.h"
#include "controls/SECBtnDrawContext.h"
#include "controls/SECCustomToolBar.h"

namespace {
// The child window the caption buttons of a bar stand for: its frame's active MDI child
// (a frame docked in a bar may be the active frame meanwhile), else its active frame.
CWnd* ActiveChildOf(const SECCustomToolBar* bar) {
  if (!bar || !bar->m_hWnd) return nullptr;
  CFrameWnd* frame = bar->GetParentFrame();
  if (!frame) return nullptr;
  if (auto* mdi = dynamic_cast<CMDIFrameWnd*>(frame)) return mdi->MDIGetActive();
  CFrameWnd* child = frame->GetActiveFrame();
  return child && child != frame ? child : nullptr;
}
}  // namespace

// ---- caption boxes

const SECButtonClass SECBtnCaption::classSECBtnCaption = {&SECBtnCaption::CreateButton, &SECStdBtn::classSECStdBtn};

SECStdBtn* SECBtnCaption::CreateButton() { return new SECBtnCaption; }

SECBtnCaption::SECBtnCaption()
    : m_cxBox(::GetSystemMetrics(SM_CXSIZE) - 2), m_cyBox(::GetSystemMetrics(SM_CYSIZE) - 4) {
  m_nType = SEC_BTNTYPE_TRAILING;
}

void SECBtnCaption::AdjustSize() {
  // The boxes follow the caption size of the moment (a setting change measures again).
  m_cxBox = ::GetSystemMetrics(SM_CXSIZE) - 2;
  m_cyBox = ::GetSystemMetrics(SM_CYSIZE) - 4;
  m_cx = 3 * m_cxBox + 2;
  m_cy = m_cyBox;
  if (m_pToolBar) m_pToolBar->m_nMaxBtnWidth = std::max(m_pToolBar->m_nMaxBtnWidth, m_cx);
}

int SECBtnCaption::BoxAt(CPoint point) const {
  if (!(m_nCaptionFlags & kShown)) return -1;
  if (point.y < m_y || point.y >= m_y + m_cy) return -1;
  const int x = point.x - m_x;
  const bool enabled = (m_nCaptionFlags & kMinRestoreEnabled) != 0;
  if (x >= 0 && x < m_cxBox) return enabled ? 0 : -1;
  if (x >= m_cxBox && x < 2 * m_cxBox) return enabled ? 1 : -1;
  if (x >= 2 * m_cxBox + 2 && x < 3 * m_cxBox + 2) return 2;
  return -1;
}

CWnd* SECBtnCaption::TargetWindow() const { return ActiveChildOf(m_pToolBar); }

BOOL SECBtnCaption::BtnPressDown(CPoint point) {
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  m_nPressedBox = BoxAt(point);
  if (m_nPressedBox < 0) return FALSE;
  m_nStyle |= TBBS_PRESSED;
  Invalidate();
  return TRUE;
}

void SECBtnCaption::BtnPressMouseMove(CPoint point) {
  // Pressed only while over the box the press began on.
  if (m_nPressedBox >= 0 && BoxAt(point) == m_nPressedBox)
    m_nStyle |= TBBS_PRESSED;
  else
    m_nStyle &= ~TBBS_PRESSED;
}

void SECBtnCaption::BtnPressCancel() {
  m_nStyle &= ~TBBS_PRESSED;
  m_nPressedBox = -1;
  Invalidate();
}

UINT SECBtnCaption::BtnPressUp(CPoint point) {
  m_nStyle &= ~TBBS_PRESSED;
  const int box = m_nPressedBox;
  m_nPressedBox = -1;
  if (box >= 0 && BoxAt(point) == box) {
    static const UINT commands[3] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    if (CWnd* child = TargetWindow()) {
      CPoint screen = point;
      m_pToolBar->ClientToScreen(&screen);
      child->PostMessage(WM_SYSCOMMAND, commands[box], MAKELPARAM(screen.x, screen.y));
    }
  }
  return 0;  // no command of the bar's own
}

void SECBtnCaption::DrawButton(SECBtnDrawContext& ctx) {
  CDC& work = ctx.m_workDC;
  work.FillSolidRect(0, 0, m_cx, m_cy, secData.clrBtnFace);
  if (!(m_nCaptionFlags & kShown)) return;
  const bool enabled = (m_nCaptionFlags & kMinRestoreEnabled) != 0;
  const bool pressed = (m_nStyle & TBBS_PRESSED) != 0;
  static const UINT kinds[3] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  for (int box = 0; box < 3; ++box) {
    const int left = box * m_cxBox + (box == 2 ? 2 : 0);
    CRect r(left, 0, left + m_cxBox, m_cyBox);
    UINT state = kinds[box];
    if (box < 2 && !enabled) state |= DFCS_INACTIVE;
    if (pressed && box == m_nPressedBox) state |= DFCS_PUSHED;
    ::DrawFrameControl(work.m_hDC, &r, DFC_CAPTION, state);
  }
}

// ---- the child's icon

const SECButtonClass SECCapMenuBtn::classSECCapMenuBtn = {&SECCapMenuBtn::CreateButton, &SECTBMenuBtn::classSECTBMenuBtn};

SECStdBtn* SECCapMenuBtn::CreateButton() { return new SECCapMenuBtn; }

SECCapMenuBtn::SECCapMenuBtn() {
  m_nType = SEC_BTNTYPE_FOCUS_OTHER;
  m_nSubMenu = -1;  // no popup of a menu: the child's system menu
}

void SECCapMenuBtn::AdjustSize() {
  m_cx = m_cy = 16;
  if (m_pToolBar) m_pToolBar->m_nMaxBtnWidth = std::max(m_pToolBar->m_nMaxBtnWidth, m_cx);
}

void SECCapMenuBtn::DrawFace(SECBtnDrawContext& ctx, BOOL, int& x, int& y, int& cx, int& cy, int) {
  ctx.m_workDC.FillSolidRect(x, y, cx, cy, secData.clrBtnFace);
  if (m_hIcon) ::DrawIconEx(ctx.m_workDC.m_hDC, x, y, m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
}

// The bar tracks the child's system menu (menu value 0): one popup of the bar at a time.
void SECCapMenuBtn::DropMenu() {
  if (m_pToolBar) m_pToolBar->DropMenu(0, m_nSubMenu, this);
}
