#include "SECFrameWnd.h"

#include <memory>

#include "SECCustomCaption.h"
#include "SECDockBar.h"
#include "SECDockState.h"
#include "SECBmpMenuPlugIn.h"
#include "SECMenuBar.h"
#include "SECMenuBarFeature.h"
#include "SECMiniDockFrameWnd.h"
#include "SECWndPlugIn.h"
#include "SECMDIFrameWnd.h"
#include "controls/SECAuxData.h"
#include "controls/SECBmpMgr.h"
#include "controls/SECControlBar.h"
#include "controls/SECCustomToolBar.h"
#include "controls/SECToolBarManager.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

UINT SECFrameWnd::GetMenuMessage() {
  static const UINT message = ::RegisterWindowMessageA("WM_SECGETMENU");
  return message;
}

namespace {
const UINT g_secGetMenu = SECFrameWnd::GetMenuMessage();
}  // namespace

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_NCPAINT()
  ON_WM_NCACTIVATE()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_WM_ENABLE()
  ON_WM_NCHITTEST()
  ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcButtonDown)
  ON_MESSAGE(WM_NCMBUTTONDOWN, OnNcButtonDown)
  ON_MESSAGE(WM_NCRBUTTONDOWN, OnNcButtonDown)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_ENTERIDLE()
  ON_REGISTERED_MESSAGE(g_secGetMenu, OnSecGetMenu)
  ON_COMMAND(43007, OnEmptyCommand)
  ON_COMMAND(43008, OnEmptyCommand)
  ON_COMMAND(43009, OnEmptyCommand)
  ON_COMMAND(43012, OnEmptyCommand)
  ON_COMMAND(43013, OnEmptyCommand)
  ON_COMMAND(43014, OnEmptyCommand)
  ON_UPDATE_COMMAND_UI(43007, OnUpdateEmptyCommand)
  ON_UPDATE_COMMAND_UI(43008, OnUpdateEmptyCommand)
  ON_UPDATE_COMMAND_UI(43009, OnUpdateEmptyCommand)
  ON_UPDATE_COMMAND_UI(43012, OnUpdateEmptyCommand)
  ON_UPDATE_COMMAND_UI(43013, OnUpdateEmptyCommand)
  ON_UPDATE_COMMAND_UI(43014, OnUpdateEmptyCommand)
  ON_COMMAND_RANGE(43031, 43039, OnAbsorbedCommand)
  ON_UPDATE_COMMAND_UI(43031, OnUpdateAbsorbed)
END_MESSAGE_MAP()

SECFrameWnd::SECFrameWnd() : m_bCustomCaptionPossible((::GetVersion() & 0xFF) >= 4) {
  m_rectLastClient.SetRectEmpty();
}

SECFrameWnd::~SECFrameWnd() {
  if (m_hMenuBarMenu) ::DestroyMenu(m_hMenuBarMenu);
  // Bars made from saved records outlive their windows only as far as this frame.
  while (!m_listBarInfo.IsEmpty()) delete static_cast<CObject*>(m_listBarInfo.RemoveHead());
  delete m_pMenuPlugIn;
  delete m_pCommandPlugIn;
}

// ---- dock bars

SECDockBar* SECFrameWnd::CreateDockBar() { return new SECDockBar(FALSE, FALSE); }

void SECFrameWnd::EnableDocking(DWORD dwDockStyle) {
  m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
  for (const sec_frame::DockBarEntry& entry : sec_frame::kDockBarMap) {
    if (!(entry.style & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(entry.id)) continue;
    std::unique_ptr<CDockBar> dock(CreateDockBar());
    if (!dock || !dock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | entry.style, entry.id))
      AfxThrowResourceException();
    dock->m_bAutoDelete = TRUE;
    dock.release();  // deletes itself with its window
  }
}

SECControlBarManager* SECFrameWnd::GetManager() const { return m_pControlBarManager; }

void SECFrameWnd::SetManager(SECControlBarManager* pManager) { m_pControlBarManager = pManager; }

BOOL SECFrameWnd::InCustomiseMode() const {
  auto* manager = dynamic_cast<SECToolBarManager*>(m_pControlBarManager);
  return manager && manager->IsConfigMode();
}

void SECFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  auto* dock = nDockBarID ? dynamic_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  sec_frame::DockBar(*this, pBar, dock, lpRect);
}

void SECFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  sec_frame::DockBar(*this, pBar, pDockBar, lpRect);
}

void SECFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  sec_frame::ReDockBar(*this, pBar, pDockBar, lpRect);
}

void SECFrameWnd::FloatBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  sec_frame::FloatBar(*this, pBar, point, dwStyle);
}

void SECFrameWnd::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth,
                                   int nLength) {
  if (!pBar) return;
  CDockBar* dock = nDockBarID ? dynamic_cast<CDockBar*>(GetControlBar(nDockBarID)) : nullptr;
  if (!dock) dock = sec_frame::DockBarFor(*this, pBar);
  if (!dock) return;
  SECControlBar* bar = dynamic_cast<SECControlBar*>(pBar);
  if (bar) {
    bar->OnBarDock();
    bar->m_fPctWidth = fPctWidth;
  }
  DWORD mode = 0x10;
  if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING))
    mode = 0x26;
  else if (pBar->m_dwStyle & CBRS_ORIENT_HORZ)
    mode = 0x2A;
  pBar->CalcDynamicLayout(nLength, mode | LM_COMMIT);
  if (auto* secDock = dynamic_cast<SECDockBar*>(dock))
    secDock->DockControlBarAt(pBar, nCol, nRow);
  else
    dock->DockControlBar(pBar);
  // The bar heard the start; it hears the end too, as after any other docking.
  if (bar) bar->OnBarEndDock();
}

// ---- dock state

void SECFrameWnd::LoadBarState(LPCSTR lpszProfileName) {
  SECDockState state(m_pControlBarManager, &m_listBarInfo);
  state.LoadState(lpszProfileName);
  if (CWinThread* thread = AfxGetThread(); thread && !thread->m_pMainWnd) thread->m_pMainWnd = this;
  state.SetState(this);
}

void SECFrameWnd::SaveBarState(LPCSTR lpszProfileName) {
  SECDockState state(m_pControlBarManager);
  if (state.GetState(this)) {
    state.PurgeBarIDs();
    state.SaveState(lpszProfileName);
  }
}

void SECFrameWnd::SetDockState(SECDockState& state) { state.SetState(this); }

void SECFrameWnd::GetDockState(SECDockState& state) { state.GetState(this); }

// ---- menus and plug-ins

HMENU SECFrameWnd::GetMenuBarMenu(UINT nIDResource) {
  return nIDResource == m_nIDResource ? m_hMenuBarMenu : nullptr;
}

HMENU SECFrameWnd::GetCurrentMenu() { return m_pMenuBar ? m_hMenuBarMenu : m_hMenuDefault; }

LRESULT SECFrameWnd::OnSecGetMenu(WPARAM wParam, LPARAM lParam) {
  HMENU menu = GetMenuBarMenu(static_cast<UINT>(wParam));
  if (!menu) return 0;
  return reinterpret_cast<LRESULT>(::GetSubMenu(menu, static_cast<int>(lParam)));
}

SECWndPlugIn* SECFrameWnd::CreateCommandPlugIn(LPCSTR, LPCSTR, CRuntimeClass* pClass, UINT) {
  // A plug-in borrows this frame's window: it makes none of its own.
  if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(SECWndPlugIn))) return nullptr;
  std::unique_ptr<CObject> object(pClass->CreateObject());
  auto* plugIn = dynamic_cast<SECWndPlugIn*>(object.get());
  if (!plugIn) return nullptr;
  if (!plugIn->PlugInTo(this)) return nullptr;  // deleted with `object`
  object.release();
  delete m_pCommandPlugIn;
  m_pCommandPlugIn = plugIn;
  return plugIn;
}

BOOL SECFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  SECWndPlugIn* plugIn = m_pCommandPlugIn;
  if (!plugIn)
    if (auto* top = dynamic_cast<SECFrameWnd*>(GetTopLevelFrame()); top && top != this) plugIn = top->m_pCommandPlugIn;
  if (plugIn) {
    plugIn->m_bHandled = FALSE;
    BOOL taken = plugIn->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (plugIn->m_bHandled) {
      plugIn->m_bHandled = FALSE;
      return taken;
    }
  }
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT SECFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hWnd = m_hWnd;
  if (SECWndPlugIn* plugIn = m_pMenuPlugIn; plugIn && plugIn->m_bPluggedIn) {
    LRESULT result = 0;
    plugIn->OnWndMsg(message, wParam, lParam, &result);
    // A menu the plug-in tracked may have outlived this frame: touch nothing of it then.
    if (!::IsWindow(hWnd) || CWnd::FromHandlePermanent(hWnd) != this) return result;
    if (m_pMenuPlugIn == plugIn && plugIn->m_bHandled) return result;
  }
  // Closing waits while the toolbars are customised (Alt+F4 comes this way too).
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE && InCustomiseMode()) return 0;
  const LRESULT result = CFrameWnd::WindowProc(message, wParam, lParam);
  if (message == WM_INITMENUPOPUP && CWnd::FromHandlePermanent(hWnd) == this && m_bBitmapMenus)
    // The update handlers may have changed items: the plug-in converts what they left.
    if (auto* bitmaps = dynamic_cast<SECBmpMenuPlugIn*>(m_pMenuPlugIn); bitmaps && bitmaps->IsPluggedIn())
      bitmaps->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
  return result;
}

BOOL SECFrameWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_pMenuPlugIn && m_pMenuPlugIn->m_bPluggedIn && m_pMenuPlugIn->PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE && InCustomiseMode()) return TRUE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

int SECFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  SetUpMenuPlugIn(this, m_pMenuBar, m_bBitmapMenus, m_pControlBarManager, m_pMenuPlugIn);
  return 0;
}

void SECFrameWnd::EnableMenuBar(CControlBar* pMenuBar) { m_pMenuBar = pMenuBar; }

void SECFrameWnd::EnableBitmapMenus(BOOL bEnable) { m_bBitmapMenus = bEnable; }

void SECFrameWnd::SetUpMenuPlugIn(CWnd* pHost, CControlBar* pMenuBar, BOOL bBitmapMenus,
                                  SECControlBarManager* pManager, SECWndPlugIn*& pPlugIn) {
  std::unique_ptr<SECBmpMenuPlugIn> made;
  if (pMenuBar) {
    auto feature = std::make_unique<SECMenuBarFeature>();
    feature->SetMenuBar(dynamic_cast<SECMenuBar*>(pMenuBar));
    made = std::move(feature);
  } else if (bBitmapMenus) {
    made = std::make_unique<SECBmpMenuPlugIn>();
  }
  if (!made || !made->PlugInTo(pHost)) return;
  if (bBitmapMenus)
    if (auto* manager = dynamic_cast<SECToolBarManager*>(pManager); manager && manager->GetBmpMgr())
      made->SetBitmapManager(manager->GetBmpMgr());
  delete pPlugIn;
  pPlugIn = made.release();
}

BOOL SECFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  m_nIDResource = nIDResource;
  if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return FALSE;
  if (m_pMenuBar) {
    // The menu lives in the menu bar, not in the window.
    m_hMenuBarMenu = ::LoadMenuA(AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_MENU),
                                 MAKEINTRESOURCE(nIDResource));
    ::SetMenu(m_hWnd, nullptr);
  }
  return TRUE;
}

// ---- layout

void SECFrameWnd::RecalcLayout(BOOL bNotify) {
  CFrameWnd::RecalcLayout(bNotify);
  if (!m_hWnd) return;
  if (m_rectLastClient.IsRectEmpty()) {
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else {
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (auto* dock = dynamic_cast<SECDockBar*>(CWnd::FromHandlePermanent(child))) dock->RedrawPendingBars();
  }
  GetClientRect(&m_rectLastClient);
}

void SECFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  CFrameWnd::OnSetPreviewMode(bPreview, pState);
  // The bars come back from hiding: all of them are drawn again.
  if (!bPreview && m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void SECFrameWnd::OnIdleLayout(UINT nWhy, CWnd*) {
  if (nWhy == MSGF_DIALOGBOX && InCustomiseMode() && (m_nIdleFlags & idleLayout)) {
    RecalcLayout(m_nIdleFlags & idleNotify);
    UpdateWindow();
  }
}

void SECFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  OnIdleLayout(nWhy, pWho);
  CFrameWnd::OnEnterIdle(nWhy, pWho);
}

// ---- customise mode and the non-client area

void SECFrameWnd::OnEnable(BOOL bEnable) {
  if (InCustomiseMode()) m_nFlags &= ~WF_STAYACTIVE;
  CFrameWnd::OnEnable(bEnable);
}

UINT SECFrameWnd::OnNcHitTest(CPoint point) {
  if (InCustomiseMode()) return static_cast<UINT>(HTERROR);
  return CFrameWnd::OnNcHitTest(point);
}

LRESULT SECFrameWnd::OnNcButtonDown(WPARAM, LPARAM) { return Default(); }

void SECFrameWnd::OnSysColorChange() {
  secData.UpdateSysColors();
  CFrameWnd::OnSysColorChange();
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;)
    if (auto* bar = dynamic_cast<SECCustomToolBar*>(static_cast<CControlBar*>(m_listControlBars.GetNext(pos))))
      if (SECBmpMgr* bitmaps = bar->GetBitmapManager()) bitmaps->ReloadAllBitmaps(TRUE);
}

// ---- close

void SECFrameWnd::OnClose() {
  m_bClosing = TRUE;
  CFrameWnd::OnClose();
}

void SECFrameWnd::OnDestroy() {
  if (m_pMenuPlugIn) {
    m_pMenuPlugIn->UnPlug();
    delete m_pMenuPlugIn;
    m_pMenuPlugIn = nullptr;
  }
  CFrameWnd::OnDestroy();
}

// ---- custom caption

BOOL SECFrameWnd::EnableCustomCaption(BOOL bEnable, BOOL bRepaint) {
  return sec_caption::Enable(*this, bEnable, bRepaint, FALSE);
}

CRect SECFrameWnd::GetCaptionRect() const { return sec_caption::CaptionRect(*this, m_bCustomCaptionPossible); }

void SECFrameWnd::CreateAppTitleFont(CFont& font) { sec_caption::CreateTitleFont(font, TRUE); }

void SECFrameWnd::CreateDocTitleFont(CFont& font) { sec_caption::CreateTitleFont(font, FALSE); }

void SECFrameWnd::DrawCustomCaption() { sec_caption::DrawFor(*this); }

void SECFrameWnd::OnNcPaint() {
  // The frame and the rest of the caption bar as usual; the caption text area over them.
  Default();
  if (m_bCustomCaption) DrawCustomCaption();
}

BOOL SECFrameWnd::OnNcActivate(BOOL bActive) {
  if (InCustomiseMode()) m_nFlags &= ~WF_STAYACTIVE;
  if (!m_bCustomCaption) return CFrameWnd::OnNcActivate(bActive);
  return sec_caption::NcActivate(*this, bActive, m_bCaptionActive);
}

LRESULT SECFrameWnd::OnSetText(WPARAM wParam, LPARAM lParam) {
  if (!m_bCustomCaption) return Default();
  if (sec_caption::SetTextQuietly(*this, wParam, lParam)) DrawCustomCaption();
  return 1;
}

// ---- the steps both library frames share

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

}  // namespace sec_frame
