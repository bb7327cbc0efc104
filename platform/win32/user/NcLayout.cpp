#include "NcLayout.h"

#include <algorithm>

#include "Window.h"

namespace plat::user {

bool Contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

NcLayout LayoutOf(DWORD style, DWORD exStyle, bool hasMenu, int width, int height) {
  NcLayout l;
  if (style & WS_THICKFRAME) {
    l.frame = GetSystemMetrics(SM_CXFRAME);
    l.frameKind = 3;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    l.frame = GetSystemMetrics(SM_CXDLGFRAME);
    l.frameKind = 2;
  } else if (style & WS_BORDER) {
    l.frame = GetSystemMetrics(SM_CXBORDER);
    l.frameKind = 1;
  }
  const int f = l.frame;
  int y = f;
  l.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    int h = l.toolWindow ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
    l.caption = RECT{f, f, width - f, f + h - 1};
    y += h;
    const int bw = (l.toolWindow ? GetSystemMetrics(SM_CXSMSIZE) : GetSystemMetrics(SM_CXSIZE)) - 2;
    const int bh = (l.toolWindow ? GetSystemMetrics(SM_CYSMSIZE) : GetSystemMetrics(SM_CYSIZE)) - 4;
    const int top = l.caption.top + (h - 1 - bh) / 2;
    int right = l.caption.right - 2;
    if (style & WS_SYSMENU) {
      l.closeBox = RECT{right - bw, top, right, top + bh};
      right -= bw + 2;
      if (!l.toolWindow && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        l.maxBox = RECT{right - bw, top, right, top + bh};
        l.minBox = RECT{right - 2 * bw, top, right - bw, top + bh};
      }
      if (!l.toolWindow) {
        int s = GetSystemMetrics(SM_CXSMICON);
        l.sysIcon = RECT{l.caption.left + 1, l.caption.top + (h - 1 - s) / 2, l.caption.left + 1 + s,
                         l.caption.top + (h - 1 - s) / 2 + s};
      }
    }
  }
  if (hasMenu && !(style & WS_CHILD)) {
    l.menuBar = RECT{f, y, width - f, y + GetSystemMetrics(SM_CYMENU) - 1};
    y += GetSystemMetrics(SM_CYMENU);
  }
  RECT inner{f, y, width - f, height - f};
  l.edge = inner;
  if (exStyle & WS_EX_CLIENTEDGE) l.edgeWidth = GetSystemMetrics(SM_CXEDGE);
  else if (exStyle & WS_EX_STATICEDGE) l.edgeWidth = GetSystemMetrics(SM_CXBORDER);
  inner.left += l.edgeWidth;
  inner.top += l.edgeWidth;
  inner.right -= l.edgeWidth;
  inner.bottom -= l.edgeWidth;
  const int sv = GetSystemMetrics(SM_CXVSCROLL), sh = GetSystemMetrics(SM_CYHSCROLL);
  if (style & WS_VSCROLL) l.vScroll = RECT{inner.right - sv, inner.top, inner.right, inner.bottom - ((style & WS_HSCROLL) ? sh : 0)};
  if (style & WS_HSCROLL) l.hScroll = RECT{inner.left, inner.bottom - sh, inner.right - ((style & WS_VSCROLL) ? sv : 0), inner.bottom};
  if ((style & WS_VSCROLL) && (style & WS_HSCROLL)) l.sizeBox = RECT{inner.right - sv, inner.bottom - sh, inner.right, inner.bottom};
  if (style & WS_VSCROLL) inner.right -= sv;
  if (style & WS_HSCROLL) inner.bottom -= sh;
  inner.right = std::max(inner.right, inner.left);
  inner.bottom = std::max(inner.bottom, inner.top);
  l.client = inner;
  return l;
}

NcLayout LayoutOf(const Window& w) {
  return LayoutOf(w.style, w.exStyle, w.id != 0 && !(w.style & WS_CHILD), w.rect.right - w.rect.left,
                  w.rect.bottom - w.rect.top);
}

}  // namespace plat::user
