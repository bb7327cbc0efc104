#include "SECMDIChildWnd.h"

#include <iterator>

#include "SECFilterTables.h"
#include "SECFrameFilter.h"
#include "SECMDIFrameWnd.h"
#include "ScxMsgFilter.h"

IMPLEMENT_DYNCREATE(SECMDIChildWnd, CMDIChildWnd)

namespace {
const UINT g_sysCommandEx = nsSysCommandEx::GetSysCommandExMessage();
}  // namespace

BEGIN_MESSAGE_MAP(SECMDIChildWnd, CMDIChildWnd)
  ON_WM_NCACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_CHILDACTIVATE()
  ON_WM_PARENTNOTIFY()
  ON_WM_SIZE()
  ON_WM_MDIACTIVATE()
  ON_WM_DESTROY()
  ON_WM_SETCURSOR()
  ON_WM_NCPAINT()
  ON_WM_NCHITTEST()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_NCLBUTTONDOWN, OnFilteredMouse)
  ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredMouse)
  ON_MESSAGE(WM_NCRBUTTONUP, OnFilteredMouse)
  ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredMouse)
  ON_MESSAGE(WM_LBUTTONUP, OnFilteredMouse)
  ON_MESSAGE(WM_MOUSEMOVE, OnFilteredMouse)
  ON_REGISTERED_MESSAGE(g_sysCommandEx, OnSysCommandEx)
END_MESSAGE_MAP()

SECMDIChildWnd::SECMDIChildWnd() : m_pMsgFilter(new SECMsgFilter(this, SECMsgFilter::kNoParent)) {
  sec_filters::FillMDIChildTable(m_descriptors);
}

SECMDIChildWnd::~SECMDIChildWnd() {
  // Not before the outermost filter at work returns: a caption button may be moving us.
  SECMsgFilter::DeleteRoot(m_pMsgFilter);
}

SECMDIFrameWnd* SECMDIChildWnd::GetSECMDIFrame() const { return dynamic_cast<SECMDIFrameWnd*>(GetMDIFrame()); }

BOOL SECMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  dwDefaultStyle |= WS_CHILD;
  auto* main = dynamic_cast<SECMDIFrameWnd*>(pParentWnd ? pParentWnd : AfxGetMainWnd());
  const BOOL menuBarMode = main && main->m_pMenuBar;
  auto* tmpl = pContext ? dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate) : nullptr;
  if (tmpl) {
    if (menuBarMode) m_nMenuBarId = tmpl->m_nIDResource;
  } else if (nIDResource && menuBarMode) {
    m_nMenuBarId = nIDResource;
  }
  m_bUsesMenuBar = menuBarMode;
  if (!CMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  // The menu bar shows the template's menu: the window gets none of it.
  if (menuBarMode) m_hMenuShared = nullptr;
  return TRUE;
}

BOOL SECMDIChildWnd::OnNcActivate(BOOL bActive) {
  // Active-looking only while no docked frame of the main frame is the active one.
  if (bActive) {
    if (SECMDIFrameWnd* frame = GetSECMDIFrame()) {
      CFrameWnd* docked = frame->GetActiveDockedFrame();
      if (docked && !dynamic_cast<SECMDIChildWnd*>(docked)) bActive = FALSE;
    }
  }
  const BOOL result = static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
  sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
  return result;
}

BOOL SECMDIChildWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  const BOOL result = CMDIChildWnd::OnSetCursor(pWnd, nHitTest, message);
  // Sizing borders: the caption's buttons are drawn again over what the sizing look left.
  if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
  return result;
}

UINT SECMDIChildWnd::OnNcHitTest(CPoint point) {
  return static_cast<UINT>(sec_filters::CaptionHit(m_pMsgFilter, CMDIChildWnd::OnNcHitTest(point), point));
}

void SECMDIChildWnd::OnNcPaint() {
  Default();
  sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
}

LRESULT SECMDIChildWnd::OnSetText(WPARAM, LPARAM) {
  const LRESULT result = Default();
  sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
  return result;
}

// The caption's clicks, and the mouse while one of its buttons is held, go to the filters
// first; the child's own handling only when none of them took the message. A filter may
// have moved the document and taken this child away: nothing of it is touched then.
LRESULT SECMDIChildWnd::OnFilteredMouse(WPARAM, LPARAM) {
  return sec_filters::OfferFirst(m_hWnd, m_pMsgFilter) ? 0 : Default();
}

LRESULT SECMDIChildWnd::OnSysCommandEx(WPARAM, LPARAM) { return sec_filters::HandRequest(m_pMsgFilter); }

void SECMDIChildWnd::ActivateAsChild(BOOL bMouse) {
  SECMDIFrameWnd* frame = GetSECMDIFrame();
  if (frame) frame->DeactivateDockedFrame(FALSE);
  if (frame && frame->MDIGetActive() != this) MDIActivate();
  if (CView* view = GetActiveView()) {
    HWND focus = ::GetFocus();
    if (!(view->m_hWnd && (focus == view->m_hWnd || ::IsChild(view->m_hWnd, focus)))) view->SetFocus();
  }
  SendMessage(WM_NCACTIVATE, TRUE);
  OnUpdateFrameTitle(TRUE);
  RefreshFrameMenu(this);
  if (frame && frame->m_pMenuBar) {
    frame->m_pMenuBar->Invalidate();
    if (bMouse && m_nMenuBarId) frame->SelectMenuBarMenu(m_nMenuBarId);
  }
}

int SECMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  int result = CMDIChildWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (result != MA_NOACTIVATE && result != MA_NOACTIVATEANDEAT) ActivateAsChild(TRUE);
  return result;
}

void SECMDIChildWnd::OnChildActivate() {
  Default();
  ActivateAsChild(FALSE);
}

void SECMDIChildWnd::OnParentNotify(UINT message, LPARAM lParam) {
  CMDIChildWnd::OnParentNotify(message, lParam);
  const UINT event = LOWORD(message);
  if (event != WM_LBUTTONDOWN && event != WM_RBUTTONDOWN) return;
  CView* view = GetActiveView();
  HWND focus = ::GetFocus();
  if (view && view->m_hWnd && (focus == view->m_hWnd || ::IsChild(view->m_hWnd, focus))) return;
  ActivateAsChild(FALSE);
}

void SECMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  if (nType == SIZE_RESTORED || nType == SIZE_MINIMIZED || nType == SIZE_MAXIMIZED)
    if (SECMDIFrameWnd* frame = GetSECMDIFrame(); frame && frame->m_pMenuBar) frame->AdjustMenuBarForChild();
  CMDIChildWnd::OnSize(nType, cx, cy);
}

void SECMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
  CMDIChildWnd::OnMDIActivate(bActivate, pActivateWnd, pDeactivateWnd);
  SECMDIFrameWnd* frame = GetSECMDIFrame();
  if (!frame || !frame->m_pMenuBar) return;
  if (bActivate) {
    if (m_nMenuBarId) frame->SelectMenuBarMenu(m_nMenuBarId);
  } else if (!pActivateWnd) {
    frame->SelectMenuBarMenu(static_cast<UINT>(-1));
  }
}

void SECMDIChildWnd::OnDestroy() {
  // A maximised child takes its controls from the main frame's bar: the frame is
  // measured again.
  if (IsZoomed())
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd)
      main->SetWindowPos(nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  CMDIChildWnd::OnDestroy();
}

void SECMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) {
  m_hLastAltMenu = hMenuAlt;
  SECMDIFrameWnd* frame = GetSECMDIFrame();
  // The last child goes while a docked frame is the active one: that frame's menu stays.
  if (!bActive && !pActivateWnd && frame && frame->GetActiveDockedFrame()) {
    frame->OnUpdateFrameMenu(nullptr);
    return;
  }
  if (frame && frame->m_pMenuBar) {
    if (bActive && !hMenuAlt && !m_hMenuShared) {
      ::SetMenu(frame->m_hWnd, nullptr);
      frame->DrawMenuBar();
    }
    frame->RefreshWindowMenu();
    return;
  }
  CMDIChildWnd::OnUpdateFrameMenu(bActive, pActivateWnd, hMenuAlt);
}

void SECMDIChildWnd::RefreshFrameMenu(CWnd* pWnd) { OnUpdateFrameMenu(TRUE, pWnd, m_hLastAltMenu); }

void SECMDIChildWnd::EnableCaptionButtons(DWORD dwFlags) {
  // Table order: 257, 256, 258, 259, 262.
  const BOOL on = (dwFlags & 1) != 0;
  const BOOL values[] = {on, on && !(dwFlags & 2), on && !(dwFlags & 2), on && !(dwFlags & 4), on && !(dwFlags & 8)};
  sec_filters::ApplyCaptionValues(*m_pMsgFilter, m_descriptors, values, static_cast<INT_PTR>(std::size(values)));
}
