#include "SECMDIFrameWnd.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "SECControlBarMDIChildWnd.h"
#include "SECBmpMenuPlugIn.h"
#include "SECCustomCaption.h"
#include "SECDockBar.h"
#include "SECDockState.h"
#include "SECFilterTables.h"
#include "SECFrameSteps.h"
#include "SECFrameFilter.h"
#include "SECMDIChildWnd.h"
#include "SECMDIMenuBar.h"
#include "SECMenuBar.h"
#include "SECMenuBarFeature.h"
#include "SECMiniDockFrameWnd.h"
#include "SECMultiDocTemplate.h"
#include "SECWndPlugIn.h"
#include "ScxMsgFilter.h"
#include "controls/SECAuxData.h"
#include "controls/SECBmpMgr.h"
#include "controls/SECControlBar.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECDockContext.h"
#include "controls/SECResourceIds.h"
#include "controls/SECToolBarManager.h"

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)

namespace {
const UINT g_secGetMenu = SECFrameWnd::GetMenuMessage();
const UINT g_sysCommandEx = nsSysCommandEx::GetSysCommandExMessage();

// The hosted frame's own styles while its bar floats.
constexpr char kPreFloatStyle[] = "SECDockableFrame PreFloat Docked Style";
constexpr char kPreFloatExStyle[] = "SECDockableFrame PreFloat Docked ExStyle";
}  // namespace

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_ACTIVATE()
  ON_WM_ACTIVATEAPP()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_NCHITTEST()
  ON_WM_ENABLE()
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
  ON_MESSAGE(WM_SEC_EXTENDCONTEXTMENU, OnExtendContextMenu)
  ON_REGISTERED_MESSAGE(g_secGetMenu, OnSecGetMenu)
  ON_REGISTERED_MESSAGE(g_sysCommandEx, OnSysCommandEx)
  ON_WM_NCPAINT()
  ON_WM_NCACTIVATE()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_NCLBUTTONDOWN, OnFilteredMouse)
  ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredMouse)
  ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredMouse)
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  SEC_FRAME_ABSORBED_COMMANDS()
END_MESSAGE_MAP()

SECMDIFrameWnd::SECMDIFrameWnd()
    : m_pMsgFilter(new SECMsgFilter(this, SECMsgFilter::kNoParent)),
      m_bCustomCaptionPossible((::GetVersion() & 0xFF) >= 4) {
  m_rectLastClient.SetRectEmpty();
  sec_filters::FillMDIFrameTable(m_descriptors);
  for (INT_PTR i = 0; i < m_descriptors.GetSize(); ++i)
    if (m_descriptors.GetAt(i)->m_nID == sec_filters::idCaptionList) m_pCaptionDescriptor = m_descriptors.GetAt(i);
  m_mapTemplateMenus.InitHashTable(17);
  // Six passes make the cycle of default dock positions: bottom, left and right with
  // gaps (a 0 starts a new row) that fall differently on each pass.
  for (int i = 0; i < 6; ++i) {
    if (i % 3 == 0) m_arrDockCycle.push_back(0);
    m_arrDockCycle.push_back(AFX_IDW_DOCKBAR_BOTTOM);
    if (i % 2 == 0) m_arrDockCycle.push_back(0);
    m_arrDockCycle.push_back(AFX_IDW_DOCKBAR_LEFT);
    if (i % 2 == 1) m_arrDockCycle.push_back(0);
    m_arrDockCycle.push_back(AFX_IDW_DOCKBAR_RIGHT);
  }
  // Caption handling is on where the application has a library template to move frames.
  BOOL libraryTemplate = FALSE;
  if (CWinApp* app = AfxGetApp())
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;)
      if (CDocTemplate* t = app->GetNextDocTemplate(pos); t && t->IsKindOf(RUNTIME_CLASS(SECMultiDocTemplate)))
        libraryTemplate = TRUE;
  EnableCaptionButtons(libraryTemplate ? 1 : 0);
}

SECMDIFrameWnd::~SECMDIFrameWnd() {
  if (m_hMenuBarMenu) ::DestroyMenu(m_hMenuBarMenu);
  delete m_pMenuPlugIn;
  delete m_pCommandPlugIn;
  while (!m_listBarInfo.IsEmpty()) delete static_cast<CObject*>(m_listBarInfo.RemoveHead());
  for (POSITION pos = m_mapTemplateMenus.GetStartPosition(); pos;) {
    UINT id;
    HMENU menu;
    m_mapTemplateMenus.GetNextAssoc(pos, id, menu);
    if (menu) ::DestroyMenu(menu);
  }
  m_mapTemplateMenus.RemoveAll();
  // Not before the outermost filter at work returns: a caption button may be closing us.
  SECMsgFilter::DeleteRoot(m_pMsgFilter);
}

// ---- dock bars, docking and floating

void SECMDIFrameWnd::EnableDocking(DWORD dwDockStyle) {
  m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
  sec_frame::MakeDockBars(*this, dwDockStyle, [] { return std::make_unique<SECDockBar>(FALSE, FALSE); });
}

CFrameWnd* SECMDIFrameWnd::GetHostedFrame(CControlBar* pBar) {
  if (!pBar || !pBar->m_hWnd) return nullptr;
  for (HWND h = ::GetTopWindow(pBar->m_hWnd); h; h = ::GetWindow(h, GW_HWNDNEXT))
    if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(h))) return frame;
  return nullptr;
}

void SECMDIFrameWnd::SetHostedFrameFloating(CFrameWnd* pFrame, BOOL bFloating) {
  if (!pFrame || !pFrame->m_hWnd) return;
  if (bFloating) {
    // Already floating: the docked styles saved then stay the ones to come back to.
    if (::GetPropA(pFrame->m_hWnd, kPreFloatStyle) || ::GetPropA(pFrame->m_hWnd, kPreFloatExStyle)) return;
    ::SetPropA(pFrame->m_hWnd, kPreFloatStyle, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(pFrame->GetStyle())));
    ::SetPropA(pFrame->m_hWnd, kPreFloatExStyle, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(pFrame->GetExStyle())));
    // The floating frame around it takes the look of a child; the hosted frame that of
    // the main frame, with a caption.
    const DWORD mainStyle = GetStyle(), mainExStyle = GetExStyle();
    // Only a floating frame around it, never this main frame.
    if (CFrameWnd* parent = pFrame->GetParentFrame(); parent && parent != this) {
      parent->ModifyStyle(mainStyle, 0x16000000);
      parent->ModifyStyleEx(mainExStyle, 0);
    }
    pFrame->ModifyStyle(0, (mainStyle & 0x10CFFFFF) | WS_CAPTION, SWP_FRAMECHANGED);
    pFrame->ModifyStyleEx(0, mainExStyle & 0x203A9, SWP_FRAMECHANGED);
  } else {
    HANDLE style = ::GetPropA(pFrame->m_hWnd, kPreFloatStyle);
    HANDLE exStyle = ::GetPropA(pFrame->m_hWnd, kPreFloatExStyle);
    if (!style && !exStyle) return;  // never floated
    ::SetWindowLongA(pFrame->m_hWnd, GWL_STYLE, static_cast<LONG>(reinterpret_cast<UINT_PTR>(style)));
    ::SetWindowLongA(pFrame->m_hWnd, GWL_EXSTYLE, static_cast<LONG>(reinterpret_cast<UINT_PTR>(exStyle)));
    ::RemovePropA(pFrame->m_hWnd, kPreFloatStyle);
    ::RemovePropA(pFrame->m_hWnd, kPreFloatExStyle);
    pFrame->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

void SECMDIFrameWnd::FitHostedFrame(CFrameWnd* pFrame) {
  if (!pFrame || !pFrame->m_hWnd) return;
  CWnd* parent = pFrame->GetParent();
  if (!parent) return;
  CRect rect;
  parent->GetClientRect(&rect);
  pFrame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECMDIFrameWnd::ReturnHostedFrame(CControlBar* pBar) {
  if (pBar && pBar->IsFloating()) SetHostedFrameFloating(GetHostedFrame(pBar), FALSE);
}

void SECMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  ReturnHostedFrame(pBar);
  auto* dock = nDockBarID ? dynamic_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  sec_frame::DockBar(*this, pBar, dock, lpRect);
}

void SECMDIFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  ReturnHostedFrame(pBar);
  sec_frame::DockBar(*this, pBar, pDockBar, lpRect);
}

void SECMDIFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  ReturnHostedFrame(pBar);
  sec_frame::ReDockBar(*this, pBar, pDockBar, lpRect);
}

void SECMDIFrameWnd::DockControlBarEx(CControlBar* pBar, const SECDockPos& pos, UINT nDockBarID, const SizePair& size) {
  if (!pBar) return;
  ReturnHostedFrame(pBar);
  CDockBar* dock = nDockBarID ? dynamic_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  if (!dock) dock = sec_frame::DockBarFor(*this, pBar);
  if (!dock) return;
  if (auto* bar = dynamic_cast<SECControlBar*>(pBar)) bar->m_fPctWidth = size.first;
  DWORD mode = 0x26;
  if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
    mode = 0x2A;
  else if (nDockBarID == AFX_IDW_DOCKBAR_LEFT || nDockBarID == AFX_IDW_DOCKBAR_RIGHT)
    mode = 0x10;
  pBar->CalcDynamicLayout(size.second, mode | LM_COMMIT);
  if (auto* secDock = dynamic_cast<SECDockBar*>(dock))
    secDock->DockControlBarAt(pBar, pos);
  else
    dock->DockControlBar(pBar);
}

void SECMDIFrameWnd::DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nFirst, int nSecond, float fPctWidth,
                                      int nLength) {
  SECDockPos pos;
  pos.nRow = nSecond;
  pos.nCol = nFirst;
  pos.dwFlags = 0;
  DockControlBarEx(pBar, pos, nDockBarID, SizePair(fPctWidth, nLength));
}

void SECMDIFrameWnd::FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar) return;
  CFrameWnd* hosted = GetHostedFrame(pBar);
  sec_frame::FloatBar(*this, pBar, point, dwStyle);
  // The floating frame exists now: the hosted frame takes the floating styles from it
  // (before, its parent frame was this main frame), and the floating frame fits again.
  if (hosted && pBar->IsFloating()) {
    SetHostedFrameFloating(hosted, TRUE);
    if (CFrameWnd* floating = pBar->GetParentFrame(); floating && floating != this) floating->RecalcLayout();
  }
  FitHostedFrame(hosted);
}

void SECMDIFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar) return;
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  CFrameWnd* hosted = GetHostedFrame(pBar);
  CMiniDockFrameWnd* floating = CreateFloatingFrame(dwStyle);
  if (!floating->m_hWndOwner) floating->m_hWndOwner = pBar->m_hWnd;
  if (auto* secDock = dynamic_cast<SECDockBar*>(&floating->m_wndDockBar))
    secDock->DockControlBar(pBar);
  else
    floating->m_wndDockBar.DockControlBar(pBar);
  SetHostedFrameFloating(hosted, TRUE);
  floating->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  floating->RecalcLayout(TRUE);
  floating->ShowWindow(SW_SHOWNA);
  floating->UpdateWindow();
  FitHostedFrame(hosted);
}

CMDIChildWnd* SECMDIFrameWnd::CreateControlBarMDIChild(DWORD, CControlBar*) {
  CRuntimeClass* cls = m_pControlBarChildClass ? m_pControlBarChildClass : RUNTIME_CLASS(SECControlBarMDIChildWnd);
  std::unique_ptr<CObject> object(cls->CreateObject());
  auto* child = dynamic_cast<CMDIChildWnd*>(object.get());
  if (!child) AfxThrowMemoryException();
  object.release();  // a frame deletes itself with its window, even a failed one
  CCreateContext context;
  if (!child->LoadFrame(IDR_SEC_CONTROLBAR_CHILD,
                        WS_CHILD | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | FWS_SNAPTOBARS, this,
                        &context))
    return nullptr;
  return child;
}

void SECMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar) return;
  auto* bar = dynamic_cast<SECControlBar*>(pBar);
  if (bar) bar->OnBarMDIFloat();
  FloatInMDIChild(pBar, point, dwStyle);
  // Whichever way the floating went, the bar hears that it ended.
  if (bar) bar->OnBarEndMDIFloat();
}

void SECMDIFrameWnd::FloatInMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  CRect client(0, 0, 0, 0);
  if (m_hWndMDIClient) ::GetClientRect(m_hWndMDIClient, &client);
  if (point.x < 0 || point.y < 0) {
    // The next place of the cascade; the stored one steps on and starts again at the edges.
    point = CPoint(m_nNextFloatX, m_nNextFloatY);
    m_nNextFloatX += 20;
    m_nNextFloatY += 23;
    if (m_nNextFloatX > client.Width() - 30) m_nNextFloatX = 30;
    if (m_nNextFloatY > client.Height() - 30) m_nNextFloatY = 30;
  } else if (m_hWndMDIClient) {
    ::ScreenToClient(m_hWndMDIClient, &point);
  }
  // Inside the client; a client under 30 pixels high still keeps the child at 0 or more.
  point.x = std::max(0, std::min(static_cast<int>(point.x), client.Width()));
  point.y = std::max(0, std::min(static_cast<int>(point.y), client.Height() - 30));

  // A bar alone in an MDI child of an overlapping side only moves that child.
  if (auto* dock = dynamic_cast<SECDockBar*>(pBar->m_pDockBar);
      dock && dock->m_bMDIChild && dock->GetDockedCount() == 1 && (dwStyle & dock->m_dwStyle & CBRS_ALIGN_ANY)) {
    if (CFrameWnd* child = dock->GetParentFrame(); child && child != this) {
      child->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      child->RecalcLayout();
      return;
    }
  }
  if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    dwStyle |= CBRS_SIZE_DYNAMIC;
    if (dwStyle & CBRS_ORIENT_VERT) dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
  }
  CMDIChildWnd* host = CreateControlBarMDIChild(dwStyle, pBar);
  if (!host) return;
  // The child's float dock bar, whichever control-bar child class made it.
  auto* dock = dynamic_cast<SECDockBar*>(CWnd::FromHandlePermanent(::GetDlgItem(host->m_hWnd, AFX_IDW_DOCKBAR_FLOAT)));
  if (!dock) return;
  if (!host->m_hWndOwner) host->m_hWndOwner = pBar->m_hWnd;
  if (dwStyle & CBRS_ALIGN_ANY) dock->m_dwStyle = (dock->m_dwStyle & ~CBRS_ALIGN_ANY) | (dwStyle & CBRS_ALIGN_ANY);
  dock->m_dwStyle |= dwStyle & CBRS_FLOAT_MULTI;
  dock->DockControlBar(pBar);
  host->RecalcLayout();
  host->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  host->ShowWindow(SW_SHOWNORMAL);
  host->MDIActivate();
  host->UpdateWindow();
  if (HICON icon = reinterpret_cast<HICON>(pBar->SendMessage(WM_GETICON, ICON_SMALL, 0)))
    host->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

int SECMDIFrameWnd::GetNextDockPosition(UINT& nDockBarID, SECDockPos& pos, SizePair& size) {
  size = SizePair(1.0f, 150);
  const int n = static_cast<int>(m_arrDockCycle.size());
  for (int step = 0; step < n; ++step) {
    const int i = (m_nDockCycleIndex + step) % n;
    const UINT id = m_arrDockCycle[static_cast<size_t>(i)];
    if (id == 0) continue;
    nDockBarID = id;
    pos.nRow = 0;
    pos.nCol = 1;
    pos.dwFlags = (id == AFX_IDW_DOCKBAR_TOP || id == AFX_IDW_DOCKBAR_LEFT) ? 3 : 2;
    // After a gap the bar starts a new row.
    if (n > 1 && m_arrDockCycle[static_cast<size_t>((i + n - 1) % n)] == 0) {
      pos.dwFlags |= SEC_DOCKPOS_NEW_ROW;
      if (pos.dwFlags & 0x1) pos.nRow = 1;
    }
    m_nDockCycleIndex = (i + 1) % n;
    return 0;
  }
  nDockBarID = AFX_IDW_DOCKBAR_BOTTOM;
  pos.nRow = 0;
  pos.nCol = 0;
  pos.dwFlags = SEC_DOCKPOS_NEW_ROW;
  return 0;
}

CFrameWnd* SECMDIFrameWnd::CreateDockingChild() {
  if (!m_pDockingChildClass) return nullptr;
  std::unique_ptr<CObject> object(m_pDockingChildClass->CreateObject());
  auto* frame = dynamic_cast<CFrameWnd*>(object.get());
  if (frame) object.release();
  return frame;
}

// ---- docked frames

CFrameWnd* SECMDIFrameWnd::GetActiveDockedFrame() {
  // The window may have gone without telling: the frame is forgotten then.
  if (m_pActiveDockedFrame &&
      (!::IsWindow(m_hWndActiveDockedFrame) || CWnd::FromHandlePermanent(m_hWndActiveDockedFrame) != m_pActiveDockedFrame)) {
    m_pActiveDockedFrame = nullptr;
    m_hWndActiveDockedFrame = nullptr;
  }
  return m_pActiveDockedFrame;
}

void SECMDIFrameWnd::DeactivateDockedFrame(BOOL bActivateMDIChild) {
  if (CFrameWnd* frame = GetActiveDockedFrame()) {
    if (CView* view = frame->GetActiveView()) view->OnActivateView(FALSE, view, view);
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    m_pActiveDockedFrame = nullptr;
    m_hWndActiveDockedFrame = nullptr;
    ::SetFocus(nullptr);
  }
  if (bActivateMDIChild && m_hWndMDIClient) {
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
    ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
    if (CMDIChildWnd* child = MDIGetActive()) child->SendMessage(WM_NCACTIVATE, TRUE);
  }
}

void SECMDIFrameWnd::ActivateDockedFrame(CFrameWnd* pFrame) {
  CFrameWnd* current = GetActiveDockedFrame();
  if (pFrame == current) return;
  CFrameWnd* previousActive = GetActiveFrame();
  CView* previousView = previousActive ? previousActive->GetActiveView() : nullptr;
  DeactivateDockedFrame(pFrame == nullptr);
  HWND focus = ::GetFocus();
  if (previousView && previousView->m_hWnd &&
      (focus == previousView->m_hWnd || ::IsChild(previousView->m_hWnd, focus)))
    previousView->OnActivateView(FALSE, previousView, previousView);
  if (pFrame && pFrame->m_hWnd) {
    pFrame->SendMessage(WM_NCACTIVATE, TRUE);
    m_pActiveDockedFrame = pFrame;
    m_hWndActiveDockedFrame = pFrame->m_hWnd;
    if (m_hWndMDIClient) {
      ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
      ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
    }
    // The MDI children show inactive captions while a docked frame is active.
    if (CMDIChildWnd* child = MDIGetActive()) child->SendMessage(WM_NCACTIVATE, FALSE);
    if (CView* view = pFrame->GetActiveView()) {
      HWND f = ::GetFocus();
      if (!(view->m_hWnd && (f == view->m_hWnd || ::IsChild(view->m_hWnd, f)))) view->OnActivateView(TRUE, view, view);
    }
  }
  OnUpdateFrameTitle(TRUE);
  if (m_pMenuBar) {
    CFrameWnd* shown = pFrame ? pFrame : GetActiveFrame();
    UINT id = shown && shown != this ? shown->m_nIDHelp : 0;
    SelectMenuBarMenu(id ? id : static_cast<UINT>(-1));
  } else {
    OnUpdateFrameMenu(nullptr);
    DrawMenuBar();
  }
}

CFrameWnd* SECMDIFrameWnd::GetActiveFrame() {
  if (CFrameWnd* docked = GetActiveDockedFrame()) return docked;
  return CMDIFrameWnd::GetActiveFrame();
}

void SECMDIFrameWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  if (CFrameWnd* docked = GetActiveDockedFrame()) {
    if (m_hWndMDIClient) {
      ::PostMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
      ::PostMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
    }
    docked->PostMessage(WM_NCACTIVATE, bActive);
  }
  CMDIFrameWnd::OnActivateApp(bActive, dwThreadID);
}

void SECMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
  CMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
  OnActivateTail(nState, pWndOther, bMinimized);
}

void SECMDIFrameWnd::OnActivateTail(UINT nState, CWnd*, BOOL) {
  if (m_bActivationGuard) return;
  HWND foreground = ::GetForegroundWindow();
  CView* view = GetActiveView();
  if (!view)
    if (CFrameWnd* frame = GetActiveFrame(); frame && frame != this) view = frame->GetActiveView();
  if (!view) return;
  if (::GetForegroundWindow() != foreground) {
    HWND back = foreground ? foreground : (::IsWindow(m_hWnd) ? m_hWnd : nullptr);
    if (back) {
      m_bActivationGuard = TRUE;
      ::SetActiveWindow(back);
      ::SetForegroundWindow(back);
      m_bActivationGuard = FALSE;
    }
  }
  view->OnActivateFrame(nState, this);
}

// ---- commands

BOOL SECMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  // The active docked frame, or else the active MDI child, first.
  if (CFrameWnd* docked = GetActiveDockedFrame()) {
    if (docked->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  } else if (CMDIChildWnd* child = MDIGetActive(); child && child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
    return TRUE;
  }
  if (BOOL taken = FALSE; sec_frame::PlugInCommand(m_pCommandPlugIn, nID, nCode, pExtra, pHandlerInfo, taken))
    return taken;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL SECMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  CFrameWnd* first = GetActiveDockedFrame();
  if (!first) first = MDIGetActive();
  if (first && first->m_hWnd && first->SendMessage(WM_COMMAND, wParam, lParam)) return TRUE;
  if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
  if (lParam == 0 && (LOWORD(wParam) & 0xF000) == 0xF000) {
    DefWindowProc(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return FALSE;
}

SECWndPlugIn* SECMDIFrameWnd::CreateCommandPlugIn(LPCSTR, LPCSTR, CRuntimeClass* pClass, UINT) {
  if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(SECWndPlugIn))) return nullptr;
  std::unique_ptr<CObject> object(pClass->CreateObject());
  auto* plugIn = dynamic_cast<SECWndPlugIn*>(object.get());
  if (!plugIn || !plugIn->PlugInTo(this)) return nullptr;
  object.release();
  delete m_pCommandPlugIn;
  m_pCommandPlugIn = plugIn;
  return plugIn;
}

LRESULT SECMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0 && IsTracking()) lParam = static_cast<LPARAM>(m_nIDHelp + HID_BASE_COMMAND);
  CFrameWnd* first = GetActiveDockedFrame();
  if (!first) first = MDIGetActive();
  if (first && first->m_hWnd && first->SendMessage(WM_COMMANDHELP, wParam, lParam)) return TRUE;
  if (CFrameWnd::OnCommandHelp(wParam, lParam)) return TRUE;
  if (lParam != 0) {
    if (CWinApp* app = AfxGetApp()) app->WinHelp(static_cast<DWORD_PTR>(lParam), HELP_CONTEXT);
    return TRUE;
  }
  return FALSE;
}

LRESULT SECMDIFrameWnd::OnExtendContextMenu(WPARAM wParam, LPARAM lParam) {
  auto* bar = dynamic_cast<SECControlBar*>(reinterpret_cast<CControlBar*>(wParam));
  auto* menu = reinterpret_cast<CMenu*>(lParam);
  if (!bar || !menu) return 0;
  const BOOL inChild = bar->IsMDIChild();
  if (inChild) menu->EnableMenuItem(ID_SEC_ALLOW_DOCKING, MF_BYCOMMAND | MF_GRAYED);
  if (bar->GetExBarStyle() & CBRS_EX_ALLOW_MDI_FLOAT) {
    CString text;
    if (!AfxLoadString(ID_SEC_FLOAT_IN_MAIN, text)) text = "Float In Main Window";
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING | (inChild ? MF_CHECKED : MF_UNCHECKED), ID_SEC_FLOAT_IN_MAIN, text);
  }
  return 0;
}

LRESULT SECMDIFrameWnd::OnSysCommandEx(WPARAM, LPARAM) { return sec_filters::HandRequest(m_pMsgFilter); }

// ---- caption buttons

void SECMDIFrameWnd::EnableCaptionButtons(DWORD dwFlags) {
  // Table order: 257 moves documents; 256 holds the maximised child's place button in the
  // menu line, which a frame in menu-bar mode does not have (its menu bar shows the
  // child's buttons); 260 that button; 261 the maximised child's right double click.
  const BOOL values[] = {static_cast<BOOL>(dwFlags & 1), m_pMenuBar == nullptr, TRUE, TRUE};
  sec_filters::ApplyCaptionValues(*m_pMsgFilter, m_descriptors, values, static_cast<INT_PTR>(std::size(values)));
}

// The caption's own clicks, and the mouse while one of its buttons is held, go to the
// filters first; the frame's own handling only when none of them took the message.
LRESULT SECMDIFrameWnd::OnFilteredMouse(WPARAM, LPARAM) {
  return sec_filters::OfferFirst(m_hWnd, m_pMsgFilter) ? 0 : Default();
}

void SECMDIFrameWnd::OnLButtonUp(UINT, CPoint) { OnFilteredMouse(0, 0); }

void SECMDIFrameWnd::OnMouseMove(UINT, CPoint) { OnFilteredMouse(0, 0); }

// ---- custom caption

BOOL SECMDIFrameWnd::EnableCustomCaption(BOOL bEnable, BOOL bRepaint) {
  return sec_caption::Enable(*this, bEnable, bRepaint, TRUE);
}

void SECMDIFrameWnd::DrawCustomCaption() { sec_caption::DrawFor(*this); }

// The filters paint after the frame, the custom caption included: the maximised child's
// place button lies in the menu line, which the frame's painting covers.
void SECMDIFrameWnd::OnNcPaint() {
  Default();
  if (m_bCustomCaption) DrawCustomCaption();
  sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
}

BOOL SECMDIFrameWnd::OnNcActivate(BOOL bActive) {
  if (InCustomiseMode()) m_nFlags &= ~WF_STAYACTIVE;
  // A docked frame active in this frame keeps its caption active.
  if (GetActiveDockedFrame()) {
    HWND foreground = ::GetForegroundWindow(), top = foreground;
    while (top && ::GetWindow(top, GW_OWNER)) top = ::GetWindow(top, GW_OWNER);
    if (foreground && (foreground == m_hWnd || top == m_hWnd)) m_nFlags |= WF_STAYACTIVE;
  }
  const BOOL result = m_bCustomCaption ? sec_caption::NcActivate(*this, bActive, m_bCaptionActive)
                                       : CMDIFrameWnd::OnNcActivate(bActive);
  sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
  return result;
}

LRESULT SECMDIFrameWnd::OnSetText(WPARAM wParam, LPARAM lParam) {
  LRESULT result = 1;
  if (!m_bCustomCaption)
    result = Default();
  else if (sec_caption::SetTextQuietly(*this, wParam, lParam))
    DrawCustomCaption();
  sec_filters::OfferAfter(m_hWnd, m_pMsgFilter);
  return result;
}

CRect SECMDIFrameWnd::GetCaptionRect() const { return sec_caption::CaptionRect(*this, m_bCustomCaptionPossible); }

// The application's part of the title in italics, the document's plain.
void SECMDIFrameWnd::CreateAppTitleFont(CFont& font) { sec_caption::CreateTitleFont(font, TRUE); }
void SECMDIFrameWnd::CreateDocTitleFont(CFont& font) { sec_caption::CreateTitleFont(font, FALSE); }

// ---- menus

HMENU SECMDIFrameWnd::GetMenuForId(UINT nID) {
  if (nID == m_nIDResource && m_hMenuBarMenu) return m_hMenuBarMenu;
  if (CWinApp* app = AfxGetApp())
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;)
      if (auto* t = dynamic_cast<CMultiDocTemplate*>(app->GetNextDocTemplate(pos)); t && t->m_nIDResource == nID)
        return t->m_hMenuShared;
  HMENU menu = nullptr;
  return m_mapTemplateMenus.Lookup(nID, menu) ? menu : nullptr;
}

LRESULT SECMDIFrameWnd::OnSecGetMenu(WPARAM wParam, LPARAM lParam) {
  HMENU menu = GetMenuForId(static_cast<UINT>(wParam));
  return menu ? reinterpret_cast<LRESULT>(::GetSubMenu(menu, static_cast<int>(lParam))) : 0;
}

HMENU SECMDIFrameWnd::GetCurrentMenu() { return m_pMenuBar ? m_hMenuBarMenu : m_hMenuDefault; }

void SECMDIFrameWnd::SelectMenuBarMenu(UINT nID) {
  if (!m_pMenuBar) return;
  if (nID == 0) nID = static_cast<UINT>(-1);
  const UINT id = nID == static_cast<UINT>(-1) ? m_nDefaultMenuId : nID;
  if (auto* bar = dynamic_cast<SECMenuBar*>(m_pMenuBar)) {
    if (HMENU menu = GetMenuForId(id)) bar->SetMenu(id, menu);
    auto* feature = dynamic_cast<SECMenuBarMessages*>(m_pMenuPlugIn);
    if (feature && bar->m_hWnd && feature->m_pMenuBar == bar) {
      feature->SwitchMenu(id);  // lays the frame out (or leaves it to idle time)
    } else {
      bar->SwitchMenu(id);
    }
    if (nID == static_cast<UINT>(-1))
      if (auto* mdiBar = dynamic_cast<SECMDIMenuBar*>(bar); mdiBar && mdiBar->UpdateChildButtons() && mdiBar->m_hWnd) {
        mdiBar->Invalidate();
        if (CFrameWnd* frame = mdiBar->GetParentFrame()) frame->RecalcLayout();
      }
    m_nMenuBarId = bar->GetMenuID() ? bar->GetMenuID() : id;
  } else {
    m_nMenuBarId = id;
    if (m_pMenuBar->m_hWnd) m_pMenuBar->Invalidate();
  }
  RefreshWindowMenu();
}

void SECMDIFrameWnd::RefreshWindowMenu() {
  const UINT id = m_nMenuBarId ? m_nMenuBarId : m_nDefaultMenuId;
  HMENU menu = GetMenuForId(id);
  HMENU popup = menu ? GetWindowMenuPopup(menu) : nullptr;
  if (popup && !::GetMenu(m_hWnd) && m_hWndMDIClient)
    ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(popup));
}

void SECMDIFrameWnd::AdjustMenuBarForChild() {
  auto* bar = dynamic_cast<SECMDIMenuBar*>(m_pMenuBar);
  if (!bar || !bar->m_hWnd) return;
  if (!bar->UpdateChildButtons()) return;
  bar->Invalidate();
  if (CFrameWnd* frame = bar->GetParentFrame()) frame->RecalcLayout();
}

void SECMDIFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt) {
  if (CFrameWnd* docked = GetActiveDockedFrame()) {
    if (auto* frame = dynamic_cast<SECFrameWnd*>(docked)) frame->UpdateDockedFrameMenu(TRUE, frame, hMenuAlt);
    return;
  }
  if (CMDIChildWnd* child = MDIGetActive()) {
    child->OnUpdateFrameMenu(TRUE, child, hMenuAlt);
    return;
  }
  HMENU menu = hMenuAlt ? hMenuAlt : m_hMenuDefault;
  if (m_hWndMDIClient) ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
  if (m_pMenuBar) RefreshWindowMenu();
}

void SECMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
  if (!(GetStyle() & FWS_ADDTOTITLE)) return;
  CFrameWnd* active = GetActiveFrame();
  CDocument* doc = active && active != this ? active->GetActiveDocument() : nullptr;
  if (CDocument* own = GetActiveDocument()) doc = own;
  if (bAddToTitle && active && active != this && !(active->GetStyle() & WS_MAXIMIZE) && doc) {
    UpdateFrameTitleForDocument(doc->GetTitle());
    return;
  }
  CString title;
  if (active && active != this && !(active->GetStyle() & WS_MAXIMIZE)) active->GetWindowText(title);
  UpdateFrameTitleForDocument(bAddToTitle && !title.IsEmpty() ? static_cast<LPCSTR>(title) : nullptr);
}

BOOL SECMDIFrameWnd::NegotiateBorderSpace(UINT nBorderCmd, LPRECT lpRectBorder) {
  // An all-zero border in menu-bar mode: the menu bar draws its own border then.
  if (m_pMenuBar && lpRectBorder && ::IsRectEmpty(lpRectBorder) && lpRectBorder->left == 0 && lpRectBorder->top == 0 &&
      lpRectBorder->right == 0 && lpRectBorder->bottom == 0) {
    if (auto* bar = dynamic_cast<SECMenuBar*>(m_pMenuBar)) bar->SetBorderFlag(TRUE);
    if (m_pMenuBar->m_hWnd) m_pMenuBar->Invalidate();
  }
  return CMDIFrameWnd::NegotiateBorderSpace(nBorderCmd, lpRectBorder);
}

// ---- window procedure, creation, layout

int SECMDIFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CMDIFrameWnd::OnCreate(lpcs) == -1) return -1;
  SECFrameWnd::SetUpMenuPlugIn(this, m_pMenuBar, m_bBitmapMenus, m_pControlBarManager, m_pMenuPlugIn);
  // In menu-bar mode the maximised child's controls live on the menu bar.
  if (m_pMenuBar && m_pCaptionDescriptor) m_pMsgFilter->ApplyDescriptor(*m_pCaptionDescriptor, FALSE);
  return 0;
}

BOOL SECMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDResource = nIDResource;
  m_nDefaultMenuId = nIDResource;
  if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  if (m_pMenuBar) {
    // The menu lives in the menu bar: the window keeps none, not even as its default, so
    // that no frame-menu update puts one back.
    HMENU windowMenu = sec_frame::MoveMenuToBar(*this, nIDResource, m_hMenuBarMenu);
    if (windowMenu && windowMenu != m_hMenuBarMenu) ::DestroyMenu(windowMenu);
    if (m_hMenuDefault == windowMenu) m_hMenuDefault = nullptr;
    SelectMenuBarMenu(static_cast<UINT>(-1));
  }
  return TRUE;
}

// The library's caption buttons take the press over the window's own boxes.
UINT SECMDIFrameWnd::OnNcHitTest(CPoint point) {
  if (InCustomiseMode()) return static_cast<UINT>(HTERROR);
  return static_cast<UINT>(sec_filters::CaptionHit(m_pMsgFilter, CMDIFrameWnd::OnNcHitTest(point), point));
}

void SECMDIFrameWnd::OnSysColorChange() {
  secData.UpdateSysColors();
  CMDIFrameWnd::OnSysColorChange();
  sec_frame::ReloadBarBitmaps(*this);
}

void SECMDIFrameWnd::OnClose() { CMDIFrameWnd::OnClose(); }

void SECMDIFrameWnd::OnDestroy() {
  // The menu bar may go (and delete itself) before the MDI children that still ask for
  // menus as they go: the frame leaves menu-bar mode with its window.
  m_pMenuBar = nullptr;
  sec_frame::DropMenuPlugIn(m_pMenuPlugIn);
  m_pActiveDockedFrame = nullptr;
  m_hWndActiveDockedFrame = nullptr;
  CMDIFrameWnd::OnDestroy();
}
