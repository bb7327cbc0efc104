#include "SECFilterTables.h"

#include "SECCaptionMsgFilter.h"
#include "ScxButtonMsgFilter.h"
#include "ScxGestureFilters.h"
#include "ScxMsgFilter.h"

namespace sec_filters {

using namespace nsSysCommandEx;

namespace {
constexpr UINT kRoot = SECMsgFilter::kNoParent;
}  // namespace

void FillMDIFrameTable(SECMsgFilter::DescriptorTable& table) {
  table.Add(idSysCommandEx, kRoot, RUNTIME_CLASS(ScxMsgFilter), FALSE);
  table.Add(idCaptionList, kRoot, RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter), FALSE);
  table.Add(idMaxChildButton, idCaptionList, RUNTIME_CLASS(ScxButtonMDIMaxChildMsgFilter), FALSE);
  table.Add(idMaxChildRDblClk, kRoot, RUNTIME_CLASS(ScxNCRDBLClkMDIMaxChildMsgFilter), FALSE);
}

void FillMDIChildTable(SECMsgFilter::DescriptorTable& table) {
  table.Add(idSysCommandEx, kRoot, RUNTIME_CLASS(ScxMsgFilter), FALSE);
  table.Add(idCaptionList, kRoot, RUNTIME_CLASS(SECCaptionControlListMsgFilter), TRUE);
  table.Add(idChildButton, idCaptionList, RUNTIME_CLASS(ScxButtonMDIChildMsgFilter), FALSE);
  table.Add(idCaptionRDblClk, kRoot, RUNTIME_CLASS(ScxCaptionNCRDBLClkFilter), FALSE);
  table.Add(idContextMenu, kRoot, RUNTIME_CLASS(ScxContextMenuFilter), FALSE);
}

void FillDockableFrameTable(SECMsgFilter::DescriptorTable& table) {
  table.Add(idSysCommandEx, kRoot, RUNTIME_CLASS(ScxMsgFilter), FALSE);
  table.Add(idCaptionList, kRoot, RUNTIME_CLASS(SECCaptionControlListMsgFilter), TRUE);
  table.Add(idChildButton, idCaptionList, RUNTIME_CLASS(ScxButtonMsgFilter), FALSE);
  table.Add(idCaptionRDblClk, kRoot, RUNTIME_CLASS(ScxCaptionNCRDBLClkFilter), FALSE);
  table.Add(idContextMenu, kRoot, RUNTIME_CLASS(ScxContextMenuFilter), FALSE);
}

}  // namespace sec_filters
