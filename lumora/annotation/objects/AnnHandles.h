// The selection marks every kind but the measuring line shows: a white square on each
// corner and a frame through them, drawn solid and then dotted and inverted, so the
// frame shows on any picture. All in window pixels.
#pragma once
#include <afxwin.h>

#include <vector>

namespace annhandles {

// Squares of 8 window pixels on `window` with the DC's pen, then the frame from the
// first point through the others and back. The DC is left as it was.
void DrawCornerHandles(HDC hdc, const std::vector<POINT>& window);

}  // namespace annhandles
