#include "SECDockBar.h"

#include "controls/SECControlBar.h"

IMPLEMENT_DYNCREATE(SECDockBar, CDockBar)

SECDockBar::SECDockBar(BOOL bFloating, BOOL bMDIChild) : CDockBar(bFloating), m_bMDIChild(bMDIChild) {}

int SECDockBar::CountVisibleBars() { return GetDockedVisibleCount(); }

namespace {
// The first and one-past-last index of the row that holds `pos`.
std::pair<int, int> RowAround(const CDockBar& dock, int pos) {
  int first = pos, last = pos;
  while (first > 0 && dock.m_arrBars[first - 1]) --first;
  while (last < dock.m_arrBars.GetSize() && dock.m_arrBars[last]) ++last;
  return {first, last};
}
}  // namespace

BOOL SECDockBar::IsAloneInRowOf(const CDockBar& dock, const CControlBar* pBar) {
  int pos = dock.FindBar(const_cast<CControlBar*>(pBar));
  if (pos <= 0) return TRUE;
  auto [first, last] = RowAround(dock, pos);
  for (int i = first; i < last; ++i)
    if (CControlBar* other = dock.GetDockedControlBar(i); other && other != pBar && other->IsVisible()) return FALSE;
  return TRUE;
}

BOOL SECDockBar::IsAloneInRow(CControlBar* pBar) { return IsAloneInRowOf(*this, pBar); }

BOOL SECDockBar::IsOnlyStretchedBar(CControlBar* pBar) {
  int pos = FindBar(pBar);
  if (pos <= 0) return FALSE;
  auto [first, last] = RowAround(*this, pos);
  CControlBar* stretched = nullptr;
  for (int i = first; i < last; ++i) {
    auto* bar = dynamic_cast<SECControlBar*>(GetDockedControlBar(i));
    if (!bar || !bar->IsVisible() || bar->m_fPctWidth <= m_fMinShare) continue;
    if (stretched) return FALSE;
    stretched = bar;
  }
  return stretched == pBar;
}

void SECDockBar::SetRowState(CControlBar* pBar, int nMode) {
  int pos = FindBar(pBar);
  if (pos <= 0) return;
  auto [first, last] = RowAround(*this, pos);
  for (int i = first; i < last; ++i) {
    auto* bar = dynamic_cast<SECControlBar*>(GetDockedControlBar(i));
    if (!bar) continue;
    if (nMode == 1)
      bar->m_fPctWidth = bar == pBar ? 1.0f : 0.0f;
    else
      bar->m_fPctWidth = 0.1f;
  }
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
}

CRect SECDockBar::CalcTrackRect(CControlBar*, const CRect& rectProposed, CPoint point, SECDockTrackState& state) {
  state.rectLast = rectProposed;
  state.ptLast = point;
  state.nInsertIndex = -1;
  return rectProposed;
}

void SECDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) { CDockBar::DockControlBar(pBar, lpRect); }

void SECDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  CDockBar::ReDockControlBar(pBar, lpRect);
  m_pLastPlacedBar = pBar;
}

BOOL SECDockBar::RemoveControlBar(CControlBar* pBar, int nIndex, int) {
  for (int i = static_cast<int>(m_arrRepaintBars.GetSize()) - 1; i >= 0; --i)
    if (m_arrRepaintBars[i] == pBar) m_arrRepaintBars.RemoveAt(i);
  if (m_pLastPlacedBar == pBar) m_pLastPlacedBar = nullptr;
  return CDockBar::RemoveControlBar(pBar, nIndex, 1);
}
