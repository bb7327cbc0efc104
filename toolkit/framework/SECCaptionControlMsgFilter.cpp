#include "SECCaptionControlMsgFilter.h"

IMPLEMENT_DYNCREATE(SECCaptionControlMsgFilter, SECCaptionMsgFilter)
IMPLEMENT_DYNAMIC(SECCaptionControlMsgFilterTimer, CWnd)

namespace {
constexpr UINT kIdBits = 0xFFF;
// Asks a timer window to go once its timer message has been handled.
constexpr UINT kDiscardTimerWindow = WM_USER + 0x7C1;
}  // namespace

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter() : SECCaptionControlMsgFilter(nullptr, kNoParent) {}

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter(CFrameWnd* pFrame, UINT nID, UINT nDrawType, UINT nDrawState,
                                                       int nHoldInterval)
    : SECCaptionMsgFilter(pFrame, nID), m_nDrawType(nDrawType), m_nDrawState(nDrawState),
      m_nHoldInterval(nHoldInterval) {
  m_rectButton.SetRectEmpty();
  SECCaptionControlMsgFilter::SetID(nID);
}

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter(const SECCaptionControlMsgFilter& other)
    : SECCaptionMsgFilter(other), m_rectButton(other.m_rectButton), m_nDrawType(other.m_nDrawType),
      m_nDrawState(other.m_nDrawState & ~UINT(DFCS_PUSHED)), m_nHoldInterval(other.m_nHoldInterval) {}

SECCaptionControlMsgFilter::~SECCaptionControlMsgFilter() {
  // The capture and the timer belong to a pressed button; a filter going away lets both go.
  if (m_bTracking) {
    StopTimer();
    CWnd* frame = FrameWnd();
    if (frame && ::GetCapture() == frame->m_hWnd) ::ReleaseCapture();
  }
  StopTimer();
}

SECMsgFilter* SECCaptionControlMsgFilter::Clone() const { return new SECCaptionControlMsgFilter(*this); }

void SECCaptionControlMsgFilter::SetID(UINT nID) {
  SECCaptionMsgFilter::SetID(nID);
  // The id is the control's drawing state; an id that is none leaves the state as given.
  if (IsValidControlID(nID)) m_nDrawState = (m_nDrawState & ~kIdBits) | nID;
}

CWnd* SECCaptionControlMsgFilter::FrameWnd() const {
  CFrameWnd* frame = GetFrame();
  return frame && ::IsWindow(frame->GetSafeHwnd()) ? frame : nullptr;
}

void SECCaptionControlMsgFilter::SetPushed(BOOL bPushed) {
  if (bPushed)
    m_nDrawState |= DFCS_PUSHED;
  else
    m_nDrawState &= ~UINT(DFCS_PUSHED);
}

// ---- drawing and hit testing

void SECCaptionControlMsgFilter::Draw() {
  CWnd* frame = FrameWnd();
  if (!IsValidControlID(GetID()) || !frame || m_rectButton.IsRectEmpty()) return;
  CWindowDC dc(frame);
  CRect r = m_rectButton;
  ::DrawFrameControl(dc.GetSafeHdc(), &r, m_nDrawType, m_nDrawState);
}

BOOL SECCaptionControlMsgFilter::HitTest(CPoint screen) const {
  CWnd* frame = FrameWnd();
  if (!frame) return FALSE;
  CRect window;
  frame->GetWindowRect(&window);
  screen.Offset(-window.left, -window.top);
  return m_rectButton.PtInRect(screen);
}

BOOL SECCaptionControlMsgFilter::IsVisible(BOOL* pDisabled) {
  BOOL disabled = FALSE;
  if (pDisabled) *pDisabled = FALSE;
  CWnd* frame = FrameWnd();
  const UINT id = GetID();
  if (!IsValidControlID(id) || !frame) return FALSE;
  const DWORD style = frame->GetStyle();
  if (!(style & WS_SYSMENU)) return FALSE;
  const BOOL maximised = (style & WS_MAXIMIZE) != 0, minimised = (style & WS_MINIMIZE) != 0;
  const BOOL minBox = (style & WS_MINIMIZEBOX) != 0, maxBox = (style & WS_MAXIMIZEBOX) != 0;
  BOOL visible = FALSE;
  if (id == idClose) {
    visible = TRUE;
    if (CMenu* sys = frame->GetSystemMenu(FALSE)) {
      const UINT state = sys->GetMenuState(SC_CLOSE, MF_BYCOMMAND);
      disabled = state != UINT(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
    }
  } else if (frame->GetExStyle() & WS_EX_TOOLWINDOW) {
    return FALSE;
  } else if (id == idHelp) {
    visible = !minBox && !maxBox && (frame->GetExStyle() & WS_EX_CONTEXTHELP);
  } else if (id <= idRestore) {
    if (!minBox && !maxBox) return FALSE;
    if (id == idMaximize) {
      visible = !maximised;
      disabled = !maxBox;
    } else if (id == idRestore) {
      visible = maximised || minimised;
      disabled = maximised ? !maxBox : !minBox;
    } else {  // minimise
      visible = !minimised;
      disabled = !minBox;
    }
  }
  if (visible && pDisabled) *pDisabled = disabled;
  return visible;
}

// ---- messages

LRESULT SECCaptionControlMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_SETTEXT:
    case WM_SETCURSOR:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      Draw();
      return kHandled;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
      const CPoint screen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (wParam != HTCAPTION || !HitTest(screen)) break;
      if (!(m_nDrawState & DFCS_INACTIVE)) {
        if (message == WM_NCLBUTTONDOWN)
          OnPress(screen.x, screen.y);
        else
          DoAction(actionRightClick, screen.x, screen.y);
      }
      return kHandled | kCaption2 | kCaption4;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      CWnd* frame = FrameWnd();
      if (!m_bTracking || !frame) break;
      CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      frame->ClientToScreen(&point);
      if (message == WM_LBUTTONUP)
        OnRelease(point.x, point.y);
      else
        OnTrackMove(point.x, point.y);
      return kHandled | kCaption2 | kCaption4;
    }
    default:
      break;
  }
  return FilterChildren(message, wParam, lParam, pResult);
}

// ---- pressing and holding

void SECCaptionControlMsgFilter::OnPress(int x, int y) {
  BeginTracking(TRUE, TRUE);
  if (m_nHoldInterval == 0)
    OnHold(x, y);
  else
    StartTimer(x, y);
}

void SECCaptionControlMsgFilter::OnRelease(int x, int y) {
  EndTracking(TRUE, TRUE);
  if (HitTest(CPoint(x, y))) DoAction(actionClick, x, y);
}

void SECCaptionControlMsgFilter::OnHold(int x, int y) {
  EndTracking(TRUE, FALSE);
  DoAction(actionHold, x, y);
}

void SECCaptionControlMsgFilter::OnTrackMove(int x, int y) {
  if (!m_bTracking) return;
  const BOOL inside = HitTest(CPoint(x, y));
  if (inside == IsPushed()) return;
  if (inside) {
    SetPushed(TRUE);
    StartTimer(x, y);
  } else {
    StopTimer();
    SetPushed(FALSE);
  }
  Draw();
}

void SECCaptionControlMsgFilter::DoAction(int nAction, int x, int y) {
  HWND hWnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  if (GetActionMessage(nAction, x, y, &hWnd, &message, &wParam, &lParam) && hWnd)
    ::PostMessageA(hWnd, message, wParam, lParam);
}

BOOL SECCaptionControlMsgFilter::GetActionMessage(int nAction, int x, int y, HWND* pWnd, UINT* pMessage,
                                                  WPARAM* pWParam, LPARAM* pLParam) {
  static constexpr UINT kCommands[] = {SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CONTEXTHELP};
  CWnd* frame = FrameWnd();
  if (nAction != actionClick || !frame || GetID() > idHelp) return FALSE;
  *pWnd = frame->m_hWnd;
  *pMessage = WM_SYSCOMMAND;
  *pWParam = kCommands[GetID()];
  *pLParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
  return TRUE;
}

void SECCaptionControlMsgFilter::BeginTracking(BOOL bPushed, BOOL bRedraw) {
  m_bTracking = TRUE;
  if (bPushed) SetPushed(TRUE);
  if (CWnd* frame = FrameWnd()) frame->SetCapture();
  if (bRedraw) Draw();
}

void SECCaptionControlMsgFilter::EndTracking(BOOL bClearPushed, BOOL bRedraw) {
  m_bTracking = FALSE;
  StopTimer();
  if (bClearPushed) SetPushed(FALSE);
  CWnd* frame = FrameWnd();
  if (frame && ::GetCapture() == frame->m_hWnd) ::ReleaseCapture();
  if (bRedraw) Draw();
}

void SECCaptionControlMsgFilter::StopTimer() {
  if (!m_pTimer) return;
  SECCaptionControlMsgFilterTimer* timer = m_pTimer;
  m_pTimer = nullptr;
  timer->Discard();
}

void SECCaptionControlMsgFilter::StartTimer(int x, int y) {
  StopTimer();
  CWnd* frame = FrameWnd();
  if (m_nHoldInterval >= 1 && frame)
    m_pTimer = SECCaptionControlMsgFilterTimer::Start(this, frame, m_nHoldInterval, x, y);
}

// ---- the hold timer window

BEGIN_MESSAGE_MAP(SECCaptionControlMsgFilterTimer, CWnd)
  ON_WM_CREATE()
  ON_WM_TIMER()
  ON_WM_DESTROY()
  ON_MESSAGE(kDiscardTimerWindow, OnDiscard)
END_MESSAGE_MAP()

SECCaptionControlMsgFilterTimer* SECCaptionControlMsgFilterTimer::Start(SECCaptionControlMsgFilter* pOwner,
                                                                        CWnd* pFrame, int nInterval, int x, int y) {
  // Deletes itself with its window (PostNcDestroy), also when creation fails.
  auto* timer = new SECCaptionControlMsgFilterTimer(pOwner, nInterval, x, y);
  if (!timer->CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 0, 0), pFrame, 0)) return nullptr;
  return timer;
}

int SECCaptionControlMsgFilterTimer::OnCreate(LPCREATESTRUCT) {
  m_bTimerSet = SetTimer(1, static_cast<UINT>(m_nInterval), nullptr) != 0;
  return m_bTimerSet ? 0 : -1;
}

void SECCaptionControlMsgFilterTimer::OnTimer(UINT_PTR) {
  if (m_bFired) return;
  m_bFired = TRUE;
  KillTimer(1);
  m_bTimerSet = FALSE;
  if (!m_pOwner || !m_pOwner->IsTracking()) return;
  m_bInTimer = TRUE;
  {
    // The hold may move the frame elsewhere and take this window and the filter tree with
    // it: the tree waits for this, and this object for the end of its handling.
    SECMsgFilter::Busy busy;
    m_pOwner->OnHold(m_x, m_y);
  }
  m_bInTimer = FALSE;
  if (m_bGone) {
    delete this;  // the window went during the hold; nothing of it is touched again
    return;
  }
  if (m_bDiscarded) PostMessage(kDiscardTimerWindow);
}

void SECCaptionControlMsgFilterTimer::Discard() {
  m_pOwner = nullptr;
  m_bDiscarded = TRUE;
  if (!m_bInTimer) DestroyWindow();
}

LRESULT SECCaptionControlMsgFilterTimer::OnDiscard(WPARAM, LPARAM) {
  DestroyWindow();
  return 0;
}

void SECCaptionControlMsgFilterTimer::OnDestroy() {
  if (m_bTimerSet) KillTimer(1);
  m_bTimerSet = FALSE;
  CWnd::OnDestroy();
}

void SECCaptionControlMsgFilterTimer::PostNcDestroy() {
  if (m_bInTimer) {
    m_bGone = TRUE;  // deleted when the timer handling returns
    return;
  }
  // A timer window whose owner still points at it (the frame went first) tells it.
  if (m_pOwner && m_pOwner->m_pTimer == this) m_pOwner->m_pTimer = nullptr;
  delete this;
}
