#include "ScxMsgFilter.h"

#include <memory>

#include "SECDockableFrame.h"
#include "SECMDIFrameWnd.h"
#include "SECMultiDocTemplate.h"
#include "controls/SECControlBar.h"

namespace nsSysCommandEx {

IMPLEMENT_DYNCREATE(ScxMsgFilter, SECMsgFilter)

UINT GetSysCommandExMessage() {
  static const UINT message = ::RegisterWindowMessageA("Tamrisk::WM_SYSCOMMANDEX");
  return message;
}

BOOL IsMDIChildFrame(const CWnd* pWnd) {
  // MDI children are made by their client with this extended style, whoever's class they are.
  return pWnd && pWnd->GetSafeHwnd() && (pWnd->GetExStyle() & WS_EX_MDICHILD) && (pWnd->GetStyle() & WS_CHILD);
}

namespace {

// Window updates of the main window stay locked for the life of the object.
class MainWindowLock {
 public:
  explicit MainWindowLock(BOOL bLock) {
    CWnd* main = AfxGetMainWnd();
    if (bLock && main && main->GetSafeHwnd()) locked_ = ::LockWindowUpdate(main->m_hWnd) != FALSE;
  }
  ~MainWindowLock() {
    if (locked_) ::LockWindowUpdate(nullptr);
  }
  MainWindowLock(const MainWindowLock&) = delete;
  MainWindowLock& operator=(const MainWindowLock&) = delete;

 private:
  bool locked_ = false;
};

// The frame a handle names, while it is a live frame window of this thread.
CFrameWnd* LiveFrame(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return nullptr;
  return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hWnd));
}

CFrameWnd* LiveFrame(CFrameWnd* pFrame) { return pFrame ? LiveFrame(pFrame->GetSafeHwnd()) : nullptr; }

// The bar that holds a docked or floating document frame.
SECControlBar* HostingBar(CFrameWnd* pFrame) { return dynamic_cast<SECControlBar*>(pFrame->GetParent()); }

// Where a position or size of the record goes, with the matching SWP_ bits.
UINT PositionFlags(const ScxRequest& request) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (!(request.dwFlags & ScxRequest::flagPoint)) flags |= SWP_NOMOVE;
  if (!(request.dwFlags & ScxRequest::flagSize)) flags |= SWP_NOSIZE;
  return flags;
}

}  // namespace

SECMsgFilter* ScxMsgFilter::Clone() const { return new ScxMsgFilter(*this); }

BOOL ScxMsgFilter::IsCopyRequest(UINT nCode) const { return nCode == requestMove || nCode == requestShowMenu; }

LRESULT ScxMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* request = reinterpret_cast<ScxRequest*>(lParam);
  if (message != GetSysCommandExMessage() || !request) return 0;
  const UINT code = static_cast<UINT>(wParam) & 0xFFF0;
  if (IsCopyRequest(code) && !m_bTemporaryCopy) {
    // A move can take the frame, and this filter with it: a copy of its own does the work
    // and reaches windows only by their handles.
    std::unique_ptr<ScxMsgFilter> copy(static_cast<ScxMsgFilter*>(Clone()));
    copy->m_bTemporaryCopy = TRUE;
    LRESULT result = copy->OnFilterMessage(message, wParam, lParam, pResult);
    if (result & kHandled) result |= kStop;
    return result;
  }
  CWnd* wnd = CWnd::FromHandlePermanent(request->hWnd);
  if (!wnd || !::IsWindow(request->hWnd)) return 0;
  HWND repaint = nullptr;
  if (request->dwFlags & ScxRequest::flagPoint) {
    repaint = request->hWnd;
    if (IsMDIChildFrame(wnd) && wnd->IsZoomed())
      if (CFrameWnd* parent = wnd->GetParentFrame()) repaint = parent->m_hWnd;
  }
  LRESULT result = 0;
  switch (code) {
    case requestMove:
      result = OnMove(*request, pResult);
      break;
    case requestGetMenu:
      result = OnGetMenu(*request, pResult);
      break;
    case requestShowMenu:
      result = OnShowMenu(*request, pResult);
      break;
    default:
      break;
  }
  if (repaint && ::IsWindow(repaint)) ::SendMessageA(repaint, WM_NCPAINT, 1, 0);
  return result;
}

// ---- the caption menu

LRESULT ScxMsgFilter::OnShowMenu(ScxRequest& request, LRESULT*) {
  HMENU menu = GetMenu(request);
  if (menu) {
    const UINT command = TrackMenu(menu, request);
    if (command) ExecuteMenuCommand(command, request);
    ::DestroyMenu(menu);
  }
  return kHandled | kCaption2 | kCaption4 | kStop;
}

LRESULT ScxMsgFilter::OnGetMenu(ScxRequest& request, LRESULT*) {
  request.hMenu = BuildMenuForRecord(request);
  return kHandled | kCaption2 | kCaption4 | kStop;
}

HMENU ScxMsgFilter::GetMenu(const ScxRequest& request) {
  if (request.hMenu) return request.hMenu;
  ScxRequest ask = request;
  ask.dwFlags &= ~DWORD(ScxRequest::flagPoint);
  ask.hMenu = nullptr;
  ::SendMessageA(request.hWnd, GetSysCommandExMessage(), requestGetMenu, reinterpret_cast<LPARAM>(&ask));
  return ask.hMenu;
}

UINT ScxMsgFilter::TrackMenu(HMENU hMenu, const ScxRequest& request) {
  if (!::IsWindow(request.hWnd)) return 0;
  CPoint at(request.x, request.y);
  if (at.x < 0) {
    CRect client;
    ::GetClientRect(request.hWnd, &client);
    at = client.CenterPoint();
    ::ClientToScreen(request.hWnd, &at);
  }
  return static_cast<UINT>(::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                            request.hWnd, nullptr));
}

void ScxMsgFilter::ExecuteMenuCommand(UINT nCommand, const ScxRequest& request) {
  if (!::IsWindow(request.hWnd)) return;
  ScxRequest move = request;
  move.dwFlags &= ~DWORD(ScxRequest::flagPoint);
  move.hMenu = nullptr;
  move.nTargetPlace = static_cast<int>(nCommand);
  ::SendMessageA(request.hWnd, GetSysCommandExMessage(), requestMove, reinterpret_cast<LPARAM>(&move));
}

HMENU ScxMsgFilter::BuildMenu(CFrameWnd*, int nPlace) {
  const int placeClass = GetPlaceClass(nPlace);
  auto checked = [](bool on) { return on ? UINT(MF_CHECKED) : UINT(MF_UNCHECKED); };
  HMENU docked = ::CreatePopupMenu();
  HMENU child = ::CreatePopupMenu();
  HMENU menu = ::CreatePopupMenu();
  if (!docked || !child || !menu) {
    for (HMENU m : {docked, child, menu})
      if (m) ::DestroyMenu(m);
    return nullptr;
  }
  ::AppendMenuA(docked, MF_STRING | checked(nPlace == placeDockedTop), placeDockedTop, "&Top");
  ::AppendMenuA(docked, MF_STRING | checked(nPlace == placeDockedLeft), placeDockedLeft, "&Left");
  ::AppendMenuA(docked, MF_STRING | checked(nPlace == placeDockedBottom), placeDockedBottom, "&Bottom");
  ::AppendMenuA(docked, MF_STRING | checked(nPlace == placeDockedRight), placeDockedRight, "&Right");
  ::AppendMenuA(child, MF_STRING | checked(nPlace == placeMDIChildMinimized), placeMDIChildMinimized, "Mi&nimized");
  ::AppendMenuA(child, MF_STRING | checked(nPlace == placeMDIChildMaximized), placeMDIChildMaximized, "Ma&ximized");
  ::AppendMenuA(child, MF_STRING | checked(nPlace == placeMDIChildRestored), placeMDIChildRestored, "&Restored");
  ::AppendMenuA(menu, MF_STRING | checked(placeClass == placeDocked), placeDocked, "&Docked");
  ::AppendMenuA(menu, MF_STRING | checked(placeClass == placeFloating), placeFloating, "&Floating");
  ::AppendMenuA(menu, MF_STRING | checked(placeClass == placeMDIChild), placeMDIChild, "&MDI Child");
  ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(docked), "D&ocked to");
  ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(child), "MD&I Child as");
  return menu;
}

HMENU ScxMsgFilter::BuildMenuForRecord(const ScxRequest& request) {
  auto* tmpl = static_cast<SECMultiDocTemplate*>(FindTemplate(request, RUNTIME_CLASS(SECMultiDocTemplate)));
  CFrameWnd* frame = LiveFrame(request.hWnd);
  if (!tmpl || !frame) return nullptr;
  return BuildMenu(frame, GetPlace(frame, tmpl));
}

// ---- places

int ScxMsgFilter::GetPlaceClass(int nPlace) const {
  if (nPlace >= placeMDIChild && nPlace <= placeMDIChildRestored) return placeMDIChild;
  if (nPlace >= placeDocked && nPlace <= placeDockedBottom) return placeDocked;
  if (nPlace == placeFloating) return placeFloating;
  return placeNone;
}

int ScxMsgFilter::GetToggleTarget(int nPlace) const {
  return GetPlaceClass(nPlace) == placeMDIChild ? placeDocked : placeMDIChild;
}

int ScxMsgFilter::GetPlace(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate) const {
  if (!pFrame || !pFrame->GetSafeHwnd()) return placeNone;
  if (IsMDIChildFrame(pFrame)) {
    if (pFrame->IsZoomed()) return placeMDIChildMaximized;
    if (pFrame->IsIconic()) return placeMDIChildMinimized;
    return placeMDIChildRestored;
  }
  if (pTemplate && pFrame->IsKindOf(RUNTIME_CLASS(SECDockableFrame))) {
    static constexpr int kDocked[] = {placeDockedTop, placeDockedLeft, placeDockedBottom, placeDockedRight,
                                      placeFloating};
    const int side = pTemplate->GetDockedFramePlace(pFrame);
    if (side >= 0 && side <= 4) return kDocked[side];
  }
  return placeNone;
}

CDocTemplate* ScxMsgFilter::FindTemplate(const ScxRequest& request, CRuntimeClass* pTemplateClass) const {
  CFrameWnd* frame = LiveFrame(request.hWnd);
  CView* view = frame ? frame->GetActiveView() : nullptr;
  CDocument* doc = view ? view->GetDocument() : nullptr;
  CDocTemplate* own = doc ? doc->GetDocTemplate() : nullptr;
  CWinApp* app = AfxGetApp();
  if (!own || !app) return nullptr;
  // Only a template the application knows counts.
  for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
    CDocTemplate* tmpl = app->GetNextDocTemplate(pos);
    if (tmpl == own) return !pTemplateClass || tmpl->IsKindOf(pTemplateClass) ? tmpl : nullptr;
  }
  return nullptr;
}

// ---- moves

LRESULT ScxMsgFilter::OnMove(ScxRequest& request, LRESULT* pResult) {
  if (pResult) *pResult = 0;
  auto* tmpl = static_cast<SECMultiDocTemplate*>(FindTemplate(request, RUNTIME_CLASS(SECMultiDocTemplate)));
  CFrameWnd* frame = LiveFrame(request.hWnd);
  if (!tmpl || !frame) return 0;
  const int place = GetPlace(frame, tmpl);
  const int target = request.nTargetPlace == placeToggle ? GetToggleTarget(place) : request.nTargetPlace;
  CFrameWnd* moved = nullptr;
  switch (GetPlaceClass(target)) {
    case placeMDIChild:
      moved = MoveToMDIChild(frame, place, target, tmpl, request);
      break;
    case placeDocked:
      moved = MoveToDocked(frame, place, target, tmpl, request);
      break;
    case placeFloating:
      moved = MoveToFloating(frame, place, target, tmpl, request);
      break;
    default:
      break;
  }
  // The sender learns the frame that came out, or 0 for a move that did not happen.
  if (pResult) *pResult = reinterpret_cast<LRESULT>(moved ? moved->GetSafeHwnd() : nullptr);
  return kHandled | kCaption2 | kCaption4 | kStop;
}

CFrameWnd* ScxMsgFilter::ConvertThroughTemplate(CFrameWnd* pFrame, SECMultiDocTemplate* pTemplate) {
  return pTemplate ? LiveFrame(pTemplate->ConvertFrame(pFrame)) : nullptr;
}

CFrameWnd* ScxMsgFilter::DockThroughTemplate(CFrameWnd* pFrame, UINT nDockBarID, const SECDockPos* pPos,
                                             const SECMDIFrameWnd::SizePair* pSize, SECMultiDocTemplate* pTemplate,
                                             const ScxRequest&) {
  return pTemplate ? LiveFrame(pTemplate->DockFrame(pFrame, nDockBarID, pPos, pSize)) : nullptr;
}

CFrameWnd* ScxMsgFilter::MoveToMDIChild(CFrameWnd* pFrame, int, int nTarget, SECMultiDocTemplate* pTemplate,
                                        const ScxRequest& request) {
  if (!pFrame->GetActiveView() || nTarget < placeMDIChild || nTarget > placeMDIChildRestored) return nullptr;
  // Released on every way out, the abandoned move's too.
  MainWindowLock lock(!IsMDIChildFrame(pFrame));
  CFrameWnd* child = IsMDIChildFrame(pFrame) ? pFrame : ConvertThroughTemplate(pFrame, pTemplate);
  if (!child || !IsMDIChildFrame(child)) return nullptr;
  const HWND hChild = child->m_hWnd;
  const int now = GetPlace(child, pTemplate);
  const HWND client = ::GetParent(hChild);
  if (nTarget != placeMDIChild && nTarget != now) {
    // The client keeps its maximised child: maximising and restoring go through it.
    if (nTarget == placeMDIChildMinimized)
      ::ShowWindow(hChild, SW_MINIMIZE);
    else
      ::SendMessageA(client, nTarget == placeMDIChildMaximized ? WM_MDIMAXIMIZE : WM_MDIRESTORE,
                     reinterpret_cast<WPARAM>(hChild), 0);
  }
  if (nTarget != placeMDIChildMaximized && LiveFrame(hChild) &&
      (request.dwFlags & (ScxRequest::flagPoint | ScxRequest::flagSize)))
    ::SetWindowPos(hChild, nullptr, request.x, request.y, request.cx, request.cy, PositionFlags(request));
  if (::IsWindow(hChild) && ::IsZoomed(hChild)) {
    // The client lays its children out again around the maximised one.
    CRect rc;
    ::GetClientRect(client, &rc);
    ::PostMessageA(client, WM_SIZE, SIZE_RESTORED, 0);
    ::PostMessageA(client, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
  }
  return LiveFrame(hChild);
}

CFrameWnd* ScxMsgFilter::MoveToDocked(CFrameWnd* pFrame, int nPlace, int nTarget, SECMultiDocTemplate* pTemplate,
                                      const ScxRequest& request) {
  if (!pFrame->GetActiveView()) return nullptr;
  const BOOL positioned = (request.dwFlags & (ScxRequest::flagPoint | ScxRequest::flagSize)) != 0;
  if (nTarget == placeDocked && !positioned) {
    if (IsMDIChildFrame(pFrame)) return ConvertThroughTemplate(pFrame, pTemplate);
    if (nPlace == placeFloating) return ToggleDocking(pFrame, pTemplate, request) ? LiveFrame(pFrame) : nullptr;
    return pFrame;
  }
  struct Side {
    int place;
    UINT dockBar;
    DWORD align;
  };
  static constexpr Side kSides[] = {{placeDockedLeft, AFX_IDW_DOCKBAR_LEFT, 0x1400},
                                    {placeDockedTop, AFX_IDW_DOCKBAR_TOP, 0x2800},
                                    {placeDockedRight, AFX_IDW_DOCKBAR_RIGHT, 0x4100},
                                    {placeDockedBottom, AFX_IDW_DOCKBAR_BOTTOM, 0x8200}};
  const Side* side = nullptr;
  for (const Side& s : kSides)
    if (s.place == nTarget) side = &s;
  SECDockPos defaultPos;
  if (nTarget == placeDockedTop || nTarget == placeDockedLeft)
    defaultPos = SECDockPos{1, 0, 3};
  else
    defaultPos = SECDockPos{0, 0, 4};
  const SECMDIFrameWnd::SizePair defaultSize(1.0f, 150);
  const SECDockPos* pos =
      (request.dwFlags & ScxRequest::flagPoint) && request.pDockPos ? request.pDockPos : &defaultPos;
  const SECMDIFrameWnd::SizePair* size =
      (request.dwFlags & ScxRequest::flagSize) && request.pDockSize ? request.pDockSize : &defaultSize;
  const UINT dockBar = side ? side->dockBar : 0;
  if (IsMDIChildFrame(pFrame)) return DockThroughTemplate(pFrame, dockBar, pos, size, pTemplate, request);
  auto* main = dynamic_cast<SECMDIFrameWnd*>(AfxGetMainWnd());
  SECControlBar* bar = HostingBar(pFrame);
  if (!main || !bar) return nullptr;
  if (side) bar->SetBarStyle((bar->GetBarStyle() & ~DWORD(0xF000)) | side->align);
  main->DockControlBarEx(bar, *pos, dockBar, *size);
  main->RecalcLayout();
  return LiveFrame(pFrame);
}

CFrameWnd* ScxMsgFilter::MoveToFloating(CFrameWnd* pFrame, int nPlace, int nTarget, SECMultiDocTemplate* pTemplate,
                                        const ScxRequest& request) {
  if (nTarget != placeFloating || !pFrame->GetActiveView()) return nullptr;
  if (IsMDIChildFrame(pFrame)) {
    if (pFrame->IsIconic())
      ::SendMessageA(::GetParent(pFrame->m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(pFrame->m_hWnd), 0);
    CRect was;
    pFrame->GetWindowRect(&was);
    ScxRequest toDock = request;
    toDock.dwFlags = 0;
    CFrameWnd* docked = MoveToDocked(pFrame, placeMDIChildRestored, placeDocked, pTemplate, toDock);
    if (!docked) return nullptr;
    // It floats where the child was, unless the record says where.
    ScxRequest toFloat = request;
    if (!(toFloat.dwFlags & ScxRequest::flagPoint)) {
      toFloat.x = was.left;
      toFloat.y = was.top;
    }
    if (!(toFloat.dwFlags & ScxRequest::flagSize)) {
      toFloat.cx = was.Width();
      toFloat.cy = was.Height();
    }
    toFloat.dwFlags |= ScxRequest::flagPoint | ScxRequest::flagSize;
    if (GetPlace(docked, pTemplate) == placeFloating) return docked;
    return ToggleDocking(docked, pTemplate, toFloat) ? LiveFrame(docked) : nullptr;
  }
  if (nPlace == placeFloating) {
    SECControlBar* bar = HostingBar(pFrame);
    CFrameWnd* floating = bar ? bar->GetParentFrame() : nullptr;
    if (floating && (request.dwFlags & (ScxRequest::flagPoint | ScxRequest::flagSize)))
      floating->SetWindowPos(nullptr, request.x, request.y, request.cx, request.cy, PositionFlags(request));
    return pFrame;
  }
  return ToggleDocking(pFrame, pTemplate, request) ? LiveFrame(pFrame) : nullptr;
}

BOOL ScxMsgFilter::ToggleDocking(CFrameWnd* pFrame, SECMultiDocTemplate*, const ScxRequest& request) {
  SECControlBar* bar = HostingBar(pFrame);
  CDockContext* context = bar ? bar->m_pDockContext : nullptr;
  if (!context) return FALSE;
  const HWND hBar = bar->m_hWnd;
  const CPoint remembered = context->m_ptMRUFloatPos;
  if (request.dwFlags & ScxRequest::flagPoint) context->m_ptMRUFloatPos = CPoint(request.x, request.y);
  if (request.dwFlags & ScxRequest::flagSize) bar->m_szFloat = CSize(request.cx, request.cy);
  context->ToggleDocking();
  // The bar's own float position comes back, whichever way the toggle went.
  if (::IsWindow(hBar) && CWnd::FromHandlePermanent(hBar) == bar) context->m_ptMRUFloatPos = remembered;
  return TRUE;
}

}  // namespace nsSysCommandEx
