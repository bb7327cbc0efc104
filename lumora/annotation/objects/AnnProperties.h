// The property dialogs as the kinds run them on their current state: the values go in,
// come back only on OK, and a dialog that cannot be made sets the dialog-failed flag.
#pragma once
#include "AnnObj.h"

namespace annproperties {

// The shape dialog (rectangle, ellipse, polygon) in `variant`: pen width, line type,
// fill and pen colour, square and fill.
void EditShape(CAnnObj& obj, int variant);
// The line dialog (line, polyline, freehand curve) in `variant`: pen width, style code,
// line type and pen colour.
void EditLine(CAnnObj& obj, int variant);

}  // namespace annproperties
