#include "afxwin.h"
#include "CMDIChildWnd.h"

#include "CDocument.h"
#include "CMDIFrameWnd.h"
#include "CMultiDocTemplate.h"
#include "CWinApp.h"

IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_MDIACTIVATE()
  ON_WM_MOUSEACTIVATE()
  ON_WM_SIZE()
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

void CMDIChildWnd::OnSize(UINT nType, int cx, int cy) {
  CFrameWnd::OnSize(nType, cx, cy);
  // Maximised or not, the frame's title shows this child differently.
  if (CMDIFrameWnd* frame = GetMDIFrame(); frame && frame->m_hWnd) frame->OnUpdateFrameTitle(TRUE);
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext) {
  if (!pParentWnd) pParentWnd = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  if (!pParentWnd || !pParentWnd->m_hWndMDIClient) {
    PostNcDestroy();
    return FALSE;
  }
  CREATESTRUCT cs{pContext, AfxGetInstanceHandle(), nullptr, pParentWnd->m_hWndMDIClient,
                  Extent(rect.top, rect.bottom), Extent(rect.left, rect.right), static_cast<int>(rect.top),
                  static_cast<int>(rect.left), static_cast<LONG>(dwStyle | WS_CHILD), lpszWindowName, lpszClassName, 0};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  // The child is shown and activated by the frame's activation, after its views exist.
  MDICREATESTRUCTA mcs{cs.lpszClass, cs.lpszName, cs.hInstance, cs.x, cs.y, cs.cx, cs.cy,
                       static_cast<DWORD>(cs.style & ~(WS_VISIBLE | WS_MAXIMIZE)), reinterpret_cast<LPARAM>(pContext)};
  AfxHookWindowCreate(this);
  HWND h = reinterpret_cast<HWND>(
      ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (!AfxUnhookWindowCreate()) PostNcDestroy();  // never made: undone as if destroyed
  if (!h) return FALSE;
  if (cs.style & WS_VISIBLE) {
    ShowWindow((cs.style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    MDIActivate();
  }
  return TRUE;
}

BOOL CMDIChildWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  // Every frame of a multi-document template shares its menu and accelerators.
  if (pContext) {
    if (auto* tmpl = dynamic_cast<CMultiDocTemplate*>(pContext->m_pNewDocTemplate)) {
      m_hMenuShared = tmpl->m_hMenuShared;
      m_hAccelTable = tmpl->m_hAccelTable;
    }
  }
  LPCSTR lpszClass = nullptr;
  if (HICON hIcon = plat::afx::LoadFrameIcon(AfxGetResourceHandle(), nIDResource))
    lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), hIcon);
  if (!Create(lpszClass, nullptr, dwDefaultStyle | WS_CHILD, rectDefault, dynamic_cast<CMDIFrameWnd*>(pParentWnd),
              pContext))
    return FALSE;
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpcs) {
  // The creation context travels inside the MDI creation record.
  CREATESTRUCT cs = *lpcs;
  auto* mcs = static_cast<MDICREATESTRUCTA*>(lpcs->lpCreateParams);
  cs.lpCreateParams = mcs ? reinterpret_cast<LPVOID>(mcs->lParam) : nullptr;
  return CFrameWnd::OnCreate(&cs);
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const {
  HWND client = ::GetParent(m_hWnd);
  return client ? dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandlePermanent(::GetParent(client))) : nullptr;
}

void CMDIChildWnd::MDIDestroy() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0); }
void CMDIChildWnd::MDIActivate() {
  ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIMaximize() {
  ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}
void CMDIChildWnd::MDIRestore() {
  ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CMDIChildWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  // Through the client, so that the next child takes the activation and the list.
  MDIDestroy();
  return TRUE;
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::ActivateFrame(int nCmdShow) {
  BOOL maximised = FALSE;
  CMDIFrameWnd* frame = GetMDIFrame();
  CMDIChildWnd* active = frame ? frame->MDIGetActive(&maximised) : nullptr;
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = (active && active != this && maximised) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) ShowWindow(nCmdShow);
  MDIActivate();
}

BOOL CMDIChildWnd::PreTranslateMessage(MSG* pMsg) {
  // The main frame translates this frame's accelerators; keys stop here.
  return CWnd::PreTranslateMessage(pMsg);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  // The child's caption is its document's title, numbered when it has several frames.
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && doc && (GetStyle() & FWS_ADDTOTITLE)) SetDocumentCaption(doc->GetTitle());
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(bAddToTitle);
}

void CMDIChildWnd::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) {
  CMDIFrameWnd* frame = GetMDIFrame();
  if (!frame) return;
  if (!hMenuAlt && bActive) hMenuAlt = m_hMenuShared;
  if (bActive) {
    if (hMenuAlt) frame->MDISetMenu(CMenu::FromHandle(hMenuAlt), CMenu::FromHandle(frame->GetWindowMenuPopup(hMenuAlt)));
  } else if (!pActivateWnd && frame->m_hMenuDefault) {
    // The last child went: the frame's own menu comes back.
    frame->MDISetMenu(CMenu::FromHandle(frame->m_hMenuDefault),
                      CMenu::FromHandle(frame->GetWindowMenuPopup(frame->m_hMenuDefault)));
  }
  frame->DrawMenuBar();
}

void CMDIChildWnd::OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd) {
  CView* view = GetActiveView();
  if (!bActivate && view) view->OnActivateView(FALSE, view, view);
  OnUpdateFrameMenu(bActivate, pActivateWnd, nullptr);
  if (bActivate && view) view->OnActivateView(TRUE, view, view);
  if (CMDIFrameWnd* frame = GetMDIFrame()) frame->OnUpdateFrameTitle(TRUE);
}

int CMDIChildWnd::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
  return static_cast<int>(Default());
}

LRESULT CMDIChildWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam) {
  // Only a context this frame knows: the frame asks further otherwise.
  if (lParam == 0) return FALSE;
  return CFrameWnd::OnCommandHelp(wParam, lParam);
}
