#include "SECFrameSteps.h"

#include "SECBmpMenuPlugIn.h"
#include "SECDockBar.h"
#include "SECDockState.h"
#include "SECWndPlugIn.h"
#include "controls/SECAuxData.h"
#include "controls/SECBmpMgr.h"
#include "controls/SECControlBar.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECToolBarManager.h"

namespace sec_frame {

CDockBar* DockBarFor(CFrameWnd& frame, CControlBar* pBar) {
  for (const DockBarEntry& e : kDockBarMap)
    if ((e.style & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY))
      if (auto* dock = dynamic_cast<CDockBar*>(frame.GetControlBar(e.id))) return dock;
  // An alignment of no single side: the first side the bar may dock on.
  for (const DockBarEntry& e : kDockBarMap)
    if (e.style & pBar->m_dwDockStyle & CBRS_ALIGN_ANY)
      if (auto* dock = dynamic_cast<CDockBar*>(frame.GetControlBar(e.id))) return dock;
  return nullptr;
}

void DockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pBar) return;
  auto* bar = dynamic_cast<SECControlBar*>(pBar);
  if (bar) bar->OnBarDock();
  if (!pDockBar) pDockBar = DockBarFor(frame, pBar);
  if (auto* secDock = dynamic_cast<SECDockBar*>(pDockBar))
    secDock->DockControlBar(pBar, lpRect);
  else if (pDockBar)
    pDockBar->DockControlBar(pBar, lpRect);
  if (bar) bar->OnBarEndDock();
}

void ReDockBar(CFrameWnd& frame, CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pBar) return;
  auto* bar = dynamic_cast<SECControlBar*>(pBar);
  if (bar) bar->OnBarDock();
  if (!pDockBar && pBar->m_hWnd) {
    // The dock bar that kept the bar's place, else the one on the bar's side.
    auto* holder = static_cast<CControlBar*>(CDockBar::PlaceHolder(static_cast<UINT>(pBar->GetDlgCtrlID())));
    for (const DockBarEntry& e : kDockBarMap) {
      auto* dock = dynamic_cast<CDockBar*>(frame.GetControlBar(e.id));
      if (holder && dock && dock->FindBar(holder) > 0) {
        pDockBar = dock;
        break;
      }
    }
  }
  if (!pDockBar) pDockBar = DockBarFor(frame, pBar);
  if (auto* secDock = dynamic_cast<SECDockBar*>(pDockBar))
    secDock->ReDockControlBar(pBar, lpRect);
  else if (pDockBar)
    pDockBar->ReDockControlBar(pBar, lpRect);
  if (bar) bar->OnBarEndDock();
}

void FloatBar(CFrameWnd& frame, CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar) return;
  // A bar alone in a floating frame of an overlapping side only moves that frame.
  // (An MDI child holding the bar is no floating frame: the bar leaves it.)
  auto* secHolder = dynamic_cast<SECDockBar*>(pBar->m_pDockBar);
  if (CDockBar* dock = pBar->m_pDockBar; dock && dock->m_bFloating && !(secHolder && secHolder->m_bMDIChild) &&
                                          dock->GetDockedCount() == 1 && (dwStyle & dock->m_dwStyle & CBRS_ALIGN_ANY)) {
    if (CFrameWnd* floating = dock->GetParentFrame(); floating && floating != &frame) {
      floating->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return;
    }
  }
  auto* bar = dynamic_cast<SECControlBar*>(pBar);
  if (bar) bar->OnBarFloat();
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  CMiniDockFrameWnd* floating = frame.CreateFloatingFrame(dwStyle);
  if (!floating->m_hWndOwner) floating->m_hWndOwner = pBar->m_hWnd;
  if (auto* secDock = dynamic_cast<SECDockBar*>(&floating->m_wndDockBar))
    secDock->DockControlBar(pBar);
  else
    floating->m_wndDockBar.DockControlBar(pBar);
  // A bar that is not of fixed size floats in a frame that sizes it.
  if (bar && !(bar->m_dwExStyle & CBRS_EX_THIN4FRAME))
    floating->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME, SWP_NOMOVE | SWP_NOSIZE);
  floating->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  floating->RecalcLayout(TRUE);
  if (pBar->IsVisible()) {
    floating->ShowWindow(SW_SHOWNA);
    floating->UpdateWindow();
  }
  if (bar) bar->OnBarEndFloat();
}


BOOL InCustomiseMode(SECControlBarManager* manager) {
  auto* toolbars = dynamic_cast<SECToolBarManager*>(manager);
  return toolbars && toolbars->IsConfigMode();
}

void MakeDockBars(CFrameWnd& frame, DWORD dwDockStyle, const std::function<std::unique_ptr<CDockBar>()>& make) {
  for (const DockBarEntry& entry : kDockBarMap) {
    if (!(entry.style & dwDockStyle & CBRS_ALIGN_ANY) || frame.GetControlBar(entry.id)) continue;
    std::unique_ptr<CDockBar> dock = make();
    if (!dock || !dock->Create(&frame, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | entry.style, entry.id))
      AfxThrowResourceException();
    dock->m_bAutoDelete = TRUE;
    dock.release();  // deletes itself with its window
  }
}

void LoadBarState(CFrameWnd& frame, SECControlBarManager* manager, CPtrList& barInfo, LPCSTR lpszProfileName) {
  if (CWinThread* thread = AfxGetThread(); thread && !thread->m_pMainWnd) thread->m_pMainWnd = &frame;
  SECDockState state(manager, &barInfo);
  state.LoadState(lpszProfileName);
  state.SetState(&frame);
}

void SaveBarState(CFrameWnd& frame, SECControlBarManager* manager, LPCSTR lpszProfileName) {
  SECDockState state(manager);
  if (state.GetState(&frame)) {
    state.PurgeBarIDs();
    state.SaveState(lpszProfileName);
  }
}

void SetDockState(CFrameWnd& frame, SECDockState& state) { state.SetState(&frame); }

void GetDockState(CFrameWnd& frame, SECDockState& state) { state.GetState(&frame); }

bool PlugInCommand(SECWndPlugIn* plugIn, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo,
                   BOOL& taken) {
  if (!plugIn) return false;
  plugIn->m_bHandled = FALSE;
  taken = plugIn->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (!plugIn->m_bHandled) return false;
  plugIn->m_bHandled = FALSE;
  return true;
}

bool BeforeMessage(const FrameParts& p, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const HWND hWnd = p.frame.m_hWnd;
  if (SECWndPlugIn* plugIn = p.menuPlugIn; plugIn && plugIn->m_bPluggedIn) {
    plugIn->OnWndMsg(message, wParam, lParam, &result);
    // A menu the plug-in tracked may have outlived the frame: touch nothing of it then.
    if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != &p.frame) return true;
    if (p.menuPlugIn == plugIn && plugIn->m_bHandled) return true;
  }
  // Closing waits while the toolbars are customised (Alt+F4 comes this way too).
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && InCustomiseMode(p.manager)) {
    result = 0;
    return true;
  }
  return false;
}

void AfterMessage(const FrameParts& p, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITMENUPOPUP || CWnd::FromHandlePermanent(hWnd) != &p.frame || !p.bitmapMenus) return;
  // The update handlers may have changed items: the plug-in converts what they left.
  if (auto* bitmaps = dynamic_cast<SECBmpMenuPlugIn*>(p.menuPlugIn); bitmaps && bitmaps->IsPluggedIn())
    bitmaps->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
}

bool PreTranslate(const FrameParts& p, MSG* pMsg) {
  if (p.menuPlugIn && p.menuPlugIn->m_bPluggedIn && p.menuPlugIn->PreTranslateMessage(pMsg)) return true;
  return pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE && InCustomiseMode(p.manager);
}

HMENU MoveMenuToBar(CFrameWnd& frame, UINT nIDResource, HMENU& menuBarMenu) {
  menuBarMenu = ::LoadMenuA(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_MENU), MAKEINTRESOURCE(nIDResource));
  HMENU windowMenu = ::GetMenu(frame.m_hWnd);
  ::SetMenu(frame.m_hWnd, nullptr);
  return windowMenu;
}

void AfterLayout(CFrameWnd& frame, CRect& lastClient) {
  if (!frame.m_hWnd) return;
  if (lastClient.IsRectEmpty()) {
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else {
    for (HWND child = ::GetTopWindow(frame.m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (auto* dock = dynamic_cast<SECDockBar*>(CWnd::FromHandlePermanent(child))) dock->RedrawPendingBars();
  }
  frame.GetClientRect(&lastClient);
}

void AfterPreviewMode(CFrameWnd& frame, BOOL bPreview) {
  if (!bPreview && frame.m_hWnd)
    frame.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void IdleLayout(CFrameWnd& frame, SECControlBarManager* manager, UINT nWhy) {
  if (nWhy == MSGF_DIALOGBOX && InCustomiseMode(manager) && (frame.m_nIdleFlags & CFrameWnd::idleLayout)) {
    frame.RecalcLayout(frame.m_nIdleFlags & CFrameWnd::idleNotify);
    frame.UpdateWindow();
  }
}

void ReloadBarBitmaps(CFrameWnd& frame) {
  for (POSITION pos = frame.m_listControlBars.GetHeadPosition(); pos;)
    if (auto* bar = dynamic_cast<SECCustomToolBar*>(static_cast<CControlBar*>(frame.m_listControlBars.GetNext(pos))))
      if (SECBmpMgr* bitmaps = bar->GetBitmapManager()) bitmaps->ReloadAllBitmaps(TRUE);
}

void DropMenuPlugIn(SECWndPlugIn*& plugIn) {
  if (!plugIn) return;
  plugIn->UnPlug();
  delete plugIn;
  plugIn = nullptr;
}

}  // namespace sec_frame
