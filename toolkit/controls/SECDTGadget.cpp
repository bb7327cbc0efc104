#include "SECDTGadget.h"

#include "SECDateTimeCtrl.h"

IMPLEMENT_DYNAMIC(SECDTGadget, CObject)
IMPLEMENT_DYNCREATE(SECDTStaticGadget, SECDTGadget)

namespace {

// Gadgets have no window, so their timers are thread timers; this map finds the gadget
// of a timer id when the timer procedure runs. Its keys are whole timer ids: thread
// timer ids keep growing, and a 16-bit key would lose a timer past 65535.
using TimerMap = CMap<UINT_PTR, UINT_PTR, CObject*, CObject*>;

TimerMap& GadgetTimers() {
  static TimerMap timers;
  static const bool sized = (timers.InitHashTable(10), true);
  (void)sized;
  return timers;
}

// The id of the gadget's running timer, 0 for none.
UINT_PTR TimerOf(const SECDTGadget* pGadget) {
  POSITION pos = GadgetTimers().GetStartPosition();
  while (pos) {
    UINT_PTR id;
    CObject* pObject;
    GadgetTimers().GetNextAssoc(pos, id, pObject);
    if (pObject == pGadget) return id;
  }
  return 0;
}

void CALLBACK GadgetTimerProc(HWND, UINT, UINT_PTR nIDEvent, DWORD) {
  if (SECDTGadget* pGadget = SECDTGadget::FromTimer(nIDEvent)) pGadget->OnTimer();
}

}  // namespace

SECDTGadget::~SECDTGadget() { StopTimer(); }

void SECDTGadget::Initialise(SECDateTimeCtrl* pCtrl, int nID) {
  m_pCtrl = pCtrl;
  m_nID = nID;
}

void SECDTGadget::GetText(CString& text) const { text.Empty(); }

BOOL SECDTGadget::SetActive(BOOL bActive) {
  if (!(m_nStyle & WantFocus)) return FALSE;
  if ((m_bActive != 0) != (bActive != 0)) {
    m_bActive = bActive ? 1 : 0;
    Invalidate();
  }
  return TRUE;
}

void SECDTGadget::OnKeyDown(UINT) {}
void SECDTGadget::OnChar(UINT) {}
void SECDTGadget::OnLButtonDown(UINT, CPoint) {}
void SECDTGadget::OnLButtonUp(UINT, CPoint) {}
void SECDTGadget::OnMouseMove(UINT, CPoint) {}
void SECDTGadget::OnCancelMode() {}
void SECDTGadget::OnTimer() {}
void SECDTGadget::OnSysColorChange() {}

BOOL SECDTGadget::Notify(int nCode, int nData) {
  return m_pCtrl ? m_pCtrl->OnGadgetNotify(nCode, m_nID, nData) : FALSE;
}

void SECDTGadget::Invalidate(BOOL bUpdate) {
  if (m_pCtrl) m_pCtrl->InvalidateGadget(this, bUpdate);
}

void SECDTGadget::CaptureMouse(BOOL bCapture) {
  if (m_pCtrl) m_pCtrl->CaptureGadget(this, bCapture);
}

SECDTGadget* SECDTGadget::FromTimer(UINT_PTR nIDEvent) {
  CObject* pObject = nullptr;
  if (!GadgetTimers().Lookup(nIDEvent, pObject)) return nullptr;
  return static_cast<SECDTGadget*>(pObject);
}

void SECDTGadget::StartTimer(UINT nElapse) {
  // A running timer is reset under its own id. A new one asks for id 0, which names no
  // timer, so it never takes over another thread timer that happens to have id 1.
  const UINT_PTR current = TimerOf(this);
  const UINT_PTR id = ::SetTimer(nullptr, current, nElapse, GadgetTimerProc);
  if (id && id != current) {
    if (current) GadgetTimers().RemoveKey(current);
    GadgetTimers().SetAt(id, this);
  }
}

void SECDTGadget::StopTimer() {
  if (const UINT_PTR id = TimerOf(this)) {
    ::KillTimer(nullptr, id);
    GadgetTimers().RemoveKey(id);
  }
}

BOOL SECDTGadget::HasTimer() const { return TimerOf(this) != 0; }

CSize SECDTGadget::TextExtent(CDC& dc, const CString& text) {
  CRect rect(0, 0, 0, 0);
  dc.DrawText(text, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXTERNALLEADING);
  return rect.Size();
}

void SECDTGadget::DrawTextIn(CDC& dc, const CString& text, CRect rect, UINT nAlign) {
  dc.DrawText(text, &rect, nAlign | DT_SINGLELINE | DT_NOPREFIX | DT_EXTERNALLEADING);
}

// ---- literal text

void SECDTStaticGadget::Initialise(SECDateTimeCtrl* pCtrl, LPCSTR lpszText, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_strText = lpszText;
}

void SECDTStaticGadget::CalcSize(CDC& dc) {
  const CSize size = TextExtent(dc, m_strText);
  m_rect.SetRect(0, 0, size.cx, size.cy);
}

void SECDTStaticGadget::Draw(CDC& dc) {
  dc.SetTextColor(m_pCtrl->GetTextColour());
  dc.SetBkColor(m_pCtrl->GetBkColour());
  DrawTextIn(dc, m_strText, m_rect, DT_LEFT);
}
