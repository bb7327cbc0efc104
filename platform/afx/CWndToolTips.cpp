// Tooltips of framework windows: one tooltip control per thread, holding only the tool
// under the mouse, which the window's OnToolHitTest names as the mouse moves.
#include <stdlib.h>
#include <strings.h>

#include "AfxCommonControls.h"
#include "afxwin.h"

using plat::afx::Thread;

namespace {

// The thread's control: it goes with the window that owns it, and the thread forgets it then.
class CThreadToolTip : public CToolTipCtrl {
 protected:
  void PostNcDestroy() override {
    auto& ts = Thread();
    if (ts.pToolTip == this) {
      ts.pToolTip = nullptr;
      ts.hWndToolTipHit = nullptr;
      ts.nLastToolHit = -1;
      ts.hWndTool = nullptr;
    }
    delete this;
  }
};

CToolTipCtrl* EnsureToolTip(CWnd* owner) {
  auto& ts = Thread();
  if (ts.pToolTip && ts.pToolTip->m_hWnd) return ts.pToolTip;
  auto tip = std::make_unique<CThreadToolTip>();
  // Owned by the top-level window, as popups are.
  if (!tip->Create(owner->GetTopLevelParent(), TTS_ALWAYSTIP)) return nullptr;
  ts.pToolTip = tip.release();  // deletes itself with its window
  return ts.pToolTip;
}

// Removes the tool the control holds, which hides its tip.
void DropTool() {
  auto& ts = Thread();
  if (ts.pToolTip && ts.pToolTip->m_hWnd && ts.hWndTool) {
    TOOLINFO ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = ts.hWndTool;
    ti.uId = ts.nToolId;
    ts.pToolTip->SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
  }
  ts.hWndTool = nullptr;
  ts.nToolId = 0;
}

bool OwnedText(LPCSTR text) { return text && text != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(text); }

bool IsGroupBox(HWND hWnd) {
  char cls[16] = {};
  ::GetClassNameA(hWnd, cls, sizeof cls);
  return strcasecmp(cls, "Button") == 0 && (::GetWindowLongA(hWnd, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (!bEnable) {
    if (m_nFlags & WF_TOOLTIPS) {
      m_nFlags &= ~WF_TOOLTIPS;
      auto& ts = Thread();
      if (ts.hWndToolTipHit == m_hWnd) {
        DropTool();
        ts.hWndToolTipHit = nullptr;
        ts.nLastToolHit = -1;
      }
    }
    return TRUE;
  }
  if (!EnsureToolTip(this)) return FALSE;
  m_nFlags |= WF_TOOLTIPS;
  return TRUE;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  // Disabled controls show their tips too; hidden ones and group boxes (which lie over
  // the controls they frame) do not, nor do controls without an id.
  for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child) || IsGroupBox(child)) continue;
    int id = ::GetDlgCtrlID(child);
    if (id == 0 || id == 0xFFFF || id == -1) continue;
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&r), 2);
    if (!::PtInRect(&r, point)) continue;
    if (pTI) {
      pTI->hwnd = m_hWnd;
      pTI->uId = reinterpret_cast<UINT_PTR>(child);
      pTI->uFlags |= TTF_IDISHWND | TTF_CENTERTIP;
      pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return id;
  }
  return -1;
}

void CWnd::CancelToolTips(BOOL) {
  auto& ts = Thread();
  DropTool();
  ts.hWndToolTipHit = nullptr;
  ts.nLastToolHit = -1;
}

void CWnd::FilterToolTipMessage(MSG* pMsg) {
  UINT msg = pMsg->message;
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
    CancelToolTips(TRUE);
    return;
  }
  bool mouse = msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP ||
               msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP;
  if (!mouse || !(m_nFlags & WF_TOOLTIPS)) return;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return;
  // A window nearer the message that shows tooltips of its own takes it.
  for (HWND h = pMsg->hwnd; h && h != m_hWnd; h = ::GetParent(h)) {
    CWnd* inner = FromHandlePermanent(h);
    if (inner && (inner->m_nFlags & WF_TOOLTIPS)) return;
  }
  CToolTipCtrl* tip = EnsureToolTip(this);
  if (!tip) return;

  POINT point{GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)};
  if (msg == WM_NCMOUSEMOVE)
    ::ScreenToClient(m_hWnd, &point);
  else
    ::MapWindowPoints(pMsg->hwnd, m_hWnd, &point, 1);

  TOOLINFO ti{};
  ti.cbSize = sizeof ti;
  INT_PTR hit = OnToolHitTest(CPoint(point), &ti);
  auto& ts = Thread();
  bool same = ts.hWndToolTipHit == m_hWnd && ts.nLastToolHit == hit &&
              (hit == -1 || (ts.hWndTool == ti.hwnd && ts.nToolId == ti.uId));
  if (!same) {
    DropTool();
    if (hit != -1 && ti.hwnd) {
      ti.uFlags &= ~TTF_SUBCLASS;  // the messages are relayed from here
      if (tip->SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti))) {
        ts.hWndTool = ti.hwnd;
        ts.nToolId = ti.uId;
      }
    }
    ts.hWndToolTipHit = m_hWnd;
    ts.nLastToolHit = hit;
  }
  if (OwnedText(ti.lpszText)) free(ti.lpszText);
  if (!ts.hWndTool) return;

  // The control looks for the tool in the window and point of the relayed message.
  MSG relay = *pMsg;
  relay.message = msg == WM_NCMOUSEMOVE ? WM_MOUSEMOVE : msg;
  relay.hwnd = (ti.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(ts.nToolId) : ts.hWndTool;
  POINT rel = point;
  ::MapWindowPoints(m_hWnd, relay.hwnd, &rel, 1);
  relay.lParam = MAKELPARAM(rel.x, rel.y);
  tip->SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}
