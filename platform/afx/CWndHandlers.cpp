// CWnd's default message handlers: most hand the message to the window's default
// procedure; those of owner-draw, scrolling and colour messages first offer it back to
// the control that sent it (reflection).
#include "afxwin.h"
#include "CDC.h"
#include "AfxControls.h"
#include "CMenu.h"
#include "CWnd.h"

#define AFX_DEFAULT_VOID(decl) \
  void CWnd::decl { Default(); }
#define AFX_DEFAULT_RESULT(type, decl) \
  type CWnd::decl { return (type)Default(); }

AFX_DEFAULT_RESULT(int, OnCreate(LPCREATESTRUCT))
AFX_DEFAULT_RESULT(BOOL, OnNcCreate(LPCREATESTRUCT))
AFX_DEFAULT_VOID(OnDestroy())
AFX_DEFAULT_VOID(OnMove(int, int))
AFX_DEFAULT_VOID(OnSize(UINT, int, int))
AFX_DEFAULT_VOID(OnSizing(UINT, LPRECT))
AFX_DEFAULT_VOID(OnMoving(UINT, LPRECT))
AFX_DEFAULT_VOID(OnActivate(UINT, CWnd*, BOOL))
AFX_DEFAULT_VOID(OnActivateApp(BOOL, DWORD))
AFX_DEFAULT_VOID(OnSetFocus(CWnd*))
AFX_DEFAULT_VOID(OnKillFocus(CWnd*))
AFX_DEFAULT_VOID(OnEnable(BOOL))
AFX_DEFAULT_VOID(OnPaint())
AFX_DEFAULT_VOID(OnNcPaint())
AFX_DEFAULT_VOID(OnClose())
AFX_DEFAULT_RESULT(BOOL, OnEraseBkgnd(CDC*))
AFX_DEFAULT_VOID(OnIconEraseBkgnd(CDC*))
AFX_DEFAULT_VOID(OnShowWindow(BOOL, UINT))
AFX_DEFAULT_VOID(OnSettingChange(UINT, LPCSTR))
AFX_DEFAULT_VOID(OnCancelMode())
AFX_DEFAULT_RESULT(BOOL, OnSetCursor(CWnd*, UINT, UINT))
AFX_DEFAULT_RESULT(int, OnMouseActivate(CWnd*, UINT, UINT))
AFX_DEFAULT_VOID(OnChildActivate())
AFX_DEFAULT_VOID(OnGetMinMaxInfo(MINMAXINFO*))
AFX_DEFAULT_RESULT(HCURSOR, OnQueryDragIcon())
AFX_DEFAULT_VOID(OnWindowPosChanging(WINDOWPOS*))
AFX_DEFAULT_VOID(OnWindowPosChanged(WINDOWPOS*))
AFX_DEFAULT_VOID(OnContextMenu(CWnd*, CPoint))
AFX_DEFAULT_VOID(OnStyleChanged(int, LPSTYLESTRUCT))
AFX_DEFAULT_VOID(OnStyleChanging(int, LPSTYLESTRUCT))
AFX_DEFAULT_VOID(OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*))
AFX_DEFAULT_RESULT(UINT, OnNcHitTest(CPoint))
AFX_DEFAULT_RESULT(BOOL, OnNcActivate(BOOL))
AFX_DEFAULT_RESULT(UINT, OnGetDlgCode())
AFX_DEFAULT_VOID(OnNcMouseMove(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcLButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcRButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcRButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcRButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnNcMButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnKeyDown(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnKeyUp(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnDeadChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysKeyDown(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysKeyUp(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysDeadChar(UINT, UINT, UINT))
AFX_DEFAULT_VOID(OnSysCommand(UINT, LPARAM))
AFX_DEFAULT_VOID(OnTimer(UINT_PTR))
AFX_DEFAULT_VOID(OnInitMenu(CMenu*))
AFX_DEFAULT_VOID(OnInitMenuPopup(CMenu*, UINT, BOOL))
AFX_DEFAULT_VOID(OnMenuSelect(UINT, UINT, HMENU))
AFX_DEFAULT_RESULT(LRESULT, OnMenuChar(UINT, UINT, CMenu*))
AFX_DEFAULT_VOID(OnEnterIdle(UINT, CWnd*))
AFX_DEFAULT_VOID(OnEnterMenuLoop(BOOL))
AFX_DEFAULT_VOID(OnExitMenuLoop(BOOL))
AFX_DEFAULT_VOID(OnMouseMove(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnLButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonUp(UINT, CPoint))
AFX_DEFAULT_VOID(OnRButtonDblClk(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonDown(UINT, CPoint))
AFX_DEFAULT_VOID(OnMButtonUp(UINT, CPoint))
AFX_DEFAULT_RESULT(BOOL, OnMouseWheel(UINT, short, CPoint))
AFX_DEFAULT_VOID(OnCaptureChanged(CWnd*))
AFX_DEFAULT_VOID(OnPaletteChanged(CWnd*))
AFX_DEFAULT_RESULT(BOOL, OnQueryNewPalette())

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct->CtlType != ODT_MENU) {
    // The record names no window: find the control by its id.
    CWnd* child = GetDescendantWindow(nIDCtl, TRUE);
    if (child && child->SendChildNotifyLastMsg()) return;
  }
  Default();
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT result = 0;
  if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT result = 0;
  if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &result)) return reinterpret_cast<HBRUSH>(result);
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar && ReflectLastMsg(static_cast<CWnd*>(pScrollBar)->m_hWnd)) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
  if (pScrollBar && ReflectLastMsg(static_cast<CWnd*>(pScrollBar)->m_hWnd)) return;
  Default();
}

int CWnd::OnVKeyToItem(UINT, CListBox* pListBox, UINT) {
  LRESULT result = 0;
  if (pListBox && ReflectLastMsg(static_cast<CWnd*>(pListBox)->m_hWnd, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

int CWnd::OnCharToItem(UINT, CListBox* pListBox, UINT) {
  LRESULT result = 0;
  if (pListBox && ReflectLastMsg(static_cast<CWnd*>(pListBox)->m_hWnd, &result)) return static_cast<int>(result);
  return static_cast<int>(Default());
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam) {
  if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) &&
      ReflectLastMsg(reinterpret_cast<HWND>(lParam)))
    return;
  Default();
}

// Windows tells only top-level windows of a colour change; a top-level window passes it
// on to the framework's windows inside it, so controls can reread their colours.
void CWnd::OnSysColorChange() {
  if (!(GetStyle() & WS_CHILD)) SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
  Default();
}
