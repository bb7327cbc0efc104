#include "afxwin.h"
#include "CWnd.h"

#include <mutex>
#include <set>
#include <cstring>
#include <string>

#include "AfxDDX.h"
#include "CCmdUI.h"
#include "CDC.h"
#include "CFrameWnd.h"
#include "CGdiObject.h"
#include "CWinApp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_CTLCOLOR()
  ON_WM_COMPAREITEM()
  ON_WM_DELETEITEM()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_VKEYTOITEM()
  ON_WM_CHARTOITEM()
  ON_WM_PARENTNOTIFY()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

const char _afxWnd[] = AFX_WND;
const char _afxWndFrameOrView[] = AFX_WNDFRAMEORVIEW;
const char _afxWndControlBar[] = AFX_WNDCONTROLBAR;

namespace plat::afx {
std::unique_ptr<CWnd> WndTraits::MakeTemporary(HWND h) { return MakeControlObject(h); }
void WndTraits::Set(CWnd& w, HWND h) { w.m_hWnd = h; }
void WndTraits::Clear(CWnd& w) { w.m_hWnd = nullptr; }

namespace {
// The framework's classes are registered once per process, on first use.
void RegisterFrameworkClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = _afxWnd;
    AfxRegisterClass(&wc);
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = _afxWndFrameOrView;
    AfxRegisterClass(&wc);
    wc.style = 0;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = _afxWndControlBar;
    AfxRegisterClass(&wc);
  });
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  ThreadState& ts = Thread();
  if (code == HCBT_CREATEWND && ts.pWndInit) {
    CWnd* pWnd = ts.pWndInit;
    ts.pWndInit = nullptr;
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    pWnd->Attach(hWnd);
    pWnd->PreSubclassWindow();
    auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc) *pWnd->GetSuperWndProcAddr() = old;
  }
  return ::CallNextHookEx(ts.hHookCreate, code, wParam, lParam);
}

HWND ParentOwner(HWND hWnd) {
  return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);
}

// Checks the update handlers before a menu or accelerator command runs: a command
// whose handler disabled it is not carried out.
class CTestCmdUI : public CCmdUI {
 public:
  BOOL m_bEnabled = TRUE;
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
};
}  // namespace
}  // namespace plat::afx

using plat::afx::Thread;

BOOL AfxRegisterClass(WNDCLASS* lpWndClass) {
  WNDCLASS existing{};
  if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) return TRUE;
  return ::RegisterClassA(lpWndClass) != 0;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex mutex;
  static std::set<std::string> names;  // nodes never move, so the texts stay valid
  char name[96];
  snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
           static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  std::lock_guard lock(mutex);
  auto [it, added] = names.insert(name);
  if (added) {
    WNDCLASS wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = it->c_str();
    if (!AfxRegisterClass(&wc)) {
      names.erase(it);
      AfxThrowResourceException();
    }
  }
  return it->c_str();
}

void AfxHookWindowCreate(CWnd* pWnd) {
  auto& ts = Thread();
  if (!ts.hHookCreate) ts.hHookCreate = ::SetWindowsHookExA(WH_CBT, &plat::afx::CbtFilterHook, nullptr, ::GetCurrentThreadId());
  ts.pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  auto& ts = Thread();
  if (ts.pWndInit) {
    ts.pWndInit = nullptr;
    return FALSE;  // the hook never saw the window
  }
  return TRUE;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  auto& ts = Thread();
  MSG saved = ts.lastSent;
  ts.lastSent = MSG{hWnd, nMsg, wParam, lParam, 0, {}};
  // pWnd may be gone after WM_NCDESTROY (self-deleting windows): it is not touched again.
  LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
  Thread().lastSent = saved;
  return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  if (nMsg == WM_QUERYAFXWNDPROC) return 1;
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

// ---- object and handle

HWND CWnd::GetSafeHwnd() const {
  const CWnd* self = plat::afx::Unassumed(this);
  return self ? self->m_hWnd : nullptr;
}

CWnd::~CWnd() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
    // The derived parts are gone: only the window itself is destroyed here.
    ::DestroyWindow(m_hWnd);
  }
  if (m_hWnd) Detach();
}

CWnd* CWnd::FromHandle(HWND hWnd) { return Thread().wnds.FromHandle(hWnd); }
CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return hWnd ? Thread().wnds.LookupPermanent(hWnd) : nullptr; }
void CWnd::DeleteTempMap() { Thread().wnds.DeleteTemp(); }

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew) return FALSE;
  Thread().wnds.SetPermanent(hWndNew, this);
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  Thread().wnds.Forget(h, this);
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (old != &AfxWndProc) *GetSuperWndProcAddr() = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWndControl = ::GetDlgItem(CWnd::SafeHwndOf(pParent), static_cast<int>(nID));
  return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  WNDPROC* super = GetSuperWndProcAddr();
  if (*super) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*super));
  *super = nullptr;
  return Detach();
}

// ---- creation

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) {
    plat::afx::RegisterFrameworkClasses();
    cs.lpszClass = _afxWnd;
  }
  return TRUE;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs{lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                  static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();  // the window was never made: undo as if destroyed
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, Extent(rect.left, rect.right),
                  Extent(rect.top, rect.bottom), CWnd::SafeHwndOf(pParentWnd),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND hWnd = m_hWnd;
  bool permanent = FromHandlePermanent(hWnd) == this;
  BOOL result = ::DestroyWindow(hWnd);
  // A window that was never attached (or is on another thread) is only let go of.
  if (!permanent && m_hWnd == hWnd) Detach();
  return result;
}

void CWnd::PostNcDestroy() {}

void CWnd::OnNcDestroy() {
  CWinThread* pThread = AfxGetThread();
  if (pThread && pThread->m_pMainWnd == this) {
    // The main window closing ends its thread's message loop.
    ::PostQuitMessage(0);
    pThread->m_pMainWnd = nullptr;
  }
  Default();
  WNDPROC* super = GetSuperWndProcAddr();
  if (*super) {
    auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    if (current == &AfxWndProc) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*super));
    *super = nullptr;
  }
  Detach();
  PostNcDestroy();
}

// ---- dispatch

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_nFlags & WF_TOOLTIPS) FilterToolTipMessage(pMsg);
  return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT ignored = 0;
  if (!pResult) pResult = &ignored;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    LRESULT r = 0;
    if (!hdr || !OnNotify(wParam, lParam, &r)) return FALSE;
    *pResult = r;
    return TRUE;
  }
  plat::afx::MsgCall call;
  call.message = message;
  call.wParam = wParam;
  call.lParam = lParam;
  AFX_CTLCOLOR ctl{};
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    // The colour requests share one handler that gets the kind as an argument.
    ctl = AFX_CTLCOLOR{reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
    call.message = message = WM_CTLCOLOR;
    call.wParam = 0;
    call.lParam = reinterpret_cast<LPARAM>(&ctl);
  }
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message);
  if (!entry || !DispatchEntry(*entry, call)) return FALSE;
  *pResult = call.result;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (WNDPROC super = *GetSuperWndProcAddr()) return ::CallWindowProcA(super, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = Thread().lastSent;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage() {
  MSG& m = Thread().lastSent;
  m.time = static_cast<DWORD>(::GetMessageTime());
  const DWORD pos = ::GetMessagePos();
  m.pt = POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  return &m;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  auto hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (Thread().hLockoutNotifyWindow == m_hWnd) return TRUE;  // data exchange in progress
  if (!hWndCtrl) {
    if (nID == 0) return FALSE;
    plat::afx::CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr);
    if (!state.m_bEnabled) return TRUE;  // disabled since the menu was shown
    nCode = CN_COMMAND;
  } else {
    if (ReflectLastMsg(hWndCtrl)) return TRUE;  // the control handled its own notification
    if (nID == 0) return FALSE;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  HWND hWndCtrl = hdr->hwndFrom;
  UINT nID = hWndCtrl ? static_cast<UINT>(::GetDlgCtrlID(hWndCtrl)) : static_cast<UINT>(hdr->idFrom);
  if (Thread().hLockoutNotifyWindow == m_hWnd) return TRUE;
  if (hWndCtrl && ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
  AFX_NOTIFY notify{pResult, hdr};
  return OnCmdMsg(nID, MAKELONG(hdr->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
      int nCode = HIWORD(wParam);
      if (OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
        if (pResult) *pResult = 1;
        return TRUE;
      }
      return FALSE;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lParam);
      LRESULT ignored = 0;
      AFX_NOTIFY notify{pResult ? pResult : &ignored, hdr};
      return OnCmdMsg(0, MAKELONG(hdr->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl{reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult);
      }
      return FALSE;
  }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  return pWnd ? pWnd->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
  MSG m = Thread().lastSent;
  return OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

// ---- data exchange

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::ExecuteDlgInit(LPCSTR lpszResourceName) {
  if (!lpszResourceName) return TRUE;
  HMODULE module = reinterpret_cast<HMODULE>(AfxGetResourceHandle());
  HRSRC res = ::FindResourceA(module, lpszResourceName, MAKEINTRESOURCEA(240));
  if (!res) return TRUE;
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, res)));
  const size_t size = ::SizeofResource(module, res);
  if (!data) return TRUE;
  // Records: WORD control id (0 ends), WORD message, DWORD length, then the bytes. The
  // messages are the 16-bit list and combo box ones, as the resource script keeps them.
  size_t pos = 0;
  auto word = [&](size_t at) { return static_cast<WORD>(data[at] | (data[at + 1] << 8)); };
  while (pos + 2 <= size) {
    const WORD id = word(pos);
    if (id == 0) return TRUE;
    if (pos + 8 > size) return FALSE;
    const WORD message = word(pos + 2);
    const DWORD length = static_cast<DWORD>(word(pos + 4)) | (static_cast<DWORD>(word(pos + 6)) << 16);
    pos += 8;
    if (length > size - pos) return FALSE;
    const std::string text(reinterpret_cast<const char*>(data + pos), strnlen(reinterpret_cast<const char*>(data + pos), length));
    pos += length;
    UINT msg = 0;
    if (message == 0x0401) msg = LB_ADDSTRING;
    else if (message == 0x0403) msg = CB_ADDSTRING;
    else continue;  // data of other kinds of control is not this framework's
    const LRESULT r = ::SendDlgItemMessageA(m_hWnd, id, msg, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (r == LB_ERR || r == LB_ERRSPACE) return FALSE;
  }
  return TRUE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  auto& ts = Thread();
  HWND oldLockout = ts.hLockoutNotifyWindow;
  ts.hLockoutNotifyWindow = m_hWnd;  // controls changed by the exchange must not call back
  CDataExchange dx(this, bSaveAndValidate);
  BOOL ok = FALSE;
  TRY {
    DoDataExchange(&dx);
    ok = TRUE;
  }
  CATCH(CUserException, e) {
    // The user was already told; the failing control has the focus.
  }
  END_CATCH
  Thread().hLockoutNotifyWindow = oldLockout;
  return ok;
}

// ---- layout

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
  DWORD exStyle = GetExStyle();
  if (nAdjustType == adjustBorder) exStyle &= ~WS_EX_CLIENTEDGE;
  ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
  HWND hWndParent = ::GetParent(hWnd);
  RECT old{};
  ::GetWindowRect(hWnd, &old);
  ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&old), 2);
  if (::EqualRect(&old, lpRect)) return;
  int cx = lpRect->right - lpRect->left, cy = lpRect->bottom - lpRect->top;
  if (lpLayout && lpLayout->hDWP)
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top, cx, cy,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
  else
    ::SetWindowPos(hWnd, nullptr, lpRect->left, lpRect->top, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
  AFX_SIZEPARENTPARAMS layout{};
  layout.bStretch = bStretch;
  if (lpRectClient)
    layout.rect = *lpRectClient;
  else
    ::GetClientRect(m_hWnd, &layout.rect);
  layout.hDWP = nFlags != reposQuery ? ::BeginDeferWindowPos(8) : nullptr;
  HWND hWndLeftOver = nullptr;
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id == nIDLeftOver)
      hWndLeftOver = child;
    else if (id >= nIDFirst && id <= nIDLast && FromHandlePermanent(child))
      ::SendMessageA(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
  }
  if (nFlags == reposQuery) {
    if (bStretch)
      *lpRectParam = layout.rect;
    else
      *lpRectParam = RECT{0, 0, layout.sizeTotal.cx, layout.sizeTotal.cy};
    return;
  }
  if (nIDLeftOver != 0 && hWndLeftOver) {
    if (nFlags == reposExtra && lpRectParam) {
      layout.rect.left += lpRectParam->left;
      layout.rect.top += lpRectParam->top;
      layout.rect.right -= lpRectParam->right;
      layout.rect.bottom -= lpRectParam->bottom;
    }
    FromHandle(hWndLeftOver)->CalcWindowRect(&layout.rect);
    AfxRepositionWindow(&layout, hWndLeftOver, &layout.rect);
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  RECT area{};
  HWND hWndCenter = CWnd::SafeHwndOf(pAlternateOwner);
  DWORD style = GetStyle();
  if (style & WS_CHILD) {
    HWND parent = ::GetParent(m_hWnd);
    ::GetClientRect(parent, &area);
  } else {
    if (!hWndCenter) hWndCenter = ::GetWindow(m_hWnd, GW_OWNER);
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (hWndCenter && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter))
      ::GetWindowRect(hWndCenter, &area);
    else
      area = screen;
  }
  RECT rc{};
  ::GetWindowRect(m_hWnd, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = (area.left + area.right) / 2 - w / 2;
  int y = (area.top + area.bottom) / 2 - h / 2;
  if (!(style & WS_CHILD)) {
    // Keep the whole window on the screen.
    int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    if (x + w > sw) x = sw - w;
    if (y + h > sh) y = sh - h;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
  }
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- tree

CFrameWnd* CWnd::GetParentFrame() const {
  if (!GetSafeHwnd()) return nullptr;
  for (CWnd* p = GetParent(); p; p = p->GetParent())
    if (p->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(p);
  return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
  if (!GetSafeHwnd()) return nullptr;
  CFrameWnd* frame = IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(const_cast<CWnd*>(this))
                                                         : GetParentFrame();
  while (frame) {
    CFrameWnd* next = frame->GetParentFrame();
    if (!next) break;
    frame = next;
  }
  return frame;
}

CWnd* CWnd::GetParentOwner() const {
  HWND h = plat::afx::ParentOwner(m_hWnd);
  return h ? FromHandle(h) : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
  if (!GetSafeHwnd()) return nullptr;
  HWND top = m_hWnd;
  for (HWND h; (h = plat::afx::ParentOwner(top)) != nullptr;) top = h;
  return FromHandle(top);
}

CWnd* CWnd::GetTopLevelOwner() const {
  if (!GetSafeHwnd()) return nullptr;
  HWND top = m_hWnd;
  for (HWND h; (h = ::GetWindow(top, GW_OWNER)) != nullptr;) top = h;
  return FromHandle(top);
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
  HWND hWnd = CWnd::SafeHwndOf(pParent);
  if (!hWnd) {
    CWnd* main = AfxGetMainWnd();
    hWnd = CWnd::SafeHwndOf(main);
  }
  while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  // The top of the owner chain: a dialog owned by a palette must keep the main window
  // from input too.
  HWND top = hWnd;
  for (HWND up = top ? ::GetWindow(top, GW_OWNER) : nullptr; up; up = ::GetWindow(up, GW_OWNER)) top = up;
  if (hWnd) hWnd = ::GetLastActivePopup(hWnd);
  if (pWndTop) {
    *pWndTop = nullptr;
    if (top && top != hWnd && ::IsWindowEnabled(top)) {
      ::EnableWindow(top, FALSE);
      *pWndTop = top;
    }
  }
  return hWnd ? FromHandle(hWnd) : nullptr;
}

CWnd* CWnd::GetOwner() const { return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent(); }

namespace {
HWND DescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm) {
  if (HWND direct = ::GetDlgItem(hWnd, nID)) {
    // A child with the same id as its parent (nested splitters) wins over the parent.
    if (::GetTopWindow(direct)) {
      if (HWND deeper = DescendantWindow(direct, nID, bOnlyPerm)) return deeper;
    }
    if (!bOnlyPerm || CWnd::FromHandlePermanent(direct)) return direct;
  }
  for (HWND child = ::GetTopWindow(hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (HWND found = DescendantWindow(child, nID, bOnlyPerm)) return found;
  }
  return nullptr;
}
}  // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
  return FromHandle(DescendantWindow(m_hWnd, nID, bOnlyPerm));
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
  for (HWND child = ::GetTopWindow(m_hWnd); child;) {
    HWND next = ::GetWindow(child, GW_HWNDNEXT);
    if (bOnlyPerm) {
      if (CWnd* p = FromHandlePermanent(child)) AfxCallWndProc(p, child, message, wParam, lParam);
    } else {
      ::SendMessageA(child, message, wParam, lParam);
    }
    if (bDeep && ::IsWindow(child) && ::GetTopWindow(child)) {
      CWnd tmp(child);
      tmp.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
      tmp.m_hWnd = nullptr;
    }
    child = next;
  }
}

// ---- styles

namespace {
BOOL ModifyWindowLong(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD style = static_cast<DWORD>(::GetWindowLongA(hWnd, index));
  DWORD next = (style & ~dwRemove) | dwAdd;
  if (style == next) return FALSE;
  ::SetWindowLongA(hWnd, index, static_cast<LONG>(next));
  // Frame changes need the window told.
  if (nFlags)
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  return TRUE;
}
}  // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyWindowLong(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyWindowLong(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) { return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags); }
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

// ---- text, controls, geometry

void CWnd::GetWindowText(CString& rString) const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(n), n + 1);
  rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND h = ::GetDlgItem(m_hWnd, nID);
  if (!h) return 0;
  CWnd tmp(h);
  tmp.GetWindowText(rString);
  tmp.m_hWnd = nullptr;
  return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
  char text[16];
  if (bSigned)
    snprintf(text, sizeof text, "%d", static_cast<int>(nValue));
  else
    snprintf(text, sizeof text, "%u", nValue);
  SetDlgItemText(nID, text);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
  CString text;
  GetDlgItemText(nID, text);
  const char* s = text;
  while (*s == ' ' || *s == '\t') ++s;
  char* end = nullptr;
  errno = 0;
  long long v = bSigned ? strtoll(s, &end, 10) : static_cast<long long>(strtoull(s, &end, 10));
  while (end && (*end == ' ' || *end == '\t')) ++end;
  bool ok = end && end != s && *end == '\0' && errno == 0 &&
            (bSigned ? (v >= INT32_MIN && v <= INT32_MAX) : (v >= 0 && v <= UINT32_MAX && *s != '-'));
  if (lpTrans) *lpTrans = ok;
  return ok ? static_cast<UINT>(v) : 0;
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    if (HWND h = ::GetDlgItem(m_hWnd, id)) ::SendMessageA(h, BM_SETCHECK, id == nIDCheckButton, 0);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) {
  for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
    if (IsDlgButtonChecked(id)) return id;
  return 0;
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(CGdiObject::SafeHandleOf(pFont)), bRedraw);
}

CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)));
}

namespace {
// A window object that only names a place in the z-order; it owns and attaches nothing.
struct ZOrderPlace : CWnd {
  explicit ZOrderPlace(HWND place) { m_hWnd = place; }
  ~ZOrderPlace() override { m_hWnd = nullptr; }
};
const ZOrderPlace g_top(HWND_TOP), g_bottom(HWND_BOTTOM), g_topMost(HWND_TOPMOST), g_noTopMost(HWND_NOTOPMOST);
}  // namespace

const CWnd& CWnd::wndTop = g_top;
const CWnd& CWnd::wndBottom = g_bottom;
const CWnd& CWnd::wndTopMost = g_topMost;
const CWnd& CWnd::wndNoTopMost = g_noTopMost;

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  // The special insert-after values come as fake object pointers (&wndTop ...).
  HWND after = pWndInsertAfter ? pWndInsertAfter->m_hWnd : HWND_TOP;
  return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}

void CWnd::ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CWnd::ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

int CWnd::ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, CDC::SafeHdcOf(pDC)); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
  if (!lpszCaption) {
    CWinApp* app = AfxGetApp();
    lpszCaption = app && app->m_pszAppName ? app->m_pszAppName : "";
  }
  return plat::afx::ShowMessageBox(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  if (CWinApp* app = AfxGetApp()) app->WinHelp(dwData, nCmd);
}
