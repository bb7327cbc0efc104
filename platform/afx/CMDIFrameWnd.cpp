#include "afxwin.h"
#include "CMDIFrameWnd.h"

#include "CDocTemplate.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CWinApp.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
  ON_WM_DESTROY()
  ON_COMMAND_EX(ID_WINDOW_ARRANGE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_CASCADE, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_HORZ, OnMDIWindowCmd)
  ON_COMMAND_EX(ID_WINDOW_TILE_VERT, OnMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_ARRANGE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_CASCADE, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_HORZ, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_TILE_VERT, OnUpdateMDIWindowCmd)
  ON_UPDATE_COMMAND_UI(ID_WINDOW_NEW, OnUpdateMDIWindowCmd)
  ON_COMMAND(ID_WINDOW_NEW, OnWindowNew)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar) {
  if (!hMenuBar || !::IsMenu(hMenuBar)) return nullptr;
  // The popup that holds a window command, looked for from the right.
  for (int i = ::GetMenuItemCount(hMenuBar) - 1; i >= 0; --i) {
    HMENU popup = ::GetSubMenu(hMenuBar, i);
    if (!popup) continue;
    for (int k = 0, n = ::GetMenuItemCount(popup); k < n; ++k) {
      UINT id = ::GetMenuItemID(popup, k);
      if (id >= AFX_IDM_WINDOW_FIRST && id <= AFX_IDM_WINDOW_LAST) return popup;
    }
  }
  return nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*) {
  CMenu* menu = nullptr;
  if (HMENU bar = ::GetMenu(m_hWnd)) {
    if (HMENU popup = GetWindowMenuPopup(bar)) menu = CMenu::FromHandle(popup);
  }
  return CreateClient(lpcs, menu);
}

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu) {
  CLIENTCREATESTRUCT ccs{pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr, AFX_IDM_FIRST_MDICHILD};
  DWORD exStyle = 0;
  // The sunken edge belongs to the client, around the children.
  if (GetExStyle() & WS_EX_CLIENTEDGE) {
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    exStyle = WS_EX_CLIENTEDGE;
  }
  m_hWndMDIClient = ::CreateWindowExA(
      exStyle, "MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES,
      0, 0, 0, 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), AfxGetInstanceHandle(),
      &ccs);
  return m_hWndMDIClient != nullptr;
}

void CMDIFrameWnd::OnDestroy() {
  CFrameWnd::OnDestroy();
  m_hWndMDIClient = nullptr;  // destroyed with the frame's children
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWndActivate)), 0);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const {
  BOOL maximised = FALSE;
  HWND h = m_hWndMDIClient
               ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)))
               : nullptr;
  auto* child = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(h));
  if (pbMaximized) *pbMaximized = child ? maximised : FALSE;
  return child;
}

void CMDIFrameWnd::MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
void CMDIFrameWnd::MDIMaximize(CWnd* pWnd) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWnd)), 0);
}
void CMDIFrameWnd::MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
void CMDIFrameWnd::MDIPrev() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
void CMDIFrameWnd::MDIRestore(CWnd* pWnd) {
  ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(CWnd::SafeHwndOf(pWnd)), 0);
}
CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu) {
  auto old = reinterpret_cast<HMENU>(::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                                    reinterpret_cast<WPARAM>(pFrameMenu ? pFrameMenu->GetSafeHmenu() : nullptr),
                                                    reinterpret_cast<LPARAM>(pWindowMenu ? pWindowMenu->GetSafeHmenu() : nullptr)));
  return old ? CMenu::FromHandle(old) : nullptr;
}
void CMDIFrameWnd::MDITile() { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, 0, 0); }
void CMDIFrameWnd::MDITile(int nType) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, static_cast<WPARAM>(nType), 0); }
void CMDIFrameWnd::MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
void CMDIFrameWnd::MDICascade(int nType) {
  ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, static_cast<WPARAM>(nType), 0);
}

BOOL CMDIFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  cs.style &= ~FWS_PREFIXTITLE;
  return TRUE;
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame() {
  CMDIChildWnd* child = MDIGetActive();
  return child ? static_cast<CFrameWnd*>(child) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active document frame (its view and document) first.
  if (CMDIChildWnd* child = MDIGetActive(); child && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
  // Menu commands of the system range (the window list, the maximised child's buttons)
  // belong to the MDI machinery.
  if (lParam == 0 && (LOWORD(wParam) & 0xF000) == 0xF000) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
    // The active child's accelerators, then the MDI keys, then the frame's own.
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->m_hAccelTable && plat::afx::TranslateFrameAccelerator(m_hWnd, child->m_hAccelTable, pMsg))
      return TRUE;
    if (m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
    if (m_hAccelTable && plat::afx::TranslateFrameAccelerator(m_hWnd, m_hAccelTable, pMsg)) return TRUE;
    return FALSE;
  }
  return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (CMDIChildWnd* child = MDIGetActive()) {
    child->OnUpdateFrameMenu(TRUE, child, hMenuAlt);
    return;
  }
  HMENU menu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
  if (menu) MDISetMenu(CMenu::FromHandle(menu), nullptr);
}

void CMDIFrameWnd::DelayUpdateFrameMenu(HMENU hMenuAlt) {
  OnUpdateFrameMenu(hMenuAlt);
  m_nIdleFlags |= idleMenu;
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CMDIChildWnd* child = MDIGetActive();
  CDocument* doc = child ? child->GetActiveDocument() : nullptr;
  // A maximised child's title shows in brackets after the frame's own already.
  if (bAddToTitle && child && !(child->GetStyle() & WS_MAXIMIZE) && doc) {
    UpdateFrameTitleForDocument(doc->GetTitle());
    return;
  }
  CString title;
  if (bAddToTitle && child) child->GetWindowText(title);
  UpdateFrameTitleForDocument(bAddToTitle && child && !(child->GetStyle() & WS_MAXIMIZE) && !title.IsEmpty()
                                  ? static_cast<LPCSTR>(title)
                                  : nullptr);
}

BOOL CMDIFrameWnd::OnMDIWindowCmd(UINT nID) {
  switch (nID) {
    case ID_WINDOW_ARRANGE: MDIIconArrange(); break;
    case ID_WINDOW_CASCADE: MDICascade(); break;
    case ID_WINDOW_TILE_HORZ: MDITile(MDITILE_HORIZONTAL); break;
    case ID_WINDOW_TILE_VERT: MDITile(MDITILE_VERTICAL); break;
    default: return FALSE;
  }
  return TRUE;
}

void CMDIFrameWnd::OnUpdateMDIWindowCmd(CCmdUI* pCmdUI) { pCmdUI->Enable(MDIGetActive() != nullptr); }

void CMDIFrameWnd::OnWindowNew() {
  // Another frame on the active document.
  CMDIChildWnd* active = MDIGetActive();
  CDocument* doc = active ? active->GetActiveDocument() : nullptr;
  CDocTemplate* tmpl = doc ? doc->GetDocTemplate() : nullptr;
  if (!tmpl) return;
  CFrameWnd* frame = tmpl->CreateNewFrame(doc, active);
  if (frame) tmpl->InitialUpdateFrame(frame, doc);
}

LRESULT CMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam) {
  // The active document frame may know better.
  if (CMDIChildWnd* child = MDIGetActive(); child && child->SendMessage(WM_COMMANDHELP, wParam, lParam)) return TRUE;
  return CFrameWnd::OnCommandHelp(wParam, lParam);
}
