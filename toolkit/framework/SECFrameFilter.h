// How a library frame (MDI frame, MDI child, dockable frame) works with its caption
// filters: it switches them by its descriptor table, offers its messages to the root, and
// hands the place requests to it. A filter's handling can take the frame away, so each
// step is given the frame's window handle and touches nothing of the frame afterwards
// unless that window still lives.
#pragma once
#include "SECMsgFilter.h"

namespace sec_filters {

// One value per descriptor of the frame's table, in table order, then the frame's own
// buttons in its caption list switched off (a descriptor kept on stays on).
void ApplyCaptionValues(SECMsgFilter& root, const SECMsgFilter::DescriptorTable& table, const BOOL* pValues,
                        INT_PTR nValues);
// The message the frame is handling now, offered before the frame's own handling: TRUE
// when a filter handled it or the frame's window went meanwhile (the frame then returns
// at once).
BOOL OfferFirst(HWND hFrame, SECMsgFilter* pRoot);
// The same message offered after the frame's own handling, while the frame's window lives.
void OfferAfter(HWND hFrame, SECMsgFilter* pRoot);
// A place request ("Tamrisk::WM_SYSCOMMANDEX") now being handled: the filters fill the answer.
LRESULT HandRequest(SECMsgFilter* pRoot);
// The frame's hit code at a screen point, given the window's own answer: where one of the
// caption list's buttons lies over a box of the window, the caption, so that the button's
// filter gets the press (it takes presses on the caption only).
LRESULT CaptionHit(SECMsgFilter* pRoot, LRESULT hit, CPoint screen);

}  // namespace sec_filters
