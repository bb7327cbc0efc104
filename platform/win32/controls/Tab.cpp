// The tab control ("SysTabControl32"): a row of labelled tabs above a display area;
// the owner hears TCN_SELCHANGING (and may refuse) and TCN_SELCHANGE.
#include <algorithm>
#include <string>
#include <vector>

#include "../WinCommCtrl.h"
#include "../WinDialog.h"
#include "ControlSupport.h"

namespace plat::controls {
namespace {

constexpr int kPadding = 6;  // beside a tab's label

struct Tab {
  std::string text;
  int image = -1;
  LPARAM param = 0;
};

struct TabState {
  std::vector<Tab> tabs;
  int cur = -1;
  HFONT font = nullptr;
  bool focus = false;
  HIMAGELIST images = nullptr;  // the owner's; it stays the owner's to destroy
};

StateMap<TabState> g_tabs;

int RowHeight(HWND h, const TabState& s) {
  HDC dc = GetDC(h);
  int height;
  {
    FontScope font(dc, ControlFont(s.font));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    height = (tm.tmHeight > 0 ? tm.tmHeight : 14) + 6;
  }
  int cx = 0, cy = 0;
  if (ImageList_GetIconSize(s.images, &cx, &cy)) height = std::max(height, cy + 6);
  ReleaseDC(h, dc);
  return height;
}

// The size of a tab's image, or nothing when it shows none.
SIZE ImageSize(const TabState& s, const Tab& t) {
  SIZE size{0, 0};
  if (t.image < 0 || t.image >= ImageList_GetImageCount(s.images)) return size;
  int cx = 0, cy = 0;
  ImageList_GetIconSize(s.images, &cx, &cy);
  return SIZE{cx, cy};
}

std::vector<RECT> TabRects(HWND h, const TabState& s) {
  std::vector<RECT> out;
  HDC dc = GetDC(h);
  {
    FontScope font(dc, ControlFont(s.font));
    int x = 2, height = RowHeight(h, s);
    for (const Tab& t : s.tabs) {
      SIZE ext{};
      GetTextExtentPoint32A(dc, t.text.c_str(), static_cast<int>(t.text.size()), &ext);
      SIZE image = ImageSize(s, t);
      int w = ext.cx + 2 * kPadding + (image.cx ? image.cx + kPadding / 2 : 0);
      out.push_back(RECT{x, 2, x + w, 2 + height});
      x += w;
    }
  }
  ReleaseDC(h, dc);
  return out;
}

// Display area <-> window rectangle, as TCM_ADJUSTRECT converts.
void Adjust(HWND h, const TabState& s, BOOL larger, RECT& r) {
  int top = RowHeight(h, s) + 2;
  if (larger) {
    r.left -= 4;
    r.right += 4;
    r.top -= top + 2;
    r.bottom += 4;
  } else {
    r.left += 4;
    r.right -= 4;
    r.top += top + 2;
    r.bottom -= 4;
  }
}

bool Change(HWND h, TabState& s, int to) {
  if (to < 0 || to >= static_cast<int>(s.tabs.size()) || to == s.cur) return false;
  NMHDR nm{};
  if (Notify(h, TCN_SELCHANGING, nm)) return false;  // the owner keeps the current page
  s.cur = to;
  InvalidateRect(h, nullptr, TRUE);
  NMHDR done{};
  Notify(h, TCN_SELCHANGE, done);
  return true;
}

void Paint(HWND h, HDC dc, TabState& s) {
  RECT rc;
  GetClientRect(h, &rc);
  FontScope font(dc, ControlFont(s.font));
  HBRUSH bg = ParentColors(h, dc, WM_CTLCOLORSTATIC);
  FillRect(dc, &rc, bg);
  RECT page = rc;
  page.top = RowHeight(h, s) + 2;
  DrawEdge(dc, &page, EDGE_RAISED, BF_RECT);
  auto rects = TabRects(h, s);
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r = rects[i];
    bool selected = static_cast<int>(i) == s.cur;
    if (selected) InflateRect(&r, 2, 2);  // the chosen tab stands out and joins its page
    RECT body{r.left, r.top, r.right, r.bottom + (selected ? 1 : 0)};
    FillRect(dc, &body, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &body, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
    RECT label = r;
    SIZE image = ImageSize(s, s.tabs[i]);
    if (image.cx) {
      // The image stands left of the label, both centred in the tab together.
      int top = r.top + (r.bottom - r.top - image.cy) / 2;
      ImageList_Draw(s.images, s.tabs[i].image, dc, r.left + kPadding, top, ILD_TRANSPARENT);
      label.left += kPadding + image.cx;
    }
    DrawTextA(dc, s.tabs[i].text.c_str(), -1, &label, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (selected && s.focus) {
      InflateRect(&label, -3, -3);
      DrawFocusRect(dc, &label);
    }
  }
}

LRESULT OnMessage(HWND h, UINT msg, WPARAM w, LPARAM l, TabState& s) {
  int count = static_cast<int>(s.tabs.size());
  int index = static_cast<int>(w);
  switch (msg) {
    case TCM_GETITEMCOUNT: return count;
    case TCM_INSERTITEMA: {
      auto* item = reinterpret_cast<const TCITEMA*>(l);
      if (!item || index < 0) return -1;
      Tab t;
      if ((item->mask & TCIF_TEXT) && item->pszText) t.text = item->pszText;
      if (item->mask & TCIF_IMAGE) t.image = item->iImage;
      if (item->mask & TCIF_PARAM) t.param = item->lParam;
      index = std::min(index, count);
      s.tabs.insert(s.tabs.begin() + index, std::move(t));
      if (s.cur < 0) s.cur = 0;
      else if (s.cur >= index && count > 0) ++s.cur;
      InvalidateRect(h, nullptr, TRUE);
      return index;
    }
    case TCM_SETITEMA:
    case TCM_GETITEMA: {
      auto* item = reinterpret_cast<TCITEMA*>(l);
      if (!item || index < 0 || index >= count) return FALSE;
      Tab& t = s.tabs[static_cast<size_t>(index)];
      if (msg == TCM_SETITEMA) {
        if ((item->mask & TCIF_TEXT) && item->pszText) t.text = item->pszText;
        if (item->mask & TCIF_IMAGE) t.image = item->iImage;
        if (item->mask & TCIF_PARAM) t.param = item->lParam;
        InvalidateRect(h, nullptr, TRUE);
        return TRUE;
      }
      if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        size_t n = CharStart(t.text, std::min(t.text.size(), static_cast<size_t>(item->cchTextMax) - 1));
        t.text.copy(item->pszText, n);
        item->pszText[n] = '\0';
      }
      if (item->mask & TCIF_IMAGE) item->iImage = t.image;
      if (item->mask & TCIF_PARAM) item->lParam = t.param;
      return TRUE;
    }
    case TCM_DELETEITEM:
      if (index < 0 || index >= count) return FALSE;
      s.tabs.erase(s.tabs.begin() + index);
      if (s.cur == index) s.cur = -1;
      else if (s.cur > index) --s.cur;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case TCM_DELETEALLITEMS:
      s.tabs.clear();
      s.cur = -1;
      InvalidateRect(h, nullptr, TRUE);
      return TRUE;
    case TCM_GETITEMRECT: {
      auto rects = TabRects(h, s);
      if (index < 0 || index >= count || !l) return FALSE;
      *reinterpret_cast<RECT*>(l) = rects[static_cast<size_t>(index)];
      return TRUE;
    }
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS: return s.cur;
    case TCM_SETCURSEL: {
      // The program's choice is not reported.
      int old = s.cur;
      if (index < 0 || index >= count) return -1;
      s.cur = index;
      InvalidateRect(h, nullptr, TRUE);
      return old;
    }
    case TCM_SETIMAGELIST: return SwapImageList(h, s.images, l);
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(s.images);
    case TCM_ADJUSTRECT:
      if (l) Adjust(h, s, static_cast<BOOL>(w), *reinterpret_cast<RECT*>(l));
      return 0;
    case WM_SETFONT:
      s.font = reinterpret_cast<HFONT>(w);
      if (l) InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s.font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      s.focus = msg == WM_SETFOCUS;
      InvalidateRect(h, nullptr, TRUE);
      return 0;
    case WM_NCHITTEST: {
      // Only the tabs take the mouse; the display area belongs to the page above it, or
      // to the owner around.
      POINT p = MousePoint(l);
      ScreenToClient(h, &p);
      auto rects = TabRects(h, s);
      for (const RECT& r : rects)
        if (PtInRect(&r, p)) return HTCLIENT;
      return HTTRANSPARENT;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p = MousePoint(l);
      auto rects = TabRects(h, s);
      for (int i = 0; i < count; ++i)
        if (PtInRect(&rects[static_cast<size_t>(i)], p)) {
          if (!(GetWindowLongA(h, GWL_STYLE) & TCS_FOCUSNEVER) && GetFocus() != h) SetFocus(h);
          Change(h, s, i);
          break;
        }
      return 0;
    }
    case WM_KEYDOWN:
      if (w == VK_LEFT || w == VK_RIGHT) {
        Change(h, s, s.cur + (w == VK_LEFT ? -1 : 1));
        return 0;
      }
      break;
    default: break;
  }
  return DefWindowProcA(h, msg, w, l);
}

}  // namespace

LRESULT CALLBACK TabProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  return DispatchWithState(g_tabs, h, msg, w, l, OnMessage, Paint);
}

}  // namespace plat::controls
