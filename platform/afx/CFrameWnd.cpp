#include <algorithm>
#include <cstring>

#include "afxwin.h"
#include "CFrameWnd.h"
#include "AfxPrintIds.h"
#include "CPreviewView.h"
#include "CMiniFrameWnd.h"

#include "CDocTemplate.h"
#include "CDocument.h"
#include "CView.h"
#include "CWinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_SETFOCUS()
  ON_WM_ERASEBKGND()
  ON_WM_ACTIVATE()
  ON_WM_NCACTIVATE()
  ON_WM_ENABLE()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
  ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXT, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL AfxExtractSubString(CString& rString, LPCSTR lpszFullString, int iSubString, char chSep) {
  rString.Empty();
  if (!lpszFullString) return FALSE;
  const char* p = lpszFullString;
  for (; iSubString > 0; --iSubString) {
    p = strchr(p, chSep);
    if (!p) return FALSE;
    ++p;
  }
  const char* end = strchr(p, chSep);
  rString = end ? CString(p, static_cast<int>(end - p)) : CString(p);
  return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    CWnd::PreCreateWindow(cs);  // registers the framework's classes
    cs.lpszClass = _afxWndFrameOrView;
  }
  if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;  // "document - application"
  cs.dwExStyle |= WS_EX_CLIENTEDGE;
  return TRUE;
}

void CFrameWnd::PostNcDestroy() { delete this; }

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
  HMENU hMenu = nullptr;
  if (lpszMenuName) {
    hMenu = IS_INTRESOURCE(lpszMenuName)
                ? plat::afx::LoadFrameMenu(AfxGetResourceHandle(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszMenuName)))
                : nullptr;
    if (!hMenu) {
      PostNcDestroy();
      return FALSE;
    }
  }
  m_strTitle = lpszWindowName ? lpszWindowName : "";
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, Extent(rect.left, rect.right),
                  Extent(rect.top, rect.bottom), CWnd::SafeHwndOf(pParentWnd), hMenu, pContext);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDHelp = nIDResource;
  CString full;
  if (AfxLoadString(nIDResource, full)) AfxExtractSubString(m_strTitle, full, 0);
  HINSTANCE hInst = AfxGetResourceHandle();
  HICON hIcon = plat::afx::LoadFrameIcon(hInst, nIDResource);
  LPCSTR lpszClass = nullptr;
  if (hIcon) {
    // A class of its own, so the frame shows the resource's icon.
    lpszClass = AfxRegisterWndClass(CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), hIcon);
  }
  HMENU hMenu = plat::afx::LoadFrameMenu(hInst, nIDResource);
  m_hMenuDefault = hMenu;
  CString title = m_strTitle;
  if (!CreateEx(0, lpszClass, title, dwDefaultStyle, rectDefault.left, rectDefault.top,
                Extent(rectDefault.left, rectDefault.right), Extent(rectDefault.top, rectDefault.bottom),
                CWnd::SafeHwndOf(pParentWnd), hMenu, pContext))
    return FALSE;  // the object is gone (PostNcDestroy)
  m_hAccelTable = plat::afx::LoadFrameAccelerators(hInst, nIDResource);
  if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
  if (!OnCreateClient(lpcs, context)) return -1;
  PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
  if (!pContext || !pContext->m_pNewViewClass) return nullptr;
  std::unique_ptr<CObject> object(pContext->m_pNewViewClass->CreateObject());
  auto* view = dynamic_cast<CWnd*>(object.get());
  if (!view) return nullptr;
  object.release();  // a view that fails to be created deletes itself (PostNcDestroy)
  if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext)) return nullptr;
  // The view's sunken edge replaces the frame's own.
  if (view->GetExStyle() & WS_EX_CLIENTEDGE) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return view;
}

CDocument* CFrameWnd::GetActiveDocument() {
  CView* view = GetActiveView();
  return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
  CView* old = m_pViewActive;
  if (pViewNew == old) return;
  m_pViewActive = nullptr;
  if (old && bNotify) old->OnActivateView(FALSE, pViewNew, old);
  m_pViewActive = pViewNew;
  if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

void CFrameWnd::RecalcLayout(BOOL) {
  if (m_bInRecalcLayout) return;
  m_bInRecalcLayout = TRUE;
  m_nIdleFlags &= ~(idleLayout | idleNotify);
  if (GetStyle() & FWS_SNAPTOBARS) {
    // The frame takes the size its bars want (a floating bar's frame).
    CRect rect(0, 0, 32767, 32767);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
    CalcWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
  } else {
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
  }
  m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (m_nIdleFlags & idleMenu) OnUpdateFrameMenu(nullptr);
  if (m_nIdleFlags & idleLayout) {
    RecalcLayout(m_nIdleFlags & idleNotify);
    UpdateWindow();
  }
  if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
  m_nIdleFlags = 0;
  return 0;
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
  if (m_pViewActive && m_pViewActive->m_hWnd)
    m_pViewActive->SetFocus();
  else
    CWnd::OnSetFocus(pOldWnd);
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* pDC) {
  if (m_pViewActive) return TRUE;  // the view paints the whole client area
  return CWnd::OnEraseBkgnd(pDC);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
  if (nCmdShow == -1) {
    if (!IsWindowVisible())
      nCmdShow = SW_SHOWNORMAL;
    else if (IsIconic())
      nCmdShow = SW_RESTORE;
  }
  if (nCmdShow != -1) {
    ShowWindow(nCmdShow);
    BringWindowToTop();
  }
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
  CView* view = nullptr;
  if (!GetActiveView()) {
    CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pane && pane->IsKindOf(RUNTIME_CLASS(CView))) {
      view = static_cast<CView*>(pane);
      SetActiveView(view, FALSE);
    }
  }
  if (bMakeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (view) view->OnActivateView(TRUE, view, view);
    int nCmdShow = -1;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
      nCmdShow = app->m_nCmdShow;  // shown as the program was asked to start, once
      app->m_nCmdShow = -1;
    }
    ActivateFrame(nCmdShow);
    if (view) view->OnActivateView(TRUE, view, view);
  }
  if (pDoc) pDoc->UpdateFrameCounts();
  OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CDocument* doc = GetActiveDocument();
  if (bAddToTitle && doc)
    UpdateFrameTitleForDocument(doc->GetTitle());
  else
    UpdateFrameTitleForDocument(nullptr);
}

namespace {

CString NumberedName(LPCSTR lpszDocName, int nWindow) {
  CString doc = lpszDocName;
  if (nWindow > 0) {
    CString n;
    n.Format(":%d", nWindow);
    doc += n;
  }
  return doc;
}

void SetCaptionIfChanged(CWnd& wnd, const CString& title) {
  CString current;
  wnd.GetWindowText(current);
  if (current != title) wnd.SetWindowText(title);  // avoids needless caption redraws
}

}  // namespace

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
  CString title;
  if (lpszDocName && *lpszDocName) {
    const CString doc = NumberedName(lpszDocName, m_nWindow);
    if (GetStyle() & FWS_PREFIXTITLE)
      title = doc + " - " + m_strTitle;
    else
      title = m_strTitle + " - " + doc;
  } else {
    title = m_strTitle;
  }
  SetCaptionIfChanged(*this, title);
}

void CFrameWnd::SetDocumentCaption(LPCSTR lpszDocName) {
  SetCaptionIfChanged(*this, NumberedName(lpszDocName, m_nWindow));
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
  CString full;
  rMessage.Empty();
  if (AfxLoadString(nID, full)) AfxExtractSubString(rMessage, full, 0);  // the prompt, before its tool tip
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<TOOLTIPTEXT*>(pNMHDR);
  UINT_PTR nID = pNMHDR->idFrom;
  if (info->uFlags & TTF_IDISHWND) nID = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
  if (nID == 0 || nID > 0xFFFF) return FALSE;  // not a command or control of this frame
  CString full, tip;
  if (AfxLoadString(static_cast<UINT>(nID), full)) AfxExtractSubString(tip, full, 1);  // the tip, after the prompt
  // The record holds 79 bytes of text: cut before a character that does not fit whole.
  size_t n = std::min<size_t>(static_cast<size_t>(tip.GetLength()), sizeof info->szText - 1);
  LPCSTR text = tip;
  if (n < static_cast<size_t>(tip.GetLength()))
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  memcpy(info->szText, text, n);
  info->szText[n] = '\0';
  if (pResult) *pResult = 0;
  return TRUE;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
  UINT last = m_nIDLastMessage;
  if (CWnd* bar = GetMessageBar()) {
    CString message;
    LPCSTR text = nullptr;
    if (lParam)
      text = reinterpret_cast<LPCSTR>(lParam);
    else if (wParam) {
      GetMessageString(static_cast<UINT>(wParam), message);
      text = message;
    }
    bar->SetWindowText(text ? text : "");
  }
  m_nIDLastMessage = static_cast<UINT>(wParam);
  m_nIDTracking = static_cast<UINT>(wParam);
  return last;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
  if (nFlags == 0xFFFF && !hSysMenu) {
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
  } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
    m_nIDTracking = 0;
  } else if (nItemID >= 0xF000 && nItemID < 0xF1F0) {
    m_nIDTracking = ((nItemID - 0xF000) >> 4) + AFX_IDS_SCFIRST;  // system commands have their own prompts
  } else {
    m_nIDTracking = nItemID;
  }
  if (m_nIDTracking != m_nIDLastMessage) SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
  if (bSysMenu || !pMenu) return;
  plat::afx::UpdateMenuCmdUI(this, pMenu, m_bAutoMenuEnable);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active view (and through it the document) first, then the frame, then the application.
  CView* view = GetActiveView();
  if (view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
      plat::afx::TranslateFrameAccelerator(m_hWnd, m_hAccelTable, pMsg))
    return TRUE;
  return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::OnClose() {
  // A print preview in the frame is what a close ends: the frame stays.
  if (auto* preview = dynamic_cast<CPreviewView*>(GetActiveView())) {
    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    return;
  }
  CDocument* doc = GetActiveDocument();
  if (doc && !doc->CanCloseFrame(this)) return;
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    if (!doc && !app->SaveAllModified()) return;
    app->CloseAllDocuments(FALSE);
    if (!app->m_pMainWnd) return;  // closing the documents destroyed this frame
  }
  if (doc && doc->m_bAutoDelete) {
    // The document goes with its last frame.
    BOOL otherFrame = FALSE;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;) {
      CView* v = doc->GetNextView(pos);
      if (v->m_hWnd && v->GetParentFrame() != this) otherFrame = TRUE;
    }
    if (!otherFrame) {
      doc->OnCloseDocument();
      return;
    }
    doc->PreCloseFrame(this);
  }
  DestroyWindow();
}

void CFrameWnd::OnDestroy() {
  DestroyDockBars();
  CWnd::OnDestroy();
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam) {
  return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::BeginModalState() {
  if (m_cModalStack++ > 0) return;
  // Every enabled top-level window of this thread that belongs to the frame.
  CWnd* top = GetTopLevelParent();
  HWND topHwnd = top ? top->m_hWnd : m_hWnd;
  for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    if (!::IsWindowEnabled(h) || !FromHandlePermanent(h)) continue;
    HWND owner = h;
    while (owner && owner != topHwnd) owner = ::GetWindow(owner, GW_OWNER);
    if (!owner) continue;
    if (::SendMessageA(h, WM_DISABLEMODAL, 0, 0) != 0) continue;  // the window stays enabled
    ::EnableWindow(h, FALSE);
    m_disabledForModal.push_back(h);
  }
}

void CFrameWnd::EndModalState() {
  if (m_cModalStack == 0 || --m_cModalStack > 0) return;
  for (auto it = m_disabledForModal.rbegin(); it != m_disabledForModal.rend(); ++it)
    if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
  m_disabledForModal.clear();
}

// ---- activation shared with floating frames

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CWnd::OnActivate(nState, pWndOther, bMinimized);
  const BOOL active = nState != WA_INACTIVE;
  // A floating frame of this frame taking the activation keeps this one looking active.
  BOOL toFloating = FALSE;
  if (!active && pWndOther && pWndOther->m_hWnd &&
      (::GetParent(pWndOther->m_hWnd) == m_hWnd || ::GetWindow(pWndOther->m_hWnd, GW_OWNER) == m_hWnd))
    toFloating = static_cast<BOOL>(pWndOther->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));
  if (toFloating)
    m_nFlags |= WF_STAYACTIVE;
  else
    m_nFlags &= ~WF_STAYACTIVE;
  NotifyFloatingWindows(active || toFloating ? FS_ACTIVATE : FS_DEACTIVATE);
  if (toFloating) SendMessage(WM_NCACTIVATE, TRUE);
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive) {
  if ((m_nFlags & WF_STAYACTIVE) && IsWindowEnabled()) bActive = TRUE;
  return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive, 0));
}

void CFrameWnd::OnEnable(BOOL bEnable) {
  CWnd::OnEnable(bEnable);
  if (GetStyle() & WS_CHILD || ::GetWindow(m_hWnd, GW_OWNER)) return;
  if (!bEnable && !InModalState()) {
    m_bModalDisable = true;
    BeginModalState();
  } else if (bEnable && m_bModalDisable) {
    m_bModalDisable = false;
    EndModalState();
  }
  if (bEnable && (::GetActiveWindow() == m_hWnd || (m_nFlags & WF_STAYACTIVE))) NotifyFloatingWindows(FS_ACTIVATE);
}

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam) {
  if (lParam == 0) lParam = static_cast<LPARAM>(IsTracking() ? HID_BASE_COMMAND + m_nIDTracking : HID_BASE_RESOURCE + m_nIDHelp);
  if (lParam == 0) return FALSE;
  if (CWinApp* app = AfxGetApp()) app->WinHelp(static_cast<DWORD_PTR>(lParam), HELP_CONTEXT);
  return TRUE;
}

BOOL CFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
  switch (nBorderCmd) {
    case borderGet:
      if (!lpRectBorder) return FALSE;
      // The client area that the bars leave.
      RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, lpRectBorder);
      return TRUE;
    case borderRequest:
      return TRUE;
    case borderSet:
      if (!lpRectBorder) {
        if (!m_rectBorder.IsRectNull()) {
          m_rectBorder.SetRectEmpty();
          RecalcLayout();
        }
        return TRUE;
      }
      if (!::EqualRect(&m_rectBorder, lpRectBorder)) {
        m_rectBorder = *lpRectBorder;
        RecalcLayout();
      }
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
  CControlBar* bar = GetControlBar(nID);
  if (!bar) return FALSE;
  ShowControlBar(bar, (bar->GetStyle() & WS_VISIBLE) == 0, FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
  CControlBar* bar = GetControlBar(pCmdUI->m_nID);
  if (!bar) {
    pCmdUI->ContinueRouting();
    return;
  }
  pCmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}
