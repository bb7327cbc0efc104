#include "SECFrameFilter.h"

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

}  // namespace sec_filters
