// The list part shared by list boxes and the drop lists of combo boxes.
#pragma once
#include "../WinTypes.h"

namespace plat::controls {

// A list created for a combo box gets the combo as its lpCreateParams: it draws
// owner-drawn items as the combo's, and reports to the combo.
constexpr UINT kListPicked = 0x0400 + 0x7F0;    // WM_USER-based, to the combo: the mouse picked an item
constexpr UINT kListCancelled = 0x0400 + 0x7F1; // to the combo: the mouse went down outside the list

}  // namespace plat::controls
