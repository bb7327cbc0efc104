#include "SECDockableFrame.h"

#include "SECDocTemplateUtils.h"
#include "SECFilterTables.h"
#include "SECFrameFilter.h"
#include "SECMDIFrameWnd.h"
#include "SECMultiDocTemplate.h"
#include "SECWndPlugIn.h"
#include "ScxMsgFilter.h"
#include "controls/SECAuxData.h"
#include "controls/SECControlBar.h"
#include "controls/SECToolBarManager.h"

IMPLEMENT_DYNCREATE(SECDockableFrame, SECFrameWnd)

namespace {

// Handles of a window that are still this thread's window object.
bool Alive(HWND hWnd, const CWnd* pWnd) { return ::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == pWnd; }

BOOL IsCustomising(SECControlBarManager* pManager) {
  auto* manager = dynamic_cast<SECToolBarManager*>(pManager);
  return manager && manager->IsConfigMode();
}

}  // namespace

BEGIN_MESSAGE_MAP(SECDockableFrame, SECFrameWnd)
  ON_WM_ACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_PARENTNOTIFY()
  ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDownMsg)
  ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClkMsg)
  ON_MESSAGE(WM_NCRBUTTONDOWN, OnNcRButtonDownMsg)
  ON_MESSAGE(WM_NCRBUTTONUP, OnNcRButtonUpMsg)
  ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnNcRButtonDblClkMsg)
  ON_MESSAGE(WM_LBUTTONUP, OnLButtonUpMsg)
  ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMsg)
  ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMsg)
  ON_MESSAGE(WM_NCPAINT, OnNcPaintMsg)
  ON_MESSAGE(WM_SETTEXT, OnSetTextMsg)
  ON_WM_DESTROY()
  ON_WM_NCHITTEST()
END_MESSAGE_MAP()

SECDockableFrame::SECDockableFrame() : m_pMsgFilter(new SECMsgFilter(this, SECMsgFilter::kNoParent)) {
  sec_filters::FillDockableFrameTable(m_descriptors);
  // Caption handling is on where the application has a library template to move frames,
  // as for the library's MDI frame.
  BOOL libraryTemplate = FALSE;
  if (CWinApp* app = AfxGetApp())
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;)
      if (app->GetNextDocTemplate(pos)->IsKindOf(RUNTIME_CLASS(SECMultiDocTemplate))) libraryTemplate = TRUE;
  if (libraryTemplate) EnableCaptionButtons(1);
}

SECDockableFrame::~SECDockableFrame() {
  // Kept until the outermost filter at work returns: a move may take the frame meanwhile.
  SECMsgFilter::DeleteRoot(m_pMsgFilter);
}

// ---- what the frame is part of

CControlBar* SECDockableFrame::GetHoldingBar() const {
  return m_hWnd ? dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd))) : nullptr;
}

BOOL SECDockableFrame::IsFloating() {
  CControlBar* bar = GetHoldingBar();
  return bar && bar->IsFloating();
}

SECMDIFrameWnd* SECDockableFrame::GetMainFrame() const {
  if (m_hWnd)
    if (auto* parent = dynamic_cast<SECMDIFrameWnd*>(GetParentFrame())) return parent;
  return dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
}

void SECDockableFrame::ActivateInMainFrame() {
  // Without the library's MDI frame the frame's activation is the window's own.
  if (SECMDIFrameWnd* main = GetMainFrame(); main && main->m_hWnd) main->ActivateDockedFrame(this);
}

// ---- caption filters

void SECDockableFrame::EnableCaptionButtons(DWORD dwFlags) {
  // Table order: 257, 256, 258, 259, 262.
  const BOOL on = (dwFlags & 1) != 0;
  const BOOL values[] = {on, on && !(dwFlags & 2), on && !(dwFlags & 2), on && !(dwFlags & 4), on && !(dwFlags & 8)};
  sec_filters::ApplyCaptionValues(*m_pMsgFilter, m_descriptors, values, 5);
}

LRESULT SECDockableFrame::OfferToFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT ignored = 0;
  // The root outlives this call even when the frame goes during it.
  return m_pMsgFilter->FilterMessage(message, wParam, lParam, pResult ? pResult : &ignored);
}

LRESULT SECDockableFrame::FilterOrDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND self = m_hWnd;
  if (OfferToFilter(message, wParam, lParam) & SECMsgFilter::kHandled) return 0;
  if (!Alive(self, this)) return 0;
  return DefWindowProc(message, wParam, lParam);
}

UINT SECDockableFrame::OnNcHitTest(CPoint point) {
  return static_cast<UINT>(sec_filters::CaptionHit(m_pMsgFilter, SECFrameWnd::OnNcHitTest(point), point));
}

LRESULT SECDockableFrame::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == nsSysCommandEx::GetSysCommandExMessage()) {
    LRESULT result = 0;
    OfferToFilter(message, wParam, lParam, &result);
    return result;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}

// ---- creation

BOOL SECDockableFrame::PreCreateWindow(CREATESTRUCT& cs) {
  if (!SECFrameWnd::PreCreateWindow(cs)) return FALSE;
  // The small caption of a tool window where the system has one.
  if (secData.bWin4) cs.dwExStyle |= WS_EX_TOOLWINDOW;
  cs.style &= ~FWS_PREFIXTITLE;
  return TRUE;
}

BOOL SECDockableFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  auto* tmpl = pContext ? dynamic_cast<SECMultiDocTemplate*>(pContext->m_pNewDocTemplate) : nullptr;
  if (tmpl) m_hMenuOwn = tmpl->m_hMenuDockable;
  if (!SECFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  if (tmpl && tmpl->m_hAccelDockable) m_hAccelTable = tmpl->m_hAccelDockable;
  // A child window has no menu of its own: a menu the load found would only be its id.
  if ((GetStyle() & WS_CHILD) && m_hMenuDefault) {
    ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;
    SetDlgCtrlID(AFX_IDW_PANE_FIRST);
  }
  return TRUE;
}

// ---- title and menu

void SECDockableFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (SECMDIFrameWnd* main = GetMainFrame(); main && main->m_hWnd) main->OnUpdateFrameTitle(TRUE);
  if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) return;
  if (CDocument* doc = GetActiveDocument()) SetDocumentCaption(doc->GetTitle());
}

void SECDockableFrame::UpdateDockedFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) {
  SECMDIFrameWnd* main = GetMainFrame();
  if (!main || !main->m_hWndMDIClient) return;
  const HWND client = main->m_hWndMDIClient;
  HMENU menu = hMenuAlt;
  if (!menu && bActivate) {
    CDocument* doc = GetActiveDocument();
    menu = doc ? doc->GetDefaultMenu() : nullptr;
    if (!menu) {
      if (main->m_pMenuBar) {
        // The menu bar shows the menu: the window itself carries none.
        ::SetMenu(main->m_hWnd, nullptr);
        main->DrawMenuBar();
        main->RefreshWindowMenu();
        return;
      }
      menu = m_hMenuOwn;
    }
    if (!menu) {
      ::SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
      return;
    }
  } else if (!menu) {
    menu = m_hMenuOwn;
    if (!menu) {
      ::SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
      return;
    }
  }
  if (bActivate) {
    ::SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                   reinterpret_cast<LPARAM>(main->GetWindowMenuPopup(menu)));
  } else if (pActivateWnd && pActivateWnd != this) {
    ::SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
  } else {
    // The last one goes: the main frame's own menu comes back.
    HMENU fallback = main->m_hMenuDefault;
    ::SendMessageA(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(fallback),
                   reinterpret_cast<LPARAM>(fallback ? main->GetWindowMenuPopup(fallback) : nullptr));
  }
  main->DrawMenuBar();
}

// ---- keyboard

BOOL SECDockableFrame::PreTranslateMessage(MSG* pMsg) {
  if (m_pMenuPlugIn && m_pMenuPlugIn->m_bPluggedIn && m_pMenuPlugIn->PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE) {
    SECMDIFrameWnd* main = GetMainFrame();
    if (InCustomiseMode() || (main && IsCustomising(main->GetManager()))) return TRUE;
  }
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message >= WM_KEYDOWN && pMsg->message <= WM_SYSDEADCHAR && m_hAccelTable)
    // The commands go to the main window, which routes them to this frame first.
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
      return ::TranslateAcceleratorA(main->m_hWnd, m_hAccelTable, pMsg) != 0;
  return FALSE;
}

// ---- activation

void SECDockableFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  const HWND self = m_hWnd;
  SECFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  if (nState != WA_INACTIVE && Alive(self, this)) ActivateInMainFrame();
}

int SECDockableFrame::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  const int result = SECFrameWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  ActivateInMainFrame();
  return result;
}

void SECDockableFrame::OnParentNotify(UINT message, LPARAM lParam) {
  SECFrameWnd::OnParentNotify(message, lParam);
  const UINT event = LOWORD(message);
  if (event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN) ActivateInMainFrame();
}

// ---- non-client mouse

LRESULT SECDockableFrame::OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam) {
  const HWND self = m_hWnd;
  ActivateInMainFrame();
  if (!Alive(self, this)) return 0;
  if (OfferToFilter(WM_NCLBUTTONDOWN, wParam, lParam) & SECMsgFilter::kHandled) return 0;
  if (!Alive(self, this)) return 0;
  const UINT hit = static_cast<UINT>(wParam);
  CControlBar* bar = GetHoldingBar();
  if (bar && IsFloating()) {
    // The floating frame shows no caption of its own: its moves and sizes start here.
    if (hit != HTCLOSE)
      if (CFrameWnd* floating = bar->GetParentFrame(); floating && floating->m_hWnd) {
        floating->SendMessage(WM_NCLBUTTONDOWN, wParam, lParam);
        return 0;
      }
  } else if (bar && bar->m_pDockContext && (hit == HTCAPTION || (hit >= HTLEFT && hit <= HTBORDER))) {
    bar->m_pDockContext->StartDrag(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
  }
  return DefWindowProc(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT SECDockableFrame::OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM lParam) {
  CControlBar* bar = GetHoldingBar();
  if (wParam != HTCAPTION || !bar) return DefWindowProc(WM_NCLBUTTONDBLCLK, wParam, lParam);
  CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));  // on the screen
  if (IsFloating()) {
    // The floating frame's caption double click (non-client points stay screen points).
    if (CFrameWnd* floating = bar->GetParentFrame(); floating && floating->m_hWnd)
      floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y));
    return 0;
  }
  bar->ScreenToClient(&point);
  bar->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
  return 0;
}

LRESULT SECDockableFrame::OnNcRButtonDownMsg(WPARAM wParam, LPARAM lParam) {
  return FilterOrDefault(WM_NCRBUTTONDOWN, wParam, lParam);
}

LRESULT SECDockableFrame::OnNcRButtonUpMsg(WPARAM wParam, LPARAM lParam) {
  return FilterOrDefault(WM_NCRBUTTONUP, wParam, lParam);
}

LRESULT SECDockableFrame::OnNcRButtonDblClkMsg(WPARAM wParam, LPARAM lParam) {
  return FilterOrDefault(WM_NCRBUTTONDBLCLK, wParam, lParam);
}

LRESULT SECDockableFrame::OnLButtonUpMsg(WPARAM wParam, LPARAM lParam) {
  return FilterOrDefault(WM_LBUTTONUP, wParam, lParam);
}

LRESULT SECDockableFrame::OnMouseMoveMsg(WPARAM wParam, LPARAM lParam) {
  return FilterOrDefault(WM_MOUSEMOVE, wParam, lParam);
}

// ---- caption painting

LRESULT SECDockableFrame::OnNcActivateMsg(WPARAM wParam, LPARAM lParam) {
  const HWND self = m_hWnd;
  const LRESULT result = DefWindowProc(WM_NCACTIVATE, wParam, lParam);
  if (Alive(self, this)) OfferToFilter(WM_NCACTIVATE, wParam, lParam);
  return result;
}

LRESULT SECDockableFrame::OnNcPaintMsg(WPARAM wParam, LPARAM lParam) {
  const HWND self = m_hWnd;
  SECFrameWnd::OnNcPaint();
  if (Alive(self, this)) OfferToFilter(WM_NCPAINT, wParam, lParam);
  return 0;
}

LRESULT SECDockableFrame::OnSetTextMsg(WPARAM wParam, LPARAM lParam) {
  const HWND self = m_hWnd;
  const LRESULT result = Default();
  if (Alive(self, this)) OfferToFilter(WM_SETTEXT, wParam, lParam);
  return result;
}

// ---- going away

BOOL SECDockableFrame::DestroyWindow() {
  // The bar goes with the frame inside it; nothing of this frame is touched afterwards,
  // since the bar's destruction deletes it.
  if (m_hWnd)
    if (CControlBar* bar = GetHoldingBar()) return bar->DestroyWindow();
  return SECFrameWnd::DestroyWindow();
}

void SECDockableFrame::OnDestroy() {
  SECMDIFrameWnd* main = GetMainFrame();
  if (main && main->m_hWnd && main->GetActiveDockedFrame() == this) {
    if (HasOtherVisibleMDIChild(this)) {
      // The MDI child takes over, with its menu.
      main->DeactivateDockedFrame(TRUE);
      main->OnUpdateFrameMenu(nullptr);
    } else if (!ActivateNextDockableFrame(this)) {
      main->DeactivateDockedFrame(TRUE);
      UpdateDockedFrameMenu(FALSE, nullptr, nullptr);
    }
  }
  SECFrameWnd::OnDestroy();
}
