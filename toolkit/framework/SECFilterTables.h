// The descriptor tables of the library's frames: which caption filters each kind of frame
// gets, under which parent, and which stay on when the caption buttons are switched off.
#pragma once
#include "SECMsgFilter.h"

namespace sec_filters {

// Filter ids within a frame's root.
enum : UINT {
  idCaptionList = 256,
  idSysCommandEx = 257,
  idChildButton = 258,
  idCaptionRDblClk = 259,
  idMaxChildButton = 260,
  idMaxChildRDblClk = 261,
  idContextMenu = 262,
};

void FillMDIFrameTable(SECMsgFilter::DescriptorTable& table);
void FillMDIChildTable(SECMsgFilter::DescriptorTable& table);
void FillDockableFrameTable(SECMsgFilter::DescriptorTable& table);

}  // namespace sec_filters
