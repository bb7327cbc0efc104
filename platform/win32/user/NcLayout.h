// Where the parts of a window's non-client area lie, in window coordinates: one place
// that drawing, hit testing and WM_NCCALCSIZE agree on.
#pragma once
#include "../WinUser.h"

namespace plat::user {

struct Window;

struct NcLayout {
  int frame = 0;     // width of the outer frame
  int frameKind = 0;  // 0 none, 1 thin border, 2 dialog frame, 3 sizing frame
  RECT caption{};    // the caption bar without the line under it (empty without a caption)
  RECT sysIcon{}, minBox{}, maxBox{}, closeBox{};
  RECT menuBar{};    // empty without a menu
  RECT edge{};       // the rectangle the client edge is drawn around
  int edgeWidth = 0;
  RECT vScroll{}, hScroll{}, sizeBox{};
  RECT client{};
  bool toolWindow = false;
};

NcLayout LayoutOf(DWORD style, DWORD exStyle, bool hasMenu, int width, int height);
NcLayout LayoutOf(const Window& w);
bool Contains(const RECT& r, POINT p);

}  // namespace plat::user
