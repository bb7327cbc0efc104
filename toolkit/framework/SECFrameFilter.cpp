#include "SECFrameFilter.h"

#include "SECCaptionControlMsgFilter.h"
#include "SECCaptionMsgFilter.h"
#include "SECFilterTables.h"

namespace sec_filters {

void ApplyCaptionValues(SECMsgFilter& root, const SECMsgFilter::DescriptorTable& table, const BOOL* pValues,
                        INT_PTR nValues) {
  root.ApplyDescriptors(table, pValues, nValues);
  // The frame draws its own close, minimise, maximise, restore and help buttons.
  if (auto* list = dynamic_cast<SECCaptionControlListMsgFilter*>(root.FindFilter(idCaptionList)))
    list->ApplyDescriptorsAll(list->m_descriptors, FALSE);
}

BOOL OfferFirst(HWND hFrame, SECMsgFilter* pRoot) {
  if (!pRoot) return FALSE;
  const LRESULT handled = pRoot->FilterCurrentMessage() & SECMsgFilter::kHandled;
  return handled || !::IsWindow(hFrame);
}

void OfferAfter(HWND hFrame, SECMsgFilter* pRoot) {
  if (pRoot && ::IsWindow(hFrame)) pRoot->FilterCurrentMessage();
}

LRESULT HandRequest(SECMsgFilter* pRoot) {
  LRESULT result = 0;
  if (pRoot) pRoot->FilterCurrentMessage(&result);
  return result;
}

LRESULT CaptionHit(SECMsgFilter* pRoot, LRESULT hit, CPoint screen) {
  if (!pRoot || (hit != HTCLOSE && hit != HTMAXBUTTON && hit != HTMINBUTTON && hit != HTHELP)) return hit;
  auto* list = dynamic_cast<SECCaptionControlListMsgFilter*>(pRoot->FindFilter(idCaptionList));
  if (!list || !list->IsEnabled()) return hit;
  list->LayoutControls();  // the frame may have changed size since the list last laid out
  for (INT_PTR i = 0; i < list->GetChildCount(); ++i) {
    auto* button = dynamic_cast<SECCaptionControlMsgFilter*>(list->GetChild(i));
    if (button && button->IsEnabled() && !button->m_rectButton.IsRectEmpty() && button->HitTest(screen))
      return HTCAPTION;
  }
  return hit;
}

}  // namespace sec_filters
