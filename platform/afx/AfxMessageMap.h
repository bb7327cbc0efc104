// Message maps: per-class tables that route window messages, commands and
// notifications to member functions. Each entry holds a small function made from a
// lambda in the class's own scope, so the handler's signature is checked by the
// compiler where the map is written.
#pragma once
#include "AfxMsg.h"

class CCmdTarget;
class CCmdUI;

class CScrollBar;

namespace plat::afx {
// The scroll message's sender as a scroll bar: its own object when it is one; for another
// control that scrolls (a trackbar) an object of this thread that only names its window,
// so handlers written for scroll bars reach the control without a cast to a wrong type.
CScrollBar* ScrollBarFromHandle(HWND hWnd);

// One dispatch: the message as it arrived and the slot its result goes to.
struct MsgCall {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  UINT nID = 0;            // commands and notifications: the control or command id
  void* pExtra = nullptr;  // CCmdUI* for updates, AFX_NOTIFY* for notifications
  LRESULT result = 0;
};
// Calls the handler; FALSE when the handler declined (the _EX entries, reflected
// colour requests without a brush) so routing goes on.
using MsgThunk = BOOL (*)(CCmdTarget*, MsgCall&);
}  // namespace plat::afx

// Marks an entry whose message number is the value of a registered-message variable.
#define AFX_REGISTERED_MESSAGE 0xC000u

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;  // notification code, kept as its low 16 bits
  UINT nID;
  UINT nLastID;
  const UINT* pnRegistered;
  plat::afx::MsgThunk pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg reports when it is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  const AFX_MSGMAP_ENTRY* pEntry;
};

// The record behind WM_NOTIFY commands.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// The record behind WM_CTLCOLOR dispatch (the Win32 WM_CTLCOLORxxx messages folded).
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;
};
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6

#define afx_msg

#define DECLARE_MESSAGE_MAP()                         \
 protected:                                           \
  static const AFX_MSGMAP* GetThisMessageMap();       \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }         \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                         \
    using ThisClass [[maybe_unused]] = theClass;                                            \
    typedef baseClass TheBaseClass;                                                         \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                        \
  {0, 0, 0, 0, nullptr, nullptr}                                                 \
  };                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                            \
  }

// A handler body with `p_` the target as the map's class and `m_` the call.
#define AFX_THUNK(...)                                                          \
  [](CCmdTarget* pTarget_, ::plat::afx::MsgCall& m_) -> BOOL {                   \
    ThisClass* p_ = static_cast<ThisClass*>(pTarget_);                           \
    (void)p_;                                                                    \
    (void)m_;                                                                    \
    __VA_ARGS__                                                                  \
  }
#define AFX_WM_ENTRY(msg, ...) {(UINT)(msg), 0, 0, 0, nullptr, AFX_THUNK(__VA_ARGS__)},
#define AFX_WM_VOID(msg, ...) AFX_WM_ENTRY(msg, p_->__VA_ARGS__; return TRUE;)
#define AFX_WM_RESULT(msg, ...) AFX_WM_ENTRY(msg, m_.result = (LRESULT)(p_->__VA_ARGS__); return TRUE;)
#define AFX_WP_ ((UINT)m_.wParam)
#define AFX_LP_POINT_ CPoint(GET_X_LPARAM(m_.lParam), GET_Y_LPARAM(m_.lParam))
#define AFX_WND_(h) CWnd::FromHandle((HWND)(h))

// ---- commands and updates
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(p_->memberFxn(); return TRUE;)},
#define ON_COMMAND_EX(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(return p_->memberFxn(m_.nID);)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(p_->memberFxn(m_.nID); return TRUE;)},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(return p_->memberFxn(m_.nID);)},
#define AFX_UPDATE_THUNK(memberFxn)                                   \
  AFX_THUNK(CCmdUI* ui_ = static_cast<CCmdUI*>(m_.pExtra);             \
            ui_->m_bContinueRouting = FALSE; p_->memberFxn(ui_);       \
            return !ui_->m_bContinueRouting;)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  {WM_COMMAND, 0xFFFFu, (UINT)(id), (UINT)(id), nullptr, AFX_UPDATE_THUNK(memberFxn)},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  {WM_COMMAND, 0xFFFFu, (UINT)(id), (UINT)(idLast), nullptr, AFX_UPDATE_THUNK(memberFxn)},

// ---- control notifications (WM_COMMAND from a child)
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(p_->memberFxn(); return TRUE;)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                    \
  {WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,                  \
   AFX_THUNK(p_->memberFxn(m_.nID); return TRUE;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---- WM_NOTIFY
#define AFX_NOTIFY_(m) (static_cast<AFX_NOTIFY*>((m).pExtra))
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                          \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,              \
   AFX_THUNK(p_->memberFxn(AFX_NOTIFY_(m_)->pNMHDR, AFX_NOTIFY_(m_)->pResult); return TRUE;)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                        \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,                      \
   AFX_THUNK(p_->memberFxn(m_.nID, AFX_NOTIFY_(m_)->pNMHDR, AFX_NOTIFY_(m_)->pResult); return TRUE;)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                   \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,          \
   AFX_THUNK(return p_->memberFxn(m_.nID, AFX_NOTIFY_(m_)->pNMHDR, AFX_NOTIFY_(m_)->pResult);)},
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                     \
  {WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr,      \
   AFX_THUNK(return p_->memberFxn(m_.nID, AFX_NOTIFY_(m_)->pNMHDR, AFX_NOTIFY_(m_)->pResult);)},

// ---- reflected notifications (handled by the control that sent them)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(p_->memberFxn(); return TRUE;)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(return p_->memberFxn();)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                       \
  {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr,               \
   AFX_THUNK(p_->memberFxn(AFX_NOTIFY_(m_)->pNMHDR, AFX_NOTIFY_(m_)->pResult); return TRUE;)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                    \
  {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr,               \
   AFX_THUNK(return p_->memberFxn(AFX_NOTIFY_(m_)->pNMHDR, AFX_NOTIFY_(m_)->pResult);)},
#define ON_WM_CTLCOLOR_REFLECT()                                                              \
  AFX_WM_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE,                                                 \
               AFX_CTLCOLOR* c_ = reinterpret_cast<AFX_CTLCOLOR*>(m_.lParam);                 \
               HBRUSH b_ = p_->CtlColor(CDC::FromHandle(c_->hDC), c_->nCtlType);              \
               m_.result = (LRESULT)b_; return b_ != nullptr;)
#define ON_WM_DRAWITEM_REFLECT() \
  AFX_WM_VOID(WM_DRAWITEM + WM_REFLECT_BASE, DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(m_.lParam)))
#define ON_WM_MEASUREITEM_REFLECT() \
  AFX_WM_VOID(WM_MEASUREITEM + WM_REFLECT_BASE, MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(m_.lParam)))
#define ON_WM_HSCROLL_REFLECT() \
  AFX_WM_VOID(WM_HSCROLL + WM_REFLECT_BASE, HScroll(LOWORD(m_.wParam), (UINT)(short)HIWORD(m_.wParam)))
#define ON_WM_VSCROLL_REFLECT() \
  AFX_WM_VOID(WM_VSCROLL + WM_REFLECT_BASE, VScroll(LOWORD(m_.wParam), (UINT)(short)HIWORD(m_.wParam)))

// ---- any message
#define ON_MESSAGE(message, memberFxn) AFX_WM_RESULT(message, memberFxn(m_.wParam, m_.lParam))
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                 \
  {AFX_REGISTERED_MESSAGE, 0, 0, 0, &(nMessageVariable),                    \
   AFX_THUNK(m_.result = (LRESULT)(p_->memberFxn(m_.wParam, m_.lParam)); return TRUE;)},
#define ON_THREAD_MESSAGE(message, memberFxn) AFX_WM_VOID(message, memberFxn(m_.wParam, m_.lParam))
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn) \
  {AFX_REGISTERED_MESSAGE, 0, 0, 0, &(nMessageVariable), AFX_THUNK(p_->memberFxn(m_.wParam, m_.lParam); return TRUE;)},

// ---- window messages, with the framework's handler signatures
#define ON_WM_CREATE() AFX_WM_RESULT(WM_CREATE, OnCreate(reinterpret_cast<LPCREATESTRUCT>(m_.lParam)))
#define ON_WM_NCCREATE() AFX_WM_RESULT(WM_NCCREATE, OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(m_.lParam)))
#define ON_WM_DESTROY() AFX_WM_VOID(WM_DESTROY, OnDestroy())
#define ON_WM_NCDESTROY() AFX_WM_VOID(WM_NCDESTROY, OnNcDestroy())
#define ON_WM_MOVE() AFX_WM_VOID(WM_MOVE, OnMove(GET_X_LPARAM(m_.lParam), GET_Y_LPARAM(m_.lParam)))
#define ON_WM_SIZE() AFX_WM_VOID(WM_SIZE, OnSize(AFX_WP_, (int)(short)LOWORD(m_.lParam), (int)(short)HIWORD(m_.lParam)))
#define ON_WM_SIZING() AFX_WM_VOID(WM_SIZING, OnSizing(AFX_WP_, reinterpret_cast<LPRECT>(m_.lParam)))
#define ON_WM_MOVING() AFX_WM_VOID(WM_MOVING, OnMoving(AFX_WP_, reinterpret_cast<LPRECT>(m_.lParam)))
#define ON_WM_ACTIVATE() \
  AFX_WM_VOID(WM_ACTIVATE, OnActivate(LOWORD(m_.wParam), AFX_WND_(m_.lParam), (BOOL)HIWORD(m_.wParam)))
#define ON_WM_ACTIVATEAPP() AFX_WM_VOID(WM_ACTIVATEAPP, OnActivateApp((BOOL)m_.wParam, (DWORD)m_.lParam))
#define ON_WM_SETFOCUS() AFX_WM_VOID(WM_SETFOCUS, OnSetFocus(AFX_WND_(m_.wParam)))
#define ON_WM_KILLFOCUS() AFX_WM_VOID(WM_KILLFOCUS, OnKillFocus(AFX_WND_(m_.wParam)))
#define ON_WM_ENABLE() AFX_WM_VOID(WM_ENABLE, OnEnable((BOOL)m_.wParam))
#define ON_WM_PAINT() AFX_WM_VOID(WM_PAINT, OnPaint())
#define ON_WM_NCPAINT() AFX_WM_VOID(WM_NCPAINT, OnNcPaint())
#define ON_WM_CLOSE() AFX_WM_VOID(WM_CLOSE, OnClose())
#define ON_WM_ERASEBKGND() AFX_WM_RESULT(WM_ERASEBKGND, OnEraseBkgnd(CDC::FromHandle((HDC)m_.wParam)))
#define ON_WM_ICONERASEBKGND() AFX_WM_VOID(WM_ICONERASEBKGND, OnIconEraseBkgnd(CDC::FromHandle((HDC)m_.wParam)))
#define ON_WM_SYSCOLORCHANGE() AFX_WM_VOID(WM_SYSCOLORCHANGE, OnSysColorChange())
#define ON_WM_SHOWWINDOW() AFX_WM_VOID(WM_SHOWWINDOW, OnShowWindow((BOOL)m_.wParam, (UINT)m_.lParam))
#define ON_WM_CTLCOLOR()                                                                          \
  AFX_WM_ENTRY(WM_CTLCOLOR, AFX_CTLCOLOR* c_ = reinterpret_cast<AFX_CTLCOLOR*>(m_.lParam);        \
               m_.result = (LRESULT)p_->OnCtlColor(CDC::FromHandle(c_->hDC), AFX_WND_(c_->hWnd), c_->nCtlType); \
               return TRUE;)
#define ON_WM_SETTINGCHANGE() \
  AFX_WM_VOID(WM_SETTINGCHANGE, OnSettingChange(AFX_WP_, reinterpret_cast<LPCSTR>(m_.lParam)))
#define ON_WM_CANCELMODE() AFX_WM_VOID(WM_CANCELMODE, OnCancelMode())
#define ON_WM_SETCURSOR() \
  AFX_WM_RESULT(WM_SETCURSOR, OnSetCursor(AFX_WND_(m_.wParam), LOWORD(m_.lParam), HIWORD(m_.lParam)))
#define ON_WM_MOUSEACTIVATE() \
  AFX_WM_RESULT(WM_MOUSEACTIVATE, OnMouseActivate(AFX_WND_(m_.wParam), LOWORD(m_.lParam), HIWORD(m_.lParam)))
#define ON_WM_CHILDACTIVATE() AFX_WM_VOID(WM_CHILDACTIVATE, OnChildActivate())
// An MDI child hears of activation changes: wParam the child that loses it, lParam the one that gains it.
#define ON_WM_MDIACTIVATE()                                                                         \
  AFX_WM_ENTRY(WM_MDIACTIVATE, p_->OnMDIActivate(p_->m_hWnd == (HWND)m_.lParam, AFX_WND_(m_.lParam), \
                                                 AFX_WND_(m_.wParam));                               \
               return TRUE;)
#define ON_WM_GETMINMAXINFO() AFX_WM_VOID(WM_GETMINMAXINFO, OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(m_.lParam)))
#define ON_WM_DRAWITEM() \
  AFX_WM_ENTRY(WM_DRAWITEM, p_->OnDrawItem((int)m_.wParam, reinterpret_cast<LPDRAWITEMSTRUCT>(m_.lParam)); m_.result = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM() \
  AFX_WM_ENTRY(WM_MEASUREITEM, p_->OnMeasureItem((int)m_.wParam, reinterpret_cast<LPMEASUREITEMSTRUCT>(m_.lParam)); m_.result = TRUE; return TRUE;)
#define ON_WM_DELETEITEM() \
  AFX_WM_ENTRY(WM_DELETEITEM, p_->OnDeleteItem((int)m_.wParam, reinterpret_cast<LPDELETEITEMSTRUCT>(m_.lParam)); m_.result = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM() \
  AFX_WM_RESULT(WM_COMPAREITEM, OnCompareItem((int)m_.wParam, reinterpret_cast<LPCOMPAREITEMSTRUCT>(m_.lParam)))
#define ON_WM_QUERYDRAGICON() AFX_WM_RESULT(WM_QUERYDRAGICON, OnQueryDragIcon())
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_WM_VOID(WM_WINDOWPOSCHANGING, OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(m_.lParam)))
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_WM_VOID(WM_WINDOWPOSCHANGED, OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(m_.lParam)))
#define ON_WM_CONTEXTMENU() AFX_WM_VOID(WM_CONTEXTMENU, OnContextMenu(AFX_WND_(m_.wParam), AFX_LP_POINT_))
#define ON_WM_STYLECHANGED() \
  AFX_WM_VOID(WM_STYLECHANGED, OnStyleChanged((int)m_.wParam, reinterpret_cast<LPSTYLESTRUCT>(m_.lParam)))
#define ON_WM_STYLECHANGING() \
  AFX_WM_VOID(WM_STYLECHANGING, OnStyleChanging((int)m_.wParam, reinterpret_cast<LPSTYLESTRUCT>(m_.lParam)))
#define ON_WM_NCCALCSIZE() \
  AFX_WM_VOID(WM_NCCALCSIZE, OnNcCalcSize((BOOL)m_.wParam, reinterpret_cast<NCCALCSIZE_PARAMS*>(m_.lParam)))
#define ON_WM_NCHITTEST() AFX_WM_RESULT(WM_NCHITTEST, OnNcHitTest(AFX_LP_POINT_))
#define ON_WM_NCACTIVATE() AFX_WM_RESULT(WM_NCACTIVATE, OnNcActivate((BOOL)m_.wParam))
#define ON_WM_GETDLGCODE() AFX_WM_RESULT(WM_GETDLGCODE, OnGetDlgCode())
#define ON_WM_NCMOUSEMOVE() AFX_WM_VOID(WM_NCMOUSEMOVE, OnNcMouseMove(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCLBUTTONDOWN() AFX_WM_VOID(WM_NCLBUTTONDOWN, OnNcLButtonDown(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCLBUTTONUP() AFX_WM_VOID(WM_NCLBUTTONUP, OnNcLButtonUp(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_VOID(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCRBUTTONDOWN() AFX_WM_VOID(WM_NCRBUTTONDOWN, OnNcRButtonDown(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCRBUTTONUP() AFX_WM_VOID(WM_NCRBUTTONUP, OnNcRButtonUp(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCRBUTTONDBLCLK() AFX_WM_VOID(WM_NCRBUTTONDBLCLK, OnNcRButtonDblClk(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_NCMBUTTONDOWN() AFX_WM_VOID(WM_NCMBUTTONDOWN, OnNcMButtonDown(AFX_WP_, AFX_LP_POINT_))
#define AFX_KEY_CALL_(fn) fn(AFX_WP_, LOWORD(m_.lParam), HIWORD(m_.lParam))
#define ON_WM_KEYDOWN() AFX_WM_VOID(WM_KEYDOWN, AFX_KEY_CALL_(OnKeyDown))
#define ON_WM_KEYUP() AFX_WM_VOID(WM_KEYUP, AFX_KEY_CALL_(OnKeyUp))
#define ON_WM_CHAR() AFX_WM_VOID(WM_CHAR, AFX_KEY_CALL_(OnChar))
#define ON_WM_DEADCHAR() AFX_WM_VOID(WM_DEADCHAR, AFX_KEY_CALL_(OnDeadChar))
#define ON_WM_SYSKEYDOWN() AFX_WM_VOID(WM_SYSKEYDOWN, AFX_KEY_CALL_(OnSysKeyDown))
#define ON_WM_SYSKEYUP() AFX_WM_VOID(WM_SYSKEYUP, AFX_KEY_CALL_(OnSysKeyUp))
#define ON_WM_SYSCHAR() AFX_WM_VOID(WM_SYSCHAR, AFX_KEY_CALL_(OnSysChar))
#define ON_WM_SYSDEADCHAR() AFX_WM_VOID(WM_SYSDEADCHAR, AFX_KEY_CALL_(OnSysDeadChar))
#define ON_WM_SYSCOMMAND() AFX_WM_VOID(WM_SYSCOMMAND, OnSysCommand(AFX_WP_, m_.lParam))
#define ON_WM_TIMER() AFX_WM_VOID(WM_TIMER, OnTimer((UINT_PTR)m_.wParam))
#define ON_WM_HSCROLL()                                                                             \
  AFX_WM_VOID(WM_HSCROLL, OnHScroll(LOWORD(m_.wParam), (UINT)(short)HIWORD(m_.wParam),              \
                                    ::plat::afx::ScrollBarFromHandle((HWND)m_.lParam)))
#define ON_WM_VSCROLL()                                                                             \
  AFX_WM_VOID(WM_VSCROLL, OnVScroll(LOWORD(m_.wParam), (UINT)(short)HIWORD(m_.wParam),              \
                                    ::plat::afx::ScrollBarFromHandle((HWND)m_.lParam)))
#define ON_WM_INITMENU() AFX_WM_VOID(WM_INITMENU, OnInitMenu(CMenu::FromHandle((HMENU)m_.wParam)))
#define ON_WM_INITMENUPOPUP()                                                                   \
  AFX_WM_VOID(WM_INITMENUPOPUP, OnInitMenuPopup(CMenu::FromHandle((HMENU)m_.wParam),            \
                                                (UINT)LOWORD(m_.lParam), (BOOL)HIWORD(m_.lParam)))
#define ON_WM_MENUSELECT() \
  AFX_WM_VOID(WM_MENUSELECT, OnMenuSelect(LOWORD(m_.wParam), HIWORD(m_.wParam), (HMENU)m_.lParam))
#define ON_WM_MENUCHAR() \
  AFX_WM_RESULT(WM_MENUCHAR, OnMenuChar(LOWORD(m_.wParam), HIWORD(m_.wParam), CMenu::FromHandle((HMENU)m_.lParam)))
#define ON_WM_ENTERIDLE() AFX_WM_VOID(WM_ENTERIDLE, OnEnterIdle(AFX_WP_, AFX_WND_(m_.lParam)))
#define ON_WM_ENTERMENULOOP() AFX_WM_VOID(WM_ENTERMENULOOP, OnEnterMenuLoop((BOOL)m_.wParam))
#define ON_WM_EXITMENULOOP() AFX_WM_VOID(WM_EXITMENULOOP, OnExitMenuLoop((BOOL)m_.wParam))
#define ON_WM_MOUSEMOVE() AFX_WM_VOID(WM_MOUSEMOVE, OnMouseMove(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_LBUTTONDOWN() AFX_WM_VOID(WM_LBUTTONDOWN, OnLButtonDown(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_LBUTTONUP() AFX_WM_VOID(WM_LBUTTONUP, OnLButtonUp(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_LBUTTONDBLCLK() AFX_WM_VOID(WM_LBUTTONDBLCLK, OnLButtonDblClk(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_RBUTTONDOWN() AFX_WM_VOID(WM_RBUTTONDOWN, OnRButtonDown(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_RBUTTONUP() AFX_WM_VOID(WM_RBUTTONUP, OnRButtonUp(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_RBUTTONDBLCLK() AFX_WM_VOID(WM_RBUTTONDBLCLK, OnRButtonDblClk(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_MBUTTONDOWN() AFX_WM_VOID(WM_MBUTTONDOWN, OnMButtonDown(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_MBUTTONUP() AFX_WM_VOID(WM_MBUTTONUP, OnMButtonUp(AFX_WP_, AFX_LP_POINT_))
#define ON_WM_MOUSEWHEEL() \
  AFX_WM_RESULT(WM_MOUSEWHEEL, OnMouseWheel(LOWORD(m_.wParam), (short)HIWORD(m_.wParam), AFX_LP_POINT_))
#define ON_WM_PARENTNOTIFY() AFX_WM_VOID(WM_PARENTNOTIFY, OnParentNotify(AFX_WP_, m_.lParam))
#define ON_WM_CAPTURECHANGED() AFX_WM_VOID(WM_CAPTURECHANGED, OnCaptureChanged(AFX_WND_(m_.lParam)))
#define ON_WM_PALETTECHANGED() AFX_WM_VOID(WM_PALETTECHANGED, OnPaletteChanged(AFX_WND_(m_.wParam)))
#define ON_WM_QUERYNEWPALETTE() AFX_WM_RESULT(WM_QUERYNEWPALETTE, OnQueryNewPalette())
#define ON_WM_VKEYTOITEM()                                                                      \
  AFX_WM_RESULT(WM_VKEYTOITEM, OnVKeyToItem(LOWORD(m_.wParam),                                  \
                static_cast<CListBox*>(CWnd::FromHandle((HWND)m_.lParam)), HIWORD(m_.wParam)))
#define ON_WM_CHARTOITEM()                                                                      \
  AFX_WM_RESULT(WM_CHARTOITEM, OnCharToItem(LOWORD(m_.wParam),                                  \
                static_cast<CListBox*>(CWnd::FromHandle((HWND)m_.lParam)), HIWORD(m_.wParam)))
