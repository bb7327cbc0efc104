#include "ScxGestureFilters.h"

#include "SECFilterTables.h"
#include "ScxButtonMsgFilter.h"
#include "ScxMsgFilter.h"

namespace nsSysCommandEx {

IMPLEMENT_DYNCREATE(ScxCaptionNCRDBLClkFilter, SECCaptionMsgFilter)
IMPLEMENT_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter, SECNcMsgFilter)
IMPLEMENT_DYNCREATE(ScxContextMenuFilter, SECMsgFilter)

namespace {

// Sends a request about a frame; the frame may be gone when it returns.
void SendRequest(CFrameWnd* pAbout, UINT nCode, int nTarget, const CPoint* pPoint) {
  if (!pAbout || !::IsWindow(pAbout->GetSafeHwnd())) return;
  ScxRequest request;
  request.hWnd = pAbout->m_hWnd;
  request.nTargetPlace = nTarget;
  if (pPoint) {
    request.x = pPoint->x;
    request.y = pPoint->y;
  }
  ::SendMessageA(request.hWnd, GetSysCommandExMessage(), nCode, reinterpret_cast<LPARAM>(&request));
}

constexpr LRESULT kGestureHandled = SECMsgFilter::kHandled | SECMsgFilter::kCaption2 | SECMsgFilter::kCaption4 |
                                    SECMsgFilter::kStop;

}  // namespace

SECMsgFilter* ScxCaptionNCRDBLClkFilter::Clone() const { return new ScxCaptionNCRDBLClkFilter(*this); }

LRESULT ScxCaptionNCRDBLClkFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_NCRBUTTONDBLCLK || wParam != HTCAPTION)
    return FilterChildren(message, wParam, lParam, pResult);
  SendRequest(GetFrame(), requestMove, placeToggle, nullptr);
  return kGestureHandled;
}

SECMsgFilter* ScxNCRDBLClkMDIMaxChildMsgFilter::Clone() const { return new ScxNCRDBLClkMDIMaxChildMsgFilter(*this); }

LRESULT ScxNCRDBLClkMDIMaxChildMsgFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                          LRESULT* pResult) {
  if (message != WM_NCRBUTTONDBLCLK) return 0;
  CFrameWnd* child = ActiveMaxChildOf(GetFrame());
  if (!ChildFilterIsOn(child, sec_filters::idCaptionRDblClk)) return 0;
  if (wParam != HTMENU) return FilterChildren(message, wParam, lParam, pResult);
  SendRequest(child, requestMove, placeToggle, nullptr);
  return kGestureHandled;
}

SECMsgFilter* ScxContextMenuFilter::Clone() const { return new ScxContextMenuFilter(*this); }

LRESULT ScxContextMenuFilter::OnFilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message != WM_NCRBUTTONUP || wParam != HTCAPTION) return FilterChildren(message, wParam, lParam, pResult);
  const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  SendRequest(GetFrame(), requestShowMenu, 0, &point);
  return kGestureHandled;
}

}  // namespace nsSysCommandEx
