#include "MenuDraw.h"

#include <algorithm>
#include <cstring>

#include "NcLayout.h"
#include "Window.h"

namespace plat::user {
namespace {

constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 8;
constexpr int kCheckWidth = 16;
constexpr int kBarPadding = 7;

// Text and size of an item, read under the menu lock.
struct ItemView {
  MenuItem item;
  std::string label, shortcut;
};

std::vector<ItemView> Snapshot(HMENU menu) {
  std::vector<ItemView> out;
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m) return out;
  for (auto& it : m->items) {
    ItemView v{it, {}, {}};
    SplitItemText(it.text, &v.label, &v.shortcut);
    out.push_back(std::move(v));
  }
  return out;
}

void StoreRect(HMENU menu, size_t i, const RECT& r) {
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (m && i < m->items.size()) m->items[i].rect = r;
}

SIZE TextSize(HDC dc, const std::string& s) {
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

// The bitmaps the system draws itself: a maximised MDI child's icon and buttons.
bool IsSystemBitmap(HBITMAP b) {
  auto v = reinterpret_cast<UINT_PTR>(b);
  return v >= 1 && v <= 11;
}

void DrawSystemBitmap(HDC dc, const ItemView& v, const RECT& r, bool pushed) {
  if (v.item.bitmap == HBMMENU_SYSTEM) {
    // The icon of the window whose system menu the item drops.
    HWND owner = nullptr;
    {
      std::lock_guard lock(MenuMutex());
      if (auto m = FindMenu(v.item.sub)) owner = m->sysOwner;
    }
    HICON icon = owner ? reinterpret_cast<HICON>(SendMessageA(owner, WM_GETICON, ICON_SMALL, 0)) : nullptr;
    if (!icon && owner) icon = reinterpret_cast<HICON>(SendMessageA(owner, WM_GETICON, ICON_BIG, 0));
    if (!icon && owner) icon = reinterpret_cast<HICON>(GetClassLongPtrA(owner, GCL_HICONSM));
    if (!icon && owner) icon = reinterpret_cast<HICON>(GetClassLongPtrA(owner, GCL_HICON));
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    const int s = GetSystemMetrics(SM_CXSMICON);
    DrawIconEx(dc, (r.left + r.right - s) / 2, (r.top + r.bottom - s) / 2, icon, s, s, 0, nullptr, DI_NORMAL);
    return;
  }
  UINT kind = DFCS_CAPTIONCLOSE;
  if (v.item.bitmap == HBMMENU_MBAR_RESTORE) kind = DFCS_CAPTIONRESTORE;
  else if (v.item.bitmap == HBMMENU_MBAR_MINIMIZE || v.item.bitmap == HBMMENU_MBAR_MINIMIZE_D) kind = DFCS_CAPTIONMIN;
  if (v.item.bitmap == HBMMENU_MBAR_CLOSE_D || v.item.bitmap == HBMMENU_MBAR_MINIMIZE_D) kind |= DFCS_INACTIVE;
  if (pushed) kind |= DFCS_PUSHED;
  const int bw = GetSystemMetrics(SM_CXMENUSIZE) - 2, bh = GetSystemMetrics(SM_CYMENUSIZE) - 4;
  RECT box{(r.left + r.right - bw) / 2, (r.top + r.bottom - bh) / 2, 0, 0};
  box.right = box.left + bw;
  box.bottom = box.top + bh;
  DrawFrameControl(dc, &box, DFC_CAPTION, kind);
}

SIZE Measure(HDC dc, const ItemView& v, HWND owner, bool bar) {
  if (v.item.type & MF_OWNERDRAW) {
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, static_cast<UINT>(v.item.id), 0, kItemHeight, v.item.data};
    SendMessageA(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    return {static_cast<LONG>(mis.itemWidth) + (bar ? 0 : 2 * kCheckWidth), static_cast<LONG>(mis.itemHeight)};
  }
  if (v.item.type & MF_SEPARATOR) return {0, kSeparatorHeight};
  if (v.item.type & MF_BITMAP) {
    if (IsSystemBitmap(v.item.bitmap)) return {GetSystemMetrics(SM_CXMENUSIZE), kItemHeight};
    BITMAP bm{};
    if (GetObjectA(v.item.bitmap, sizeof bm, &bm)) return {bm.bmWidth + (bar ? 0 : 2 * kCheckWidth), std::max<LONG>(bm.bmHeight, kItemHeight)};
  }
  SIZE t = TextSize(dc, v.label);
  if (bar) return {t.cx + 2 * kBarPadding, kItemHeight};
  int w = kCheckWidth + t.cx + kCheckWidth;
  if (!v.shortcut.empty()) w += TextSize(dc, v.shortcut).cx + kCheckWidth;
  return {w, kItemHeight};
}

HDC MeasureDc() {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, MenuFont());
  return dc;
}

// The menu font in bold, for a menu's default item.
HFONT BoldMenuFont() {
  static HFONT font = [] {
    LOGFONTA lf{};
    GetObjectA(MenuFont(), sizeof lf, &lf);
    lf.lfWeight = FW_BOLD;
    return CreateFontIndirectA(&lf);
  }();
  return font;
}

void DrawOwnerItem(HDC dc, HMENU menu, HWND owner, const ItemView& v, const RECT& r, bool selected) {
  UINT state = (selected ? ODS_SELECTED : 0) | ((v.item.state & MF_GRAYED) ? ODS_GRAYED : 0) |
               ((v.item.state & MF_DISABLED) ? ODS_DISABLED : 0) | ((v.item.state & MF_CHECKED) ? ODS_CHECKED : 0) |
               ((v.item.state & MF_DEFAULT) ? ODS_DEFAULT : 0);
  // For a menu item the record's window is the menu that holds it.
  DRAWITEMSTRUCT dis{ODT_MENU, 0, static_cast<UINT>(v.item.id), ODA_DRAWENTIRE, state,
                     reinterpret_cast<HWND>(menu), dc, r, v.item.data};
  SendMessageA(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
}

void DrawLabel(HDC dc, const std::string& text, RECT r, UINT align, bool grayed, COLORREF color) {
  SetBkMode(dc, TRANSPARENT);
  if (grayed) {
    // The classic engraved look: a white copy one pixel down-right, then the shadow.
    RECT e = r;
    OffsetRect(&e, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &e, DT_SINGLELINE | DT_VCENTER | align);
    color = GetSysColor(COLOR_3DSHADOW);
  }
  SetTextColor(dc, color);
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | align);
}

// A check bitmap centred in `box`; its black pixels take `fore`, its white ones `back`.
void DrawCheckBitmap(HDC dc, HBITMAP bitmap, const RECT& box, COLORREF fore, COLORREF back) {
  BITMAP bm{};
  if (!GetObjectA(bitmap, sizeof bm, &bm)) return;  // a bitmap that is gone draws nothing
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap);
  const int cx = std::min<int>(bm.bmWidth, box.right - box.left), cy = std::min<int>(bm.bmHeight, box.bottom - box.top);
  COLORREF oldText = SetTextColor(dc, fore), oldBack = SetBkColor(dc, back);
  BitBlt(dc, box.left + (box.right - box.left - cx) / 2, box.top + (box.bottom - box.top - cy) / 2, cx, cy, mem, 0, 0,
         SRCCOPY);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace

void DrawMenuGlyph(HDC dc, const RECT& r, UINT glyph, COLORREF color) {
  static const char* const kCheck[] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
  static const char* const kBullet[] = {".###.", "#####", "#####", "#####", ".###."};
  static const char* const kArrow[] = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};
  const char* const* art = kCheck;
  int rows = 7;
  if (glyph == DFCS_MENUBULLET) {
    art = kBullet;
    rows = 5;
  } else if (glyph == DFCS_MENUARROW) {
    art = kArrow;
  }
  const int cols = static_cast<int>(std::strlen(art[0]));
  const int x0 = (r.left + r.right - cols) / 2, y0 = (r.top + r.bottom - rows) / 2;
  HBRUSH b = CreateSolidBrush(color);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x)
      if (art[y][x] == '#') {
        RECT px{x0 + x, y0 + y, x0 + x + 1, y0 + y + 1};
        FillRect(dc, &px, b);
      }
  DeleteObject(b);
}

HFONT MenuFont() {
  static HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 128, 0, 0, 0, 0,
                                  "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF");
  return font;
}

void LayoutMenuBar(HMENU menu, HWND owner, const RECT& bar) {
  auto items = Snapshot(menu);
  HDC dc = MeasureDc();
  int x = bar.left;
  for (size_t i = 0; i < items.size(); ++i) {
    SIZE s = Measure(dc, items[i], owner, true);
    RECT r{x, bar.top, x + s.cx, bar.bottom};
    if (items[i].item.type & MF_RIGHTJUSTIFY) {
      // This item and those after it line up at the right end.
      int rest = 0;
      for (size_t j = i; j < items.size(); ++j) rest += Measure(dc, items[j], owner, true).cx;
      r.left = std::max(x, static_cast<int>(bar.right - rest));
      r.right = r.left + s.cx;
    }
    StoreRect(menu, i, r);
    x = r.right;
  }
  DeleteDC(dc);
}

void DrawBarItem(HDC dc, HMENU menu, HWND owner, int index, bool selected, bool pushed) {
  auto items = Snapshot(menu);
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return;
  const ItemView& v = items[static_cast<size_t>(index)];
  RECT r = v.item.rect;
  HGDIOBJ old = SelectObject(dc, MenuFont());
  FillRect(dc, &r, GetSysColorBrush(COLOR_MENU));
  if (v.item.type & MF_OWNERDRAW) {
    DrawOwnerItem(dc, menu, owner, v, r, selected);
  } else if ((v.item.type & MF_BITMAP) && IsSystemBitmap(v.item.bitmap)) {
    DrawSystemBitmap(dc, v, r, selected && pushed);
  } else {
    if (selected) DrawEdge(dc, &r, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    RECT t = r;
    if (pushed) OffsetRect(&t, 1, 1);
    DrawLabel(dc, v.label, t, DT_CENTER, (v.item.state & MF_GRAYED) != 0, GetSysColor(COLOR_MENUTEXT));
  }
  SelectObject(dc, old);
}

void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar) {
  HMENU menu = GetMenu(hwnd);
  FillRect(dc, &bar, GetSysColorBrush(COLOR_MENU));
  if (!menu) return;
  LayoutMenuBar(menu, hwnd, bar);
  int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    bool hilite = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0;
    DrawBarItem(dc, menu, hwnd, i, hilite, hilite);
  }
}

// Lays the window's menu bar out (item rectangles relative to the window) and answers the
// window's rectangle on the screen.
static bool LayOutWindowMenuBar(HWND hwnd, HMENU menu, RECT& windowRect) {
  auto w = FindWindowObject(hwnd);
  if (!w) return false;
  NcLayout l;
  {
    std::lock_guard lock(UserMutex());
    windowRect = ScreenWindowRect(*w);
    l = LayoutOf(*w);
  }
  LayoutMenuBar(menu, hwnd, l.menuBar);
  return true;
}

int MenuBarItemAt(HWND hwnd, POINT screen) {
  HMENU menu = GetMenu(hwnd);
  RECT wr;
  if (!menu || !LayOutWindowMenuBar(hwnd, menu, wr)) return -1;
  POINT p{screen.x - wr.left, screen.y - wr.top};
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m) return -1;
  for (size_t i = 0; i < m->items.size(); ++i)
    if (Contains(m->items[i].rect, p)) return static_cast<int>(i);
  return -1;
}

SIZE LayoutPopup(HMENU menu, HWND owner) {
  auto items = Snapshot(menu);
  HDC dc = MeasureDc();
  const int border = 3;
  int y = border, width = 0;
  std::vector<SIZE> sizes;
  for (auto& v : items) {
    SIZE s = Measure(dc, v, owner, false);
    sizes.push_back(s);
    width = std::max<int>(width, s.cx);
  }
  DeleteDC(dc);
  width = std::max(width, 60);
  for (size_t i = 0; i < items.size(); ++i) {
    StoreRect(menu, i, RECT{border, y, border + width, y + sizes[i].cy});
    y += sizes[i].cy;
  }
  return {width + 2 * border, y + border};
}

void DrawPopupItems(HDC dc, HMENU menu, HWND owner, int selected, const RECT& client) {
  auto items = Snapshot(menu);
  RECT frame = client;
  FillRect(dc, &frame, GetSysColorBrush(COLOR_MENU));
  DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
  HGDIOBJ old = SelectObject(dc, MenuFont());
  for (size_t i = 0; i < items.size(); ++i) {
    const ItemView& v = items[i];
    RECT r = v.item.rect;
    bool sel = static_cast<int>(i) == selected;
    if (v.item.type & MF_SEPARATOR) {
      RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
      continue;
    }
    if (v.item.type & MF_OWNERDRAW) {
      DrawOwnerItem(dc, menu, owner, v, r, sel);
      // The arrow of an item that opens a popup is the menu's own, as for other items.
      if (v.item.sub) {
        RECT arrow{r.right - kCheckWidth, r.top, r.right, r.bottom};
        DrawMenuGlyph(dc, arrow, DFCS_MENUARROW, GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
      }
      continue;
    }
    FillRect(dc, &r, GetSysColorBrush(sel ? COLOR_HIGHLIGHT : COLOR_MENU));
    bool grayed = (v.item.state & MF_GRAYED) != 0;
    // A grayed item stays grey when selected; unselected it is engraved.
    COLORREF text = GetSysColor(sel ? (grayed ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT) : COLOR_MENUTEXT);
    RECT mark{r.left, r.top, r.left + kCheckWidth, r.bottom};
    const bool checked = (v.item.state & MF_CHECKED) != 0;
    if (HBITMAP own = checked ? v.item.checked : v.item.unchecked) {
      // The item's own check bitmaps: monochrome, black drawn in the text colour.
      DrawCheckBitmap(dc, own, mark, text, GetSysColor(sel ? COLOR_HIGHLIGHT : COLOR_MENU));
    } else if (checked) {
      DrawMenuGlyph(dc, mark, (v.item.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK, text);
    }
    RECT t{r.left + kCheckWidth, r.top, r.right - kCheckWidth, r.bottom};
    if (v.item.type & MF_BITMAP) {
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ ob = SelectObject(mem, v.item.bitmap);
      BITMAP bm{};
      GetObjectA(v.item.bitmap, sizeof bm, &bm);
      BitBlt(dc, t.left, r.top + (r.bottom - r.top - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
      SelectObject(mem, ob);
      DeleteDC(mem);
    } else {
      // The default item is drawn bold.
      HGDIOBJ plain = (v.item.state & MF_DEFAULT) ? SelectObject(dc, BoldMenuFont()) : nullptr;
      DrawLabel(dc, v.label, t, DT_LEFT, grayed && !sel, text);
      if (!v.shortcut.empty()) DrawLabel(dc, v.shortcut, t, DT_RIGHT, grayed && !sel, text);
      if (plain) SelectObject(dc, plain);
    }
    if (v.item.sub) {
      RECT arrow{r.right - kCheckWidth, r.top, r.right, r.bottom};
      DrawMenuGlyph(dc, arrow, DFCS_MENUARROW, text);
    }
  }
  SelectObject(dc, old);
}

}  // namespace plat::user

using namespace plat::user;

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect) {
  // The items of a window's menu bar, in screen coordinates.
  RECT wr;
  if (!rect || !menu || GetMenu(hwnd) != menu || !LayOutWindowMenuBar(hwnd, menu, wr)) return FALSE;
  std::lock_guard lock(MenuMutex());
  auto m = FindMenu(menu);
  if (!m || item >= m->items.size()) return FALSE;
  *rect = m->items[item].rect;
  OffsetRect(rect, wr.left, wr.top);
  return TRUE;
}
