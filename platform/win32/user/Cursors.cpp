// Cursors and icons: an image and a mask, drawn the classic way (the mask ANDed, then the
// image XORed), standard shapes made by the stand-in and images from resources.
#include <cstring>
#include <map>
#include <string>
#include <mutex>
#include <vector>

#include "../HandleTable.h"
#include "../LastError.h"
#include "../WinError.h"
#include "ResourceLookup.h"

namespace plat::user {
namespace {

struct IconObject {
  HBITMAP color = nullptr, mask = nullptr;
  int width = 32, height = 32;
  POINT hotspot{0, 0};
  bool icon = true;
  bool shared = false;  // standard and resource shapes live for the process
  ~IconObject() {
    if (color) DeleteObject(color);
    if (mask) DeleteObject(mask);
  }
};

HandleTable<IconObject>& Icons() {
  static HandleTable<IconObject> table(HandleKind::User);
  return table;
}

HICON Add(std::shared_ptr<IconObject> o) { return ToHandle<HICON>(Icons().Insert(std::move(o))); }

// A shape from a picture of characters: '#' black, '.' white, 'o' the colour, ' ' clear.
std::shared_ptr<IconObject> FromArt(const std::vector<const char*>& art, COLORREF color, POINT hot, bool icon) {
  auto o = std::make_shared<IconObject>();
  o->width = o->height = 32;
  o->hotspot = hot;
  o->icon = icon;
  HDC screen = GetDC(nullptr);
  o->color = CreateCompatibleBitmap(screen, 32, 32);
  o->mask = CreateBitmap(32, 32, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);
  HDC c = CreateCompatibleDC(nullptr), m = CreateCompatibleDC(nullptr);
  HGDIOBJ oc = SelectObject(c, o->color), om = SelectObject(m, o->mask);
  RECT all{0, 0, 32, 32};
  FillRect(c, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FillRect(m, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (size_t y = 0; y < art.size() && y < 32; ++y)
    for (size_t x = 0; art[y][x] && x < 32; ++x) {
      char ch = art[y][x];
      if (ch == ' ') continue;
      SetPixel(m, static_cast<int>(x), static_cast<int>(y), RGB(0, 0, 0));
      SetPixel(c, static_cast<int>(x), static_cast<int>(y),
               ch == '#' ? RGB(0, 0, 0) : ch == '.' ? RGB(255, 255, 255) : color);
    }
  SelectObject(c, oc);
  SelectObject(m, om);
  DeleteDC(c);
  DeleteDC(m);
  o->shared = true;
  return o;
}

const std::vector<const char*> kArrow = {
    "#", "##", "#.#", "#..#", "#...#", "#....#", "#.....#", "#......#", "#.......#", "#........#",
    "#.....#####", "#..#..#", "#.# #..#", "##  #..#", "#    #..#", "     #..#", "      #..#", "      ###"};
const std::vector<const char*> kIBeam = {"### ###", "   #", "   #", "   #", "   #", "   #", "   #", "   #",
                                         "   #", "   #", "   #", "   #", "   #", "   #", "   #", "### ###"};
const std::vector<const char*> kCross = {"       #", "       #", "       #", "       #", "       #", "       #",
                                         "       #", "###############", "       #", "       #", "       #",
                                         "       #", "       #", "       #", "       #"};
const std::vector<const char*> kHourglass = {"###########", "#.........#", " #.......#", "  #.....#", "   #...#",
                                             "    #.#", "   #...#", "  #.....#", " #.......#", "#.........#",
                                             "###########"};
const std::vector<const char*> kSizeWE = {"   #       #", "  ##       ##", " #.#########.#", "#.............#",
                                          " #.#########.#", "  ##       ##", "   #       #"};
const std::vector<const char*> kSizeNS = {"   #", "  #.#", " #...#", "#.....#", "###.###", "  #.#", "  #.#",
                                          "  #.#", "###.###", "#.....#", " #...#", "  #.#", "   #"};
const std::vector<const char*> kSizeAll = {"      #", "     #.#", "    #...#", "      #", "  #   #   #", " ##   #   ##",
                                           "#.#########.#", " ##   #   ##", "  #   #   #", "      #", "    #...#",
                                           "     #.#", "      #"};
const std::vector<const char*> kNo = {"    #####", "  ##.....##", " #..#####..#", "#..#     ##.#", "#.#     #..#",
                                      "#.#    #.#.#", "#.#   #.# .#", "#.#  #.#  .#", "#..##.#  #.#",
                                      " #..####..#", "  ##.....##", "    #####"};
const std::vector<const char*> kHand = {"    ##", "   #..#", "   #..#", "   #..###", "   #..#..###", "## #..#..#..#",
                                        "#..#.......#", " #.........#", "  #........#", "   #......#", "    ######"};
const std::vector<const char*> kWindow = {
    "", "", "", "  ############################", "  #oooooooooooooooooooooooooo#", "  #oooooooooooooooooooooooooo#",
    "  ############################", "  #..........................#", "  #..........................#",
    "  #..........................#", "  #..........................#", "  #..........................#",
    "  #..........................#", "  #..........................#", "  #..........................#",
    "  #..........................#", "  #..........................#", "  #..........................#",
    "  #..........................#", "  #..........................#", "  #..........................#",
    "  #..........................#", "  #..........................#", "  #..........................#",
    "  #..........................#", "  #..........................#", "  ############################"};
const std::vector<const char*> kSign = {
    "", "          ##########", "       ####oooooooooo####", "     ##oooooooooooooooooo##", "    #oooooooo....oooooooooo#",
    "   #ooooooooo....ooooooooooo#", "  #oooooooooooooooooooooooooo#", "  #oooooooooo.....ooooooooooo#",
    " #oooooooooooo....oooooooooooo#", " #oooooooooooo....oooooooooooo#", " #oooooooooooo....oooooooooooo#",
    " #oooooooooooo....oooooooooooo#", " #oooooooooooo....oooooooooooo#", "  #ooooooooooo....ooooooooooo#",
    "  #oooooooooo......oooooooooo#", "   #oooooooooooooooooooooooo#", "    #oooooooooooooooooooooo#",
    "     ##oooooooooooooooooo##", "       ####oooooooooo####", "           ##########"};

// The round sign with another symbol on it (white '.', black '#'), its top left at `at`.
std::shared_ptr<IconObject> SignWith(const std::vector<const char*>& symbol, POINT at, COLORREF color) {
  std::vector<std::string> rows;
  for (const char* r : kSign) {
    std::string row(r);
    for (char& ch : row)
      if (ch == '.') ch = 'o';
    rows.push_back(row);
  }
  for (size_t y = 0; y < symbol.size(); ++y) {
    std::string& row = rows[static_cast<size_t>(at.y) + y];
    for (size_t x = 0; symbol[y][x]; ++x)
      if (symbol[y][x] != ' ') row[static_cast<size_t>(at.x) + x] = symbol[y][x];
  }
  std::vector<const char*> art;
  for (const std::string& row : rows) art.push_back(row.c_str());
  return FromArt(art, color, {16, 16}, true);
}

const std::vector<const char*> kCrossMark = {"..      ..", "...    ...", " ...  ... ", "  ......  ", "   ....   ",
                                             "   ....   ", "  ......  ", " ...  ... ", "...    ...", "..      .."};
const std::vector<const char*> kQuestionMark = {"  ....  ", " ...... ", "..    ..", "      ..", "     ...", "    ... ",
                                                "   ...  ", "   ..   ", "        ", "   ..   ", "   ..   "};
const std::vector<const char*> kExclamationMark = {"###", "###", "###", "###", "###", "###", " # ", "   ", "###", "###"};

HICON Standard(ULONG_PTR id, bool cursor) {
  static std::mutex m;
  static std::map<ULONG_PTR, HICON> made;
  std::lock_guard lock(m);
  ULONG_PTR key = id | (cursor ? 0x10000 : 0);
  if (auto it = made.find(key); it != made.end()) return it->second;
  std::shared_ptr<IconObject> o;
  if (cursor) {
    switch (id) {
      case 32512: case 32650: case 32651: case 32516: o = FromArt(kArrow, 0, {0, 0}, false); break;
      case 32513: o = FromArt(kIBeam, 0, {3, 8}, false); break;
      case 32514: o = FromArt(kHourglass, 0, {5, 5}, false); break;
      case 32515: o = FromArt(kCross, 0, {7, 7}, false); break;
      case 32644: o = FromArt(kSizeWE, 0, {7, 3}, false); break;
      case 32645: o = FromArt(kSizeNS, 0, {3, 6}, false); break;
      case 32640: case 32646: case 32642: case 32643: o = FromArt(kSizeAll, 0, {6, 6}, false); break;
      case 32648: o = FromArt(kNo, 0, {6, 6}, false); break;
      case 32649: o = FromArt(kHand, 0, {5, 0}, false); break;
      default: return nullptr;
    }
  } else {
    switch (id) {
      case 32512: case 32517: o = FromArt(kWindow, RGB(0, 0, 128), {16, 16}, true); break;
      case 32513: o = SignWith(kCrossMark, {11, 5}, RGB(255, 0, 0)); break;            // hand (error)
      case 32514: o = SignWith(kQuestionMark, {12, 4}, RGB(0, 0, 255)); break;         // question
      case 32515: o = SignWith(kExclamationMark, {14, 4}, RGB(255, 255, 0)); break;    // exclamation
      case 32516: o = FromArt(kSign, RGB(0, 0, 255), {16, 16}, true); break;
      default: return nullptr;
    }
  }
  HICON h = Add(o);
  made[key] = h;
  return h;
}

// One image of an icon or cursor: a DIB of double height, the image over the AND mask.
std::shared_ptr<IconObject> FromImage(const unsigned char* data, uint32_t size, bool cursor, POINT hot) {
  if (size < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof h);
  int w = h.biWidth, hh = h.biHeight / 2;
  if (h.biSize < sizeof h || w <= 0 || hh <= 0 || w > 256 || hh > 256) return nullptr;
  if (h.biBitCount != 1 && h.biBitCount != 4 && h.biBitCount != 8 && h.biBitCount != 24 && h.biBitCount != 32)
    return nullptr;
  int colors = h.biBitCount <= 8 ? (h.biClrUsed ? static_cast<int>(h.biClrUsed) : 1 << h.biBitCount) : 0;
  if (colors > 256) return nullptr;
  size_t headerSize = h.biSize + static_cast<size_t>(colors) * 4;
  size_t xorStride = ((static_cast<size_t>(w) * h.biBitCount + 31) / 32) * 4;
  size_t andStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
  if (headerSize + xorStride * hh + andStride * hh > size) return nullptr;
  std::vector<unsigned char> info(headerSize);
  std::memcpy(info.data(), data, headerSize);
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  bi->bmiHeader.biHeight = hh;
  bi->bmiHeader.biSizeImage = 0;
  auto o = std::make_shared<IconObject>();
  o->width = w;
  o->height = hh;
  o->hotspot = hot;
  o->icon = !cursor;
  o->shared = true;
  HDC screen = GetDC(nullptr);
  o->color = CreateDIBitmap(screen, &bi->bmiHeader, CBM_INIT, data + headerSize, bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD c[2];
  } mono{};
  mono.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, hh, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
  mono.c[1] = RGBQUAD{255, 255, 255, 0};
  o->mask = CreateBitmap(w, hh, 1, 1, nullptr);
  HDC m = CreateCompatibleDC(nullptr);
  HGDIOBJ om = SelectObject(m, o->mask);
  SetDIBitsToDevice(m, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(hh), 0, 0, 0, static_cast<UINT>(hh),
                    data + headerSize + xorStride * hh, reinterpret_cast<BITMAPINFO*>(&mono), DIB_RGB_COLORS);
  SelectObject(m, om);
  DeleteDC(m);
  return o;
}

uint32_t Le(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// Icon and cursor resources hold their whole .ico/.cur file: a directory of images. The
// image of the standard size is taken, else the first.
HICON LoadFromResource(HINSTANCE instance, LPCSTR name, bool cursor) {
  const rc::Entry* file = FindEntry(instance, name, cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON);
  if (!file || file->size < 6) return nullptr;
  const unsigned char* d = file->data;
  uint32_t count = Le(d + 4, 2);
  if (Le(d, 2) != 0 || Le(d + 2, 2) != (cursor ? 2u : 1u) || 6 + 16 * static_cast<size_t>(count) > file->size)
    return nullptr;
  const unsigned char* pick = nullptr;
  for (uint32_t i = 0; i < count; ++i) {
    const unsigned char* e = d + 6 + 16 * i;
    if (!pick || (e[0] == 32 && e[1] == 32)) pick = e;
    if (e[0] == 32 && e[1] == 32) break;
  }
  if (!pick) return nullptr;
  uint32_t bytes = Le(pick + 8, 4), offset = Le(pick + 12, 4);
  if (offset > file->size || bytes > file->size - offset) return nullptr;
  POINT hot = cursor ? POINT{static_cast<LONG>(Le(pick + 4, 2)), static_cast<LONG>(Le(pick + 6, 2))} : POINT{0, 0};
  auto o = FromImage(d + offset, bytes, cursor, hot);
  return o ? Add(o) : nullptr;
}

// Loading the same resource again answers the same shared handle.
HICON FromResource(HINSTANCE instance, LPCSTR name, bool cursor) {
  static std::mutex m;
  static std::map<std::string, HICON> loaded;
  std::string key = ModuleName(instance) + (cursor ? "|c|" : "|i|") +
                    (IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : std::string(name));
  std::lock_guard lock(m);
  if (auto it = loaded.find(key); it != loaded.end()) return it->second;
  HICON h = LoadFromResource(instance, name, cursor);
  if (h) loaded[key] = h;
  return h;
}

std::mutex g_cursorMutex;
HCURSOR g_cursor = nullptr;
int g_showCount = 0;

}  // namespace

std::shared_ptr<IconObject> FindIcon(HICON h) { return Icons().Find(HandleId(h)); }

}  // namespace plat::user

using namespace plat::user;

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  HCURSOR c = nullptr;
  if (!instance && IS_INTRESOURCE(name)) c = Standard(reinterpret_cast<ULONG_PTR>(name), true);
  else c = FromResource(instance, name, true);
  if (!c) ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return c;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  HICON c = nullptr;
  if (!instance && IS_INTRESOURCE(name)) c = Standard(reinterpret_cast<ULONG_PTR>(name), false);
  else c = FromResource(instance, name, false);
  if (!c) ::SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return c;
}

HCURSOR SetCursor(HCURSOR cursor) {
  std::lock_guard lock(g_cursorMutex);
  HCURSOR old = g_cursor;
  g_cursor = cursor;
  return old;
}

HCURSOR GetCursor() {
  std::lock_guard lock(g_cursorMutex);
  return g_cursor;
}

int ShowCursor(BOOL show) {
  std::lock_guard lock(g_cursorMutex);
  return show ? ++g_showCount : --g_showCount;
}

HICON CreateIconIndirect(PICONINFO info) {
  if (!info || !info->hbmMask) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  BITMAP bm{};
  if (!GetObjectA(info->hbmMask, sizeof bm, &bm)) return nullptr;
  auto o = std::make_shared<IconObject>();
  o->icon = info->fIcon != FALSE;
  o->hotspot = POINT{static_cast<LONG>(info->xHotspot), static_cast<LONG>(info->yHotspot)};
  o->width = bm.bmWidth;
  o->height = info->hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  // The icon keeps copies: the caller still owns the bitmaps it passed.
  o->mask = static_cast<HBITMAP>(CopyImage(info->hbmMask, IMAGE_BITMAP, 0, 0, 0));
  if (info->hbmColor) o->color = static_cast<HBITMAP>(CopyImage(info->hbmColor, IMAGE_BITMAP, 0, 0, 0));
  return Add(o);
}

BOOL GetIconInfo(HICON icon, PICONINFO info) {
  auto o = FindIcon(icon);
  if (!o || !info) return FALSE;
  info->fIcon = o->icon;
  info->xHotspot = static_cast<DWORD>(o->icon ? o->width / 2 : o->hotspot.x);
  info->yHotspot = static_cast<DWORD>(o->icon ? o->height / 2 : o->hotspot.y);
  info->hbmMask = static_cast<HBITMAP>(CopyImage(o->mask, IMAGE_BITMAP, 0, 0, 0));
  info->hbmColor = o->color ? static_cast<HBITMAP>(CopyImage(o->color, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
  return TRUE;
}

BOOL DestroyIcon(HICON icon) {
  auto o = FindIcon(icon);
  if (!o) return FALSE;
  if (!o->shared) Icons().Remove(plat::HandleId(icon));
  return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

HICON CopyIcon(HICON icon) {
  auto o = FindIcon(icon);
  if (!o) return nullptr;
  auto c = std::make_shared<IconObject>();
  *c = IconObject{};
  c->width = o->width;
  c->height = o->height;
  c->hotspot = o->hotspot;
  c->icon = o->icon;
  c->mask = static_cast<HBITMAP>(CopyImage(o->mask, IMAGE_BITMAP, 0, 0, 0));
  if (o->color) c->color = static_cast<HBITMAP>(CopyImage(o->color, IMAGE_BITMAP, 0, 0, 0));
  return Add(c);
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
  auto o = FindIcon(icon);
  if (!o) {
    ::SetLastError(ERROR_INVALID_CURSOR_HANDLE);
    return FALSE;
  }
  if (cx <= 0 || (flags & DI_DEFAULTSIZE)) cx = o->width;
  if (cy <= 0 || (flags & DI_DEFAULTSIZE)) cy = o->height;
  if (!flags) flags = DI_NORMAL;
  HDC mem = CreateCompatibleDC(hdc);
  COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0)), oldBk = SetBkColor(hdc, RGB(255, 255, 255));
  if (flags & DI_MASK) {
    HGDIOBJ old = SelectObject(mem, o->mask);
    StretchBlt(hdc, x, y, cx, cy, mem, 0, 0, o->width, o->height, (flags & DI_IMAGE) ? SRCAND : SRCCOPY);
    SelectObject(mem, old);
  }
  if ((flags & DI_IMAGE) && o->color) {
    HGDIOBJ old = SelectObject(mem, o->color);
    StretchBlt(hdc, x, y, cx, cy, mem, 0, 0, o->width, o->height, (flags & DI_MASK) ? SRCINVERT : SRCCOPY);
    SelectObject(mem, old);
  }
  SetTextColor(hdc, oldText);
  SetBkColor(hdc, oldBk);
  DeleteDC(mem);
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) { return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }
