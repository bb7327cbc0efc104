#include "SECMiniDockFrameWnd.h"

#include <memory>
#include <string>
#include <string_view>

#include "SECDockBar.h"
#include "controls/SECResourceIds.h"
#include "text/Utf8.h"

IMPLEMENT_DYNCREATE(SECMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(SECMiniDockFrameWnd, CMiniDockFrameWnd)
  ON_WM_CLOSE()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

SECMiniDockFrameWnd::SECMiniDockFrameWnd() : CMiniDockFrameWnd(std::make_unique<SECDockBar>(TRUE, FALSE)) {}

SECDockBar& SECMiniDockFrameWnd::GetDockBar() { return static_cast<SECDockBar&>(m_wndDockBar); }

BOOL SECMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  // Nothing to lay out until a bar is docked.
  m_bInRecalcLayout = TRUE;
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_SYNCACTIVE | MFS_4THICKFRAME | MFS_BLOCKSYSMENU |
                FWS_SNAPTOBARS;
  if (!(dwBarStyle & CBRS_SIZE_DYNAMIC)) style |= MFS_MOVEFRAME;
  if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, rectDefault, pParent)) {
    return FALSE;  // the object went with its window
  }
  m_bInRecalcLayout = TRUE;
  if (CMenu* sys = GetSystemMenu(FALSE)) {
    for (UINT item : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) sys->DeleteMenu(item, MF_BYCOMMAND);
    CString close;
    if (close.LoadString(IDS_SEC_SCCLOSE)) {
      sys->DeleteMenu(SC_CLOSE, MF_BYCOMMAND);
      sys->AppendMenu(MF_STRING, SC_CLOSE, close);
    }
  }
  DWORD dockStyle = (dwBarStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  dockStyle |= dwBarStyle & CBRS_FLOAT_MULTI;
  // Made in the frame that docks (so that frame lists it), then moved in here.
  BOOL made = m_wndDockBar.Create(pParent, WS_CHILD | WS_VISIBLE | dockStyle, AFX_IDW_DOCKBAR_FLOAT);
  if (made) m_wndDockBar.SetParent(this);
  m_bInRecalcLayout = FALSE;
  return made;
}

void SECMiniDockFrameWnd::CopyTitle() {
  if (!m_wndDockBar.m_hWnd) return;
  // At most 260 bytes, cut between characters.
  CString full;
  m_wndDockBar.GetWindowText(full);
  const std::string_view text(full, static_cast<size_t>(full.GetLength()));
  const CString title(std::string(text.substr(0, plat::text::CutAtBoundary(text, 260))).c_str());
  CString current;
  GetWindowText(current);
  if (current != title) SetWindowText(title);
}

void SECMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
  if (m_bInRecalcLayout) return;
  CMiniFrameWnd::RecalcLayout(bNotify);
  CopyTitle();
}

void SECMiniDockFrameWnd::RecalcLayoutAt(int x, int y) {
  if (m_bInRecalcLayout) return;
  m_nIdleFlags &= ~(idleNotify | idleLayout);
  m_bInRecalcLayout = TRUE;
  if (GetStyle() & FWS_SNAPTOBARS) {
    CRect rect(0, 0, 32767, 32767);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
    CalcWindowRect(&rect);
    SetWindowPos(nullptr, x, y, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  }
  CopyTitle();
  m_bInRecalcLayout = FALSE;
}

CControlBar* SECMiniDockFrameWnd::FirstDockedBar() const {
  for (int i = 1; i < m_wndDockBar.m_arrBars.GetSize(); ++i)
    if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i)) return bar;
  return nullptr;
}

void SECMiniDockFrameWnd::OnClose() { m_wndDockBar.ShowAll(FALSE); }

void SECMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CControlBar* bar = FirstDockedBar();
  if (nHitTest == HTCAPTION) {
    if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
    if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && bar && bar->m_pDockContext) {
      bar->m_pDockContext->StartDrag(point);
      return;
    }
  } else if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
    if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
    if (bar && bar->m_pDockContext) {
      bar->m_pDockContext->StartResize(static_cast<int>(nHitTest), point);
      return;
    }
  }
  // Without a docked bar to act on, the frame behaves as any mini frame.
  CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void SECMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point) {
  if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
    CControlBar* bar = FirstDockedBar();
    if (bar && bar->m_pDockContext) {
      if (CWnd* top = GetTopLevelParent()) top->SetActiveWindow();
      bar->m_pDockContext->ToggleDocking();
      return;
    }
  }
  CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

void SECMiniDockFrameWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if (LOWORD(message) == WM_LBUTTONDOWN || LOWORD(message) == WM_RBUTTONDOWN)
    SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CMiniDockFrameWnd::OnParentNotify(message, lParam);
}
