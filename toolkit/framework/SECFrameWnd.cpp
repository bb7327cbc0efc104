#include "SECFrameWnd.h"

#include <memory>

#include "SECCustomCaption.h"
#include "SECDockBar.h"
#include "SECDockState.h"
#include "SECBmpMenuPlugIn.h"
#include "SECFrameSteps.h"
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
  SEC_FRAME_ABSORBED_COMMANDS()
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
  sec_frame::MakeDockBars(*this, dwDockStyle, [this] { return std::unique_ptr<CDockBar>(CreateDockBar()); });
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
  if (BOOL taken = FALSE; sec_frame::PlugInCommand(plugIn, nID, nCode, pExtra, pHandlerInfo, taken)) return taken;
  return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
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
  // The menu lives in the menu bar, not in the window.
  if (m_pMenuBar) sec_frame::MoveMenuToBar(*this, nIDResource, m_hMenuBarMenu);
  return TRUE;
}

// ---- layout

void SECFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho) {
  OnIdleLayout(nWhy, pWho);
  CFrameWnd::OnEnterIdle(nWhy, pWho);
}

// ---- customise mode and the non-client area

LRESULT SECFrameWnd::OnNcButtonDown(WPARAM, LPARAM) { return Default(); }

void SECFrameWnd::OnSysColorChange() {
  secData.UpdateSysColors();
  CFrameWnd::OnSysColorChange();
  sec_frame::ReloadBarBitmaps(*this);
}

// ---- close

void SECFrameWnd::OnClose() {
  m_bClosing = TRUE;
  CFrameWnd::OnClose();
}

void SECFrameWnd::OnDestroy() {
  sec_frame::DropMenuPlugIn(m_pMenuPlugIn);
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
