#include "ScxButtonMsgFilter.h"

#include "SECDockableFrame.h"
#include "SECFilterTables.h"
#include "ScxMsgFilter.h"

namespace nsSysCommandEx {

IMPLEMENT_DYNCREATE(ScxButtonMsgFilter, SECCaptionControlMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMDIChildMsgFilter, ScxButtonMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMDIMaxChildMsgFilter, ScxButtonMsgFilter)

CFrameWnd* ActiveMaxChildOf(const CFrameWnd* pMDIFrame) {
  if (!pMDIFrame || !::IsWindow(pMDIFrame->GetSafeHwnd())) return nullptr;
  const HWND client = ::FindWindowExA(pMDIFrame->m_hWnd, nullptr, "MDIClient", nullptr);
  if (!client) return nullptr;
  BOOL maximised = FALSE;
  const auto active = reinterpret_cast<HWND>(
      ::SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised)));
  if (!active || !maximised) return nullptr;
  return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(active));
}

BOOL ChildFilterIsOn(const CFrameWnd* pChild, UINT nID) {
  static CRuntimeClass* const childClass = CRuntimeClass::FromName("SECMDIChildWnd");
  if (!pChild || !childClass || !pChild->IsKindOf(childClass)) return FALSE;
  SECMsgFilter* root = SECMsgFilter::RootOf(pChild);
  SECMsgFilter* filter = root ? root->FindFilter(nID, nullptr, -1) : nullptr;
  return filter && filter->IsEnabled();
}

// ---- the button

ScxButtonMsgFilter::ScxButtonMsgFilter() : ScxButtonMsgFilter(nullptr, kNoControlID) {}

ScxButtonMsgFilter::ScxButtonMsgFilter(CFrameWnd* pFrame, UINT nID)
    : SECCaptionControlMsgFilter(pFrame, nID, DFC_SCROLL, 2, kHoldInterval) {}

SECMsgFilter* ScxButtonMsgFilter::Clone() const { return new ScxButtonMsgFilter(*this); }

LRESULT ScxButtonMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const BOOL press = message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN;
  // The caption button's handling answers to the caption; this one to its own hit code.
  if (press) wParam = wParam == GetHitCode() ? HTCAPTION : HTNOWHERE;
  LRESULT result = SECCaptionControlMsgFilter::OnFilterMessage(message, wParam, lParam, pResult);
  if ((press || message == WM_LBUTTONUP) && (result & kHandled)) result |= kStop;
  return result;
}

BOOL ScxButtonMsgFilter::IsVisible(BOOL* pDisabled) {
  if (pDisabled) *pDisabled = FALSE;
  return GetFrame() && ::IsWindow(GetFrame()->GetSafeHwnd());
}

void ScxButtonMsgFilter::Draw() {
  CFrameWnd* frame = GetFrame();
  if (!frame || !::IsWindow(frame->GetSafeHwnd()) || m_rectButton.IsRectEmpty()) return;
  CWindowDC dc(frame);
  CRect r = m_rectButton;
  const BOOL pushed = IsPushed();
  // Two-pixel edge: raised, or sunken (the same colours swapped) while pushed.
  const COLORREF hilight = ::GetSysColor(COLOR_3DHILIGHT), dark = ::GetSysColor(COLOR_3DDKSHADOW);
  const COLORREF light = ::GetSysColor(COLOR_3DLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  dc.Draw3dRect(&r, pushed ? dark : hilight, pushed ? hilight : dark);
  r.DeflateRect(1, 1);
  dc.Draw3dRect(&r, pushed ? shadow : light, pushed ? light : shadow);
  r.DeflateRect(1, 1);
  dc.FillSolidRect(&r, ::GetSysColor(COLOR_BTNFACE));
  // The glyph: two triangles point to point, up and down (a frame going one place or the
  // other), 60 % of the button high.
  const int height = m_rectButton.Height() * 60 / 100;
  const int half = height / 2;
  if (half < 1) return;
  int cx = m_rectButton.left + m_rectButton.Width() / 2;
  int top = m_rectButton.top + (m_rectButton.Height() - height) / 2;
  if (pushed) {
    ++cx;
    ++top;
  }
  if (frame->IsKindOf(RUNTIME_CLASS(SECDockableFrame))) ++top;
  const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  for (int row = 0; row < half; ++row) {
    const int w = row;  // each row one pixel wider on either side
    dc.FillSolidRect(cx - w, top + row, 2 * w + 1, 1, text);
    dc.FillSolidRect(cx - w, top + height - 1 - row, 2 * w + 1, 1, text);
  }
}

void ScxButtonMsgFilter::DoAction(int nAction, int x, int y) {
  CFrameWnd* frame = GetFrame();
  CFrameWnd* target = GetTargetFrame();
  if (!frame || !target || !::IsWindow(frame->GetSafeHwnd()) || !::IsWindow(target->GetSafeHwnd())) return;
  CRect window;
  frame->GetWindowRect(&window);
  ScxRequest request;
  request.hWnd = target->m_hWnd;
  request.rectButton = m_rectButton;
  ::OffsetRect(&request.rectButton, window.left, window.top);
  UINT code = requestMove;
  if (nAction == actionClick) {
    request.x = x;
    request.y = y;
    request.nTargetPlace = placeToggle;
  } else if (nAction == actionRightClick || nAction == actionHold) {
    code = requestShowMenu;
    request.x = request.rectButton.left;
    request.y = request.rectButton.bottom;
    if (nAction == actionHold) request.dwFlags |= ScxRequest::flagPoint;
  } else {
    return;
  }
  // Sent, not posted: the frame may be gone when this returns, and nothing here is
  // touched afterwards.
  ::SendMessageA(request.hWnd, GetSysCommandExMessage(), code, reinterpret_cast<LPARAM>(&request));
}

// ---- the MDI child's

SECMsgFilter* ScxButtonMDIChildMsgFilter::Clone() const { return new ScxButtonMDIChildMsgFilter(*this); }

BOOL ScxButtonMDIChildMsgFilter::IsVisible(BOOL* pDisabled) {
  if (!ScxButtonMsgFilter::IsVisible(pDisabled)) return FALSE;
  return !GetFrame()->IsZoomed();
}

// ---- the maximised child's, in the MDI frame

SECMsgFilter* ScxButtonMDIMaxChildMsgFilter::Clone() const { return new ScxButtonMDIMaxChildMsgFilter(*this); }

CFrameWnd* ScxButtonMDIMaxChildMsgFilter::GetActiveMaxChild() const { return ActiveMaxChildOf(GetFrame()); }

BOOL ScxButtonMDIMaxChildMsgFilter::IsVisible(BOOL* pDisabled) {
  if (pDisabled) *pDisabled = FALSE;
  return GetActiveMaxChild() != nullptr;
}

LRESULT ScxButtonMDIMaxChildMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                       LRESULT* pResult) {
  // A button up ends a press that began while the child was maximised, whatever came since.
  if (!m_bTracking && !ChildFilterIsOn(GetActiveMaxChild(), sec_filters::idChildButton)) return 0;
  return ScxButtonMsgFilter::OnFilterMessage(message, wParam, lParam, pResult);
}

}  // namespace nsSysCommandEx
