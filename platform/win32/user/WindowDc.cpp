#include "WindowDc.h"

#include "../LastError.h"
#include "../WinError.h"
#include "Caret.h"
#include "Composition.h"
#include "Painting.h"
#include "Window.h"
#include "gdi/DeviceContext.h"
#include "gdi/RegionObject.h"

namespace plat::user {

WindowTarget::WindowTarget(HWND hwnd, DWORD flags, std::optional<gdi::Region> limit)
    : hwnd_(hwnd), flags_(flags), limit_(std::move(limit)) {}

POINT WindowTarget::Origin() const {
  std::lock_guard lock(UserMutex());
  auto w = FindWindowObject(hwnd_);
  if (!w) return {0, 0};
  if (flags_ & DCX_WINDOW) {
    RECT r = ScreenWindowRect(*w);
    return {r.left, r.top};
  }
  return ClientOrigin(*w);
}

gdi::Region WindowTarget::Visible() const {
  if (!(flags_ & DCX_LOCKWINDOWUPDATE) && LockedAgainstDrawing(hwnd_)) return {};
  gdi::Region vis = VisibleRegion(hwnd_, flags_);
  POINT o = Origin();
  vis.Offset(-o.x, -o.y);
  if (limit_) vis = gdi::Region::Combine(vis, *limit_, RGN_AND);
  return vis;
}

HDC CreateWindowDc(HWND hwnd, DWORD flags, std::optional<gdi::Region> limit) {
  // Before any drawing lock is held: the first use may paint the desktop.
  ScreenInUse();
  return gdi::CreateDcOn(std::make_shared<WindowTarget>(hwnd, flags, std::move(limit)));
}

}  // namespace plat::user

using namespace plat::user;

namespace {
std::optional<plat::gdi::Region> RegionArg(HRGN rgn) {
  if (!rgn || rgn == reinterpret_cast<HRGN>(1)) return std::nullopt;
  auto r = plat::gdi::Find<plat::gdi::RegionObject>(rgn);
  if (!r) return std::nullopt;
  return r->region;
}
}  // namespace

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, 0); }

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW); }

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (!hwnd) {
    ScreenInUse();
    return plat::gdi::CreateDesktopDc();
  }
  auto w = FindWindowObject(hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::optional<plat::gdi::Region> limit;
  if (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) {
    // The region comes in screen coordinates; the DC's limit is in its own.
    if (auto r = RegionArg(clip)) {
      RECT wr = ScreenWindowRect(*w);
      POINT o = (flags & DCX_WINDOW) ? POINT{wr.left, wr.top} : ClientOrigin(*w);
      r->Offset(-o.x, -o.y);
      if (flags & DCX_INTERSECTRGN) {
        limit = *r;
      } else {
        plat::gdi::Region all(RECT{-0x4000000, -0x4000000, 0x4000000, 0x4000000});
        limit = plat::gdi::Region::Combine(all, *r, RGN_DIFF);
      }
    }
  }
  return CreateWindowDc(hwnd, flags, std::move(limit));
}

int ReleaseDC(HWND, HDC hdc) {
  auto dc = plat::gdi::FindDc(hdc);
  if (!dc) return 0;
  return DeleteDC(hdc) ? 1 : 0;
}

HWND WindowFromDC(HDC hdc) {
  auto dc = plat::gdi::FindDc(hdc);
  if (!dc) return nullptr;
  if (auto* t = dynamic_cast<WindowTarget*>(dc->Target())) return t->Hwnd();
  return nullptr;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  if (!ps) return nullptr;
  *ps = PAINTSTRUCT{};
  auto w = FindWindowObject(hwnd);
  if (!w) {
    ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  HideCaretWhilePainting(hwnd);
  if (TakeFrame(hwnd)) SendMessageA(hwnd, WM_NCPAINT, 1, 0);
  RECT update;
  bool erase = false;
  TakeUpdate(hwnd, &update, &erase, true);
  if (!(w->style & WS_CLIPCHILDREN)) InvalidateChildrenUnder(hwnd, update);
  HDC hdc = CreateWindowDc(hwnd, 0, plat::gdi::Region(update));
  ps->hdc = hdc;
  ps->rcPaint = update;
  ps->fErase = erase ? !SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) : FALSE;
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) ReleaseDC(hwnd, ps->hdc);
  ShowCaretAfterPainting(hwnd);
  return TRUE;
}
