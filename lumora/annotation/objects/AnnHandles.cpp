#include "AnnHandles.h"

namespace annhandles {

void DrawCornerHandles(HDC hdc, const std::vector<POINT>& window) {
  if (window.empty()) return;
  HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(WHITE_BRUSH));
  const int oldRop = SetROP2(hdc, R2_COPYPEN);
  for (POINT w : window) Rectangle(hdc, w.x - 4, w.y - 4, w.x + 4, w.y + 4);
  auto frame = [&] {
    MoveToEx(hdc, window[0].x, window[0].y, nullptr);
    for (size_t i = 1; i < window.size(); ++i) LineTo(hdc, window[i].x, window[i].y);
    LineTo(hdc, window[0].x, window[0].y);
  };
  CPen solid(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(hdc, solid);
  frame();
  CPen dotted(PS_DOT, 1, RGB(0, 0, 0));
  SelectObject(hdc, dotted);
  SetROP2(hdc, R2_NOT);
  const int oldBkMode = SetBkMode(hdc, TRANSPARENT);
  frame();
  SetBkMode(hdc, oldBkMode);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
}

}  // namespace annhandles
