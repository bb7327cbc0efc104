#include "SECFrameWnd.h"

#include "SECDockBar.h"
#include "controls/SECControlBar.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

SECDockBar* SECFrameWnd::CreateDockBar() { return new SECDockBar(FALSE, FALSE); }

void SECFrameWnd::FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  sec_frame::FloatBar(*this, pBar, point, dwStyle);
}

void SECFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  auto* dock = nDockBarID ? static_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  sec_frame::DockBar(*this, pBar, dock, lpRect);
}

void SECFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  sec_frame::DockBar(*this, pBar, pDockBar, lpRect);
}

void SECFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  sec_frame::ReDockBar(*this, pBar, pDockBar, lpRect);
}

namespace sec_frame {

void DockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pDockBar) {
    for (const DockBarEntry& e : kDockBarMap)
      if ((e.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        pDockBar = static_cast<CDockBar*>(frame.GetControlBar(e.id));
        break;
      }
  }
  if (auto* secDock = dynamic_cast<SECDockBar*>(pDockBar))
    secDock->DockControlBar(pBar, lpRect);
  else if (pDockBar)
    pDockBar->DockControlBar(pBar, lpRect);
}

void ReDockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pDockBar) {
    // The dock bar that kept the bar's place, else the one on the bar's side.
    CDockBar* sameSide = nullptr;
    auto* holder = static_cast<CControlBar*>(CDockBar::PlaceHolder(static_cast<UINT>(pBar->GetDlgCtrlID())));
    for (const DockBarEntry& e : kDockBarMap) {
      auto* dock = static_cast<CDockBar*>(frame.GetControlBar(e.id));
      if (dock && dock->FindBar(holder) > 0) {
        pDockBar = dock;
        break;
      }
      if (!sameSide && (e.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) sameSide = dock;
    }
    if (!pDockBar) pDockBar = sameSide;
  }
  if (auto* secDock = dynamic_cast<SECDockBar*>(pDockBar))
    secDock->ReDockControlBar(pBar, lpRect);
  else if (pDockBar)
    pDockBar->ReDockControlBar(pBar, lpRect);
}

void FloatBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle) {
  // A bar alone in a floating frame of the same orientation only moves that frame.
  if (CDockBar* dock = pBar->m_pDockBar;
      dock && dock->m_bFloating && dock->GetDockedCount() == 1 && (dwStyle & dock->m_dwStyle & CBRS_ALIGN_ANY)) {
    if (CFrameWnd* floating = dock->GetParentFrame(); floating && floating != &frame) {
      floating->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      floating->RecalcLayout(TRUE);
      floating->UpdateWindow();
      return;
    }
  }
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  CMiniDockFrameWnd* floating = frame.CreateFloatingFrame(dwStyle);
  if (!floating->m_hWndOwner) floating->m_hWndOwner = pBar->m_hWnd;
  floating->m_wndDockBar.DockControlBar(pBar);
  // A bar without the thin-frame style floats in a frame sized from its corners too.
  if (auto* bar = dynamic_cast<SECControlBar*>(pBar); bar && !(bar->m_dwExStyle & CBRS_EX_THIN4FRAME))
    floating->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME, SWP_NOMOVE | SWP_NOSIZE);
  floating->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  floating->RecalcLayout(TRUE);
  if (pBar->IsWindowVisible() || pBar->IsVisible()) {
    floating->ShowWindow(SW_SHOWNA);
    floating->UpdateWindow();
  }
}

}  // namespace sec_frame
