#include "NonClient.h"

#include <mutex>

#include "../WinGdi.h"
#include "../WinGdiText.h"
#include "CaptionBox.h"
#include "Menu.h"
#include "NcLayout.h"
#include "ScrollBars.h"
#include "Window.h"

namespace plat::user {
namespace {

HFONT CaptionFont() {
  // Made once and kept for the life of the process, like the system's own fonts.
  static HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 128, 0, 0, 0, 0,
                                  "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF");
  return font;
}

void Fill(HDC dc, RECT r, int color) { FillRect(dc, &r, GetSysColorBrush(color)); }

void DrawFrame(HDC dc, const NcLayout& l, int w, int h, bool active) {
  RECT r{0, 0, w, h};
  switch (l.frameKind) {
    case 1:
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      break;
    case 2:
    case 3: {
      DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
      int color = l.frameKind == 3 ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_3DFACE;
      for (int i = 2; i < l.frame; ++i) {
        FrameRect(dc, &r, GetSysColorBrush(color));
        InflateRect(&r, -1, -1);
      }
      break;
    }
    default:
      break;
  }
}

void DrawCaption(HDC dc, const Window& w, const NcLayout& l, bool active) {
  if (IsRectEmpty(&l.caption)) return;
  RECT line{l.caption.left, l.caption.bottom, l.caption.right, l.caption.bottom + 1};
  Fill(dc, line, COLOR_3DFACE);
  Fill(dc, l.caption, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  RECT text = l.caption;
  text.left += 2;
  if (!IsRectEmpty(&l.sysIcon)) {
    HICON icon = w.iconSmall ? w.iconSmall : w.iconBig;
    if (!icon && w.cls) icon = w.cls->iconSmall ? w.cls->iconSmall : w.cls->icon;
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    DrawIconEx(dc, l.sysIcon.left, l.sysIcon.top, icon, l.sysIcon.right - l.sysIcon.left,
               l.sysIcon.bottom - l.sysIcon.top, 0, nullptr, DI_NORMAL);
    text.left = l.sysIcon.right + 2;
  }
  auto pushed = [&](int hit) -> UINT { return w.pushedBox == hit ? DFCS_PUSHED : 0; };
  RECT box = l.closeBox;
  if (!IsRectEmpty(&box)) {
    DrawFrameControl(dc, &box, DFC_CAPTION,
                     DFCS_CAPTIONCLOSE | (CaptionBoxEnabled(w, HTCLOSE) ? 0 : DFCS_INACTIVE) | pushed(HTCLOSE));
    text.right = box.left - 2;
  }
  if (!IsRectEmpty(&l.maxBox)) {
    box = l.maxBox;
    DrawFrameControl(dc, &box, DFC_CAPTION, ((w.style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                                                 (CaptionBoxEnabled(w, HTMAXBUTTON) ? 0 : DFCS_INACTIVE) |
                                                 pushed(HTMAXBUTTON));
    box = l.minBox;
    DrawFrameControl(dc, &box, DFC_CAPTION, ((w.style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                                                 (CaptionBoxEnabled(w, HTMINBUTTON) ? 0 : DFCS_INACTIVE) |
                                                 pushed(HTMINBUTTON));
    text.right = l.minBox.left - 2;
  }
  HGDIOBJ old = SelectObject(dc, CaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  DrawTextA(dc, w.text.c_str(), static_cast<int>(w.text.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
}

void DrawScrollBar(HDC dc, HWND hwnd, RECT bar, bool vertical) {
  if (IsRectEmpty(&bar)) return;
  const int which = vertical ? SB_VERT : SB_HORZ;
  ScrollBarParts p = PartsOf(bar, vertical, WindowScrollInfo(hwnd, which));
  const UINT off = WindowScrollArrows(hwnd, which);
  Fill(dc, p.track, COLOR_SCROLLBAR);
  DrawFrameControl(dc, &p.first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | ((off & ESB_DISABLE_LTUP) ? DFCS_INACTIVE : 0));
  DrawFrameControl(dc, &p.last, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | ((off & ESB_DISABLE_RTDN) ? DFCS_INACTIVE : 0));
  if (!IsRectEmpty(&p.thumb) && (off & ESB_DISABLE_BOTH) != ESB_DISABLE_BOTH) DrawEdge(dc, &p.thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

}  // namespace

void PaintNonClient(HWND hwnd) { PaintNonClient(hwnd, nullptr); }

void PaintNonClient(HWND hwnd, HRGN update) {
  auto w = FindWindowObject(hwnd);
  if (!w || !IsWindowVisible(hwnd)) return;
  NcLayout l;
  int width, height;
  bool active;
  {
    std::lock_guard lock(UserMutex());
    l = LayoutOf(*w);
    width = w->rect.right - w->rect.left;
    height = w->rect.bottom - w->rect.top;
    active = w->ncActive;
  }
  HDC dc = GetDCEx(hwnd, nullptr, DCX_WINDOW);
  if (!dc) return;
  // Everything but the client area: a clip keeps the frame drawing off it.
  ExcludeClipRect(dc, l.client.left, l.client.top, l.client.right, l.client.bottom);
  if (update && update != reinterpret_cast<HRGN>(1)) {
    // The region is on the screen; the window's DC starts at its top-left corner.
    RECT origin{};
    GetWindowRect(hwnd, &origin);
    HRGN local = CreateRectRgn(0, 0, 0, 0);
    if (local && CombineRgn(local, update, nullptr, RGN_COPY) != ERROR) {
      OffsetRgn(local, -origin.left, -origin.top);
      ExtSelectClipRgn(dc, local, RGN_AND);
    }
    if (local) DeleteObject(local);
  }
  DrawFrame(dc, l, width, height, active);
  DrawCaption(dc, *w, l, active);
  if (!IsRectEmpty(&l.menuBar)) {
    RECT line{l.menuBar.left, l.menuBar.bottom, l.menuBar.right, l.menuBar.bottom + 1};
    Fill(dc, line, COLOR_3DFACE);
    PaintMenuBar(hwnd, dc, l.menuBar);
  }
  if (l.edgeWidth == 2) {
    RECT e = l.edge;
    DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
  } else if (l.edgeWidth == 1) {
    RECT e = l.edge;
    DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT);
  }
  DrawScrollBar(dc, hwnd, l.vScroll, true);
  DrawScrollBar(dc, hwnd, l.hScroll, false);
  if (!IsRectEmpty(&l.sizeBox)) Fill(dc, l.sizeBox, COLOR_3DFACE);
  ReleaseDC(hwnd, dc);
}

}  // namespace plat::user
