// The frame's side of docking: its dock bars, its list of bars, docking, floating and
// showing bars, and the list of frames that idle time updates.
#include <algorithm>
#include <vector>

#include "afxwin.h"
#include "CDockBar.h"
#include "CDockContext.h"
#include "CMiniDockFrameWnd.h"

namespace {

// The standard dock bars, in the order they are made (and so laid out): top and
// bottom take the whole width, left and right what is left between them.
struct DockSide {
  UINT id;
  DWORD style;
};
constexpr DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

thread_local std::vector<CFrameWnd*> t_frames;

}  // namespace

CFrameWnd::CFrameWnd() { t_frames.push_back(this); }

CFrameWnd::~CFrameWnd() {
  std::erase(t_frames, this);
  // Bars that outlive the frame forget it.
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->m_pDockSite == this) bar->m_pDockSite = nullptr;
  }
}

const std::vector<CFrameWnd*>& CFrameWnd::ThreadFrames() { return t_frames; }

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
  for (const DockSide& side : kDockSides) {
    if (!(side.style & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id)) continue;
    auto dock = std::make_unique<CDockBar>();
    if (!dock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | side.style, side.id))
      AfxThrowResourceException();
    dock.release();  // deletes itself with its window
  }
}

void CFrameWnd::AddControlBar(CControlBar* pBar) { m_listControlBars.AddTail(pBar); }

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
  if (POSITION pos = m_listControlBars.Find(pBar)) m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  if (nID == 0) return nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->m_hWnd && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
  }
  return nullptr;
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
  // A floating dock bar takes bars only when both sides allow several in one frame.
  dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
  if (ppDockBar) *ppDockBar = nullptr;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (!bar->IsDockBar() || !bar->m_hWnd || !bar->IsWindowVisible()) continue;
    auto* dock = static_cast<CDockBar*>(bar);
    if (!(dock->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY)) continue;
    if (dock->m_bFloating && !(dwDockStyle & dock->m_dwStyle & CBRS_FLOAT_MULTI)) continue;
    CRect area;
    dock->GetWindowRect(&area);
    // An empty dock bar is still a line along its edge.
    if (area.Width() == 0) ++area.right;
    if (area.Height() == 0) ++area.bottom;
    if (area.IntersectRect(&area, &rect)) {
      if (ppDockBar) *ppDockBar = dock;
      return dock->m_dwStyle & dwDockStyle;
    }
  }
  return 0;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CDockBar* dock = nDockBarID ? static_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  DockControlBar(pBar, dock, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pDockBar) {
    for (const DockSide& side : kDockSides)
      if ((side.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) {
        pDockBar = static_cast<CDockBar*>(GetControlBar(side.id));
        break;
      }
  }
  if (pDockBar) pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pDockBar) {
    // The dock bar that kept the bar's place, else the one on the bar's side.
    CDockBar* sameSide = nullptr;
    void* holder = CDockBar::PlaceHolder(static_cast<UINT>(pBar->GetDlgCtrlID()));
    for (const DockSide& side : kDockSides) {
      auto* dock = static_cast<CDockBar*>(GetControlBar(side.id));
      if (dock && dock->FindBar(static_cast<CControlBar*>(holder)) > 0) {
        pDockBar = dock;
        break;
      }
      if ((side.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY)) sameSide = dock;
    }
    if (!pDockBar) pDockBar = sameSide;
  }
  if (pDockBar) pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
  CRuntimeClass* cls = m_pFloatingFrameClass ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
  std::unique_ptr<CObject> object(cls->CreateObject());
  auto* frame = dynamic_cast<CMiniDockFrameWnd*>(object.get());
  if (!frame) AfxThrowMemoryException();
  object.release();  // a frame whose window cannot be made deletes itself
  if (!frame->Create(this, dwStyle)) AfxThrowResourceException();
  return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  // A bar floating alone in a frame of the same orientation only moves its frame.
  if (pBar->m_pDockSite && pBar->m_pDockBar) {
    CDockBar* dock = pBar->m_pDockBar;
    if (dock->m_bFloating && dock->GetDockedCount() == 1 && (dwStyle & dock->m_dwStyle & CBRS_ALIGN_ANY)) {
      if (auto* frame = dynamic_cast<CMiniDockFrameWnd*>(dock->GetParent())) {
        frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->RecalcLayout(TRUE);
        frame->UpdateWindow();
        return;
      }
    }
  }
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    // A bar of dynamic size floats across, whatever way it was docked.
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  CMiniDockFrameWnd* frame = CreateFloatingFrame(dwStyle);
  frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!frame->m_hWndOwner) frame->m_hWndOwner = pBar->m_hWnd;
  frame->m_wndDockBar.DockControlBar(pBar);
  frame->RecalcLayout(TRUE);
  if (GetStyle() & WS_VISIBLE) {
    frame->ShowWindow(SW_SHOWNA);
    frame->UpdateWindow();
  }
}

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags) {
  CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
  if (!top) top = this;
  if (dwFlags & (FS_ACTIVATE | FS_DEACTIVATE)) {
    // A disabled frame (a modal window of its own is up) never looks active.
    const BOOL active = !(dwFlags & FS_DEACTIVATE) && top->IsWindowEnabled();
    top->SendMessage(WM_NCACTIVATE, active);
  }
  const HWND frame = top->m_hWnd;
  std::vector<HWND> owned;
  for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
    for (HWND owner = ::GetWindow(h, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER))
      if (owner == frame) {
        owned.push_back(h);
        break;
      }
  // A window may go while it is told: each is checked before its turn.
  for (HWND h : owned)
    if (::IsWindow(h)) ::SendMessageA(h, WM_FLOATSTATUS, dwFlags, 0);
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
  CFrameWnd* parent = pBar->GetDockingFrame();
  if (!parent) return;
  if (bDelay) {
    pBar->DelayShow(bShow);
    parent->DelayRecalcLayout();
  } else {
    pBar->SetWindowPos(nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    pBar->DelayShow(bShow);  // clears a delayed show or hide that says otherwise
    if (bShow || !pBar->IsFloating()) parent->RecalcLayout(FALSE);
  }
  // A floating frame shows with its first visible bar and hides with its last.
  if (pBar->IsFloating()) {
    int visible = pBar->m_pDockBar ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
    if (visible == 1 && bShow) {
      parent->m_nShowDelay = -1;
      if (bDelay) {
        parent->m_nShowDelay = SW_SHOWNA;
        parent->RecalcLayout(FALSE);
      } else {
        parent->ShowWindow(SW_SHOWNA);
      }
    } else if (visible == 0) {
      parent->m_nShowDelay = -1;
      if (bDelay)
        parent->m_nShowDelay = SW_HIDE;
      else
        parent->ShowWindow(SW_HIDE);
    } else if (!bDelay) {
      parent->RecalcLayout(FALSE);
    }
  }
}

void CFrameWnd::DestroyDockBars() {
  // From a copy: the list shrinks as the dock bars and floating frames go.
  std::vector<CDockBar*> docks;
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (bar->IsDockBar()) docks.push_back(static_cast<CDockBar*>(bar));
  }
  for (CDockBar* dock : docks) {
    if (m_listControlBars.Find(dock) == nullptr || !dock->m_hWnd) continue;
    if (dock->m_bFloating) {
      if (CFrameWnd* frame = dock->GetParentFrame(); frame && frame != this)
        frame->DestroyWindow();
      else
        dock->DestroyWindow();
    } else {
      dock->DestroyWindow();
    }
  }
}
