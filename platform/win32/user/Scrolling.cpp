// Scrolling pixels of windows and DCs, update regions as GDI regions, and locking a
// window against drawing.
#include <mutex>

#include "../LastError.h"
#include "../WinError.h"
#include "../WinUserUi.h"
#include "Caret.h"
#include "Composition.h"
#include "Painting.h"
#include "Window.h"
#include "WindowDc.h"
#include "gdi/DeviceContext.h"
#include "gdi/RegionObject.h"

namespace plat::user {
namespace {

std::mutex g_lockMutex;
HWND g_locked = nullptr;

RECT Box(const gdi::Region& r) { return r.Empty() ? RECT{} : r.Box(); }

// Copies `area` of the DC `dx, dy` further (through a scratch bitmap, so overlapping
// source and destination are safe), staying inside `clip`.
void MovePixels(HDC hdc, const RECT& area, int dx, int dy, const RECT& clip) {
  int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0) return;
  HBITMAP tmp = CreateCompatibleBitmap(hdc, w, h);
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(mem, tmp);
  BitBlt(mem, 0, 0, w, h, hdc, area.left, area.top, SRCCOPY);
  int saved = SaveDC(hdc);
  IntersectClipRect(hdc, clip.left, clip.top, clip.right, clip.bottom);
  BitBlt(hdc, area.left + dx, area.top + dy, w, h, mem, 0, 0, SRCCOPY);
  RestoreDC(hdc, saved);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(tmp);
}

void ReturnRegion(const gdi::Region& invalid, HRGN update, LPRECT updateRect) {
  RECT box = Box(invalid);
  if (updateRect) *updateRect = box;
  if (update) {
    if (auto r = gdi::Find<gdi::RegionObject>(update)) r->region = invalid;
  }
}

int Complexity(const gdi::Region& r) { return r.Complexity(); }

}  // namespace

bool LockedAgainstDrawing(HWND hwnd) {
  std::lock_guard lock(g_lockMutex);
  if (!g_locked) return false;
  return hwnd == g_locked || IsChild(g_locked, hwnd);
}

}  // namespace plat::user

using namespace plat::user;
namespace gdi = plat::gdi;

BOOL ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect) {
  auto dc = gdi::FindDc(hdc);
  if (!dc) {
    ::SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  RECT box;
  GetClipBox(hdc, &box);
  RECT area = scroll ? *scroll : box;
  RECT limit = clip ? *clip : area;
  IntersectRect(&limit, &limit, &box);
  RECT src;
  IntersectRect(&src, &area, &limit);
  MovePixels(hdc, src, dx, dy, limit);
  // What the move did not fill: the limit less the moved pixels.
  RECT moved = src;
  OffsetRect(&moved, dx, dy);
  gdi::Region invalid = gdi::Region::Combine(gdi::Region(limit), gdi::Region(moved), RGN_DIFF);
  invalid = invalid.Intersect(area);
  ReturnRegion(invalid, update, updateRect);
  return TRUE;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                   UINT flags) {
  auto w = FindWindowObject(hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return ERROR;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  RECT area = scroll ? *scroll : client;
  IntersectRect(&area, &area, &client);
  RECT limit = clip ? *clip : client;
  IntersectRect(&limit, &limit, &client);
  HideCaret(hwnd);
  gdi::Region invalid;
  {
    // Only pixels that show can move: what was covered is painted afresh.
    gdi::Region visible = VisibleRegion(hwnd, DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
    POINT o = ClientOrigin(*w);
    visible.Offset(-o.x, -o.y);
    if (LockedAgainstDrawing(hwnd)) visible = gdi::Region();
    RECT src;
    IntersectRect(&src, &area, &limit);
    gdi::Region movable = visible.Intersect(src);
    movable.Offset(dx, dy);
    movable = gdi::Region::Combine(movable, visible, RGN_AND);
    movable = movable.Intersect(limit);
    HDC hdc = GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPCHILDREN | DCX_CLIPSIBLINGS);
    MovePixels(hdc, src, dx, dy, limit);
    ReleaseDC(hwnd, hdc);
    invalid = gdi::Region::Combine(gdi::Region(limit), movable, RGN_DIFF).Intersect(area);
  }
  // Whatever was already waiting to be painted moves with the pixels.
  RECT pending;
  bool erase = false;
  if (TakeUpdate(hwnd, &pending, &erase, false) && !IsRectEmpty(&pending)) {
    RECT shifted = pending;
    OffsetRect(&shifted, dx, dy);
    ValidateRect(hwnd, &pending);
    invalid = gdi::Region::Combine(invalid, gdi::Region(shifted).Intersect(client), RGN_OR);
  }
  if (flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> children;
    {
      std::lock_guard lock(UserMutex());
      children = w->children;
    }
    for (HWND c : children) {
      RECT cr;
      GetWindowRect(c, &cr);
      MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&cr), 2);
      RECT tmp;
      if (scroll && !IntersectRect(&tmp, &cr, &area)) continue;
      SetWindowPos(c, nullptr, cr.left + dx, cr.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
  }
  ReturnRegion(invalid, update, updateRect);
  if ((flags & SW_INVALIDATE) && !invalid.Empty()) {
    RECT box = invalid.Box();
    InvalidateRect(hwnd, &box, (flags & SW_ERASE) != 0);
  }
  ShowCaret(hwnd);
  return Complexity(invalid);
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
  RECT box;
  if (GetRgnBox(rgn, &box) == NULLREGION) return TRUE;
  return InvalidateRect(hwnd, &box, erase);
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  if (!rgn) return ValidateRect(hwnd, nullptr);
  RECT box;
  GetRgnBox(rgn, &box);
  return ValidateRect(hwnd, &box);
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  RECT r;
  if (!GetUpdateRect(hwnd, &r, erase) || !rgn) {
    if (rgn) SetRectRgn(rgn, 0, 0, 0, 0);
    return NULLREGION;
  }
  SetRectRgn(rgn, r.left, r.top, r.right, r.bottom);
  return SIMPLEREGION;
}

BOOL LockWindowUpdate(HWND hwnd) {
  HWND unlocked = nullptr;
  {
    std::lock_guard lock(g_lockMutex);
    if (hwnd) {
      if (g_locked || !IsWindow(hwnd)) return FALSE;
      g_locked = hwnd;
      return TRUE;
    }
    unlocked = g_locked;
    g_locked = nullptr;
  }
  // What was drawn meanwhile never showed: the window paints again.
  if (unlocked) RedrawWindow(unlocked, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}
